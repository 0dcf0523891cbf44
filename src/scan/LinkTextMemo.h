#pragma once
// What the texts of links came to on the pages of one folder, kept by each
// thread. The pages of a folder name the same targets over and over (a
// site's menus, a reference's types on every page): a text met again need
// not be cleaned, resolved and looked up on the disk once more.
//
// A text has one slot, chosen by its hash, and takes it from the text there
// before: nothing is freed or allocated as texts come and go, and a new
// folder only starts a new generation.

#include "util/HashOfUnits.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace quillan {

template <typename Answer>
class LinkTextMemo
{
public:
    // Room for the links of most folders in a few tens of kilobytes a
    // thread, which stay in the processor's cache: a larger memo, spread
    // over more memory, measured slower on sites of small folders. A folder
    // of a reference (thousands of pages, each naming hundreds of others)
    // holds more texts than that, which would take each other's slots over
    // and over: once as many of one folder's texts have taken the slot of
    // another of its texts as there are slots, the memo doubles, up to
    // kMostSlots.
    static constexpr std::size_t kSlots = 512;
    static constexpr std::size_t kMostSlots = 8192;

    // Makes the memo that of the checker `checker` (each checker numbers
    // itself, from 1) for links that resolve from `place` as `variant`
    // says: what was kept for another is forgotten.
    void Use(quint64 checker, QStringView place, bool variant = false)
    {
        if (checker == checker_ && variant == variant_ && place == QStringView(place_))
            return;
        if (slots_.empty()) {
            slots_.resize(kSlots);
            mask_ = kSlots - 1;
        }
        ++generation_;
        taken_ = 0;
        checker_ = checker;
        variant_ = variant;
        place_ = place.toString();
    }

    // The answer kept for the text [units, units + size); `known` says
    // whether it was kept, or whether the caller is to fill it in (the slot
    // is the text's from now on: its answer holds what the text before
    // left there). A text of UTF-8 bytes is another than one of UTF-16
    // units, whatever their bytes: the hashes of the two kinds differ in
    // their lowest bit.
    template <typename Unit>
    Answer &Find(const Unit *units, qsizetype size, bool &known)
    {
        const quint64 hash = HashOfUnits(units, size) ^ (sizeof(Unit) == 1 ? 0 : 1);
        Slot *slot = &slotOf(hash);
        const auto length = std::size_t(size) * sizeof(Unit);
        known = slot->generation == generation_ && slot->hash == hash && slot->text.size() == length
                && std::memcmp(slot->text.data(), units, length) == 0;
        if (!known) {
            if (slot->generation == generation_ && ++taken_ >= slots_.size() && slots_.size() < kMostSlots) {
                grow();
                slot = &slotOf(hash);
            }
            slot->generation = generation_;
            slot->hash = hash;
            slot->text.assign(reinterpret_cast<const char *>(units), length); // keeps its buffer
        }
        return slot->answer;
    }

    // How many slots the memo has now.
    std::size_t Slots() const { return slots_.size(); }

private:
    struct Slot;
    // The number of slots is a power of two.
    Slot &slotOf(quint64 hash) { return slots_[hash & mask_]; }

    // Doubles the slots, keeping this folder's texts: a text's slot stays
    // or moves up by the old number of slots, so no two meet.
    void grow()
    {
        std::vector<Slot> grown(slots_.size() * 2);
        for (Slot &slot : slots_) {
            if (slot.generation == generation_)
                grown[slot.hash & (grown.size() - 1)] = std::move(slot);
        }
        slots_.swap(grown);
        mask_ = slots_.size() - 1;
        taken_ = 0;
    }

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
    std::size_t taken_ = 0; // slots of this folder's texts taken by another of them
    std::size_t mask_ = 0;  // the number of slots less one
    std::vector<Slot> slots_;
};

} // namespace quillan
