// Entry of the benchmark programs that need widgets: Beijing time, a QApplication on the offscreen
// platform unless another is asked for, then Google Benchmark.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char **argv)
{
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
