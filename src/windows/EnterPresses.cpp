#include "windows/EnterPresses.h"

#include <QKeyEvent>
#include <QPushButton>

namespace quillan
{

namespace
{

class EnterPresser : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<const QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto *button = static_cast<QPushButton *>(watched);
        // A held key presses once.
        if (!key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void PressOnEnter(QPushButton *button)
{
    button->installEventFilter(new EnterPresser(button));
}

void PressOnEnterInside(QWidget *window)
{
    const auto buttons = window->findChildren<QPushButton *>();
    for (QPushButton *button : buttons)
        PressOnEnter(button);
}

} // namespace quillan
