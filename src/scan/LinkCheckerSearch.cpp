#include "scan/LinkCheckerSearch.h"

#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <algorithm>

namespace quillan {

qsizetype KeyPlaces::Within(qsizetype from, qsizetype end) const
{
    const auto place = std::lower_bound(places_.begin(), places_.end(), from);
    return place != places_.end() && *place + keyLength_ <= end ? *place : -1;
}

namespace {

// LowerCaseAccentedChar, with the ASCII letters of a page's markup worked
// out here.
inline char16_t loweredUnit(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
    return LowerCaseAccentedChar(c).unicode();
}

} // namespace

void FindAttributeKeys(QStringView text, std::span<AttributeKey> keys)
{
    ForEachPair(text.utf16(), text.size(), u'=', u'"', 0, [&](qsizetype eq) {
        // At most one key ends at a given "=": they differ before it.
        for (AttributeKey &key : keys) {
            const qsizetype equalsAt = key.lowered.size() - 2;
            const qsizetype start = eq - equalsAt;
            if (start < 0)
                continue;
            qsizetype i = 0;
            while (i < equalsAt && loweredUnit(text[start + i]) == key.lowered[i].unicode())
                ++i;
            if (i == equalsAt) {
                key.places.Add(start);
                break;
            }
        }
        return true;
    });
}

qsizetype LineBreaks::NextFrom(qsizetype from)
{
    return qMin(next(cr_, from), next(lf_, from));
}

qsizetype LineBreaks::next(Next &kind, qsizetype from) const
{
    // The last answer holds for any later start up to the place it found.
    if (kind.searchedFrom < 0 || from < kind.searchedFrom || from > kind.at) {
        const qsizetype found = IndexOfChar(text_, kind.c, from);
        kind.at = found < 0 ? text_.size() : found;
        kind.searchedFrom = from;
    }
    return kind.at;
}

qsizetype IndexOfExactly(QStringView text, QStringView key, qsizetype from)
{
    // Found by its first two characters ("<!" of "<!--", "--" of "-->"),
    // which stand together rarely in a page.
    if (key.size() < 2)
        return text.indexOf(key, from);
    qsizetype found = -1;
    ForEachPair(text.utf16(), text.size(), key[0].unicode(), key[1].unicode(), from,
                [&](qsizetype start) {
                    if (start + key.size() > text.size())
                        return false;
                    if (text.sliced(start, key.size()) == key)
                        found = start;
                    return found < 0;
                });
    return found;
}

ForwardSearch::ForwardSearch(QStringView text, QStringView key, Finder finder)
    : text_(text), key_(key), finder_(finder)
{
}

qsizetype ForwardSearch::Within(qsizetype from, qsizetype end)
{
    // A place found earlier answers every later start up to it.
    if (found_ >= 0 && from >= foundFrom_ && from <= found_)
        return found_ + key_.size() <= end ? found_ : -1;
    // Only [from, end) is searched: most of a page lies between the lines
    // asked about. A stretch searched in vain is not searched again.
    const qsizetype start = from >= clearFrom_ && from < clearTo_ ? clearTo_ : from;
    const qsizetype limit = qMin(end, text_.size());
    const qsizetype found = start < limit ? finder_(text_.first(limit), key_, start) : -1;
    if (found >= 0) {
        found_ = found;
        foundFrom_ = from;
        return found;
    }
    // No occurrence starts in [from, clearTo_); one may start later and end
    // past `end`.
    clearFrom_ = from;
    clearTo_ = qMax(start, limit - key_.size() + 1);
    return -1;
}

} // namespace quillan
