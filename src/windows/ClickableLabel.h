#pragma once
// A label that acts like a link: a mouse click, or Enter or Space while it
// has the keyboard focus, opens it. It takes the focus by Tab and shows it
// with a focus frame; assistive technology sees a link named by its text,
// with a press action.

#include <QLabel>

namespace quillan
{

class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace quillan
