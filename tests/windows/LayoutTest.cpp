// The selection window and the pop-up at every font size a user may choose:
// every text shows whole, nothing lies over anything else, everything can
// be named by assistive technology, and the layout rules still hold.

#include "engine/TempTree.h"
#include "gui/FakeInteraction.h"
#include "gui/WindowChecks.h"
#include "windows/Twips.h"
#include "windows/frmPopUp.h"
#include "windows/frmSelectSubfolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace quillan::test
{
namespace
{

// 0 stands for the desktop's own font.
class WindowLayoutTest : public GuiTest, public ::testing::WithParamInterface<qreal>
{
protected:
    ApplicationFontSize font{GetParam()};
};

TEST_P(WindowLayoutTest, SelectionWindowOnTwentySubfoldersKeepsItsArrangement)
{
    TempTree tree;
    for (int i = 0; i < 20; ++i)
        tree.file(QStringLiteral("section%1/page.htm").arg(i, 2, 10, QLatin1Char('0')));
    tree.file(QString(100, u'n') + QStringLiteral("/page.htm")); // a shortened caption
    frmSelectSubfolders window(fake);
    window.setEventInterval(0);
    window.strCaption = QStringLiteral("Select top subfolders to exclude from the scan");
    window.strTopFolder = tree.root();
    window.intMaxNumCheckboxes = 13;
    window.blnOmitTotalFilesize = true;
    twips::Resize(&window, 8650, 5000);
    window.show();
    window.Form_Activate();
    ASSERT_FALSE(window.isBusy());
    ExpectWellLaidOut(&window);

    // The rows are as high as the first check box, the window as high as
    // they are and its allowance below them, which holds at least the design
    // 1400 twips.
    const int row = twips::Height(window.chkSubfolder[0]);
    EXPECT_GE(row, frmSelectSubfolders::kRowHeight);
    for (int k = 1; k < 13; ++k)
        EXPECT_EQ(window.chkSubfolder[k]->y(), window.chkSubfolder[k - 1]->geometry().bottom() + 1);
    EXPECT_NEAR(twips::Height(window.picSubfolders), 13 * row, 15 * 13);
    EXPECT_GE(twips::Height(&window) - twips::Height(window.picSubfolders), 1400 - 15);

    // The buttons in one row 700 twips above the bottom; the summary midway
    // between the rows and the buttons; Cancel's right edge under the rows'.
    QPushButton *selectAll = window.cmdSelectDeselectAllSubfolders[1];
    for (QWidget *button :
         {static_cast<QWidget *>(window.cmdSelectDeselectAllSubfolders[0]),
          static_cast<QWidget *>(window.cmdAccept), static_cast<QWidget *>(window.cmdCancel)})
        EXPECT_EQ(button->y(), selectAll->y());
    EXPECT_NEAR(twips::Height(&window) - twips::Top(selectAll) - twips::Height(selectAll), 700, 15);
    EXPECT_NEAR(twips::Top(window.lblNumSubfolders),
                (twips::Top(window.picSubfolders) + twips::Height(window.picSubfolders) +
                 twips::Top(window.cmdCancel)) /
                    2,
                15);
    EXPECT_LE(window.picSubfolders->geometry().bottom(), window.lblNumSubfolders->y());

    // The longest summaries fit as well as the first.
    selectAll->click();
    ExpectWellLaidOut(&window);
    window.chkSubfolder[0]->click();
    window.vsbScrollBar->setValue(window.vsbScrollBar->maximum());
    EXPECT_EQ(window.lblNumSubfolders->text(), QStringLiteral("20 selected (of 21)."));
    ExpectWellLaidOut(&window);
}

TEST_P(WindowLayoutTest, PopUpKeepsItsPlaceAndGrowsOnlyWhereTheMessageNeedsIt)
{
    frmPopUp popUp;
    QRect shown;
    bool fits = false;
    QTimer::singleShot(0, &popUp, [&] {
        shown = popUp.geometry();
        ExpectWellLaidOut(&popUp);
        fits = popUp.lblMessage->heightForWidth(popUp.lblMessage->width()) <=
               popUp.lblMessage->height();
        popUp.lblMessage_MouseUp();
    });
    // The program's one pop-up: its message, size and place.
    popUp.PopUp(QStringLiteral("Settings saved."), 2000, 380, 600000, 3000, 4000);
    EXPECT_TRUE(fits);
    EXPECT_EQ(shown.topLeft(), QPoint(twips::ToPixels(4000), twips::ToPixels(3000)));
    EXPECT_GE(shown.width(), twips::ToPixels(2000));
    EXPECT_GE(shown.height(), twips::ToPixels(380));
    if (GetParam() == 0) { // at the desktop's font the caller's size stands
        EXPECT_EQ(shown.size(), QSize(twips::ToPixels(2000), twips::ToPixels(380)));
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, WindowLayoutTest, ::testing::Values(0.0, 8.0, 13.0, 16.0),
                         [](const ::testing::TestParamInfo<qreal> &info) {
                             return info.param == 0 ? std::string("Desktop")
                                                    : std::to_string(int(info.param)) + "pt";
                         });

} // namespace
} // namespace quillan::test
