#pragma once
// The broken links and pages of a check on their way to the output. On a
// site of many broken links, finding each one's hint and writing its record
// is a sixth of the check's work; done on a thread of its own, it is off the
// walking thread, which every page waits on. Records keep the walk's order,
// and the walk stays at most a few hundred of them ahead of the output, so
// that a stop still takes effect in the middle of a long output.

#include "ResultStream.h"

#include "run/BrokenLinkHints.h"
#include "scan/ScanState.h"

#include <QElapsedTimer>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace quillan::check {

class RecordWriter
{
public:
    // Paths are shown without their first `topLength` characters (the top
    // folder's). With `threaded` false, or no thread to be had, each record
    // is written as it comes.
    RecordWriter(ResultStream &results, BrokenLinkHints &hints, qsizetype topLength, bool threaded);
    // Writes what is left, as Finish does.
    ~RecordWriter();

    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    void BrokenLink(const quillan::BrokenLink &link);
    // The page `path` was read (or could not be); its links came before.
    void PageChecked(const QString &path, bool read);
    // Returns once every record handed in is written; none may come after.
    void Finish();

private:
    struct Item {
        QString page;   // full path
        QString link;
        QString target; // full path; both empty for a page checked
        qint32 line = 0;
        bool isPage = false;
        bool read = false;
    };
    using Batch = std::vector<Item>;

    void add(Item item);
    // Hands the items gathered to the writing thread, first waiting while
    // too many are unwritten.
    void handOver();
    void write(const Item &item);
    void writeHanded();

    ResultStream &results_;
    BrokenLinkHints &hints_;
    const qsizetype topLength_;

    // The walking thread's own.
    Batch gathered_;
    QElapsedTimer sinceHandOver_;

    std::mutex mutex_;
    std::condition_variable changed_; // a batch handed over or written, or finishing_ set
    std::deque<Batch> handed_;
    qsizetype unwritten_ = 0; // items handed over and not yet written
    bool finishing_ = false;
    std::thread writing_;
};

} // namespace quillan::check
