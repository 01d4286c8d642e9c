// The floor of a Qt Quick program for the widget host's process-level figures: one small frameless window
// drawn by the same software renderer, with a label ticking once a second. Nothing of ours is linked.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTime>
#include <QTimer>

#include <memory>

int main(int argc, char **argv)
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication application(argc, argv);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(
        "import QtQuick\n"
        "Rectangle { width: 170; height: 170; color: \"black\"\n"
        "  property string time\n"
        "  Text { anchors.centerIn: parent; color: \"white\"; font.pixelSize: 36; text: parent.time } }\n",
        QUrl());
    std::unique_ptr<QQuickItem> label(qobject_cast<QQuickItem *>(component.create()));
    QQuickWindow window;
    window.setFlags(Qt::FramelessWindowHint);
    window.setTitle(QStringLiteral("dayvane-quick-floor"));
    window.resize(170, 170);
    label->setParentItem(window.contentItem());

    const auto tick = [&label] {
        label->setProperty("time", QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    };
    tick();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, label.get(), tick);
    ticker.start(1000);

    window.show();
    const int status = application.exec();
    label.reset();
    return status;
}
