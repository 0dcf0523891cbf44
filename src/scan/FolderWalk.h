#pragma once
// The recursive walk of the top folder that selects the site's pages: in
// listing mode it lists them, in checking mode it hands each to the link
// checker.

#include "scan/PageReader.h"
#include "scan/ScanState.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <filesystem>
#include <memory>
#include <vector>

namespace quillan {

class FolderWalk
{
public:
    FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host);

    // Walks `strFolder` (the top folder's text on the first call) and,
    // depth first, its subfolders: a folder's files before its subfolders,
    // each in name order.
    void WalkFolder(QString strFolder);

    // The file-selection rules, each given the file's full path.
    bool IsNotTargetFile(QStringView path) const;
    bool IsExcludedFilepath(const QString &path) const;
    static bool IsNonEmptyFile(const QString &path);
    // `subfolderPath` is the top folder's text followed by a subfolder name.
    bool IsExcludedSubfolder(const QString &subfolderPath) const;

private:
    bool enterFolder(const QString &strFolder);
    void leaveFolder();
    // Has the page read and records its broken links in the order found,
    // up to the link limit.
    void checkLinksInFile(const QString &page);

    ScanState &state_;
    const ScanOptions &options_;
    WalkHost &host_;
    std::unique_ptr<PageReader> reader_; // the way of reading the options ask for
    std::vector<BrokenLink> found_; // one page's broken links, before recording
    QStringList loweredFilepathExclusions_;
    bool exclusionsHoldReplacement_ = false;
    QStringList loweredExcludedSubfolderPaths_;
    // Real paths of the folders from the top down to the one being walked,
    // so a link back up the chain is not followed round and round.
    std::vector<std::filesystem::path> realPathChain_;
};

// The status line while listing: "Number of files so far: 1,234".
QString ListingProgressText(qint32 numListedFiles);

} // namespace quillan
