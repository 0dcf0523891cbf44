#pragma once
// Searching one page for the texts the link checker looks for on each line:
// each text is searched through the page once, left to right, however many
// lines ask for it.

#include <QStringView>

namespace quillan {

// Position of the first occurrence of an attribute key such as ` href="`
// (lower case, ending with `="`) in the lower-cased `text`, from `from`;
// -1 when absent. Gives what IndexOfInLowered gives for such keys, found by
// the "=" first: no character but "=" lower-cases to "=".
qsizetype IndexOfAttributeKey(QStringView text, QStringView loweredKey, qsizetype from);

class ForwardSearch
{
public:
    using Finder = qsizetype (*)(QStringView text, QStringView key, qsizetype from);

    ForwardSearch(QStringView text, QStringView key, Finder finder);

    // The first occurrence starting at or after `from` when it also ends by
    // `end`; otherwise -1. Calls are expected with `from` growing.
    qsizetype Within(qsizetype from, qsizetype end);

private:
    QStringView text_;
    QStringView key_;
    Finder finder_;
    qsizetype searchedFrom_ = -1;
    qsizetype found_ = -1;
};

// A finder for the text exactly as given.
qsizetype IndexOfExactly(QStringView text, QStringView key, qsizetype from);

} // namespace quillan
