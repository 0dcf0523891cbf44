// A check of links on a small site whose one changing page is the fuzz
// input: the walk and the link checker must not crash, every recorded link
// must come from one of the site's pages and lead below the top folder to
// something that is not a file, and both reports must be well formed (CR LF
// line ends only, the header, every link line under a group line, the counts
// right).
//
// Pages are read the classic way or, when the options ask, as a browser
// reads them, with or without anchors; either way a page's records come in
// the order of its lines. The classic reading of the page's bytes must give
// what the reading of its UTF-16 text gives, with the scans' wide loops and
// with their narrow ones.
//
// Input: one byte of options; when it asks for names the locale cannot
// decode, the byte those names hold; two short exclusion texts (file paths,
// links); then the page.

#include "common/FuzzCheck.h"
#include "common/FuzzInput.h"

#include "run/WalkDriver.h"
#include "reports/BrokenLinkReports.h"
#include "scan/LinkChecker.h"
#include "settings/TargetFileTypes.h"

#include "util/NativeName.h"
#include "util/UnitScan.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>
#include <utility>

using namespace quillan;

namespace {

const QString kIndent = QStringLiteral("     ");

// Names are written by their bytes, which need not decode in the locale's
// encoding.
void writeFile(const std::filesystem::path &path, const QByteArray &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    FUZZ_REQUIRE(file.write(bytes.constData(), bytes.size()));
}

// A top folder with pages, pictures and a subfolder, made once per process.
// The page under test is written to index.htm in the top folder and to
// page.php in the subfolder, so links climb from two depths; either name may
// hold a byte the locale cannot decode, as may a picture's.
struct Site {
    QTemporaryDir dir;
    QString top;
    QString reports;
    std::filesystem::path native;
    std::set<QString> fixedPages;

    Site()
    {
        FUZZ_REQUIRE(dir.isValid());
        const QDir root(dir.path());
        FUZZ_REQUIRE(root.mkpath(QStringLiteral("top/sub/deeper")));
        FUZZ_REQUIRE(root.mkpath(QStringLiteral("top/img")));
        FUZZ_REQUIRE(root.mkpath(QStringLiteral("reports")));
        top = root.filePath(QStringLiteral("top")) + u'/';
        reports = root.filePath(QStringLiteral("reports")) + u'/';
        native = ToNativePath(top);
        writeFile(native / "a.htm", "<a href=\"missing.htm\">\r\n");
        writeFile(native / "img/x.gif", "GIF89a");
        writeFile(native / "img/caf\xe9.gif", "GIF89a");
        writeFile(native / "sub/b.html", "<img src=\"../img/x.gif\">\n");
        writeFile(native / "sub/deeper/c.htm", "<a href=\"../../a.htm\">\r");
        for (const char *page : {"a.htm", "sub/b.html", "sub/deeper/c.htm"})
            fixedPages.insert(top + QString::fromUtf8(page));
    }
    Site(const Site &) = delete;
    Site &operator=(const Site &) = delete;
    // QTemporaryDir cannot remove a name the locale cannot decode.
    ~Site()
    {
        std::error_code error;
        std::filesystem::remove(native / "img/caf\xe9.gif", error);
    }
};

// The page under test on the site for one input, gone with it.
class PageUnderTest
{
public:
    PageUnderTest(const Site &site, const QByteArray &page, char oddByte, bool oddPageName,
                  bool oddFolderName)
        : site_(site),
          pageName_(oddPageName ? QByteArray("index") + oddByte + ".htm" : QByteArray("index.htm")),
          folderName_(oddFolderName ? QByteArray("sub") + oddByte : QByteArray("sub"))
    {
        writeFile(site_.native / pageName_.toStdString(), page);
        if (oddFolderName)
            FUZZ_REQUIRE(std::filesystem::create_directory(site_.native / folderName_.toStdString()));
        writeFile(pagePhp(), page);
    }
    PageUnderTest(const PageUnderTest &) = delete;
    PageUnderTest &operator=(const PageUnderTest &) = delete;
    ~PageUnderTest()
    {
        std::filesystem::remove(site_.native / pageName_.toStdString());
        if (folderName_ == "sub")
            std::filesystem::remove(pagePhp());
        else
            std::filesystem::remove_all(site_.native / folderName_.toStdString());
    }

