#pragma once
// What the texts of links came to on the pages of one folder, kept by each
// thread. The pages of a folder name the same targets over and over (a
// site's menus, a reference's types on every page): a text met again need
// not be cleaned, resolved and looked up on the disk once more.
//
// A text has one slot, chosen by its hash, and takes it from the text there
// before: nothing is freed or allocated as texts come and go, and a new
// folder only starts a new generation.

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace quillan {

// A hash of a run of units, sixteen bytes a step in two lanes that do not
// wait for each other: links are short, and a general hash costs more than
// what it saves for them. A text's slot is only where it is looked for: the
// text kept there is compared whole.
template <typename Unit>
quint64 HashOfUnits(const Unit *units, qsizetype size)
{
    constexpr quint64 kOdd = 0x9E3779B97F4A7C15ULL;
    constexpr quint64 kOtherOdd = 0xC2B2AE3D27D4EB4FULL;
    const auto *bytes = reinterpret_cast<const char *>(units);
    const auto length = std::size_t(size) * sizeof(Unit);
    quint64 first = quint64(length) * kOdd;
    quint64 second = kOtherOdd;
    std::size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        quint64 word = 0;
        quint64 next = 0;
        std::memcpy(&word, bytes + i, sizeof word);
        std::memcpy(&next, bytes + i + 8, sizeof next);
        first = (first ^ word) * kOdd;
        second = (second ^ next) * kOtherOdd;
    }
    if (i + 8 <= length) {
        quint64 word = 0;
        std::memcpy(&word, bytes + i, sizeof word);
        first = (first ^ word) * kOdd;
        i += 8;
    }
    quint64 rest = 0;
    std::memcpy(&rest, bytes + i, length - i);
    second = (second ^ rest) * kOtherOdd;
    // Each lane's high bits hold what its low bits lack: folded in.
    quint64 hash = (first ^ (first >> 29)) + (second ^ (second >> 31));
    hash *= kOdd;
    return hash ^ (hash >> 32);
}

template <typename Answer>
class LinkTextMemo
{
public:
    // Room for the links of most folders in a few tens of kilobytes a
    // thread, which stay in the processor's cache: a larger memo, spread
    // over more memory, measured slower.
    static constexpr std::size_t kSlots = 512;

    // Makes the memo that of the checker `checker` (each checker numbers
    // itself, from 1) for links that resolve from `place` as `variant`
    // says: what was kept for another is forgotten.
    void Use(quint64 checker, QStringView place, bool variant = false)
    {
        if (checker == checker_ && variant == variant_ && place == QStringView(place_))
            return;
        if (slots_.empty())
            slots_.resize(kSlots);
        ++generation_;
        checker_ = checker;
        variant_ = variant;
        place_ = place.toString();
    }

    // The answer kept for the text [units, units + size); `known` says
    // whether it was kept, or whether the caller is to fill it in (the slot
    // is the text's from now on: its answer holds what the text before
    // left there).
    template <typename Unit>
    Answer &Find(const Unit *units, qsizetype size, bool &known)
    {
        const quint64 hash = HashOfUnits(units, size);
        Slot &slot = slots_[hash % kSlots];
        const auto length = std::size_t(size) * sizeof(Unit);
        known = slot.generation == generation_ && slot.hash == hash && slot.text.size() == length
                && std::memcmp(slot.text.data(), units, length) == 0;
        if (!known) {
            slot.generation = generation_;
            slot.hash = hash;
            slot.text.assign(reinterpret_cast<const char *>(units), length); // keeps its buffer
        }
        return slot.answer;
    }

private:
    struct Slot {
        quint64 generation = 0; // 0: never used
        quint64 hash = 0;
        std::string text; // the units' bytes
        Answer answer;
    };

    quint64 checker_ = 0;
    bool variant_ = false;
    QString place_;
    quint64 generation_ = 0;
    std::vector<Slot> slots_;
};

} // namespace quillan
