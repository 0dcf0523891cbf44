#include "gui/MainWindowTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace quillan::test {

void MainWindowTest::SetUp()
{
    // Every test starts as on a new machine: no settings, no reports.
    QDir(dataFolder()).removeRecursively();
    window = std::make_unique<frmMain>(fake, programFolder());
    window->setEventInterval(0);
}

void MainWindowTest::TearDown()
{
    window.reset();
    GuiTest::TearDown();
    QDir(dataFolder()).removeRecursively();
}

void MainWindowTest::start(bool expectLoaded)
{
    ASSERT_EQ(window->Form_Load(), expectLoaded);
}

QString MainWindowTest::dataFolder()
{
    return QDir::toNativeSeparators(
               QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
           + QDir::separator() + QStringLiteral("Quillan");
}

QString MainWindowTest::dataFile(const QString &name)
{
    return dataFolder() + QDir::separator() + name;
}

QString MainWindowTest::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace quillan::test
