#pragma once
// Answers kept for the paths a walk asks about (is it a file, which page does
// it lead to), shared by the threads that read pages. The pages of a site ask
// about the same paths over and over, from every thread at once, so the table
// is in parts locked apart, each found by one hash of the path that also
// places the path within its part: one pass over the path a question.

#include "util/HashOfUnits.h"
#include "util/LockSoon.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstddef>
#include <mutex>
#include <vector>

namespace quillan {

// A hash of the path's units (see HashOfUnits), never 0: the tables take
// 0 for an empty place.
inline quint64 HashOfPath(QStringView path)
{
    return HashOfUnits(path.utf16(), path.size()) | 1;
}

template <typename Answer>
class SharedAnswers
{
public:
    // Answers kept in all (some megabytes of paths). A full part starts
    // afresh: the paths a walk asks about again are mostly those of the pages
    // just read (their menus, the pages beside them).
    static constexpr qsizetype kMostKept = 65536;
    static constexpr std::size_t kParts = 16;
    static constexpr qsizetype kMostInAPart = kMostKept / qsizetype(kParts);

    // The part `hash` (HashOfPath's) places a path in.
    static std::size_t PartOf(quint64 hash) { return std::size_t(hash >> 60); }

    // Sets `answer` to the one kept for `path`, whose hash is `hash`; false
    // when none is kept.
    bool Find(QStringView path, quint64 hash, Answer &answer)
    {
        return FindThen(path, hash, [&answer](const Answer &kept) { answer = kept; });
    }

    // Calls `take` with the answer kept for `path`, whose hash is `hash`,
    // while the part is locked; false when none is kept. A caller wanting
    // less than the whole answer need not copy a text all the threads share
    // (each copy and its end a turn at the text's count of users).
    template <typename Take>
    bool FindThen(QStringView path, quint64 hash, Take take)
    {
        Part &part = parts_[PartOf(hash)];
        const auto lock = LockedSoon(part.mutex);
        const Slot *slot = part.find(path, hash);
        if (slot == nullptr)
            return false;
        take(slot->answer);
        return true;
    }

    // Keeps `answer` for `path`, unless one is kept already (another thread
    // asked meanwhile, and was given the same). The path's text is copied:
    // the asker's own text stays its own, to be written over for the next
    // link rather than given up for fresh room.
    void Keep(QStringView path, quint64 hash, const Answer &answer)
    {
        Part &part = parts_[PartOf(hash)];
        const auto lock = LockedSoon(part.mutex);
        if (part.find(path, hash) != nullptr)
            return;
        if (part.count >= kMostInAPart)
            part.clear();
        part.makeRoom();
        part.place(Slot{hash, part.copyOf(path), answer});
    }

private:
    struct Slot {
        quint64 hash = 0; // 0: empty
        QStringView path; // in the part's texts
        Answer answer{};
    };
    // Open addressing: a path lies at the slot its hash gives, or after it.
    struct alignas(64) Part {
        std::mutex mutex;
        std::vector<Slot> cells; // a power of two of them, or none
        qsizetype count = 0;
        // The paths' texts, one after another in blocks, so that keeping a
        // path seldom asks for memory. A block is never resized, and moving
        // it (as the list of blocks grows) keeps its text where it is.
        static constexpr std::size_t kBlockUnits = 16384;
        std::vector<std::vector<char16_t>> blocks;
        std::size_t blockUsed = 0; // units of the last block taken

        QStringView copyOf(QStringView path)
        {
            const auto size = std::size_t(path.size());
            if (size == 0)
                return {};
            if (blocks.empty() || blocks.back().size() - blockUsed < size) {
                // A path longer than a block has one of its own.
                blocks.emplace_back(std::max(kBlockUnits, size));
                blockUsed = 0;
            }
            char16_t *const at = blocks.back().data() + blockUsed;
            std::copy_n(path.utf16(), size, at);
            blockUsed += size;
            return {at, path.size()};
        }

        const Slot *find(QStringView path, quint64 hash) const
        {
            if (cells.empty())
                return nullptr;
            const std::size_t mask = cells.size() - 1;
            for (std::size_t i = std::size_t(hash) & mask;; i = (i + 1) & mask) {
                const Slot &slot = cells[i];
                if (slot.hash == 0)
                    return nullptr;
                if (slot.hash == hash && slot.path == path)
                    return &slot;
            }
        }

        void place(Slot &&slot)
        {
            const std::size_t mask = cells.size() - 1;
            std::size_t i = std::size_t(slot.hash) & mask;
            while (cells[i].hash != 0)
                i = (i + 1) & mask;
            cells[i] = std::move(slot);
            ++count;
        }

        // Room for one more, with at least half the cells free: a part grows
        // by doubling (a small site's parts stay small) up to twice the paths
        // it keeps.
        void makeRoom()
        {
            constexpr std::size_t kFirstSlots = 64;
            if (cells.empty()) {
                cells.resize(kFirstSlots);
                return;
            }
            if (std::size_t(count + 1) * 2 <= cells.size())
                return;
            std::vector<Slot> old(cells.size() * 2);
            old.swap(cells);
            count = 0;
            for (Slot &slot : old) {
                if (slot.hash != 0)
                    place(std::move(slot));
            }
        }

        void clear()
        {
            for (Slot &slot : cells)
                slot = Slot{};
            count = 0;
            blocks.clear();
            blockUsed = 0;
        }
    };
    std::array<Part, kParts> parts_;
};

} // namespace quillan
