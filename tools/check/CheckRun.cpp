#include "CheckRun.h"

#include "OutputEscapes.h"
#include "OutputFolder.h"
#include "ProgressLine.h"
#include "RecordWriter.h"
#include "ResultStream.h"
#include "ScanWarnings.h"
#include "StopSignal.h"

#include "run/BrokenLinkHints.h"
#include "run/CheckLinksReports.h"
#include "run/CheckLinksText.h"
#include "run/ListFilesText.h"
#include "run/WalkDriver.h"
#include "scan/FolderWalk.h"
#include "scan/LinkChecker.h"
#include "settings/ExclusionLists.h"
#include "settings/SettingsFile.h"
#include "settings/TargetFileTypes.h"
#include "text/ProgramFolder.h"
#include "text/ProgramText.h"
#include "util/DataFolder.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <optional>
#include <utility>

#ifndef _WIN32
#include <dirent.h>
#include <unistd.h>
#endif

namespace quillan::check {

namespace {

constexpr int kStdout = 1;
const QString kFilesListName = QStringLiteral("files.txt");

// The program text file, beside the program or where an installed program
// keeps its shared files, found as the window finds it.
std::optional<ProgramTextTable> loadProgramText(const QString &programFolder)
{
    const QString fileName = QStringLiteral("qln.dat");
    const QString path =
        ProgramTextFilePath(LocateProgramFolder(programFolder, fileName), fileName);
    if (!QFileInfo::exists(path)) {
        Complain(QStringLiteral("the program text file %1 is in neither %2 nor %3")
                     .arg(fileName, QDir::toNativeSeparators(programFolder),
                          InstalledDataFolder(programFolder)));
        return std::nullopt;
    }
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

// Says why the top folder cannot be walked; "" when it can.
QString topFolderProblem(const QString &topFolder)
{
    const QFileInfo info(topFolder.chopped(1));
    if (info.exists() && !info.isDir())
        return QStringLiteral("the top folder is a file, not a folder: ") + topFolder.chopped(1);
    if (!FolderExists(topFolder))
        return QStringLiteral("the top folder does not exist: ") + topFolder;
    if (!folderReadable(topFolder))
        return QStringLiteral("the top folder cannot be read: ") + topFolder;
    return QString();
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
        SettingsFileContent content = ReadSettingsFile(command.settingsFile);
        if (!content.complete())
            Complain(QStringLiteral("warning: only %1 of the 7 values of %2 could be read; the "
                                    "others keep their defaults")
                         .arg(content.texts.size() + content.states.size())
                         .arg(command.settingsFile));
        // A settings file travels with the site: with a top folder named
        // here, the file's own is not looked at, and its excluded subfolders
        // are taken for the named one.
        if (!command.topFolder.isEmpty() && !content.texts.isEmpty())
            content.texts[0] = absoluteFolder(command.topFolder);
        ApplySettingsFile(content, held);
        const QString fileTopFolder = content.texts.isEmpty() ? QString() : TrimSpaces(content.texts[0]);
        if (command.topFolder.isEmpty() && !fileTopFolder.isEmpty() && held.values.topFolder.isEmpty()) {
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
    // Tidied as the window tidies a box the user leaves: an empty entry
    // between two commas moves to the front, where the walk drops it.
    values.excludedFilepaths = TidyExcludedFilepathsText(values.excludedFilepaths);
    values.excludedLinks = TidyExcludedLinksText(values.excludedLinks);
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
    const QString problem = topFolderProblem(values.topFolder);
    if (!problem.isEmpty()) {
        Complain(problem);
        return false;
    }
    return true;
}

// How the CI formats name pages: below the top folder as the command line
// gave it, so that the names are those of the checkout.
RecordPlace recordPlace(const CheckCommand &command, const QString &topFolder)
{
    RecordPlace place;
    const QString given = command.topFolder.isEmpty() ? topFolder : command.topFolder;
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(given));
    if (cleaned != QStringLiteral("."))
        place.prefix = cleaned.endsWith(u'/') ? cleaned : cleaned + u'/';
    if (QDir::isRelativePath(cleaned)) {
        QString base = QDir::currentPath();
        if (!base.endsWith(u'/'))
            base += u'/';
        place.baseUri = QStringLiteral("file://") + PercentEncodedName(base);
    }
    return place;
}

// The folder the files go to: --out, or the window's data folder.
bool outputFolderPath(const CheckCommand &command, const QString &programFolder, QString &folder)
{
    if (!command.outputFolder.isEmpty()) {
        folder = command.outputFolder;
        return true;
    }
    // The data folder's name is a program text.
    const std::optional<ProgramTextTable> programText = loadProgramText(programFolder);
    if (!programText)
        return false;
    folder = QFileInfo(GetReportFilePath(kFilesListName, programText->GetProgramText(310))).absolutePath();
    return true;
}

struct Walk {
    ScanState state;
    ScanOptions options;
};

void prepareWalk(Walk &walk, const HeldSettings &held, const CheckCommand &command)
{
    walk.options.jobs = command.jobs;
    if (command.indexFiles)
        walk.options.indexPageNames = *command.indexFiles;
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

// One run: the walk's host, what it found and said, and the files written.
class Run : public WalkHost
{
public:
    Run(const CheckCommand &command, const HeldSettings &held, OutputFolder &folder)
        : command_(command),
          held_(held),
          folder_(folder),
          results_(command.format, kStdout, recordPlace(command, held.values.topFolder)),
          progress_(ProgressWanted(command.quiet)),
          hints_(held.values.topFolder, held.values.browserReading >= 1),
          records_(results_, hints_, held.values.topFolder.size(), recordsOnAThread())
    {
        prepareWalk(walk_, held, command);
    }

    int Execute();

    // WalkHost.
    void Yield() override
    {
        showNewResults();
        progress_.Draw(status_, file_);
    }
    bool StopRequested() const override { return StopSignalNumber() != 0; }
    void ShowFileBeingScanned(QStringView relativePath) override
    {
        if (progress_.enabled()) {
            file_.clear();
            AppendOneLine(file_, relativePath);
        }
    }
    void ShowStatus(const QString &text) override
    {
        if (progress_.enabled())
            status_ = text;
    }
    void ShowBrokenLinksSoFar(qint32 numBrokenLinks) override
    {
        if (progress_.enabled())
            status_ = BrokenLinksSoFarText(numBrokenLinks);
    }
    void PageChecked(const QString &path, const PageReadResult &result) override
    {
        showNewResults();
        const QStringView page = QStringView(path).sliced(topLength());
        ++pagesHanded_;
        if (result.read)
            ++summary_.pages;
        else
            warn(UnreadablePageWarning(page.toString()));
        summary_.links += result.linksChecked;
        records_.PageChecked(path, result.read);
    }
    void FolderSkipped(const QString &path, SkippedFolder why) override
    {
        QString folder = path.mid(topLength());
        EnsureTrailingBackslash(folder);
        warn(SkippedFolderWarning(folder, why));
    }

private:
    qsizetype topLength() const { return walk_.options.topFolder.size(); }
    bool listing() const { return command_.listFiles; }
    // A terminal's records are few, and written between progress lines; one
    // job asked for is one thread.
    bool recordsOnAThread() const
    {
        return !listing() && !results_.toTerminal() && ThreadsForJobs(command_.jobs) > 1;
    }

    void warn(const QString &sentence)
    {
        progress_.Clear();
        Complain(QStringLiteral("warning: ") + sentence);
        summary_.warnings.append(sentence);
    }
    void showNewResults();
    void warnBeforeWalk();
    void warnAfterWalk();
    bool writeListOfFiles(bool stopped);
    bool writeReports(bool stopped);
    int exitStatus(bool written) const;

    const CheckCommand &command_;
    const HeldSettings &held_;
    OutputFolder &folder_;
    Walk walk_;
    ResultStream results_;
    ProgressLine progress_;
    BrokenLinkHints hints_; // the records' alone: used on their thread, if they have one
    RecordWriter records_;  // declared after what it writes with, so it finishes first
    RunSummary summary_;
    qint64 pagesHanded_ = 0;
    qint32 shown_ = 0; // records already handed to the output
    bool noPage_ = false;
    QString limitNote_; // where a limit ended the walk
    QString status_;
    QString file_;
};

void Run::showNewResults()
{
    ScanState &state = walk_.state;
    if (listing()) {
        if (shown_ < state.lngNumListedFiles && results_.toTerminal())
            progress_.Clear();
        for (; shown_ < state.lngNumListedFiles; ++shown_)
            results_.ListedFile(state.strListedFiles[shown_ + 1]);
        return;
    }
    // Each broken link goes out as soon as it is found, before the reports
    // rewrite the table.
    if (shown_ < state.lngNumBrokenLinks && results_.toTerminal())
        progress_.Clear();
    for (; shown_ < state.lngNumBrokenLinks; ++shown_)
        records_.BrokenLink(state.brokenLinks.at(shown_ + 1));
}

void Run::warnBeforeWalk()
{
    for (const QString &sentence : UnknownExcludedSubfolders(walk_.options.topFolder, held_))
        warn(sentence);
    if (!listing() && ExcludesEveryLink(walk_.state))
        warn(EveryLinkExcludedWarning());
}

void Run::warnAfterWalk()
{
    const ScanState &state = walk_.state;
    const qint64 found = listing() ? state.lngNumListedFiles : pagesHanded_;
    if (found == 0) {
        const bool excluding = state.intNumExcludedSubfolders > 0 || state.intNumExcludedFilepaths > 0;
        if (excluding && FindsAPageWithoutExclusions(walk_.options)) {
            warn(EveryPageExcludedWarning(listing()));
        } else {
            warn(NoPageFoundWarning(walk_.options.topFolder));
            noPage_ = true;
        }
    }
    if (summary_.limitReached) {
        const QString lastPage = listing() ? state.strListedFiles[state.lngNumListedFiles]
                                           : state.brokenLinks[state.lngNumBrokenLinks]
                                                 .strLinkFrom.mid(topLength());
        limitNote_ = LimitWarning(listing(), listing() ? walk_.options.maxNumFiles
                                                       : walk_.options.maxNumLinks,
                                  lastPage);
        warn(limitNote_);
    }
}

bool Run::writeListOfFiles(bool stopped)
{
    ScanState &state = walk_.state;
    if (state.lngNumListedFiles < 1)
        return true;
    const QString line2 = ListingLine2(state.lngNumListedFiles, stopped, held_.values.topFolderOnly == 1);
    QString error = WriteListOfFiles(state, folder_.PartialPath(kFilesListName), held_.values.topFolder, line2);
    if (error.isEmpty())
        error = folder_.Commit(kFilesListName);
    else
        folder_.Discard(kFilesListName);
    if (error.isEmpty())
        return true;
    progress_.Clear();
    Complain(QStringLiteral("Unable to write the list of files to ") + folder_.FinalPath(kFilesListName)
             + QStringLiteral(": ") + error);
    return false;
}

bool Run::writeReports(bool stopped)
{
    ReportSettings settings;
    settings.topFolder = walk_.options.topFolder;
    settings.showRepeatedLinks = held_.values.showRepeatedLinks == 1;
    settings.stopped = stopped;
    if (summary_.limitReached)
        settings.endedEarlyNote = limitNote_;
    bool written = true;
    QString writing;
    CheckReportSteps steps;
    steps.reportPath = [&](const QString &name) {
        writing = name;
        return folder_.PartialPath(name);
    };
    steps.reportDone = [&](const QString &, const QString &writeError) {
        QString error = writeError;
        if (error.isEmpty())
            error = folder_.Commit(writing);
        else
            folder_.Discard(writing);
        if (!error.isEmpty()) {
            Complain(ReportWriteFailureText(folder_.FinalPath(writing), error)
                         .replace(QStringLiteral("\n\n"), QStringLiteral(": ")));
            written = false;
        }
        return written;
    };
    WriteCheckReports(walk_.state, settings, steps, ThreadsForJobs(walk_.options.jobs));
    return written;
}

int Run::exitStatus(bool written) const
{
    if (const int signal = StopSignalNumber(); signal != 0)
        return kSignalled + signal;
    if (!written || !results_.failure().isEmpty())
        return kWriteFailed;
    if (noPage_)
        return kBadUsage;
    return summary_.broken > 0 ? kBrokenLinksFound : kNoBrokenLinks;
}

int Run::Execute()
{
    ScanState &state = walk_.state;
    warnBeforeWalk();
    if (listing()) {
        results_.BeginListedFiles();
        state.blnListingFiles = true;
    } else {
        results_.BeginBrokenLinks();
        state.EmptyBrokenLinks();
        state.blnCheckingLinks = true;
    }
    // The walk's tables are freed beside the reports.
    const WalkLeftovers leftovers = RunWalk(state, walk_.options, *this);
    state.blnCheckingLinks = false;
    progress_.Clear();
    showNewResults();

    const bool stopped = StopSignalNumber() != 0;
    summary_.stopped = stopped;
    summary_.limitReached = !stopped && (listing() ? state.blnMaxNumFilesReached : state.blnMaxNumLinksReached);
    if (!stopped)
        warnAfterWalk();

    bool written;
    if (listing()) {
        const qint32 numFiles = state.lngNumListedFiles;
        summary_.pages = numFiles;
        summary_.status = ListingStatusText(stopped, true, numFiles,
                                            numFiles >= 1 ? state.strListedFiles[1] : QString(),
                                            state.blnMaxNumFilesReached, walk_.options.maxNumFiles);
        written = writeListOfFiles(stopped);
    } else {
        summary_.broken = state.lngNumBrokenLinks;
        summary_.status = stopped ? CheckLinksStoppedText() : CheckLinksSummaryText(state.lngNumBrokenLinks);
        if (summary_.limitReached)
            summary_.status += QStringLiteral(" Checking stopped at the limit of ")
                               + FormatCount(walk_.options.maxNumLinks) + QStringLiteral(" broken links.");
        written = writeReports(stopped);
    }
    const QStringList ourFiles{kFilesListName, kLinksToReportName, kLinksFromReportName};
    if (command_.outputFolder.isEmpty()) {
        for (const QString &name : ourFiles)
            folder_.Discard(name);
    } else {
        folder_.RemoveOthers(ourFiles);
    }

    records_.Finish();
    results_.End(summary_);
    if (!results_.statusOnOutput())
        WriteToStderr(summary_.status + u'\n');
    if (!results_.failure().isEmpty())
        Complain(QStringLiteral("cannot write to standard output: ") + results_.failure()
                 + (written ? QStringLiteral(" (the files were written all the same)") : QString()));
    return exitStatus(written);
}

} // namespace

void Complain(const QString &text)
{
    WriteToStderr(QStringLiteral("quillan-check: ") + text + u'\n');
}

int RunCheckCommand(const CheckCommand &command, const QString &programFolder)
{
    HeldSettings held;
    if (!gatherSettings(command, held))
        return kBadUsage;
    QString folderPath;
    if (!outputFolderPath(command, programFolder, folderPath))
        return kBadUsage;
    OutputFolder folder;
    const QString problem = folder.Open(folderPath, [&] {
        Complain(QStringLiteral("waiting for another run that writes to ") + folderPath);
    });
    if (!problem.isEmpty()) {
        Complain(problem);
        return kWriteFailed;
    }
    // Taken only now: while it waits for the lock, Ctrl-C simply ends it.
    InstallStopSignals();
    Run run(command, held, folder);
    return run.Execute();
}

} // namespace quillan::check
