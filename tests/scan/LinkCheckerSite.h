#pragma once
// Runs a whole check of links on a small on-disk site, as the window does,
// and gives back what was recorded in a form tests can compare; the walk's
// host that records what the walk shows.

#include "engine/TempTree.h"
#include "run/WalkDriver.h"
#include "scan/ScanState.h"
#include "settings/TargetFileTypes.h"

#include <initializer_list>
#include <string>

namespace quillan::test {

// Records what the walk shows and can ask it to stop after some yields.
class RecordingHost : public WalkHost
{
public:
    void Yield() override
    {
        if (++yields == stopAfterYields)
            stop = true;
    }
    bool StopRequested() const override { return stop; }
    void ShowFileBeingScanned(QStringView relativePath) override { scanned.append(relativePath.toString()); }
    void ShowStatus(const QString &text) override { statuses.append(text); }
    // "path:linksChecked" for each page handed to the reader, "!" added
    // when it could not be read; "path:reason" for each folder passed over.
    void PageChecked(const QString &path, const PageReadResult &result) override
    {
        checked.append(path + u':' + QString::number(result.linksChecked) + (result.read ? QString() : QStringLiteral("!")));
    }
    void FolderSkipped(const QString &path, SkippedFolder why) override
    {
        skipped.append(path + (why == SkippedFolder::TooDeep ? QStringLiteral(":deep")
                                                             : QStringLiteral(":unreadable")));
    }

    int yields = 0;
    int stopAfterYields = 0;
    bool stop = false;
    QStringList scanned;
    QStringList statuses;
    QStringList checked;
    QStringList skipped;
};

struct CheckSetup {
    QString excludedLinks; // the link exclusion box's text
    QString excludedFilepaths;
    int includePhpFiles = 0;
    QString checkableFileTypes = DefaultCheckableFileTypes();
    qint32 maxNumLinks = 50000;
    int jobs = 0; // threads reading pages; 0: one per core
    bool readAsBrowser = false;
    bool checkAnchors = false;
    QStringList indexPageNames = DefaultIndexPageNames();
};

// The setup of a check that reads pages as a browser does.
inline CheckSetup BrowserSetup(bool checkAnchors = false)
{
    CheckSetup setup;
    setup.readAsBrowser = true;
    setup.checkAnchors = checkAnchors;
    return setup;
}

struct CheckOutcome {
    // Relative to the top folder, in recording order, joined by "|":
    // "page -> target" and the targets alone, names as displayed.
    std::string links;
    std::string targets;
    ScanState state;
};

CheckOutcome CheckSite(const TempTree &site, const CheckSetup &setup = {});

// A page with one <a href="..."> line for each (UTF-8) link.
QByteArray PageLinkingTo(std::initializer_list<const char *> links);

// The targets recorded for a site of one page, index.htm.
std::string TargetsOfPage(const QByteArray &page, const CheckSetup &setup = {});
std::string TargetsOfLinks(std::initializer_list<const char *> links, const CheckSetup &setup = {});

} // namespace quillan::test
