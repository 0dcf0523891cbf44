#pragma once
// The answers of the disk for the link targets of one walk. The pages of a
// site name the same targets over and over (menus, the pages beside them, a
// missing page every page links to), so each target is looked up once; pages
// are read on several threads, so the answers are shared between them.

#include "scan/SharedAnswers.h"
#include "util/FolderFileNames.h"

#include <QString>

namespace quillan {

class TargetLookups
{
public:
    // FileExists(path), asked of the disk the first time only.
    bool FileExists(const QString &path);

    static constexpr qsizetype kMostKept = SharedAnswers<bool>::kMostKept;

private:
    SharedAnswers<bool> isFile_;
    FolderFileNames disk_;
};

} // namespace quillan
