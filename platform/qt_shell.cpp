#include "platform/qt_shell.h"

#include <QDesktopServices>

QUrl UrlFromText(const QString &text)
{
    return QUrl::fromUserInput(text);
}

void QtShell::open(const QString &text)
{
    // A failure is the desktop's to report (its opener shows its own error);
    // the caller has nothing useful to do with it.
    QDesktopServices::openUrl(UrlFromText(text));
}
