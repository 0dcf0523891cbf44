#pragma once
// The two reports of a check of links: "links_to.txt" lists the broken links
// by the page that holds them, in the order found; "links_from.txt" lists
// them by the missing target, sorted. Both share a header and a closing line
// about links repeated within one page. Paths are shown relative to the top
// folder.

#include "scan/ScanState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringEncoder>
#include <QString>
#include <QStringView>

#include <mutex>
#include <span>
#include <unordered_map>
#include <vector>

namespace quillan {

// What both reports take from the window.
struct ReportSettings {
    QString topFolder;              // the top folder's text, ending with a separator
    bool showRepeatedLinks = false; // list a link again each time it recurs in a group
    bool stopped = false;           // the check was stopped: the list is incomplete
    // Said first when not empty: why the check ended before the walk did
    // (a run without a window tells where the link limit stopped it).
    QString endedEarlyNote;
};

struct LinkFromReportResult {
    QString error;            // "" or why the file could not be written
    qint64 numRepeatedInFile = 0;
};

// A report's text, built as the bytes of the file: every line ended by CR
// LF, in the locale's encoding, names holding bytes that did not decode as
// DisplayName shows them. Texts built apart (the runs of a report's groups,
// on several threads) are joined without copying them: the text is then a
// list of pieces, written one after another.
class ReportText
{
public:
    // Appends one line made of the pieces given.
    ReportText &line(QStringView first, QStringView second = {});
    // The same, the second piece as Encoded gave it.
    ReportText &line(QStringView first, QByteArrayView encodedSecond);
    // The bytes a piece is written as: a piece on many lines is encoded once.
    static QByteArray Encoded(QStringView piece);
    // Appends bytes already in the report's encoding.
    void appendBytes(QByteArrayView bytes);
    // Appends the lines of `rest`; a long text is taken whole, not copied.
    void append(const ReportText &rest);
    void append(ReportText &&rest);
    // The whole text's bytes, made into one array.
    QByteArray bytes() const;
    // Writes the text to `path` (created or emptied); "" or why it failed.
    QString write(const QString &path) const;

private:
    void append(QStringView piece);
    // Where `count` more bytes may be written, the text grown to hold them.
    char *roomFor(qsizetype count);
    // The text's pieces in order: those taken whole, then the one being
    // written.
    std::vector<QByteArrayView> pieces() const;

    QStringEncoder encoder_{QStringConverter::System};
    std::vector<QByteArray> earlier_; // whole pieces before `bytes_`
    QByteArray bytes_; // grown ahead: only the first `used_` are the report's
    qsizetype used_ = 0;
};

// Entries 1..numLinks that repeat an earlier entry exactly (same page, same
// target).
qint64 CountRepeatedInFileBrokenLinks(const QList<BrokenLink> &links, qint32 numLinks);

// Appends the header both reports begin with.
void WriteReportHeader(ReportText &report, const ReportSettings &settings, qint32 numLinks);

// Appends the closing sentence about repeated-in-file links (nothing for 0).
void WriteRepeatedLinksFooter(ReportText &report, qint64 numRepeatedInFile);

// The link-from report of entries 1..numLinks without its closing sentence.
ReportText LinkFromReportBody(const ReportSettings &settings, const QList<BrokenLink> &links,
                              qint32 numLinks);

// The link-from report of entries 1..numLinks.
ReportText LinkFromReport(const ReportSettings &settings, const QList<BrokenLink> &links,
                                qint32 numLinks, qint64 numRepeatedInFile);

// One entry of the link-to report: a missing target and a page naming it,
// both relative to the top folder.
struct LinkToRow {
    QString target;
    QString page;
};

// Entries 1..numLinks sorted by target and then by page, the table left as
// it is (the link-from report may be reading it meanwhile). Sorting brings
// the repeats of a link together, so it counts them for the closing
// sentence, as CountRepeatedInFileBrokenLinks does.
std::vector<LinkToRow> LinkToRows(const QString &topFolder, const QList<BrokenLink> &links,
                                  qint32 numLinks, qint64 *numRepeatedInFile = nullptr);

// The two halves of that sort, which may run on two threads, and the rows
// they give together. Each reads the table only.
struct LinkToTargets {
    std::vector<qint32> ofLink; // each entry's target, by number
    std::vector<qint32> rank;   // of each target, in the report's order
    qint32 ranks = 0;           // how many ranks the targets take
    std::vector<QString> shown; // each target as the report shows it
};
struct LinkToPages {
    std::vector<qint32> ofLink; // each entry's page, by number
    std::vector<qint32> rank;   // of each page, in the report's order
    std::vector<QString> shown; // each page as the report shows it
};
LinkToTargets SortLinkToTargets(const QString &topFolder, const QList<BrokenLink> &links,
                                qint32 numLinks);
LinkToPages SortLinkToPages(const QString &topFolder, const QList<BrokenLink> &links,
                            qint32 numLinks);
std::vector<LinkToRow> JoinLinkToRows(const LinkToTargets &targets, const LinkToPages &pages,
                                      qint64 *numRepeatedInFile = nullptr);

// Rewrites entries 1.. of the table with `rows`, the two fields exchanged:
// strLinkFrom holds the relative target, strLinkTo the relative page. Each
// row's texts change places with its entry's: the rows are left holding
// what the table held, to be freed where it suits the caller.
void PutLinkToRows(QList<BrokenLink> &links, std::vector<LinkToRow> &rows);

// The link-to report of `rows` without its closing sentence, which needs the
// link-from report's count.
ReportText LinkToReportBody(const ReportSettings &settings, const std::vector<LinkToRow> &rows);

// A report's entries cut into runs of whole groups, to be written apart and
// joined in order: the first entry of each run, then the end. About
// `pieces` runs of about equal length; a group longer than that is one run.
// For the link-from report, of table entries 1..numLinks (ending at
// numLinks + 1); for the link-to report, of `rows`.
std::vector<qsizetype> LinkFromReportRuns(const ReportSettings &settings,
                                          const QList<BrokenLink> &links, qint32 numLinks,
                                          int pieces);
std::vector<qsizetype> LinkToReportRuns(const std::vector<LinkToRow> &rows, int pieces);

// The entry lines of the link-to report's long groups, kept to be written
// again under a later target whose group holds the same pages: a site's
// template naming a few missing files gives each of them the same thousands
// of pages, and telling which of them to write again is most of a long
// group's cost. Safe to use from several threads at once.
class SharedGroupLines
{
public:
    // Groups of fewer entries cost less to write than to look up.
    static constexpr qsizetype kShortestShared = 64;

