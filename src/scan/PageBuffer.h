#pragma once
// The buffer a reading thread reads its pages into: one a thread, as large as
// the pages it has read, up to a bound (see ThreadKept).

#include "util/ThreadKept.h"

#include <QByteArray>

namespace quillan {

class PageBuffer
{
public:
    // A buffer larger than this is let go once its page is read, so a huge
    // page holds no memory after it.
    static constexpr qsizetype kMostKept = qsizetype(4) << 20;

    // Empty when taken. The page read into it before is done with: nothing
    // points into it any more.
    QByteArray &Bytes() { return kept_.Get(); }

private:
    static void Release(QByteArray &bytes);
    ThreadKept<QByteArray, &PageBuffer::Release> kept_;
};

} // namespace quillan
