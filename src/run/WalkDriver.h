#pragma once
// The part of a scan that needs no window, shared by the main window and the
// benchmark so both run a scan the same way.

#include "scan/ScanState.h"
#include "util/WorkerThreads.h"

#include <QString>

#include <memory>

namespace quillan {

// Turns the two exclusion boxes' texts (already trimmed) into the scan's
// exclusion lists and counts.
void PrepareExclusions(ScanState &state, const QString &filepathsText, const QString &linksText);

// What a walk leaves to be freed: the tables its reader filled (every
// target looked up, every folder listed), milliseconds' work on a large
// site. A check that read pages on several threads frees them on a thread of
// their own (a kept one, see WorkerThreads), beside what the caller does
// next (the reports); they are freed by the time this is destroyed or
// assigned to.
class WalkLeftovers
{
public:
    WalkLeftovers() = default;
    ~WalkLeftovers();
    WalkLeftovers(WalkLeftovers &&) noexcept = default;
    WalkLeftovers &operator=(WalkLeftovers &&other) noexcept;
    WalkLeftovers(const WalkLeftovers &) = delete;
    WalkLeftovers &operator=(const WalkLeftovers &) = delete;

private:
    friend WalkLeftovers RunWalk(ScanState &state, const ScanOptions &options, WalkHost &host);
    void waitUntilFreed();

    std::shared_ptr<JobsUnderway> freeing_; // null: nothing being freed
};

// Resets the counters and limit flags, then walks the top folder in the mode
// the state is set to (listing or checking).
WalkLeftovers RunWalk(ScanState &state, const ScanOptions &options, WalkHost &host);

} // namespace quillan
