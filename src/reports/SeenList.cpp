#include "reports/SeenList.h"

namespace quillan {

namespace {

// Pieces of this many characters are hashed; shorter entries are searched.
constexpr qsizetype kPieceLength = 6;
// Below this length a plain search of the joined text is cheap enough.
constexpr qsizetype kIndexFromLength = 4096;
constexpr size_t kPieceBitCount = size_t(1) << 23;

size_t pieceBit(const QChar *piece)
{
    quint64 hash = 1469598103934665603ULL;
    for (qsizetype i = 0; i < kPieceLength; ++i)
        hash = (hash ^ piece[i].unicode()) * 1099511628211ULL;
    return size_t(hash ^ (hash >> 29)) & (kPieceBitCount - 1);
}

} // namespace

void SeenList::clear()
{
    joined_.clear();
    added_.clear();
    entries_.clear();
    pieceBits_.clear();
    indexedPieces_ = 0;
}

bool SeenList::contains(QStringView entry) const
{
    if (joined_.isEmpty())
        return false;
    if (isLong() && entries_.contains(entry))
        return true;
    return mayOccur(entry) && QStringView(joined_).contains(entry);
}

bool SeenList::mayOccur(QStringView entry) const
{
    if (pieceBits_.empty() || entry.size() < kPieceLength)
        return true;
    for (qsizetype i = 0; i + kPieceLength <= entry.size(); ++i) {
        const size_t bit = pieceBit(entry.data() + i);
        if (!(pieceBits_[bit / 64] & (quint64(1) << (bit % 64))))
            return false;
    }
    return true;
}

void SeenList::add(QStringView entry)
{
    const bool wasLong = isLong();
    joined_ += u':';
    joined_ += entry;
    if (wasLong) {
        entries_.insert(entry);
    } else {
        added_.push_back(entry);
        if (isLong())
            entries_ = QSet<QStringView>(added_.begin(), added_.end());
    }
    if (isLong())
        indexNewPieces();
}

bool SeenList::isLong() const
{
    return joined_.size() >= kIndexFromLength;
}

void SeenList::indexNewPieces()
{
    if (pieceBits_.empty())
        pieceBits_.assign(kPieceBitCount / 64, 0);
    const QChar *text = joined_.constData();
    for (; indexedPieces_ + kPieceLength <= joined_.size(); ++indexedPieces_) {
        const size_t bit = pieceBit(text + indexedPieces_);
        pieceBits_[bit / 64] |= quint64(1) << (bit % 64);
    }
}

} // namespace quillan
