#pragma once
// Three ways of reading a page's links, to compare: the engine's own reading,
// gumbo's tree and libxml2's HTML push parser. The two libraries are asked for
// the same elements and attributes, and their values go through the engine's
// srcset, refresh and include parsers, so only the tokenizing differs.

#include <QByteArray>
#include <QString>

#include <vector>

namespace quillan::bench {

struct FoundLink {
    int line = 0;
    QString value;
};

struct Reader {
    const char *name;
    // Reads the page's bytes (any encoding) and appends its links.
    void (*read)(const QByteArray &page, std::vector<FoundLink> &links);
};

void ReadWithQuillan(const QByteArray &page, std::vector<FoundLink> &links);
void ReadWithGumbo(const QByteArray &page, std::vector<FoundLink> &links);
void ReadWithLibxml2(const QByteArray &page, std::vector<FoundLink> &links);

// Decoding alone: what every reader pays before tokenizing.
void DecodeOnly(const QByteArray &page, std::vector<FoundLink> &links);

// Records the resource links of one start tag, read by a library: `names`
// and `values` pair up; `inSvg` says whether the element is svg's.
void TakeTagLinks(const QString &tag, bool inSvg, const std::vector<QString> &names,
                  const std::vector<QString> &values, int line, std::vector<FoundLink> &links);
void TakeCommentIncludes(const QString &comment, int line, std::vector<FoundLink> &links);

} // namespace quillan::bench
