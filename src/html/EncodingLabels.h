#pragma once
// The names pages give their character encoding by ("latin1", "Shift_JIS",
// "utf8", ...) and the encoding each stands for, as browsers map them.

#include <QByteArrayView>

namespace quillan {

// The encoding `label` names (surrounding ASCII whitespace and letter case
// ignored), as a browser calls it ("windows-1252" for "iso-8859-1", "UTF-8"
// for "utf8"); empty for a label no browser knows. The labels of the
// "replacement" encoding, which a browser uses to refuse a page, give empty
// too: the page is then read as though it named none.
QByteArrayView EncodingForLabel(QByteArrayView label);

} // namespace quillan
