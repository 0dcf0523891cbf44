// Reads a page's links the way a browser's tokenizer reads its tags: one pass
// over the text, skipping comments and the text of script, style, textarea and
// their kind exactly where a browser would, and looking closely only at the
// attributes of the elements that name resources.

#include "html/CharacterReferences.h"
#include "html/HtmlLinks.h"
#include "html/HtmlNames.h"
#include "html/HtmlValueParsers.h"
#include "html/HtmlLineCounter.h"
#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quillan {

namespace {

bool IsTagSpace(char16_t c)
{
    // CR counts because a browser reads every CR as LF before tokenizing.
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r' || c == u'\f';
}

// The characters that end a tag's or an attribute's name, marked by kind,
// for the loops that pass over names one character at a time.
enum NameStop : unsigned char {
    kEndsTagName = 1,       // a space, "/" or ">"
    kEndsAttributeName = 2, // those and "="
    kEndsUnquotedValue = 4, // a space or ">"
};

constexpr std::array<unsigned char, 128> kNameStops = [] {
    std::array<unsigned char, 128> stops{};
    for (const char16_t c : {u' ', u'\n', u'\t', u'\r', u'\f'})
        stops[c] = kEndsTagName | kEndsAttributeName | kEndsUnquotedValue;
    stops[u'/'] = kEndsTagName | kEndsAttributeName;
    stops[u'>'] = kEndsTagName | kEndsAttributeName | kEndsUnquotedValue;
    stops[u'='] = kEndsAttributeName;
    return stops;
}();

bool Stops(char16_t c, NameStop kind)
{
    return c < 128 && (kNameStops[c] & kind) != 0;
}

bool IsAsciiAlpha(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

qsizetype CountLineFeeds(QStringView text)
{
    return text.count(QChar(u'\n'));
}

// An svg, math or integration-point element the reading is inside, and how
// its content is read.
struct Frame {
    HtmlElement element;
    HtmlContext content;
};

struct RecordedAttribute {
    HtmlAttribute attribute;
    qsizetype begin;
    qsizetype end;
};

class LinkReader
{
public:
    LinkReader(QStringView text, HtmlPage &page, bool anchors, HtmlLinksUse use)
        : text_(text), t_(text.utf16()), n_(text.size()), page_(page), anchors_(anchors), use_(use), lines_(text)
    {
    }

    void Read()
    {
        qsizetype p = 0;
        while (p < n_) {
            const qsizetype open = FindUnit(t_, p, n_, u'<');
            if (open < 0)
                return;
            p = open + 1;
            if (p >= n_)
                return;
            const char16_t c = t_[p];
            if (IsAsciiAlpha(c)) {
                p = ReadStartTag(p);
            } else if (c == u'/') {
                if (p + 1 >= n_)
                    return;
                if (IsAsciiAlpha(t_[p + 1]))
                    p = ReadEndTag(p + 1);
                else if (t_[p + 1] == u'>')
                    p += 2;
                else
                    p = SkipPast(p + 1, u'>');
            } else if (c == u'!') {
                p = ReadMarkupDeclaration(p + 1);
            } else if (c == u'?') {
                p = SkipPast(p, u'>');
            }
        }
    }

private:
    HtmlContext Context() const { return frames_.empty() ? HtmlContext::Html : frames_.back().content; }

    // Leaves the svg and MathML elements up to the nearest element whose
    // content is HTML, as a browser does when HTML markup turns up inside them.
    void LeaveForeign()
    {
        while (!frames_.empty() && frames_.back().content != HtmlContext::Html)
            frames_.pop_back();
    }

    // The position of `c` from `p`, or -1.
    qsizetype IndexOf(char16_t c, qsizetype p) const { return FindUnit(t_, p, n_, c); }

    qsizetype SkipPast(qsizetype p, char16_t c) const
    {
        const qsizetype found = IndexOf(c, p);
        return found < 0 ? n_ : found + 1;
    }

    // The element `name` names. Pages use a few names over and over (a
    // listing's spans one after another): the last one looked up is kept.
    HtmlElementName Element(QStringView name)
    {
        if (name.size() != lastName_.size()
            || !std::equal(name.utf16(), name.utf16() + name.size(), lastName_.utf16())) {
            lastName_ = name;
            lastElement_ = LookUpElement(name);
        }
        return lastElement_;
    }

    qsizetype NameEnd(qsizetype p) const
    {
        while (p < n_ && !Stops(t_[p], kEndsTagName))
            ++p;
        return p;
    }

    // Reads the attributes of a tag from `p` (just after its name) to its
    // ">", recording those in `wanted`, the first of each name only. Returns
    // the position after the ">", or -1 when the page ends inside the tag (a
    // browser then drops the tag).
    qsizetype ReadAttributes(qsizetype p, HtmlAttributeSet wanted, bool &selfClosing)
    {
        attributes_.clear();
        seen_ = 0;
        wantedLengths_ = NameLengths(wanted);
        while (true) {
            while (p < n_ && IsTagSpace(t_[p]))
                ++p;
            if (p >= n_)
                return -1;
            if (t_[p] == u'>')
                return p + 1;
            if (t_[p] == u'/') {
                ++p;
                if (p >= n_)
                    return -1;
                if (t_[p] == u'>') {
                    selfClosing = true;
                    return p + 1;
                }
                continue;
            }
            // The first character belongs to the name even when it is "=".
            const qsizetype nameBegin = p++;
            while (p < n_ && !Stops(t_[p], kEndsAttributeName))
                ++p;
            const qsizetype nameEnd = p;
            while (p < n_ && IsTagSpace(t_[p]))
                ++p;
            qsizetype valueBegin = nameEnd;
            qsizetype valueEnd = nameEnd;
            if (p < n_ && t_[p] == u'=') {
                ++p;
                while (p < n_ && IsTagSpace(t_[p]))
                    ++p;
                if (p >= n_)
                    return -1;
                const char16_t c = t_[p];
                if (c == u'"' || c == u'\'') {
                    valueBegin = p + 1;
                    valueEnd = IndexOf(c, valueBegin);
                    if (valueEnd < 0)
                        return -1;
                    p = valueEnd + 1;
                } else if (c != u'>') {
                    valueBegin = p;
                    while (p < n_ && !Stops(t_[p], kEndsUnquotedValue))
                        ++p;
                    valueEnd = p;
                } else {
                    valueBegin = valueEnd = p;
                }
            }
            if (wanted != 0)
                Record(text_.sliced(nameBegin, nameEnd - nameBegin), valueBegin, valueEnd, wanted);
        }
    }

    void Record(QStringView name, qsizetype begin, qsizetype end, HtmlAttributeSet wanted)
    {
        // Most attributes of a tag are not wanted (class, title, ...): a
        // name of another length than every wanted one's is not looked up.
        if (name.size() >= 32 || (wantedLengths_ & (1U << name.size())) == 0)
            return;
        const HtmlAttribute attribute = LookUpAttribute(name);
        const HtmlAttributeSet bit = Bit(attribute);
        if (attribute == HtmlAttribute::Other || (wanted & bit) == 0 || (seen_ & bit) != 0)
            return;
        seen_ |= bit;
        attributes_.push_back({attribute, begin, end});
    }

    qsizetype ReadStartTag(qsizetype p)
    {
        const qsizetype nameEnd = NameEnd(p);
        if (nameEnd >= n_)
            return n_;
        const HtmlElementName name = Element(text_.sliced(p, nameEnd - p));
        if (Context() != HtmlContext::Html && name.breaksOutOfForeign)
            LeaveForeign();
        const HtmlContext context = Context();
        HtmlElement element = name.element;
        // A browser reads the start tag "image" as "img" (not in svg, where
        // image is an element of its own).
        if (element == HtmlElement::Image && context == HtmlContext::Html)
            element = HtmlElement::Img;

        bool selfClosing = false;
        const qsizetype end = ReadAttributes(nameEnd, WantedAttributes(element, context, anchors_), selfClosing);
        if (end < 0)
            return n_;
        TakeLinks(element, context);

        if (context != HtmlContext::Html) {
            EnterForeignElement(element, context, selfClosing);
            return end;
        }
        switch (element) {
        case HtmlElement::Svg:
            if (!selfClosing)
                frames_.push_back({element, HtmlContext::Svg});
            return end;
        case HtmlElement::Math:
            if (!selfClosing)
                frames_.push_back({element, HtmlContext::MathMl});
            return end;
        // A browser reads the content of these elements as text, whatever
        // it holds, up to their end tag ("<script/>" too starts a script).
        case HtmlElement::Script:
            return ReadScriptData(end);
        case HtmlElement::Style:
        case HtmlElement::Xmp:
        case HtmlElement::Iframe:
        case HtmlElement::Noembed:
        case HtmlElement::Noframes:
        case HtmlElement::Textarea:
        case HtmlElement::Title:
            return ReadRawText(end, text_.sliced(p, nameEnd - p));
        case HtmlElement::Plaintext:
            return n_;
        default:
            return end;
        }
    }

    void EnterForeignElement(HtmlElement element, HtmlContext context, bool selfClosing)
    {
        if (element == HtmlElement::Font &&
            (seen_ & (Bit(HtmlAttribute::Color) | Bit(HtmlAttribute::Face) | Bit(HtmlAttribute::Size))) != 0) {
            LeaveForeign();
            return;
        }
        if (selfClosing)
            return;
        switch (element) {
        case HtmlElement::Svg:
            frames_.push_back({element, HtmlContext::Svg});
            break;
        case HtmlElement::Math:
            frames_.push_back({element, HtmlContext::MathMl});
            break;
        case HtmlElement::ForeignObject:
        case HtmlElement::Desc:
        case HtmlElement::Title:
            if (context == HtmlContext::Svg)
                frames_.push_back({element, HtmlContext::Html});
            break;
        case HtmlElement::Mi:
        case HtmlElement::Mo:
        case HtmlElement::Mn:
        case HtmlElement::Ms:
        case HtmlElement::Mtext:
            if (context == HtmlContext::MathMl)
                frames_.push_back({element, HtmlContext::Html});
            break;
        default:
            break;
        }
    }

    qsizetype ReadEndTag(qsizetype p)
    {
        const qsizetype nameEnd = NameEnd(p);
        if (nameEnd >= n_)
            return n_;
        bool selfClosing = false;
        const qsizetype end = ReadAttributes(nameEnd, 0, selfClosing);
        if (end < 0)
            return n_;
        // Only the end of an svg, math or integration point matters.
        if (frames_.empty())
            return end;
        const HtmlElement element = Element(text_.sliced(p, nameEnd - p)).element;
        if (element == HtmlElement::Other)
            return end;
        if (Context() == HtmlContext::Html) {
            // The end of an integration point (foreignObject, mtext, ...).
            if (frames_.back().element == element)
                frames_.pop_back();
            return end;
        }
        if (element == HtmlElement::P || element == HtmlElement::Br) {
            LeaveForeign();
            return end;
        }
        // Closes the nearest open element of that name among the foreign
        // elements around, as far down as they go without HTML between.
        for (auto i = qsizetype(frames_.size()) - 1; i >= 0; --i) {
            if (frames_[std::size_t(i)].element == element) {
                frames_.resize(std::size_t(i));
                break;
            }
            if (i == 0 || frames_[std::size_t(i) - 1].content == HtmlContext::Html)
                break;
        }
        return end;
    }

    // `p` is just after "<!".
    qsizetype ReadMarkupDeclaration(qsizetype p)
    {
        if (p + 1 < n_ && t_[p] == u'-' && t_[p + 1] == u'-')
            return ReadComment(p + 2);
        if (Context() != HtmlContext::Html && text_.sliced(p).startsWith(u"[CDATA[")) {
            const qsizetype close = text_.indexOf(u"]]>", p + 7);
            return close < 0 ? n_ : close + 3;
        }
        // A doctype, or a bogus comment: both end at the first ">".
        return SkipPast(p, u'>');
    }

    // `p` is just after "<!--".
    qsizetype ReadComment(qsizetype p)
    {
        if (p < n_ && t_[p] == u'>')
            return p + 1; // "<!-->"
        if (p + 1 < n_ && t_[p] == u'-' && t_[p + 1] == u'>')
            return p + 2; // "<!--->"
        const qsizetype dataBegin = p;
        qsizetype search = p;
        while (true) {
            const qsizetype dash = FindUnit(t_, search, n_, u'-');
            if (dash < 0 || dash + 2 >= n_)
                return n_;
            if (t_[dash + 1] != u'-') {
                search = dash + 1;
                continue;
            }
            if (t_[dash + 2] == u'>') {
                ReadIncludes(dataBegin, dash);
                return dash + 3;
            }
            if (t_[dash + 2] == u'!' && dash + 3 < n_ && t_[dash + 3] == u'>')
                return dash + 4;
            search = dash + 1;
        }
    }

    void ReadIncludes(qsizetype begin, qsizetype end)
    {
        if (t_[begin] != u'#')
            return;
        includes_.clear();
        ServerSideIncludes(text_.sliced(begin, end - begin), includes_);
        for (IncludeLink &include : includes_)
            AddLinkAt(include.kind, begin + include.offset, std::move(include.value));
    }

    // Where the end tag `name` (any letter case) that ends raw text begins
    // its attributes when it stands at `p` (just after "</"); -1 when it
    // does not.
    qsizetype MatchEndTag(qsizetype p, QStringView name) const
    {
        if (n_ - p <= name.size())
            return -1;
        for (qsizetype i = 0; i < name.size(); ++i)
            if (AsciiLower(t_[p + i]) != AsciiLower(name[i].unicode()))
                return -1;
        const qsizetype after = p + name.size();
        const char16_t c = t_[after];
        return IsTagSpace(c) || c == u'/' || c == u'>' ? after : -1;
    }

    // Reads the end tag whose name ends at `p` and returns where it ends.
    qsizetype FinishEndTag(qsizetype p)
    {
        bool selfClosing = false;
        const qsizetype end = ReadAttributes(p, 0, selfClosing);
        return end < 0 ? n_ : end;
    }

    qsizetype ReadRawText(qsizetype p, QStringView name)
    {
        while (true) {
            const qsizetype open = FindUnit(t_, p, n_, u'<');
            if (open < 0)
                return n_;
            p = open + 1;
            if (p < n_ && t_[p] == u'/') {
                const qsizetype nameEnd = MatchEndTag(p + 1, name);
                if (nameEnd >= 0)
                    return FinishEndTag(nameEnd);
            }
        }
    }

    // Length of the ASCII letters from `p`, and whether they spell "script"
    // followed by a space, "/" or ">".
    bool SpellsScriptThenEnds(qsizetype p, qsizetype &letters) const
    {
        qsizetype q = p;
        while (q < n_ && IsAsciiAlpha(t_[q]))
            ++q;
        letters = q - p;
        if (q >= n_ || !(IsTagSpace(t_[q]) || t_[q] == u'/' || t_[q] == u'>'))
            return false;
        return MatchEndTag(p, u"script") == q;
    }

    // A script's text: "<!--" in it starts an escaped part where
    // "<script>" starts a doubly escaped part, in which "</script>" does not
    // end the script (it ends the doubly escaped part); "-->" ends the
    // escaped part.
    enum class State { Data, Escaped, EscapedDash, EscapedDashDash, EscapedLess, DoubleEscaped, DoubleEscapedDash,
                       DoubleEscapedDashDash, DoubleEscapedLess };

    // The states of an escaped part of a script, or of a doubly escaped one:
    // both end at "-->" and watch for "<".
    struct EscapedPart {
        State plain;
        State dash;
        State dashDash;
        State less;
    };
    static constexpr EscapedPart kEscaped{State::Escaped, State::EscapedDash, State::EscapedDashDash,
                                          State::EscapedLess};
    static constexpr EscapedPart kDoubleEscaped{State::DoubleEscaped, State::DoubleEscapedDash,
                                                State::DoubleEscapedDashDash, State::DoubleEscapedLess};

    static State NextInEscapedPart(char16_t c, State state, const EscapedPart &part)
    {
        if (c == u'-')
            return state == part.plain ? part.dash : part.dashDash;
        if (c == u'<')
            return part.less;
        if (c == u'>' && state == part.dashDash)
            return State::Data;
        return part.plain;
    }

    qsizetype ReadScriptData(qsizetype p)
    {
        State state = State::Data;
        while (true) {
            if (state == State::Data) {
                const qsizetype open = FindUnit(t_, p, n_, u'<');
                if (open < 0)
                    return n_;
                p = open + 1;
                if (p >= n_)
                    return n_;
                if (t_[p] == u'/') {
                    const qsizetype nameEnd = MatchEndTag(p + 1, u"script");
                    if (nameEnd >= 0)
                        return FinishEndTag(nameEnd);
                    ++p;
                } else if (t_[p] == u'!' && p + 2 < n_ && t_[p + 1] == u'-' && t_[p + 2] == u'-') {
                    p += 3;
                    state = State::EscapedDashDash;
                }
                continue;
            }
            if (state == State::Escaped || state == State::DoubleEscaped) {
                while (p < n_ && t_[p] != u'-' && t_[p] != u'<')
                    ++p;
            }
            if (p >= n_)
                return n_;
            const char16_t c = t_[p];
            switch (state) {
            case State::Data:
                break;
            case State::Escaped:
            case State::EscapedDash:
            case State::EscapedDashDash:
                ++p;
                state = NextInEscapedPart(c, state, kEscaped);
                break;
            case State::EscapedLess:
                if (c == u'/') {
                    const qsizetype nameEnd = MatchEndTag(p + 1, u"script");
                    if (nameEnd >= 0)
                        return FinishEndTag(nameEnd);
                    ++p;
                    state = State::Escaped;
                } else if (IsAsciiAlpha(c)) {
                    qsizetype letters = 0;
                    const bool script = SpellsScriptThenEnds(p, letters);
                    p += letters;
                    state = script ? State::DoubleEscaped : State::Escaped;
                } else {
                    state = State::Escaped;
                }
                break;
            case State::DoubleEscaped:
            case State::DoubleEscapedDash:
            case State::DoubleEscapedDashDash:
                ++p;
                state = NextInEscapedPart(c, state, kDoubleEscaped);
                break;
            case State::DoubleEscapedLess:
                if (c == u'/') {
                    ++p;
                    qsizetype letters = 0;
                    const bool script = SpellsScriptThenEnds(p, letters);
                    p += letters;
                    state = script ? State::Escaped : State::DoubleEscaped;
                } else {
                    state = State::DoubleEscaped;
                }
                break;
            }
        }
    }

    // The value of a recorded attribute, decoded; valid until the next call.
    QStringView Value(const RecordedAttribute &attribute)
    {
        const QStringView raw = text_.sliced(attribute.begin, attribute.end - attribute.begin);
        if (!AttributeValueNeedsDecoding(raw))
            return raw;
        decoded_.clear();
        AppendDecodedAttributeValue(raw, decoded_);
        return decoded_;
    }

    // The same as a string: one of its own, or, for a link read to be checked
    // at once, a view of the page's text when decoding leaves it as written
    // (no copy for each of a page's links).
    QString ValueString(const RecordedAttribute &attribute)
    {
        const QStringView raw = text_.sliced(attribute.begin, attribute.end - attribute.begin);
        if (AttributeValueNeedsDecoding(raw))
            return Value(attribute).toString();
        return use_ == HtmlLinksUse::CheckedNow ? QString::fromRawData(raw.data(), raw.size()) : raw.toString();
    }

    const RecordedAttribute *Find(HtmlAttribute attribute) const
    {
        for (const RecordedAttribute &recorded : attributes_)
            if (recorded.attribute == attribute)
                return &recorded;
        return nullptr;
    }

    // A link whose value begins at `at` in the text: its line is counted now
    // or left to the caller, who needs the lines of a few links only.
    void AddLinkAt(HtmlLinkKind kind, qsizetype at, QString value)
    {
        page_.links.push_back({kind, use_ == HtmlLinksUse::Kept ? lines_.LineAt(at) : 0, std::move(value), at});
    }

    // A link within a value that decoding may have changed: its line is
    // counted now.
    void AddLinkOnLine(qint32 line, QString value)
    {
        page_.links.push_back({HtmlLinkKind::Link, line, std::move(value), -1});
    }

    void TakeLinks(HtmlElement element, HtmlContext context)
    {
        for (const RecordedAttribute &recorded : attributes_) {
            switch (recorded.attribute) {
            case HtmlAttribute::Id:
            case HtmlAttribute::Name: {
                const QStringView value = Value(recorded);
                if (!value.isEmpty())
                    page_.anchors.insert(value.toString());
                break;
            }
            case HtmlAttribute::Srcset:
                TakeSrcset(recorded);
                break;
            case HtmlAttribute::Href:
                if (context == HtmlContext::Html && element == HtmlElement::Link && !Find(HtmlAttribute::Rel))
                    break;
                AddLinkAt(context == HtmlContext::Html && element == HtmlElement::Base ? HtmlLinkKind::Base
                                                                                        : HtmlLinkKind::Link,
                          recorded.begin, ValueString(recorded));
                break;
            default:
                if (IsResourceAttribute(element, context, recorded.attribute))
                    AddLinkAt(HtmlLinkKind::Link, recorded.begin, ValueString(recorded));
                break;
            }
        }
        if (element == HtmlElement::Meta && context == HtmlContext::Html)
            TakeRefresh();
    }

    void TakeSrcset(const RecordedAttribute &recorded)
    {
        const QStringView value = Value(recorded);
        spans_.clear();
        SrcsetUrls(value, spans_);
        qint32 line = lines_.LineAt(recorded.begin);
        qsizetype counted = 0;
        for (const ValueSpan &span : spans_) {
            line += qint32(CountLineFeeds(value.sliced(counted, span.offset - counted)));
            counted = span.offset;
            AddLinkOnLine(line, value.sliced(span.offset, span.length).toString());
        }
    }

    // Only the first refresh of a page counts: a browser ignores the others.
    void TakeRefresh()
    {
        const RecordedAttribute *equiv = Find(HtmlAttribute::HttpEquiv);
        const RecordedAttribute *content = Find(HtmlAttribute::Content);
        if (refreshed_ || equiv == nullptr || content == nullptr ||
            Value(*equiv).compare(u"refresh", Qt::CaseInsensitive) != 0)
            return;
        const QStringView value = Value(*content);
        ValueSpan url;
        const RefreshResult result = MetaRefreshUrl(value, url);
        if (result == RefreshResult::NotARefresh)
            return;
        refreshed_ = true;
        if (result == RefreshResult::GoesToUrl) {
            const qint32 line = lines_.LineAt(content->begin) + qint32(CountLineFeeds(value.first(url.offset)));
            AddLinkOnLine(line, value.sliced(url.offset, url.length).toString());
        }
    }

    QStringView text_;
    const char16_t *t_;
    qsizetype n_;
    HtmlPage &page_;
    bool anchors_;
    HtmlLinksUse use_;
    HtmlLineCounter lines_;
    QStringView lastName_;
    HtmlElementName lastElement_ = LookUpElement(QStringView());
    std::vector<Frame> frames_;
    std::vector<RecordedAttribute> attributes_;
    HtmlAttributeSet seen_ = 0;
    quint32 wantedLengths_ = 0; // bit n: a wanted attribute's name has n characters
    bool refreshed_ = false;
    QString decoded_;
    std::vector<ValueSpan> spans_;
    std::vector<IncludeLink> includes_;
};

} // namespace

void ReadHtmlLinks(QStringView text, HtmlPage &page, bool collectAnchors, HtmlLinksUse use)
{
    LinkReader(text, page, collectAnchors, use).Read();
}

qint32 HtmlLinkLine(const HtmlLink &link, HtmlLineCounter &lines)
{
    return link.line > 0 ? link.line : lines.LineAt(link.at);
}

} // namespace quillan
