#include "html/HtmlLineCounter.h"

#include "util/UnitScan.h"

#include <limits>

namespace quillan {

qint64 HtmlLineCounter::EndsBetween(qsizetype from, qsizetype to) const
{
    return narrow_ != nullptr ? CountLineEnds(narrow_, from, to, size_) : CountLineEnds(wide_, from, to, size_);
}

qint32 HtmlLineCounter::LineAt(qsizetype pos)
{
    pos = qBound<qsizetype>(0, pos, size_); // a place past the end is on the last line
    if (pos >= pos_)
        line_ += EndsBetween(pos_, pos);
    else
        line_ -= EndsBetween(pos, pos_);
    pos_ = pos;
    constexpr qint64 kMax = std::numeric_limits<qint32>::max();
    return qint32(line_ < kMax ? line_ : kMax);
}

} // namespace quillan
