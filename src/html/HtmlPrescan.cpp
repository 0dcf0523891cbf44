#include "html/HtmlPrescan.h"

#include "html/EncodingLabels.h"

#include <QByteArray>

#include <array>

namespace quillan {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// `run` with its ASCII capitals lowered.
QByteArray Lowered(QByteArrayView run)
{
    QByteArray lowered = run.toByteArray();
    for (char &c : lowered)
        c = Lower(c);
    return lowered;
}

bool StartsWithLower(QByteArrayView bytes, qsizetype p, QByteArrayView lowerWord)
{
    if (bytes.size() - p < lowerWord.size())
        return false;
    for (qsizetype i = 0; i < lowerWord.size(); ++i)
        if (Lower(bytes[p + i]) != lowerWord[i])
            return false;
    return true;
}

bool EqualsLower(QByteArrayView run, QByteArrayView lowerWord)
{
    return run.size() == lowerWord.size() && StartsWithLower(run, 0, lowerWord);
}

// An attribute's name and value as they stand in the bytes, in any case:
// most tags before a declaration are not meta elements, and their
// attributes are passed over without a copy.
struct Attribute {
    QByteArrayView name;
    QByteArrayView value;
};

// Reads one attribute of a tag from `p`; false at the tag's end or the
// bytes' end.
bool GetAttribute(QByteArrayView bytes, qsizetype &p, Attribute &attribute)
{
    const qsizetype n = bytes.size();
    while (p < n && (IsSpace(bytes[p]) || bytes[p] == '/'))
        ++p;
    if (p >= n || bytes[p] == '>')
        return false;
    attribute.name = {};
    attribute.value = {};
    // The name and the value each stand in one run of the bytes.
    const qsizetype nameBegin = p;
    const auto takeName = [&] { attribute.name = bytes.sliced(nameBegin, p - nameBegin); };
    for (;; ++p) {
        if (p >= n)
            return false;
        const char c = bytes[p];
        if (c == '=' && p > nameBegin) {
            takeName();
            ++p;
            break;
        }
        if (IsSpace(c)) {
            takeName();
            while (p < n && IsSpace(bytes[p]))
                ++p;
            if (p >= n || bytes[p] != '=')
                return true;
            ++p;
            break;
        }
        if (c == '/' || c == '>') {
            takeName();
            return true;
        }
    }
    while (p < n && IsSpace(bytes[p]))
        ++p;
    if (p >= n)
        return false;
    const char first = bytes[p];
    if (first == '"' || first == '\'') {
        const qsizetype close = bytes.indexOf(first, p + 1);
        if (close < 0)
            return false;
        attribute.value = bytes.sliced(p + 1, close - p - 1);
        p = close + 1;
        return true;
    }
    if (first == '>')
        return true;
    const qsizetype valueBegin = p;
    for (; p < n; ++p) {
        if (IsSpace(bytes[p]) || bytes[p] == '>') {
            attribute.value = bytes.sliced(valueBegin, p - valueBegin);
            return true;
        }
    }
    return false;
}

// The encoding named by "charset=" in a Content-Type value.
QByteArrayView EncodingFromContentType(QByteArrayView content)
{
    qsizetype p = 0;
    while (true) {
        const qsizetype found = content.indexOf(QByteArrayView("charset"), p);
        if (found < 0)
            return {};
        p = found + 7;
        while (p < content.size() && IsSpace(content[p]))
            ++p;
        if (p >= content.size() || content[p] != '=')
            continue;
        ++p;
        while (p < content.size() && IsSpace(content[p]))
            ++p;
        if (p >= content.size())
            return {};
        const char c = content[p];
        if (c == '"' || c == '\'') {
            const qsizetype close = content.indexOf(c, p + 1);
            if (close < 0)
                return {};
            return EncodingForLabel(content.sliced(p + 1, close - p - 1));
        }
        qsizetype end = p;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != ';')
            ++end;
        return EncodingForLabel(content.sliced(p, end - p));
    }
}

