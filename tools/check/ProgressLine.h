#pragma once
// The running count and the page being read, on one line of a terminal on
// standard error, redrawn a few times a second.

#include <QElapsedTimer>
#include <QString>

namespace quillan::check {

// True when standard error is a terminal that takes the escape codes the
// line is drawn with, and the user did not ask for quiet or for no colour.
bool ProgressWanted(bool quiet);

class ProgressLine
{
public:
    explicit ProgressLine(bool enabled);

    bool enabled() const { return enabled_; }

    void Draw(const QString &status, const QString &file);
    // Takes the line away, so that other text written to the same terminal
    // starts on a clean line.
    void Clear();

private:
    static constexpr int kIntervalMs = 100;

    bool enabled_;
    bool drawn_ = false;
    QElapsedTimer sinceDrawn_;
};

// Writes text to standard error in the locale's encoding.
void WriteToStderr(const QString &text);

} // namespace quillan::check
