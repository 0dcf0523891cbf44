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

// What one pass over a line of a page finds.
struct LineMarks {
    qsizetype end = 0;           // the first CR or LF, or the text's length
    qsizetype commentStart = -1; // the first "<!--" before `end`, or -1
    qsizetype commentEnd = -1;   // the first "-->" before `end`, or -1
};

// Scans the line that starts at `from` once, eight units a step, for its end
// and the comment marks on it.
LineMarks ScanLine(QStringView text, qsizetype from);

} // namespace quillan
