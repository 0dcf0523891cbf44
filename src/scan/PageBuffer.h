#pragma once
// The buffer a reading thread reads its pages into. A walk reads thousands
// of pages of some kilobytes each; a fresh buffer for each would be taken
// from the allocator and given back every time, past its small-block caches
// and, with several threads, through its shared locks. Each thread keeps one
// buffer instead, as large as the pages it has read, up to a bound.

#include <QByteArray>

namespace quillan {

class PageBuffer
{
public:
    // A buffer larger than this is let go once its page is read, so a huge
    // page holds no memory after it.
    static constexpr qsizetype kMostKept = qsizetype(4) << 20;

    PageBuffer();
    ~PageBuffer();
    PageBuffer(const PageBuffer &) = delete;
    PageBuffer &operator=(const PageBuffer &) = delete;

    // Empty when taken. The page read into it before is done with: nothing
    // points into it any more.
    QByteArray &Bytes() { return *bytes_; }

private:
    QByteArray own_;     // used when the thread's buffer is taken already
    QByteArray *bytes_;  // the thread's buffer, or own_
};

} // namespace quillan
