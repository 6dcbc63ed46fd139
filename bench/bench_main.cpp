#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include "probes.h"

// The benchmarks run without a display, on a private data and runtime folder.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    QTemporaryDir runtimeDir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], bench::kOpeningProbeFlag) == 0)
        return bench::openingProbe(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], bench::kPriceClickProbeFlag) == 0)
        return bench::priceClickProbe(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
