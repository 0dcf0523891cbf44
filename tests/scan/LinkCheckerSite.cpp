#include "LinkCheckerSite.h"

#include "main/WalkDriver.h"

namespace quillan::test {

namespace {

class RecordingHost : public WalkHost
{
public:
    void Yield() override {}
    bool StopRequested() const override { return false; }
    void ShowFileBeingScanned(const QString &) override {}
    void ShowStatus(const QString &text) override { statuses.append(text); }

    QStringList statuses;
};

} // namespace

CheckOutcome CheckSite(const TempTree &site, const CheckSetup &setup)
{
    CheckOutcome outcome;
    ScanState &state = outcome.state;
    PrepareExclusions(state, QString(), setup.excludedLinks);
    state.EmptyBrokenLinks();
    state.blnCheckingLinks = true;

    ScanOptions options;
    options.topFolder = site.root();
    options.includePhpFiles = setup.includePhpFiles;
    options.checkableFileTypes = setup.checkableFileTypes;
    options.maxNumLinks = setup.maxNumLinks;

    RecordingHost host;
    RunWalk(state, options, host);

    const qsizetype top = site.root().size();
    for (qint32 i = 1; i <= state.lngNumBrokenLinks; ++i) {
        const BrokenLink &link = state.brokenLinks[i];
        outcome.links.append(link.strLinkFrom.mid(top) + QStringLiteral(" -> ")
                             + link.strLinkTo.mid(top));
    }
    outcome.statuses = host.statuses;
    return outcome;
}

QStringList Targets(const CheckOutcome &outcome)
{
    QStringList targets;
    for (const QString &link : outcome.links)
        targets.append(link.mid(link.indexOf(QStringLiteral(" -> ")) + 4));
    return targets;
}

QByteArray Page(const QStringList &lines, const QByteArray &lineEnd)
{
    QByteArray page;
    for (const QString &line : lines)
        page += line.toUtf8() + lineEnd;
    return page;
}

QByteArray PageLinkingTo(const QStringList &links)
{
    QStringList lines;
    for (const QString &link : links)
        lines.append(QStringLiteral("<a href=\"") + link + QStringLiteral("\">"));
    return Page(lines);
}

namespace {

QStringList targetsOfPage(const QByteArray &page, const CheckSetup &setup)
{
    TempTree site;
    site.file(QStringLiteral("index.htm"), page);
    return Targets(CheckSite(site, setup));
}

} // namespace

QStringList TargetsOfLines(const QStringList &lines, const CheckSetup &setup)
{
    return targetsOfPage(Page(lines), setup);
}

QStringList TargetsOfLinks(const QStringList &links, const CheckSetup &setup)
{
    return targetsOfPage(PageLinkingTo(links), setup);
}

} // namespace quillan::test
