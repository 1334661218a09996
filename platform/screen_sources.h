#pragma once

#include "platform/screen_source.h"

#include <memory>

// The one place that decides how the program reads the screen: straight from
// the X server through shared memory where the application runs on X11 and
// that works, Qt's screen grabs everywhere else.
std::unique_ptr<ScreenSource> CreateScreenSource();
