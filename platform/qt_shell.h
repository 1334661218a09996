#pragma once

#include "platform/shell.h"

#include <QUrl>

// What the desktop would open for a text: a text with a scheme as it stands,
// one without (www.example.org) as a typed web address.
QUrl UrlFromText(const QString &text);

// Opens texts through Qt's desktop services: xdg-open on Linux desktops, the
// shell's open verb on Windows.
class QtShell final : public Shell
{
public:
    void open(const QString &text) override;
};
