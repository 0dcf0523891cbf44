#include "util/FileProc.h"
#include "util/NativeName.h"

#include "engine/TempTree.h"
#include "engine/Unprivileged.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillan::test {
namespace {

TEST(FileExists, ResolvesDotSegmentsByTheTextAndRefusesSeparatorEndsAndNul)
{
    TempTree tree;
    tree.file(QStringLiteral("page.htm"));
    tree.file(QStringLiteral("sub/inner.htm"));
    tree.symlink(QStringLiteral("alias.htm"), tree.path(QStringLiteral("page.htm")));
    tree.symlink(QStringLiteral("folder-alias"), tree.path(QStringLiteral("sub")));
    tree.byteNamedFile("caf\xE9/x.htm");
    const QString cafe = DecodeNativeName("caf\xE9");

    struct Row {
        QString relative;
        bool file;
        bool folder;
    };
    const Row rows[] = {
        {QStringLiteral("page.htm"), true, false},
        {QStringLiteral("alias.htm"), true, false},
        {QStringLiteral("sub"), false, true},
        {QStringLiteral("folder-alias"), false, true},
        {QStringLiteral("missing.htm"), false, false},
        // The text decides, not the disk: a missing folder climbed out of is
        // no obstacle.
        {QStringLiteral("nosuch/../page.htm"), true, false},
        {QStringLiteral("sub/./../sub/inner.htm"), true, false},
        {QStringLiteral("nosuch/../sub"), false, true},
        {QStringLiteral("sub/inner.htm/.."), false, true},
        {QStringLiteral("page.htm/"), false, false},
        {QStringLiteral("sub/"), false, true},
        // A name is not cut short at a NUL.
        {QStringLiteral("page.htm") + QChar(0) + QStringLiteral("x.htm"), false, false},
        {QStringLiteral("sub") + QChar(0) + QStringLiteral("x"), false, false},
        // Names the locale cannot decode are found by their bytes.
        {cafe + QStringLiteral("/x.htm"), true, false},
        {cafe, false, true},
        {DisplayName(cafe), false, false},
    };
    for (const Row &row : rows) {
        const QString path = tree.path(row.relative);
        EXPECT_EQ(FileExists(path), row.file) << DisplayName(row.relative).toStdString();
        EXPECT_EQ(FolderExists(path), row.folder) << DisplayName(row.relative).toStdString();
    }
    EXPECT_TRUE(FolderExists(QStringLiteral("  ") + tree.path(QStringLiteral("sub")) + QStringLiteral("  ")));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FolderExists(QStringLiteral("   ")));
    // Above the root is the root.
    EXPECT_TRUE(FileExists(QStringLiteral("/../..") + tree.path(QStringLiteral("page.htm"))));
}

TEST(ResolveDotSegments, ClimbsByTheTextAndKeepsWhatItCannotResolve)
{
    const std::pair<const char *, const char *> rows[] = {
        {"/a/b/../c", "/a/c"},   {"/a/./b//c/", "/a/b/c"}, {"/../x", "/x"},
        {"/a/..", "/"},          {"a/../../x", "../x"},    {"./", "."},
        {"../../x/..", "../.."}, {"/a/.hidden/..b", "/a/.hidden/..b"},
    };
    for (const auto &[path, resolved] : rows)
        EXPECT_EQ(ResolveDotSegments(QString::fromUtf8(path)), QString::fromUtf8(resolved)) << path;
}

TEST(HoldsDotSegment, FindsAOneOrTwoDotSegmentAnywhere)
{
    // Every path of up to seven units of "a", "." and "/", then each again
    // after runs of letters that carry it past a register's end, against
    // the segments the path splits into.
    const auto holdsByItsSegments = [](const QString &path) {
        const QStringList segments = path.split(u'/');
        return segments.contains(QStringLiteral(".")) || segments.contains(QStringLiteral(".."));
    };
    const char16_t units[] = {u'a', u'.', u'/'};
    for (int length = 0; length <= 7; ++length) {
        int count = 1;
        for (int k = 0; k < length; ++k)
            count *= 3;
        for (int n = 0; n < count; ++n) {
            QString tail;
            for (int k = 0, rest = n; k < length; ++k, rest /= 3)
                tail += QChar(units[rest % 3]);
            for (const int lead : {0, 6, 9, 14, 17}) {
                const QString path = (lead > 0 ? QString(lead - 1, u'b') + u'/' : QString()) + tail;
                EXPECT_EQ(HoldsDotSegment(path), holdsByItsSegments(path)) << path.toStdString();
            }
        }
    }
}

