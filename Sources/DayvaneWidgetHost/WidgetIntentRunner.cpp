#include "WidgetIntentRunner.h"

WidgetIntentRunner::WidgetIntentRunner(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

WidgetIntentRunner::~WidgetIntentRunner()
{
    m_pool.waitForDone();
}

void WidgetIntentRunner::run(std::shared_ptr<const AppIntent> intent, Instant pressedAt)
{
    if (!intent) {
        return;
    }
    m_pool.start([this, intent = std::move(intent), pressedAt] {
        intent->perform(pressedAt);
        const QString title = QString::fromStdString(intent->title());
        QMetaObject::invokeMethod(
            this, [this, title] { emit finished(title); }, Qt::QueuedConnection);
    });
}
