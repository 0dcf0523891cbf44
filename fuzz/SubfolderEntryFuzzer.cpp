// The helpers that read a subfolder's entry line back, on arbitrary names:
// the name before the details, the row caption that shortens long entries,
// and the cut at the closing brace that brings each entry's emptiness and
// size back after the survey's sort.

#include "common/FuzzCheck.h"
#include "common/FuzzInput.h"

#include "settings/ExclusionLists.h"
#include "subfolders/SubfolderEntry.h"
#include "util/StrProc.h"

#include <algorithm>
#include <tuple>
#include <vector>

using namespace quillan;

namespace {

constexpr qsizetype kCaptionLength = 84;
constexpr int kMaxEntries = 8;

struct Surveyed {
    QString entry;
    bool empty;
    double bytes;

    bool operator<(const Surveyed &o) const
    {
        return std::tie(entry, empty, bytes) < std::tie(o.entry, o.empty, o.bytes);
    }
    bool operator==(const Surveyed &o) const
    {
        return entry == o.entry && empty == o.empty && bytes == o.bytes;
    }
};

// The details of an entry: counts, or an error description (which holds no
// braces).
QString details(fuzz::FuzzInput &input)
{
    const uint8_t kind = input.byte();
    if ((kind & 1) != 0) {
        QString error = input.text(24);
        error.remove(u'{');
        error.remove(u'}');
        return error;
    }
    const qint32 files = qint32(input.byte()) << (input.byte() % 24);
    const qint32 subfolders = (kind & 2) != 0 ? 0 : input.byte();
    return FilesPart(files) + SubfoldersPart(subfolders);
}

void checkEntry(const QString &name, const QString &entry, const QString &tail)
{
    FUZZ_REQUIRE(EntryName(entry) == TrimSpaces(name));

    const QString caption = FormatCheckboxCaption(entry);
    if (entry.size() < kCaptionLength) {
        FUZZ_REQUIRE(caption == entry);
        return;
    }
    // The details stay whole; the name is cut and marked.
    FUZZ_REQUIRE(caption.endsWith(QStringLiteral(" ... ") + tail));
    const qsizetype kept = caption.size() - tail.size() - 5;
    FUZZ_REQUIRE(kept <= name.size() + 1);
    FUZZ_REQUIRE(caption.first(kept) == entry.first(kept));
    FUZZ_REQUIRE(kept == 0 || caption.size() - 5 <= kCaptionLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const int count = 1 + input.byte() % kMaxEntries;
    std::vector<Surveyed> surveyed;
    QStringList sortable;
    for (int i = 0; i < count; ++i) {
        const QString name = input.text(1 + input.byte() % 128);
        const QString tail = u'{' + details(input) + u'}';
        const QString entry = name + u' ' + tail;
        checkEntry(name, entry, tail);

        const uint8_t flags = input.byte();
        // Sizes are byte counts: whole numbers up to 2^53.
        const auto bytes = double((quint64(input.byte()) << (flags % 54)) & ((1ULL << 53) - 1));
        surveyed.push_back({entry, (flags & 0x80) != 0, bytes});
        sortable.append(WithSortTail(entry, (flags & 0x80) != 0, bytes));
    }

    SortListAscending(sortable, 0, sortable.size() - 1);
    std::vector<Surveyed> cut;
    for (QString &entry : sortable) {
        const SortTail tail = CutSortTail(entry);
        cut.push_back({entry, tail.empty, tail.bytes});
    }
    std::sort(surveyed.begin(), surveyed.end());
    std::sort(cut.begin(), cut.end());
    FUZZ_REQUIRE(cut == surveyed);
    return 0;
}