// The encoding a content attribute's value names, found in the value
// lowered: most pages have one, so a value of ordinary length is lowered on
// the stack.
QByteArrayView EncodingOfContent(QByteArrayView value)
{
    std::array<char, 256> lowered{};
    if (value.size() > qsizetype(lowered.size()))
        return EncodingFromContentType(Lowered(value)); // a view of a label known, not of the value
    for (qsizetype i = 0; i < value.size(); ++i)
        lowered[std::size_t(i)] = Lower(value[i]);
    return EncodingFromContentType(QByteArrayView(lowered.data(), value.size()));
}

// The encoding a meta element declares, its attributes read from `p`.
QByteArrayView MetaEncoding(QByteArrayView bytes, qsizetype &p)
{
    // Only the first of a name counts; the three names that matter are all
    // there is to remember.
    enum Seen { kHttpEquiv = 1, kContent = 2, kCharset = 4 };
    int seen = 0;
    bool gotPragma = false;
    enum class NeedPragma { Unknown, Yes, No } needPragma = NeedPragma::Unknown;
    QByteArrayView charset;
    Attribute attribute;
    while (GetAttribute(bytes, p, attribute)) {
        if (EqualsLower(attribute.name, "http-equiv")) {
            if ((seen & kHttpEquiv) == 0)
                gotPragma = EqualsLower(attribute.value, "content-type");
            seen |= kHttpEquiv;
        } else if (EqualsLower(attribute.name, "content")) {
            if ((seen & kContent) == 0) {
                const QByteArrayView encoding = EncodingOfContent(attribute.value);
                if (!encoding.isEmpty() && charset.isEmpty()) {
                    charset = encoding;
                    needPragma = NeedPragma::Yes;
                }
            }
            seen |= kContent;
        } else if (EqualsLower(attribute.name, "charset")) {
            if ((seen & kCharset) == 0) {
                charset = EncodingForLabel(attribute.value); // in any case
                needPragma = NeedPragma::No;
            }
            seen |= kCharset;
        }
    }
    if (needPragma == NeedPragma::Unknown || (needPragma == NeedPragma::Yes && !gotPragma))
        return {};
    if (charset == "UTF-16BE" || charset == "UTF-16LE")
        return "UTF-8";
    if (charset == "x-user-defined")
        return "windows-1252";
    return charset;
}

} // namespace

QByteArrayView PrescanForEncoding(QByteArrayView bytes)
{
    bytes = bytes.first(std::min(bytes.size(), kPrescanLength));
    const qsizetype n = bytes.size();
    qsizetype p = 0;
    while (true) {
        p = bytes.indexOf('<', p);
        if (p < 0)
            return {};
        if (StartsWithLower(bytes, p, "<!--")) {
            // To the end of the first "-->", whose dashes may be those of "<!--".
            const qsizetype end = bytes.indexOf(QByteArrayView("-->"), p + 2);
            if (end < 0)
                return {};
            p = end + 3;
        } else if (StartsWithLower(bytes, p, "<meta") && p + 5 < n && (IsSpace(bytes[p + 5]) || bytes[p + 5] == '/')) {
            p += 6;
            const QByteArrayView encoding = MetaEncoding(bytes, p);
            if (!encoding.isEmpty())
                return encoding;
        } else if (p + 1 < n && (IsLetter(bytes[p + 1]) || (bytes[p + 1] == '/' && p + 2 < n && IsLetter(bytes[p + 2])))) {
            while (p < n && !IsSpace(bytes[p]) && bytes[p] != '>')
                ++p;
            Attribute attribute;
            while (GetAttribute(bytes, p, attribute)) {
            }
        } else if (p + 1 < n && (bytes[p + 1] == '!' || bytes[p + 1] == '/' || bytes[p + 1] == '?')) {
            const qsizetype end = bytes.indexOf('>', p + 2);
            if (end < 0)
                return {};
            p = end + 1;
        } else {
            ++p;
        }
    }
}

} // namespace quillan
