#pragma once
// The ways a user reaches a control other than a plain click: a screen
// reader's press action (which leaves the keyboard focus where it was) and
// the mouse wheel.

#include <functional>
#include <vector>

class QPushButton;
class QWidget;

namespace quillan::test
{

// Runs the control's press action as assistive technology does and waits
// until the press is over (a button shows itself pressed for a moment
// before it acts). Fails the test when the control offers no press action.
void PressByAssistiveTechnology(QWidget *control);

// Turns the wheel over the middle of `control` by `notches` (positive away
// from the user, negative towards), one event per notch, as a mouse sends
// them.
void TurnWheel(QWidget *control, int notches);

// The ways a user presses a button: Enter while it has the focus, a click,
// and the press action.
using ButtonPress = std::function<void(QPushButton *)>;
const std::vector<ButtonPress> &EveryWayOfPressing();

} // namespace quillan::test
