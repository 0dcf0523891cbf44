// html-tokenizer-bench: the engine's HTML reading against gumbo and libxml2.
//
//   html-tokenizer-bench cases                     the tricky cases with each reader
//   html-tokenizer-bench time FOLDER... [--repeat N] [--reader NAME]
//                                                  each reader on every page of the
//                                                  folders (names whose extension holds
//                                                  "htm"), pages held in memory; best of N
//   html-tokenizer-bench compare FOLDER...         pages where gumbo's links (values
//                                                  and lines) differ from the engine's

#include "Readers.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

using namespace quillan::bench;

namespace {

const std::array kReaders = {
    Reader{"quillan", ReadWithQuillan},
    Reader{"gumbo", ReadWithGumbo},
    Reader{"libxml2", ReadWithLibxml2},
};

struct TrickyCase {
    const char *name;
    const char *page;
    const char *expected; // the values, separated by " | "; each "line:value" when lines are checked
    bool lines;
};

const std::array kCases = {
    TrickyCase{"unquoted values", "<a href=a.htm><img alt=x src=b.png>", "a.htm | b.png", false},
    TrickyCase{"<a href=x/>", "<a href=x/>", "x/", false},
    TrickyCase{"single quotes holding \"", "<a href='s\"q.htm'>", "s\"q.htm", false},
    TrickyCase{"reference without ; (attribute rule)", "<a href=\"?a=1&copy=2&lt&amp\">", "?a=1&copy=2<&", false},
    TrickyCase{"numeric references replaced", "<a href=\"&#128;&#0;&#x41\">", "\u20AC\uFFFDA", false},
    TrickyCase{"duplicate attribute: first wins", "<a href=1.htm HREF=2.htm>", "1.htm", false},
    TrickyCase{"script data escapes", "<script><!--<script></script><a href=no>--></script><a href=yes>", "yes", false},
    TrickyCase{"</script >", "<script>x</script ><a href=yes>", "yes", false},
    TrickyCase{"comment <!-->", "<!--><a href=yes>", "yes", false},
    TrickyCase{"comment ended by --!>", "<!-- x --!><a href=yes>", "yes", false},
    TrickyCase{"bogus comments <?...> and </ x>", "<?php x ?><a href=1></ x><a href=2>", "1 | 2", false},
    TrickyCase{"CDATA outside svg", "<![CDATA[ a > <a href=yes> ]]>", "yes", false},
    TrickyCase{"CDATA inside svg", "<svg><![CDATA[<a href=no>]]><a href=s.svg></a></svg>", "s.svg", false},
    TrickyCase{"svg xlink:href", "<svg><use xlink:href=\"#i\"/></svg>", "#i", false},
    TrickyCase{"textarea holding a link", "<textarea><a href=no></textarea><a href=yes>", "yes", false},
    TrickyCase{"title holding a link", "<title><a href=no></title><a href=yes>", "yes", false},
    TrickyCase{"link in noscript", "<noscript><img src=ns.png></noscript>", "ns.png", false},
    TrickyCase{"plaintext", "<plaintext><a href=no>", "", false},
    TrickyCase{"tag left open at the end", "<a href=yes><a href=\"no", "yes", false},
    TrickyCase{"<image> read as <img>", "<image src=i.png>", "i.png", false},
    TrickyCase{"server-side include", "<!--#include virtual=\"/i.html\" -->", "/i.html", false},
    TrickyCase{"line of a value below its tag", "<a\nhref=\n\"x.htm\"\n>", "3:x.htm", true},
    TrickyCase{"lines with CR and CR LF", "<p>\r\n<a href=a>\r<a\rhref=b>", "2:a | 4:b", true},
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
    std::array<int, 3> right = {};
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
    std::printf("| right | %d of %zu | %d of %zu | %d of %zu |\n", right[0], kCases.size(), right[1],
                kCases.size(), right[2], kCases.size());
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

int RunCompare(const QStringList &folders)
{
    const std::vector<QByteArray> pages = LoadPages(folders);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::vector<FoundLink> ours;
        std::vector<FoundLink> theirs;
        ReadWithQuillan(pages[i], ours);
        ReadWithGumbo(pages[i], theirs);
        const QString a = Described(ours, true);
        const QString b = Described(theirs, true);
        if (a == b)
            continue;
        if (++differing > 5)
            continue;
        // From the first link that differs.
        std::size_t first = 0;
        while (first < ours.size() && first < theirs.size() && ours[first].line == theirs[first].line &&
               ours[first].value == theirs[first].value)
            ++first;
        const auto from = [first](std::vector<FoundLink> links) {
            links.erase(links.begin(), links.begin() + qsizetype(std::min(first, links.size())));
            return Described(links, true).left(200).toUtf8();
        };
        std::printf("page %zu, link %zu:\n  quillan %s\n  gumbo   %s\n", i, first, from(ours).constData(),
                    from(theirs).constData());
    }
    std::printf("%zu of %zu pages differ\n", differing, pages.size());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (!args.isEmpty() && args[0] == u"cases")
        return RunCases();
    if (args.size() >= 2 && args[0] == u"compare")
        return RunCompare(args.mid(1));
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
    std::fprintf(stderr, "usage: html-tokenizer-bench cases | compare FOLDER... | time FOLDER... [--repeat N] [--reader NAME]\n");
    return 2;
}
