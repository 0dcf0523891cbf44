#include "html/HtmlLineCounter.h"

#include "util/UnitScan.h"

#include <limits>

namespace quillan {

qint64 HtmlLineCounter::EndsBetween(qsizetype from, qsizetype to) const
{
    // LFs plus the CRs no LF follows; most pages hold no CR, and then the
    // pairs need no look.
    const char16_t *t = text_.utf16();
    qint64 ends = CountUnit(t, from, to, u'\n');
    if (CountUnit(t, from, to, u'\r') == 0)
        return ends;
    for (qsizetype i = from; i < to; ++i)
        if (t[i] == u'\r' && (i + 1 >= text_.size() || t[i + 1] != u'\n'))
            ++ends;
    return ends;
}

qint32 HtmlLineCounter::LineAt(qsizetype pos)
{
    if (pos >= pos_)
        line_ += EndsBetween(pos_, pos);
    else
        line_ -= EndsBetween(pos, pos_);
    pos_ = pos;
    constexpr qint64 kMax = std::numeric_limits<qint32>::max();
    return qint32(line_ < kMax ? line_ : kMax);
}

} // namespace quillan
