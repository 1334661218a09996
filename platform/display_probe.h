#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Whether the program can open a window at all, decided before Qt's platform
// plugin is loaded: that plugin aborts the process when it finds no display, or
// when the requested platform does not exist.

// What the decision rests on.
struct DisplayEnvironment {
    QString
        platformRequest; // QT_QPA_PLATFORM: names tried in order, ';'-separated; "" for the default
    QString sessionType; // XDG_SESSION_TYPE
    QString x11Display;  // DISPLAY
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString runtimeDir;     // XDG_RUNTIME_DIR
    // Keys of the installed platform plugins; empty when they cannot be listed
    // (a static build), in which case every name counts as installed.
    QStringList installedPlatforms;
};

// The environment of this process and the plugins Qt would load from.
DisplayEnvironment CurrentDisplayEnvironment();

using DisplayOpener = std::function<bool(const QString &name)>;

// Why no window can be opened, as one line of text that starts "cannot open
// the display"; empty when one of the platforms tried can open one. canOpenX11
// and canOpenWayland are asked about the named display server.
QString DisplayProblem(const DisplayEnvironment &environment, const DisplayOpener &canOpenX11,
                       const DisplayOpener &canOpenWayland);

// The same for this process, asking the real display servers.
QString CurrentDisplayProblem();
