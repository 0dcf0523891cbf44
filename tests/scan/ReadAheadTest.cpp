// Pages read ahead of the walk by worker threads: whatever the number of
// threads, the host sees and the table records exactly what one thread
// gives; the pages in hand stay within their limits; a stop or the link
// limit drops the pages read ahead and leaves no read running.

#include "LinkCheckerSite.h"

#include "engine/Unprivileged.h"
#include "scan/FolderWalk.h"
#include "util/FileProc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace quillan::test {

namespace {

// Everything a check shows and records, as one comparable text.
std::string checkSnapshot(const TempTree &site, int jobs, int stopAfterYields = 0,
                          qint32 maxNumLinks = 50000)
{
    ScanState state;
    PrepareExclusions(state, QString(), QStringLiteral("skip"));
    state.strExcludedSubfolders = {QStringLiteral("SKIP")};
    state.intNumExcludedSubfolders = 1;
    state.EmptyBrokenLinks();
    state.blnCheckingLinks = true;
    ScanOptions options;
    options.topFolder = site.root();
    options.checkableFileTypes = DefaultCheckableFileTypes();
    options.maxNumLinks = maxNumLinks;
    options.jobs = jobs;
    RecordingHost host;
    host.stopAfterYields = stopAfterYields;
    RunWalk(state, options, host);

    QStringList lines;
    for (qint32 i = 1; i <= state.lngNumBrokenLinks; ++i) {
        const BrokenLink &link = state.brokenLinks[i];
        lines << link.strLinkFrom + u' ' + QString::number(link.line) + u' ' + link.link + u' '
                     + link.strLinkTo;
    }
    lines << QStringLiteral("scanned: ") + host.scanned.join(u'|')
          << QStringLiteral("statuses: ") + host.statuses.join(u'|')
          << QStringLiteral("checked: ") + host.checked.join(u'|')
          << QStringLiteral("skipped: ") + host.skipped.join(u'|')
          << QStringLiteral("yields: %1 limit: %2").arg(host.yields).arg(state.blnMaxNumLinksReached);
    return lines.join(u'\n').toStdString();
}

// Pages in several folders, of very different sizes, with several broken
// links each, among files that are not pages or are left out.
void buildSite(TempTree &site)
{
    for (int i = 0; i < 12; ++i) {
        const QString folder = i % 3 == 0 ? QString() : QStringLiteral("f%1/").arg(i % 3);
        QByteArray page = "<p>\r\n";
        for (int line = 0; line < i * 40; ++line)
            page += "filler text that makes the pages differ in size\n";
        for (int link = 0; link <= i % 4; ++link)
            page += QStringLiteral("<a href=\"gone-%1-%2.htm\">\r\n").arg(i).arg(link).toUtf8();
        page += "<img src=\"../pic.gif\">\r<a href=\"skip-me.htm\">\n";
        site.file(folder + QStringLiteral("p%1.htm").arg(i, 2, 10, QLatin1Char('0')), page);
    }
    site.file(QStringLiteral("f1/deep/er/last.html"), PageLinkingTo({"../../../nowhere.htm"}));
    site.file(QStringLiteral("f2/empty.htm"), QByteArray());
    site.file(QStringLiteral("f2/notes.txt"), "<a href=\"not-read.htm\">");
    site.file(QStringLiteral("pic.gif"));
}

} // namespace

TEST(ReadAhead, AnyNumberOfThreadsShowsAndRecordsWhatOneDoes)
{
    TempTree site;
    buildSite(site);
    const std::string one = checkSnapshot(site, 1);
    ASSERT_NE(one.find("gone-11-3.htm"), std::string::npos) << one;
    for (const int jobs : {2, 3, 8}) {
        SCOPED_TRACE(jobs);
        EXPECT_EQ(checkSnapshot(site, jobs), one);
        // The link limit stops in the middle of a page, in the same place.
        EXPECT_EQ(checkSnapshot(site, jobs, 0, 7), checkSnapshot(site, 1, 0, 7));
    }
}

