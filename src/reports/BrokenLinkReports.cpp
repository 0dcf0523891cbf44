#include "reports/BrokenLinkReports.h"

#include "reports/SeenList.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"
#include "util/TextIds.h"
#include "util/UnitScan.h"

#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quillan {

namespace {

const QString kIndent = QStringLiteral("     ");
const QString kLinkFromArrow = QStringLiteral(" \u2014>");
const QString kLinkToArrow = QStringLiteral(" <\u2014");

// Table entries compared by both paths, for the set of entries seen so far.
struct SamePagesAndTarget {
    const QList<BrokenLink> *links;
    size_t operator()(qint32 i) const
    {
        const BrokenLink &link = (*links)[i];
        return qHashMulti(0, link.strLinkFrom, link.strLinkTo);
    }
    bool operator()(qint32 a, qint32 b) const
    {
        const BrokenLink &x = (*links)[a];
        const BrokenLink &y = (*links)[b];
        return x.strLinkTo == y.strLinkTo && x.strLinkFrom == y.strLinkFrom;
    }
};

// One group line and the entries under it, each written once unless
// repeats are to be shown.
class GroupWriter
{
public:
    GroupWriter(ReportText &report, const QString &arrow, bool showRepeated)
        : GroupWriter(report, ReportText::Encoded(arrow), showRepeated)
    {
    }
    GroupWriter(ReportText &report, QByteArray encodedArrow, bool showRepeated)
        : report_(report), arrow_(std::move(encodedArrow)), showRepeated_(showRepeated)
    {
    }

    // Writes the group of `entries` (every entry of the report under
    // `group`), its lines taken from `shared` when a group of the same
    // entries was written before, and kept there when not.
    void writeGroup(QStringView group, std::span<const LinkToRow> entries,
                    SharedGroupLines &shared)
    {
        if (showRepeated_ || entries.size() < SharedGroupLines::kShortestShared) {
            for (const LinkToRow &row : entries)
                write(group, row.page);
            return;
        }
        // The entries are the whole group: the next row names another
        // target, so what is seen under this one is not asked again.
        report_.line(group, arrow_);
        current_ = group;
        started_ = true;
        seen_.clear();
        QByteArray lines = shared.find(entries);
        if (lines.isNull()) {
            ReportText own;
            GroupWriter writer(own, arrow_, false);
            writer.current_ = group;
            writer.started_ = true;
            for (const LinkToRow &row : entries)
                writer.write(group, row.page);
            lines = own.bytes();
            shared.keep(entries, lines);
        }
        report_.appendBytes(lines);
    }

