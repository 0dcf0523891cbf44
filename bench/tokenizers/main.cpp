// html-tokenizer-bench: the engine's HTML reading against gumbo and libxml2.
//
//   html-tokenizer-bench cases                     the tricky cases with each reader
//   html-tokenizer-bench time FOLDER... [--repeat N] [--reader NAME]
//                                                  each reader on every page of the
//                                                  folders (names whose extension holds
//                                                  "htm"), pages held in memory; best of N

#include "Readers.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <limits>

using namespace quillan::bench;

namespace {

const Reader kReaders[] = {
    {"quillan", ReadWithQuillan},
    {"gumbo", ReadWithGumbo},
    {"libxml2", ReadWithLibxml2},
};

struct TrickyCase {
    const char *name;
    const char *page;
    const char *expected; // the values, separated by " | "; each "line:value" when lines are checked
    bool lines;
};

const TrickyCase kCases[] = {
    {"unquoted values", "<a href=a.htm><img alt=x src=b.png>", "a.htm | b.png", false},
    {"<a href=x/>", "<a href=x/>", "x/", false},
    {"single quotes holding \"", "<a href='s\"q.htm'>", "s\"q.htm", false},
    {"reference without ; (attribute rule)", "<a href=\"?a=1&copy=2&lt&amp\">", "?a=1&copy=2<&", false},
    {"numeric references replaced", "<a href=\"&#128;&#0;&#x41\">", "\u20AC\uFFFDA", false},
    {"duplicate attribute: first wins", "<a href=1.htm HREF=2.htm>", "1.htm", false},
    {"script data escapes", "<script><!--<script></script><a href=no>--></script><a href=yes>", "yes", false},
    {"</script >", "<script>x</script ><a href=yes>", "yes", false},
    {"comment <!-->", "<!--><a href=yes>", "yes", false},
    {"comment ended by --!>", "<!-- x --!><a href=yes>", "yes", false},
    {"bogus comments <?...> and </ x>", "<?php x ?><a href=1></ x><a href=2>", "1 | 2", false},
    {"CDATA outside svg", "<![CDATA[ a > <a href=yes> ]]>", "yes", false},
    {"CDATA inside svg", "<svg><![CDATA[<a href=no>]]><a href=s.svg></a></svg>", "s.svg", false},
    {"svg xlink:href", "<svg><use xlink:href=\"#i\"/></svg>", "#i", false},
    {"textarea holding a link", "<textarea><a href=no></textarea><a href=yes>", "yes", false},
    {"title holding a link", "<title><a href=no></title><a href=yes>", "yes", false},
    {"link in noscript", "<noscript><img src=ns.png></noscript>", "ns.png", false},
    {"plaintext", "<plaintext><a href=no>", "", false},
    {"tag left open at the end", "<a href=yes><a href=\"no", "yes", false},
    {"<image> read as <img>", "<image src=i.png>", "i.png", false},
    {"server-side include", "<!--#include virtual=\"/i.html\" -->", "/i.html", false},
    {"line of a value below its tag", "<a\nhref=\n\"x.htm\"\n>", "3:x.htm", true},
    {"lines with CR and CR LF", "<p>\r\n<a href=a>\r<a\rhref=b>", "2:a | 4:b", true},
};

QString Described(const std::vector<FoundLink> &links, bool lines)
{
    QStringList parts;
    for (const FoundLink &link : links)
        parts.append(lines ? QString::number(link.line) + u':' + link.value : link.value);
    return parts.join(QStringLiteral(" | "));
}

int RunCases()
{
    std::printf("| Case | quillan | gumbo | libxml2 |\n|---|---|---|---|\n");
    int right[3] = {};
    for (const TrickyCase &c : kCases) {
        std::printf("| %s |", c.name);
        for (std::size_t r = 0; r < 3; ++r) {
            std::vector<FoundLink> links;
            kReaders[r].read(QByteArray(c.page), links);
            const QString got = Described(links, c.lines);
            const bool ok = got == QString::fromUtf8(c.expected);
            right[r] += ok ? 1 : 0;
            if (ok)
                std::printf(" yes |");
            else
                std::printf(" no: \"%s\" |", got.toUtf8().constData());
        }
        std::printf("\n");
    }
    std::printf("| right | %d of %zu | %d of %zu | %d of %zu |\n", right[0], std::size(kCases), right[1],
                std::size(kCases), right[2], std::size(kCases));
    return 0;
}

std::vector<QByteArray> LoadPages(const QStringList &folders)
{
    std::vector<QByteArray> pages;
    for (const QString &folder : folders) {
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!QFileInfo(path).suffix().contains(u"htm", Qt::CaseInsensitive))
                continue;
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                pages.push_back(file.readAll());
        }
    }
    return pages;
}

int RunTimes(const QStringList &folders, int repeat, const QString &only)
{
    const std::vector<QByteArray> pages = LoadPages(folders);
    qint64 bytes = 0;
    for (const QByteArray &page : pages)
        bytes += page.size();
    std::printf("%zu pages, %.1f MB\n", pages.size(), double(bytes) / 1e6);
    const Reader decode{"decoding only", DecodeOnly};
    double quillanMs = 0;
    for (const Reader &reader : {decode, kReaders[0], kReaders[1], kReaders[2]}) {
        if (!only.isEmpty() && only != QLatin1StringView(reader.name))
            continue;
        double best = std::numeric_limits<double>::max();
        std::size_t found = 0;
        for (int i = 0; i < repeat; ++i) {
            QElapsedTimer timer;
            timer.start();
            std::size_t links = 0;
            for (const QByteArray &page : pages) {
                std::vector<FoundLink> read;
                reader.read(page, read);
                links += read.size();
            }
            best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
            found = links;
        }
        if (reader.read == ReadWithQuillan)
            quillanMs = best;
        std::printf("%-14s %9.1f ms  %9zu links", reader.name, best, found);
        if (quillanMs > 0 && reader.read != ReadWithQuillan)
            std::printf("  %.2f x quillan", best / quillanMs);
        std::printf("\n");
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == u"cases")
        return RunCases();
    if (args.size() >= 2 && args[0] == u"time") {
        int repeat = 3;
        const qsizetype at = args.indexOf(QStringLiteral("--repeat"));
        if (at >= 0 && at + 1 < args.size()) {
            repeat = std::max(1, args[at + 1].toInt());
            args.remove(at, 2);
        }
        QString only;
        const qsizetype readerAt = args.indexOf(QStringLiteral("--reader"));
        if (readerAt >= 0 && readerAt + 1 < args.size()) {
            only = args[readerAt + 1];
            args.remove(readerAt, 2);
        }
        return RunTimes(args.mid(1), repeat, only);
    }
    std::fprintf(stderr, "usage: html-tokenizer-bench cases | time FOLDER... [--repeat N] [--reader NAME]\n");
    return 2;
}
