#include "html/HtmlLineCounter.h"

#include <limits>

namespace quillan {

qint64 HtmlLineCounter::EndsBetween(qsizetype from, qsizetype to) const
{
    const char16_t *t = text_.utf16();
    const qsizetype n = text_.size();
    qint64 ends = 0;
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = t[i];
        ends += c == u'\n';
        ends += c == u'\r' && (i + 1 >= n || t[i + 1] != u'\n');
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
