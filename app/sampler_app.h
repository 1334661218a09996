#pragma once

#include "platform/screen_source.h"
#include "settings/settings_store.h"

#include <QApplication>

#include <memory>

// The application: names the settings, owns the services the window uses,
// runs the sampler window modally and ends the program when that window
// closes, whatever the way.
class SamplerApp
{
public:
    // Needs a display; check with CurrentDisplayProblem() first.
    SamplerApp(int &argc, char **argv);
    ~SamplerApp();

    SamplerApp(const SamplerApp &) = delete;
    SamplerApp &operator=(const SamplerApp &) = delete;

    // Runs the window until it closes; returns the process's exit status.
    int run();

private:
    QApplication Application;
    SettingsStore Settings;
    std::unique_ptr<ScreenSource> Screen;
};
