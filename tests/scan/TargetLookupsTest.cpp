// The targets of a site are spread over the parts of the shared table of
// answers, so threads that look targets up at once seldom wait for the same
// lock, and no part fills up and starts afresh long before the others.

#include "scan/TargetLookups.h"

#include <gtest/gtest.h>

#include <array>

namespace quillan::test {

TEST(TargetLookups, TargetsOfOneLengthAndExtensionSpreadOverEveryPart)
{
    // A generated site's pages and pictures: the same length, the same
    // extension, names told apart by a digit or two.
    constexpr std::size_t kParts = 16;
    constexpr int kTargets = 3200;
    for (const char *pattern : {"/site/f%1/p%2.html", "/site/f%1/img%2.png", "C:\\site\\f%1\\p%2.htm"}) {
        std::array<int, kParts> inPart{};
        for (int i = 0; i < kTargets; ++i) {
            const QString target = QString::fromLatin1(pattern)
                                       .arg(i % 40, 2, 10, QLatin1Char('0'))
                                       .arg(i, 5, 10, QLatin1Char('0'));
            ++inPart[ShardOf(target, kParts)];
        }
        const int even = kTargets / int(kParts);
        for (std::size_t part = 0; part < kParts; ++part) {
            EXPECT_GT(inPart[part], even / 2) << pattern << " part " << part;
            EXPECT_LT(inPart[part], even * 2) << pattern << " part " << part;
        }
    }
}

} // namespace quillan::test