namespace {

// Many folders, wide and deep, most without pages, with every kind of
// folder the walk passes over: excluded, unreadable to an unprivileged
// user, a link back up the walk, one deeper than the walk goes.
void buildFolderTree(TempTree &site)
{
    for (int i = 0; i < 9; ++i) {
        const QString wide = QStringLiteral("w%1/").arg(i);
        site.file(wide + QStringLiteral("notes.txt"));
        for (int j = 0; j < i; ++j)
            site.file(wide + QStringLiteral("s%1/e%2/pic.gif").arg(j).arg(i));
        if (i % 3 == 1)
            site.file(wide + QStringLiteral("s0/page.htm"), PageLinkingTo({"gone.htm", "../../pic.gif"}));
    }
    site.file(QStringLiteral("skip/page.htm"), PageLinkingTo({"excluded.htm"}));
    site.file(QStringLiteral("locked/page.htm"), PageLinkingTo({"hidden.htm"}));
    site.symlink(QStringLiteral("w2/up"), site.root());
    site.symlink(QStringLiteral("w3/across"), site.path(QStringLiteral("w4")));
    QString deep = QStringLiteral("w5/");
    for (int depth = 3; depth <= 130; ++depth) {
        deep += QStringLiteral("d/");
        if (depth % 40 == 0 || depth >= 127)
            site.file(deep + QStringLiteral("p%1.htm").arg(depth), PageLinkingTo({"deep-gone.htm"}));
    }
    site.file(QStringLiteral("z.htm"), PageLinkingTo({"last-gone.htm"}));
}

} // namespace

TEST(ReadAhead, FoldersListedAheadAreWalkedAndPassedOverAsByOneThread)
{
    TempTree site;
    buildFolderTree(site);
    const QString locked = site.path(QStringLiteral("locked"));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
    const std::string snapshots = RunAsUnprivileged([&site] {
        std::string all = checkSnapshot(site, 1);
        for (const int jobs : {2, 3, 8}) {
            const std::string many = checkSnapshot(site, jobs);
            all += many == checkSnapshot(site, 1) ? "\nsame" : "\n" + std::to_string(jobs) + " jobs: " + many;
        }
        return all;
    });
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_NE(snapshots.find("w1/s0/gone.htm"), std::string::npos) << snapshots;
    EXPECT_NE(snapshots.find("p128.htm"), std::string::npos) << snapshots;
    EXPECT_EQ(snapshots.find("p129.htm"), std::string::npos) << snapshots;
    EXPECT_EQ(snapshots.find("excluded.htm"), std::string::npos) << snapshots;
    EXPECT_NE(snapshots.find("locked/:unreadable"), std::string::npos) << snapshots;
    EXPECT_NE(snapshots.find(":deep"), std::string::npos) << snapshots;
    EXPECT_TRUE(snapshots.ends_with("same\nsame\nsame")) << snapshots;

    // A stop anywhere among the folders listed ahead leaves what one thread
    // had recorded there.
    const std::string whole = checkSnapshot(site, 1);
    const int yields = std::stoi(whole.substr(whole.rfind("yields: ") + 8));
    for (int stopAt = 1; stopAt <= yields; stopAt += 7) {
        SCOPED_TRACE(stopAt);
        EXPECT_EQ(checkSnapshot(site, 3, stopAt), checkSnapshot(site, 1, stopAt));
    }
}

// Each folder is held open from its listing for its files. A chain deeper
// than the folders that may be held so, each level with a sibling of pages
// listed ahead, is checked as by one thread, and every folder is closed at
// the end, by a whole walk and by a stop.
TEST(ReadAhead, FoldersHeldOpenForTheirFilesAreBoundedAndAllClosed)
{
    TempTree site;
    QString chain;
    for (int depth = 0; depth < OpenFolder::kMostKept + 40; ++depth) {
        site.file(chain + QStringLiteral("b/page.htm"), PageLinkingTo({"gone.htm"}));
        site.file(chain + QStringLiteral("b/notes.txt"));
        chain += QStringLiteral("a/");
    }
    site.file(chain + QStringLiteral("last.htm"), PageLinkingTo({"gone-last.htm"}));
    // Every handle, of folders too.
    auto openFiles = [] {
        return QDir(QStringLiteral("/proc/self/fd"))
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
            .size();
    };
    const qsizetype before = openFiles();
    const std::string one = checkSnapshot(site, 1);
    ASSERT_NE(one.find("gone-last.htm"), std::string::npos) << one;
    EXPECT_EQ(openFiles(), before);
    for (const int jobs : {2, 3, 8}) {
        SCOPED_TRACE(jobs);
        EXPECT_EQ(checkSnapshot(site, jobs), one);
        EXPECT_EQ(openFiles(), before);
        EXPECT_EQ(checkSnapshot(site, jobs, 150), checkSnapshot(site, 1, 150));
        EXPECT_EQ(openFiles(), before);
    }
}

