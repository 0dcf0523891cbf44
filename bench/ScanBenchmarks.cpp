#include "ScanBenchmarks.h"

#include "BenchCommon.h"
#include "PlainPass.h"

#include "run/CheckLinksReports.h"
#include "run/CheckLinksText.h"
#include "run/ListFilesText.h"
#include "run/WalkDriver.h"
#include "scan/FolderWalk.h"
#include "util/FileProc.h"
#include "util/StrProc.h"
#include "util/WorkerThreads.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include <sys/resource.h>

#include <utility>

namespace quillan::bench {

namespace {

// What one timed command works with, as the window holds it.
struct CommandRun {
    WindowOptions options;
    ScanOptions scanOptions;
    ScanState state;
    QuietWalkHost host;
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

namespace {

// Check links as the window runs it, without its one-second pause.
struct CheckLinksRun {
    explicit CheckLinksRun(CommandRun &command) : run(command) {}

    CommandRun &run;
    QString writeErrors;
    qint32 brokenLinks = 0;
    double reportsMs = 0;

    void operator()()
    {
        const WindowOptions &options = run.options;
        ScanState &state = run.state;
        prepareState(state, options);
        state.EmptyBrokenLinks();
        state.blnCheckingLinks = true;
        // Freed beside the reports, as the window and the checker do.
        const WalkLeftovers leftovers = RunWalk(state, run.scanOptions, run.host);
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
        WriteCheckReports(state, settings, steps, ThreadsForJobs(run.scanOptions.jobs));
        // The table is this check's leftovers too, freed beside as the walk's
        // are, and so no part of the next run's time (the window frees it
        // as the user checks again, the checker as it ends).
        FreeBeside(std::exchange(state.brokenLinks, QList<BrokenLink>{BrokenLink{}}));
        reportsMs = double(reportsTimer.nsecsElapsed()) / 1e6;
        run.status = CheckLinksSummaryText(brokenLinks);
    }
};

} // namespace

int RunCheckBenchmark(const QStringList &args)
{
    CommandRun run;
    if (!run.start(args))
        return 2;
    const WindowOptions &options = run.options;
    ScanState &state = run.state;
    CheckLinksRun check{run};
    const QString &writeErrors = check.writeErrors;
    const double &reportsMs = check.reportsMs;

    // The plain passes first, then Check links with each number of threads.
    PlainCheckCounts counts;
    long long pagesRead = 0;
    std::vector<std::function<void()>> work{
        [&] { counts = ReadPagesAndTestLinks(options.topFolder); },
        [&] { pagesRead = ReadPagesOnly(options.topFolder); }};
    constexpr size_t kPlainPasses = 2;
    for (const int jobs : options.jobs) {
        work.emplace_back([&run, &check, jobs] {
            run.scanOptions.jobs = jobs;
            check();
        });
    }
    ReadPagesAndTestLinks(options.topFolder); // brings the pages into the cache for all
    const std::vector<double> times = BestTimesInTurn(options.repeat, work);
    const double plainMs = times[0];
    const double readMs = times[1];

    PrintLine(QStringLiteral("Check links on ") + options.topFolder);
    PrintLine(QStringLiteral("status: ") + run.status
              + (state.blnMaxNumLinksReached ? QStringLiteral(" (the limit of broken links)")
                                             : QString()));
    PrintTime(QStringLiteral("plain pass reading ") + QString::number(counts.pages)
                  + QStringLiteral(" pages and looking up ") + QString::number(counts.links)
                  + QStringLiteral(" link targets (") + QString::number(counts.missing)
                  + QStringLiteral(" missing)"),
              plainMs);
    PrintTime(QStringLiteral("reading the ") + QString::number(pagesRead)
                  + QStringLiteral(" pages alone"),
              readMs);
    for (size_t i = 0; i < options.jobs.size(); ++i) {
        const double checkMs = times[i + kPlainPasses];
        const int jobs = options.jobs[i];
        const QString threads = jobs == 0 ? QStringLiteral("one thread per core (%1)")
                                                .arg(QThread::idealThreadCount())
                                          : QStringLiteral("%1 thread%2").arg(jobs).arg(
                                                jobs == 1 ? QString() : QStringLiteral("s"));
        PrintTime(QStringLiteral("Quillan Check links, ") + threads
                      + QStringLiteral(" (walk, both reports; without the one-second pause the "
                                       "window makes after the first report)"),
                  checkMs);
        PrintRatio(checkMs, plainMs);
        PrintLine(QStringLiteral("ratio: ") + QString::number(checkMs / readMs, 'f', 2)
                  + QStringLiteral(" (Quillan / reading the pages alone)"));
    }
    PrintTime(QStringLiteral("  of which writing the reports (last run)"), reportsMs);
    PrintPeakMemory();

    // The browser's reading, without and with anchors, each against the
    // classic reading in the same run, in turn.
    const ScanOptions classic = run.scanOptions;
    auto readingAs = [&](bool anchors) {
        return [&, anchors] {
            run.scanOptions.readAsBrowser = true;
            run.scanOptions.checkAnchors = anchors;
            check();
            run.scanOptions = classic;
        };
    };
    for (const int jobs : options.jobs) {
        run.scanOptions.jobs = jobs;
        const ScanOptions classicWithJobs = run.scanOptions;
        auto checkLinks = [&] {
            run.scanOptions = classicWithJobs;
            check();
        };
        for (const bool anchors : {false, true}) {
            QString status;
            // The pages are read alone again in turn with these checks,
            // for a second ratio: one of times measured minutes apart also
            // measures how the machine changed meanwhile. (In turn with
            // checks of a large tree, reading alone takes longer than in
            // turn with the plain passes: both are given.)
            const std::vector<double> times = BestTimesInTurn(options.repeat, {checkLinks, [&] {
                                                                                  readingAs(anchors)();
                                                                                  status = run.status;
                                                                              },
                                                                              [&] { ReadPagesOnly(options.topFolder); }});
            const double classicMs = times[0];
            const double browserMs = times[1];
            const double readInTurnMs = times[2];
            PrintLine((anchors ? QStringLiteral("Read as a browser does, with anchors, ")
                               : QStringLiteral("Read as a browser does, "))
                      + QStringLiteral("jobs %1 (0: one thread per core)").arg(jobs));
            PrintLine(QStringLiteral("status: ") + status);
            PrintTime(QStringLiteral("Check links reading as a browser"), browserMs);
            PrintTime(QStringLiteral("Check links reading the classic way"), classicMs);
            PrintTime(QStringLiteral("reading the pages alone, in turn with these"), readInTurnMs);
            PrintRatio(browserMs, classicMs, QStringLiteral("browser / classic reading"));
            PrintLine(QStringLiteral("ratio: ") + QString::number(browserMs / readMs, 'f', 2)
                      + QStringLiteral(" (browser reading / reading the pages alone)"));
            PrintLine(QStringLiteral("ratio: ") + QString::number(browserMs / readInTurnMs, 'f', 2)
                      + QStringLiteral(" (browser reading / reading the pages alone in turn with it)"));
        }
    }
    run.scanOptions = classic;
    return writeErrors.isEmpty() ? 0 : 1;
}

namespace {

// The checker's arguments for the options the benchmark was given.
QStringList checkerArguments(const WindowOptions &options, const QString &outputFolder)
{
    QStringList args{QStringLiteral("--quiet"), QStringLiteral("--format"), QStringLiteral("json"),
                     QStringLiteral("--out"), outputFolder};
    if (!options.excludedFilepaths.isEmpty())
        args << QStringLiteral("--exclude-filepaths") << options.excludedFilepaths;
    if (!options.excludedLinks.isEmpty())
        args << QStringLiteral("--exclude-links") << options.excludedLinks;
    if (options.topFolderOnly == 1)
        args << QStringLiteral("--top-folder-only");
    if (options.includePhpFiles == 1)
        args << QStringLiteral("--php");
    if (options.showRepeatedLinks)
        args << QStringLiteral("--show-repeated");
    return args << options.topFolder;
}

// User and system time of this process or of its waited-for children.
double CpuMs(int who)
{
    struct rusage usage {};
    ::getrusage(who, &usage);
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int RunCliBenchmark(const QStringList &arguments)
{
    QStringList args = arguments;
    // The build tree keeps the checker in tools/check beside bench/.
    QString checker = QCoreApplication::applicationDirPath()
                      + QStringLiteral("/../tools/check/quillan-check");
    const qsizetype cliOption = args.indexOf(QStringLiteral("--cli"));
    if (cliOption >= 0 && cliOption + 1 < args.size()) {
        checker = args[cliOption + 1];
        args.remove(cliOption, 2);
    }
    CommandRun run;
    if (!run.start(args))
        return 2;
    const WindowOptions &options = run.options;
    if (!QFileInfo(checker).isExecutable()) {
        PrintLine(QStringLiteral("quillan-bench: no checker at ") + checker
                  + QStringLiteral(" (give --cli PATH)"));
        return 2;
    }
    const QString cliFolder = outputFile(options, QStringLiteral("cli"));
    QDir().mkpath(cliFolder);
    const QStringList cliArgs = checkerArguments(options, cliFolder);
    const QString recordsFile = cliFolder + PathSeparator() + QStringLiteral("links.json");

    CheckLinksRun check{run};
    int cliExit = -1;
    auto runChecker = [&] {
        QProcess process;
        process.setStandardOutputFile(recordsFile);
        process.start(checker, cliArgs);
        process.waitForFinished(-1);
        cliExit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };

    // Processor time too: on a busy machine it moves less than the clock.
    std::vector<double> checkCpuMs;
    std::vector<double> checkerCpuMs;
    auto timedCheck = [&] {
        const double before = CpuMs(RUSAGE_SELF);
        check();
        checkCpuMs.push_back(CpuMs(RUSAGE_SELF) - before);
    };
    auto timedChecker = [&] {
        const double before = CpuMs(RUSAGE_CHILDREN);
        runChecker();
        checkerCpuMs.push_back(CpuMs(RUSAGE_CHILDREN) - before);
    };
    check();
    runChecker(); // both with the pages in the cache
    const BestTimes times = MedianTimesInTurn(options.repeat, timedCheck, timedChecker);

    // The checker's JSON is one object; its status is a member.
    const QString cliStatus =
        QJsonDocument::fromJson(fileBytes(recordsFile)).object()[QStringLiteral("status")].toString();
    bool sameReports = true;
    for (const QString &name : {kLinksToReportName, kLinksFromReportName})
        sameReports = sameReports
                      && fileBytes(outputFile(options, name))
                             == fileBytes(cliFolder + PathSeparator() + name);

    PrintLine(QStringLiteral("Check links on ") + options.topFolder);
    PrintLine(QStringLiteral("status: ") + run.status + QStringLiteral(" / quillan-check: ")
              + cliStatus + QStringLiteral(" (exit ") + QString::number(cliExit)
              + QStringLiteral(")"));
    PrintLine(QStringLiteral("reports identical: ")
              + (sameReports ? QStringLiteral("yes") : QStringLiteral("NO")));
    PrintTime(QStringLiteral("median of ") + QString::number(options.repeat)
                  + QStringLiteral(" runs, quillan-check process (JSON records to a file)"),
              times.secondMs);
    PrintTime(QStringLiteral("median of ") + QString::number(options.repeat)
                  + QStringLiteral(" runs, Check links in this process, as \"check\" runs it"),
              times.firstMs);
    PrintLine(QStringLiteral("ratio: ") + QString::number(times.secondMs / times.firstMs, 'f', 2)
              + QStringLiteral(" (quillan-check / in-process)"));
    const double checkerCpu = Median(checkerCpuMs);
    const double checkCpu = Median(checkCpuMs);
    PrintLine(QStringLiteral("processor time, medians: quillan-check %1 ms, in-process %2 ms, "
                             "ratio %3")
                  .arg(checkerCpu, 0, 'f', 1)
                  .arg(checkCpu, 0, 'f', 1)
                  .arg(checkerCpu / checkCpu, 0, 'f', 2));
    // The children's peak memory would count the copy of this process a
    // child is before it starts the checker.
    PrintLine(QStringLiteral("quillan-check peak memory: measure with /usr/bin/time -v"));
    return sameReports && check.writeErrors.isEmpty() ? 0 : 1;
}

} // namespace quillan::bench
