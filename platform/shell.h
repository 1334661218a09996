#pragma once

#include <QString>

// Hands a text to the desktop to open: a mail link starts the mail program, a
// web address the browser. Callers get no result because the desktop's opener
// runs on its own and may fail long after the request.
class Shell
{
public:
    virtual ~Shell() = default;

    virtual void open(const QString &text) = 0;
};
