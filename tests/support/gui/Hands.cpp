#include "gui/Hands.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillan::test
{

void PressByAssistiveTechnology(QWidget *control)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
    ASSERT_TRUE(face && face->actionInterface()) << control->metaObject()->className();
    const QString press = QAccessibleActionInterface::pressAction();
    ASSERT_TRUE(face->actionInterface()->actionNames().contains(press))
        << control->metaObject()->className();
    face->actionInterface()->doAction(press);
    const auto *button = qobject_cast<const QAbstractButton *>(control);
    for (int i = 0; button && button->isDown() && i < 1000; ++i)
        QTest::qWait(5);
    if (button) {
        EXPECT_FALSE(button->isDown()) << "the press never ended";
    }
}

void TurnWheel(QWidget *control, int notches)
{
    const QPoint at = control->rect().center();
    for (int i = 0; i < qAbs(notches); ++i) {
        QWheelEvent event(at, control->mapToGlobal(at), QPoint(),
                          QPoint(0, notches > 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &event);
    }
}

const std::vector<ButtonPress> &EveryWayOfPressing()
{
    static const std::vector<ButtonPress> ways{
        [](QPushButton *button) {
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, Qt::Key_Return);
        },
        [](QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); },
        [](QPushButton *button) { PressByAssistiveTechnology(button); }};
    return ways;
}

} // namespace quillan::test
