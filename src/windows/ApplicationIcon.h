#pragma once
// Quillan's icon, built into the program in every size the desktop asks for.
// Set on the application at start-up, it is the icon of every window: the
// main window has no icon of its own and the others take the main window's.

#include <QIcon>

#include <array>

namespace quillan {

// The sizes of the drawn icon, in pixels (square).
inline constexpr std::array kApplicationIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

QIcon ApplicationIcon();

} // namespace quillan
