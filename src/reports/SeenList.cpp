#include "reports/SeenList.h"

#include <array>
#include <limits>

namespace quillan {

namespace {

// Pieces of this many characters are indexed, at every kStride-th place of
// the joined text: an entry of kShortestIndexed characters or more holds a
// whole piece at one of the places in every place it occurs. Shorter
// entries are searched.
constexpr qsizetype kPieceLength = 6;
constexpr qsizetype kStride = 3;
constexpr qsizetype kShortestIndexed = kPieceLength + kStride - 1;
// Below this length a plain search of the joined text is cheap enough.
constexpr qsizetype kIndexFromLength = 4096;

// A piece's hash is the polynomial sum of its characters, so the hash of
// the piece one character back follows from it with two multiplications:
// every position of an entry is hashed, from its end.
constexpr quint64 kBase = 0x100000001b3ULL;
constexpr quint64 kBaseToLastPlace = [] {
    quint64 power = 1;
    for (qsizetype i = 1; i < kPieceLength; ++i)
        power *= kBase;
    return power;
}();
// The base is odd, so it has an inverse modulo 2^64 (by Newton's steps, each
// doubling the bits that are right).
constexpr quint64 kBaseInverse = [] {
    quint64 inverse = kBase;
    for (int step = 0; step < 6; ++step)
        inverse *= 2 - kBase * inverse;
    return inverse;
}();
static_assert(kBase * kBaseInverse == 1);

quint64 pieceHash(const char16_t *piece)
{
    quint64 hash = 0;
    for (qsizetype i = 0; i < kPieceLength; ++i)
        hash = hash * kBase + piece[i];
    return hash;
}

// The hash of the piece one character back.
quint64 previousPieceHash(quint64 hash, char16_t entering, char16_t leaving)
{
    return entering * kBaseToLastPlace + (hash - leaving) * kBaseInverse;
}

} // namespace

void SeenList::clear()
{
    joined_.clear();
    entriesJoined_ = 0;
    joinedLength_ = 0;
    last_ = {};
    entries_.clear();
    longest_ = -1;
    ofLongest_.clear();
    inSet_ = 0;
    buckets_.clear();
    earlierInBucket_.clear();
    indexedPieces_ = 0;
    indexUsable_ = true;
}

bool SeenList::contains(QStringView entry)
{
    if (entries_.empty())
        return false;
    if (entry == last_)
        return true;
    if (!isLong()) {
        joinAll();
        return QStringView(joined_).contains(entry);
    }
    if (entry.size() >= longest_ && !entry.contains(u':')) {
        if (entry.size() > longest_)
            return false;
        for (; inSet_ < entries_.size(); ++inSet_) {
            if (entries_[inSet_].size() == longest_)
                ofLongest_.idOf(entries_[inSet_]);
        }
        return ofLongest_.find(entry) >= 0;
    }
    joinAll();
    indexNewPieces();
    if (!buckets_.empty() && entry.size() >= kShortestIndexed)
        return occursIndexed(entry);
    return QStringView(joined_).contains(entry);
}

size_t SeenList::bucketOf(quint64 hash) const
{
    // The high bits of the product mix every character of the piece.
    return size_t((hash * 0x9e3779b97f4a7c15ULL) >> bucketShift_);
}

bool SeenList::occursIndexed(QStringView entry) const
{
    // The entry's pieces fall in kStride sets by their offset in it; where
    // the entry occurs, the pieces of one set stand at indexed places. For
    // each set, every occurrence begins where the set's rarest piece does,
    // less its offset; one piece found nowhere rules the set out, and with
    // every set ruled out the entry is not there. The pieces are taken from
    // the end: the entries of a group are mostly paths that differ in their
    // last names, and their folders' pieces are found everywhere.
    struct Rarest {
        size_t bucket = 0;
        qsizetype offset = -1; // -1: none yet; -2: ruled out
    };
    std::array<Rarest, kStride> rarest{};
    int ruledOut = 0;
    const char16_t *units = entry.utf16();
    const qsizetype lastPiece = entry.size() - kPieceLength;
    quint64 hash = pieceHash(units + lastPiece);
    for (qsizetype i = lastPiece; i >= 0; --i) {
        if (i < lastPiece)
            hash = previousPieceHash(hash, units[i], units[i + kPieceLength]);
        Rarest &set = rarest[size_t(i % kStride)];
        if (set.offset == -2)
            continue;
        const size_t bucket = bucketOf(hash);
        if (buckets_[bucket].count == 0) {
            set.offset = -2;
            if (++ruledOut == kStride)
                return false;
        } else if (set.offset == -1 || buckets_[bucket].count < buckets_[set.bucket].count) {
            set = Rarest{bucket, i};
        }
    }
    const QStringView joined(joined_);
    for (const Rarest &set : rarest) {
        if (set.offset < 0)
            continue;
        for (quint32 at = buckets_[set.bucket].last; at != 0;
             at = earlierInBucket_[(at - 1) / kStride]) {
            const qsizetype start = qsizetype(at - 1) - set.offset;
            if (start >= 0 && start + entry.size() <= joined.size()
                && joined.sliced(start, entry.size()) == entry)
                return true;
        }
    }
    return false;
}

void SeenList::add(QStringView entry)
{
    joinedLength_ += 1 + entry.size();
    last_ = entry;
    if (entry.size() > longest_) {
        longest_ = entry.size();
        ofLongest_.clear();
        inSet_ = entries_.size(); // those before are shorter
    }
    entries_.push_back(entry);
}

bool SeenList::isLong() const
{
    return joinedLength_ >= kIndexFromLength;
}

void SeenList::joinAll()
{
    for (; entriesJoined_ < entries_.size(); ++entriesJoined_) {
        const QStringView entry = entries_[entriesJoined_];
        joined_ += u':';
        joined_.append(entry.utf16(), size_t(entry.size()));
    }
}

void SeenList::indexNewPieces()
{
    if (!indexUsable_)
        return;
    if (joined_.size() >= size_t(std::numeric_limits<quint32>::max())) {
        // Searched whole from here on.
        indexUsable_ = false;
        buckets_.clear();
        earlierInBucket_.clear();
        return;
    }
    // A bucket for every one to four pieces: a chain is short, and the
    // index takes about 4 bytes a character. Indexed anew as the text outgrows it.
    const size_t pieces = joined_.size() / kStride;
    if (buckets_.size() * 4 < pieces) {
        size_t buckets = 1024;
        int bits = 10;
        while (buckets * 2 <= pieces) {
            buckets *= 2;
            ++bits;
        }
        bucketShift_ = 64 - bits;
        buckets_.assign(buckets, Bucket());
        earlierInBucket_.clear();
        indexedPieces_ = 0;
    }
    // `indexedPieces_` is the next place to index, a multiple of kStride.
    const char16_t *text = joined_.data();
    const auto joinedSize = qsizetype(joined_.size());
    for (; indexedPieces_ + kPieceLength <= joinedSize; indexedPieces_ += kStride) {
        Bucket &in = buckets_[bucketOf(pieceHash(text + indexedPieces_))];
        earlierInBucket_.push_back(in.last);
        in.last = quint32(indexedPieces_ + 1);
        ++in.count;
    }
}

} // namespace quillan
