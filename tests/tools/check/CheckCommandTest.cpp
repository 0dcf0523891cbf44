// quillan-check, run as a program of its own, against the main window: the
// same files and status for the same settings, its exit statuses, its
// records in every format, and Ctrl-C in the middle of a walk.

#include "CheckProcess.h"
#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "settings/SettingsFile.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillan::test {

namespace {

class CheckCommandTest : public MainWindowTest
{
protected:
    QString dataHome() const { return home.path(QStringLiteral("data")); }
    // Where the checker writes when no --out is given.
    QString cliFile(const QString &name) const { return dataHome() + QStringLiteral("/Quillan/") + name; }

    CliResult cli(const QStringList &args) const { return RunCli(args, dataHome()); }

    QString settingsFile(const QString &name, const SettingsValues &values)
    {
        const QString path = home.path(name);
        EXPECT_EQ(WriteSettingsFile(path, values), QString());
        return path;
    }

    // Pages of one broken link each: a walk long enough to signal in the
    // middle of.
    void addBrokenPages(int count)
    {
        for (int i = 0; i < count; ++i)
            site.file(QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')),
                      QStringLiteral("<a href=\"a-page-that-is-not-there-%1.htm\">").arg(i).toUtf8());
    }

    // Starts the checker on the site, its JSON records going into a pipe too
    // small for them, and returns once the first byte (appended to `out`)
    // came: the checker then waits to write, in the middle of its walk, and
    // `readEnd` is the pipe's end to read. -1 if it did not get that far.
    pid_t startBlockedOnOutput(const QStringList &options, int &readEnd, std::string &out)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return -1;
        if (::fcntl(fds[0], F_SETPIPE_SZ, 4096) < 0) {
            ::close(fds[0]);
            ::close(fds[1]);
            return -1;
        }
        const pid_t pid = SpawnCli(QStringList{QStringLiteral("--format=json"), QStringLiteral("--out"),
                                               home.path(QStringLiteral("out"))}
                                       + options + QStringList{site.root()},
                                   {}, -1, fds[1]);
        ::close(fds[1]);
        char c;
        if (pid <= 0 || ::read(fds[0], &c, 1) != 1) {
            ::close(fds[0]);
            return -1;
        }
        out += c;
        readEnd = fds[0];
        return pid;
    }

    TempTree site;
    TempTree home;
};

// ---------------------------------------------------------------------------
// The same files and status as the window.

// The site every comparison runs on: pages in the top folder and below, PHP
// pages, repeats, excluded places, case-only and folder targets.
void buildRichSite(TempTree &site)
{
    site.file(QStringLiteral("index.htm"),
              "<a href=\"gone.htm\">\r\n<a href=\"gone.htm\">\r\n<a href=\"Sub/page.html\">\r\n"
              "<img src=\"sub/\">\r\n<a href=\"skip-me.htm\">\r\n<a href=\"a/b.htm#top\">\r\n");
    site.file(QStringLiteral("form.php"), "<a href=\"thanks.php\">\n<a href=\"gone.htm\">\n");
    site.file(QStringLiteral("sub/page.html"), "<a href=\"../missing.gif\">\n<a href=\"img/x.png\">\n");
    site.file(QStringLiteral("sub/index.htm"), "<a href=\"../index.htm\">");
    site.file(QStringLiteral("old/old.htm"), "<a href=\"older.htm\">");
    site.file(QStringLiteral("Docs/temp-notes.htm"), "<a href=\"draft.htm\">");
    site.file(QStringLiteral("Docs/guide.htm"), "<a href=\"../gone.htm\">\r<a href=\"chapter.htm\">");
}

struct ParityCase {
    const char *name;
    // What the window loads before its commands; none for its start-up state.
    std::optional<SettingsValues> windowSettings;
    // The settings file the checker gets as %USR%.
    std::optional<SettingsValues> cliSettings;
    QStringList cliArgs; // %TOP% is the site's folder, %USR% the settings file
    bool windowChoosesTopFolder = false; // after loading, as the user would
};