    void write(QStringView group, QStringView entry)
    {
        if (!started_ || group != current_) {
            report_.line(group, arrow_);
            current_ = group;
            started_ = true;
            seen_.clear();
        }
        if (showRepeated_) {
            report_.line(kIndent, entry); // every entry: none is looked for
        } else if (!seen_.contains(entry)) {
            report_.line(kIndent, entry);
            seen_.add(entry);
        }
    }

private:
    ReportText &report_;
    const QByteArray arrow_; // not ASCII: encoded once, not on every group line
    bool showRepeated_;
    bool started_ = false;
    QStringView current_;
    SeenList seen_;
};

// Every recorded path begins with the top folder's text; the reports show
// the rest.
QStringView RelativeTo(qsizetype topLength, const QString &path)
{
    return QStringView(path).sliced(qMin(topLength, path.size()));
}

QString sentenceWithCount(const QString &one, const QString &manyBefore, const QString &manyAfter,
                          qint64 count)
{
    if (count == 1)
        return one;
    return manyBefore + QString::number(count) + manyAfter;
}

// Sorts `order` by `less`, keeping the order of items it cannot tell apart.
// The ascending runs already there are merged pairwise: pages come in walk
// order, mostly sorted, and a sorted list costs one comparison an item.
template <typename Less>
void SortByRuns(std::vector<qint32> &order, Less less)
{
    std::vector<size_t> runStarts{0};
    for (size_t i = 1; i < order.size(); ++i) {
        if (less(order[i], order[i - 1]))
            runStarts.push_back(i);
    }
    if (runStarts.size() == 1)
        return;
    runStarts.push_back(order.size());
    std::vector<qint32> merged(order.size());
    while (runStarts.size() > 2) {
        std::vector<size_t> mergedStarts;
        mergedStarts.reserve(runStarts.size() / 2 + 2);
        for (size_t r = 0; r + 1 < runStarts.size(); r += 2) {
            const auto first = order.begin() + qsizetype(runStarts[r]);
            const auto middle = order.begin() + qsizetype(runStarts[r + 1]);
            const auto out = merged.begin() + qsizetype(runStarts[r]);
            mergedStarts.push_back(runStarts[r]);
            if (r + 2 < runStarts.size())
                std::merge(first, middle, middle, order.begin() + qsizetype(runStarts[r + 2]), out, less);
            else
                std::copy(first, middle, out); // the odd run out, merged in the next pass
        }
        mergedStarts.push_back(order.size());
        order.swap(merged);
        runStarts = std::move(mergedStarts);
    }
}

// Reorders `items` by `key`, a number below `range`, keeping the order of
// items with the same key.
template <typename Item, typename Key>
void CountingSortBy(std::vector<Item> &items, size_t range, Key key)
{
    std::vector<size_t> place(range + 1, 0);
    for (const Item &item : items)
        ++place[size_t(key(item)) + 1];
    for (size_t k = 1; k < range; ++k)
        place[k] += place[k - 1];
    std::vector<Item> sorted(items.size());
    for (const Item &item : items)
        sorted[place[size_t(key(item))]++] = item;
    items.swap(sorted);
}

// The rank of each of `count` items in the order `less` gives; items
// `less` cannot tell apart either way share a rank.
template <typename Less>
std::vector<qint32> RanksInOrder(size_t count, Less less)
{
    std::vector<qint32> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = qint32(i);
    SortByRuns(order, less);
    std::vector<qint32> rank(count);
    for (size_t i = 0, r = 0; i < count; ++i) {
        if (i > 0 && less(order[i - 1], order[i]))
            ++r;
        rank[size_t(order[i])] = qint32(r);
    }
    return rank;
}

} // namespace

qint64 CountRepeatedInFileBrokenLinks(const QList<BrokenLink> &links, qint32 numLinks)
{
    const SamePagesAndTarget same{&links};
    std::unordered_set<qint32, SamePagesAndTarget, SamePagesAndTarget> seen(
        size_t(qMax(numLinks, 0)), same, same);
    qint64 repeated = 0;
    for (qint32 i = 1; i <= numLinks; ++i) {
        if (!seen.insert(i).second)
            ++repeated;
    }
    return repeated;
}

ReportText &ReportText::line(QStringView first, QStringView second)
{
    append(first);
    append(second);
    append(kCrLf);
    return *this;
}

ReportText &ReportText::line(QStringView first, QByteArrayView encodedSecond)
{
    append(first);
    appendBytes(encodedSecond);
    append(kCrLf);
    return *this;
}

QByteArray ReportText::Encoded(QStringView piece)
{
    ReportText text;
    text.append(piece);
    return text.bytes();
}

void ReportText::append(QStringView piece)
{
    // A report runs to tens of thousands of lines, written straight in the
    // file's encoding: no text of the whole report in UTF-16 and no second
    // copy to encode it, each megabytes of fresh memory. The pieces are
    // whole names, so no character is split between two of them. ASCII,
    // most of a report, is the same in every encoding the locale may have.
    if (CopyAsciiUnits(piece.utf16(), piece.size(), roomFor(piece.size()))) {
        used_ += piece.size();
        return;
    }
    if (HoldsUndecodedBytes(piece)) {
        append(DisplayName(piece.toString()));
        return;
    }
    char *const at = roomFor(encoder_.requiredSpace(piece.size()));
    used_ += encoder_.appendToBuffer(at, piece) - at;
}

char *ReportText::roomFor(qsizetype count)
{
    // Grown by doubling: a report is built a few units at a time.
    if (used_ + count > bytes_.size())
        bytes_.resize(qMax(used_ + count, 2 * bytes_.size() + 4096));
    return bytes_.data() + used_;
}

