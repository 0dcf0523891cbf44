#pragma once
// The part of a scan that needs no window, shared by the main window and the
// benchmark so both run a scan the same way.

#include "scan/ScanState.h"

#include <QString>

namespace quillan {

// Turns the two exclusion boxes' texts (already trimmed) into the scan's
// exclusion lists and counts.
void PrepareExclusions(ScanState &state, const QString &filepathsText, const QString &linksText);

// Resets the counters and limit flags, then walks the top folder in the mode
// the state is set to (listing or checking).
void RunWalk(ScanState &state, const ScanOptions &options, WalkHost &host);

} // namespace quillan
