#pragma once

#include <Platform/Settings/TovikSettingsStore.h>

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

// Tells the user, once per store file and without blocking, that settings cannot be saved and why, and
// keeps offering the held changes to their stores until every one has taken them.
class TovikStoreProblemNotice final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikStoreProblemNotice)
public:
    // How often stores that hold changes try their files again while nothing else touches them.
    static constexpr int retryIntervalMs = 2000;

    // Listens to every store of the process from now on, until destroyed.
    explicit TovikStoreProblemNotice(QObject *parent = nullptr);
    ~TovikStoreProblemNotice() override;

    static QString text(const TovikSettingsStore::Problem &problem);

signals:
    // A message was shown for this store file.
    void told(const QString &text);

private:
    void take(const std::weak_ptr<TovikSettingsStore> &store, const TovikSettingsStore::Problem &problem);
    void retry();

    std::vector<std::weak_ptr<TovikSettingsStore>> m_holding;
    QSet<QString> m_toldPaths;
    QPointer<QMessageBox> m_box;
    QTimer m_retry;
};