void ReportText::append(const ReportText &rest)
{
    for (const QByteArrayView piece : rest.pieces())
        appendBytes(piece);
}

void ReportText::append(ReportText &&rest)
{
    // A short text costs less to copy than to keep apart.
    constexpr qsizetype kShortText = qsizetype(64) * 1024;
    if (rest.earlier_.empty() && rest.used_ < kShortText) {
        appendBytes(QByteArrayView(rest.bytes_).first(rest.used_));
        return;
    }
    if (used_ > 0) {
        bytes_.truncate(used_);
        earlier_.push_back(std::move(bytes_));
    }
    for (QByteArray &piece : rest.earlier_)
        earlier_.push_back(std::move(piece));
    rest.bytes_.truncate(rest.used_);
    earlier_.push_back(std::move(rest.bytes_));
    rest = ReportText();
    bytes_ = QByteArray();
    used_ = 0;
}

std::vector<QByteArrayView> ReportText::pieces() const
{
    std::vector<QByteArrayView> all(earlier_.begin(), earlier_.end());
    all.emplace_back(QByteArrayView(bytes_).first(used_));
    return all;
}

QByteArray ReportText::bytes() const
{
    QByteArray all;
    for (const QByteArrayView piece : pieces())
        all += piece;
    return all;
}

void ReportText::appendBytes(QByteArrayView bytes)
{
    std::copy_n(bytes.data(), bytes.size(), roomFor(bytes.size()));
    used_ += bytes.size();
}

QString ReportText::write(const QString &path) const
{
    return WriteBytesToFile(path, pieces());
}

void WriteReportHeader(ReportText &report, const ReportSettings &settings, qint32 numLinks)
{
    if (!settings.endedEarlyNote.isEmpty())
        report.line(settings.endedEarlyNote).line({});
    if (settings.stopped)
        report.line(u"Link checking was stopped, so this list is incomplete.").line({});
    report.line(u"Top folder is").line(settings.topFolder).line({});
    report.line(sentenceWithCount(QStringLiteral("There is one broken link:"),
                                  QStringLiteral("There are "), QStringLiteral(" broken links:"),
                                  numLinks))
        .line({});
}

void WriteRepeatedLinksFooter(ReportText &report, qint64 numRepeatedInFile)
{
    if (numRepeatedInFile <= 0)
        return;
    report.line({}).line(sentenceWithCount(QStringLiteral("There is one repeated-in-file broken link."),
                                           QStringLiteral("There are "),
                                           QStringLiteral(" repeated-in-file broken links."),
                                           numRepeatedInFile));
}

namespace {

void writeLinkFromLines(ReportText &report, const ReportSettings &settings,
                        const QList<BrokenLink> &links, qsizetype first, qsizetype end)
{
    const qsizetype top = settings.topFolder.size();
    GroupWriter groups(report, kLinkFromArrow, settings.showRepeatedLinks);
    for (qsizetype i = first; i < end; ++i) {
        const BrokenLink &link = links[i];
        groups.write(RelativeTo(top, link.strLinkFrom), RelativeTo(top, link.strLinkTo));
    }
}

void writeLinkToLines(ReportText &report, const ReportSettings &settings,
                      const std::vector<LinkToRow> &rows, qsizetype first, qsizetype end,
                      SharedGroupLines &shared)
{
    GroupWriter groups(report, kLinkToArrow, settings.showRepeatedLinks);
    for (qsizetype i = first; i < end;) {
        // The group of the rows naming the target of row i, up to the next
        // row naming another (a run holds whole groups).
        const QString &target = rows[size_t(i)].target;
        qsizetype groupEnd = i + 1;
        while (groupEnd < end && rows[size_t(groupEnd)].target == target)
            ++groupEnd;
        groups.writeGroup(target, std::span(rows).subspan(size_t(i), size_t(groupEnd - i)), shared);
        i = groupEnd;
    }
}

// Runs of whole groups of entries first..end-1; `sameGroup(i)` tells whether
// entry i is in the group of the entry before it.
template <typename SameGroup>
std::vector<qsizetype> groupRuns(qsizetype first, qsizetype end, int pieces, SameGroup sameGroup)
{
    std::vector<qsizetype> starts{first};
    const qsizetype count = end - first;
    for (int piece = 1; piece < pieces; ++piece) {
        qsizetype cut = qMax(first + count * piece / pieces, starts.back() + 1);
        while (cut < end && sameGroup(cut))
            ++cut;
        if (cut >= end)
            break;
        starts.push_back(cut);
    }
    starts.push_back(end);
    return starts;
}

} // namespace

