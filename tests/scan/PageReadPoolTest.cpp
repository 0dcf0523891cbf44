// The pool's hand-over between the walking thread and the workers: which
// pages the walking thread reads itself while it would otherwise wait.

#include "scan/PageReadPool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace quillan::test {
namespace {

// Notes the thread that read each page; the page "busy" is held until let go.
class GatedReader : public PageReader
{
public:
    PageReadResult ReadPage(const PageToRead &page, std::vector<BrokenLink> &) const override
    {
        std::unique_lock lock(mutex_);
        readBy_[page.path] = std::this_thread::get_id();
        changed_.notify_all();
        if (page.path == QStringLiteral("busy"))
            changed_.wait(lock, [this] { return letGo_; });
        return PageReadResult{true, 0};
    }

    // False when the page has not begun within some seconds.
    bool waitUntilBegun(const QString &path) const
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return readBy_.contains(path); });
    }
    void letGo()
    {
        const std::lock_guard lock(mutex_);
        letGo_ = true;
        changed_.notify_all();
    }
    bool begun(const QString &path) const
    {
        const std::lock_guard lock(mutex_);
        return readBy_.contains(path);
    }
    std::thread::id readBy(const QString &path) const
    {
        const std::lock_guard lock(mutex_);
        return readBy_.at(path);
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable std::map<QString, std::thread::id> readBy_;
    bool letGo_ = false;
};

std::shared_ptr<PageRead> pageOf(const char *path, qint64 bytes)
{
    auto read = std::make_shared<PageRead>();
    read->page.path = QString::fromLatin1(path);
    read->bytes = bytes;
    return read;
}

TEST(PageReadPool, TryingReadsTheShortPagesQueuedAndLeavesLongOnesToAWorker)
{
    GatedReader reader;
    PageReadPool pool(reader, 1);
    const auto busy = pageOf("busy", 100);
    pool.Submit(busy);
    ASSERT_TRUE(reader.waitUntilBegun(QStringLiteral("busy"))); // the worker holds it
    const auto longPage = pageOf("long", qint64(4) << 20);
    const auto shortPage = pageOf("short", 2000);
    pool.Submit(longPage);
    pool.Submit(shortPage);

    // The page the walk waits for is the worker's: the short one is read
    // here, the long one is not, and trying says so rather than wait.
    EXPECT_FALSE(pool.TryFinish(*busy));
    EXPECT_EQ(reader.readBy(QStringLiteral("short")), std::this_thread::get_id());
    EXPECT_FALSE(reader.begun(QStringLiteral("long")));
    // A long page trying is asked for, the same.
    EXPECT_FALSE(pool.TryFinish(*longPage));
    EXPECT_FALSE(reader.begun(QStringLiteral("long")));
    EXPECT_TRUE(pool.TryFinish(*shortPage));

    // Once free, the worker takes the long page.
    reader.letGo();
    ASSERT_TRUE(reader.waitUntilBegun(QStringLiteral("long")));
    EXPECT_NE(reader.readBy(QStringLiteral("long")), std::this_thread::get_id());
    pool.Finish(*busy);
    pool.Finish(*longPage);
}

TEST(PageReadPool, FinishingReadsAnyPageQueuedRatherThanWait)
{
    GatedReader reader;
    PageReadPool pool(reader, 1);
    const auto busy = pageOf("busy", 100);
    pool.Submit(busy);
    ASSERT_TRUE(reader.waitUntilBegun(QStringLiteral("busy")));
    const auto longPage = pageOf("long", qint64(4) << 20);
    pool.Submit(longPage);
    // (Let go all the same after a while, so a fault fails, not hangs.)
    std::thread letGoLater([&] {
        reader.waitUntilBegun(QStringLiteral("long"));
        reader.letGo();
    });
    // Finishing must read the long page here: the worker is held until then.
    pool.Finish(*busy);
    letGoLater.join();
    EXPECT_EQ(reader.readBy(QStringLiteral("long")), std::this_thread::get_id());
    pool.Finish(*longPage);
}

} // namespace
} // namespace quillan::test
