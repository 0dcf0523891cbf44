#pragma once
// Numbers the distinct texts met, in the order they are first met: a text met
// again gets its number back. For the reports' tables of many thousand
// paths (the targets of the broken links, the pages listed under one), where
// a general hash table hashes every text again each time it grows.

#include <QString>
#include <QStringView>

#include <vector>

namespace quillan {

class TextIds
{
public:
    // Room for `expected` texts from the start (more are taken as they come).
    explicit TextIds(qsizetype expected = 0);

    struct Met {
        qint32 id = 0;
        bool isNew = false;
    };
    // The text is viewed, not copied: it must outlive the table.
    Met idOf(QStringView text);
    // -1 for a text not met.
    qint32 find(QStringView text) const;
    qsizetype size() const { return qsizetype(texts_.size()); }
    // Forgets every text; the room stays, up to a bound.
    void clear();

private:
    // A cell holds an id plus one (0: empty) and the hash's high half, which
    // tells most texts apart without reading them.
    struct Cell {
        quint32 idPlusOne = 0;
        quint32 check = 0;
    };
    void makeRoom(qsizetype texts);
    size_t firstPlace(quint64 hash) const { return size_t(hash) & mask_; }

    std::vector<QStringView> texts_;
    std::vector<quint64> hashes_; // by id: growing needs no text read again
    std::vector<Cell> cells_;
    size_t mask_ = 0;
};

} // namespace quillan
