#include "scan/LinkText.h"

#include "scan/ScanState.h"
#include "util/FileProc.h"
#include "util/StrProc.h"

#include <array>

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
    const auto isPage = [includePhpFiles](QStringView lowered) {
        return lowered.contains(u"htm") || (includePhpFiles != 0 && lowered == u"php");
    };
    // Asked of every file a walk meets: an extension of ordinary length is
    // lowered on the stack rather than into a string of its own.
    const QStringView ext = FileExtensionOf(path);
    std::array<char16_t, 32> lowered{};
    if (ext.size() > qsizetype(lowered.size()))
        return isPage(LowerCaseAccented(ext));
    for (qsizetype i = 0; i < ext.size(); ++i)
        lowered[std::size_t(i)] = LowerCaseAccentedChar(ext[i]).unicode();
    return isPage(QStringView(lowered.data(), ext.size()));
}

} // namespace quillan
