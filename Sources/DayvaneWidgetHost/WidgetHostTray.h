#pragma once

#include <QObject>

#include <memory>

class QMenu;
class QSystemTrayIcon;

// The host's tray icon, where the desktop has a tray: 小组件库… and 退出.
class WidgetHostTray final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetHostTray)

public:
    explicit WidgetHostTray(QObject *parent = nullptr);
    ~WidgetHostTray() override;

    // Shows the icon when a tray exists, else nothing.
    void show();

signals:
    void galleryRequested();
    void quitRequested();

private:
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
