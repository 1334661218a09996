#pragma once

#include "screen/screen_source.h"
#include "settings/settings_store.h"

#include <QApplication>

#include <memory>

// In a Wayland session with XWayland, and no platform chosen, starts on X11
// through XWayland (sets QT_QPA_PLATFORM). Returns whether it did, so that
// the choice can be taken back once the application runs.
bool preferXWayland();

// Why Qt could not open a window here, decided before it tries (it aborts
// the process on failure); empty where it can.
QString displayProblem();

// The application: names the settings, owns the screen the window reads, runs
// the sampler window modally and ends the program when that window closes,
// whatever the way.
class SamplerApp
{
public:
    // Needs a display; check displayProblem() first.
    SamplerApp(int &argc, char **argv);

    // Runs the window until it closes; returns the process's exit status.
    int run();

private:
    QApplication Application;
    SettingsStore Settings;
    std::unique_ptr<ScreenSource> Screen;
};
