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

struct Seen {
    bool shown = false;
    QRect geometry;      // the window, pixels
    QRect labelGeometry; // the message, pixels inside the window
    QString text;
};

class PopUpTest : public ::testing::Test
{
protected:
    // Runs `action` once the modal pop-up is up, after recording what it
    // shows. A pop-up still up after a few seconds is closed and fails the
    // test rather than hanging it.
    void whileShown(const std::function<void()> &action)
    {
        QTimer::singleShot(0, &popUp, [this, action] {
            seen.shown = popUp.isVisible();
            seen.geometry = popUp.geometry();
            seen.labelGeometry = popUp.lblMessage->geometry();
            seen.text = popUp.lblMessage->text();
            action();
        });
        QTimer::singleShot(5000, &popUp, [this] {
            if (popUp.isVisible()) {
                ADD_FAILURE() << "the pop-up did not close";
                popUp.accept();
            }
        });
    }

    void releaseMouseOver(QWidget *widget, QPoint at)
    {
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at),
                            Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }

    void clickMessage() { releaseMouseOver(popUp.lblMessage, QPoint(2, 2)); }

    // A pop-up that would stay for minutes, clicked away as soon as it is up.
    void popUpAndClick(const QString &message, int width, int height, int top, int left)
    {
        whileShown([this] { clickMessage(); });
        popUp.PopUp(message, width, height, kLong, top, left);
    }

    static constexpr int kLong = 600000;

    static QRect pixels(int left, int top, int width, int height)
    {
        return QRect(twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width),
                     twips::ToPixels(height));
    }

    frmPopUp popUp;
    Seen seen;
};

} // namespace

TEST_F(PopUpTest, ClosesByItselfWhenItsTimeIsUp)
{
    whileShown([] {});
    QElapsedTimer clock;
    clock.start();
    popUp.PopUp(QStringLiteral("Settings saved."), 2000, 380, 5, 1000, 1000);
    EXPECT_TRUE(seen.shown);
    EXPECT_FALSE(popUp.isVisible());
    EXPECT_FALSE(popUp.Timer1->isActive());
    EXPECT_LT(clock.elapsed(), 4000);
}

TEST_F(PopUpTest, ClosesAtOnceWhenTheMessageIsClicked)
{
    popUpAndClick(QStringLiteral("Settings saved."), 2000, 380, 1000, 1000);
    EXPECT_TRUE(seen.shown);
    EXPECT_FALSE(popUp.isVisible());
    EXPECT_FALSE(popUp.Timer1->isActive());
}

TEST_F(PopUpTest, TakesPositionsBeyondSixteenBits)
{
    popUpAndClick(QStringLiteral("Far away"), 2000, 380, 40000, 50000);
    EXPECT_EQ(seen.geometry.topLeft(), QPoint(twips::ToPixels(50000), twips::ToPixels(40000)));
}

TEST_F(PopUpTest, PlacesEachPopUpByItsOwnCallAndLetsTheMessageFillIt)
{
    popUpAndClick(QStringLiteral("First"), 3000, 900, 100, 200);
    EXPECT_EQ(seen.geometry, pixels(200, 100, 3000, 900));
    popUpAndClick(QStringLiteral("Second"), 2000, 380, 1200, 2400);
    EXPECT_EQ(seen.text, QStringLiteral("Second"));
    EXPECT_EQ(seen.geometry, pixels(2400, 1200, 2000, 380));
    EXPECT_EQ(seen.labelGeometry, pixels(0, 0, 2000, 380));
}

TEST_F(PopUpTest, CentresByTheSizeTheWindowHadBeforeTheCall)
{
    const int screenWidth = twips::ScreenWidth();
    const int screenHeight = twips::ScreenHeight();
    auto centred = [&](int width, int height) {
        return QPoint(
            twips::ToPixels(frmPopUp::RoundHalfToEven((screenWidth - width) / 2.0)),
            twips::ToPixels(frmPopUp::RoundHalfToEven((screenHeight - height) / 2.0)));
    };

    // First call: the design size decides the place, not the size asked for.
    whileShown([this] { clickMessage(); });
    popUp.PopUpCenterScreen(QStringLiteral("Centre"), 2000, 380, kLong);
    EXPECT_EQ(seen.geometry.topLeft(),
              centred(frmPopUp::kDesignWidth, frmPopUp::kDesignHeight));
    EXPECT_EQ(seen.geometry.size(), pixels(0, 0, 2000, 380).size());

    // Next call: the size the first one left.
    whileShown([this] { clickMessage(); });
    popUp.PopUpCenterScreen(QStringLiteral("Centre"), 4000, 1000, kLong);
    EXPECT_EQ(seen.geometry.topLeft(),
              centred(twips::FromPixels(twips::ToPixels(2000)),
                      twips::FromPixels(twips::ToPixels(380))));
}

TEST_F(PopUpTest, InAFormMeasuresFromTheFormAndKeepsTheMessageHeight)
{
    QWidget form;
    form.move(twips::ToPixels(1500), twips::ToPixels(900));
    form.resize(300, 200);
    form.show();

    popUpAndClick(QStringLiteral("Short"), 2000, 380, 0, 0);

    bool stillUpAfterClickBelow = false;
    bool clickBelowLandsOnWindow = false;
    whileShown([&] {
        const QPoint below(5, popUp.lblMessage->height() + 5);
        clickBelowLandsOnWindow = popUp.childAt(below) == nullptr;
        releaseMouseOver(&popUp, below);
        stillUpAfterClickBelow = popUp.isVisible();
        clickMessage();
    });
    popUp.PopUpInForm(&form, QStringLiteral("Tall"), 3000, 1500, kLong, 300, 600);

    EXPECT_EQ(seen.geometry.topLeft(),
              QPoint(twips::ToPixels(600 + twips::Left(&form)),
                     twips::ToPixels(300 + twips::Top(&form))));
    EXPECT_EQ(seen.geometry.size(), pixels(0, 0, 3000, 1500).size());
    EXPECT_EQ(seen.labelGeometry.size(), QSize(twips::ToPixels(3000), twips::ToPixels(380)));
    EXPECT_TRUE(clickBelowLandsOnWindow);
    EXPECT_TRUE(stillUpAfterClickBelow);
    EXPECT_FALSE(popUp.isVisible());
}

} // namespace quillan::test
