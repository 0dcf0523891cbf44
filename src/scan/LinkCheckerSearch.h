#pragma once
// Searching one page for the texts the link checker looks for: the keys in
// one pass over the page, and what a line with a key needs (its end, its
// comment marks) in one pass over that line only. A page is searched as
// UTF-16 code units or as the bytes of UTF-8 (every mark and key is ASCII,
// which no byte of a longer sequence is); the places found are those of the
// units searched.

#include <QStringView>

#include <span>
#include <string_view>
#include <vector>

namespace quillan {

// The places where one key begins in a page, in order.
class KeyPlaces
{
public:
    explicit KeyPlaces(qsizetype keyLength) : keyLength_(keyLength) {}

    void Add(qsizetype at) { places_.push_back(at); }
    // Forgets the places, keeping the room they took.
    void Clear()
    {
        places_.clear();
        next_ = 0;
    }
    // The first place at or after `from` when the key also ends by `end`;
    // otherwise -1. A page is read from its start to its end, so `from`
    // mostly grows from one question to the next: the answer is looked for
    // from the last one on.
    qsizetype Within(qsizetype from, qsizetype end) const;

private:
    qsizetype keyLength_;
    std::vector<qsizetype> places_;
    mutable size_t next_ = 0; // the first place at or after the last `from`
};

// An attribute key such as ` href="` (lower case, ending with `="`) and the
// places where it occurs in a page's lower-cased text.
struct AttributeKey {
    QStringView lowered;
    KeyPlaces places;
};

// Finds every key in one pass over the text's "=" signs, as a search of the
// lower-cased text for each would: no character but "=" lower-cases to "=".
template <typename Unit>
void FindAttributeKeys(std::basic_string_view<Unit> text, std::span<AttributeKey> keys);

// What one pass over a line of a page finds.
struct LineMarks {
    qsizetype end = 0;           // the first CR or LF, or the text's length
    qsizetype commentStart = -1; // the first "<!--" before `end`, or -1
    qsizetype commentEnd = -1;   // the first "-->" before `end`, or -1
};

// Scans the line that starts at `from` once, a register's worth of units a
// step, for its end and the comment marks on it.
template <typename Unit>
LineMarks ScanLine(std::basic_string_view<Unit> text, qsizetype from);

// The number of the line that begins at a given position of a page's text
// (from 1; CR, LF and CR LF each end a line). Asked with growing positions.
template <typename Unit>
struct LineCounter {
    std::basic_string_view<Unit> text;
    qsizetype countedTo = 0;
    qint32 line = 1;

    qint32 LineAt(qsizetype lineStart);
};

// A QString's units, as the searches above take them.
inline std::u16string_view UnitsOf(QStringView text)
{
    return {text.utf16(), size_t(text.size())};
}

} // namespace quillan
