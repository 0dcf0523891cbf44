#include "html/CharacterReferences.h"

#include "html/NamedReferences.h"
#include "html/Windows1252.h"
#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <algorithm>

namespace quillan {

namespace {

// The longest name in the table ("CounterClockwiseContourIntegral;") has 32
// characters; a name without ";" has at most 6.
constexpr qsizetype kMaxNameLength = 32;
constexpr qsizetype kMaxLegacyNameLength = 6;

bool IsAsciiAlnum(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Compares a name of the table with `name` in byte order.
int CompareName(const char *entry, QStringView name)
{
    qsizetype i = 0;
    for (; entry[i] != '\0' && i < name.size(); ++i) {
        const auto a = char16_t(static_cast<unsigned char>(entry[i]));
        const char16_t b = name[i].unicode();
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (entry[i] == '\0')
        return i == name.size() ? 0 : -1;
    return 1;
}

void AppendCodePoint(char32_t c, QString &out)
{
    if (c > 0xFFFF) {
        out.append(QChar::highSurrogate(c));
        out.append(QChar::lowSurrogate(c));
    } else {
        out.append(QChar(char16_t(c)));
    }
}

// A numeric reference's number as the character it stands for.
char32_t NumericReferenceCharacter(char32_t number)
{
    if (number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF))
        return 0xFFFD;
    if (number >= 0x80 && number <= 0x9F)
        return kWindows1252High[number - 0x80];
    return number;
}

// Decodes the numeric reference at raw[i] == '&', raw[i + 1] == '#'. Returns
// the position after it, or i when it has no digits (then it stays text).
qsizetype DecodeNumeric(QStringView raw, qsizetype i, QString &out)
{
    qsizetype p = i + 2;
    const bool hex = p < raw.size() && (raw[p] == u'x' || raw[p] == u'X');
    if (hex)
        ++p;
    const qsizetype digitsStart = p;
    char32_t number = 0;
    for (; p < raw.size(); ++p) {
        const char16_t c = raw[p].unicode();
        const int digit = hex ? HexDigitValue(c) : (c >= u'0' && c <= u'9' ? c - u'0' : -1);
        if (digit < 0)
            break;
        // Anything past 0x10FFFF means U+FFFD; stop growing there.
        if (number <= 0x10FFFF)
            number = number * (hex ? 16 : 10) + char32_t(digit);
    }
    if (p == digitsStart)
        return i;
    if (p < raw.size() && raw[p] == u';')
        ++p;
    AppendCodePoint(NumericReferenceCharacter(number), out);
    return p;
}

// Decodes the named reference at raw[i] == '&'. Returns the position after
// it, or i when the text stays as written.
qsizetype DecodeNamed(QStringView raw, qsizetype i, QString &out)
{
    const qsizetype start = i + 1;
    qsizetype end = start;
    while (end < raw.size() && end - start < kMaxNameLength && IsAsciiAlnum(raw[end].unicode()))
        ++end;
    if (end == start)
        return i;
    // Only the whole run followed by ";" can match a name that ends in ";";
    // otherwise the longest name without ";" that begins the run.
    if (end < raw.size() && raw[end] == u';') {
        if (const NamedReferenceEntry *entry = FindNamedReference(raw.sliced(start, end + 1 - start))) {
            AppendCodePoint(entry->first, out);
            if (entry->second != 0)
                AppendCodePoint(entry->second, out);
            return end + 1;
        }
    }
    for (qsizetype length = std::min(end - start, kMaxLegacyNameLength); length > 0; --length) {
        const NamedReferenceEntry *entry = FindNamedReference(raw.sliced(start, length));
        if (entry == nullptr)
            continue;
        const qsizetype after = start + length;
        if (after < raw.size() && (raw[after] == u'=' || IsAsciiAlnum(raw[after].unicode())))
            return i;
        AppendCodePoint(entry->first, out);
        if (entry->second != 0)
            AppendCodePoint(entry->second, out);
        return after;
    }
    return i;
}

} // namespace

const NamedReferenceEntry *FindNamedReference(QStringView name)
{
    const std::span<const NamedReferenceEntry> table = NamedReferenceTable();
    const auto found = std::lower_bound(
        table.begin(), table.end(), name,
        [](const NamedReferenceEntry &entry, QStringView key) { return CompareName(entry.name, key) < 0; });
    if (found != table.end() && CompareName(found->name, name) == 0)
        return &*found;
    return nullptr;
}

namespace {

// Where the next unit that decoding changes stands in [from, size): a "&", a
// NUL or a CR; `size` when there is none. Link values run to some thousands
// of units (pictures given inline as data: addresses), so the plain units
// are passed over a register at a time.
qsizetype NextToDecode(const char16_t *text, qsizetype from, qsizetype size)
{
    const qsizetype next = FindAnyOf(text, from, size, u'&', u'\0', u'\r', u'\r');
    return next < 0 ? size : next;
}

} // namespace

bool AttributeValueNeedsDecoding(QStringView raw)
{
    return NextToDecode(raw.utf16(), 0, raw.size()) < raw.size();
}

void AppendDecodedAttributeValue(QStringView raw, QString &out)
{
    out.reserve(out.size() + raw.size());
    const char16_t *const text = raw.utf16();
    qsizetype i = 0;
    while (i < raw.size()) {
        // The plain run before the next unit to decode goes over whole.
        const qsizetype next = NextToDecode(text, i, raw.size());
        out.append(raw.sliced(i, next - i));
        i = next;
        if (i == raw.size())
            break;
        const char16_t c = text[i];
        if (c == u'&') {
            const qsizetype after = (i + 1 < raw.size() && raw[i + 1] == u'#') ? DecodeNumeric(raw, i, out)
                                                                                : DecodeNamed(raw, i, out);
            if (after != i) {
                i = after;
                continue;
            }
            out.append(QChar(c));
        } else if (c == u'\0') {
            out.append(QChar(char16_t(0xFFFD)));
        } else {
            // A CR, or a CR LF pair, reads as LF.
            out.append(QChar(u'\n'));
            if (i + 1 < raw.size() && raw[i + 1] == u'\n')
                ++i;
        }
        ++i;
    }
}

} // namespace quillan
