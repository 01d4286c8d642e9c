#pragma once

#include <Platform/Ui/TovikClock.h>

#include <QElapsedTimer>

// A clock for GUI tests that every view reads while it exists: the time stands where the test set it, or
// runs on from there in real time. Each setting is announced as a jump, so shown views tick at once.
class TovikTestClock {
public:
    explicit TovikTestClock(double start) { setNow(start); }
    ~TovikTestClock() { TovikClock::shared().setSource(nullptr); }
    TovikTestClock(const TovikTestClock &) = delete;
    TovikTestClock &operator=(const TovikTestClock &) = delete;

    double now() const { return m_running ? m_start + m_since.nsecsElapsed() / 1e9 : m_start; }
    void setNow(double instant)
    {
        m_start = instant;
        m_running = false;
        install();
    }
    void runFrom(double instant)
    {
        m_start = instant;
        m_running = true;
        m_since.start();
        install();
    }

private:
    void install()
    {
        TovikClock::shared().setSource([this] { return now(); });
    }

    double m_start = 0;
    bool m_running = false;
    QElapsedTimer m_since;
};
