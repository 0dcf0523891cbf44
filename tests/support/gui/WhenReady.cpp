#include "gui/WhenReady.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillan::test {

void WhenReady(QDialog *dialog, std::function<bool()> ready, std::function<void()> act, int tries)
{
    QTimer::singleShot(0, dialog, [=] {
        if (ready()) {
            act();
        } else if (tries > 0) {
            WhenReady(dialog, ready, act, tries - 1);
        } else {
            ADD_FAILURE() << "the window never became ready";
            dialog->reject();
        }
    });
}

} // namespace quillan::test
