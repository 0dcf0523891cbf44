#pragma once

// Reading a page's links as a browser reads them: the bytes decoded as a
// browser decodes them, then the tags read as a browser's tokenizer reads
// them, so that every link a visitor can follow is found, and none that sits
// in a comment, a script or a text area.

#include "html/HtmlLineCounter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

namespace quillan {

enum class HtmlLinkKind {
    Link,            // an attribute that names a resource (href, src, srcset candidate, poster, ...)
    Base,            // the href of a base element
    IncludeVirtual,  // <!--#include virtual="..." -->
    IncludeFile,     // <!--#include file="..." -->
};

struct HtmlLink {
    HtmlLinkKind kind = HtmlLinkKind::Link;
    qint32 line = 0;  // line of the page on which the value (or srcset candidate) begins, from 1;
                      // CR, LF and CR LF each end a line. 0 when its counting was left to
                      // HtmlLinkLine (HtmlLinksUse::CheckedNow).
    QString value;    // as the page gives it, character references decoded; not trimmed. In an
                      // attribute, NUL reads as U+FFFD and CR LF or CR as LF, as a browser reads
                      // them; an include's value is exactly as written (an escaped quote read as
                      // the quote). Empty for href="" or a bare href: the page itself. Null when
                      // the value is left in UTF-8 (IsUtf8).
    qsizetype at = -1; // where the value begins in the page's text (in its bytes when it was read
                       // as UTF-8); -1 for a link within a value (a srcset candidate, a refresh's
                       // address), whose line is counted
    // With HtmlLinksUse::CheckedNow, an attribute's value read from UTF-8:
    // its bytes in the page as written, character references and all
    // (HtmlLinkValue decodes them).
    QByteArrayView utf8{};

    bool IsUtf8() const { return utf8.data() != nullptr; }
};

struct HtmlPage {
    std::vector<HtmlLink> links;  // in page order
    // With anchors asked for: every element's id and every a element's name, as written.
    QSet<QString> anchors;
};

// The page's text as a browser decodes its bytes: by a byte-order mark, else by a charset declared in a
// meta element within the first 1,024 bytes, else as UTF-8 when the bytes are valid UTF-8, else as
// windows-1252.
QString DecodeHtmlBytes(const QByteArray &bytes);

// A page's text as the reading takes it: the page's own bytes when the
// browser would read them as UTF-8 and they are valid UTF-8 (most pages,
// read with no copy), else the text DecodeHtmlBytes gives. The bytes must
// outlive it.
class HtmlText
{
public:
    static HtmlText Of(const QByteArray &bytes);
    static HtmlText Of(QByteArray &&) = delete; // would view bytes about to go
    // Bytes known to be valid UTF-8, read as they stand.
    static HtmlText FromUtf8(QByteArrayView bytes);
    explicit HtmlText(QString decoded) : decoded_(std::move(decoded)) {}

    bool IsUtf8() const { return isUtf8_; }
    QByteArrayView Utf8() const { return utf8_; }
    QStringView Utf16() const { return decoded_; }
    QString ToString() const { return isUtf8_ ? QString::fromUtf8(utf8_) : decoded_; }

private:
    HtmlText() = default;

    bool isUtf8_ = false;
    QByteArrayView utf8_;
    QString decoded_;
};

// Whether `bytes` are well-formed UTF-8: no overlong form, surrogate, code
// point above U+10FFFF or cut sequence.
bool IsValidUtf8(QByteArrayView bytes);

// What a page's links are read for: to be kept, each complete; or to be
// checked while the page's text is at hand, when the lines are left for
// HtmlLinkLine to count (a checker wants the lines of its broken links only)
// and a value the page gives as written views the text instead of copying
// it (its UTF-8 bytes, when the page was read as UTF-8: HtmlLinkValue). Such
// values are valid while the text lives: what outlives it takes a copy of
// its own.
enum class HtmlLinksUse { Kept, CheckedNow };

// Reads the links (and, when asked, the anchors) of a page's decoded text, appending them to
// `page`. Every base element's href is given (a browser uses the first); only the first meta
// refresh of a page counts, as in a browser. Safe to call for several pages at once.
void ReadHtmlLinks(QStringView text, HtmlPage &page, bool collectAnchors,
                   HtmlLinksUse use = HtmlLinksUse::Kept);
// The same, from the text in whichever form it has.
void ReadHtmlLinks(const HtmlText &text, HtmlPage &page, bool collectAnchors,
                   HtmlLinksUse use = HtmlLinksUse::Kept);

// The value of `link` as text: its own, or its UTF-8 bytes decoded into
// `room`, written over.
const QString &HtmlLinkValue(const HtmlLink &link, QString &room);
QString HtmlLinkValue(const HtmlLink &link);

// The line of `link`, read from `lines` (over the same text) when the reading left it.
qint32 HtmlLinkLine(const HtmlLink &link, HtmlLineCounter &lines);

} // namespace quillan
