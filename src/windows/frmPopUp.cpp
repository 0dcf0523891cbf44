#include "windows/frmPopUp.h"

#include "windows/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace quillan {

namespace {

const QColor kMessageColour(0, 0, 192);
const QColor kBorderColour(128, 128, 128);
constexpr qreal kMessagePoints = 9.75;

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
    applyMessageFont();
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
    growToMessage();
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
    growToMessage();
    showFor(intInterval);
}

void frmPopUp::applyMessageFont()
{
    // Bold, and never smaller than the text of the other windows.
    QFont messageFont(QStringLiteral("Tahoma"));
    const qreal points = font().pointSizeF();
    messageFont.setPointSizeF(qMax(kMessagePoints, points));
    messageFont.setBold(true);
    lblMessage->setFont(messageFont);
}

void frmPopUp::growToMessage()
{
    // The caller's size is meant for its message at the design font. Where
    // the message needs more (a larger font, a longer wording), the message
    // grows to its longest word and to its wrapped lines, and the window with
    // it; the top left corner stays where the caller put it.
    const QFontMetrics metrics = lblMessage->fontMetrics();
    const QMargins margins = lblMessage->contentsMargins();
    int longestWord = 0;
    const QStringList words = lblMessage->text().split(QRegularExpression(QStringLiteral("\\s+")),
                                                       Qt::SkipEmptyParts);
    for (const QString &word : words)
        longestWord = qMax(longestWord, metrics.horizontalAdvance(word));
    // The label's own least width measures a word by its ink, which at some
    // sizes reaches a pixel beyond its advance.
    const int width = std::max({lblMessage->width(),
                            longestWord + margins.left() + margins.right() + 2 * lblMessage->margin(),
                            lblMessage->minimumSizeHint().width()});
    const int height = qMax(lblMessage->height(), lblMessage->heightForWidth(width));
    lblMessage->resize(width, height);
    const QRect message = lblMessage->geometry();
    resize(qMax(this->width(), message.right() + 1), qMax(this->height(), message.bottom() + 1));
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

void frmPopUp::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange && lblMessage)
        applyMessageFont();
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
