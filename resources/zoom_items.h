#pragma once

#include <QString>

// The zoom list offers factors 3 to 30; item index i stands for factor i + 3.
inline constexpr int ZOOM_FIRST_FACTOR = 3;
inline constexpr int ZOOM_LAST_FACTOR = 30;
inline constexpr int ZOOM_ITEM_COUNT = ZOOM_LAST_FACTOR - ZOOM_FIRST_FACTOR + 1;

// "x3" for index 0 up to "x30" for index 27.
inline QString zoomItemText(int index)
{
    return QStringLiteral("x%1").arg(index + ZOOM_FIRST_FACTOR);
}
