#include "LinkCheckerSite.h"

#include "util/NativeName.h"

namespace quillan::test {

CheckOutcome CheckSite(const TempTree &site, const CheckSetup &setup)
{
    CheckOutcome outcome;
    ScanState &state = outcome.state;
    PrepareExclusions(state, setup.excludedFilepaths, setup.excludedLinks);
    state.EmptyBrokenLinks();
    state.blnCheckingLinks = true;

    ScanOptions options;
    options.topFolder = site.root();
    options.includePhpFiles = setup.includePhpFiles;
    options.checkableFileTypes = setup.checkableFileTypes;
    options.maxNumLinks = setup.maxNumLinks;
    options.jobs = setup.jobs;
    options.readAsBrowser = setup.readAsBrowser;
    options.checkAnchors = setup.checkAnchors;
    options.indexPageNames = setup.indexPageNames;
    RecordingHost host;
    RunWalk(state, options, host);

    const qsizetype top = site.root().size();
    for (qint32 i = 1; i <= state.lngNumBrokenLinks; ++i) {
        const std::string separator = i > 1 ? "|" : "";
        const std::string target = DisplayName(state.brokenLinks[i].strLinkTo.mid(top)).toStdString();
        outcome.links += separator + DisplayName(state.brokenLinks[i].strLinkFrom.mid(top)).toStdString()
                         + " -> " + target;
        outcome.targets += separator + target;
    }
    return outcome;
}

QByteArray PageLinkingTo(std::initializer_list<const char *> links)
{
    QByteArray page;
    for (const char *link : links)
        page += QByteArray("<a href=\"") + link + "\">\r\n";
    return page;
}

std::string TargetsOfPage(const QByteArray &page, const CheckSetup &setup)
{
    TempTree site;
    site.file(QStringLiteral("index.htm"), page);
    return CheckSite(site, setup).targets;
}

std::string TargetsOfLinks(std::initializer_list<const char *> links, const CheckSetup &setup)
{
    return TargetsOfPage(PageLinkingTo(links), setup);
}

} // namespace quillan::test
