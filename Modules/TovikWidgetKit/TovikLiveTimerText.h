#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The text a widget shows for time that keeps flowing without new entries: the time elapsed from `from`
// to `now`, written M:SS, MM:SS, H:MM:SS or HH:MM:SS by its size. `now` comes from the host's one ticker.
// Not final: QML derives from the types it creates.
class TovikLiveTimerText : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(TovikLiveTimerText)
    Q_PROPERTY(double from READ from WRITE setFrom NOTIFY textChanged)
    Q_PROPERTY(double now READ now WRITE setNow NOTIFY textChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)

public:
    explicit TovikLiveTimerText(QObject *parent = nullptr);

    // Whole seconds counted up, never below zero; hours go on past a day.
    static QString format(double elapsedSeconds);

    double from() const { return m_from; }
    void setFrom(double from);
    double now() const { return m_now; }
    void setNow(double now);
    QString text() const;

signals:
    void textChanged();

private:
    double m_from = 0;
    double m_now = 0;
};
