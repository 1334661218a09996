#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The options that need no window, answered before a display is opened:
// --help and --version print to the standard output and give the exit status
// 0. Nothing when the command line asks for neither; Qt's own options are
// left for Qt, which takes them out of argv as the application starts.
std::optional<int> answerInformationOptions(int argc, char **argv);

// What Qt's own options on the command line choose, read as Qt reads them
// (the last of each counts, "--platform" as "-platform"): the display, which
// Qt would abort on too; and the first argument that is no option of Qt's,
// for a refusal where Qt never gets to read them. Empty where not given.
struct QtOptions {
    QString platform;
    QByteArray display;
    const char *unknown = nullptr;
};
QtOptions readQtOptions(int argc, char **argv);

// Names an argument nobody here knows in one line on the standard error, with
// the exit status 2: argv[1] once Qt has taken out its own options. Nothing
// when there is none.
std::optional<int> rejectUnknownArgument(const char *argument);
