#pragma once
// The line of a position in a page's text, counted as the classic reading
// counts: CR, LF and CR LF each end a line. Positions asked for mostly grow,
// so each question counts only the text since the one before.

#include <QByteArrayView>
#include <QStringView>

namespace quillan {

class HtmlLineCounter
{
public:
    explicit HtmlLineCounter(QStringView text) : wide_(text.utf16()), size_(text.size()) {}
    // Over a text read as its UTF-8 bytes, whose positions are in bytes.
    explicit HtmlLineCounter(QByteArrayView bytes) : narrow_(bytes.data()), size_(bytes.size()) {}

    // The line, from 1, on which the character at `pos` stands.
    qint32 LineAt(qsizetype pos);

private:
    // Line ends that end in [from, to): an LF, or a CR not followed by LF.
    qint64 EndsBetween(qsizetype from, qsizetype to) const;

    const char16_t *wide_ = nullptr;
    const char *narrow_ = nullptr;
    qsizetype size_;
    qsizetype pos_ = 0;
    qint64 line_ = 1;
};

} // namespace quillan
