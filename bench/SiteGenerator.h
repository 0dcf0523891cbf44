#pragma once
// Writes a synthetic web site to measure Check links on: pages in numbered
// folders, each with a fixed number of links of every kind the checker meets.

#include <QStringList>

namespace quillan::bench {

// "generate <folder> [--pages N] [--links N] [--broken N] [--folders N]".
int RunGenerateSite(const QStringList &args);

} // namespace quillan::bench
