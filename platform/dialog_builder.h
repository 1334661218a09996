#pragma once

#include "platform/dialog_units.h"
#include "resources/dialog_template.h"

#include <QFont>

#include <functional>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

// The controls a template made, found by identifier. Controls without one
// (IDC_STATIC) are not listed.
class DialogControls
{
public:
    void add(int id, QWidget *control);

    // nullptr when no control has that identifier.
    QWidget *widget(int id) const;

    // The control as the type its kind makes; nullptr when the identifier is
    // unknown or the control is of another type.
    template <class T> T *control(int id) const { return dynamic_cast<T *>(widget(id)); }

private:
    std::vector<std::pair<int, QWidget *>> byId_;
};

// Makes Qt widgets from a window template. The template's font decides the
// pixels of every dialog unit, unless the caller gives another font.
//
// Widgets per kind: QFrame (etched frame), QPushButton (push buttons; none is
// auto-default, so only a default push button takes Enter), StaticEdgeField
// (read-only field), QCheckBox, QComboBox (drop-down list), QLabel (static text
// and icon) and QGroupBox. A push button with ID_OK accepts the window and one
// with ID_CANCEL rejects it, as a dialog's standard commands do.
class DialogBuilder
{
public:
    // Makes one control's widget, a child of parent, for a window that wants
    // a class of its own there (a static text that is a hyperlink, say).
    using ControlFactory = std::function<QWidget *(QWidget *parent)>;

    explicit DialogBuilder(const DialogTemplate &dialogTemplate);
    DialogBuilder(const DialogTemplate &dialogTemplate, const QFont &font);

    // The control with identifier id is made by factory instead of by its
    // kind. The widget must derive from the kind's class (QLabel for a static
    // text, QPushButton for a push button, and so on); the builder then gives
    // it everything the kind's own widget gets: caption, place, tab order.
    // Returns the builder, so that calls chain.
    DialogBuilder &makeControlWith(int id, ControlFactory factory);

    const QFont &font() const { return font_; }
    DialogBaseUnits baseUnits() const { return units_; }

    // Gives the window its title, font, frame and fixed client size, creates
    // the controls as its children in template order (the tab order, the first
    // control on top) and returns them by identifier.
    DialogControls build(QDialog &dialog) const;

private:
    QWidget *createControl(const ControlTemplate &entry, QDialog &dialog) const;
    const ControlFactory *factoryFor(int id) const;

    const DialogTemplate &template_;
    std::vector<std::pair<int, ControlFactory>> factories_;
    QFont font_;
    DialogBaseUnits units_;
};
