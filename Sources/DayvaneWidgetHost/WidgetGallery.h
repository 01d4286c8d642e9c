#pragma once

#include <TovikWidgetKit/WidgetExtension.h>

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QQmlEngine;
class QQuickItem;
class QQuickView;

// The 小组件库 window: each widget of the extension in small, medium and large with its placeholder entry,
// display name and description, and the 登录时启动 switch. Built when first shown; a click on a card asks
// for that widget.
class WidgetGallery final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetGallery)

public:
    using Clock = std::function<Instant()>;

    // How much smaller than on the desktop the cards are shown.
    static constexpr double cardScale = 0.6;

    // `executable` is what an autostart entry written without a template starts.
    WidgetGallery(QQmlEngine &engine, const WidgetExtension &extension, Clock clock, QString executable,
                  QObject *parent = nullptr);
    ~WidgetGallery() override;

    // Shows and raises the window, building it on the first call.
    void show();
    // Null before the first show().
    QQuickView *window() const { return m_window.get(); }
    // The slot of one card, null before the first show().
    QQuickItem *card(const std::string &kind, WidgetFamily family) const;

signals:
    void addRequested(const std::string &kind, WidgetFamily family);

private slots:
    void onAddRequested(const QString &kind, int family);
    void onLaunchAtLoginToggled(bool enabled);

private:
    void build();

    QQmlEngine &m_engine;
    const WidgetExtension &m_extension;
    Clock m_clock;
    QString m_executable;
    std::unique_ptr<QQuickView> m_window;
};