TEST(WriteLinesToFile, WritesUndecodableBytesAsTheReplacementCharacter)
{
    TempTree tree;
    // Also at the end of a line, where an encoder would carry it over.
    const QStringList lines{DecodeNativeName("caf\xE9.htm"), DecodeNativeName("r\xE9sum\xE9"),
                            QStringLiteral("café.htm")};
    ASSERT_EQ(WriteLinesToFile(tree.path(QStringLiteral("out.txt")), lines, 0, 2), QString());
    EXPECT_EQ(tree.read(QStringLiteral("out.txt")),
              QByteArray("caf\xEF\xBF\xBD.htm\r\nr\xEF\xBF\xBDsum\xEF\xBF\xBD\r\ncaf\xC3\xA9.htm\r\n"));
}

TEST(WriteBytesToFile, AFileWrittenAgainHoldsTheNewTextAloneWhateverItHeldBefore)
{
    TempTree tree;
    const QString path = tree.path(QStringLiteral("links_to.txt"));
    const QByteArray longer(100000, 'a');
    for (const QByteArray &text : {longer, QByteArray("short\r\n"), QByteArray("x"), QByteArray(),
                                   QByteArray("again\r\n"), longer}) {
        SCOPED_TRACE(text.left(10).toStdString());
        ASSERT_EQ(WriteBytesToFile(path, text), QString());
        EXPECT_EQ(tree.read(QStringLiteral("links_to.txt")), text);
    }
    // Through a link to the file, as before.
    tree.symlink(QStringLiteral("alias.txt"), path);
    ASSERT_EQ(WriteBytesToFile(tree.path(QStringLiteral("alias.txt")), "by the link"), QString());
    EXPECT_EQ(tree.read(QStringLiteral("links_to.txt")), "by the link");

    // A device takes the text and has no length to cut; a full one says so.
    EXPECT_EQ(WriteBytesToFile(QStringLiteral("/dev/null"), longer), QString());
    EXPECT_NE(WriteBytesToFile(QStringLiteral("/dev/full"), longer), QString());
    EXPECT_NE(WriteBytesToFile(tree.path(QStringLiteral("no/such/folder.txt")), "x"), QString());
}

TEST(WriteBytesToFile, AFileItsOwnerMayWriteButNotReadIsStillWrittenWhole)
{
    TempTree tree;
    tree.file(QStringLiteral("w/report.txt"), QByteArray(5000, 'o'));
    const QString path = tree.path(QStringLiteral("w/report.txt"));
    QFile::setPermissions(path, QFileDevice::WriteOwner | QFileDevice::WriteOther);
    const std::string error = RunAsUnprivileged([&] { return WriteBytesToFile(path, "new\r\n").toStdString(); });
    EXPECT_EQ(error, "");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(tree.read(QStringLiteral("w/report.txt")), "new\r\n");
}

TEST(ReadWholeFile, OpensANameByItsBytes)
{
    TempTree tree;
    tree.byteNamedFile("d\xE9j\xE0/caf\xE9.htm", "content");
    QByteArray content;
    ASSERT_TRUE(ReadWholeFile(tree.path(DecodeNativeName("d\xE9j\xE0/caf\xE9.htm")), content));
    EXPECT_EQ(content, "content");
    EXPECT_EQ(FileLength(tree.path(DecodeNativeName("d\xE9j\xE0/caf\xE9.htm"))), 7);
    EXPECT_FALSE(ReadWholeFile(tree.path(QStringLiteral("missing.htm")), content));
    EXPECT_EQ(FileLength(tree.path(QStringLiteral("missing.htm"))), -1);
}

