#include "windows/ApplicationIcon.h"

namespace quillan {

QIcon ApplicationIcon()
{
    // Rendered pictures rather than the drawing itself: reading SVG would
    // need a Qt module the program does not otherwise use.
    QIcon icon;
    for (int size : kApplicationIconSizes)
        icon.addFile(QStringLiteral(":/icons/quillan-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace quillan
