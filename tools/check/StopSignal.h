#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP stop a walk the way the window's Stop
// button does: the handler only notes the signal, and the walk ends at its
// next look at it, so the reports of what was found are still written.
// A signal that comes at least a second after the first ends the program at
// once: a user who presses Ctrl-C again does not want to wait. Sooner it is
// the same request again, as when `timeout` or a CI runner signals the
// program and then its whole process group.
// A write to a closed pipe fails with an error instead of a signal.

namespace quillan::check {

void InstallStopSignals();

// The signal that asked to stop, or 0.
int StopSignalNumber();

} // namespace quillan::check
