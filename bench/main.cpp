// The benchmark program: quillan-bench MODE arguments...

#include "BenchCommon.h"
#include "CoresMode.h"
#include "ScanBenchmarks.h"
#include "SiteGenerator.h"
#include "SurveyMode.h"
#include "TokenizeMode.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString usage()
{
    return QStringLiteral(
               "usage:\n"
               "  quillan-bench list <top folder> <output folder> [options]\n"
               "  quillan-bench check <top folder> <output folder> [options]\n"
               "  quillan-bench cli <top folder> <output folder> [--cli PATH] [options]\n"
               "  quillan-bench generate <folder> [--pages N] [--links N] [--broken N] "
               "[--folders N]\n"
               "  quillan-bench survey [--subfolders N] [--top FOLDER] [--repeat R]\n"
               "  quillan-bench cores [--threads N] [--repeat R]\n"
               "  quillan-bench tokenize <top folder> [--repeat R] [--anchors]\n")
           + quillan::bench::WindowOptionsUsage();
}

} // namespace

int main(int argc, char **argv)
{
    // The survey mode runs a window and so needs an application of its own.
    if (argc >= 2 && QByteArray(argv[1]) == "survey")
        return RunSurveyBenchmark(argc - 1, argv + 1);

    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString mode = args.value(0);
    const QStringList rest = args.mid(1);

    if (mode == QStringLiteral("list"))
        return quillan::bench::RunListBenchmark(rest);
    if (mode == QStringLiteral("check"))
        return quillan::bench::RunCheckBenchmark(rest);
    if (mode == QStringLiteral("cli"))
        return quillan::bench::RunCliBenchmark(rest);
    if (mode == QStringLiteral("generate"))
        return quillan::bench::RunGenerateSite(rest);
    if (mode == QStringLiteral("cores"))
        return quillan::bench::RunCoresBenchmark(rest);
    if (mode == QStringLiteral("tokenize"))
        return quillan::bench::RunTokenizeBenchmark(rest);

    quillan::bench::PrintLine(usage());
    return 2;
}
