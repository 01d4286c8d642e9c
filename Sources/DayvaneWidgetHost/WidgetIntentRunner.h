#pragma once

#include <TovikWidgetKit/AppIntent.h>

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>

// Runs the actions bound to widget buttons on a worker thread, never the GUI thread, one at a time in the
// order they were pressed (two quick toggles must not race), and says on the GUI thread when each is done.
class WidgetIntentRunner final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetIntentRunner)

public:
    explicit WidgetIntentRunner(QObject *parent = nullptr);
    // Waits for the action under way.
    ~WidgetIntentRunner() override;

    void run(std::shared_ptr<const AppIntent> intent, Instant pressedAt);

signals:
    void finished(const QString &title);

private:
    QThreadPool m_pool;
};
