// The buffer each reading thread keeps for its pages: empty when taken, its
// own for a page read while another is in hand, let go when a huge page grew
// it, and never one thread's for another.

#include "scan/PageBuffer.h"

#include <gtest/gtest.h>

#include <thread>

namespace quillan::test {

TEST(PageBuffer, IsEmptyWhenTakenKeepsItsRoomAndIsItsOwnForAPageReadInsideAnother)
{
    const char *kept = nullptr;
    {
        PageBuffer first;
        first.Bytes() = QByteArray(1000, 'a');
        first.Bytes().detach();
        kept = first.Bytes().constData();
    }
    PageBuffer again;
    EXPECT_TRUE(again.Bytes().isEmpty());
    again.Bytes().resize(900);
    EXPECT_EQ(again.Bytes().constData(), kept) << "the room of the page before is used again";

    PageBuffer inner; // a page read for its anchors while `again` is in hand
    inner.Bytes().append("inner");
    EXPECT_NE(&inner.Bytes(), &again.Bytes());
    EXPECT_EQ(again.Bytes().size(), 900);
}

TEST(PageBuffer, AHugePageIsLetGoAndEachThreadHasItsOwn)
{
    {
        PageBuffer huge;
        huge.Bytes().resize(PageBuffer::kMostKept + 1);
    }
    {
        PageBuffer next;
        EXPECT_LE(next.Bytes().capacity(), PageBuffer::kMostKept);
        next.Bytes() = "main";
        std::thread other([] {
            PageBuffer theirs;
            EXPECT_TRUE(theirs.Bytes().isEmpty());
            theirs.Bytes() = "other";
        });
        other.join();
        EXPECT_EQ(next.Bytes(), "main");
    }
}

} // namespace quillan::test