std::vector<ParityCase> parityCases(const QString &top)
{
    // Untidy texts and greyed options, as a hand-edited file may hold them.
    const SettingsValues untidy{top, QStringLiteral("  OLD \r\n\r\nnone"), QStringLiteral(" TEMP ,.bak "),
                                QStringLiteral(" skip , a/"), 2, 1, 2};
    const SettingsValues goneTop{top + QStringLiteral("gone-folder/"), QStringLiteral("old"), {}, {}, 0, 0, 0};
    return {
        {"defaults", std::nullopt, std::nullopt, {QStringLiteral("%TOP%")}},
        {"options on the command line",
         SettingsValues{top, QStringLiteral("old\r\nDOCS"), QStringLiteral("temp, .bak"),
                        QStringLiteral("skip"), 0, 1, 1},
         std::nullopt,
         {QStringLiteral("--exclude-subfolders"), QStringLiteral(" old, DOCS/"),
          QStringLiteral("--exclude-filepaths=temp, .bak"), QStringLiteral("--exclude-links"),
          QStringLiteral("skip"), QStringLiteral("--show-repeated"), QStringLiteral("--php"),
          QStringLiteral("%TOP%")}},
        {"a settings file with the top folder, untidy texts and greyed options", untidy, untidy,
         {QStringLiteral("--settings"), QStringLiteral("%USR%")}},
        {"command-line options over a settings file",
         SettingsValues{top, QStringLiteral("docs"), {}, QStringLiteral("gone"), 1, 0, 1},
         SettingsValues{top, QStringLiteral("old"), QStringLiteral("temp"), {}, 0, 1, 1},
         {QStringLiteral("--settings"), QStringLiteral("%USR%"), QStringLiteral("--no-show-repeated"),
          QStringLiteral("--top-folder-only"), QStringLiteral("--exclude-subfolders=docs"),
          QStringLiteral("--exclude-filepaths="), QStringLiteral("--exclude-links=gone")}},
        // The window drops the subfolders of a file whose top folder is gone;
        // the checker, told the top folder, keeps them for it.
        {"a settings file whose top folder is gone, with the top folder named",
         SettingsValues{top, QStringLiteral("old"), {}, {}, 0, 0, 0}, goneTop,
         {QStringLiteral("--settings"), QStringLiteral("%USR%"), QStringLiteral("%TOP%")}},
    };
}

TEST_F(CheckCommandTest, WritesTheWindowsFilesAndStatusForTheSameSettings)
{
    buildRichSite(site);
    start();
    for (const ParityCase &c : parityCases(site.root())) {
        SCOPED_TRACE(c.name);
        if (c.windowSettings) {
            fake.ExpectFile(settingsFile(QStringLiteral("window.usr"), *c.windowSettings));
            window->cboSettings->setCurrentIndex(3); // Load from file
            window->cmdSettings->click();
        } else {
            window->txbTopFolder->setText(site.root());
        }
        if (c.windowChoosesTopFolder) {
            fake.ExpectFolder(site.root());
            window->cmdTopFolder->click();
        }
        window->cmdListFiles->click();
        const QString listStatus = window->lblTotalNumFilesOrBrokenLinks->text();
        window->cmdCheckLinks->click();
        const QString checkStatus = window->lblTotalNumFilesOrBrokenLinks->text();

        QStringList args;
        for (QString arg : c.cliArgs) {
            if (c.cliSettings && arg == QStringLiteral("%USR%"))
                arg = settingsFile(QStringLiteral("cli.usr"), *c.cliSettings);
            args.append(arg.replace(QStringLiteral("%TOP%"), site.root()));
        }
        QDir(dataHome()).removeRecursively();
        const CliResult listed = cli(QStringList{QStringLiteral("--list")} + args);
        const CliResult checked = cli(args);
        EXPECT_EQ(listed.lastLine(), listStatus);
        EXPECT_EQ(checked.lastLine(), checkStatus);
        EXPECT_NE(checkStatus, QString());
        for (const char *name : {"files.txt", "links_to.txt", "links_from.txt"}) {
            const QString file = QString::fromLatin1(name);
            EXPECT_EQ(FileBytes(cliFile(file)), FileBytes(dataFile(file))) << name;
        }
    }
}

