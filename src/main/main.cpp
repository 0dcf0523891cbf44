// Quillan: finds broken local links in a web site kept on disk.

#include "main/TerminationSignals.h"
#include "main/frmMain.h"
#include "text/ProgramFolder.h"
#include "windows/ApplicationIcon.h"
#include "windows/QtInteraction.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillan"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLAN_VERSION));
    // Lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLAN_APP_ID));
    QApplication::setWindowIcon(quillan::ApplicationIcon());
    QApplication::setQuitOnLastWindowClosed(false);

    quillan::QtInteraction interaction;
    // The program text file decides the folder; the help file lies beside it.
    quillan::frmMain window(interaction,
                            quillan::LocateProgramFolder(QApplication::applicationDirPath(),
                                                         QStringLiteral("qln.dat")));
    // Asked to end by the session or a terminal, the program quits as Quit
    // does, start-up failure box included.
    quillan::TerminationSignals termination;
    QObject::connect(&termination, &quillan::TerminationSignals::received, &window,
                     &quillan::frmMain::cmdQuit_Click);
    if (!window.Form_Load())
        return 1;
    if (window.isQuitting())
        return 0;
    return QApplication::exec();
}
