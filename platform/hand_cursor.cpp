#include "platform/hand_cursor.h"

#include <QGuiApplication>
#include <QString>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool SystemHasHandCursor()
{
#ifdef Q_OS_WIN
    // A shared system cursor: nothing to release.
    return LoadCursorW(nullptr, IDC_HAND) != nullptr;
#else
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland")) ||
           platform == QLatin1String("cocoa");
#endif
}
