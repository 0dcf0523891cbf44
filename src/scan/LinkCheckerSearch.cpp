#include "scan/LinkCheckerSearch.h"

#include "util/StrProc.h"

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
    for (qsizetype eq = IndexOfChar(text, u'='); eq >= 0; eq = IndexOfChar(text, u'=', eq + 1)) {
        if (eq + 1 >= text.size())
            return;
        if (text[eq + 1] != u'"')
            continue;
        // At most one key ends at a given "=": they differ before it.
        for (AttributeKey &key : keys) {
            const qsizetype equalsAt = key.lowered.size() - 2;
            const qsizetype start = eq - equalsAt;
            if (start < 0)
                continue;
            qsizetype i = 0;
            while (i < equalsAt && loweredUnit(text[start + i]) == key.lowered[i].unicode())
                ++i;
            if (i == equalsAt)
                key.places.Add(start);
        }
    }
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
    // Found by its second character ("!" of "<!--", "-" of "-->"), which is
    // rare in a page, with the fast search for one character.
    if (key.size() < 2)
        return text.indexOf(key, from);
    from = qMax<qsizetype>(from, 0);
    const QChar anchor = key[1];
    for (qsizetype at = IndexOfChar(text, anchor.unicode(), from + 1); at >= 0;
         at = IndexOfChar(text, anchor.unicode(), at + 1)) {
        const qsizetype start = at - 1;
        if (start + key.size() > text.size())
            return -1;
        if (text.sliced(start, key.size()) == key)
            return start;
    }
    return -1;
}

ForwardSearch::ForwardSearch(QStringView text, QStringView key, Finder finder)
    : text_(text), key_(key), finder_(finder)
{
}

qsizetype ForwardSearch::Within(qsizetype from, qsizetype end)
{
    // The last answer holds for any later start up to the place it found.
    const bool answerHolds = searchedFrom_ >= 0 && from >= searchedFrom_
                             && (found_ < 0 || found_ >= from);
    if (!answerHolds) {
        found_ = finder_(text_, key_, from);
        searchedFrom_ = from;
    }
    return found_ >= 0 && found_ + key_.size() <= end ? found_ : -1;
}

} // namespace quillan
