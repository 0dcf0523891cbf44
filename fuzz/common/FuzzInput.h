#pragma once
// Hands out a fuzz input piece by piece: option bytes first, then texts.
// Once the bytes run out every piece is zero or empty.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace quillan::fuzz {

class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    uint8_t byte()
    {
        return pos_ < size_ ? data_[pos_++] : 0;
    }

    // The next `count` bytes, fewer at the end.
    QByteArray bytes(size_t count)
    {
        count = count < size_ - pos_ ? count : size_ - pos_;
        QByteArray taken(reinterpret_cast<const char *>(data_ + pos_), qsizetype(count));
        pos_ += count;
        return taken;
    }

    QByteArray rest() { return bytes(size_ - pos_); }

    // A text of at most `maxBytes` bytes, read either as UTF-8 or, to reach
    // what a text box may hold (lone surrogates included), as raw UTF-16.
    QString text(size_t maxBytes)
    {
        const bool utf16 = (byte() & 1) != 0;
        return decoded(bytes(maxBytes), utf16);
    }
    QString restAsText()
    {
        const bool utf16 = (byte() & 1) != 0;
        return decoded(rest(), utf16);
    }

private:
    static QString decoded(const QByteArray &raw, bool utf16)
    {
        if (!utf16)
            return QString::fromUtf8(raw);
        QString text;
        for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
            text += QChar(char16_t(uint8_t(raw[i]) | (uint8_t(raw[i + 1]) << 8)));
        return text;
    }

    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace quillan::fuzz
