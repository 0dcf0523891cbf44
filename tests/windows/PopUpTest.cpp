#include "gui/WindowChecks.h"
#include "windows/Twips.h"
#include "windows/frmPopUp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace quillan::test {

namespace {

class PopUpTest : public ::testing::Test
{
protected:
    // Records what the pop-up shows once it is up, then runs `action` (by
    // default a click on the message). A pop-up still up after a few seconds
    // is closed and fails the test rather than hanging it.
    void whileShown(const std::function<void()> &action = {})
    {
        QTimer::singleShot(0, &popUp, [this, action] {
            shownModal = popUp.isVisible() && QApplication::activeModalWidget() == &popUp;
            geometry = popUp.geometry();
            labelGeometry = popUp.lblMessage->geometry();
            action ? action() : clickMessage();
        });
        QTimer::singleShot(5000, &popUp, [this] {
            EXPECT_FALSE(popUp.isVisible()) << "the pop-up did not close";
            popUp.accept();
        });
    }

    void clickMessage()
    {
        const QPoint at(2, 2);
        QMouseEvent release(QEvent::MouseButtonRelease, at, popUp.lblMessage->mapToGlobal(at),
                            Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(popUp.lblMessage, &release);
    }

    static constexpr int kLong = 600000;

    static QRect pixels(int left, int top, int width, int height)
    {
        return QRect(twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width),
                     twips::ToPixels(height));
    }

    frmPopUp popUp;
    bool shownModal = false;
    QRect geometry;      // the window, pixels
    QRect labelGeometry; // the message, pixels inside the window
};

} // namespace

TEST_F(PopUpTest, ClosesByItsTimerAndIsPlacedAsAsked)
{
    whileShown([] {}); // left to its timer
    QElapsedTimer clock;
    clock.start();
    popUp.PopUp(QStringLiteral("Saved."), 3000, 900, 5, 100, 200);
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_TRUE(shownModal);
    EXPECT_FALSE(popUp.isVisible());
    EXPECT_EQ(geometry, pixels(200, 100, 3000, 900));
}

TEST_F(PopUpTest, CentresByTheSizeTheWindowHadBeforeTheCallAndInAFormKeepsTheMessageHeight)
{
    auto centred = [](int width, int height) {
        return QPoint(
            twips::ToPixels(frmPopUp::RoundHalfToEven((twips::ScreenWidth() - width) / 2.0)),
            twips::ToPixels(frmPopUp::RoundHalfToEven((twips::ScreenHeight() - height) / 2.0)));
    };
    // First call: the design size decides the place, not the size asked for.
    whileShown();
    popUp.PopUpCenterScreen(QStringLiteral("Centre"), 2000, 380, kLong);
    EXPECT_EQ(geometry.topLeft(), centred(frmPopUp::kDesignWidth, frmPopUp::kDesignHeight));
    EXPECT_EQ(geometry.size(), pixels(0, 0, 2000, 380).size());
    // Next call: the size the first one left.
    whileShown();
    popUp.PopUpCenterScreen(QStringLiteral("Centre"), 4000, 1000, kLong);
    EXPECT_EQ(geometry.topLeft(), centred(twips::FromPixels(twips::ToPixels(2000)),
                                          twips::FromPixels(twips::ToPixels(380))));

    // In a form: placed from the form's corner; the message keeps the
    // height the last call gave it.
    QWidget form;
    form.move(twips::ToPixels(1500), twips::ToPixels(900));
    form.show();
    whileShown();
    popUp.PopUpInForm(&form, QStringLiteral("Tall"), 3000, 1500, kLong, 300, 600);
    EXPECT_EQ(geometry, pixels(600 + twips::Left(&form), 300 + twips::Top(&form), 3000, 1500));
    EXPECT_EQ(labelGeometry.size(), pixels(0, 0, 3000, 1000).size());
}

// At every font size a user may choose.
class PopUpLayoutTest : public ::testing::TestWithParam<qreal>
{
protected:
    ApplicationFontSize font{GetParam()};
};

TEST_P(PopUpLayoutTest, KeepsItsPlaceAndGrowsOnlyWhereTheMessageNeedsIt)
{
    frmPopUp popUp;
    QRect shown;
    QRect message;
    bool fits = false;
    QTimer::singleShot(0, &popUp, [&] {
        shown = popUp.geometry();
        message = popUp.lblMessage->geometry();
        ExpectWellLaidOut(&popUp);
        fits = popUp.lblMessage->heightForWidth(popUp.lblMessage->width())
               <= popUp.lblMessage->height();
        popUp.lblMessage_MouseUp();
    });
    // The program's one pop-up: its message and size; a place beyond 16 bits.
    popUp.PopUp(QStringLiteral("Settings saved."), 2000, 380, 600000, 40000, 50000);
    EXPECT_TRUE(fits);
    EXPECT_EQ(message, QRect(QPoint(0, 0), shown.size())) << "the message fills the window";
    EXPECT_EQ(shown.topLeft(), QPoint(twips::ToPixels(50000), twips::ToPixels(40000)));
    EXPECT_GE(shown.width(), twips::ToPixels(2000));
    EXPECT_GE(shown.height(), twips::ToPixels(380));
    if (GetParam() == 0) { // at the desktop's font the caller's size stands
        EXPECT_EQ(shown.size(), QSize(twips::ToPixels(2000), twips::ToPixels(380)));
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, PopUpLayoutTest, kFontSizes, FontSizeName);

} // namespace quillan::test
