#pragma once
// Searching one page for the texts the link checker looks for on each line:
// each text is searched through the page once, left to right, however many
// lines ask for it.

#include <QStringView>

#include <span>
#include <vector>

namespace quillan {

// The places where one key begins in a page, in order.
class KeyPlaces
{
public:
    explicit KeyPlaces(qsizetype keyLength) : keyLength_(keyLength) {}

    void Add(qsizetype at) { places_.push_back(at); }
    // The first place at or after `from` when the key also ends by `end`;
    // otherwise -1.
    qsizetype Within(qsizetype from, qsizetype end) const;

private:
    qsizetype keyLength_;
    std::vector<qsizetype> places_;
};

// An attribute key such as ` href="` (lower case, ending with `="`) and the
// places where it occurs in a page's lower-cased text.
struct AttributeKey {
    QStringView lowered;
    KeyPlaces places;
};

// Finds every key in one pass over the text's "=" signs, as a search of the
// lower-cased text for each would: no character but "=" lower-cases to "=".
void FindAttributeKeys(QStringView text, std::span<AttributeKey> keys);

class ForwardSearch
{
public:
    using Finder = qsizetype (*)(QStringView text, QStringView key, qsizetype from);

    ForwardSearch(QStringView text, QStringView key, Finder finder);

    // The first occurrence starting at or after `from` when it also ends by
    // `end`; otherwise -1. Calls are expected with `from` growing. Only the
    // text up to `end` is searched, each stretch once.
    qsizetype Within(qsizetype from, qsizetype end);

private:
    QStringView text_;
    QStringView key_;
    Finder finder_;
    qsizetype found_ = -1;     // the first occurrence at or after foundFrom_
    qsizetype foundFrom_ = -1;
    qsizetype clearFrom_ = 0; // no occurrence starts in [clearFrom_, clearTo_)
    qsizetype clearTo_ = 0;
};

// The line breaks of a page (CR and LF, each a break of its own), found with
// the fast search for one character: each kind is searched once past each
// place asked for, however long the lines.
class LineBreaks
{
public:
    explicit LineBreaks(QStringView text) : text_(text) {}

    // The first CR or LF at or after `from`; the text's length when none.
    qsizetype NextFrom(qsizetype from);

private:
    struct Next {
        char16_t c;
        qsizetype searchedFrom = -1;
        qsizetype at = -1;
    };
    qsizetype next(Next &kind, qsizetype from) const;

    QStringView text_;
    Next cr_{u'\r'};
    Next lf_{u'\n'};
};

// A finder for the text exactly as given.
qsizetype IndexOfExactly(QStringView text, QStringView key, qsizetype from);

} // namespace quillan