    // The lines kept for a group of these entries, or a null array.
    QByteArray find(std::span<const LinkToRow> entries) const;
    // Keeps `lines` for a group of `entries`, which must outlive this.
    void keep(std::span<const LinkToRow> entries, const QByteArray &lines);

private:
    static quint64 keyOf(std::span<const LinkToRow> entries);
    struct Kept {
        std::span<const LinkToRow> entries;
        QByteArray lines;
    };
    mutable std::mutex mutex_;
    std::unordered_multimap<quint64, Kept> kept_;
};

// The lines of the entries from `first` up to `end` (a run of whole groups)
// of either report, to follow its header and the runs before. Runs of the
// link-to report built at once may share `shared`.
ReportText LinkFromReportLines(const ReportSettings &settings, const QList<BrokenLink> &links,
                               qsizetype first, qsizetype end);
ReportText LinkToReportLines(const ReportSettings &settings, const std::vector<LinkToRow> &rows,
                             qsizetype first, qsizetype end, SharedGroupLines *shared = nullptr);

// The link-to report's rows and its text without the closing sentence, built
// from the table without touching it.
struct LinkToParts {
    std::vector<LinkToRow> rows;
    ReportText body;
    qint64 numRepeatedInFile = 0; // for both reports' closing sentence
};
LinkToParts BuildLinkToParts(const ReportSettings &settings, const QList<BrokenLink> &links,
                             qint32 numLinks);
// The same without the text: the rows sorted and the repeats counted.
LinkToParts SortLinkToParts(const ReportSettings &settings, const QList<BrokenLink> &links,
                            qint32 numLinks);

// Closes the link-to report with the link-from report's count, rewrites the
// table with its rows (see PutLinkToRows: the rows are left holding the
// table's texts before) and writes it to `path`; "" or why the file could
// not be written.
QString WriteLinkToParts(const QString &path, LinkToParts &parts, QList<BrokenLink> &links,
                         qint64 numRepeatedInFile);

// Writes the link-from report to `path` and counts the repeated-in-file
// links. Runs before WriteReportByLinkTo, which rewrites the table.
LinkFromReportResult WriteReportByLinkFrom(const QString &path, const ReportSettings &settings,
                                           const QList<BrokenLink> &links, qint32 numLinks);

// Sorts the table by target (rewriting it) and writes the link-to report to
// `path`, closing with the count the link-from report found. Returns "" or
// why the file could not be written.
QString WriteReportByLinkTo(const QString &path, const ReportSettings &settings,
                            QList<BrokenLink> &links, qint32 numLinks, qint64 numRepeatedInFile);

} // namespace quillan
