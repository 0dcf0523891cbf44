#include "windows/CheckBoxValue.h"

#include <QCheckBox>

namespace quillan {

int CheckBoxValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

void SetCheckBoxValue(QCheckBox *box, int value)
{
    if (value == 2) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        return;
    }
    box->setTristate(false);
    box->setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
}

} // namespace quillan
