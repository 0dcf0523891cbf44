#pragma once

#include <QString>

namespace quillan {

// The target file types whose links a check tests: lower-case extensions,
// each followed by one space. The list is searched as one string, so an
// extension that is part of another (such as "doc" in "docx") is found too.
inline QString DefaultCheckableFileTypes()
{
    return QStringLiteral("pdf htm html shtm shtml doc docx xml xmlx ppt pptx txt xml zip gif "
                          "jpg jpeg bmp png odp odt ods rtf swf css ");
}

} // namespace quillan
