#include "windows/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace quillan::twips {

namespace {

double dotsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

int ToPixels(int twips)
{
    return int(std::lround(twips * dotsPerInch() / 1440.0));
}

int FromPixels(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dotsPerInch()));
}

void SetGeometry(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

int Left(const QWidget *widget)
{
    return FromPixels(widget->x());
}

int Top(const QWidget *widget)
{
    return FromPixels(widget->y());
}

// A window's size counts its frame, as its position does; a control's is
// its own.
int Width(const QWidget *widget)
{
    return FromPixels(widget->isWindow() ? widget->frameGeometry().width() : widget->width());
}

int Height(const QWidget *widget)
{
    return FromPixels(widget->isWindow() ? widget->frameGeometry().height() : widget->height());
}

void Move(QWidget *widget, int left, int top)
{
    widget->move(ToPixels(left), ToPixels(top));
}

void Resize(QWidget *widget, int width, int height)
{
    int frameWidth = 0;
    int frameHeight = 0;
    if (widget->isWindow()) {
        frameWidth = widget->frameGeometry().width() - widget->width();
        frameHeight = widget->frameGeometry().height() - widget->height();
    }
    widget->resize(qMax(ToPixels(width) - frameWidth, 1), qMax(ToPixels(height) - frameHeight, 1));
}

int ScreenWidth()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? FromPixels(screen->geometry().width()) : 0;
}

int ScreenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? FromPixels(screen->geometry().height()) : 0;
}

} // namespace quillan::twips