    // Every page a link may be recorded on.
    bool isPage(const QString &path) const
    {
        return site_.fixedPages.contains(path) || path == site_.top + DecodeNativeName(pageName_)
               || path == site_.top + DecodeNativeName(folderName_) + QStringLiteral("/page.php");
    }

private:
    std::filesystem::path pagePhp() const
    {
        return site_.native / folderName_.toStdString() / "page.php";
    }

    const Site &site_;
    QByteArray pageName_;
    QByteArray folderName_;
};

// What a broken link's target names, found by other means than the check's
// own: "." and ".." resolved by the text alone, then the file looked up.
bool namesAFile(const QString &target)
{
    std::error_code error;
    return std::filesystem::is_regular_file(ToNativePath(target).lexically_normal(), error);
}

const Site &site()
{
    static const Site made;
    return made;
}

QString readText(const QString &path)
{
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // CR and LF come only as CR LF, and the last line has one too.
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r')
            FUZZ_REQUIRE(i + 1 < bytes.size() && bytes[i + 1] == '\n');
        if (bytes[i] == '\n')
            FUZZ_REQUIRE(i > 0 && bytes[i - 1] == '\r');
    }
    FUZZ_REQUIRE(bytes.endsWith("\r\n"));
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

QString countSentence(qint64 count, const char *one, const char *many)
{
    if (count == 1)
        return QString::fromUtf8(one);
    return QStringLiteral("There are %1 %2").arg(count).arg(QString::fromUtf8(many));
}

// Checks a report's layout: header, groups (a line ending in `arrow`, then
// its link lines, each the indent and a path) and the closing sentence.
void checkReport(const QString &path, const ReportSettings &settings, qint32 numLinks,
                 qint64 numRepeated, QStringView arrow)
{
    QStringList lines = readText(path).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last CR LF
    qsizetype at = 0;
    auto next = [&]() -> QString {
        FUZZ_REQUIRE(at < lines.size());
        return lines[at++];
    };
    if (settings.stopped) {
        FUZZ_REQUIRE(next() == QStringLiteral("Link checking was stopped, so this list is incomplete."));
        FUZZ_REQUIRE(next().isEmpty());
    }
    FUZZ_REQUIRE(next() == QStringLiteral("Top folder is"));
    FUZZ_REQUIRE(next() == settings.topFolder);
    FUZZ_REQUIRE(next().isEmpty());
    FUZZ_REQUIRE(next() == countSentence(numLinks, "There is one broken link:", "broken links:"));
    FUZZ_REQUIRE(next().isEmpty());

    qsizetype end = lines.size();
    if (numRepeated > 0) {
        end -= 2;
        FUZZ_REQUIRE(end >= at && lines[end].isEmpty());
        FUZZ_REQUIRE(lines[end + 1]
                     == countSentence(numRepeated, "There is one repeated-in-file broken link.",
                                      "repeated-in-file broken links."));
    }
    qint64 groups = 0;
    qint64 links = 0;
    for (; at < end; ++at) {
        const QString &line = lines[at];
        if (line.startsWith(kIndent)) {
            FUZZ_REQUIRE(groups > 0);
            ++links;
        } else {
            FUZZ_REQUIRE(line.endsWith(arrow));
            ++groups;
        }
    }
    FUZZ_REQUIRE(groups >= 1 && groups <= numLinks);
    FUZZ_REQUIRE(links >= groups && links <= numLinks);
    if (settings.showRepeatedLinks)
        FUZZ_REQUIRE(links == numLinks);
}

// The classic reading of the page's bytes gives what the reading of its
// UTF-16 text (the Windows build's) gives.
void checkBothReadings(const ScanState &state, const ScanOptions &scan, const QByteArray &bytes)
{
    const LinkChecker checker(state, scan);
    const PageToRead at{scan.topFolder + QStringLiteral("index.htm"), {QString(), scan.topFolder},
                        nullptr, {}};
    const QString text = DecodeLocaleText(bytes);
    std::vector<BrokenLink> fromText;
    std::vector<BrokenLink> fromBytes;
    const qint32 checked = checker.ReadText(Utf8TextOf(bytes), at, fromBytes).linksChecked;
    FUZZ_REQUIRE(checker.ReadText(UnitsOf(text), at, fromText).linksChecked == checked);
    // The same with the scans' 16-byte loops (the 32-byte ones are used
    // where the processor has them).
    std::vector<BrokenLink> narrow;
    AllowWideScans(false);
    const qint32 narrowChecked = checker.ReadText(Utf8TextOf(bytes), at, narrow).linksChecked;
    AllowWideScans(true);
    FUZZ_REQUIRE(narrowChecked == checked);
    FUZZ_REQUIRE(fromText.size() == fromBytes.size() && narrow.size() == fromBytes.size());
    for (size_t i = 0; i < fromText.size(); ++i) {
        for (const BrokenLink &other : {fromText[i], narrow[i]}) {
            FUZZ_REQUIRE(other.strLinkTo == fromBytes[i].strLinkTo);
            FUZZ_REQUIRE(other.line == fromBytes[i].line);
            FUZZ_REQUIRE(other.link == fromBytes[i].link);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const uint8_t options = input.byte();
    const bool oddPageName = (options & 0x20) != 0;
    const bool oddFolderName = (options & 0x40) != 0;
    const char oddByte = oddPageName || oddFolderName ? char(input.byte() | 0x80) : '\0';
    const QString excludedFilepaths = input.text(input.byte() % 8);
    const QString excludedLinks = input.text(input.byte() % 8);
    const Site &made = site();
    const QByteArray pageBytes = input.rest();
    const PageUnderTest page(made, pageBytes, oddByte, oddPageName, oddFolderName);

    ScanState state;
    PrepareExclusions(state, excludedFilepaths.trimmed(), excludedLinks.trimmed());
    state.EmptyBrokenLinks();
    state.blnCheckingLinks = true;
    ScanOptions scan;
    scan.topFolder = made.top;
    scan.topFolderOnly = options & 1;
    scan.includePhpFiles = (options >> 1) & 1;
    scan.checkableFileTypes = DefaultCheckableFileTypes();
    scan.maxNumLinks = (options & 0x10) != 0 ? 3 : 50000;
    // The page is read on this thread, so each input's coverage is its own;
    // the threads that read ahead have tests of their own.
    scan.jobs = 1;
    scan.readAsBrowser = (options & 0x80) != 0;
    scan.checkAnchors = scan.readAsBrowser && (options & 4) != 0;
    QuietWalkHost host;
    RunWalk(state, scan, host);

    if (!scan.readAsBrowser)
        checkBothReadings(state, scan, pageBytes);

    const qint32 numLinks = state.lngNumBrokenLinks;
    FUZZ_REQUIRE(numLinks >= 0 && numLinks <= scan.maxNumLinks);
    FUZZ_REQUIRE(state.blnMaxNumLinksReached == (numLinks == scan.maxNumLinks));
    std::set<std::pair<QString, QString>> distinct;
    for (qint32 i = 1; i <= numLinks; ++i) {
        const BrokenLink &link = state.brokenLinks[i];
        FUZZ_REQUIRE(page.isPage(link.strLinkFrom));
        FUZZ_REQUIRE(link.strLinkTo.startsWith(made.top));
        // A name cut at a NUL would be another file's.
        if (!link.strLinkTo.contains(QChar(0)))
            FUZZ_REQUIRE(!namesAFile(link.strLinkTo));
        distinct.insert({link.strLinkFrom, link.strLinkTo});
        FUZZ_REQUIRE(link.line >= 1);
        if (i > 1 && state.brokenLinks[i - 1].strLinkFrom == link.strLinkFrom)
            FUZZ_REQUIRE(link.line >= state.brokenLinks[i - 1].line);
    }
    if (numLinks == 0)
        return 0;

    ReportSettings settings;
    settings.topFolder = made.top;
    settings.showRepeatedLinks = (options & 4) != 0;
    settings.stopped = (options & 8) != 0;
    const QString linksTo = made.reports + QStringLiteral("links_to.txt");
    const QString linksFrom = made.reports + QStringLiteral("links_from.txt");
    const LinkFromReportResult written =
        WriteReportByLinkFrom(linksTo, settings, state.brokenLinks, numLinks);
    FUZZ_REQUIRE(written.error.isEmpty());
    FUZZ_REQUIRE(written.numRepeatedInFile == numLinks - qint64(distinct.size()));
    FUZZ_REQUIRE(WriteReportByLinkTo(linksFrom, settings, state.brokenLinks, numLinks,
                                     written.numRepeatedInFile)
                     .isEmpty());
    checkReport(linksTo, settings, numLinks, written.numRepeatedInFile, u" \u2014>");
    checkReport(linksFrom, settings, numLinks, written.numRepeatedInFile, u" <\u2014");
    return 0;
}
