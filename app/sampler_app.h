#pragma once

#include <QApplication>

// The application: names the settings, runs the sampler window modally and
// ends the program when that window closes, whatever the way.
class SamplerApp
{
public:
    // Needs a display; check with CurrentDisplayProblem() first.
    SamplerApp(int &argc, char **argv);

    // Runs the window until it closes; returns the process's exit status.
    int run();

private:
    QApplication Application;
};
