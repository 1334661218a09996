#pragma once

#include "screen/screen_source.h"
#include "settings/settings_store.h"

#include <QApplication>

#include <memory>

// Why Qt could not open a window here, decided before it tries (it aborts
// the process on failure); empty where it can.
QString DisplayProblem();

// The application: names the settings, owns the screen the window reads, runs
// the sampler window modally and ends the program when that window closes,
// whatever the way.
class SamplerApp
{
public:
    // Needs a display; check DisplayProblem() first.
    SamplerApp(int &argc, char **argv);

    // Runs the window until it closes; returns the process's exit status.
    int run();

private:
    QApplication Application;
    SettingsStore Settings;
    std::unique_ptr<ScreenSource> Screen;
};
