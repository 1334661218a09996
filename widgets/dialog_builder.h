#pragma once

#include "resources/dialog_template.h"

#include <QFont>
#include <QHash>
#include <QRect>

class QDialog;
class QWidget;

// Dialog units to pixels, as a dialog manager computes them from the window's
// font: the horizontal base unit is the average width of the letters a–z and
// A–Z, rounded; the vertical one the font's height. A dialog unit is a quarter
// of the first across and an eighth of the second down.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

DialogBaseUnits dialogBaseUnitsOf(const QFont &font);
QRect dialogRectToPixels(const DialogRect &rect, DialogBaseUnits units);

// The font for a face and size in points. A face the desktop lacks falls back
// to its sans-serif font; points become pixels at the 96 pixels per inch that
// Qt's device-independent pixels stand for, which Qt scales on dense screens.
QFont dialogFont(const char *face, int points);

// Gives the window the template's title, font, frame and fixed size and
// creates its controls in template order, which is the tab order. Returns the
// controls that have an identifier, by identifier.
//
// Widgets: EtchedFrame, QPushButton (none auto-default, so only a default
// button takes Enter; ID_OK accepts and ID_CANCEL rejects the window),
// ColorField, QCheckBox, QComboBox, QLabel, LinkLabel and QGroupBox.
QHash<int, QWidget *> buildDialog(QDialog &dialog, const DialogTemplate &dialogTemplate);
