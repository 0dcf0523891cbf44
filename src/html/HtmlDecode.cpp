// A page's bytes decoded as a browser decodes them. Browsers fall back on
// a guess from the user's language; here the guess is UTF-8 when the bytes
// are valid UTF-8 and windows-1252 (which every byte sequence is) otherwise.

#include "html/DeclaredEncoding.h"
#include "html/HtmlLinks.h"
#include "html/HtmlPrescan.h"
#include "html/Windows1252.h"

#include <QStringDecoder>

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

QString DecodeHtmlBytes(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return Decode(view.sliced(3), QStringDecoder::Utf8);
    if (view.startsWith("\xFE\xFF"))
        return Decode(view.sliced(2), QStringDecoder::Utf16BE);
    if (view.startsWith("\xFF\xFE"))
        return Decode(view.sliced(2), QStringDecoder::Utf16LE);

    QString text;
    const QByteArrayView declared = PrescanForEncoding(view);
    if (!declared.isEmpty() && DecodeDeclared(view, declared, text))
        return text;

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1252(view);
}

} // namespace quillan
