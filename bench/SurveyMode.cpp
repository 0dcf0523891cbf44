#include "SurveyMode.h"

#include "subfolders/SubfolderSurvey.h"
#include "windows/QtInteraction.h"
#include "windows/Twips.h"
#include "windows/frmSelectSubfolders.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Arguments {
    int subfolders = 1500;
    int repeat = 5;
    QString topFolder;
};

bool parse(int argc, char **argv, Arguments &args)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--subfolders") == 0 && hasValue)
            args.subfolders = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--repeat") == 0 && hasValue)
            args.repeat = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--top") == 0 && hasValue)
            args.topFolder = QString::fromLocal8Bit(argv[++i]);
        else
            return false;
    }
    return true;
}

// N subfolders with one page each; every tenth has a subfolder of its own,
// so the entries are not all alike.
bool buildTree(const QString &root, int count)
{
    for (int i = 0; i < count; ++i) {
        const QString folder = root + QStringLiteral("/folder%1").arg(i, 5, 10, QLatin1Char('0'));
        if (!QDir().mkpath(i % 10 == 0 ? folder + QStringLiteral("/inner") : folder))
            return false;
        QFile page(folder + QStringLiteral("/index.htm"));
        if (!page.open(QIODevice::WriteOnly) || page.write("<html></html>") < 0)
            return false;
    }
    return true;
}

class SilentProgress : public quillan::SurveyProgress
{
public:
    void ShowProgress(const QString &) override {}
    void ProcessEvents() override {}
    bool CancelRequested() const override { return false; }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char *what, const std::vector<double> &ms)
{
    std::printf("%-34s min %8.1f ms   median %8.1f ms\n", what,
                *std::min_element(ms.begin(), ms.end()), median(ms));
}

} // namespace

int RunSurveyBenchmark(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Arguments args;
    if (!parse(argc, argv, args)) {
        std::fprintf(stderr, "usage: %s [--subfolders N] [--top FOLDER] [--repeat R]\n", argv[0]);
        return 2;
    }

    QTemporaryDir scratch;
    QString top = args.topFolder;
    if (top.isEmpty()) {
        if (!scratch.isValid() || !buildTree(scratch.path(), args.subfolders)) {
            std::fprintf(stderr, "could not build the test folder\n");
            return 1;
        }
        top = scratch.path();
    }
    top = QDir::toNativeSeparators(top);

    std::vector<double> surveyMs;
    int entries = 0;
    for (int r = 0; r < args.repeat; ++r) {
        quillan::SubfolderSurvey results;
        SilentProgress progress;
        QString folder = top;
        QElapsedTimer timer;
        timer.start();
        quillan::SurveySubfolders(folder, quillan::SurveyOptions{true, true}, results, progress);
        surveyMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        entries = results.intNumSubfolders;
    }

    // The window as the main window opens it: caption, top folder, 13 rows,
    // no sizes, a few names ticked in advance.
    quillan::QtInteraction interaction;
    quillan::frmSelectSubfolders window(interaction);
    std::vector<double> windowMs;
    int rows = 0;
    for (int r = 0; r < args.repeat; ++r) {
        window.blnFolderSelectionAccepted = false;
        window.strCaption = QStringLiteral("Select top subfolders to exclude from the scan");
        window.strTopFolder = top;
        window.intMaxNumCheckboxes = 13;
        window.blnOmitTotalFilesize = true;
        window.strFoldersPassedToSelectFoldersForm =
            QStringLiteral("folder00001\r\nfolder00500\r\nfolder01499");
        quillan::twips::Resize(&window, 8650, 6000);
        QElapsedTimer timer;
        timer.start();
        window.show();
        window.Form_Activate();
        QCoreApplication::processEvents();
        windowMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        rows = window.numCheckboxesShown();
        window.cmdCancel_Click();
    }

    std::printf("top folder: %s\n", qPrintable(top));
    std::printf("subfolders surveyed: %d, rows shown: %d, repeats: %d\n", entries, rows, args.repeat);
    report("survey (engine only)", surveyMs);
    report("selection window ready to use", windowMs);
    return 0;
}
