#pragma once

#include "app/exit_signals.h"
#include "app/translations.h"
#include "screen/screen_source.h"
#include "settings/settings_store.h"

#include <QApplication>

#include <memory>

// In a Wayland session with XWayland, and no platform chosen, starts on X11
// through XWayland (sets QT_QPA_PLATFORM). Returns whether it did, so that
// the choice can be taken back once the application runs.
bool preferXWayland();

// Why Qt could not open a window here, decided before it tries (it aborts
// the process on failure); empty where it can. A platform or X display named
// on the command line counts before the environment's.
QString displayProblem(const QString &platformOption, const QByteArray &displayOption);

// The application: names the settings, owns the screen the window reads, runs
// the sampler window modally and ends the program when that window closes,
// whatever the way. SIGTERM, SIGINT and SIGHUP close it as Exit does.
class SamplerApp
{
public:
    // Needs a display; check displayProblem() first.
    SamplerApp(int &argc, char **argv);

    // Runs the window until it closes; returns the process's exit status.
    int run();

private:
    QApplication Application;
    Translations Texts;
    SettingsStore Settings;
    std::unique_ptr<ScreenSource> Screen;
    ExitSignals Signals;
};
