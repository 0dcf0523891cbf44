// A page's bytes decoded as a browser decodes them. Browsers fall back on
// a guess from the user's language; here the guess is UTF-8 when the bytes
// are valid UTF-8 and windows-1252 (which every byte sequence is) otherwise.

#include "html/DeclaredEncoding.h"
#include "html/HtmlLinks.h"
#include "html/HtmlPrescan.h"
#include "html/Windows1252.h"
#include "util/UnitScan.h"

#include <QStringDecoder>

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillan {

namespace {

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : char16_t(b);
    }
    return text;
}

QString Decode(QByteArrayView bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

bool DecodeDeclared(QByteArrayView bytes, QByteArrayView encoding, QString &text)
{
    if (encoding == "UTF-8") {
        text = Decode(bytes, QStringDecoder::Utf8);
        return true;
    }
    if (encoding == "windows-1252") {
        text = DecodeWindows1252(bytes);
        return true;
    }
    // The encoding's own name, or the name under which Qt's converters
    // decode the same bytes.
    QByteArray name = encoding.toByteArray();
    if (name == "ISO-8859-8-I")
        name = "ISO-8859-8";
    else if (name == "EUC-KR")
        name = "windows-949";
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    text = decoder.decode(bytes);
    return true;
}

bool IsValidUtf8(QByteArrayView bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // Most pages are ASCII but for a few characters: four registers of
        // bytes a step, and from a step that holds others straight to the
        // first.
#if defined(__SSE2__)
        for (; i + 64 <= n; i += 64) {
            const auto *at = reinterpret_cast<const __m128i *>(b + i);
            const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(at), _mm_loadu_si128(at + 1)),
                                              _mm_or_si128(_mm_loadu_si128(at + 2), _mm_loadu_si128(at + 3)));
            if (_mm_movemask_epi8(any) != 0)
                break;
        }
        if (i + 32 <= n) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i + 16));
            const auto high = unsigned(_mm_movemask_epi8(first)) | (unsigned(_mm_movemask_epi8(second)) << 16);
            if (high == 0) {
                i += 32;
                continue;
            }
            i += std::countr_zero(high);
        }
#endif
        const unsigned lead = b[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The length of the sequence and the range its second byte must be
        // in, which rules out overlong forms, surrogates and code points
        // above U+10FFFF.
        qsizetype length = 0;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (i + length > n || b[i + 1] < low || b[i + 1] > high)
            return false;
        for (qsizetype k = 2; k < length; ++k)
            if ((b[i + k] & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

namespace {

bool IsAscii(QByteArrayView bytes)
{
    return FindNonAscii(bytes.data(), 0, bytes.size()) < 0;
}

// A decoder of UTF-8 drops a byte-order mark at the start of what it
// decodes: so does the reading of the bytes as they stand.
QByteArrayView WithoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
}

} // namespace

HtmlText HtmlText::FromUtf8(QByteArrayView bytes)
{
    HtmlText text;
    text.isUtf8_ = true;
    text.utf8_ = WithoutByteOrderMark(bytes);
    return text;
}

HtmlText HtmlText::Of(const QByteArray &bytes)
{
    HtmlText text;
    const auto asBytes = [](QByteArrayView view) { return FromUtf8(view); };
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        if (IsValidUtf8(view.sliced(3)))
            return asBytes(view.sliced(3));
        text.decoded_ = Decode(view.sliced(3), QStringDecoder::Utf8);
        return text;
    }
    if (view.startsWith("\xFE\xFF")) {
        text.decoded_ = Decode(view.sliced(2), QStringDecoder::Utf16BE);
        return text;
    }
    if (view.startsWith("\xFF\xFE")) {
        text.decoded_ = Decode(view.sliced(2), QStringDecoder::Utf16LE);
        return text;
    }

    const QByteArrayView declared = PrescanForEncoding(view);
    if (!declared.isEmpty()) {
        // ASCII reads the same in windows-1252.
        if ((declared == "UTF-8" && IsValidUtf8(view)) || (declared == "windows-1252" && IsAscii(view)))
            return asBytes(view);
        if (DecodeDeclared(view, declared, text.decoded_))
            return text;
    }
    if (IsValidUtf8(view))
        return asBytes(view);
    text.decoded_ = DecodeWindows1252(view);
    return text;
}

QString DecodeHtmlBytes(const QByteArray &bytes)
{
    return HtmlText::Of(bytes).ToString();
}

} // namespace quillan
