// The time pages' costs: one second's tick of the clock page and of the stopwatch page (texts refreshed and
// the page repainted), a layout that fits the time font, and the fit itself beside a step-by-step search.
#include "StopwatchLookup.h"

#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockFaceView.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <ClockCalendarFeature/TimeFontFitting.h>
#include <ClockCalendarFeature/TimePageViewController.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikFonts.h>

#include <QAccessible>
#include <QFontMetricsF>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <private/qguiapplication_p.h>

namespace {

const QSize pageSize(720, 452);

struct ShownPage {
    explicit ShownPage(TimePageViewController::Content content)
        : controller(TovikClock::shared(), std::move(content))
    {
        root = controller.view();
        root->resize(pageSize);
        root->show();
        (void)QTest::qWaitForWindowExposed(root);
        image = QImage(pageSize, QImage::Format_ARGB32_Premultiplied);
    }
    void repaint()
    {
        image.fill(TovikColors::windowBackground());
        root->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    TimePageViewController controller;
    QWidget *root = nullptr;
    QImage image;
};

StopwatchStore benchStore(const QTemporaryDir &folder)
{
    return StopwatchStore(TovikSettingsStore::open((folder.path() + "/suite.sqlite3").toStdString()),
                          "dayvane.stopwatch");
}

void BM_ClockPageTick(benchmark::State &state)
{
    ShownPage page{TimePageViewController::Clock{}};
    auto *face = page.root->findChild<ClockFaceView *>();
    Instant now = 1771299045.0;
    for (auto _ : state) {
        now += 1;
        face->refresh(now);
        page.repaint();
    }
}
BENCHMARK(BM_ClockPageTick)->Unit(benchmark::kMicrosecond);

// The same tick while a screen reader listens (argument 1) or not (0). Run on xcb with the accessibility
// bus for the bridge's real cost; on the offscreen platform the bridge is Qt's no-op one.
void BM_ClockPageTickAccessibility(benchmark::State &state)
{
    QPlatformAccessibility *accessibility = QGuiApplicationPrivate::platformIntegration()->accessibility();
    if (!accessibility) {
        state.SkipWithError("no platform accessibility");
        return;
    }
    const bool wasActive = accessibility->isActive();
    accessibility->setActive(state.range(0) != 0);
    ClockCalendarAccessibility::install();
    ShownPage page{TimePageViewController::Clock{}};
    auto *face = page.root->findChild<ClockFaceView *>();
    // What a screen reader asks for once: the interfaces, created and cached.
    QAccessible::queryAccessibleInterface(face);
    Instant now = 1771299045.0;
    for (auto _ : state) {
        now += 1;
        face->refresh(now);
        page.repaint();
    }
    accessibility->setActive(wasActive);
}
BENCHMARK(BM_ClockPageTickAccessibility)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_StopwatchPageTick(benchmark::State &state)
{
    QTemporaryDir folder;
    const StopwatchStore store = benchStore(folder);
    store.save({3725, 1771299045.0});
    ClockCalendarAccessibility::install();
    ShownPage page{TimePageViewController::Stopwatch{store}};
    StopwatchView *stopwatch = stopwatchDisplay(*page.root);
    Instant now = 1771299045.0;
    for (auto _ : state) {
        now += 1;
        stopwatch->refresh(now);
        page.repaint();
    }
}
BENCHMARK(BM_StopwatchPageTick)->Unit(benchmark::kMicrosecond);

void BM_ClockPageLayout(benchmark::State &state)
{
    ShownPage page{TimePageViewController::Clock{}};
    int step = 0;
    for (auto _ : state) {
        // A live resize: every size is new, so every layout fits the font again.
        step = (step + 1) % 200;
        page.root->resize(pageSize + QSize(step, step / 2));
        QCoreApplication::sendPostedEvents();
    }
}
BENCHMARK(BM_ClockPageLayout)->Unit(benchmark::kMicrosecond);

double measured(double size)
{
    const QFont font = TovikFonts::systemFont(size, QFont::Medium, TovikFonts::Digits::monospaced);
    return QFontMetricsF(font).horizontalAdvance(QStringLiteral("00:00:00"));
}

void BM_FontFit(benchmark::State &state)
{
    int measurements = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TimeFontFitting::fittedSize(QSizeF(300, 132), 110, 18, [&](double size) {
            ++measurements;
            return measured(size);
        }));
    }
    state.counters["measurements"] = benchmark::Counter(measurements, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FontFit)->Unit(benchmark::kMicrosecond);

// The plain search from the top, for scale.
void BM_FontFitStepwise(benchmark::State &state)
{
    int measurements = 0;
    for (auto _ : state) {
        double size = 132 * 0.78;
        while (size - 0.25 > 18 && measured(size) > 300 * 0.94) {
            ++measurements;
            size -= 0.25;
        }
        benchmark::DoNotOptimize(size);
    }
    state.counters["measurements"] = benchmark::Counter(measurements, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FontFitStepwise)->Unit(benchmark::kMicrosecond);

} // namespace
