#pragma once
// The cases in which a run of quillan-check would otherwise look like a
// clean result while it checked nothing, or less than asked: each becomes a
// sentence of warning.

#include "scan/ScanState.h"
#include "settings/SettingsFile.h"

#include <QString>
#include <QStringList>

namespace quillan::check {

// One sentence for each excluded subfolder name that names no subfolder of
// the top folder (letter case ignored, as the walk ignores it).
QStringList UnknownExcludedSubfolders(const QString &topFolder, const HeldSettings &held);

// True when a link exclusion is empty: every link contains it.
bool ExcludesEveryLink(const ScanState &state);

// True when the walk would find at least one page if nothing were excluded:
// tells "every page excluded" from "no page at all".
bool FindsAPageWithoutExclusions(const ScanOptions &options);

// The sentences.
QString NoPageFoundWarning(const QString &topFolder);
QString EveryPageExcludedWarning(bool listing);
QString EveryLinkExcludedWarning();
QString UnreadablePageWarning(const QString &relativePath);
QString SkippedFolderWarning(const QString &relativePath, SkippedFolder why);
// Where the walk stopped at a limit: the last page listed or read.
QString LimitWarning(bool listing, qint32 limit, const QString &lastPage);

} // namespace quillan::check