ReportText LinkFromReportBody(const ReportSettings &settings, const QList<BrokenLink> &links,
                              qint32 numLinks)
{
    ReportText report;
    WriteReportHeader(report, settings, numLinks);
    writeLinkFromLines(report, settings, links, 1, qsizetype(numLinks) + 1);
    return report;
}

std::vector<qsizetype> LinkFromReportRuns(const ReportSettings &settings,
                                          const QList<BrokenLink> &links, qint32 numLinks,
                                          int pieces)
{
    // A group is told by the page's text as the report shows it.
    const qsizetype top = settings.topFolder.size();
    return groupRuns(1, qsizetype(numLinks) + 1, pieces, [&](qsizetype i) {
        return RelativeTo(top, links[i].strLinkFrom) == RelativeTo(top, links[i - 1].strLinkFrom);
    });
}

std::vector<qsizetype> LinkToReportRuns(const std::vector<LinkToRow> &rows, int pieces)
{
    return groupRuns(0, qsizetype(rows.size()), pieces, [&](qsizetype i) {
        return rows[size_t(i)].target == rows[size_t(i - 1)].target;
    });
}

ReportText LinkFromReportLines(const ReportSettings &settings, const QList<BrokenLink> &links,
                               qsizetype first, qsizetype end)
{
    ReportText report;
    writeLinkFromLines(report, settings, links, first, end);
    return report;
}

ReportText LinkToReportLines(const ReportSettings &settings, const std::vector<LinkToRow> &rows,
                             qsizetype first, qsizetype end, SharedGroupLines *shared)
{
    ReportText report;
    SharedGroupLines own;
    writeLinkToLines(report, settings, rows, first, end, shared ? *shared : own);
    return report;
}

quint64 SharedGroupLines::keyOf(std::span<const LinkToRow> entries)
{
    // The entries' lengths tell most groups apart; find() compares the rest.
    quint64 key = entries.size();
    for (const LinkToRow &row : entries)
        key = (key ^ quint64(row.page.size())) * 0x100000001b3ULL;
    return key;
}

QByteArray SharedGroupLines::find(std::span<const LinkToRow> entries) const
{
    const quint64 key = keyOf(entries);
    const std::lock_guard lock(mutex_);
    const auto [from, to] = kept_.equal_range(key);
    for (auto kept = from; kept != to; ++kept) {
        const std::span<const LinkToRow> other = kept->second.entries;
        // The rows of one report share each page's text.
        if (std::equal(entries.begin(), entries.end(), other.begin(), other.end(),
                       [](const LinkToRow &a, const LinkToRow &b) { return a.page == b.page; }))
            return kept->second.lines;
    }
    return {};
}

void SharedGroupLines::keep(std::span<const LinkToRow> entries, const QByteArray &lines)
{
    const quint64 key = keyOf(entries);
    const std::lock_guard lock(mutex_);
    kept_.emplace(key, Kept{entries, lines});
}

ReportText LinkFromReport(const ReportSettings &settings, const QList<BrokenLink> &links,
                          qint32 numLinks, qint64 numRepeatedInFile)
{
    ReportText report = LinkFromReportBody(settings, links, numLinks);
    WriteRepeatedLinksFooter(report, numRepeatedInFile);
    return report;
}

