#include "gui/MainWindowTest.h"
#include "windows/ApplicationIcon.h"
#include "windows/frmSelectSubfolders.h"
#include "windows/frmView.h"

#include <QApplication>
#include <QPushButton>

namespace quillan::test {

TEST(ApplicationIcon, HoldsEveryRenderedSizeInTheProgram)
{
    const QIcon icon = ApplicationIcon();
    for (int size : kApplicationIconSizes) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        EXPECT_EQ(pixmap.size(), QSize(size, size)) << size;
        // Drawn, not an empty square: the corner is clear, the middle is not.
        const QImage image = pixmap.toImage();
        EXPECT_EQ(qAlpha(image.pixel(0, size - 1)), 0) << size;
        EXPECT_GT(qAlpha(image.pixel(size / 2, size / 2)), 0) << size;
    }
}

class ApplicationIconWindowsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        QApplication::setWindowIcon(ApplicationIcon());
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        QApplication::setWindowIcon(QIcon());
    }
};

TEST_F(ApplicationIconWindowsTest, IsTheIconOfTheMainWindowAndOfEveryWindowItOpens)
{
    start();
    const qint64 appIcon = QApplication::windowIcon().cacheKey();
    EXPECT_EQ(window->windowIcon().cacheKey(), appIcon);
    window->cmdHelp->click();
    EXPECT_EQ(window->view()->windowIcon().cacheKey(), appIcon);
    EXPECT_EQ(window->selectSubfolders()->windowIcon().cacheKey(), appIcon);
}

} // namespace quillan::test
