// The floor of our stack for the process-level figures: the least a Qt Widgets window with a Chinese date
// line and a clock ticking once a second costs. Nothing of the application is linked.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("dayvane-floor"));
    window.resize(720, 480);
    auto *layout = new QVBoxLayout(&window);
    auto *date = new QLabel(QStringLiteral("丙午年正月初一 星期二"), &window);
    auto *time = new QLabel(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), &window);
    layout->addWidget(date, 0, Qt::AlignCenter);
    layout->addWidget(time, 0, Qt::AlignCenter);

    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, time,
                     [time] { time->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); });
    ticker.start(1000);

    window.show();
    return application.exec();
}
