#include "WidgetHostTray.h"

#include <TovikKit/TovikSymbols.h>

#include <QMenu>
#include <QSystemTrayIcon>

WidgetHostTray::WidgetHostTray(QObject *parent)
    : QObject(parent)
{
}

WidgetHostTray::~WidgetHostTray() = default;

void WidgetHostTray::show()
{
    if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    m_menu = std::make_unique<QMenu>();
    m_menu->addAction(QStringLiteral("小组件库…"), this, &WidgetHostTray::galleryRequested);
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("退出"), this, &WidgetHostTray::quitRequested);
    const QIcon fallback(TovikSymbols::pixmap(QStringLiteral("calendar"), 18, QFont::Medium, Qt::white, 2));
    m_icon = std::make_unique<QSystemTrayIcon>(QIcon::fromTheme(QStringLiteral("dayvane"), fallback));
    m_icon->setToolTip(QStringLiteral("Dayvane 桌面小组件"));
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            emit galleryRequested();
        }
    });
    m_icon->show();
}
