#include "run/CheckLinksText.h"

namespace quillan {

QString CheckLinksStartText()
{
    return QStringLiteral("No broken links found so far.");
}

QString CheckLinksStoppedText()
{
    return QStringLiteral("Checking of links was stopped.");
}

QString CheckLinksSummaryText(qint32 numBrokenLinks)
{
    if (numBrokenLinks <= 0)
        return QStringLiteral("Congratulations!  There are no broken local links.");
    if (numBrokenLinks == 1)
        return QStringLiteral("There is only one broken local link.");
    return QStringLiteral("There are ") + QString::number(numBrokenLinks)
           + QStringLiteral(" broken local links.");
}

QString ReportWriteFailureText(const QString &path, const QString &error)
{
    return QStringLiteral("Unable to write the report of broken links to ") + path
           + QStringLiteral("\n\n") + error;
}

} // namespace quillan
