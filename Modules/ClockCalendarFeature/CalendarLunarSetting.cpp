#include "CalendarLunarSetting.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <QAction>

CalendarLunarSetting &CalendarLunarSetting::shared()
{
    static auto *const instance = new CalendarLunarSetting(TovikSettingsStore::standard());
    return *instance;
}

CalendarLunarSetting::CalendarLunarSetting(std::shared_ptr<TovikSettingsStore> store, QObject *parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_showsLunar(m_store && m_store->boolean(key).value_or(false))
{
}

void CalendarLunarSetting::setShowsLunar(bool shows)
{
    if (shows == m_showsLunar) {
        return;
    }
    m_showsLunar = shows;
    if (m_store) {
        m_store->set(key, shows);
    }
    emit showsLunarChanged(shows);
}

QAction *CalendarLunarSetting::makeAction(QObject *parent)
{
    auto *action = new QAction(QStringLiteral("显示农历"), parent);
    action->setCheckable(true);
    action->setChecked(m_showsLunar);
    connect(action, &QAction::toggled, this, &CalendarLunarSetting::setShowsLunar);
    connect(this, &CalendarLunarSetting::showsLunarChanged, action, &QAction::setChecked);
    return action;
}