TEST(ReadAhead, AStopAtAnyPointLeavesWhatOneThreadHadRecordedThere)
{
    TempTree site;
    buildSite(site);
    const std::string whole = checkSnapshot(site, 1);
    const int yields = std::stoi(whole.substr(whole.rfind("yields: ") + 8));
    for (int stopAt = 1; stopAt <= yields; ++stopAt) {
        SCOPED_TRACE(stopAt);
        const std::string one = checkSnapshot(site, 1, stopAt);
        EXPECT_EQ(checkSnapshot(site, 4, stopAt), one);
        // What was recorded is the beginning of the whole walk's table.
        const std::string recorded = one.substr(0, one.find("scanned: "));
        EXPECT_EQ(whole.substr(0, recorded.size()), recorded);
    }
}

TEST(ReadAhead, AnUnreadablePageIsSkippedByAWorkerAsByTheWalk)
{
    TempTree site;
    for (const char *name : {"a", "b", "c", "d", "e"})
        site.file(QString::fromLatin1(name) + QStringLiteral(".htm"),
                  PageLinkingTo({(std::string("from-") + name + ".htm").c_str()}));
    ASSERT_TRUE(QFile::setPermissions(site.path(QStringLiteral("c.htm")), QFileDevice::Permissions()));
    const std::string checked = RunAsUnprivileged([&site] {
        CheckSetup setup;
        setup.jobs = 3;
        const std::string many = CheckSite(site, setup).targets;
        setup.jobs = 1;
        return many + " / " + CheckSite(site, setup).targets;
    });
    EXPECT_EQ(checked, "from-a.htm|from-b.htm|from-d.htm|from-e.htm"
                       " / from-a.htm|from-b.htm|from-d.htm|from-e.htm");
}

namespace {

// Pages p00.htm, p01.htm... in the top folder, in walk order, of the sizes
// given; each read gives one broken link.
constexpr std::array<int, 20> kPageSizes{300, 200, 500, 100, 400, 900, 100, 100, 2500, 100,
                                         300, 300, 300, 300, 300, 100, 700, 200, 100, 100};
constexpr qint64 kBytesInHand = 1000;

void buildNumberedPages(TempTree &site)
{
    for (size_t i = 0; i < kPageSizes.size(); ++i)
        site.file(QStringLiteral("p%1.htm").arg(i, 2, 10, QLatin1Char('0')),
                  QByteArray(kPageSizes[i], 'x'));
}

int pageNumber(const QString &path)
{
    return QFileInfo(path).completeBaseName().mid(1).toInt();
}

// Counts the pages recorded, one broken link each; may stop the walk once
// some are.
class CountingHost : public QuietWalkHost
{
public:
    void ShowBrokenLinksSoFar(qint32) override { ++recorded; }
    bool StopRequested() const override { return stopAfterPages > 0 && recorded >= stopAfterPages; }

    std::atomic<int> recorded = 0;
    int stopAfterPages = 0;
};

// A reader that checks, as each page begins, that the pages handed out and
// not yet recorded are within the limits.
class WatchingReader : public PageReader
{
public:
    WatchingReader(const CountingHost &host, const ReadAheadLimits &limits)
        : host_(host), limits_(limits)
    {
    }

