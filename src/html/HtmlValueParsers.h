#pragma once
// The attribute values and comments that hold links inside a text of their
// own: an image's srcset, a meta refresh's content and a server-side include.

#include "html/HtmlLinks.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace quillan {

// Part of a value: where it begins and how long it is.
struct ValueSpan {
    qsizetype offset = 0;
    qsizetype length = 0;
};

// The URL of every candidate of a srcset value, in order, as a browser splits
// them (commas inside a descriptor's parentheses do not split), whatever the
// candidate's descriptors say.
void SrcsetUrls(QStringView srcset, std::vector<ValueSpan> &urls);

enum class RefreshResult {
    NotARefresh,  // the content is not a refresh: a browser ignores it
    ReloadsPage,  // a refresh of the page itself, naming no URL
    GoesToUrl,    // a refresh to the URL of `url`
};

// Reads a meta refresh's content ("5; url=next.htm") as a browser does.
RefreshResult MetaRefreshUrl(QStringView content, ValueSpan &url);

struct IncludeLink {
    HtmlLinkKind kind = HtmlLinkKind::IncludeVirtual;
    qsizetype offset = 0;  // where the value begins in the comment's text
    QString value;         // an escaped quote ("\"") read as the quote
};

// The server-side includes of a comment whose text (between "<!--" and
// "-->") is `comment`: "#include virtual=..." or "file=...", values in double
// quotes, single quotes, backquotes or none, spaces around "=" allowed, names
// in any case; each of several values of one include, in order.
void ServerSideIncludes(QStringView comment, std::vector<IncludeLink> &includes);

} // namespace quillan
