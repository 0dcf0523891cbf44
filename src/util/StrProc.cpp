#include "util/StrProc.h"

#include <QLocale>

#include <array>

namespace quillan {

namespace {

constexpr std::array<char16_t, 128> makeAsciiLowerTable()
{
    std::array<char16_t, 128> table{};
    for (char16_t c = 0; c < 128; ++c)
        table[c] = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    return table;
}

constexpr auto kAsciiLower = makeAsciiLowerTable();

inline char16_t lowerUnit(char16_t c)
{
    if (c < 128)
        return kAsciiLower[c];
    return QChar(c).toLower().unicode();
}

bool isSpace(QChar c) { return c == u' '; }

} // namespace

QChar LowerCaseAccentedChar(QChar c)
{
    return QChar(lowerUnit(c.unicode()));
}

QString LowerCaseAccented(QStringView s)
{
    QString out(s.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < s.size(); ++i)
        dst[i] = QChar(lowerUnit(s[i].unicode()));
    return out;
}

qsizetype IndexOfInLowered(QStringView text, QStringView loweredKey, qsizetype from)
{
    const qsizetype n = text.size();
    const qsizetype k = loweredKey.size();
    if (from < 0)
        from = 0;
    if (k == 0)
        return from <= n ? from : -1;
    const char16_t first = loweredKey[0].unicode();
    const auto *t = reinterpret_cast<const char16_t *>(text.utf16());
    const auto *key = reinterpret_cast<const char16_t *>(loweredKey.utf16());
    for (qsizetype i = from; i + k <= n; ++i) {
        if (lowerUnit(t[i]) != first)
            continue;
        qsizetype j = 1;
        while (j < k && lowerUnit(t[i + j]) == key[j])
            ++j;
        if (j == k)
            return i;
    }
    return -1;
}

QStringView TrimControlChars(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin].unicode() <= 32)
        ++begin;
    while (end > begin && s[end - 1].unicode() <= 32)
        --end;
    return s.sliced(begin, end - begin);
}

void TrimControlChars(QString &s)
{
    const QStringView trimmed = TrimControlChars(QStringView(s));
    if (trimmed.size() != s.size())
        s = trimmed.toString();
}

void TrimTrailingControlChars(QString &s)
{
    qsizetype end = s.size();
    while (end > 0 && s[end - 1].unicode() <= 32)
        --end;
    s.truncate(end);
}

QString TrimSpaces(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isSpace(s[begin]))
        ++begin;
    while (end > begin && isSpace(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin).toString();
}

int SplitIntoArray(const QString &text, const QString &delimiter, int startPos,
                   QStringList &list, bool trim, int maxEntries, int minLength)
{
    QString rest = text.mid(qMax(startPos, 1) - 1);
    if (rest.isEmpty() || delimiter.isEmpty())
        return 0;
    if (rest.startsWith(delimiter))
        rest.remove(0, delimiter.size());
    if (!rest.endsWith(delimiter))
        rest += delimiter;

    const bool spaceDelimited = delimiter == QStringLiteral(" ");
    int count = 0;
    qsizetype pos = 0;
    while (pos < rest.size()) {
        qsizetype next = rest.indexOf(delimiter, pos);
        if (next < 0)
            next = rest.size();
        const QStringView raw = QStringView(rest).sliced(pos, next - pos);
        const QString entry = trim ? TrimSpaces(raw) : raw.toString();
        if (entry.size() >= minLength) {
            if (list.size() <= count)
                list.append(entry);
            else
                list[count] = entry;
            ++count;
            if (maxEntries > 0 && count >= maxEntries)
                break;
        }
        pos = next + delimiter.size();
        if (spaceDelimited) {
            while (pos < rest.size() && rest[pos] == u' ')
                ++pos;
        }
    }
    return count;
}

int SplitLines(const QString &text, QStringList &list, int caseChange, bool trim)
{
    list = QStringList{QString()};
    int count = 0;
    const QString all = text + kCrLf;
    qsizetype pos = 0;
    while (pos < all.size()) {
        if (TrimSpaces(QStringView(all).sliced(pos)).isEmpty())
            break;
        qsizetype next = all.indexOf(kCrLf, pos);
        if (next < 0)
            next = all.size();
        const QStringView part = QStringView(all).sliced(pos, next - pos);
        if (!TrimSpaces(part).isEmpty()) {
            QString entry = trim ? TrimSpaces(part) : part.toString();
            if (caseChange == -1)
                entry = LowerCaseAccented(entry);
            else if (caseChange == 1)
                entry = entry.toUpper();
            if (list.size() <= count)
                list.append(entry);
            else
                list[count] = entry;
            ++count;
        }
        pos = next + kCrLf.size();
    }
    return count;
}

QString RepeatText(const QString &text, int count)
{
    return count < 1 ? QString() : text.repeated(count);
}

QString JoinList(const QStringList &list, const QString &separator, bool keepTrailingSeparator,
                 int first, int last)
{
    if (list.isEmpty())
        return QString();
    if (first < 0)
        first = 0;
    if (last < 0 || last >= list.size())
        last = int(list.size()) - 1;
    QString joined;
    for (int i = first; i <= last; ++i)
        joined += list[i] + separator;
    if (!keepTrailingSeparator && joined.endsWith(separator))
        joined.chop(separator.size());
    return joined;
}

QString NumberToWords(qint64 n, int /*language*/)
{
    static constexpr std::array<const char *, 21> kUnits = {
        "No",      "One",     "Two",       "Three",    "Four",     "Five",    "Six",
        "Seven",   "Eight",   "Nine",      "Ten",      "Eleven",   "Twelve",  "Thirteen",
        "Fourteen", "Fifteen", "Sixteen",  "Seventeen", "Eighteen", "Nineteen", "Twenty"};
    static constexpr std::array<const char *, 10> kTens = {
        "", "", "Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
    if (n >= 0 && n <= 20)
        return QString::fromLatin1(kUnits[n]);
    if (n > 20 && n <= 99) {
        QString words = QString::fromLatin1(kTens[n / 10]);
        if (n % 10 != 0)
            words += u' ' + QString::fromLatin1(kUnits[n % 10]).toLower();
        return words;
    }
    return FormatCount(n);
}

QString FormatCount(qint64 n)
{
    return QLocale().toString(n);
}

} // namespace quillan
