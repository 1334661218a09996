#pragma once

#include <optional>

// The options that need no window, answered before a display is opened:
// --help and --version print to the standard output and give the exit status
// 0. Nothing when the command line asks for neither; Qt's own options are
// left for Qt, which takes them out of argv as the application starts.
std::optional<int> answerInformationOptions(int argc, char **argv);

// Once Qt has taken out its own options: an argument still left is named in
// one line on the standard error, with the exit status 2. Nothing when none is
// left.
std::optional<int> rejectUnknownArguments(int argc, char **argv);
