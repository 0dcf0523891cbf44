#pragma once
// Runs a test's body once with the scans' narrow loops and, where the
// processor has AVX2, once more with their wide ones, so both are tested on
// any machine that has both.

#include "util/UnitScan.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillan::test {

template <typename Body>
void ForEachScanWidth(Body &&body)
{
    std::vector<bool> widths{false};
    if (ProcessorHasWideScans())
        widths.push_back(true);
    for (const bool wide : widths) {
        AllowWideScans(wide);
        SCOPED_TRACE(wide ? "wide scans" : "narrow scans");
        body();
        if (::testing::Test::HasFatalFailure())
            break;
    }
    AllowWideScans(true);
}

} // namespace quillan::test