LinkToTargets SortLinkToTargets(const QString &topFolder, const QList<BrokenLink> &links,
                                qint32 numLinks)
{
    const qsizetype top = topFolder.size();
    // The order is that of keys made of the target padded with spaces to the
    // longest target, then the page: by target first, a target that is a
    // prefix of another first unless the other goes on below a space. The
    // pairs are compared as those keys would be, without making them.
    auto comparePadded = [](QStringView a, QStringView b) {
        const qsizetype common = qMin(a.size(), b.size());
        if (const int order = QStringView(a).first(common).compare(b.first(common)))
            return order;
        const QStringView rest = a.size() > common ? a.sliced(common) : b.sliced(common);
        const int sign = a.size() > common ? 1 : -1;
        for (const QChar c : rest) {
            if (c != u' ')
                return c.unicode() < u' ' ? -sign : sign;
        }
        return 0;
    };
    // Many entries share a target (a missing page named from every page):
    // the distinct targets are sorted once, and the entries by their
    // target's rank, then by page. A target is told by its whole path, as
    // a repeated link is.
    LinkToTargets sorted;
    TextIds ids;
    std::vector<QStringView> targets;
    sorted.ofLink.reserve(size_t(qMax(numLinks, 0)));
    // The checker hands the pages of a folder one shared text for a target
    // they all name (a menu's missing page): a text met again at the same
    // address is known without hashing it.
    struct KnownText {
        const QChar *data = nullptr;
        qsizetype size = -1; // no text's: an empty slot matches nothing
        qint32 id = 0;
    };
    std::array<KnownText, 64> byAddress{};
    for (qint32 i = 1; i <= numLinks; ++i) {
        const QString &target = links[i].strLinkTo;
        KnownText &slot = byAddress[(quintptr(target.constData()) >> 4) % byAddress.size()];
        if (slot.data != target.constData() || slot.size != target.size()) {
            const TextIds::Met met = ids.idOf(target);
            if (met.isNew)
                targets.push_back(RelativeTo(top, target));
            slot = KnownText{target.constData(), target.size(), met.id};
        }
        sorted.ofLink.push_back(slot.id);
    }
    // Targets the padded keys cannot tell apart ("a" and "a ") share a rank.
    sorted.rank = RanksInOrder(targets.size(), [&](qint32 x, qint32 y) {
        return comparePadded(targets[size_t(x)], targets[size_t(y)]) < 0;
    });
    sorted.ranks = sorted.rank.empty() ? 0 : *std::max_element(sorted.rank.begin(), sorted.rank.end()) + 1;
    // Each distinct target is trimmed once; its rows share the text.
    sorted.shown.reserve(targets.size());
    for (const QStringView target : targets)
        sorted.shown.push_back(TrimSpaces(target));
    return sorted;
}

LinkToPages SortLinkToPages(const QString &topFolder, const QList<BrokenLink> &links,
                            qint32 numLinks)
{
    const qsizetype top = topFolder.size();
    // A page's broken links stand together in the table and share its path:
    // each run of one page is a page here, its relative path made once, and
    // the pages are sorted once, the same path taking the same rank.
    LinkToPages sorted;
    sorted.ofLink.resize(size_t(qMax(numLinks, 0)));
    std::vector<QStringView> wholePage;
    for (qint32 i = 1; i <= numLinks; ++i) {
        const QString &page = links[i].strLinkFrom;
        const bool samePage = i > 1 && page.constData() == links[i - 1].strLinkFrom.constData()
                              && page.size() == links[i - 1].strLinkFrom.size();
        if (!samePage) {
            sorted.shown.push_back(RelativeTo(top, page).toString());
            wholePage.emplace_back(page);
        }
        sorted.ofLink[size_t(i - 1)] = qint32(sorted.shown.size()) - 1;
    }
    sorted.rank = RanksInOrder(sorted.shown.size(), [&](qint32 x, qint32 y) {
        if (const int order = QStringView(sorted.shown[size_t(x)]).compare(sorted.shown[size_t(y)]))
            return order < 0;
        return wholePage[size_t(x)] < wholePage[size_t(y)];
    });
    return sorted;
}

