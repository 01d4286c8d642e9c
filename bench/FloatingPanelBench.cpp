// One step of a floating panel's own gestures: a pointer motion that moves the panel (to the frame set),
// and one that resizes the calendar mini window's panel, with its relayout and repaint.
#include <ClockCalendarFeature/CalendarViewController.h>
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelChromeView.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

struct ShownPanel {
    explicit ShownPanel(QSize size)
        : panel({QStringLiteral("日历"), "bench.window", QSizeF(size), {240, 200}, 12, false, QString()})
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
    CalendarViewController calendar;
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

} // namespace