// Every file and record of a run with one thread reading pages, and with
// several.
TEST_F(CheckCommandTest, AnyNumberOfJobsGivesTheSameFilesAndRecordsUpToBothLimits)
{
    buildRichSite(site);
    TempTree big;
    // 5,001 broken links a page: the check stops at the 50,000-link limit in
    // the middle of the last page. (A listing reads no page, so its file
    // limit is the same for any number of threads.)
    QByteArray page;
    for (int i = 0; i <= 5000; ++i)
        page += "<a href=\"x" + QByteArray::number(i) + ".htm\">\r\n";
    for (int i = 0; i < 10; ++i)
        big.file(QStringLiteral("f%1/p.htm").arg(i), page);
    // Read first: a link whose hint names the page in other letter case.
    big.file(QStringLiteral("hints.htm"), "<a href=\"F0/P.htm\">");
    // With more than one job, the records are written on a thread of their
    // own; JUnit's output groups them by page.
    for (const TempTree *tree : {&site, &big}) {
        for (const QStringList &mode :
             {QStringList{QStringLiteral("--list")},
              QStringList{QStringLiteral("--php"), QStringLiteral("--show-repeated")},
              QStringList{QStringLiteral("--format"), QStringLiteral("junit")}}) {
            SCOPED_TRACE((tree->root() + u' ' + mode.join(u' ')).toStdString());
            std::vector<QByteArray> outputs;
            for (const char *jobs : {"1", "3"}) {
                const QString out = home.path(QStringLiteral("out-") + QLatin1String(jobs));
                const QStringList format = mode.contains(QStringLiteral("--format"))
                                               ? QStringList()
                                               : QStringList{QStringLiteral("--format"), QStringLiteral("json")};
                const CliResult result = cli(mode + format
                                             + QStringList{QStringLiteral("--jobs"), QLatin1String(jobs),
                                                           QStringLiteral("--out"), out, tree->root()});
                QByteArray all = result.out + QByteArray::number(result.status);
                for (const char *name : {"files.txt", "links_to.txt", "links_from.txt"})
                    all += QByteArray("\n--- ") + name + '\n' + FileBytes(out + u'/' + QLatin1String(name));
                outputs.push_back(all);
            }
            EXPECT_TRUE(outputs[0] == outputs[1]);
            EXPECT_GT(outputs[0].size(), 200);
            if (tree == &big && mode[0] != QStringLiteral("--list")) {
                EXPECT_TRUE(outputs[0].contains("There are 50000 broken local links."))
                    << outputs[0].right(300).toStdString();
                EXPECT_TRUE(outputs[0].contains("differs from it only in letter case"));
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Exit statuses.

TEST_F(CheckCommandTest, ExitStatusSaysWhatHappened)
{
    site.file(QStringLiteral("clean/index.htm"), "<a href=\"other.htm\">");
    site.file(QStringLiteral("clean/other.htm"), "<a href=\"index.htm\">");
    site.file(QStringLiteral("broken/index.htm"), "<a href=\"gone.htm\">");
    site.file(QStringLiteral("a-file"));
    const QString clean = site.path(QStringLiteral("clean"));
    const QString broken = site.path(QStringLiteral("broken"));
    const QString underAFile = site.path(QStringLiteral("a-file/out"));
    struct Case {
        QStringList args;
        int status;
        const char *lastLineOrError;
    } cases[] = {
        {{clean}, 0, "Congratulations!  There are no broken local links."},
        {{QStringLiteral("--list"), broken}, 0, "Sole file: index.htm"},
        {{broken}, 1, "There is only one broken local link."},
        {{QStringLiteral("--bogus"), clean}, 2, "unknown option --bogus"},
        {{QStringLiteral("--format"), QStringLiteral("xml"), clean}, 2, "--format takes"},
        {{QStringLiteral("--list"), QStringLiteral("--format=sarif"), clean}, 2, "--list takes"},
        {{QStringLiteral("--out")}, 2, "--out needs a value"},
        {{QStringLiteral("--jobs"), QStringLiteral("0"), clean}, 2, "--jobs takes a number"},
        {{QStringLiteral("--jobs=two"), clean}, 2, "--jobs takes a number"},
        {{QStringLiteral("-j"), QStringLiteral("100000"), broken}, 1, "There is only one broken"},
        {{clean, broken}, 2, "one top folder only"},
        {{}, 2, "no top folder given"},
        {{site.path(QStringLiteral("nowhere"))}, 2, "the top folder does not exist"},
        {{QStringLiteral("--settings"), site.path(QStringLiteral("none.usr")), clean}, 2,
         "cannot read the settings file"},
        {{site.path(QStringLiteral("a-file"))}, 2, "the top folder is a file, not a folder"},
        // The output folder is tried before the scan, whatever it would find.
        {{QStringLiteral("--out"), underAFile, clean}, 3,
         "cannot make the output folder " "%OUT%: Not a directory"},
        {{QStringLiteral("--list"), QStringLiteral("--out"), site.path(QStringLiteral("a-file")), broken},
         3, "the output folder is a file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult result = cli(c.args);
        EXPECT_EQ(result.status, c.status);
        const QString said = c.status == 2 || c.status == 3 ? QString::fromLocal8Bit(result.err)
                                                            : result.lastLine();
        const QString expected = QString::fromUtf8(c.lastLineOrError).replace(QStringLiteral("%OUT%"), underAFile);
        EXPECT_TRUE(said.contains(expected)) << said.toStdString();
    }
    EXPECT_EQ(FileBytes(cliFile(QStringLiteral("links_to.txt"))).left(13), "Top folder is");
    EXPECT_FALSE(QFile::exists(site.path(QStringLiteral("a-file/out"))));
}

TEST_F(CheckCommandTest, AnUnreadableTopFolderIsBadUsage)
{
    site.file(QStringLiteral("locked/index.htm"), "<a href=\"gone.htm\">");
    const QByteArray locked = QFile::encodeName(site.path(QStringLiteral("locked")));
    ::chmod(locked.constData(), 0);
    const QStringList args{QStringLiteral("--out"), home.root(), site.path(QStringLiteral("locked"))};
    const std::string outcome = RunAsUnprivileged([&] {
        int errPipe[2];
        if (::pipe(errPipe) != 0)
            return std::string("no pipe");
        const pid_t pid = SpawnCli(args, "/dev/null", errPipe[1]);
        ::close(errPipe[1]);
        const std::string err = ReadAll(errPipe[0]);
        ::close(errPipe[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return std::to_string(ShellStatus(status)) + " " + err;
    });
    ::chmod(locked.constData(), 0755);
    EXPECT_EQ(outcome.rfind("2 quillan-check: the top folder cannot be read", 0), 0u) << outcome;
}

// Signals in the middle of a walk. Standard output is a FIFO the test reads
// from: once its small buffer is full the checker waits in the middle of the
// walk, so the signal reliably comes while the walk runs.
struct SignalCase {
    const char *name;
    int signalNumber;
    bool alsoToGroup;    // then to the process group too, as `timeout` does
    bool againAfterASecond; // a second one, a second later, while the output is full
    int times;
};

TEST_F(CheckCommandTest, ASignalStopsTheWalkAndTheReportsSaySo)
{
    constexpr int kPages = 400;
    addBrokenPages(kPages);
    const SignalCase cases[] = {
        {"Ctrl-C", SIGINT, false, false, 1},
        {"SIGTERM", SIGTERM, false, false, 1},
        {"SIGHUP, as when the terminal goes", SIGHUP, false, false, 1},
        {"timeout -s INT: to the checker, then to its group", SIGINT, true, false, 20},
    };
    for (const SignalCase &sc : cases) {
        for (int run = 0; run < sc.times; ++run) {
            SCOPED_TRACE(std::string(sc.name) + " run " + std::to_string(run));
            const QByteArray fifo = QFile::encodeName(home.path(QStringLiteral("out.fifo")));
            ::unlink(fifo.constData());
            ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
            // A writer of the test's own keeps reads from ending before the
            // checker has opened its end.
            const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            const int keepOpen = ::open(fifo.constData(), O_WRONLY | O_CLOEXEC);
            ASSERT_GE(reader, 0);
            ASSERT_GE(keepOpen, 0);
            ASSERT_GE(::fcntl(reader, F_SETPIPE_SZ, 4096), 0);
            ::fcntl(reader, F_SETFL, ::fcntl(reader, F_GETFL) & ~O_NONBLOCK);
            const pid_t pid = SpawnCli({QStringLiteral("--format"), QStringLiteral("json"),
                                        QStringLiteral("--out"), home.path(QStringLiteral("out")),
                                        site.root()},
                                       fifo, -1, -1, true);
            ASSERT_GT(pid, 0);

            // The first record: the checker is writing while it walks.
            std::string out;
            char c;
            while (out.find('}') == std::string::npos) {
                ASSERT_EQ(::read(reader, &c, 1), 1) << out;
                out += c;
            }
            ::close(keepOpen);
            ::kill(pid, sc.signalNumber);
            if (sc.alsoToGroup)
                ::kill(-pid, sc.signalNumber);
            out += ReadAll(reader);
            ::close(reader);
            int status = 0;
            ::waitpid(pid, &status, 0);

            EXPECT_TRUE(WIFEXITED(status)) << "ended by the signal, reports unwritten";
            EXPECT_EQ(ShellStatus(status), 128 + sc.signalNumber);
            QJsonParseError error;
            const QJsonObject document =
                QJsonDocument::fromJson(QByteArray::fromStdString(out), &error).object();
            ASSERT_EQ(error.error, QJsonParseError::NoError) << out;
            EXPECT_EQ(document[QStringLiteral("status")].toString(),
                      QStringLiteral("Checking of links was stopped."));
            EXPECT_TRUE(document[QStringLiteral("stopped")].toBool());
            const QJsonArray records = document[QStringLiteral("records")].toArray();
            EXPECT_GT(records.size(), 0);
            EXPECT_LT(records.size(), kPages);
            const QByteArray report = FileBytes(home.path(QStringLiteral("out/links_to.txt")));
            EXPECT_TRUE(report.startsWith("Link checking was stopped, so this list is incomplete.\r\n\r\n"
                                          "Top folder is\r\n"));
            EXPECT_TRUE(report.contains(
                QStringLiteral("There are %1 broken links:").arg(records.size()).toUtf8()));
            EXPECT_TRUE(FileBytes(home.path(QStringLiteral("out/links_from.txt")))
                            .startsWith("Link checking was stopped"));
        }
    }
}

// A second Ctrl-C a second after the first ends the checker at once, even
// while it waits to write.
TEST_F(CheckCommandTest, ASecondCtrlCASecondLaterEndsAtOnce)
{
#ifdef QUILLAN_CHECKER_THREAD_SANITIZED
    // The sanitizer holds a handler back until the thread enters one of its
    // wrappers again or waits in a call it knows to block. write() is
    // neither, and SA_RESTART resumes it, so that build cannot end while its
    // output is full. Threads play no part in this: the other builds test it.
    GTEST_SKIP() << "the thread sanitizer holds signal handlers back during write()";
#endif
    addBrokenPages(400);
    int readEnd = -1;
    std::string out;
    const pid_t pid = startBlockedOnOutput({}, readEnd, out);
    ASSERT_GT(pid, 0); // it is writing, and the pipe stays full
    ::kill(pid, SIGINT);
    ::usleep(1200 * 1000);
    ::kill(pid, SIGINT);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(readEnd);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(ShellStatus(status), 130);
}

// The kernel hands a signal to any thread that does not block it: here one
// of the threads that read pages takes it, while the walking thread waits to
// write. The walk still sees the note and stops.
TEST_F(CheckCommandTest, ASignalTakenByAWorkerThreadStopsTheWalk)
{
    constexpr int kPages = 400;
    addBrokenPages(kPages);
    int readEnd = -1;
    std::string out;
    const pid_t pid = startBlockedOnOutput({QStringLiteral("--jobs=3")}, readEnd, out);
    ASSERT_GT(pid, 0); // writing, with its workers started

    // One thread other than the walking one that takes Ctrl-C (a runtime's
    // own thread may block every signal, and a thread blocks them all while
    // it starts: on a busy machine the workers may still be starting).
    pid_t worker = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (int wait = 0; worker == 0 && wait < 5000; ++wait) {
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile status(tasks + u'/' + task + QStringLiteral("/status"));
            if (task.toInt() == pid || !status.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : status.readAll().split('\n')) {
                if (line.startsWith("SigBlk:")
                    && (line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ULL << (SIGINT - 1))) == 0)
                    worker = task.toInt();
            }
            if (worker != 0)
                break;
        }
        if (worker == 0)
            ::usleep(1000);
    }
    ASSERT_NE(worker, 0) << "no thread beside the walking one";
    ASSERT_EQ(::syscall(SYS_tgkill, pid, worker, SIGINT), 0);
    // The signal waits for that thread to run; on a busy machine the walk,
    // once its output is read, could end first. The output is read once the
    // thread has taken the signal.
    QFile workerStatus(tasks + u'/' + QString::number(worker) + QStringLiteral("/status"));
    for (int wait = 0; wait < 5000; ++wait) {
        bool pending = false;
        if (workerStatus.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : workerStatus.readAll().split('\n')) {
                if (line.startsWith("SigPnd:"))
                    pending = (line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ULL << (SIGINT - 1))) != 0;
            }
            workerStatus.close();
        }
        if (!pending)
            break;
        ::usleep(1000);
    }
    out += ReadAll(readEnd);
    ::close(readEnd);
    int status = 0;
    ::waitpid(pid, &status, 0);

    EXPECT_EQ(ShellStatus(status), 130);
    QJsonParseError error;
    const QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out;
    EXPECT_TRUE(document[QStringLiteral("stopped")].toBool());
    EXPECT_LT(document[QStringLiteral("records")].toArray().size(), kPages);
}

// ---------------------------------------------------------------------------
// The records.

struct Row {
    QString page;
    int line = 0;
    QString link;
    QString target;
    QString hint;

    bool operator==(const Row &) const = default;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << QStringList{row.page, QString::number(row.line), row.link, row.target, row.hint}
               .join(QStringLiteral(" | "))
               .toStdString();
}

QString tsvValue(const QString &field)
{
    QString value;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            value += field[i];
            continue;
        }
        const QChar escaped = field[++i];
        value += escaped == u't' ? QChar(u'\t') : escaped == u'n' ? QChar(u'\n')
                 : escaped == u'r' ? QChar(u'\r') : escaped;
    }
    return value;
}

std::vector<Row> parseJson(const QByteArray &records)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(records, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    std::vector<Row> rows;
    for (const QJsonValue &value : document.object()[QStringLiteral("records")].toArray()) {
        const QJsonObject o = value.toObject();
        EXPECT_EQ(o.size(), o.contains(QStringLiteral("page_bytes")) ? 6 : 5);
        EXPECT_TRUE(o[QStringLiteral("line")].isDouble());
        EXPECT_TRUE(o[QStringLiteral("hint")].isNull() || o[QStringLiteral("hint")].isString());
        rows.push_back({o[QStringLiteral("page")].toString(), o[QStringLiteral("line")].toInt(),
                        o[QStringLiteral("link")].toString(), o[QStringLiteral("target")].toString(),
                        o[QStringLiteral("hint")].toString()});
    }
    return rows;
}

std::vector<Row> parseTsv(const QByteArray &records)
{
    QStringList lines = QString::fromUtf8(records).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), QStringLiteral("page\tline\tlink\ttarget\thint"));
    std::vector<Row> rows;
    for (const QString &line : lines.mid(1)) {
        const QStringList f = line.split(u'\t');
        EXPECT_EQ(f.size(), 5) << line.toStdString();
        rows.push_back({tsvValue(f.value(0)), f.value(1).toInt(), tsvValue(f.value(2)),
                        tsvValue(f.value(3)), tsvValue(f.value(4))});
    }
    return rows;
}

