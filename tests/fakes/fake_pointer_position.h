#pragma once

#include "platform/pointer_position.h"

// Reports a set position, or nothing, and counts the questions: each one is a
// round trip to the windowing system.
class FakePointerPosition : public PointerPosition
{
public:
    explicit FakePointerPosition(std::optional<QPoint> position = std::nullopt) : position(position)
    {
    }

    std::optional<QPoint> physicalPosition() override
    {
        ++queries;
        return position;
    }

    std::optional<QPoint> position;
    int queries = 0;
};
