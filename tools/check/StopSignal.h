#pragma once
// Ctrl-C (SIGINT) and SIGTERM stop a walk the way the window's Stop button
// does: the handler only notes the signal, and the walk ends at its next
// look at it. A second signal ends the program at once.

namespace quillan::check {

void InstallStopSignals();

// The signal that asked to stop, or 0.
int StopSignalNumber();

} // namespace quillan::check
