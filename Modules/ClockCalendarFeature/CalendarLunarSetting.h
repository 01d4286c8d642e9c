#pragma once

#include <QObject>

#include <memory>
#include <string_view>

class QAction;
class TovikSettingsStore;

// Whether the calendar's days show their lunar captions (festival, solar term, lunar day): one switch in
// the standard store, off by default, followed at once by every calendar page and mini window.
class CalendarLunarSetting final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarLunarSetting)
public:
    static constexpr std::string_view key = "dayvane.calendar.showsLunar";

    // The process's switch, kept in the standard store.
    static CalendarLunarSetting &shared();

    explicit CalendarLunarSetting(std::shared_ptr<TovikSettingsStore> store, QObject *parent = nullptr);

    bool showsLunar() const { return m_showsLunar; }
    // Stores the switch and tells every follower, if it changed.
    void setShowsLunar(bool shows);

    // A checkable 显示农历 that flips the switch and stays checked as it is; owned by `parent`.
    QAction *makeAction(QObject *parent);

signals:
    void showsLunarChanged(bool showsLunar);

private:
    std::shared_ptr<TovikSettingsStore> m_store;
    bool m_showsLunar = false;
};