TEST_F(CheckCommandTest, RecordsGiveLineLinkTargetAndHintInEveryFormatWhateverBytesANameHolds)
{
    site.file(QStringLiteral("Real.htm"));
    site.file(QStringLiteral("cr.htm"), "x\r<a href=\"d.htm\">\ry\r<a href=\"e.htm\">");
    site.file(QStringLiteral("crlf.htm"), "<p>\r\n<a href=\"a.htm\">\r\n\r\n<a href=\"my%20b.htm#top\">\r\n");
    site.file(QStringLiteral("lf.htm"), "\n\n<img src=\"c.gif\">\n<a href=\"real.htm\">\n");
    site.file(QStringLiteral("mixed.htm"), "a\r\nb\nc\r<a href=\"sub/\">\n<a href=\"docs\">\r\n");
    site.file(QStringLiteral("tab\tname.htm"), "<a HREF=\"x\\y.htm\">");
    site.file(QStringLiteral("docs/guide.htm"));
    site.file(QStringLiteral("sub/index.htm"));
    // Latin-1 names on a UTF-8 system: links by the same bytes find their
    // file; names are shown with the replacement character.
    site.byteNamedFile("caf\xe9.htm",
                       "<a href=\"\xe9t\xe9.htm\">\n<a href=\"Caf\xe9.htm\">\n<a href=\"gone\xe9.htm\">\n");
    site.byteNamedFile("\xe9t\xe9.htm");
    const QString cafe = QString::fromUtf16(u"caf\uFFFD.htm");
    const QString caseHint =
        QStringLiteral("No file has this name, but Real.htm differs from it only in letter case.");
    const std::vector<Row> expected{
        {cafe, 2, QString::fromUtf16(u"Caf\uFFFD.htm"), QString::fromUtf16(u"Caf\uFFFD.htm"),
         QStringLiteral("No file has this name, but ") + cafe
             + QStringLiteral(" differs from it only in letter case.")},
        {cafe, 3, QString::fromUtf16(u"gone\uFFFD.htm"), QString::fromUtf16(u"gone\uFFFD.htm"), {}},
        {QStringLiteral("cr.htm"), 2, QStringLiteral("d.htm"), QStringLiteral("d.htm"), {}},
        {QStringLiteral("cr.htm"), 4, QStringLiteral("e.htm"), QStringLiteral("e.htm"), {}},
        {QStringLiteral("crlf.htm"), 2, QStringLiteral("a.htm"), QStringLiteral("a.htm"), {}},
        {QStringLiteral("crlf.htm"), 4, QStringLiteral("my%20b.htm#top"), QStringLiteral("my b.htm"), {}},
        {QStringLiteral("lf.htm"), 3, QStringLiteral("c.gif"), QStringLiteral("c.gif"), {}},
        {QStringLiteral("lf.htm"), 4, QStringLiteral("real.htm"), QStringLiteral("real.htm"), caseHint},
        {QStringLiteral("mixed.htm"), 4, QStringLiteral("sub/"), QStringLiteral("sub/"),
         QStringLiteral("The target is the folder sub/, not a file. Perhaps sub/index.htm is meant.")},
        {QStringLiteral("mixed.htm"), 5, QStringLiteral("docs"), QStringLiteral("docs"),
         QStringLiteral("The target is the folder docs/, not a file.")},
        {QStringLiteral("tab\tname.htm"), 1, QStringLiteral("x\\y.htm"), QStringLiteral("x\\y.htm"), {}},
    };
    const QString summary = QStringLiteral("There are 11 broken local links.");

    const CliResult json = cli({QStringLiteral("--format"), QStringLiteral("json"), site.root()});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.errLastLine(), summary);
    EXPECT_EQ(parseJson(json.out), expected);
    // The bytes of a name that does not decode, for a script to open it.
    const QJsonObject first =
        QJsonDocument::fromJson(json.out).object()[QStringLiteral("records")].toArray()[0].toObject();
    EXPECT_EQ(first[QStringLiteral("page_bytes")].toString(), QStringLiteral("caf%E9.htm"));
    EXPECT_FALSE(first.contains(QStringLiteral("target_bytes")));

    const CliResult tsv = cli({QStringLiteral("--format=tsv"), site.root()});
    EXPECT_EQ(tsv.errLastLine(), summary);
    EXPECT_EQ(parseTsv(tsv.out), expected);
    EXPECT_TRUE(tsv.out.contains("tab\\tname.htm\t1\tx\\\\y.htm\t"));

    const CliResult text = cli({site.root()});
    EXPECT_EQ(text.lastLine(), summary);
    EXPECT_TRUE(text.out.contains("\ncr.htm:2: d.htm -> d.htm\n"));
    EXPECT_TRUE(text.out.contains(
        (QStringLiteral("lf.htm:4: real.htm -> real.htm (") + caseHint + QStringLiteral(")\n")).toUtf8()));
    // One line a record, the name's tab and the link's backslash escaped.
    EXPECT_TRUE(text.out.contains("\ntab\\tname.htm:1: x\\\\y.htm -> x\\\\y.htm\n"));
    EXPECT_EQ(text.out.count('\n'), 12);

    // A listing gives the pages; a clean check an empty array.
    const CliResult listed = cli({QStringLiteral("--list"), QStringLiteral("--format=json"),
                                  site.root()});
    const QJsonObject listing = QJsonDocument::fromJson(listed.out).object();
    EXPECT_EQ(listing[QStringLiteral("records")].toArray().size(), 10);
    EXPECT_EQ(listing[QStringLiteral("pages")].toInt(), 10);
    EXPECT_EQ(listed.errLastLine(), QStringLiteral("Number of files: 10"));
}

