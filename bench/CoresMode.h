#pragma once
// How much more work the machine's cores do together than one does alone:
// the measure against which a check's time on several threads is read.

#include <QStringList>

namespace quillan::bench {

// "cores [--threads N] [--repeat N]": the same work on one thread, then on
// 2..N threads at once (N: one per core); prints each time and how many
// threads' worth of work the machine did.
int RunCoresBenchmark(const QStringList &args);

} // namespace quillan::bench
