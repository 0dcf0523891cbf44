// Lays the program out under a temporary prefix with `cmake --install`, as a
// user installing from source does, and tries the tree: where every file
// lies, the installed program, the desktop entry and the metainfo file.

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace quillan::test {

namespace {

const QString kAppId = QStringLiteral(QUILLAN_APP_ID);
const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QString text(QProcess &process)
{
    return QString::fromLocal8Bit(process.readAll());
}

} // namespace

class InstalledTree : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        prefix_ = new QTemporaryDir;
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        // Every rule of the project leaves its component unnamed; naming it
        // keeps the build's install_manifest.txt, which lists a real install.
        install.start(QStringLiteral(QUILLAN_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(QUILLAN_BUILD_DIR),
                       QStringLiteral("--component"), QStringLiteral("Unspecified"),
                       QStringLiteral("--prefix"), prefix_->path()});
        installed_ = install.waitForFinished(120000) && install.exitStatus() == QProcess::NormalExit
                     && install.exitCode() == 0;
        installOutput_ = new QString(text(install));
    }

    static void TearDownTestSuite()
    {
        delete prefix_;
        prefix_ = nullptr;
        delete installOutput_;
        installOutput_ = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(installed_) << installOutput_->toStdString(); }

    static QString path(const QString &relative) { return prefix_->path() + u'/' + relative; }

    // Runs a validator on an installed file; skips where the tool is missing.
    void validate(const QString &tool, const QStringList &arguments)
    {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed";
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool, arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString output = text(process);
        EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
        EXPECT_FALSE(output.contains(QStringLiteral("warning"), Qt::CaseInsensitive))
            << output.toStdString();
    }

private:
    static inline QTemporaryDir *prefix_ = nullptr;
    static inline bool installed_ = false;
    static inline QString *installOutput_ = nullptr;
};

using InstallTest = InstalledTree;
using InstallValidation = InstalledTree;

TEST_F(InstallTest, PutsEveryFileInItsStandardPlace)
{
    QStringList expected = {
        QStringLiteral("bin/quillan"),
        QStringLiteral("share/quillan/qln.dat"),
        QStringLiteral("share/quillan/qln-help.txt"),
        QStringLiteral("share/applications/%1.desktop").arg(kAppId),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId),
        QStringLiteral("share/man/man1/quillan.1.gz"),
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kAppId),
        QStringLiteral("share/doc/quillan/copyright"),
        QStringLiteral("share/doc/quillan/changelog.gz"),
    };
    for (int size : kIconSizes) {
        const QString png = QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId);
        expected << png;
        EXPECT_EQ(QImageReader(path(png)).size(), QSize(size, size)) << png.toStdString();
    }
    for (const QString &file : expected)
        EXPECT_TRUE(QFileInfo(path(file)).isFile()) << file.toStdString();
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("bin/quillan"))).isExecutable());

    // Nothing strays elsewhere (other programs of the project may add their
    // own files to bin/ and man1/), and no test program or benchmark ships.
    const QStringList places = {
        QStringLiteral("bin/"), QStringLiteral("share/quillan/"),
        QStringLiteral("share/applications/"), QStringLiteral("share/metainfo/"),
        QStringLiteral("share/man/man1/"), QStringLiteral("share/icons/hicolor/"),
        QStringLiteral("share/doc/quillan/"),
    };
    const QDir root(path(QString()));
    QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = root.relativeFilePath(it.next());
        EXPECT_TRUE(std::any_of(places.begin(), places.end(),
                                [&file](const QString &place) { return file.startsWith(place); }))
            << file.toStdString();
        EXPECT_FALSE(it.fileName().startsWith(QStringLiteral("test_"))
                     || it.fileName().contains(QStringLiteral("bench")))
            << file.toStdString();
    }
}

TEST_F(InstallTest, DesktopEntryStartsTheInstalledProgramWithTheInstalledIcon)
{
    QFile entry(path(QStringLiteral("share/applications/%1.desktop").arg(kAppId)));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QString exec;
    QString icon;
    for (const QByteArray &line : entry.readAll().split('\n')) {
        if (line.startsWith("Exec="))
            exec = QString::fromUtf8(line.mid(5));
        else if (line.startsWith("Icon="))
            icon = QString::fromUtf8(line.mid(5));
    }
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("bin/") + exec)).isExecutable()) << exec.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(icon))))
        << icon.toStdString();
}

// The program finds its texts in share/quillan (nothing lies beside it in
// bin/), brings its window up offscreen and, sent SIGTERM as a session that
// ends sends it, quits as its Quit button does. Its data folder appears once
// the texts are read and the settings set up; from then on the signal is
// handled.
TEST_F(InstallTest, ProgramStartsFromThePrefixAndQuitsWhenAskedToEnd)
{
    ASSERT_FALSE(QFileInfo::exists(path(QStringLiteral("bin/qln.dat"))));
    QTemporaryDir home;
    const QString dataFolder = home.path() + QStringLiteral("/data/Quillan");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(path(QStringLiteral("bin/quillan")), {});
    ASSERT_TRUE(program.waitForStarted());
    const QDeadlineTimer deadline(30000);
    while (!QFileInfo::exists(dataFolder) && !deadline.hasExpired()
           && !program.waitForFinished(20)) {
    }
    ASSERT_EQ(program.state(), QProcess::Running) << text(program).toStdString();
    ASSERT_TRUE(QFileInfo::exists(dataFolder));

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(30000));
    const QString output = text(program);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(program.exitCode(), 0) << output.toStdString();
}

TEST_F(InstallValidation, DesktopEntryPassesDesktopFileValidate)
{
    validate(QStringLiteral("desktop-file-validate"),
             {path(QStringLiteral("share/applications/%1.desktop").arg(kAppId))});
}

TEST_F(InstallValidation, MetainfoPassesAppstreamValidate)
{
    validate(QStringLiteral("appstreamcli"),
             {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"),
              path(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId))});
}

} // namespace quillan::test
