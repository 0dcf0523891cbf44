#pragma once
// Modal windows run their own event loop: a test acts in one from a timer.

#include <functional>

class QDialog;

namespace quillan::test {

// Runs `act` from inside `dialog`'s modal show as soon as `ready` holds,
// asking again at every round of events. A dialog that never gets ready is
// rejected and fails the test rather than hanging it.
void WhenReady(QDialog *dialog, std::function<bool()> ready, std::function<void()> act,
               int tries = 100000);

} // namespace quillan::test