std::vector<LinkToRow> JoinLinkToRows(const LinkToTargets &targets, const LinkToPages &pages,
                                      qint64 *numRepeatedInFile)
{
    struct Entry {
        qint32 targetRank;
        qint32 pageRank;
        qint32 targetId;
        qint32 index; // in the table, from 0
    };
    const auto numLinks = qint32(targets.ofLink.size());
    std::vector<Entry> entries;
    entries.reserve(size_t(numLinks));
    for (qint32 i = 0; i < numLinks; ++i) {
        const qint32 targetId = targets.ofLink[size_t(i)];
        entries.push_back(Entry{targets.rank[size_t(targetId)],
                                pages.rank[size_t(pages.ofLink[size_t(i)])], targetId, i});
    }
    // Sorted by target rank, then page rank, then the target's own number,
    // which brings the repeats of one link together to be counted (entries
    // equal in both ranks give the same row). The ranks and numbers are
    // small and dense, so each is a counting sort, the last key first. Only
    // targets that share a rank need their numbers sorted.
    const size_t numTargets = targets.shown.size();
    if (size_t(targets.ranks) < numTargets)
        CountingSortBy(entries, numTargets, [](const Entry &e) { return e.targetId; });
    CountingSortBy(entries, pages.shown.size(), [](const Entry &e) { return e.pageRank; });
    CountingSortBy(entries, numTargets, [](const Entry &e) { return e.targetRank; });

    std::vector<LinkToRow> rows;
    rows.reserve(entries.size());
    qint64 repeated = 0;
    for (size_t e = 0; e < entries.size(); ++e) {
        const Entry &entry = entries[e];
        if (e > 0 && entry.pageRank == entries[e - 1].pageRank
            && entry.targetId == entries[e - 1].targetId)
            ++repeated;
        rows.push_back(LinkToRow{targets.shown[size_t(entry.targetId)],
                                 pages.shown[size_t(pages.ofLink[size_t(entry.index)])]});
    }
    if (numRepeatedInFile)
        *numRepeatedInFile = repeated;
    return rows;
}

std::vector<LinkToRow> LinkToRows(const QString &topFolder, const QList<BrokenLink> &links,
                                  qint32 numLinks, qint64 *numRepeatedInFile)
{
    return JoinLinkToRows(SortLinkToTargets(topFolder, links, numLinks),
                          SortLinkToPages(topFolder, links, numLinks), numRepeatedInFile);
}

void PutLinkToRows(QList<BrokenLink> &links, std::vector<LinkToRow> &rows)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        BrokenLink &link = links[qsizetype(i) + 1];
        link.strLinkFrom.swap(rows[i].target);
        link.strLinkTo.swap(rows[i].page);
    }
}

ReportText LinkToReportBody(const ReportSettings &settings, const std::vector<LinkToRow> &rows)
{
    ReportText report;
    WriteReportHeader(report, settings, qint32(rows.size()));
    SharedGroupLines shared;
    writeLinkToLines(report, settings, rows, 0, qsizetype(rows.size()), shared);
    return report;
}

LinkFromReportResult WriteReportByLinkFrom(const QString &path, const ReportSettings &settings,
                                           const QList<BrokenLink> &links, qint32 numLinks)
{
    LinkFromReportResult result;
    result.numRepeatedInFile = CountRepeatedInFileBrokenLinks(links, numLinks);
    result.error =
        LinkFromReport(settings, links, numLinks, result.numRepeatedInFile).write(path);
    return result;
}

LinkToParts SortLinkToParts(const ReportSettings &settings, const QList<BrokenLink> &links,
                            qint32 numLinks)
{
    LinkToParts parts;
    parts.rows = LinkToRows(settings.topFolder, links, numLinks, &parts.numRepeatedInFile);
    return parts;
}

LinkToParts BuildLinkToParts(const ReportSettings &settings, const QList<BrokenLink> &links,
                             qint32 numLinks)
{
    LinkToParts parts = SortLinkToParts(settings, links, numLinks);
    parts.body = LinkToReportBody(settings, parts.rows);
    return parts;
}

QString WriteLinkToParts(const QString &path, LinkToParts &parts, QList<BrokenLink> &links,
                         qint64 numRepeatedInFile)
{
    WriteRepeatedLinksFooter(parts.body, numRepeatedInFile);
    PutLinkToRows(links, parts.rows);
    return parts.body.write(path);
}

QString WriteReportByLinkTo(const QString &path, const ReportSettings &settings,
                            QList<BrokenLink> &links, qint32 numLinks, qint64 numRepeatedInFile)
{
    LinkToParts parts = BuildLinkToParts(settings, links, numLinks);
    return WriteLinkToParts(path, parts, links, numRepeatedInFile);
}

} // namespace quillan
