#pragma once
// What the benchmark modes share: the options that mirror the main window,
// timing and memory figures.

#include "scan/ScanState.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace quillan::bench {

// The window's settings, from the command line.
struct WindowOptions {
    QString topFolder;       // ends with a separator, as the window keeps it
    QString outputFolder;    // where the command's files are written
    QString excludedFilepaths;
    QString excludedLinks;
    int topFolderOnly = 0;
    int includePhpFiles = 0;
    bool showRepeatedLinks = false;
    int repeat = 5;          // runs of each measurement; the best counts
    // Check links: the numbers of threads reading pages to measure, 0 for
    // one per core.
    std::vector<int> jobs{1, 2, 0};
};

// Reads "<top folder> <output folder> [options]" (see the usage text).
// False, with `error` set, for a command line it cannot use.
bool ParseWindowOptions(const QStringList &args, WindowOptions &options, QString &error);

// The options' part of the usage text.
QString WindowOptionsUsage();

// The scan options the window would pass to a walk.
ScanOptions ToScanOptions(const WindowOptions &options);

struct BestTimes {
    double firstMs = -1;
    double secondMs = -1;
};

// The best wall-clock times of `runs` runs of each piece of work, run in
// turn so that a busy moment of the machine weighs on both alike.
BestTimes BestTimesInTurn(int runs, const std::function<void()> &first,
                          const std::function<void()> &second);

// The same for any number of pieces of work: the best time of each, in
// their order.
std::vector<double> BestTimesInTurn(int runs, const std::vector<std::function<void()>> &work);

// The median wall-clock times of `runs` runs of each piece of work, run in
// turn.
BestTimes MedianTimesInTurn(int runs, const std::function<void()> &first,
                            const std::function<void()> &second);

// The median of the values (0 for none).
double Median(std::vector<double> values);

// "peak memory: 12.3 MiB": the process's peak resident memory so far.
void PrintPeakMemory();

// One result line: "label: 123.4 ms".
void PrintTime(const QString &label, double ms);
// "ratio: 1.23 (Quillan / plain pass)".
void PrintRatio(double quillanMs, double plainMs,
                const QString &what = QStringLiteral("Quillan / plain pass"));
void PrintLine(const QString &text);

} // namespace quillan::bench
