#pragma once
// Window geometry in twips (1/1440 inch), as the program's layout rules are
// written, converted by the screen's logical resolution (15 twips a pixel at
// 96 dots per inch).

class QWidget;

namespace quillan::twips {

int ToPixels(int twips);
int FromPixels(int pixels);

// A child control's place inside its window, or a window's place on the
// screen (its frame's top left corner) and its inner size.
void SetGeometry(QWidget *widget, int left, int top, int width, int height);
int Left(const QWidget *widget);
int Top(const QWidget *widget);
int Width(const QWidget *widget);
int Height(const QWidget *widget);
void Move(QWidget *widget, int left, int top);
void Resize(QWidget *widget, int width, int height);

// The screen's size.
int ScreenWidth();
int ScreenHeight();

} // namespace quillan::twips
