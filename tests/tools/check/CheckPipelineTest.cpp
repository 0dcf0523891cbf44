// quillan-check as a pipeline uses it: documents that parse back, a warning
// for every run that checked less than asked, the output folder holding the
// files of the run alone, and failed output that still leaves the reports.

#include "CheckProcess.h"

#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillan::test {

namespace {

class CheckPipelineTest : public ::testing::Test
{
protected:
    CliResult cli(const QStringList &args, const QProcessEnvironment &env = {}) const
    {
        return RunCli(args, home.path(QStringLiteral("data")), env);
    }
    QString out() const { return home.path(QStringLiteral("out")); }
    QStringList outFiles() const
    {
        return QDir(out()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // Two pages, one with two broken links and a name the locale cannot decode.
    void buildBrokenSite()
    {
        site.file(QStringLiteral("index.htm"), "<a href=\"gone.htm\">\n<a href=\"page2.htm\">\n");
        site.file(QStringLiteral("page2.htm"), "<a href=\"index.htm\">\n");
        site.byteNamedFile("sub/caf\xe9 & <b>.htm", "x\n<img src=\"no\xe9.gif\">\n<a href=\"../x.htm\">");
    }

    TempTree site;
    TempTree home;
};

QJsonObject parseObject(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << bytes.toStdString();
    EXPECT_TRUE(document.isObject());
    return document.object();
}

QStringList warningsOf(const QJsonObject &json)
{
    QStringList warnings;
    for (const QJsonValue &value : json[QStringLiteral("warnings")].toArray())
        warnings.append(value.toString());
    return warnings;
}

// ---------------------------------------------------------------------------
// Documents that parse.

TEST_F(CheckPipelineTest, JsonIsOneObjectWithTheRunsCounts)
{
    buildBrokenSite();
    site.file(QStringLiteral("clean/index.htm"), "<a href=\"index.htm\">");
    const CliResult broken = cli({QStringLiteral("--format=json"), QStringLiteral("--out"), out(),
                                  site.root()});
    EXPECT_EQ(broken.status, 1);
    const QJsonObject json = parseObject(broken.out);
    EXPECT_EQ(json.keys().join(u' '),
              QStringLiteral("broken limit_reached links pages records status stopped warnings"));
    EXPECT_EQ(json[QStringLiteral("status")].toString(), QStringLiteral("There are 3 broken local links."));
    EXPECT_EQ(json[QStringLiteral("pages")].toInt(), 4);
    // index: 2 links; page2: 1; clean/index: 1; the undecodable page: 2.
    EXPECT_EQ(json[QStringLiteral("links")].toInt(), 6);
    EXPECT_EQ(json[QStringLiteral("broken")].toInt(), 3);
    EXPECT_EQ(json[QStringLiteral("stopped")], QJsonValue(false));
    EXPECT_EQ(json[QStringLiteral("limit_reached")], QJsonValue(false));
    EXPECT_EQ(json[QStringLiteral("records")].toArray().size(), 3);
    EXPECT_EQ(json[QStringLiteral("records")].toArray()[1].toObject()[QStringLiteral("page_bytes")],
              QJsonValue(QStringLiteral("sub/caf%E9%20%26%20%3Cb%3E.htm")));
    EXPECT_EQ(broken.errLastLine(), QStringLiteral("There are 3 broken local links."));

    const CliResult clean = cli({QStringLiteral("--format=json"), QStringLiteral("--out"), out(),
                                 site.path(QStringLiteral("clean"))});
    EXPECT_EQ(clean.status, 0);
    const QJsonObject cleanJson = parseObject(clean.out);
    EXPECT_TRUE(cleanJson[QStringLiteral("records")].toArray().isEmpty());
    EXPECT_TRUE(warningsOf(cleanJson).isEmpty());

    // tsv: the header and the records, nothing else.
    const CliResult tsv = cli({QStringLiteral("--format=tsv"), QStringLiteral("--out"), out(),
                               site.path(QStringLiteral("clean"))});
    EXPECT_EQ(tsv.out, "page\tline\tlink\ttarget\thint\n");
}

TEST_F(CheckPipelineTest, SarifHasOneResultPerBrokenLinkAtItsPlace)
{
    buildBrokenSite();
    // Named relative to the working folder, as a CI job names the site.
    const QString siteName = QDir(site.root()).dirName();
    const CliResult relative = RunShell(
        QStringLiteral("quillan-check --format sarif --out '%1' %2").arg(out(), siteName),
        QDir(site.root()).absoluteFilePath(QStringLiteral("..")), home.path(QStringLiteral("data")));
    ASSERT_EQ(relative.status, 1) << relative.err.toStdString();
    const QJsonObject log = parseObject(relative.out);
    EXPECT_EQ(log[QStringLiteral("version")].toString(), QStringLiteral("2.1.0"));
    const QJsonObject run = log[QStringLiteral("runs")].toArray()[0].toObject();
    EXPECT_EQ(run[QStringLiteral("tool")][QStringLiteral("driver")][QStringLiteral("name")].toString(),
              QStringLiteral("quillan-check"));
    EXPECT_TRUE(run[QStringLiteral("originalUriBaseIds")][QStringLiteral("%SRCROOT%")][QStringLiteral("uri")]
                    .toString().startsWith(QStringLiteral("file:///")));
    const QJsonArray results = run[QStringLiteral("results")].toArray();
    ASSERT_EQ(results.size(), 3);
    const QJsonObject second = results[1].toObject();
    EXPECT_EQ(second[QStringLiteral("ruleId")].toString(), QStringLiteral("broken-local-link"));
    EXPECT_EQ(second[QStringLiteral("level")].toString(), QStringLiteral("error"));
    const QJsonObject location =
        second[QStringLiteral("locations")].toArray()[0][QStringLiteral("physicalLocation")].toObject();
    EXPECT_EQ(location[QStringLiteral("artifactLocation")][QStringLiteral("uri")].toString(),
              siteName + QStringLiteral("/sub/caf%E9%20%26%20%3Cb%3E.htm"));
    EXPECT_EQ(location[QStringLiteral("artifactLocation")][QStringLiteral("uriBaseId")].toString(),
              QStringLiteral("%SRCROOT%"));
    EXPECT_EQ(location[QStringLiteral("region")][QStringLiteral("startLine")].toInt(), 2);
    EXPECT_TRUE(run[QStringLiteral("invocations")].toArray()[0][QStringLiteral("executionSuccessful")].toBool());

    // An absolute top folder gives file URIs; a clean site no results.
    site.file(QStringLiteral("clean/index.htm"), "<a href=\"index.htm\">");
    const CliResult clean = cli({QStringLiteral("--format=sarif"), QStringLiteral("--out"), out(),
                                 site.path(QStringLiteral("clean"))});
    EXPECT_EQ(clean.status, 0);
    const QJsonObject cleanRun = parseObject(clean.out)[QStringLiteral("runs")].toArray()[0].toObject();
    EXPECT_TRUE(cleanRun[QStringLiteral("results")].toArray().isEmpty());
    EXPECT_FALSE(cleanRun.contains(QStringLiteral("originalUriBaseIds")));
}

// A JUnit report read back: the suites' counts, the cases' names and the
// failures' messages, joined by "|".
QString junitOutline(const QByteArray &report)
{
    QXmlStreamReader xml(report);
    QStringList outline;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QStringLiteral("testsuites"))
            outline.append(attributes.value(QStringLiteral("tests")).toString() + u'/'
                           + attributes.value(QStringLiteral("failures")).toString());
        else if (xml.name() == QStringLiteral("testcase"))
            outline.append(attributes.value(QStringLiteral("name")).toString());
        else if (xml.name() == QStringLiteral("failure"))
            outline.append(attributes.value(QStringLiteral("message")).toString() + QStringLiteral(": ")
                           + xml.readElementText().trimmed());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << report.toStdString();
    return outline.join(u'|');
}

TEST_F(CheckPipelineTest, JunitHasATestCasePerPageReadFailedByItsBrokenLinks)
{
    buildBrokenSite();
    const CliResult broken = cli({QStringLiteral("--format=junit"), QStringLiteral("--out"), out(), site.root()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(junitOutline(broken.out),
              QString::fromUtf16(u"3/2|index.htm|1 broken local link: line 1: gone.htm -> gone.htm|page2.htm|"
                                 u"sub/caf\uFFFD & <b>.htm|2 broken local links: line 2: no\uFFFD.gif -> "
                                 u"sub/no\uFFFD.gif\nline 3: ../x.htm -> x.htm"));
    TempTree clean;
    clean.file(QStringLiteral("a.htm"), "<a href=\"a.htm\">");
    const CliResult passed = cli({QStringLiteral("--format=junit"), QStringLiteral("--out"), out(), clean.root()});
    EXPECT_EQ(passed.status, 0);
    EXPECT_EQ(junitOutline(passed.out), QStringLiteral("1/0|a.htm"));
}

TEST_F(CheckPipelineTest, GithubAnnotationsNameFilesOfTheCheckoutOneLineEach)
{
    site.file(QStringLiteral("public/index.htm"), "<a href=\"gone, 100%.htm\">\n");
    site.file(QStringLiteral("public/a\nb.htm"), "\n<a href=\"x.htm\">");
    const CliResult github = RunShell(QStringLiteral("quillan-check --format github --out '%1' public").arg(out()),
                                      site.root(), home.path(QStringLiteral("data")));
    EXPECT_EQ(github.status, 1);
    const QStringList lines = QString::fromUtf8(github.out).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("::error file=public/a%0Ab.htm,line=2,title=Broken local link::x.htm -> x.htm"),
                         QStringLiteral("::error file=public/index.htm,line=1,title=Broken local link::gone, 100%25.htm -> gone, 100%25.htm"),
                         QStringLiteral("There are 2 broken local links."),
                     }));
    // The text format escapes the line break as tsv does.
    const CliResult text = cli({QStringLiteral("--out"), out(), site.path(QStringLiteral("public"))});
    EXPECT_TRUE(text.out.startsWith("a\\nb.htm:2: x.htm -> x.htm\n")) << text.out.toStdString();
}

// ---------------------------------------------------------------------------
// Nothing silent.

struct WarningCase {
    const char *name;
    QStringList args; // %TOP% is the site
    int status;
    const char *warning; // "" for none
    int pages;
    int links;
};

TEST_F(CheckPipelineTest, EveryRunThatChecksLessThanAskedWarns)
{
    site.file(QStringLiteral("index.htm"), "<a href=\"gone.htm\">\n<a href=\"sub/page.htm\">\n");
    site.file(QStringLiteral("sub/page.htm"), "<a href=\"../index.htm\">");
    site.folder(QStringLiteral("empty"));
    const QString top = site.root();
    const WarningCase cases[] = {
        {"no page at all", {site.path(QStringLiteral("empty"))}, 2, "No page was found under the top folder", 0, 0},
        {"an exclusion matching the top folder's own path",
         {QStringLiteral("--exclude-filepaths"), QDir(top).dirName(), top}, 0,
         "Every page is excluded by the excluded subfolders or filepaths", 0, 0},
        {"every page excluded, listing",
         {QStringLiteral("--list"), QStringLiteral("--exclude-filepaths=.htm"), top}, 0,
         "so no page was listed", 0, 0},
        {"an empty entry tidied away", {QStringLiteral("--exclude-links"), QStringLiteral("gone,,"), top}, 0, "", 2, 2},
        {"an empty entry that stays", {QStringLiteral("--exclude-links"), QStringLiteral("a,,,b"), top}, 0,
         "A link exclusion is empty and every link contains it", 2, 0},
        {"a misspelt subfolder", {QStringLiteral("--exclude-subfolders"), QStringLiteral("sbu"), top}, 1,
         "The excluded subfolder 'sbu' is not a subfolder of the top folder.", 2, 3},
        {"a subfolder in other letter case", {QStringLiteral("--exclude-subfolders"), QStringLiteral("SUB"), top}, 1, "", 1, 2},
    };
    for (const WarningCase &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList args{QStringLiteral("--format=json"), QStringLiteral("--out"), out()};
        args += c.args;
        const CliResult result = cli(args);
        EXPECT_EQ(result.status, c.status);
        const QJsonObject json = parseObject(result.out);
        const QStringList warnings = warningsOf(json);
        if (*c.warning == '\0') {
            EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'|').toStdString();
            EXPECT_FALSE(result.err.contains("warning"));
        } else {
            ASSERT_EQ(warnings.size(), 1) << warnings.join(u'|').toStdString();
            EXPECT_TRUE(warnings[0].contains(QString::fromUtf8(c.warning))) << warnings[0].toStdString();
            EXPECT_TRUE(result.err.contains((QStringLiteral("quillan-check: warning: ") + warnings[0]).toUtf8()));
        }
        EXPECT_EQ(json[QStringLiteral("pages")].toInt(), c.pages);
        EXPECT_EQ(json[QStringLiteral("links")].toInt(), c.links);
    }
}

