#include "scan/LinkText.h"

#include "scan/ScanState.h"
#include "util/FileProc.h"
#include "util/StrProc.h"

namespace quillan {

namespace {

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSchemeChar(char16_t c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

} // namespace

bool StartsWithUrlScheme(QStringView link)
{
    if (link.isEmpty() || !isAsciiLetter(link[0].unicode()))
        return false;
    qsizetype i = 1;
    while (i < link.size() && isSchemeChar(link[i].unicode()))
        ++i;
    return i >= 2 && i < link.size() && link[i] == u':';
}

QStringList LoweredLinkExclusions(const ScanState &state)
{
    QStringList lowered;
    for (int i = 0; i < state.intNumExcludedLinks && i < state.strExcludedLinks.size(); ++i)
        lowered.append(LowerCaseAccented(state.strExcludedLinks[i]));
    return lowered;
}

bool IsPageFileName(QStringView path, int includePhpFiles)
{
    const QString ext = GetFileExtension(path, true);
    if (ext.contains(QStringLiteral("htm")))
        return true;
    return includePhpFiles != 0 && ext == QStringLiteral("php");
}

} // namespace quillan
