#pragma once
// A label that acts like a link: a click of the left mouse button (a double
// click counts once), or Enter or Space while it has the keyboard focus,
// opens it; other buttons do nothing. It takes the focus by Tab and shows it
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
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // A left press on the link waits for its release; the second press of
    // a double click does not.
    bool pressed_ = false;
};

} // namespace quillan
