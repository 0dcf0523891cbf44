// quillan-check: Quillan's List files and Check links without a window, for
// build pipelines. See quillan-check.1.

#include "CheckOptions.h"
#include "CheckRun.h"

#include <QCoreApplication>
#include <QTextStream>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char **argv)
{
#ifdef __GLIBC__
    // One run, then the end: big blocks come from the heap and freed memory
    // is kept for reuse, instead of fresh pages from the system each time a
    // table grows.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 16 << 20);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillan"));

    using namespace quillan::check;
    CheckCommand command;
    QString error;
    if (!ParseCheckCommand(QCoreApplication::arguments().mid(1), command, error)) {
        Complain(error + QStringLiteral("\nTry 'quillan-check --help'."));
        return kBadUsage;
    }
    if (command.help) {
        QTextStream(stdout) << HelpText();
        return 0;
    }
    if (command.version) {
        QTextStream(stdout) << QStringLiteral("quillan-check " QUILLAN_VERSION "\n");
        return 0;
    }
    return RunCheckCommand(command, QCoreApplication::applicationDirPath());
}
