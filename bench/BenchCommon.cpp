#include "BenchCommon.h"

#include "settings/TargetFileTypes.h"
#include "util/FileProc.h"
#include "util/WorkerThreads.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

#include <sys/resource.h>

namespace quillan::bench {

bool ParseWindowOptions(const QStringList &args, WindowOptions &options, QString &error)
{
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        auto value = [&](QString &into) {
            if (i + 1 >= args.size()) {
                error = arg + QStringLiteral(" needs a value");
                return false;
            }
            into = args[++i];
            return true;
        };
        QString text;
        if (arg == QStringLiteral("--exclude-filepaths")) {
            if (!value(options.excludedFilepaths))
                return false;
        } else if (arg == QStringLiteral("--exclude-links")) {
            if (!value(options.excludedLinks))
                return false;
        } else if (arg == QStringLiteral("--top-folder-only")) {
            options.topFolderOnly = 1;
        } else if (arg == QStringLiteral("--show-repeated")) {
            options.showRepeatedLinks = true;
        } else if (arg == QStringLiteral("--php")) {
            if (!value(text))
                return false;
            options.includePhpFiles = text.toInt();
        } else if (arg == QStringLiteral("--jobs")) {
            if (!value(text))
                return false;
            options.jobs.clear();
            for (const QString &number : text.split(u',')) {
                bool ok = false;
                options.jobs.push_back(number.toInt(&ok));
                if (!ok || options.jobs.back() < 0) {
                    error = QStringLiteral("--jobs takes numbers of threads (0: one per core), not ")
                            + text;
                    return false;
                }
            }
        } else if (arg == QStringLiteral("--repeat")) {
            if (!value(text))
                return false;
            options.repeat = qMax(1, text.toInt());
        } else if (arg.startsWith(QStringLiteral("--"))) {
            error = QStringLiteral("unknown option ") + arg;
            return false;
        } else {
            positional.append(arg);
        }
    }
    if (positional.size() != 2) {
        error = QStringLiteral("a top folder and an output folder are needed");
        return false;
    }
    options.topFolder = QFileInfo(positional[0]).absoluteFilePath();
    EnsureTrailingBackslash(options.topFolder);
    options.outputFolder = QFileInfo(positional[1]).absoluteFilePath();
    if (!FolderExists(options.topFolder)) {
        error = QStringLiteral("no such folder: ") + options.topFolder;
        return false;
    }
    if (!FolderExists(options.outputFolder)) {
        error = QStringLiteral("no such output folder: ") + options.outputFolder;
        return false;
    }
    return true;
}

QString WindowOptionsUsage()
{
    return QStringLiteral(
        "  options, as the window's controls:\n"
        "    --exclude-filepaths TEXT   the filepath exclusion box\n"
        "    --exclude-links TEXT       the link exclusion box\n"
        "    --top-folder-only          check links in files in the top folder only\n"
        "    --php 0|1|2                check links in PHP files as well\n"
        "    --show-repeated            show repeated broken links in a file\n"
        "    --repeat N                 runs of each measurement (default 5; the best counts)\n"
        "    --jobs N,N...              check: threads reading pages, each measured\n"
        "                               (default 1,2,0; 0 is one per core)\n");
}

ScanOptions ToScanOptions(const WindowOptions &options)
{
    ScanOptions scan;
    scan.topFolder = options.topFolder;
    scan.topFolderOnly = options.topFolderOnly;
    scan.includePhpFiles = options.includePhpFiles;
    scan.checkableFileTypes = DefaultCheckableFileTypes();
    return scan;
}

namespace {

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void keepBest(double &best, double ms)
{
    if (best < 0 || ms < best)
        best = ms;
}

} // namespace

BestTimes BestTimesInTurn(int runs, const std::function<void()> &first,
                          const std::function<void()> &second)
{
    const std::vector<double> best = BestTimesInTurn(runs, {first, second});
    return BestTimes{best[0], best[1]};
}

std::vector<double> BestTimesInTurn(int runs, const std::vector<std::function<void()>> &work)
{
    std::vector<double> best(work.size(), -1);
    for (int i = 0; i < qMax(runs, 1); ++i) {
        for (size_t w = 0; w < work.size(); ++w) {
            // What the work before left to be freed beside is freed first,
            // untimed: a check's leftovers are no part of the next's time.
            WorkerThreads::WaitUntilIdle();
            keepBest(best[w], timeMs(work[w]));
        }
    }
    return best;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

BestTimes MedianTimesInTurn(int runs, const std::function<void()> &first,
                            const std::function<void()> &second)
{
    std::vector<double> firstMs;
    std::vector<double> secondMs;
    for (int i = 0; i < qMax(runs, 1); ++i) {
        WorkerThreads::WaitUntilIdle();
        firstMs.push_back(timeMs(first));
        WorkerThreads::WaitUntilIdle();
        secondMs.push_back(timeMs(second));
    }
    return BestTimes{Median(firstMs), Median(secondMs)};
}

void PrintPeakMemory()
{
    struct rusage usage {};
    if (::getrusage(RUSAGE_SELF, &usage) != 0)
        return;
    const double mib = double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    PrintLine(QStringLiteral("peak memory: ") + QString::number(mib, 'f', 1) + QStringLiteral(" MiB"));
}

void PrintLine(const QString &text)
{
    QTextStream(stdout) << text << Qt::endl;
}

void PrintTime(const QString &label, double ms)
{
    PrintLine(label + QStringLiteral(": ") + QString::number(ms, 'f', 1) + QStringLiteral(" ms"));
}

void PrintRatio(double quillanMs, double plainMs, const QString &what)
{
    PrintLine(QStringLiteral("ratio: ")
              + (plainMs > 0 ? QString::number(quillanMs / plainMs, 'f', 2) : QStringLiteral("-"))
              + QStringLiteral(" (") + what + QStringLiteral(")"));
}

} // namespace quillan::bench
