#include "util/NativeName.h"

#include "util/UnitScan.h"

#include <QStringDecoder>

#include <system_error>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace quillan {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kReplacement = 0xFFFD;

bool isEscape(QStringView s, qsizetype i)
{
    const char16_t c = s[i].unicode();
    return c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !QChar::isHighSurrogate(s[i - 1].unicode()));
}

// Names and reports are searched whole for the escapes of undecoded bytes,
// which are rare: a register of units a step.
bool holdsSurrogate(QStringView s)
{
    return FindSurrogate(s.utf16(), 0, s.size()) >= 0;
}

// The length of the well-formed UTF-8 sequence at p[0..n), with its code
// point in `cp`; 0 when there is none (overlong forms, surrogates and
// values above U+10FFFF are not well-formed).
int wellFormedSequence(const uchar *p, qsizetype n, char32_t &cp)
{
    const uchar lead = p[0];
    int length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (n < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
        return 0;
    if (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))
        return 0;
    return length;
}

// The slow road, taken only for bytes the locale's decoder has refused: a
// site in Latin-1 takes it for every page, so it writes straight into the
// string.
QString decodeEscaping(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    // No byte gives more than one UTF-16 code unit, bar a four-byte
    // sequence, which gives two.
    QString out(n, Qt::Uninitialized);
    auto *d = reinterpret_cast<char16_t *>(out.data());
    qsizetype k = 0;
    for (qsizetype i = 0; i < n;) {
        if (p[i] < 0x80) {
            d[k++] = p[i++];
            continue;
        }
        char32_t cp = 0;
        const int length = wellFormedSequence(p + i, n - i, cp);
        if (length == 0) {
            d[k++] = char16_t(kEscapeBase + p[i]);
            ++i;
        } else if (QChar::requiresSurrogates(cp)) {
            d[k++] = QChar::highSurrogate(cp);
            d[k++] = QChar::lowSurrogate(cp);
            i += length;
        } else {
            d[k++] = char16_t(cp);
            i += length;
        }
    }
    out.truncate(k);
    return out;
}

void appendUtf8(QByteArray &out, char32_t cp)
{
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        out.append(char(0xC0 | (cp >> 6)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(char(0xE0 | (cp >> 12)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else {
        out.append(char(0xF0 | (cp >> 18)));
        out.append(char(0x80 | ((cp >> 12) & 0x3F)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    }
}

} // namespace

QString DecodeNativeName(QByteArrayView bytes)
{
    // Most names are ASCII, which needs no decoder: setting one up costs
    // more than the decoding, for every file of the site.
    if (FindNonAscii(bytes.data(), 0, bytes.size()) < 0)
        return QString::fromLatin1(bytes);
    // A mark at the start of a name is part of the name.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom
                                                       | QStringConverter::Flag::Stateless);
    QString name = decoder.decode(bytes);
    return decoder.hasError() ? decodeEscaping(bytes) : name;
}

QString DecodeLocaleText(QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
#else
    // Qt takes the locale's encoding on Unix to be UTF-8, whatever the
    // locale says; its UTF-8 decoder says the same many times faster than
    // its System one, on any page that is not plain ASCII.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    return decodeEscaping(bytes);
#endif
}

void EncodeNativeNameInto(QStringView name, QByteArray &bytes)
{
    bytes.resize(name.size()); // keeps the room it has when it is its own
    if (!CopyAsciiUnits(name.utf16(), name.size(), bytes.data()))
        bytes = EncodeNativeName(name);
}

QByteArray EncodeNativeName(QStringView name)
{
    // Most names are ASCII: copied a byte a unit, with no encoder set up.
    QByteArray ascii(name.size(), Qt::Uninitialized);
    if (CopyAsciiUnits(name.utf16(), name.size(), ascii.data()))
        return ascii;
    if (!holdsSurrogate(name))
        return name.toUtf8();
    QByteArray out;
    out.reserve(name.size() * 3);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const char16_t next = i + 1 < name.size() ? name[i + 1].unicode() : 0;
        if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(next)) {
            appendUtf8(out, QChar::surrogateToUcs4(c, next));
            ++i;
        } else if (isEscape(name, i)) {
            out.append(char(c - kEscapeBase));
        } else if (QChar::isSurrogate(c)) {
            // No name decodes to a lone surrogate of any other kind.
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

QString DisplayName(const QString &name)
{
    if (!HoldsUndecodedBytes(name))
        return name;
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (isEscape(name, i))
            shown[i] = QChar(kReplacement);
    }
    return shown;
}

bool HoldsUndecodedBytes(QStringView name)
{
    if (!holdsSurrogate(name))
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isEscape(name, i))
            return true;
    }
    return false;
}

std::filesystem::path ToNativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    const QByteArray bytes = EncodeNativeName(path);
    return std::filesystem::path(std::string(bytes.constData(), size_t(bytes.size())));
#endif
}

QString FromNativePath(const std::filesystem::path &path)
{
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.native());
#else
    const std::string &bytes = path.native();
    return DecodeNativeName(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
#endif
}

FolderIdentity IdentityOf(const QString &path)
{
    FolderIdentity identity;
#ifdef Q_OS_WIN
    std::error_code ec;
    std::filesystem::path real = std::filesystem::canonical(ToNativePath(path), ec);
    if (!ec)
        identity.realPath = std::move(real);
#else
    // One stat, where resolving the path would read every link on the way.
    struct stat st;
    if (::stat(EncodeNativeName(path).constData(), &st) == 0) {
        identity.device = std::uint64_t(st.st_dev);
        identity.inode = std::uint64_t(st.st_ino);
    }
#endif
    return identity;
}

} // namespace quillan
