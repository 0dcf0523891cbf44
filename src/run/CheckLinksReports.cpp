#include "run/CheckLinksReports.h"

#include "util/WorkerThreads.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <numeric>
#include <utility>
#include <vector>

namespace quillan {

namespace {

// Below this many links the reports take less than a thread costs to start.
constexpr qint32 kLinksForThreads = 1000;
// Runs of groups a thread: enough that a thread finishing early finds more
// to write, while one long group (a menu's missing page) is written by one.
constexpr int kRunsPerThread = 4;

// Runs task(0), task(1)... task(count - 1), each once, on the calling thread
// and on up to `threads - 1` kept ones (WorkerThreads), each taking the next
// task when done with one. What a task throws comes out here, once every
// task has ended: the calling thread's first.
template <typename Task>
void runTasks(int count, int threads, const Task &task)
{
    std::atomic<int> next = 0;
    // What the task taken threw, if anything; the others then end after
    // their task.
    auto takeTasks = [&]() -> std::exception_ptr {
        try {
            for (int i = next++; i < count; i = next++)
                task(i);
        } catch (...) {
            next = count;
            return std::current_exception();
        }
        return nullptr;
    };
    JobsUnderway helpers;
    for (int t = 1; t < std::min(threads, count); ++t) {
        helpers.Started();
        if (!WorkerThreads::Run([&] { helpers.Ended(takeTasks()); })) {
            helpers.Ended(); // no more threads to be had: those there take every task
            break;
        }
    }
    std::exception_ptr thrown = takeTasks();
    const std::exception_ptr helperThrew = helpers.WaitForAll();
    if (!thrown)
        thrown = helperThrew;
    if (thrown)
        std::rethrow_exception(thrown);
}

ReportText joined(ReportText &&head, std::vector<ReportText> &runs)
{
    for (ReportText &run : runs)
        head.append(std::move(run));
    return std::move(head);
}

// Both reports' texts, the second's rows sorted: the two halves of the sort
// and the runs of the first report's groups are shared among the threads
// (the thread that ends the second half joins the halves while the others
// go on with the runs), then the runs of the second's.
void buildBoth(const ReportSettings &settings, const QList<BrokenLink> &links, qint32 numLinks,
               int threads, ReportText &first, LinkToParts &parts)
{
    const int pieces = kRunsPerThread * threads;
    const std::vector<qsizetype> fromRuns = LinkFromReportRuns(settings, links, numLinks, pieces);
    std::vector<ReportText> fromLines(fromRuns.size() - 1);
    // The halves of the sort are the longest tasks: taken first.
    LinkToTargets targets;
    LinkToPages pages;
    constexpr int kSortTasks = 2;
    std::atomic<int> halvesSorted = 0;
    runTasks(int(fromLines.size()) + kSortTasks, threads, [&](int task) {
        if (task < kSortTasks) {
            if (task == 0)
                targets = SortLinkToTargets(settings.topFolder, links, numLinks);
            else
                pages = SortLinkToPages(settings.topFolder, links, numLinks);
            if (++halvesSorted == kSortTasks)
                parts.rows = JoinLinkToRows(targets, pages, &parts.numRepeatedInFile);
        } else {
            const auto run = size_t(task - kSortTasks);
            fromLines[run] = LinkFromReportLines(settings, links, fromRuns[run], fromRuns[run + 1]);
        }
    });
    ReportText header;
    WriteReportHeader(header, settings, numLinks);
    first = joined(std::move(header), fromLines);

    const std::vector<qsizetype> toRuns = LinkToReportRuns(parts.rows, pieces);
    std::vector<ReportText> toLines(toRuns.size() - 1);
    // The longest runs are begun first: a long group (a menu's missing
    // page) begun last would leave the other threads waiting for it.
    std::vector<size_t> longestFirst(toLines.size());
    std::iota(longestFirst.begin(), longestFirst.end(), size_t(0));
    std::stable_sort(longestFirst.begin(), longestFirst.end(), [&toRuns](size_t a, size_t b) {
        return toRuns[a + 1] - toRuns[a] > toRuns[b + 1] - toRuns[b];
    });
    SharedGroupLines shared;
    runTasks(int(toLines.size()), threads, [&](int task) {
        const size_t run = longestFirst[size_t(task)];
        toLines[run] = LinkToReportLines(settings, parts.rows, toRuns[run], toRuns[run + 1], &shared);
    });
    ReportText toHeader;
    WriteReportHeader(toHeader, settings, qint32(parts.rows.size()));
    parts.body = joined(std::move(toHeader), toLines);
}

} // namespace

qint64 WriteCheckReports(ScanState &state, const ReportSettings &settings,
                         const CheckReportSteps &steps, int threads)
{
    const qint32 numLinks = state.lngNumBrokenLinks;
    if (numLinks < 1)
        return 0;
    // Reads the table only; it is rewritten once the first report is done.
    // The sort counts the repeated links both reports close with.
    ReportText first;
    LinkToParts parts;
    if (threads > 1 && numLinks >= kLinksForThreads) {
        buildBoth(settings, state.brokenLinks, numLinks, threads, first, parts);
    } else {
        first = LinkFromReportBody(settings, state.brokenLinks, numLinks);
        parts = SortLinkToParts(settings, state.brokenLinks, numLinks);
        parts.body = LinkToReportBody(settings, parts.rows);
    }
    const qint64 numRepeatedInFile = parts.numRepeatedInFile;
    WriteRepeatedLinksFooter(first, numRepeatedInFile);

    const QString byPage = steps.reportPath(kLinksToReportName);
    if (!steps.reportDone(byPage, first.write(byPage)))
        return numRepeatedInFile; // the table is left unsorted
    const QString byTarget = steps.reportPath(kLinksFromReportName);
    steps.reportDone(byTarget, WriteLinkToParts(byTarget, parts, state.brokenLinks, numRepeatedInFile));
    // The rows are left holding the texts the table held before, one or two
    // for each broken link: with threads, they are freed on a kept one while
    // the caller goes on (milliseconds on a large site).
    if (threads > 1 && numLinks >= kLinksForThreads)
        FreeBeside(std::move(parts.rows));
    return numRepeatedInFile;
}

} // namespace quillan
