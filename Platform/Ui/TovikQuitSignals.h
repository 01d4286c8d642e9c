#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered by the event loop (through a self-pipe), so
// the process can end as it does when its last window closes, with its settings written and its socket
// and lock removed, instead of dying in the middle. One per process; the default actions come back when
// it goes.
class TovikQuitSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikQuitSignals)
public:
    explicit TovikQuitSignals(QObject *parent = nullptr);
    ~TovikQuitSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    int m_readEnd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
