#pragma once

#include "resources/resource_ids.h"

#include <QRgb>
#include <QString>
#include <QtGlobal>

#include <array>
#include <iterator>

// One way of writing a colour down: the text its field shows and its copy
// button copies.
struct ColorFormat {
    const char *caption; // the copy button's, English, in COLOR_FORMAT_CONTEXT
    int buttonId;        // the copy button and the field, where the window's
    int fieldId;         // template places them
    QString (*text)(QRgb color);
};

// Where the captions are found in the translations. The texts themselves are
// never translated: they are what other programs read.
inline constexpr char COLOR_FORMAT_CONTEXT[] = "ColorFormats";

// "rrggbb", lower case.
QString hexTriplet(QRgb color);
// "color rgb <r, g, b>", each component from 0 to 1 with six decimals.
QString povRayColor(QRgb color);

// Every format, in the order of a colour's texts. A new format is one entry
// here and its place in the window's template: the window's fields, copy
// buttons and texts all follow this table.
inline constexpr ColorFormat COLOR_FORMATS[] = {
    {QT_TRANSLATE_NOOP("ColorFormats", "R"), IDC_COPYRED, IDC_REDTEXT,
     [](QRgb c) { return QString::number(qRed(c)); }},
    {QT_TRANSLATE_NOOP("ColorFormats", "G"), IDC_COPYGREEN, IDC_GREENTEXT,
     [](QRgb c) { return QString::number(qGreen(c)); }},
    {QT_TRANSLATE_NOOP("ColorFormats", "B"), IDC_COPYBLUE, IDC_BLUETEXT,
     [](QRgb c) { return QString::number(qBlue(c)); }},
    {QT_TRANSLATE_NOOP("ColorFormats", "#HTML"), IDC_COPYHASHHEX, IDC_HASHHEXTEXT,
     [](QRgb c) { return QLatin1Char('#') + hexTriplet(c); }},
    {QT_TRANSLATE_NOOP("ColorFormats", "HTML"), IDC_COPYHEX, IDC_HEXTEXT, hexTriplet},
    {QT_TRANSLATE_NOOP("ColorFormats", "Copy to clipboard in POV-Ray format"), IDC_COPYPOVRAY,
     IDC_POVRAYTEXT, povRayColor},
};
inline constexpr std::size_t COLOR_FORMAT_COUNT = std::size(COLOR_FORMATS);

// A colour's texts, one per format in the table's order.
using ColorTexts = std::array<QString, COLOR_FORMAT_COUNT>;

// The alpha byte is ignored.
ColorTexts FormatColorTexts(QRgb color);
