#pragma once
// The two scan commands run as the window runs them, each timed against its
// plain pass over the same tree.

#include <QStringList>

namespace quillan::bench {

// "list <top folder> <output folder> [options]": List files, writing
// files.txt into the output folder, against a plain enumeration of the tree.
int RunListBenchmark(const QStringList &args);

// "check <top folder> <output folder> [options]": Check links, writing both
// reports into the output folder, against a plain pass that reads every page
// and looks up every link target.
int RunCheckBenchmark(const QStringList &args);

// "cli <top folder> <output folder> [--cli PATH] [options]": quillan-check
// run as a program (JSON records to a file, files into the output folder's
// "cli" subfolder) against Check links run in this process as "check" runs
// it, in turn; medians count.
int RunCliBenchmark(const QStringList &arguments);

} // namespace quillan::bench
