#pragma once
// A list of actions (a combo box whose every pick runs a command) that the
// mouse wheel cannot run. Over a list without the focus the wheel changes
// nothing, so scrolling the window past it is harmless; over the focused
// list it moves the choice, which then waits for its button. The wheel
// never gives the list the focus.

class QComboBox;

namespace quillan
{

void KeepWheelFromRunningEntries(QComboBox *list);

} // namespace quillan