TEST_F(CheckCommandTest, ReadsAsABrowserWithAnchorsAndIndexPagesAsAskedAndHintsEachKind)
{
    site.file(QStringLiteral("index.htm"),
              "<a href=\"Sub/x.htm\">\n<a href=\"bare/\">\n<a href=\"sub/x.htm#nope\">\n"
              "<a href=\"sub/\">\n<a href=\"/gone.htm\">\n<a href=\"tel:1\">\n");
    site.file(QStringLiteral("sub/x.htm"), "<p id=\"a\">");
    site.file(QStringLiteral("sub/start.htm"));
    site.folder(QStringLiteral("bare"));
    const QByteArray caseRecord = "index.htm:1: Sub/x.htm -> Sub/x.htm (No file has this name, but "
                                  "sub/x.htm differs from it only in letter case.)\n";
    const QByteArray folderRecord =
        "index.htm:2: bare/ -> bare/ (The target is the folder bare/, which has no index page.)\n";
    const QByteArray anchorRecord = "index.htm:3: sub/x.htm#nope -> sub/x.htm#nope (The page sub/x.htm "
                                    "has no element whose id, and no a element whose name, is nope.)\n";
    const QByteArray rootRecord = "index.htm:5: /gone.htm -> gone.htm\n";

    const CliResult anchors = cli({QStringLiteral("--anchors"), site.root()});
    EXPECT_EQ(anchors.status, 1);
    EXPECT_EQ(anchors.lastLine(), QStringLiteral("There are 5 broken local links."));
    for (const QByteArray &record : {caseRecord, folderRecord, anchorRecord, rootRecord})
        EXPECT_TRUE(anchors.out.contains(record)) << record.toStdString() << anchors.out.toStdString();

    // Another list of index pages finds sub/; without anchors #nope is not
    // looked for.
    const CliResult indexed =
        cli({QStringLiteral("--html"), QStringLiteral("--index-files= start.htm ,index.html"), site.root()});
    EXPECT_EQ(indexed.lastLine(), QStringLiteral("There are 3 broken local links."));
    EXPECT_FALSE(indexed.out.contains("index.htm:4:"));

    // The settings file's reading, and the options over it.
    SettingsValues values{site.root(), {}, {}, {}, 0, 0, 0};
    values.browserReading = 2;
    const QString usr = settingsFile(QStringLiteral("anchors.usr"), values);
    EXPECT_EQ(cli({QStringLiteral("--settings"), usr}).lastLine(),
              QStringLiteral("There are 5 broken local links."));
    EXPECT_EQ(cli({QStringLiteral("--settings"), usr, QStringLiteral("--no-anchors")}).lastLine(),
              QStringLiteral("There are 4 broken local links."));
    const CliResult classic = cli({QStringLiteral("--settings"), usr, QStringLiteral("--no-html")});
    EXPECT_EQ(classic.lastLine(), QStringLiteral("There are 3 broken local links."));
    EXPECT_FALSE(classic.out.contains("gone.htm"));

    const CliResult bad = cli({QStringLiteral("--index-files"), QStringLiteral("a/index.htm"), site.root()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.contains("--index-files")) << bad.err.toStdString();
}

} // namespace

} // namespace quillan::test
