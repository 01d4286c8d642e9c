#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The clock widget's running time: the wall time of day at the host's current second, H:MM:SS. Unlike the
// timer text it counts nothing, so that the hour is right after a change of zone or of summer time.
// Not final: QML derives from the types it creates.
class ClockLiveTimeText : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(ClockLiveTimeText)
    Q_PROPERTY(double now READ now WRITE setNow NOTIFY textChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)

public:
    explicit ClockLiveTimeText(QObject *parent = nullptr);

    double now() const { return m_now; }
    void setNow(double now);
    QString text() const { return m_text; }

signals:
    void textChanged();

private:
    double m_now = 0;
    QString m_text;
};
