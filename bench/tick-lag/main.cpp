// The lag from each whole second of the wall clock to the clock face's repaint that shows it, on the window
// system Qt is given (a real X server under bench/tick-lag-bench): the repaint is counted as done when the
// window's update request, painting and flushing to the server, has been handled. Prints the median and
// the 95th percentile of the lag over a number of seconds, and the clock's repaints per second.
// Usage: dayvane-tick-lag [seconds]   (default 30)
#include <ClockCalendarFeature/ClockFaceView.h>
#include <Platform/Ui/TovikClock.h>

#include <QApplication>
#include <QEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Handles the window's update requests itself, so that it can note when each one has been painted and flushed.
class RepaintClock final : public QObject {
public:
    RepaintClock(QWidget *window, ClockFaceView *face, int seconds)
        : QObject(window)
        , m_face(face)
        , m_seconds(seconds)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::UpdateRequest) {
            return false;
        }
        watched->event(event);
        const double now = wallSeconds();
        const QString shown = m_face->timeText();
        if (shown == m_lastShown) {
            return true;
        }
        // The first two flips come while the window settles; they are not counted.
        if (++m_flips > 2) {
            m_lagsMs.push_back((now - std::floor(now)) * 1000);
            m_lastFlip = now;
            if (m_firstFlip == 0) {
                m_firstFlip = now;
            }
        }
        m_lastShown = shown;
        if (static_cast<int>(m_lagsMs.size()) >= m_seconds) {
            report();
            QCoreApplication::quit();
        }
        return true;
    }

private:
    void report()
    {
        std::vector<double> lags = m_lagsMs;
        std::sort(lags.begin(), lags.end());
        const auto at = [&lags](double q) { return lags[static_cast<std::size_t>(std::ceil(q * lags.size())) - 1]; };
        const double span = m_lastFlip - m_firstFlip;
        std::printf("clock repaint after the second (ms): median %.2f, p95 %.2f, max %.2f over %zu seconds\n", at(0.5),
                    at(0.95), lags.back(), lags.size());
        std::printf("flips per second of wall time: %.3f\n", span > 0 ? (lags.size() - 1) / span : 0.0);
        std::printf("goal p95 <= 20 ms: %s\n", at(0.95) <= 20 ? "met" : "MISSED");
    }

    ClockFaceView *m_face;
    int m_seconds;
    int m_flips = 0;
    QString m_lastShown;
    std::vector<double> m_lagsMs;
    double m_firstFlip = 0;
    double m_lastFlip = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    QWidget window;
    window.setWindowTitle(QStringLiteral("dayvane-tick-lag"));
    window.resize(560, 360);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::black);
    window.setPalette(palette);
    auto *layout = new QVBoxLayout(&window);
    auto *face = new ClockFaceView(TovikClock::shared(), ClockFaceView::Metrics::page());
    layout->addWidget(face);
    new RepaintClock(&window, face, seconds);
    window.show();
    return application.exec();
}
