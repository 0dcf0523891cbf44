#include "html/HtmlLineCounter.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quillan {

qint64 HtmlLineCounter::EndsBetween(qsizetype from, qsizetype to) const
{
    // LFs plus the CRs no LF follows. Counted in blocks with 16-bit counters,
    // which the compiler turns into vector instructions; most pages hold no
    // CR, and then the pairs need no look.
    const char16_t *t = text_.utf16();
    qint64 ends = 0;
    constexpr qsizetype kBlock = 32768;
    for (qsizetype begin = from; begin < to; begin += kBlock) {
        const qsizetype end = std::min(to, begin + kBlock);
        uint16_t lf = 0;
        uint16_t cr = 0;
        for (qsizetype i = begin; i < end; ++i) {
            lf = uint16_t(lf + (t[i] == u'\n'));
            cr = uint16_t(cr + (t[i] == u'\r'));
        }
        ends += lf;
        if (cr == 0)
            continue;
        for (qsizetype i = begin; i < end; ++i)
            if (t[i] == u'\r' && (i + 1 >= text_.size() || t[i + 1] != u'\n'))
                ++ends;
    }
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
