#pragma once
// String routines shared by the walk, the link checker, the exclusion lists,
// the subfolder survey and the windows.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtCore/qstringalgorithms.h>

namespace quillan {

// The first `c` in `s` at or after `from` (from 0 when negative), or -1.
// QStringView's own indexOf, contains and lastIndexOf with one character go
// through Qt's search for a string of any length, whose set-up costs more
// than the search itself on a link's few characters; these run for every
// link and every "=" of every page, so they call Qt's character search, or
// look backwards, themselves.
inline qsizetype IndexOfChar(QStringView s, char16_t c, qsizetype from = 0)
{
    from = qMax<qsizetype>(from, 0);
    if (from >= s.size())
        return -1;
    const char16_t *begin = s.utf16();
    const char16_t *found = QtPrivate::qustrchr(s.sliced(from), c);
    return found == begin + s.size() ? -1 : found - begin;
}

inline bool ContainsChar(QStringView s, char16_t c)
{
    return IndexOfChar(s, c) >= 0;
}

// The last `c` in `s` (at or before `from` when given), or -1.
inline qsizetype LastIndexOfChar(QStringView s, char16_t c, qsizetype from = -1)
{
    qsizetype i = from < 0 || from >= s.size() ? s.size() - 1 : from;
    for (; i >= 0; --i) {
        if (s[i] == c)
            return i;
    }
    return -1;
}

// Lower-cases one UTF-16 code unit at a time, so the result has exactly the
// length of the input and positions found in it are positions in the input.
// The accented Latin capitals (Š, Ÿ, À to Ý) always map to their small letters.
QString LowerCaseAccented(QStringView s);
QChar LowerCaseAccentedChar(QChar c);

// Position of the first occurrence of `loweredKey` (already lower case) in
// LowerCaseAccented(text), searching from `from`; -1 when absent. Saves
// building the lower-cased copy of a long line.
qsizetype IndexOfInLowered(QStringView text, QStringView loweredKey, qsizetype from = 0);
inline bool ContainsInLowered(QStringView text, QStringView loweredKey)
{
    return IndexOfInLowered(text, loweredKey) >= 0;
}

// Removes characters whose code is 32 or less from both ends.
void TrimControlChars(QString &s);
QStringView TrimControlChars(QStringView s);
// Removes characters whose code is 32 or less from the end only.
void TrimTrailingControlChars(QString &s);

// Removes plain spaces (not tabs) from both ends, as the classic Trim does.
QString TrimSpaces(QStringView s);

// Splits `text` from `startPos` (1 = the whole text) at `delimiter` into
// `list`, storing the entries from index 0 on (elements beyond the returned
// count may hold older entries and are not to be read). With `trim` each entry
// loses its surrounding spaces; entries shorter than `minLength` are dropped;
// `maxEntries` above 0 stops the split there. Returns the number of entries
// stored; an empty text stores none and leaves the list as it was.
int SplitIntoArray(const QString &text, const QString &delimiter, int startPos,
                   QStringList &list, bool trim, int maxEntries, int minLength);

// Splits a CR LF separated text into non-blank lines. `caseChange` -1 lower-
// cases, 1 upper-cases, anything else keeps the case. The list always has at
// least one element (an empty one when no line was found).
int SplitLines(const QString &text, QStringList &list, int caseChange, bool trim);

QString RepeatText(const QString &text, int count);

// Joins elements first..last (-1 meaning the list's bounds), each followed by
// `separator`; the final separator is kept only when asked for.
QString JoinList(const QStringList &list, const QString &separator, bool keepTrailingSeparator,
                 int first = -1, int last = -1);

// English words for counts up to 99 ("No", "One", ..., "Ninety nine"), digits
// with the locale's grouping above.
QString NumberToWords(qint64 n, int language = 0);

// The count with the locale's digit grouping and no decimals (1,234).
QString FormatCount(qint64 n);

// The value of a hexadecimal digit (either case), or -1 for any other character.
constexpr int HexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The line break every file and multi-line value of the program uses.
inline const QString kCrLf = QStringLiteral("\r\n");

} // namespace quillan
