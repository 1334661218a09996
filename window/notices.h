#pragma once

#include "screen/screen_access.h"
#include "screen/screen_source.h"

#include <QString>
#include <QTimer>

#include <functional>

class QLabel;
class QWidget;

// A button of a notice besides OK: its caption and what it does before the
// notice closes. None where the caption is empty.
struct NoticeButton {
    QString caption;
    std::function<void()> clicked;
};

// What the program tells the user when something keeps it from doing what
// was asked, and the one way it is told: a message over parent that blocks
// only that window and is not waited for, its text selectable for copying.
void showNotice(QWidget *parent, const QString &text, const NoticeButton &button = {});

QString unreadableScreenNotice(ScreenAccess access);
QString sourceProblemNotice(SourceReadiness readiness);
// After a refusal, a button that has the desktop ask again at the next press.
NoticeButton sourceProblemButton(SourceReadiness readiness, ScreenSource &source);
QString settingsNotStoredNotice(const QString &location, const QString &reason);
QString linkNotOpenedNotice(const QString &link);

// Says in window, over the rectangle given, that the desktop is being asked
// for a screenshot, once it has taken about a second to answer: it may be
// asking the user whether to allow that, and the press seems to do nothing.
// The window stays usable meanwhile.
class WaitingNote
{
public:
    explicit WaitingNote(QWidget *window);
    void place(const QRect &over);
    void setWaiting(bool waiting);

private:
    QLabel *const Label;
    QTimer Delay;
};
