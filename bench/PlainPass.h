#pragma once
// The plain passes the scan commands are measured against: what any program
// must do at least to list a tree, or to read its pages and look up every
// link target they name.

#include <QString>

#include <string>
#include <vector>

namespace quillan::bench {

// Counts the regular files below `top` (recursively, in whatever order the
// file system gives them).
long long EnumerateTree(const QString &top);

struct PlainCheckCounts {
    long long pages = 0;
    long long links = 0;   // link targets looked up
    long long missing = 0; // of them, not an existing file
};

// Reads every page (a file whose extension holds "htm") below `top` whole,
// takes every double-quoted href and src value that names a local file and
// looks its target up on disk.
PlainCheckCounts ReadPagesAndTestLinks(const QString &top);

// Reads every page below `top` whole and does nothing else, as `cat` would:
// the least any checker must do. Gives the number of pages.
long long ReadPagesOnly(const QString &top);

// The same pages' texts, in memory.
std::vector<std::string> LoadEveryPage(const QString &top);

} // namespace quillan::bench
