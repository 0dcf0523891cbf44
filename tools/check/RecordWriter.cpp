#include "RecordWriter.h"

#include <system_error>
#include <utility>

namespace quillan::check {

namespace {

// Items are handed over in batches, which costs the walk a lock and perhaps
// a wake-up once a batch rather than once a record. A slow walk hands over
// what it has after a page that ends a few milliseconds' wait, so records
// still come as found.
constexpr size_t kBatchItems = 64;
constexpr qint64 kLongestHoldMs = 20;
// How far the walk may run ahead of the output, in items (a page's links
// and the page itself): the walk and the reports stop where the output was,
// give or take these.
constexpr qsizetype kMostUnwritten = 256;

} // namespace

RecordWriter::RecordWriter(ResultStream &results, BrokenLinkHints &hints, qsizetype topLength,
                           bool threaded)
    : results_(results), hints_(hints), topLength_(topLength)
{
    if (!threaded)
        return;
    gathered_.reserve(kBatchItems);
    sinceHandOver_.start();
    try {
        writing_ = std::thread([this] { writeHanded(); });
    } catch (const std::system_error &) {
        // No thread to be had: each record is written as it comes.
    }
}

RecordWriter::~RecordWriter()
{
    Finish();
}

void RecordWriter::BrokenLink(const quillan::BrokenLink &link)
{
    add(Item{link.strLinkFrom, link.link, link.strLinkTo, link.line, false, false});
}

void RecordWriter::PageChecked(const QString &path, bool read)
{
    add(Item{path, QString(), QString(), 0, true, read});
}

void RecordWriter::add(Item item)
{
    if (!writing_.joinable()) {
        write(item);
        return;
    }
    // The clock is read once a page, not once a link.
    const bool pageDone = item.isPage;
    gathered_.push_back(std::move(item));
    if (gathered_.size() >= kBatchItems || (pageDone && sinceHandOver_.elapsed() >= kLongestHoldMs))
        handOver();
}

void RecordWriter::handOver()
{
    sinceHandOver_.restart();
    if (gathered_.empty())
        return;
    const auto items = qsizetype(gathered_.size());
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return unwritten_ < kMostUnwritten; });
        handed_.push_back(std::exchange(gathered_, Batch()));
        unwritten_ += items;
    }
    changed_.notify_all();
    gathered_.reserve(kBatchItems);
}

void RecordWriter::Finish()
{
    if (!writing_.joinable())
        return;
    handOver();
    {
        const std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    changed_.notify_all();
    writing_.join();
}

void RecordWriter::writeHanded()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return finishing_ || !handed_.empty(); });
        if (handed_.empty())
            return; // finishing, and all written
        Batch batch = std::move(handed_.front());
        handed_.pop_front();
        lock.unlock();
        for (const Item &item : batch)
            write(item);
        const auto written = qsizetype(batch.size());
        batch = Batch(); // freed outside the lock
        lock.lock();
        unwritten_ -= written;
        changed_.notify_all();
    }
}

void RecordWriter::write(const Item &item)
{
    const QStringView page = QStringView(item.page).sliced(topLength_);
    if (item.isPage) {
        results_.PageChecked(page, item.read);
        return;
    }
    const QString hint = hints_.HintFor(item.target);
    results_.BrokenLink(
        BrokenLinkRecord{page, item.line, item.link, QStringView(item.target).sliced(topLength_), hint});
}

} // namespace quillan::check
