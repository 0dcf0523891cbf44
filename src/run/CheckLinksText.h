#pragma once
// The status texts of the Check links command.

#include <QString>

namespace quillan {

// Shown while the walk starts, before the first broken link is found.
QString CheckLinksStartText();

// Shown when the user stopped the check.
QString CheckLinksStoppedText();

// The sentence left in the status line after a whole check that found
// `numBrokenLinks` broken links.
QString CheckLinksSummaryText(qint32 numBrokenLinks);

// The message shown when a report file could not be written.
QString ReportWriteFailureText(const QString &path, const QString &error);

} // namespace quillan
