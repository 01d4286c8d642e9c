// The calendar page's costs: rebuilding a month, one drag step across both months, one Shift+arrow key step
// across the month boundary, painting the page (with and without lunar captions).
#include <ClockCalendarFeature/CalendarView.h>
#include <ClockCalendarFeature/CalendarViewController.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/TovikColors.h>

#include <QImage>
#include <QPainter>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

Instant day(int year, int month, int dayOfMonth)
{
    return TovikGregorianCalendar::date(year, month, dayOfMonth).value();
}

QPoint centreOf(const CalendarView &view, Instant date)
{
    const auto &cells = view.gridCells();
    for (std::size_t p = 0; p < cells.size(); ++p) {
        if (cells[p].isCurrentMonth && cells[p].date == date) {
            return view.dayCellFrame(static_cast<int>(p)).center().toPoint();
        }
    }
    return {};
}

struct Page {
    Page()
    {
        root = controller.view();
        root->resize(720, 480);
        root->show();
        (void)QTest::qWaitForWindowExposed(root);
        controller.currentMonthView()->setDisplayedMonth(day(2026, 1, 1), true);
        QCoreApplication::processEvents();
    }
    CalendarViewController controller{TovikClock::shared()};
    QWidget *root = nullptr;
};

void BM_UpdateMonth(benchmark::State &state)
{
    Page page;
    CalendarView *view = page.controller.currentMonthView();
    const Instant today = day(2026, 1, 20) + 9 * 3600;
    for (auto _ : state) {
        view->updateMonth(today);
    }
}
BENCHMARK(BM_UpdateMonth)->Unit(benchmark::kMicrosecond);

// From a press on 5 January, the pointer moves back and forth between two February days; each step
// selects a new range in both months and paints what changed.
void BM_PageDragStep(benchmark::State &state)
{
    Page page;
    CalendarView *current = page.controller.currentMonthView();
    CalendarView *next = page.controller.nextMonthView();
    const QPoint anchor = centreOf(*current, day(2026, 1, 5));
    const QPoint near = current->mapFrom(page.root, next->mapTo(page.root, centreOf(*next, day(2026, 2, 10))));
    const QPoint far = current->mapFrom(page.root, next->mapTo(page.root, centreOf(*next, day(2026, 2, 24))));
    QTest::mousePress(current, Qt::LeftButton, {}, anchor);
    QCoreApplication::processEvents();
    bool toFar = true;
    for (auto _ : state) {
        QTest::mouseMove(current, toFar ? far : near);
        QCoreApplication::processEvents();
        toFar = !toFar;
    }
    QTest::mouseRelease(current, Qt::LeftButton, {}, near);
}
BENCHMARK(BM_PageDragStep)->Unit(benchmark::kMicrosecond);

// From a click on 30 January, Shift+Right and Shift+Left take turns between 31 January and 1 February:
// each press extends the selection across the month boundary in both months and paints what changed.
void BM_PageShiftArrowStep(benchmark::State &state)
{
    Page page;
    CalendarView *current = page.controller.currentMonthView();
    const QPoint start = centreOf(*current, day(2026, 1, 30));
    QTest::mouseClick(current, Qt::LeftButton, {}, start);
    QTest::keyClick(page.root, Qt::Key_Right, Qt::ShiftModifier);
    QCoreApplication::processEvents();
    bool right = true;
    for (auto _ : state) {
        QTest::keyClick(page.root, right ? Qt::Key_Right : Qt::Key_Left, Qt::ShiftModifier);
        QCoreApplication::processEvents();
        right = !right;
    }
}
BENCHMARK(BM_PageShiftArrowStep)->Unit(benchmark::kMicrosecond);

// A full repaint of both months; the argument turns the lunar captions on, so nearly every day draws two
// texts instead of one.
void BM_PaintPage(benchmark::State &state)
{
    Page page;
    // Set on the months themselves, so that the bench never writes the user's settings.
    page.controller.currentMonthView()->setShowsLunar(state.range(0) != 0);
    page.controller.nextMonthView()->setShowsLunar(state.range(0) != 0);
    QTest::mousePress(page.controller.currentMonthView(), Qt::LeftButton, {},
                      centreOf(*page.controller.currentMonthView(), day(2026, 1, 12)));
    QTest::mouseRelease(page.controller.currentMonthView(), Qt::LeftButton, {},
                        centreOf(*page.controller.currentMonthView(), day(2026, 1, 12)));
    QImage image(720, 480, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(TovikColors::windowBackground());
        page.root->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
