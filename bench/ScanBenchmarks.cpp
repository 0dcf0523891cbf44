#include "ScanBenchmarks.h"

#include "BenchCommon.h"
#include "PlainPass.h"

#include "main/CheckLinksReports.h"
#include "main/CheckLinksText.h"
#include "main/ListFilesText.h"
#include "main/WalkDriver.h"
#include "util/FileProc.h"
#include "util/StrProc.h"

#include <QDir>
#include <QElapsedTimer>

namespace quillan::bench {

namespace {

// What one timed command works with, as the window holds it.
struct CommandRun {
    WindowOptions options;
    ScanOptions scanOptions;
    ScanState state;
    QuietHost host;
    QString status;

    // False, the reason printed, for a command line that cannot be used.
    bool start(const QStringList &args)
    {
        QString error;
        if (!ParseWindowOptions(args, options, error)) {
            PrintLine(QStringLiteral("quillan-bench: ") + error);
            return false;
        }
        scanOptions = ToScanOptions(options);
        return true;
    }
};

QString outputFile(const WindowOptions &options, const QString &name)
{
    return options.outputFolder + PathSeparator() + name;
}

// The window's scan state after it parsed its exclusion boxes.
void prepareState(ScanState &state, const WindowOptions &options)
{
    state = ScanState();
    PrepareExclusions(state, TrimSpaces(options.excludedFilepaths),
                      TrimSpaces(options.excludedLinks));
}

void reportFailure(const QString &path, const QString &error)
{
    if (!error.isEmpty())
        PrintLine(QStringLiteral("could not write ") + path + QStringLiteral(": ") + error);
}

} // namespace

int RunListBenchmark(const QStringList &args)
{
    CommandRun run;
    if (!run.start(args))
        return 2;
    const WindowOptions &options = run.options;
    ScanState &state = run.state;
    const QString listPath = outputFile(options, QStringLiteral("files.txt"));
    QString writeError;
    auto listFiles = [&] {
        prepareState(state, options);
        state.blnListingFiles = true;
        RunWalk(state, run.scanOptions, run.host);
        const qint32 numFiles = state.lngNumListedFiles;
        run.status = ListingStatusText(false, true, numFiles,
                                   numFiles >= 1 ? state.strListedFiles[1] : QString(),
                                   state.blnMaxNumFilesReached, run.scanOptions.maxNumFiles);
        if (numFiles >= 1)
            writeError = WriteListOfFiles(state, listPath, options.topFolder,
                                          ListingLine2(numFiles, false, options.topFolderOnly == 1));
        state.blnListingFiles = false;
        state.EmptyListedFiles();
    };

    long long enumerated = 0;
    EnumerateTree(options.topFolder); // brings the tree into the cache for both
    const BestTimes times = BestTimesInTurn(
        options.repeat, [&] { enumerated = EnumerateTree(options.topFolder); }, listFiles);
    const double plainMs = times.firstMs;
    const double quillanMs = times.secondMs;

    PrintLine(QStringLiteral("List files on ") + options.topFolder);
    PrintLine(QStringLiteral("status: ") + run.status);
    reportFailure(listPath, writeError);
    PrintTime(QStringLiteral("Quillan List files (walk and files.txt)"), quillanMs);
    PrintTime(QStringLiteral("plain enumeration of ") + QString::number(enumerated)
                  + QStringLiteral(" files"),
              plainMs);
    PrintRatio(quillanMs, plainMs);
    PrintPeakMemory();
    return writeError.isEmpty() ? 0 : 1;
}

int RunCheckBenchmark(const QStringList &args)
{
    CommandRun run;
    if (!run.start(args))
        return 2;
    const WindowOptions &options = run.options;
    ScanState &state = run.state;
    QString writeErrors;
    qint32 brokenLinks = 0;
    double reportsMs = 0;
    auto checkLinks = [&] {
        prepareState(state, options);
        state.EmptyBrokenLinks();
        state.blnCheckingLinks = true;
        RunWalk(state, run.scanOptions, run.host);
        state.blnCheckingLinks = false;
        brokenLinks = state.lngNumBrokenLinks;
        writeErrors.clear();
        QElapsedTimer reportsTimer;
        reportsTimer.start();
        ReportSettings settings;
        settings.topFolder = options.topFolder;
        settings.showRepeatedLinks = options.showRepeatedLinks;
        CheckReportSteps steps;
        steps.reportPath = [&](const QString &name) { return outputFile(options, name); };
        // The window pauses one second after the first report, before it
        // shows it.
        steps.reportDone = [&](const QString &path, const QString &error) {
            reportFailure(path, error);
            writeErrors += error;
            return error.isEmpty();
        };
        WriteCheckReports(state, settings, steps);
        reportsMs = double(reportsTimer.nsecsElapsed()) / 1e6;
        run.status = CheckLinksSummaryText(brokenLinks);
    };

    PlainCheckCounts counts;
    ReadPagesAndTestLinks(options.topFolder); // brings the pages into the cache for both
    const BestTimes times = BestTimesInTurn(
        options.repeat, [&] { counts = ReadPagesAndTestLinks(options.topFolder); }, checkLinks);
    const double plainMs = times.firstMs;
    const double quillanMs = times.secondMs;

    PrintLine(QStringLiteral("Check links on ") + options.topFolder);
    PrintLine(QStringLiteral("status: ") + run.status
              + (state.blnMaxNumLinksReached ? QStringLiteral(" (the limit of broken links)")
                                             : QString()));
    PrintTime(QStringLiteral("Quillan Check links (walk, both reports; without the one-second "
                             "pause the window makes after the first report)"),
              quillanMs);
    PrintTime(QStringLiteral("  of which writing the reports (last run)"), reportsMs);
    PrintTime(QStringLiteral("plain pass reading ") + QString::number(counts.pages)
                  + QStringLiteral(" pages and looking up ") + QString::number(counts.links)
                  + QStringLiteral(" link targets (") + QString::number(counts.missing)
                  + QStringLiteral(" missing)"),
              plainMs);
    PrintRatio(quillanMs, plainMs);
    PrintPeakMemory();
    return writeErrors.isEmpty() ? 0 : 1;
}

} // namespace quillan::bench
