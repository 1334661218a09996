#pragma once

#include "mainwindow/system_menu.h"
#include "platform/dialog_builder.h"
#include "resources/resource_ids.h"
#include "sampling/color_texts.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;

// The six text fields in the order of the colour texts they show.
inline constexpr std::array<int, COLOR_TEXT_COUNT> TEXT_FIELD_IDS = {
    IDC_REDTEXT, IDC_GREENTEXT, IDC_BLUETEXT, IDC_HASHHEXTEXT, IDC_HEXTEXT, IDC_POVRAYTEXT,
};

// The program's window: the magnifier and swatch areas, a copy button above
// each of the six colour fields, the always-on-top box, the zoom list and Exit.
// Its layout is the sampler window template; Exit, like Escape, rejects it.
class SamplerWindow : public QDialog
{
public:
    explicit SamplerWindow(QWidget *parent = nullptr);

    QCheckBox *topmostCheck() const { return TopmostCheck; }
    QComboBox *zoomList() const { return ZoomList; }
    QFrame *colorArea() const { return ColorArea; }
    QFrame *zoomArea() const { return ZoomArea; }

    // A text field (IDC_REDTEXT … IDC_HEXTEXT) or push button by identifier;
    // nullptr for any other.
    QLineEdit *field(int id) const;
    QPushButton *button(int id) const;

    // The base units of the window's font, which place every control.
    DialogBaseUnits baseUnits() const;

private:
    void fillZoomList();

    DialogControls Controls;
    QCheckBox *TopmostCheck;
    QComboBox *ZoomList;
    QFrame *ColorArea;
    QFrame *ZoomArea;
    SystemMenu WindowMenu{*this};
};
