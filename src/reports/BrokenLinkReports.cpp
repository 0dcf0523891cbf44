#include "reports/BrokenLinkReports.h"

#include "reports/QuickSort.h"
#include "reports/SeenList.h"
#include "util/FileProc.h"
#include "util/StrProc.h"

#include <QHash>

#include <unordered_set>

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
    GroupWriter(QStringList &lines, const QString &arrow, bool showRepeated)
        : lines_(lines), arrow_(arrow), showRepeated_(showRepeated)
    {
    }

    void write(QStringView group, QStringView entry)
    {
        if (!started_ || group != current_) {
            lines_.append(group.toString() + arrow_);
            current_ = group;
            started_ = true;
            seen_.clear();
        }
        if (showRepeated_ || !seen_.contains(entry)) {
            lines_.append(kIndent + entry.toString());
            seen_.add(entry);
        }
    }

private:
    QStringList &lines_;
    const QString &arrow_;
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

void WriteReportHeader(QStringList &lines, const ReportSettings &settings, qint32 numLinks)
{
    if (settings.stopped)
        lines << QStringLiteral("Link checking was stopped, so this list is incomplete.") << QString();
    lines << QStringLiteral("Top folder is") << settings.topFolder << QString();
    lines << sentenceWithCount(QStringLiteral("There is one broken link:"),
                               QStringLiteral("There are "), QStringLiteral(" broken links:"),
                               numLinks)
          << QString();
}

void WriteRepeatedLinksFooter(QStringList &lines, qint64 numRepeatedInFile)
{
    if (numRepeatedInFile <= 0)
        return;
    lines << QString()
          << sentenceWithCount(QStringLiteral("There is one repeated-in-file broken link."),
                               QStringLiteral("There are "),
                               QStringLiteral(" repeated-in-file broken links."), numRepeatedInFile);
}

QStringList LinkFromReportLines(const ReportSettings &settings, const QList<BrokenLink> &links,
                                qint32 numLinks, qint64 numRepeatedInFile)
{
    QStringList lines;
    WriteReportHeader(lines, settings, numLinks);
    const qsizetype top = settings.topFolder.size();
    GroupWriter groups(lines, kLinkFromArrow, settings.showRepeatedLinks);
    for (qint32 i = 1; i <= numLinks; ++i) {
        const BrokenLink &link = links[i];
        groups.write(RelativeTo(top, link.strLinkFrom), RelativeTo(top, link.strLinkTo));
    }
    WriteRepeatedLinksFooter(lines, numRepeatedInFile);
    return lines;
}

void SortBrokenLinksByLinkTo(const QString &topFolder, QList<BrokenLink> &links, qint32 numLinks)
{
    const qsizetype top = topFolder.size();
    auto relative = [top](const QString &path) { return RelativeTo(top, path); };

    qsizetype longest = 0;
    for (qint32 i = 1; i <= numLinks; ++i)
        longest = qMax(longest, relative(links[i].strLinkTo).size());

    // Target padded to the longest target, then the page: the keys order by
    // target first, and a target that is a prefix of another comes first.
    QStringList keys(numLinks + 1);
    for (qint32 i = 1; i <= numLinks; ++i) {
        const QStringView target = relative(links[i].strLinkTo);
        const QStringView page = relative(links[i].strLinkFrom);
        QString key;
        key.reserve(longest + page.size());
        key += target;
        key += QString(longest - target.size(), u' ');
        key += page;
        keys[i] = key;
    }
    SortStringArray(true, keys, 1, numLinks, 1);

    for (qint32 i = 1; i <= numLinks; ++i) {
        links[i].strLinkFrom = TrimSpaces(QStringView(keys[i]).first(longest));
        links[i].strLinkTo = keys[i].mid(longest);
    }
}

QStringList LinkToReportLines(const ReportSettings &settings, const QList<BrokenLink> &sorted,
                              qint32 numLinks, qint64 numRepeatedInFile)
{
    QStringList lines;
    WriteReportHeader(lines, settings, numLinks);
    GroupWriter groups(lines, kLinkToArrow, settings.showRepeatedLinks);
    for (qint32 i = 1; i <= numLinks; ++i)
        groups.write(sorted[i].strLinkFrom, sorted[i].strLinkTo);
    WriteRepeatedLinksFooter(lines, numRepeatedInFile);
    return lines;
}

LinkFromReportResult WriteReportByLinkFrom(const QString &path, const ReportSettings &settings,
                                           const QList<BrokenLink> &links, qint32 numLinks)
{
    LinkFromReportResult result;
    result.numRepeatedInFile = CountRepeatedInFileBrokenLinks(links, numLinks);
    const QStringList lines = LinkFromReportLines(settings, links, numLinks, result.numRepeatedInFile);
    result.error = WriteLinesToFile(path, lines, 0, lines.size() - 1);
    return result;
}

QString WriteReportByLinkTo(const QString &path, const ReportSettings &settings,
                            QList<BrokenLink> &links, qint32 numLinks, qint64 numRepeatedInFile)
{
    SortBrokenLinksByLinkTo(settings.topFolder, links, numLinks);
    const QStringList lines = LinkToReportLines(settings, links, numLinks, numRepeatedInFile);
    return WriteLinesToFile(path, lines, 0, lines.size() - 1);
}

} // namespace quillan
