#include "TovikDeferredTask.h"

TovikDeferredTask::TovikDeferredTask(QObject *owner)
    : QObject(owner)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        auto work = std::move(m_work);
        m_work = nullptr;
        if (work) {
            work();
        }
    });
}

void TovikDeferredTask::schedule(int delayMs, std::function<void()> work)
{
    m_work = std::move(work);
    m_timer.start(delayMs);
}

void TovikDeferredTask::cancel()
{
    m_timer.stop();
    m_work = nullptr;
}
