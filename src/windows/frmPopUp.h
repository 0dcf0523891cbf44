#pragma once
// A small window that shows a short message for a while and then goes, or
// goes at once when the user clicks the message. Every call is modal: it
// returns once the window has closed again. Positions and sizes are in twips;
// positions are screen coordinates and may lie beyond 16-bit range. A message
// that needs more room than its caller gave it (a large font) makes the
// window grow, from the same top left corner.

#include <QDialog>

class QLabel;
class QTimer;

namespace quillan {

class frmPopUp : public QDialog
{
    Q_OBJECT

public:
    // Size before the first call (the centring rule measures it).
    static constexpr int kDesignWidth = 3525;
    static constexpr int kDesignHeight = 2025;
    static constexpr int kDesignMessageWidth = 3360;
    static constexpr int kDesignMessageHeight = 1740;

    explicit frmPopUp(QWidget *parent = nullptr);

    // Shows the message in a window of intWidth x intHeight whose top left
    // corner lies at (intLeft, intTop) on the screen, for intInterval ms. The
    // message fills the window.
    void PopUp(const QString &strMessage, int intWidth, int intHeight, int intInterval, int intTop,
               int intLeft);

    // As PopUp, centred on the screen by the size the window has before the
    // call (not the size asked for).
    void PopUpCenterScreen(const QString &strMessage, int intWidth, int intHeight,
                           int intInterval);

    // As PopUp, with the position measured from frmMe's top left corner. The
    // message takes the new width but keeps its height.
    void PopUpInForm(const QWidget *frmMe, const QString &strMessage, int intWidth, int intHeight,
                     int intInterval, int intTop, int intLeft);

    void Timer1_Timer();
    void lblMessage_MouseUp();

    QLabel *lblMessage = nullptr;
    QTimer *Timer1 = nullptr;

    // Half a unit goes to the even neighbour, as the classic integer
    // conversion rounds.
    static int RoundHalfToEven(double value);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyMessageFont();
    void growToMessage();
    void showFor(int intInterval);
};

} // namespace quillan
