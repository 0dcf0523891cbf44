#include "util/TextIds.h"

#include "util/HashOfUnits.h"

namespace quillan {

namespace {

constexpr size_t kFewestCells = 16;
// A table that held this many cells is let go by clear(): a long group's
// set should not be wiped again for every short one after it.
constexpr size_t kCellsKeptByClear = size_t(1) << 14;

quint64 hashOf(QStringView text)
{
    return HashOfUnits(text.utf16(), text.size());
}

quint32 checkOf(quint64 hash)
{
    return quint32(hash >> 32);
}

} // namespace

TextIds::TextIds(qsizetype expected)
{
    texts_.reserve(size_t(expected));
    hashes_.reserve(size_t(expected));
    makeRoom(expected);
}

void TextIds::makeRoom(qsizetype texts)
{
    // At most half the cells full: probes stay short.
    size_t cells = kFewestCells;
    while (cells < size_t(texts) * 2)
        cells *= 2;
    if (cells <= cells_.size())
        return;
    cells_.assign(cells, Cell());
    mask_ = cells - 1;
    for (size_t id = 0; id < hashes_.size(); ++id) {
        size_t place = firstPlace(hashes_[id]);
        while (cells_[place].idPlusOne != 0)
            place = (place + 1) & mask_;
        cells_[place] = Cell{quint32(id + 1), checkOf(hashes_[id])};
    }
}

TextIds::Met TextIds::idOf(QStringView text)
{
    const quint64 hash = hashOf(text);
    const quint32 check = checkOf(hash);
    size_t place = firstPlace(hash);
    for (; cells_[place].idPlusOne != 0; place = (place + 1) & mask_) {
        const Cell cell = cells_[place];
        if (cell.check == check && texts_[cell.idPlusOne - 1] == text)
            return Met{qint32(cell.idPlusOne - 1), false};
    }
    const auto id = qint32(texts_.size());
    texts_.push_back(text);
    hashes_.push_back(hash);
    if (texts_.size() * 2 > cells_.size())
        makeRoom(qsizetype(cells_.size())); // doubles the cells, placing every text again
    else
        cells_[place] = Cell{quint32(id + 1), check};
    return Met{id, true};
}

qint32 TextIds::find(QStringView text) const
{
    const quint64 hash = hashOf(text);
    const quint32 check = checkOf(hash);
    for (size_t place = firstPlace(hash); cells_[place].idPlusOne != 0; place = (place + 1) & mask_) {
        const Cell cell = cells_[place];
        if (cell.check == check && texts_[cell.idPlusOne - 1] == text)
            return qint32(cell.idPlusOne - 1);
    }
    return -1;
}

void TextIds::clear()
{
    if (texts_.empty())
        return;
    texts_.clear();
    hashes_.clear();
    if (cells_.size() > kCellsKeptByClear) {
        cells_ = std::vector<Cell>(kFewestCells);
        mask_ = kFewestCells - 1;
        texts_.shrink_to_fit();
        hashes_.shrink_to_fit();
    } else {
        cells_.assign(cells_.size(), Cell());
    }
}

} // namespace quillan
