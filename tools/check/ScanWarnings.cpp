#include "ScanWarnings.h"

#include "OutputEscapes.h"

#include "run/WalkDriver.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

#include <filesystem>
#include <system_error>

namespace quillan::check {

namespace {

// A name in a sentence, kept on the warning's one line.
QString quoted(const QString &name)
{
    QString text = QStringLiteral("'");
    AppendOneLine(text, DisplayName(name));
    return text + u'\'';
}

} // namespace

QStringList UnknownExcludedSubfolders(const QString &topFolder, const HeldSettings &held)
{
    // The top folder is listed only to look the names up: a large one costs
    // a few milliseconds, which a run that excludes nothing need not pay.
    if (held.numExcludedSubfolders <= 0 || held.excludedSubfolders.isEmpty())
        return {};
    QStringList subfolders;
    std::error_code ec;
    std::filesystem::directory_iterator it(ToNativePath(topFolder), ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            subfolders.append(LowerCaseAccented(DisplayName(FromNativePath(it->path().filename()))));
    }
    QStringList warnings;
    for (int i = 0; i < held.numExcludedSubfolders && i < held.excludedSubfolders.size(); ++i) {
        const QString &name = held.excludedSubfolders[i];
        if (!subfolders.contains(LowerCaseAccented(name)))
            warnings.append(QStringLiteral("The excluded subfolder ") + quoted(name)
                            + QStringLiteral(" is not a subfolder of the top folder."));
    }
    return warnings;
}

bool ExcludesEveryLink(const ScanState &state)
{
    for (int i = 0; i < state.intNumExcludedLinks && i < state.strExcludedLinks.size(); ++i) {
        if (state.strExcludedLinks[i].isEmpty())
            return true;
    }
    return false;
}

bool FindsAPageWithoutExclusions(const ScanOptions &options)
{
    ScanState state;
    ScanOptions probe = options;
    probe.maxNumFiles = 1;
    state.blnListingFiles = true;
    QuietWalkHost host;
    RunWalk(state, probe, host);
    return state.lngNumListedFiles > 0;
}

QString NoPageFoundWarning(const QString &topFolder)
{
    return QStringLiteral("No page was found under the top folder ") + DisplayName(topFolder)
           + QStringLiteral(", so nothing was checked.");
}

QString EveryPageExcludedWarning(bool listing)
{
    return QStringLiteral("Every page is excluded by the excluded subfolders or filepaths, so ")
           + (listing ? QStringLiteral("no page was listed.") : QStringLiteral("nothing was checked."));
}

QString EveryLinkExcludedWarning()
{
    return QStringLiteral("A link exclusion is empty and every link contains it, so no link was "
                          "checked.");
}

QString UnreadablePageWarning(const QString &relativePath)
{
    return QStringLiteral("The page ") + quoted(relativePath) + QStringLiteral(" could not be read.");
}

QString SkippedFolderWarning(const QString &relativePath, SkippedFolder why)
{
    if (why == SkippedFolder::TooDeep)
        return QStringLiteral("The folder ") + quoted(relativePath)
               + QStringLiteral(" lies more than %1 levels below the top folder and was not looked into.")
                     .arg(ScanState::kMaxFolderDepth - 1);
    return QStringLiteral("The folder ") + quoted(relativePath) + QStringLiteral(" could not be read.");
}

QString LimitWarning(bool listing, qint32 limit, const QString &lastPage)
{
    if (listing)
        return QStringLiteral("The listing stopped at the limit of ") + FormatCount(limit)
               + QStringLiteral(" files, at ") + quoted(lastPage)
               + QStringLiteral(": files after it were not listed.");
    return QStringLiteral("The check stopped at the limit of ") + FormatCount(limit)
           + QStringLiteral(" broken links, in the page ") + quoted(lastPage)
           + QStringLiteral(": pages after it were not read, so the reports are incomplete.");
}

} // namespace quillan::check
