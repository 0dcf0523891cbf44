#include "CoresMode.h"

#include "BenchCommon.h"

#include "scan/LinkTextMemo.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace quillan::bench {

namespace {

// One piece of work like a check's: hashing text that stays in the
// processor's cache, so that memory plays no part and only the cores count.
quint64 HashWork()
{
    constexpr int kRounds = 40000;
    constexpr qsizetype kUnits = 16384; // 32 KiB of text
    std::vector<char16_t> text(static_cast<size_t>(kUnits));
    for (qsizetype i = 0; i < kUnits; ++i)
        text[size_t(i)] = char16_t(u'a' + i % 26);
    quint64 sum = 0;
    for (int round = 0; round < kRounds; ++round) {
        text[size_t(round % kUnits)] = char16_t(sum); // no two rounds alike
        sum += HashOfUnits(text.data(), kUnits);
    }
    return sum;
}

std::atomic<quint64> gSink{0};

// The piece of work on `threads` threads at once, each doing it whole.
void RunAtOnce(int threads)
{
    std::vector<std::thread> running;
    running.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t)
        running.emplace_back([] { gSink += HashWork(); });
    for (std::thread &thread : running)
        thread.join();
}

} // namespace

int RunCoresBenchmark(const QStringList &args)
{
    int most = qMax(QThread::idealThreadCount(), 1);
    int repeat = 5;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--threads"))
            most = qMax(args[i + 1].toInt(), 1);
        else if (args[i] == QStringLiteral("--repeat"))
            repeat = qMax(args[i + 1].toInt(), 1);
    }
    std::vector<std::function<void()>> work;
    for (int threads = 1; threads <= most; ++threads)
        work.emplace_back([threads] { RunAtOnce(threads); });
    const std::vector<double> times = BestTimesInTurn(repeat, work);
    PrintLine(QStringLiteral("The same work on each thread, all at once (best of %1 runs in turn):").arg(repeat));
    for (int threads = 1; threads <= most; ++threads) {
        const double ms = times[size_t(threads - 1)];
        PrintTime(QStringLiteral("%1 thread%2").arg(threads).arg(threads == 1 ? QString() : QStringLiteral("s")), ms);
        if (threads > 1)
            PrintLine(QStringLiteral("  the work of %1 threads in %2 times the time of one: %3 threads' worth")
                          .arg(threads)
                          .arg(ms / times[0], 0, 'f', 2)
                          .arg(threads * times[0] / ms, 0, 'f', 2));
    }
    return 0;
}

} // namespace quillan::bench
