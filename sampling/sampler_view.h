#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>

#include <string_view>

// The read-only fields that show a colour's texts, by control id.
enum FieldId : int {
    FIELD_RED = 1001,
    FIELD_GREEN = 1002,
    FIELD_BLUE = 1003,
    FIELD_HASH_HEX = 1004,
    FIELD_POVRAY = 1005,
    FIELD_HEX = 1006,
};

// What drag sampling needs of the main window. Rectangles and points are in
// the window's client coordinates unless they are screen points.
class SamplerView
{
public:
    virtual ~SamplerView() = default;

    // Outer rectangles of the two frames.
    virtual QRect colorAreaRect() const = 0;
    virtual QRect zoomAreaRect() const = 0;

    // The physical screen pixel under a client point. Points far outside the
    // window saturate at the limits of int rather than overflow.
    virtual QPoint clientToScreen(QPointF clientPoint) const = 0;

    // Asks for a repaint of rect later, without erasing the background first.
    virtual void requestRepaint(const QRect &rect) = 0;

    virtual void setFieldText(int fieldId, std::string_view text) = 0;
};