TEST_F(CheckPipelineTest, UnreadablePagesAndFoldersAndTooDeepFoldersAreNamed)
{
    site.file(QStringLiteral("index.htm"), "<a href=\"gone.htm\">");
    site.file(QStringLiteral("locked.htm"), "<a href=\"gone.htm\">");
    site.file(QStringLiteral("shut/page.htm"), "<a href=\"gone.htm\">");
    QString deep = QStringLiteral("d");
    for (int level = 1; level < 127; ++level) // the deepest folder read: 127 below the top
        deep += QStringLiteral("/d");
    site.file(deep + QStringLiteral("/deepest.htm"), "<a href=\"gone.htm\">");
    site.file(deep + QStringLiteral("/d/too-deep.htm"), "<a href=\"gone.htm\">");
    ::chmod(QFile::encodeName(site.path(QStringLiteral("locked.htm"))).constData(), 0);
    ::chmod(QFile::encodeName(site.path(QStringLiteral("shut"))).constData(), 0);
    ::chmod(QFile::encodeName(home.root()).constData(), 0777);
    const QStringList args{QStringLiteral("--format=json"), QStringLiteral("--out"), out(), site.root()};
    const std::string json = RunAsUnprivileged([&] {
        int outPipe[2];
        if (::pipe(outPipe) != 0)
            return std::string("no pipe");
        const pid_t pid = SpawnCli(args, {}, -1, outPipe[1]);
        ::close(outPipe[1]);
        std::string text = ReadAll(outPipe[0]);
        ::close(outPipe[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return text;
    });
    ::chmod(QFile::encodeName(site.path(QStringLiteral("shut"))).constData(), 0755);
    const QJsonObject result = parseObject(QByteArray::fromStdString(json));
    EXPECT_EQ(warningsOf(result),
              (QStringList{
                  QStringLiteral("The page 'locked.htm' could not be read."),
                  QStringLiteral("The folder '") + deep
                      + QStringLiteral("/d/' lies more than 127 levels below the top folder and was not looked into."),
                  QStringLiteral("The folder 'shut/' could not be read."),
              }));
    EXPECT_EQ(result[QStringLiteral("pages")].toInt(), 2);
    EXPECT_EQ(result[QStringLiteral("broken")].toInt(), 2);
}

TEST_F(CheckPipelineTest, TheLinkLimitIsStatedAndTheReportsSayWhereTheCheckStopped)
{
    // 50,000 broken links fill the first two pages; the third is never read.
    for (const char *name : {"a.htm", "b.htm", "c.htm"}) {
        QByteArray page;
        for (int i = 0; i < 25000; ++i)
            page += "<a href=\"gone" + QByteArray::number(i) + ".htm\">\n";
        site.file(QString::fromLatin1(name), page);
    }
    const CliResult result = cli({QStringLiteral("--format=json"), QStringLiteral("--out"), out(), site.root()});
    EXPECT_EQ(result.status, 1);
    const QJsonObject json = parseObject(result.out);
    EXPECT_TRUE(json[QStringLiteral("limit_reached")].toBool());
    EXPECT_EQ(json[QStringLiteral("broken")].toInt(), 50000);
    EXPECT_EQ(json[QStringLiteral("pages")].toInt(), 2);
    EXPECT_EQ(json[QStringLiteral("status")].toString(),
              QStringLiteral("There are 50000 broken local links. Checking stopped at the limit of 50,000 broken links."));
    const QString where = QStringLiteral("The check stopped at the limit of 50,000 broken links, in the page 'b.htm': "
                                         "pages after it were not read, so the reports are incomplete.");
    EXPECT_EQ(warningsOf(json), QStringList{where});
    for (const char *report : {"links_to.txt", "links_from.txt"})
        EXPECT_TRUE(FileBytes(out() + u'/' + QString::fromLatin1(report)).startsWith((where + QStringLiteral("\r\n\r\nTop folder is")).toUtf8()))
            << report;
}

// ---------------------------------------------------------------------------
// Nothing lost.

TEST_F(CheckPipelineTest, TheOutputFolderHoldsTheFilesOfTheLastRunOnly)
{
    site.file(QStringLiteral("broken/index.htm"), "<a href=\"gone.htm\">");
    site.file(QStringLiteral("clean/index.htm"), "<a href=\"index.htm\">");
    EXPECT_EQ(cli({QStringLiteral("--list"), QStringLiteral("--out"), out(), site.path(QStringLiteral("broken"))}).status, 0);
    EXPECT_EQ(cli({QStringLiteral("--out"), out(), site.path(QStringLiteral("broken"))}).status, 1);
    EXPECT_EQ(outFiles(), (QStringList{QStringLiteral("links_from.txt"), QStringLiteral("links_to.txt")}));
    EXPECT_EQ(cli({QStringLiteral("--out"), out(), site.path(QStringLiteral("clean"))}).status, 0);
    EXPECT_EQ(outFiles(), QStringList());
    // Files not the checker's own stay.
    QFile other(out() + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_EQ(cli({QStringLiteral("--list"), QStringLiteral("--out"), out(), site.path(QStringLiteral("clean"))}).status, 0);
    EXPECT_EQ(outFiles(), (QStringList{QStringLiteral("files.txt"), QStringLiteral("notes.txt")}));
}

TEST_F(CheckPipelineTest, TwoRunsIntoOneFolderTakeTurns)
{
    // Two sites whose reports differ in every line: a report pair from two
    // runs would show two top folders.
    TempTree other;
    for (int i = 0; i < 300; ++i) {
        const QByteArray page = "<a href=\"gone" + QByteArray::number(i) + ".htm\">";
        site.file(QStringLiteral("p%1.htm").arg(i), page);
        other.file(QStringLiteral("q%1.htm").arg(i), page);
    }
    for (int attempt = 0; attempt < 5; ++attempt) {
        SCOPED_TRACE(attempt);
        int errPipe[2];
        ASSERT_EQ(::pipe2(errPipe, O_CLOEXEC), 0);
        const pid_t first = SpawnCli({QStringLiteral("--out"), out(), site.root()}, "/dev/null", -1);
        const pid_t second = SpawnCli({QStringLiteral("--out"), out(), other.root()}, "/dev/null", errPipe[1]);
        ::close(errPipe[1]);
        int status = 0;
        ::waitpid(first, &status, 0);
        EXPECT_EQ(ShellStatus(status), 1);
        ::waitpid(second, &status, 0);
        EXPECT_EQ(ShellStatus(status), 1);
        const std::string err = ReadAll(errPipe[0]);
        ::close(errPipe[0]);
        EXPECT_TRUE(err.empty() || err.rfind("quillan-check: waiting for another run", 0) == 0) << err;
        const QByteArray to = FileBytes(out() + QStringLiteral("/links_to.txt"));
        const QByteArray from = FileBytes(out() + QStringLiteral("/links_from.txt"));
        const QByteArray topLine = to.mid(15, to.indexOf("\r\n", 15) - 15);
        EXPECT_TRUE(from.contains("Top folder is\r\n" + topLine + "\r\n")) << topLine.toStdString();
        EXPECT_EQ(outFiles().size(), 2);
    }
}

TEST_F(CheckPipelineTest, OutputFolderProblemsAreFoundBeforeTheScanWithTheSystemsReason)
{
    site.file(QStringLiteral("index.htm"), "<a href=\"gone.htm\">");
    ::chmod(QFile::encodeName(home.root()).constData(), 0755);
    const QString shut = home.path(QStringLiteral("shut"));
    QDir().mkpath(shut);
    const QStringList args{QStringLiteral("--format=json"), QStringLiteral("--out"), shut + QStringLiteral("/reports"), site.root()};
    const std::string outcome = RunAsUnprivileged([&] {
        int pipes[2][2];
        if (::pipe(pipes[0]) != 0 || ::pipe(pipes[1]) != 0)
            return std::string("no pipe");
        const pid_t pid = SpawnCli(args, {}, pipes[1][1], pipes[0][1]);
        ::close(pipes[0][1]);
        ::close(pipes[1][1]);
        const std::string out = ReadAll(pipes[0][0]);
        const std::string err = ReadAll(pipes[1][0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return std::to_string(ShellStatus(status)) + "|" + out + "|" + err;
    });
    EXPECT_EQ(outcome, "3||quillan-check: cannot make the output folder " + shut.toStdString()
                           + "/reports: Permission denied\n");
}

TEST_F(CheckPipelineTest, AFailedStandardOutputStillLeavesTheReportsAndExitsThree)
{
    for (int i = 0; i < 200; ++i)
        site.file(QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')), "<a href=\"gone.htm\">");
    {
        SCOPED_TRACE("full disk");
        const CliResult result = RunShell(QStringLiteral("quillan-check --format json --out '%1' '%2' > /dev/full").arg(out(), site.root()),
                                          home.root(), home.path(QStringLiteral("data")));
        EXPECT_EQ(result.status, 3);
        EXPECT_TRUE(result.err.contains("cannot write to standard output: No space left on device (the files were written all the same)"))
            << result.err.toStdString();
        EXPECT_TRUE(FileBytes(out() + QStringLiteral("/links_from.txt")).contains("There are 200 broken links:"));
    }
    {
        SCOPED_TRACE("closed pipe");
        QFile::remove(out() + QStringLiteral("/links_from.txt"));
        int outPipe[2];
        int errPipe[2];
        ASSERT_EQ(::pipe2(outPipe, O_CLOEXEC), 0);
        ASSERT_EQ(::pipe2(errPipe, O_CLOEXEC), 0);
        ::close(outPipe[0]); // the reader went away, as `| head -1` does
        const pid_t pid = SpawnCli({QStringLiteral("--out"), out(), site.root()}, {}, errPipe[1], outPipe[1]);
        ::close(outPipe[1]);
        ::close(errPipe[1]);
        const std::string err = ReadAll(errPipe[0]);
        ::close(errPipe[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_EQ(ShellStatus(status), 3);
        EXPECT_NE(err.find("cannot write to standard output: Broken pipe"), std::string::npos) << err;
        EXPECT_TRUE(FileBytes(out() + QStringLiteral("/links_from.txt")).contains("There are 200 broken links:"));
    }
}

// ---------------------------------------------------------------------------
// Clear messages and settings that travel.

TEST_F(CheckPipelineTest, ASettingsFilesOwnTopFolderGivesWayToTheNamedOne)
{
    site.file(QStringLiteral("index.htm"), "<a href=\"gone.htm\">\n<a href=\"skip.htm\">");
    site.file(QStringLiteral("old/page.htm"), "<a href=\"gone.htm\">");
    const QString usr = home.path(QStringLiteral("site.usr"));
    ASSERT_EQ(WriteSettingsFile(usr, SettingsValues{QStringLiteral("/builds/elsewhere/public/"),
                                                    QStringLiteral("old"), {}, QStringLiteral("skip"), 0, 0, 0}),
              QString());
    const CliResult result = cli({QStringLiteral("--settings"), usr, QStringLiteral("--out"), out(), site.root()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "index.htm:1: gone.htm -> gone.htm\nThere is only one broken local link.\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(CheckPipelineTest, AMissingProgramTextFileNamesBothPlacesLookedIn)
{
    const QString bin = home.path(QStringLiteral("prefix/bin"));
    QDir().mkpath(bin);
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLAN_CHECK_PROGRAM), bin + QStringLiteral("/quillan-check")));
    site.file(QStringLiteral("index.htm"));
    QProcess process;
    process.start(bin + QStringLiteral("/quillan-check"), {site.root()});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardError()),
              QStringLiteral("quillan-check: the program text file qln.dat is in neither %1 nor %2\n")
                  .arg(bin, home.path(QStringLiteral("prefix/share/quillan"))));
}

TEST_F(CheckPipelineTest, ProgressDrawsEscapeCodesOnlyOnATerminalThatTakesThem)
{
    // More pages than the records the walk may run ahead of the output.
    for (int i = 0; i < 1000; ++i)
        site.file(QStringLiteral("p%1.htm").arg(i, 4, 10, QLatin1Char('0')), "<a href=\"a-long-name-that-is-gone.htm\">");
    struct Case {
        const char *term;
        const char *noColor;
        bool escapes;
    } cases[] = {{"xterm", nullptr, true}, {"dumb", nullptr, false}, {"xterm", "1", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.term) + (c.noColor ? " NO_COLOR" : ""));
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(terminal, 0);
        int outPipe[2];
        ASSERT_EQ(::pipe2(outPipe, O_CLOEXEC), 0);
        ASSERT_GE(::fcntl(outPipe[0], F_SETPIPE_SZ, 4096), 0);
        ::setenv("TERM", c.term, 1);
        if (c.noColor)
            ::setenv("NO_COLOR", c.noColor, 1);
        else
            ::unsetenv("NO_COLOR");
        const pid_t pid = SpawnCli({QStringLiteral("--out"), out(), site.root()}, {}, terminal, outPipe[1]);
        ::unsetenv("NO_COLOR");
        ::close(outPipe[1]);
        ::close(terminal);
        // The walk waits on the full pipe, so the progress line is due when
        // it goes on.
        char first;
        ASSERT_EQ(::read(outPipe[0], &first, 1), 1);
        ::usleep(300 * 1000);
        ReadAll(outPipe[0]);
        ::close(outPipe[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_EQ(ShellStatus(status), 1);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        const std::string seen = ReadAll(master);
        ::close(master);
        EXPECT_EQ(seen.find('\x1b') != std::string::npos, c.escapes) << seen;
    }
}

} // namespace

} // namespace quillan::test
