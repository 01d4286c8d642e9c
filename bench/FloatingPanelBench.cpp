// One step of a floating panel's own gestures: a pointer motion that moves the panel (to the frame set),
// and one that resizes the calendar mini window's panel, with its relayout and repaint; and the chrome
// shown and hidden as the pointer enters and leaves a mini window.
#include <ClockCalendarFeature/CalendarViewController.h>
#include <ClockCalendarFeature/ClockMiniWindows.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelChromeView.h>
#include <TovikKit/FloatingPanelWindowController.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

struct ShownPanel {
    explicit ShownPanel(QSize size)
        : panel({QStringLiteral("日历"), "bench.window", QSizeF(size), {240, 200}, 12, false, QString(), nullptr})
    {
        chrome->resize(size);
        panel.move(200, 100);
        panel.show();
        (void)QTest::qWaitForWindowExposed(&panel);
    }
    void send(QEvent::Type type, const QPoint &local, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(local), QPointF(chrome->mapToGlobal(local)), Qt::LeftButton, buttons, {});
        QApplication::sendEvent(chrome, &event);
    }
    FloatingPanel panel;
    FloatingPanelChromeView *chrome = new FloatingPanelChromeView(&panel);
};

void moveStep(benchmark::State &state)
{
    ShownPanel shown(QSize(340, 116));
    new QLabel(QStringLiteral("12:00:00"), shown.chrome);
    const QPoint start(100, 50);
    shown.send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        // Back and forth, so the panel stays on the screen; positions are global, as the gesture's are.
        const QPoint global = shown.chrome->mapToGlobal(start) + QPoint(step % 2 == 0 ? 3 : -3, 0);
        QMouseEvent event(QEvent::MouseMove, QPointF(shown.chrome->mapFromGlobal(global)), QPointF(global),
                          Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(shown.chrome, &event);
        ++step;
    }
    shown.send(QEvent::MouseButtonRelease, start, Qt::NoButton);
}
BENCHMARK(moveStep)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void calendarResizeStep(benchmark::State &state)
{
    ShownPanel shown(QSize(360, 320));
    CalendarViewController calendar{TovikClock::shared()};
    QWidget *page = calendar.view();
    page->setParent(shown.chrome);
    page->setGeometry(shown.chrome->rect());
    page->show();
    QImage image(QSize(400, 360), QImage::Format_ARGB32_Premultiplied);
    const QPoint corner(350, 310);
    const QPoint startGlobal = shown.chrome->mapToGlobal(corner);
    shown.send(QEvent::MouseButtonPress, corner, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const QPoint global = startGlobal + QPoint(step % 2 == 0 ? 20 : 0, step % 2 == 0 ? 20 : 0);
        QMouseEvent event(QEvent::MouseMove, QPointF(shown.chrome->mapFromGlobal(global)), QPointF(global),
                          Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(shown.chrome, &event);
        // The page follows the panel's size as the window controller lays it out, then paints.
        shown.chrome->resize(shown.panel.size());
        page->setGeometry(shown.chrome->rect());
        QApplication::sendPostedEvents();
        image.fill(Qt::black);
        shown.panel.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        ++step;
    }
    shown.send(QEvent::MouseButtonRelease, corner, Qt::NoButton);
}
BENCHMARK(calendarResizeStep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The same step in a mini window as the application makes it, which also keeps the frame.
void miniWindowMoveStep(benchmark::State &state)
{
    auto controller = ClockMiniWindow::makeClock(TovikClock::shared(), "bench.clock.window");
    controller->present(0);
    (void)QTest::qWaitForWindowExposed(controller->window());
    auto *chrome = controller->window()->findChild<FloatingPanelChromeView *>();
    const QPoint start(100, 50);
    const QPoint startGlobal = chrome->mapToGlobal(start);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(start), QPointF(startGlobal), Qt::LeftButton, Qt::LeftButton,
                      {});
    QApplication::sendEvent(chrome, &press);
    int step = 0;
    for (auto _ : state) {
        const QPoint global = startGlobal + QPoint(step % 2 == 0 ? 3 : -3, 0);
        QMouseEvent event(QEvent::MouseMove, QPointF(chrome->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                          Qt::LeftButton, {});
        QApplication::sendEvent(chrome, &event);
        ++step;
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(start), QPointF(startGlobal), Qt::LeftButton, Qt::NoButton,
                        {});
    QApplication::sendEvent(chrome, &release);
}
BENCHMARK(miniWindowMoveStep)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// The calendar mini window as the application makes it: the controller lays out its chrome and the page
// at every size change, then the panel paints.
void calendarMiniWindowResizeStep(benchmark::State &state)
{
    auto controller = ClockMiniWindow::makeCalendar(TovikClock::shared(), "bench.calendar.window");
    controller->present(0);
    FloatingPanel *panel = controller->window();
    (void)QTest::qWaitForWindowExposed(panel);
    auto *chrome = controller->window()->findChild<FloatingPanelChromeView *>();
    QImage image(QSize(420, 380), QImage::Format_ARGB32_Premultiplied);
    const QPoint corner(chrome->width() - 10, chrome->height() - 10);
    const QPoint startGlobal = chrome->mapToGlobal(corner);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(corner), QPointF(startGlobal), Qt::LeftButton, Qt::LeftButton,
                      {});
    QApplication::sendEvent(chrome, &press);
    int step = 0;
    for (auto _ : state) {
        const QPoint global = startGlobal + QPoint(step % 2 == 0 ? 20 : 0, step % 2 == 0 ? 20 : 0);
        QMouseEvent event(QEvent::MouseMove, QPointF(chrome->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                          Qt::LeftButton, {});
        QApplication::sendEvent(chrome, &event);
        QApplication::sendPostedEvents();
        image.fill(Qt::black);
        panel->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        ++step;
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(corner), QPointF(startGlobal), Qt::LeftButton, Qt::NoButton,
                        {});
    QApplication::sendEvent(chrome, &release);
}
BENCHMARK(calendarMiniWindowResizeStep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The pointer entering or leaving a mini window: the four buttons and the border shown or hidden.
void hoverChromeShowOrHide(benchmark::State &state)
{
    auto controller = ClockMiniWindow::makeClock(TovikClock::shared(), "bench.clock.window");
    controller->present(0);
    FloatingPanel *panel = controller->window();
    (void)QTest::qWaitForWindowExposed(panel);
    const QPointF inside(100, 50);
    int step = 0;
    for (auto _ : state) {
        if (step % 2 == 0) {
            QEnterEvent enter(inside, inside, QPointF(panel->mapToGlobal(inside.toPoint())));
            QApplication::sendEvent(panel, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(panel, &leave);
        }
        ++step;
    }
    if (controller->isChromeVisible() == (step % 2 == 0)) {
        state.SkipWithError("the chrome did not follow the pointer");
    }
}
BENCHMARK(hoverChromeShowOrHide)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

} // namespace
