#pragma once
// One run of quillan-check: the settings put together as the window would
// hold them, the walk, the files written, the results on standard output.

#include "CheckOptions.h"

#include <QString>

namespace quillan::check {

// Exit statuses.
enum ExitStatus {
    kNoBrokenLinks = 0,
    kBrokenLinksFound = 1,
    kBadUsage = 2,     // also a top folder that is missing or cannot be read
    kWriteFailed = 3,  // a report or the list of files could not be written
    kSignalled = 128,  // plus the signal's number
};

// `programFolder` is the executable's folder, where the program text file is
// looked for (or in ../share/quillan beside it).
int RunCheckCommand(const CheckCommand &command, const QString &programFolder);

// Writes "quillan-check: " and the text as a line to standard error.
void Complain(const QString &text);

} // namespace quillan::check
