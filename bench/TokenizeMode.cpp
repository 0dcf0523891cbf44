#include "TokenizeMode.h"

#include "BenchCommon.h"
#include "PlainPass.h"

#include "html/HtmlLinks.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace quillan::bench {

namespace {

struct Taken {
    long long links = 0;
    double copyingMs = 0; // of the run's time, copying the pages into the buffer
};

// Takes every page's links, each page copied first into one buffer.
Taken TakeLinks(const std::vector<std::string> &pages, bool anchors)
{
    Taken taken;
    QByteArray buffer;
    HtmlPage page;
    QElapsedTimer clock;
    clock.start();
    qint64 copyingNs = 0;
    for (const std::string &source : pages) {
        const qint64 copyStart = clock.nsecsElapsed();
        buffer.resize(qsizetype(source.size()));
        std::memcpy(buffer.data(), source.data(), source.size());
        copyingNs += clock.nsecsElapsed() - copyStart;
        page.links.clear();
        page.anchors.clear();
        ReadHtmlLinks(HtmlText::Of(buffer), page, anchors, HtmlLinksUse::CheckedNow);
        taken.links += qsizetype(page.links.size());
    }
    taken.copyingMs = double(copyingNs) / 1e6;
    return taken;
}

} // namespace

int RunTokenizeBenchmark(const QStringList &args)
{
    if (args.isEmpty()) {
        PrintLine(QStringLiteral("usage: quillan-bench tokenize <top folder> [--repeat N] [--anchors]"));
        return 2;
    }
    const QString &top = args[0];
    int repeat = 5;
    bool anchors = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--repeat") && i + 1 < args.size())
            repeat = qMax(args[++i].toInt(), 1);
        else if (args[i] == QStringLiteral("--anchors"))
            anchors = true;
    }
    const std::vector<std::string> pages = LoadEveryPage(top);
    // The copying is taken off each run's time: a read leaves a page in the
    // buffer, and reading is what the tokenizing is measured against. (The
    // best times' second, with the copying, goes unused.)
    std::vector<double> tokenizing;
    Taken taken;
    const auto tokenize = [&] {
        QElapsedTimer clock;
        clock.start();
        taken = TakeLinks(pages, anchors);
        tokenizing.push_back(double(clock.nsecsElapsed()) / 1e6 - taken.copyingMs);
    };
    const std::vector<double> best = BestTimesInTurn(repeat, {[&] { ReadPagesOnly(top); }, tokenize});
    PrintLine(QStringLiteral("Taking the links of %1 pages as a browser reads them%2: %3 links")
                  .arg(pages.size())
                  .arg(anchors ? QStringLiteral(", with anchors") : QString())
                  .arg(taken.links));
    PrintTime(QStringLiteral("reading the pages alone"), best[0]);
    const double tokenizingMs = *std::min_element(tokenizing.begin(), tokenizing.end());
    PrintTime(QStringLiteral("tokenizing, one thread (pages in memory)"), tokenizingMs);
    PrintRatio(tokenizingMs, best[0], QStringLiteral("tokenizing / reading the pages alone"));
    return 0;
}

} // namespace quillan::bench
