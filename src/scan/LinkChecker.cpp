#include "scan/LinkChecker.h"

#include "util/FileProc.h"
#include "util/StrProc.h"

#include <QFile>
#include <QStringDecoder>

#include <array>

namespace quillan {

namespace {

struct Replacement {
    QStringView find;
    QStringView replaceBy;
};

// The escapes of the link texts that name real file names, applied in this
// order ("/" becomes the separator between the two groups).
constexpr std::array<Replacement, 5> kEscapesBeforeSeparator{{
    {u"&amp;", u"&"},
    {u"%20", u" "},
    {u"%27", u"'"},
    {u"%28", u"("},
    {u"%29", u")"},
}};
constexpr std::array<Replacement, 5> kEscapesAfterSeparator{{
    {u"%C3%A7", u"\u00e7"},
    {u"%C3%B1", u"\u00f1"},
    {u"%C3%AD", u"\u00ed"},
    {u"%C3%B3", u"\u00f3"},
    {u"%E2%80%93", u"\u2013"},
}};

// Links that point outside the site or run a script.
constexpr std::array<QStringView, 3> kNotLocalMarks{u"mailto:", u"://", u"javascript:"};

constexpr QStringView kCommentStart = u"<!--";
constexpr QStringView kCommentEnd = u"-->";

void replaceAll(QString &text, const std::array<Replacement, 5> &table)
{
    for (const Replacement &r : table) {
        if (text.contains(r.find))
            text.replace(r.find.toString(), r.replaceBy.toString());
    }
}

// The part of a line that is not inside a comment opened or closed on it.
// No state is carried between lines.
QStringView cutComment(QStringView line)
{
    const qsizetype start = line.indexOf(kCommentStart);
    if (start >= 0)
        return line.first(start);
    const qsizetype end = line.indexOf(kCommentEnd);
    if (end >= 0)
        return line.sliced(end + kCommentEnd.size());
    return line;
}

} // namespace

LinkChecker::LinkChecker(ScanState &state, const ScanOptions &options, WalkHost &host)
    : state_(state), options_(options), host_(host)
{
    for (int i = 0; i < state_.intNumExcludedLinks && i < state_.strExcludedLinks.size(); ++i)
        loweredLinkExclusions_.append(LowerCaseAccented(state_.strExcludedLinks[i]));
}

void LinkChecker::CheckLinksInFile(const QString &page)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Whatever could be read is examined; a read error just ends the page.
    const QByteArray bytes = file.readAll();
    file.close();

    QStringDecoder decoder(QStringConverter::System);
    const QString text = decoder.decode(bytes);

    // CR, LF and CR LF each end a line, so pages saved on any system give
    // the same lines.
    const QChar *data = text.constData();
    const qsizetype size = text.size();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && data[i] != u'\r' && data[i] != u'\n')
            continue;
        if (i > lineStart && !checkLine(QStringView(data + lineStart, i - lineStart), page))
            return;
        if (i + 1 < size && data[i] == u'\r' && data[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
}

bool LinkChecker::checkLine(QStringView line, const QString &page)
{
    line = cutComment(TrimControlChars(line));
    if (line.isEmpty())
        return true;

    // At most one link a line: the first href, or failing that the first src.
    QStringView key = kHrefKey;
    qsizetype keyPos = IndexOfInLowered(line, kHrefKey);
    if (keyPos < 0) {
        key = kSrcKey;
        keyPos = IndexOfInLowered(line, kSrcKey);
        if (keyPos < 0)
            return true;
    }
    const qsizetype linkStart = keyPos + key.size();
    const qsizetype closingQuote = line.indexOf(u'"', linkStart);
    if (closingQuote < 0)
        return true;

    const QString target = resolveLink(line.sliced(linkStart, closingQuote - linkStart));
    if (target.isEmpty() || FileExists(target))
        return true;
    recordBrokenLink(page, target);
    return !state_.blnMaxNumLinksReached;
}

QString LinkChecker::resolveLink(QStringView link) const
{
    for (QStringView mark : kNotLocalMarks) {
        if (ContainsInLowered(link, mark))
            return QString();
    }
    const qsizetype fragment = link.indexOf(u'#');
    if (fragment >= 0)
        link = link.first(fragment);
    if (IsExcludedLink(link))
        return QString();

    // The type list is searched as one string, so a part of an extension
    // ("htm" in "shtml") passes too.
    const QString extension = GetFileExtension(link, true);
    const bool checkable =
        (extension == QStringLiteral("php") && options_.includePhpFiles == 1)
        || (extension.isEmpty() ? !options_.checkableFileTypes.isEmpty()
                                : options_.checkableFileTypes.contains(extension));
    if (!checkable)
        return QString();

    QString path = DecodeLink(link);

    int depth = state_.intFolderDepth;
    const QString climb = QStringLiteral("..") + PathSeparator();
    qsizetype climbed = 0;
    while (QStringView(path).sliced(climbed).startsWith(climb)) {
        --depth;
        climbed += climb.size();
    }
    // A link above the top folder leaves the site: not checked.
    if (depth < 1)
        return QString();
    path.remove(0, climbed);
    return state_.strFolderAtDepth[depth] + path;
}

bool LinkChecker::IsExcludedLink(QStringView link) const
{
    if (link.isEmpty() || link.startsWith(u'/'))
        return true;
    for (const QString &exclusion : loweredLinkExclusions_) {
        if (ContainsInLowered(link, exclusion))
            return true;
    }
    return false;
}

void LinkChecker::recordBrokenLink(const QString &page, const QString &target)
{
    ++state_.lngNumBrokenLinks;
    state_.GrowBrokenLinks(100);
    state_.brokenLinks[state_.lngNumBrokenLinks] = BrokenLink{page, target};
    host_.ShowStatus(BrokenLinksSoFarText(state_.lngNumBrokenLinks));
    if (state_.lngNumBrokenLinks >= options_.maxNumLinks)
        state_.blnMaxNumLinksReached = true;
}

QString DecodeLink(QStringView link)
{
    QString path = link.toString();
    if (!link.contains(u'&') && !link.contains(u'%') && PathSeparator() == u'/')
        return path;
    replaceAll(path, kEscapesBeforeSeparator);
    if (PathSeparator() != u'/')
        path.replace(u'/', PathSeparator());
    replaceAll(path, kEscapesAfterSeparator);
    return path;
}

QString BrokenLinksSoFarText(qint32 numBrokenLinks)
{
    if (numBrokenLinks == 1)
        return QStringLiteral("One broken link found so far.");
    return QString::number(numBrokenLinks) + QStringLiteral(" broken links found so far.");
}

} // namespace quillan
