#pragma once
// A label that acts on a mouse click, for the web-link labels.

#include <QLabel>

namespace quillan {

class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace quillan
