#include "CheckRun.h"

#include "run/BrokenLinkHints.h"
#include "ResultStream.h"
#include "StopSignal.h"

#include "run/CheckLinksReports.h"
#include "run/CheckLinksText.h"
#include "run/ListFilesText.h"
#include "run/WalkDriver.h"
#include "settings/SettingsFile.h"
#include "settings/TargetFileTypes.h"
#include "text/ProgramFolder.h"
#include "text/ProgramText.h"
#include "util/DataFolder.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringEncoder>

#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

#ifndef _WIN32
#include <dirent.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace quillan::check {

namespace {

constexpr int kStdout = 1;
constexpr int kStderr = 2;

void writeToStderr(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(text);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool stderrIsTerminal()
{
#ifdef _WIN32
    return false;
#else
    return ::isatty(kStderr) != 0;
#endif
}

int terminalWidth()
{
#ifndef _WIN32
    struct winsize size {};
    if (::ioctl(kStderr, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return 80;
}

// The running count and the page being read, on one line of a terminal,
// redrawn a few times a second.
class ProgressLine
{
public:
    explicit ProgressLine(bool enabled) : enabled_(enabled) { sinceDrawn_.start(); }

    bool enabled() const { return enabled_; }

    void Draw(const QString &status, const QString &file)
    {
        if (!enabled_ || sinceDrawn_.elapsed() < kIntervalMs)
            return;
        QString line = status;
        if (!file.isEmpty())
            line += (line.isEmpty() ? QString() : QStringLiteral("  ")) + file;
        const int width = terminalWidth() - 1;
        if (line.size() > width)
            line = line.left(qMax(width - 3, 0)) + QStringLiteral("...");
        writeToStderr(QStringLiteral("\r") + line + QStringLiteral("\x1b[K"));
        drawn_ = true;
        sinceDrawn_.start();
    }

    // Takes the line away, so that results written to the same terminal
    // start on a clean line.
    void Clear()
    {
        if (!drawn_)
            return;
        writeToStderr(QStringLiteral("\r\x1b[K"));
        drawn_ = false;
    }

private:
    static constexpr int kIntervalMs = 100;

    bool enabled_;
    bool drawn_ = false;
    QElapsedTimer sinceDrawn_;
};

// The walk's host: no window, so Stop is a signal; progress goes to a
// terminal on standard error, and each new result to standard output.
class CheckHost : public WalkHost
{
public:
    CheckHost(ProgressLine &progress, std::function<void()> newResults)
        : progress_(progress), newResults_(std::move(newResults))
    {
    }

    void Yield() override
    {
        newResults_();
        progress_.Draw(status_, file_);
    }
    bool StopRequested() const override { return StopSignalNumber() != 0; }
    void ShowFileBeingScanned(const QString &relativePath) override
    {
        if (progress_.enabled())
            file_ = relativePath;
    }
    void ShowStatus(const QString &text) override
    {
        if (progress_.enabled())
            status_ = text;
    }

    // The last results, with the progress line taken away.
    void Finish()
    {
        progress_.Clear();
        newResults_();
    }

private:
    ProgressLine &progress_;
    std::function<void()> newResults_;
    QString status_;
    QString file_;
};

// The program text file, beside the program or where an installed program
// keeps its shared files, found as the window finds it.
std::optional<ProgramTextTable> loadProgramText(const QString &programFolder)
{
    const QString fileName = QStringLiteral("qln.dat");
    const QString path =
        ProgramTextFilePath(LocateProgramFolder(programFolder, fileName), fileName);
    ProgramTextTable table;
    const ProgramTextLoadResult loaded = table.LoadFromFile(path);
    if (!loaded.ok()) {
        Complain(ProgramTextLoadMessage(loaded, path));
        return std::nullopt;
    }
    return table;
}

// True when the folder's entries can be listed and reached.
bool folderReadable(const QString &folder)
{
#ifdef _WIN32
    return QFileInfo(folder).isReadable();
#else
    const QByteArray encoded = EncodeNativeName(folder);
    DIR *dir = ::opendir(encoded.constData());
    if (!dir)
        return false;
    ::closedir(dir);
    return ::access(encoded.constData(), X_OK) == 0;
#endif
}

QString absoluteFolder(const QString &argument)
{
    QString folder = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(argument).absoluteFilePath()));
    EnsureTrailingBackslash(folder);
    return folder;
}

// The settings as the window would hold them after loading the settings
// file (when one is given) and then taking the command line's values.
// False, the user told why, when they cannot be used.
bool gatherSettings(const CheckCommand &command, HeldSettings &held)
{
    if (!command.settingsFile.isEmpty()) {
        const QFileInfo file(command.settingsFile);
        if (!file.isFile() || !file.isReadable()) {
            Complain(QStringLiteral("cannot read the settings file ") + command.settingsFile);
            return false;
        }
        const SettingsFileContent content = ReadSettingsFile(command.settingsFile);
        if (!content.complete())
            Complain(QStringLiteral("warning: only %1 of the 7 values of %2 could be read; the "
                                    "others keep their defaults")
                         .arg(content.texts.size() + content.states.size())
                         .arg(command.settingsFile));
        ApplySettingsFile(content, held);
        const QString fileTopFolder = content.texts.isEmpty() ? QString() : TrimSpaces(content.texts[0]);
        if (!fileTopFolder.isEmpty() && held.values.topFolder.isEmpty()) {
            QString message = QStringLiteral("warning: the top folder of ") + command.settingsFile
                              + QStringLiteral(" does not exist: ") + fileTopFolder;
            if (content.texts.size() >= 2 && !TrimSpaces(content.texts[1]).isEmpty())
                message += QStringLiteral("; its excluded subfolders are dropped, as Quillan drops "
                                          "them when it loads the file");
            Complain(message);
        }
    }

    if (command.excludedSubfolders) {
        QStringList names;
        const int count = SplitIntoArray(*command.excludedSubfolders, QStringLiteral(","), 1, names,
                                         true, 0, 1);
        held.excludedSubfolders = QStringList{QString()};
        held.numExcludedSubfolders = 0;
        for (int i = 0; i < count; ++i) {
            QString name = names[i];
            while (name.size() > 1 && (name.endsWith(u'/') || name.endsWith(PathSeparator())))
                name.chop(1);
            if (held.numExcludedSubfolders < held.excludedSubfolders.size())
                held.excludedSubfolders[held.numExcludedSubfolders] = name;
            else
                held.excludedSubfolders.append(name);
            ++held.numExcludedSubfolders;
        }
    }
    SettingsValues &values = held.values;
    if (command.excludedFilepaths)
        values.excludedFilepaths = *command.excludedFilepaths;
    if (command.excludedLinks)
        values.excludedLinks = *command.excludedLinks;
    values.topFolderOnly = command.topFolderOnly.value_or(values.topFolderOnly);
    values.showRepeatedLinks = command.showRepeatedLinks.value_or(values.showRepeatedLinks);
    values.includePhpFiles = command.includePhpFiles.value_or(values.includePhpFiles);
    values.browserReading = BrowserReadingOf(command, values.browserReading);

    if (!command.topFolder.isEmpty()) {
        values.topFolder = absoluteFolder(command.topFolder);
    } else if (values.topFolder.isEmpty()) {
        Complain(QStringLiteral("no top folder given") + (command.settingsFile.isEmpty()
                                                              ? QString()
                                                              : QStringLiteral(" (the settings file names none that exists)"))
                 + QStringLiteral("\nTry 'quillan-check --help'."));
        return false;
    }
    if (!FolderExists(values.topFolder)) {
        Complain(QStringLiteral("the top folder does not exist: ") + values.topFolder);
        return false;
    }
    if (!folderReadable(values.topFolder)) {
        Complain(QStringLiteral("the top folder cannot be read: ") + values.topFolder);
        return false;
    }
    return true;
}

// Where the command's files go: the --out folder (made when missing) or the
// window's data folder.
class OutputFiles
{
public:
    OutputFiles(QString outputFolder, const ProgramTextTable *programText)
        : folder_(std::move(outputFolder)), programText_(programText)
    {
    }

    QString path(const QString &name) const
    {
        if (folder_.isEmpty())
            return GetReportFilePath(name, programText_->GetProgramText(310));
        QDir().mkpath(folder_);
        return QDir::toNativeSeparators(QDir(folder_).absoluteFilePath(name));
    }

private:
    QString folder_;
    const ProgramTextTable *programText_;
};

struct Walk {
    ScanState state;
    ScanOptions options;
};

void prepareWalk(Walk &walk, const HeldSettings &held)
{
    const SettingsValues &values = held.values;
    walk.state.strExcludedSubfolders = held.excludedSubfolders;
    walk.state.intNumExcludedSubfolders = held.numExcludedSubfolders;
    PrepareExclusions(walk.state, TrimSpaces(values.excludedFilepaths),
                      TrimSpaces(values.excludedLinks));
    walk.options.topFolder = values.topFolder;
    walk.options.topFolderOnly = values.topFolderOnly;
    walk.options.includePhpFiles = values.includePhpFiles;
    walk.options.checkableFileTypes = DefaultCheckableFileTypes();
    walk.options.readAsBrowser = values.browserReading >= 1;
    walk.options.checkAnchors = values.browserReading == 2;
}

int stoppedOr(int status)
{
    const int signal = StopSignalNumber();
    return signal != 0 ? kSignalled + signal : status;
}

int listFiles(Walk &walk, const HeldSettings &held, const OutputFiles &files,
              ResultStream &results, bool showProgress)
{
    ScanState &state = walk.state;
    qint32 shown = 0;
    ProgressLine progress(showProgress);
    CheckHost host(progress, [&] {
        if (shown < state.lngNumListedFiles && results.toTerminal())
            progress.Clear();
        for (; shown < state.lngNumListedFiles; ++shown)
            results.ListedFile(state.strListedFiles[shown + 1]);
    });
    results.BeginListedFiles();
    state.blnListingFiles = true;
    RunWalk(state, walk.options, host);
    host.Finish();

    const bool stopped = StopSignalNumber() != 0;
    const qint32 numFiles = state.lngNumListedFiles;
    const QString status =
        ListingStatusText(stopped, true, numFiles, numFiles >= 1 ? state.strListedFiles[1] : QString(),
                          state.blnMaxNumFilesReached, walk.options.maxNumFiles);
    int exitStatus = kNoBrokenLinks;
    if (numFiles >= 1) {
        const QString path = files.path(QStringLiteral("files.txt"));
        const QString line2 = ListingLine2(numFiles, stopped, held.values.topFolderOnly == 1);
        const QString error = WriteListOfFiles(state, path, held.values.topFolder, line2);
        if (!error.isEmpty()) {
            Complain(QStringLiteral("Unable to write the list of files to ") + path
                     + QStringLiteral(": ") + error);
            exitStatus = kWriteFailed;
        }
    }
    results.End(status);
    return stoppedOr(exitStatus);
}

int checkLinks(Walk &walk, const HeldSettings &held, const OutputFiles &files,
               ResultStream &results, bool showProgress)
{
    ScanState &state = walk.state;
    const QString &top = walk.options.topFolder;
    BrokenLinkHints hints(top, walk.options.readAsBrowser);
    qint32 shown = 0;
    // Each broken link goes out as soon as it is found, before the reports
    // rewrite the table.
    ProgressLine progress(showProgress);
    CheckHost host(progress, [&] {
        if (shown < state.lngNumBrokenLinks && results.toTerminal())
            progress.Clear();
        for (; shown < state.lngNumBrokenLinks; ++shown) {
            const BrokenLink &link = state.brokenLinks.at(shown + 1);
            const QString hint = hints.HintFor(link.strLinkTo);
            results.BrokenLink(BrokenLinkRecord{QStringView(link.strLinkFrom).sliced(top.size()),
                                                link.line, link.link,
                                                QStringView(link.strLinkTo).sliced(top.size()),
                                                hint});
        }
    });
    results.BeginBrokenLinks();
    state.EmptyBrokenLinks();
    state.blnCheckingLinks = true;
    RunWalk(state, walk.options, host);
    state.blnCheckingLinks = false;
    host.Finish();

    const bool stopped = StopSignalNumber() != 0;
    ReportSettings settings;
    settings.topFolder = top;
    settings.showRepeatedLinks = held.values.showRepeatedLinks == 1;
    settings.stopped = stopped;
    bool written = true;
    CheckReportSteps steps;
    steps.reportPath = [&](const QString &name) { return files.path(name); };
    steps.reportDone = [&](const QString &path, const QString &error) {
        if (!error.isEmpty()) {
            Complain(ReportWriteFailureText(path, error).replace(QStringLiteral("\n\n"),
                                                                 QStringLiteral(": ")));
            written = false;
        }
        return written;
    };
    const qint32 numBrokenLinks = state.lngNumBrokenLinks;
    WriteCheckReports(state, settings, steps);

    results.End(stopped ? CheckLinksStoppedText() : CheckLinksSummaryText(numBrokenLinks));
    if (!written)
        return stoppedOr(kWriteFailed);
    return stoppedOr(numBrokenLinks > 0 ? kBrokenLinksFound : kNoBrokenLinks);
}

} // namespace

void Complain(const QString &text)
{
    writeToStderr(QStringLiteral("quillan-check: ") + text + u'\n');
}

int RunCheckCommand(const CheckCommand &command, const QString &programFolder)
{
    HeldSettings held;
    if (!gatherSettings(command, held))
        return kBadUsage;

    // The data folder's name is a program text.
    std::optional<ProgramTextTable> programText;
    if (command.outputFolder.isEmpty()) {
        programText = loadProgramText(programFolder);
        if (!programText)
            return kBadUsage;
    }
    const OutputFiles files(command.outputFolder, programText ? &*programText : nullptr);

    Walk walk;
    prepareWalk(walk, held);
    if (command.indexFiles)
        walk.options.indexPageNames = *command.indexFiles;
    ResultStream results(command.format, kStdout);
    const bool showProgress = !command.quiet && stderrIsTerminal();
    InstallStopSignals();
    return command.listFiles ? listFiles(walk, held, files, results, showProgress)
                             : checkLinks(walk, held, files, results, showProgress);
}

} // namespace quillan::check
