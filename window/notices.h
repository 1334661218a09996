#pragma once

#include "screen/screen_access.h"
#include "screen/screen_source.h"

#include <QString>

class QWidget;

// What the program tells the user when something keeps it from doing what
// was asked, and the one way it is told: a message over parent that blocks
// only that window and is not waited for, its text selectable for copying.
void showNotice(QWidget *parent, const QString &text);

QString unreadableScreenNotice(ScreenAccess access);
// Empty for a cancel, which the user chose and needs no word.
QString sourceProblemNotice(SourceReadiness readiness);
QString settingsNotStoredNotice(const QString &location, const QString &reason);
QString linkNotOpenedNotice(const QString &link);
