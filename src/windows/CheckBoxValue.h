#pragma once
// A check box's value as the program stores it: 0 unticked, 1 ticked,
// 2 greyed (Qt numbers these states differently).

class QCheckBox;

namespace quillan {

int CheckBoxValue(const QCheckBox *box);
// Sets 0, 1 or 2; a greyed box becomes tri-state.
void SetCheckBoxValue(QCheckBox *box, int value);

} // namespace quillan