    PageReadResult ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const override
    {
        const int number = pageNumber(page.path);
        const int recorded = host_.recorded;
        ++active;
        {
            const std::lock_guard lock(mutex_);
            ++begun;
            qint64 bytes = 0;
            for (int i = recorded; i <= number; ++i)
                bytes += kPageSizes[size_t(i)];
            const int inHand = number - recorded + 1;
            if (inHand > limits_.pages || (inHand > 1 && bytes > limits_.bytes))
                faults += QStringLiteral("p%1 began with %2 pages (%3 bytes) in hand; ")
                              .arg(number)
                              .arg(inHand)
                              .arg(bytes);
        }
        if (number == throwAt)
            throw std::runtime_error("cannot read");
        // Slow enough that the walk could run ahead if it were let.
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        found.push_back(BrokenLink{page.path, page.path + QStringLiteral(".gone"), 1, QString()});
        --active;
        return PageReadResult{true, 1};
    }

    mutable std::atomic<int> active = 0;
    mutable int begun = 0;
    mutable QString faults;
    int throwAt = -1;

private:
    const CountingHost &host_;
    ReadAheadLimits limits_;
    mutable std::mutex mutex_;
};

struct WatchedWalk {
    TempTree site;
    ScanState state;
    ScanOptions options;
    CountingHost host;
    ReadAheadLimits limits{3, 4, kBytesInHand, 16};
    WatchingReader reader{host, limits};

    WatchedWalk()
    {
        buildNumberedPages(site);
        state.blnCheckingLinks = true;
        options.topFolder = site.root();
    }

    void walk()
    {
        FolderWalk walk(state, options, host, reader, limits);
        walk.WalkFolder(options.topFolder);
    }
};

} // namespace

TEST(ReadAhead, PagesInHandStayWithinTheirNumberAndBytesAndALargerPageIsReadAlone)
{
    WatchedWalk walk;
    walk.walk();
    EXPECT_EQ(walk.reader.faults, QString());
    EXPECT_EQ(walk.state.lngNumBrokenLinks, qint32(kPageSizes.size()));
    for (qint32 i = 1; i <= walk.state.lngNumBrokenLinks; ++i)
        EXPECT_EQ(pageNumber(walk.state.brokenLinks[i].strLinkFrom), i - 1);
}

TEST(ReadAhead, AStopDropsThePagesReadAheadAndLeavesNoReadRunning)
{
    WatchedWalk walk;
    walk.host.stopAfterPages = 2;
    walk.walk();
    EXPECT_EQ(walk.state.lngNumBrokenLinks, 2);
    EXPECT_EQ(walk.reader.active, 0);
    // Never more than the two recorded and the four in hand.
    EXPECT_LE(walk.reader.begun, 2 + walk.limits.pages);

    // The link limit drops them alike.
    WatchedWalk limited;
    limited.options.maxNumLinks = 3;
    limited.walk();
    EXPECT_TRUE(limited.state.blnMaxNumLinksReached);
    EXPECT_EQ(limited.state.lngNumBrokenLinks, 3);
    EXPECT_EQ(limited.reader.active, 0);
    EXPECT_LE(limited.reader.begun, 3 + limited.limits.pages);
}

namespace {

int openFiles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// Notes the most files the process held open as a page began.
class FileCountingReader : public PageReader
{
public:
    PageReadResult ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const override
    {
        const int open = openFiles();
        int seen = mostOpen.load();
        while (open > seen && !mostOpen.compare_exchange_weak(seen, open)) {
        }
        QByteArray bytes;
        const bool read = page.ReadBytes(bytes);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        found.push_back(BrokenLink{page.path, page.path + QString::fromLatin1(bytes), 1, QString()});
        return PageReadResult{read, 1};
    }

    mutable std::atomic<int> mostOpen = 0;
};

} // namespace

