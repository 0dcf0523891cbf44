#include "SiteGenerator.h"

#include "BenchCommon.h"

#include <QDir>
#include <QFile>

namespace quillan::bench {

namespace {

struct SiteShape {
    QString folder;
    int pages = 20000;
    int links = 20;  // links a page
    int broken = 2;  // of them, broken
    int folders = 100;
};

QString folderName(int folder)
{
    return QStringLiteral("d%1").arg(folder, 3, 10, QLatin1Char('0'));
}

QString pageName(int page)
{
    return QStringLiteral("page%1.htm").arg(page, 5, 10, QLatin1Char('0'));
}

// Link k of page `page`: the first `broken` ones point nowhere (one of them
// to a page every page links to, as a broken menu entry does), the rest are
// of the kinds a real page holds.
QString linkFor(const SiteShape &shape, int page, int k)
{
    const int pagesPerFolder = qMax(1, shape.pages / shape.folders);
    if (k < shape.broken) {
        switch (k % 3) {
        case 0:
            return QStringLiteral("../shared/contact.htm");
        case 1:
            return QStringLiteral("missing%1.htm").arg(page);
        default:
            return QStringLiteral("../img/none%1.gif").arg(page % 50);
        }
    }
    const int other = (page * 7 + k * 13) % shape.pages;
    switch (k % 8) {
    case 0:
        return pageName(other - other % pagesPerFolder + page % pagesPerFolder)
               .prepend(QStringLiteral("../") + folderName(other / pagesPerFolder) + u'/');
    case 1:
        return QStringLiteral("../img/logo.gif");
    case 2:
        return QStringLiteral("http://example.invalid/page%1.htm").arg(k);
    case 3:
        return QStringLiteral("#section%1").arg(k);
    case 4:
        return QStringLiteral("../style.css");
    case 5:
        return pageName(page - page % pagesPerFolder + (page + k) % pagesPerFolder)
               + QStringLiteral("#part");
    case 6:
        return QStringLiteral("script%1.js").arg(k);
    default:
        return QStringLiteral("../") + folderName(other / pagesPerFolder) + u'/'
               + pageName(other - other % pagesPerFolder);
    }
}

QByteArray pageText(const SiteShape &shape, int page)
{
    QString text = QStringLiteral(
        "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n"
        "  <meta charset=\"utf-8\">\r\n  <title>Page %1</title>\r\n"
        "  <link rel=\"stylesheet\" type=\"text/css\">\r\n</head>\r\n<body>\r\n"
        "<!-- generated page -->\r\n<h1>Page %1</h1>\r\n").arg(page);
    for (int k = 0; k < shape.links; ++k) {
        text += QStringLiteral("<p>Paragraph %1 of this page describes something worth reading "
                               "and then links onwards:</p>\r\n").arg(k);
        const QString link = linkFor(shape, page, k);
        if (link.endsWith(QStringLiteral(".gif")))
            text += QStringLiteral("<p><img src=\"") + link + QStringLiteral("\" alt=\"picture\"></p>\r\n");
        else
            text += QStringLiteral("<p><a class=\"nav\" href=\"") + link
                    + QStringLiteral("\">Link number %1</a></p>\r\n").arg(k);
    }
    text += QStringLiteral("</body>\r\n</html>\r\n");
    return text.toUtf8();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(content) == content.size();
}

bool parseShape(const QStringList &args, SiteShape &shape)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        int *into = arg == QStringLiteral("--pages")     ? &shape.pages
                    : arg == QStringLiteral("--links")   ? &shape.links
                    : arg == QStringLiteral("--broken")  ? &shape.broken
                    : arg == QStringLiteral("--folders") ? &shape.folders
                                                         : nullptr;
        if (into && i + 1 < args.size())
            *into = qMax(0, args[++i].toInt());
        else if (!arg.startsWith(QStringLiteral("--")) && shape.folder.isEmpty())
            shape.folder = arg;
        else
            return false;
    }
    shape.folders = qMax(1, shape.folders);
    return !shape.folder.isEmpty();
}

} // namespace

int RunGenerateSite(const QStringList &args)
{
    SiteShape shape;
    if (!parseShape(args, shape)) {
        PrintLine(QStringLiteral("quillan-bench: generate <folder> [--pages N] [--links N] "
                                 "[--broken N] [--folders N]"));
        return 2;
    }
    const QDir root(shape.folder);
    const int pagesPerFolder = qMax(1, shape.pages / shape.folders);
    bool ok = root.mkpath(QStringLiteral("img")) && root.mkpath(QStringLiteral("shared"));
    ok = ok && writeFile(root.filePath(QStringLiteral("img/logo.gif")), QByteArrayLiteral("GIF89a"));
    ok = ok && writeFile(root.filePath(QStringLiteral("style.css")), QByteArrayLiteral("p {}\n"));
    for (int page = 0; ok && page < shape.pages; ++page) {
        const QString folder = folderName(page / pagesPerFolder);
        if (page % pagesPerFolder == 0)
            ok = root.mkpath(folder);
        ok = ok && writeFile(root.filePath(folder + u'/' + pageName(page)), pageText(shape, page));
    }
    if (!ok) {
        PrintLine(QStringLiteral("quillan-bench: could not write the site in ") + shape.folder);
        return 1;
    }
    PrintLine(QStringLiteral("generated %1 pages with %2 links each (%3 broken) in %4")
                  .arg(shape.pages)
                  .arg(shape.links)
                  .arg(shape.broken)
                  .arg(root.absolutePath()));
    return 0;
}

} // namespace quillan::bench
