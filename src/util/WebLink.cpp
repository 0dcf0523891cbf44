#include "util/WebLink.h"

#include "util/FileProc.h"
#include "util/StrProc.h"

namespace quillan {

QString WebLinkExtension(const QString &target)
{
    return GetFileExtension(target, true);
}

QString WebLinkFailureText(int result, const QString &target)
{
    if (result >= kWebLinkOpened)
        return QString();
    // A number shown with room for its sign: " 31", "-1".
    const QString number =
        result >= 0 ? u' ' + QString::number(result) : QString::number(result);
    QString text = QStringLiteral("Error launching web browser, error code =") + number + u'.';
    const QString gap = kCrLf + kCrLf;
    switch (result) {
    case kWebLinkNoApplication:
        text += gap + QStringLiteral("File extension '") + WebLinkExtension(target)
                + QStringLiteral("' is not associated with any application program.");
        break;
    case kWebLinkOutOfMemory:
        text += gap + QStringLiteral("Out of memory.");
        break;
    case kWebLinkTryAgain:
        text += gap + QStringLiteral("Please try once more.");
        break;
    default:
        break;
    }
    return text;
}

QString UserManualAddress(const QString &makerSite)
{
    QString site = makerSite;
    while (site.endsWith(u'/'))
        site.chop(1);
    return site + QStringLiteral("/qln/qln.htm");
}

} // namespace quillan
