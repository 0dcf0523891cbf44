// Quillan: finds broken local links in a web site kept on disk.

#include "main/frmMain.h"
#include "windows/QtInteraction.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillan"));
    QApplication::setQuitOnLastWindowClosed(false);

    quillan::QtInteraction interaction;
    quillan::frmMain window(interaction, QApplication::applicationDirPath());
    if (!window.Form_Load())
        return 1;
    if (window.isQuitting())
        return 0;
    return QApplication::exec();
}
