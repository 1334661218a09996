#pragma once

// The capture buffer is CAPTURE_SIZE pixels square with the sampled pixel at
// (CAPTURE_CENTER, CAPTURE_CENTER): 100 pixels of context on every side.
inline constexpr int CAPTURE_SIZE = 201;
inline constexpr int CAPTURE_CENTER = 100;

// Both framed areas are drawn inside their outer rectangle shrunk by this many
// pixels on every side, clear of the frame.
inline constexpr int AREA_INSET = 3;
