// The two exclusion boxes on arbitrary texts: the tidy form is sorted and
// stays so (tidying it again keeps every entry and the order of the keys;
// a leading empty entry is dropped, as the split drops a leading comma, and
// entries equal but for letter case may trade places, as the list's quicksort
// is not stable), and splitting a tidy text gives back exactly the entries it
// shows.

#include "common/FuzzCheck.h"
#include "common/FuzzInput.h"

#include "settings/ExclusionLists.h"
#include "util/FileProc.h"
#include "util/StrProc.h"

using namespace quillan;

namespace {

QStringList sortedEntries(const QString &text)
{
    QStringList entries = text.split(QStringLiteral(", "));
    entries.sort();
    return entries;
}

void checkTidyText(const QString &tidy, QString (*tidyAgain)(const QString &))
{
    const QString again = tidyAgain(tidy);
    const bool leadingEmptyEntry = tidy.startsWith(QStringLiteral(", "));
    const QString expected = leadingEmptyEntry ? tidy.mid(2) : tidy;
    FUZZ_REQUIRE(LowerCaseAccented(again) == LowerCaseAccented(expected));
    FUZZ_REQUIRE(sortedEntries(again) == sortedEntries(expected));
    if (tidy.isEmpty() || leadingEmptyEntry)
        return;

    QStringList entries{QStringLiteral("stale")};
    const int count = ConvertExclusionText(tidy, entries);
    FUZZ_REQUIRE(count >= 1 && count <= entries.size());
    const QStringList shown = entries.first(count);
    FUZZ_REQUIRE(shown.join(QStringLiteral(", ")) == tidy);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        FUZZ_REQUIRE(!shown[i].contains(u','));
        FUZZ_REQUIRE(TrimSpaces(shown[i]) == shown[i]);
        if (i > 0)
            FUZZ_REQUIRE(LowerCaseAccented(shown[i - 1]) <= LowerCaseAccented(shown[i]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const QString box = input.restAsText();

    checkTidyText(TidyExcludedLinksText(box), TidyExcludedLinksText);

    const QString filepaths = TidyExcludedFilepathsText(box);
    if (PathSeparator() != u'/')
        FUZZ_REQUIRE(!filepaths.contains(u'/'));
    checkTidyText(filepaths, TidyExcludedFilepathsText);

    // The walk's split of an untidy box: every comma separates, a leading
    // or trailing one adds no entry, every entry is trimmed.
    QStringList entries;
    const int count = ConvertExclusionText(box, entries);
    FUZZ_REQUIRE(count >= 0 && count <= box.count(u',') + 1);
    for (int i = 0; i < count; ++i)
        FUZZ_REQUIRE(TrimSpaces(entries[i]) == entries[i] && !entries[i].contains(u','));
    return 0;
}