TEST(ReadWholeFile, OneBufferTakesFilesLongerAndShorterThanItsLast)
{
    // A reading thread reads every page into one buffer.
    TempTree tree;
    const QByteArray sizes[] = {QByteArray(10, 'a'), QByteArray(70000, 'b'), QByteArray(3, 'c'),
                                QByteArray(200000, 'd') + "end", QByteArray()};
    QByteArray content = "left from before";
    for (const QByteArray &size : sizes) {
        tree.file(QStringLiteral("page.htm"), size);
        ASSERT_TRUE(ReadWholeFile(tree.path(QStringLiteral("page.htm")), content));
        EXPECT_EQ(content, size);
    }
}

TEST(ReadWholeFile, ReadsWhatCannotBeReadAtAPlaceToItsEnd)
{
    // Files are read at a place; a pipe (a settings file given as one, say)
    // has none and is read as it comes.
    TempTree tree;
    const QString path = tree.path(QStringLiteral("piped.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const QByteArray text = QByteArray(100000, 'p') + "end";
    // More than the pipe holds: a reader that gave up early leaves the
    // writer its error, not a wait without end.
    const auto oldHandler = ::signal(SIGPIPE, SIG_IGN);
    std::thread writer([&] {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
        for (qsizetype at = 0; fd >= 0 && at < text.size();) {
            const ssize_t put = ::write(fd, text.constData() + at, size_t(text.size() - at));
            if (put <= 0)
                break;
            at += put;
        }
        if (fd >= 0)
            ::close(fd);
    });
    QByteArray content = "left from before";
    const bool read = ReadWholeFile(path, content);
    writer.join();
    ::signal(SIGPIPE, oldHandler);
    ASSERT_TRUE(read);
    EXPECT_EQ(content, text);
}

TEST(OpenFolder, AnswersAsFileLengthAndReadWholeFileDo)
{
    TempTree tree;
    tree.file(QStringLiteral("d/page.htm"), "12345");
    tree.file(QStringLiteral("d/empty.htm"), "");
    tree.folder(QStringLiteral("d/sub"));
    tree.file(QStringLiteral("other/far.htm"), "123");
    tree.symlink(QStringLiteral("d/link.htm"), QStringLiteral("page.htm"));
    tree.symlink(QStringLiteral("d/dangling.htm"), QStringLiteral("nowhere.htm"));
    tree.byteNamedFile("d/caf\xE9.htm", "1234567");
    const QString folder = tree.path(QStringLiteral("d/"));
    const OpenFolder open(folder);
    for (const QString &path :
         {folder + QStringLiteral("page.htm"), folder + QStringLiteral("empty.htm"),
          folder + QStringLiteral("sub"), folder + QStringLiteral("link.htm"),
          folder + QStringLiteral("dangling.htm"), folder + QStringLiteral("missing.htm"),
          folder + DecodeNativeName("caf\xE9.htm"), tree.path(QStringLiteral("other/far.htm"))})
    {
        EXPECT_EQ(open.FileLength(path), FileLength(path)) << path.toStdString();
        QByteArray whole;
        QByteArray inFolder;
        EXPECT_EQ(open.ReadWholeFile(path, inFolder), ReadWholeFile(path, whole)) << path.toStdString();
        EXPECT_EQ(inFolder, whole) << path.toStdString();
        // Opened for its length, then read through the open file: each file
        // of the folder that is one; a path elsewhere is only measured.
        OpenedFile opened = open.Open(path);
        EXPECT_EQ(opened.Length(), FileLength(path)) << path.toStdString();
        EXPECT_EQ(opened.IsOpen(), opened.Length() >= 0 && path.startsWith(folder)) << path.toStdString();
        QByteArray read;
        const bool wasOpen = opened.IsOpen();
        EXPECT_EQ(opened.ReadWhole(read), wasOpen);
        if (wasOpen) {
            EXPECT_EQ(read, whole) << path.toStdString();
        }
        EXPECT_FALSE(opened.IsOpen()) << "closed once read";
    }
    EXPECT_EQ(open.FileLength(folder + QStringLiteral("link.htm")), 5);
    EXPECT_EQ(open.FileLength(folder + DecodeNativeName("caf\xE9.htm")), 7);

    // A folder that is not there: every path is asked as a whole.
    const OpenFolder gone(tree.path(QStringLiteral("gone/")));
    EXPECT_EQ(gone.FileLength(folder + QStringLiteral("page.htm")), 5);
    EXPECT_EQ(gone.Open(folder + QStringLiteral("page.htm")).Length(), 5);
}

int openFiles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// Folders held open from their listings are counted: past the most that may
// be, a handle is closed and the folder left to be opened again; each kept
// one opens the folder's files and is closed with it.
TEST(OpenFolder, KeepsAtMostSomeFoldersOpenAndClosesTheRest)
{
    TempTree tree;
    tree.file(QStringLiteral("d/page.htm"), "12345");
    const QString folder = tree.path(QStringLiteral("d/"));
    const QByteArray name = QFile::encodeName(folder);
    auto openHandle = [&] { return ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); };
    // Every handle, of folders too.
    auto openFiles = [] {
        return int(QDir(QStringLiteral("/proc/self/fd"))
                       .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                       .size());
    };
    const int before = openFiles();
    std::vector<std::shared_ptr<const OpenFolder>> kept;
    for (int i = 0; i < OpenFolder::kMostKept; ++i) {
        kept.push_back(OpenFolder::Keep(folder, openHandle()));
        ASSERT_NE(kept.back(), nullptr) << i;
    }
    EXPECT_EQ(openFiles(), before + OpenFolder::kMostKept);
    EXPECT_EQ(OpenFolder::Keep(folder, openHandle()), nullptr);
    EXPECT_EQ(OpenFolder::Keep(folder, -1), nullptr);
    EXPECT_EQ(openFiles(), before + OpenFolder::kMostKept);
    EXPECT_EQ(kept.back()->Open(folder + QStringLiteral("page.htm")).Length(), 5);
    kept.pop_back();
    EXPECT_NE(OpenFolder::Keep(folder, openHandle()), nullptr); // taken and dropped at once
    kept.clear();
    EXPECT_EQ(openFiles(), before);
}

TEST(OpenedFile, IsClosedOnceWhetherReadMovedOrDropped)
{
    TempTree tree;
    tree.file(QStringLiteral("d/page.htm"), "12345");
    const QString path = tree.path(QStringLiteral("d/page.htm"));
    const OpenFolder open(tree.path(QStringLiteral("d/")));
    const int before = openFiles();
    {
        OpenedFile first = open.Open(path);
        OpenedFile second = open.Open(path);
        EXPECT_EQ(openFiles(), before + 2);
        OpenedFile moved = std::move(first);
        second = std::move(moved); // the file second held is closed
        EXPECT_FALSE(first.IsOpen());
        EXPECT_FALSE(moved.IsOpen());
        EXPECT_EQ(openFiles(), before + 1);
        QByteArray content;
        EXPECT_TRUE(second.ReadWhole(content));
        EXPECT_EQ(content, "12345");
        EXPECT_EQ(openFiles(), before);
        EXPECT_FALSE(second.ReadWhole(content)) << "read once";
        OpenedFile dropped = open.Open(path);
        EXPECT_EQ(openFiles(), before + 1);
    }
    EXPECT_EQ(openFiles(), before);
}

TEST(OpenedFile, AFileThatMayNotBeReadIsNotOpenedButKeepsItsLength)
{
    TempTree tree;
    tree.file(QStringLiteral("d/secret.htm"), "1234");
    const QString path = tree.path(QStringLiteral("d/secret.htm"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    const std::string seen = RunAsUnprivileged([&] {
        const OpenFolder open(tree.path(QStringLiteral("d/")));
        OpenedFile opened = open.Open(path);
        QByteArray content;
        return std::to_string(opened.IsOpen()) + " " + std::to_string(opened.Length()) + " "
               + std::to_string(opened.ReadWhole(content));
    });
    EXPECT_EQ(seen, "0 4 0");
}

} // namespace
} // namespace quillan::test
