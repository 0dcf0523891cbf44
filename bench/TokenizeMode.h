#pragma once
// The browser's reading of pages alone, without the walk, the look-ups or
// the reports: what it costs against reading the same pages.

#include <QStringList>

namespace quillan::bench {

// "tokenize <top folder> [--repeat N] [--anchors]": every page (a file whose
// extension holds "htm") loaded into memory first; then, in turn with
// reading the pages from disk alone, each page copied into a buffer (as a
// read leaves it) and its links taken as a browser reads them, on one
// thread. Prints the best times and their ratio.
int RunTokenizeBenchmark(const QStringList &args);

} // namespace quillan::bench