TEST(ReadAhead, TheWalkHoldsFewPagesOpenHoweverManyItMayHaveInHand)
{
    TempTree site;
    for (int i = 0; i < 300; ++i)
        site.file(QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')), QByteArray::number(i));
    ScanState state;
    state.blnCheckingLinks = true;
    ScanOptions options;
    options.topFolder = site.root();
    QuietWalkHost host;
    FileCountingReader reader;
    const int before = openFiles();
    {
        // Room for 250 pages in hand, read slowly by two threads.
        FolderWalk walk(state, options, host, reader, ReadAheadLimits{2, 250, qint64(1) << 30, 4096});
        walk.WalkFolder(options.topFolder);
    }
    ASSERT_EQ(state.lngNumBrokenLinks, 300);
    for (qint32 i = 1; i <= 300; ++i)
        ASSERT_TRUE(state.brokenLinks[i].strLinkTo.endsWith(u'/' + QStringLiteral("p%1.htm").arg(i - 1, 3, 10, QLatin1Char('0')) + QString::number(i - 1))) << i;
    // The pages opened ahead, the folder, and what each thread has open.
    EXPECT_GT(reader.mostOpen, before + 32);
    EXPECT_LE(reader.mostOpen, before + 64 + 8);
    EXPECT_EQ(openFiles(), before);
}

TEST(ReadAhead, WhatAReaderThrowsOnAWorkerReachesTheWalkAfterTheEarlierPages)
{
    WatchedWalk walk;
    walk.reader.throwAt = 5;
    EXPECT_THROW(walk.walk(), std::runtime_error);
    EXPECT_EQ(walk.state.lngNumBrokenLinks, 5);
}

namespace {

// The first page a worker begins is slow: it ends once the walking thread
// has read no page beside it for a while (it has gone as far as it may).
// Notes the most pages in hand as any page began.
class OneSlowPageReader : public PageReader
{
public:
    explicit OneSlowPageReader(const CountingHost &host) : host_(host) {}

    PageReadResult ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const override
    {
        const int number = QFileInfo(page.path).completeBaseName().mid(1).toInt();
        const int inHand = number - host_.recorded + 1;
        for (int seen = mostInHand; inHand > seen && !mostInHand.compare_exchange_weak(seen, inHand);) {
        }
        bool slowOne = false;
        if (std::this_thread::get_id() == walking_) {
            // The worker may not have begun a page yet: it is let.
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!slowBegun && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++readBesideSlow;
        } else {
            slowOne = !slowBegun.exchange(true);
        }
        if (slowOne) {
            // Generous for a loaded machine: a page here takes microseconds.
            constexpr auto kStalled = std::chrono::milliseconds(300);
            int before = -1;
            while (readBesideSlow != before) {
                before = readBesideSlow;
                std::this_thread::sleep_for(kStalled);
            }
        }
        found.push_back(BrokenLink{page.path, page.path + QStringLiteral(".gone"), 1, QString()});
        return PageReadResult{true, 1};
    }

    mutable std::atomic<bool> slowBegun = false;
    mutable std::atomic<int> readBesideSlow = 0;
    mutable std::atomic<int> mostInHand = 0;

private:
    const CountingHost &host_;
    const std::thread::id walking_ = std::this_thread::get_id();
};

} // namespace

TEST(ReadAhead, WhileAWorkerReadsASlowPageTheWalkingThreadReadsThePagesAfterIt)
{
    TempTree site;
    constexpr int kPages = 200;
    for (int i = 0; i < kPages; ++i)
        site.file(QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')), QByteArray(100, 'x'));
    ScanState state;
    state.blnCheckingLinks = true;
    ScanOptions options;
    options.topFolder = site.root();
    CountingHost host;
    // Four pages in hand, forty while the slow one holds up the record.
    const ReadAheadLimits limits{1, 4, qint64(1) << 20, 4096, 40};
    OneSlowPageReader reader(host);
    {
        FolderWalk walk(state, options, host, reader, limits);
        walk.WalkFolder(options.topFolder);
    }
    EXPECT_GE(reader.readBesideSlow, 30);
    EXPECT_GT(reader.mostInHand, limits.pages);
    EXPECT_LE(reader.mostInHand, limits.pagesPastBusyFront);
    ASSERT_EQ(state.lngNumBrokenLinks, kPages);
    for (qint32 i = 1; i <= kPages; ++i)
        ASSERT_EQ(pageNumber(state.brokenLinks[i].strLinkFrom), i - 1) << i;
}

} // namespace quillan::test
