#pragma once
// Enter (or Return) on a focused button presses it, as Space does and as on
// every desktop. A button in a plain window, or one kept from becoming a
// dialog's default, would otherwise let the key go by.

class QPushButton;
class QWidget;

namespace quillan
{

void PressOnEnter(QPushButton *button);

// Every button of `window` made so far.
void PressOnEnterInside(QWidget *window);

} // namespace quillan
