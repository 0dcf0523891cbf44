#include "windows/frmPopUp.h"

#include "windows/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace quillan {

namespace {

const QColor kMessageColour(0, 0, 192);
const QColor kBorderColour(128, 128, 128);

} // namespace

frmPopUp::frmPopUp(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmPopUp"));
    setModal(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setAlignment(Qt::AlignCenter);
    lblMessage->setWordWrap(true);
    QPalette labelPalette = lblMessage->palette();
    labelPalette.setColor(QPalette::WindowText, kMessageColour);
    lblMessage->setPalette(labelPalette);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    lblMessage->setFont(font);
    lblMessage->installEventFilter(this);
    twips::SetGeometry(lblMessage, 0, 0, kDesignMessageWidth, kDesignMessageHeight);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmPopUp::Timer1_Timer);

    twips::Resize(this, kDesignWidth, kDesignHeight);
}

void frmPopUp::PopUp(const QString &strMessage, int intWidth, int intHeight, int intInterval,
                     int intTop, int intLeft)
{
    lblMessage->setText(strMessage);
    twips::Resize(this, intWidth, intHeight);
    twips::SetGeometry(lblMessage, 0, 0, intWidth, intHeight);
    twips::Move(this, intLeft, intTop);
    showFor(intInterval);
}

void frmPopUp::PopUpCenterScreen(const QString &strMessage, int intWidth, int intHeight,
                                 int intInterval)
{
    const int top = RoundHalfToEven((twips::ScreenHeight() - twips::Height(this)) / 2.0);
    const int left = RoundHalfToEven((twips::ScreenWidth() - twips::Width(this)) / 2.0);
    PopUp(strMessage, intWidth, intHeight, intInterval, top, left);
}

void frmPopUp::PopUpInForm(const QWidget *frmMe, const QString &strMessage, int intWidth,
                           int intHeight, int intInterval, int intTop, int intLeft)
{
    twips::Move(this, intLeft + twips::Left(frmMe), intTop + twips::Top(frmMe));
    lblMessage->setText(strMessage);
    twips::Resize(this, intWidth, intHeight);
    lblMessage->resize(twips::ToPixels(intWidth), lblMessage->height());
    showFor(intInterval);
}

void frmPopUp::showFor(int intInterval)
{
    Timer1->start(qMax(intInterval, 0));
    exec();
}

void frmPopUp::Timer1_Timer()
{
    Timer1->stop();
    accept();
}

void frmPopUp::lblMessage_MouseUp()
{
    Timer1->stop();
    accept();
}

int frmPopUp::RoundHalfToEven(double value)
{
    // The default floating-point rounding mode is to nearest, ties to even.
    return int(std::nearbyint(value));
}

bool frmPopUp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblMessage && event->type() == QEvent::MouseButtonRelease)
        lblMessage_MouseUp();
    return QDialog::eventFilter(watched, event);
}

void frmPopUp::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // No title bar, only a thin border.
    QPainter painter(this);
    painter.setPen(kBorderColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace quillan
