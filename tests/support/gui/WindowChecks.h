#pragma once
// What a user would see wrong with a laid-out window, each fault as one line
// naming the control: text cut by its own size or by the edges of what holds
// it, sibling controls lying over each other, controls that assistive
// technology cannot name, labels that it reads differently from what they
// show. Only controls shown on the screen count.

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

class QFont;
class QWidget;

class QAbstractButton;

namespace quillan::test
{

QStringList CutTexts(const QWidget *window);
QStringList OverlappingControls(const QWidget *window);
QStringList UnnamedControls(const QWidget *window);

// Fails the running test for every fault of the three kinds above.
void ExpectWellLaidOut(const QWidget *window);

// The application's font at `points` (0: as the desktop gives it), set for
// the life of the object: windows made meanwhile take it.
class ApplicationFontSize
{
public:
    explicit ApplicationFontSize(qreal points);
    ~ApplicationFontSize();
    ApplicationFontSize(const ApplicationFontSize &) = delete;
    ApplicationFontSize &operator=(const ApplicationFontSize &) = delete;

private:
    QFont *saved_;
};

// Waits until `window` is on the screen and, under a window manager, framed
// (the frame comes a moment after the window); fails the test when a window
// manager never frames it.
void WaitForFrame(QWidget *window);

// Lets the windows take the sizes they asked for: a window manager answers a
// resize a moment later, and the layout that follows it runs then.
void LetTheDesktopAnswer();

// The font sizes the layout tests run at, in points (0: the desktop's own),
// and the names their cases take.
inline const auto kFontSizes = ::testing::Values(0.0, 8.0, 13.0, 16.0, 20.0, 24.0);
std::string FontSizeName(const ::testing::TestParamInfo<qreal> &info);

// The controls that Tab visits, in order, starting from `first`, until the
// chain comes round again.
QList<QWidget *> TabChain(QWidget *first);

// Clicks a check box where a user clicks it, on its tick square: a box laid
// out wider than its text takes no click in the empty space to its right.
void ClickCheckBox(QAbstractButton *box);

} // namespace quillan::test
