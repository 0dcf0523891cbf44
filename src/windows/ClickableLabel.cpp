#include "windows/ClickableLabel.h"

#include <QMouseEvent>

namespace quillan {

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace quillan
