#pragma once

#include "resources/resource_ids.h"
#include "sampling/color_texts.h"

#include <QPoint>
#include <QPointF>
#include <QRect>

#include <array>
#include <string_view>

// The read-only fields that show a colour's texts, by control id.
enum FieldId : int {
    FIELD_RED = IDC_REDTEXT,
    FIELD_GREEN = IDC_GREENTEXT,
    FIELD_BLUE = IDC_BLUETEXT,
    FIELD_HASH_HEX = IDC_HASHHEXTEXT,
    FIELD_POVRAY = IDC_POVRAYTEXT,
    FIELD_HEX = IDC_HEXTEXT,
};

// Which field shows which of a colour's texts, in the texts' order (which is
// also the order the fields are set in).
inline constexpr std::array<FieldId, COLOR_TEXT_COUNT> TEXT_FIELD_IDS = {
    FIELD_RED, FIELD_GREEN, FIELD_BLUE, FIELD_HASH_HEX, FIELD_HEX, FIELD_POVRAY,
};
static_assert(TEXT_RED == 0 && TEXT_GREEN == 1 && TEXT_BLUE == 2 && TEXT_HASH_HEX == 3 &&
              TEXT_HEX == 4 && TEXT_POVRAY == 5);

// What drag sampling needs of the main window. Rectangles and points are in
// the window's client coordinates unless they are screen points.
class SamplerView
{
public:
    virtual ~SamplerView() = default;

    // Outer rectangles of the two frames.
    virtual QRect colorAreaRect() const = 0;
    virtual QRect zoomAreaRect() const = 0;

    // The part of the capture buffer (CAPTURE_SIZE square) that the magnifier
    // may show until the next move: what each move has to read of the screen.
    // Centred on the sampled pixel.
    virtual QRect magnifiedPart() const = 0;

    // The physical screen pixel under a client point. Points far outside the
    // window saturate at the limits of int rather than overflow.
    virtual QPoint clientToScreen(QPointF clientPoint) const = 0;

    // Asks for a repaint of rect later, without erasing the background first.
    virtual void requestRepaint(const QRect &rect) = 0;

    virtual void setFieldText(int fieldId, std::string_view text) = 0;
};
