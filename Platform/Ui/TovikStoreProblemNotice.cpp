#include "TovikStoreProblemNotice.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

TovikStoreProblemNotice::TovikStoreProblemNotice(QObject *parent)
    : QObject(parent)
{
    m_retry.setInterval(retryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &TovikStoreProblemNotice::retry);
    // Stores meet their troubles on whatever thread writes (the host runs intents on a worker); the user
    // hears of them on the main thread.
    QPointer<TovikStoreProblemNotice> self(this);
    TovikSettingsStore::setProblemListener(
        [self](const std::weak_ptr<TovikSettingsStore> &store, const TovikSettingsStore::Problem &problem) {
            QMetaObject::invokeMethod(
                self, [self, store, problem] { self->take(store, problem); }, Qt::QueuedConnection);
        });
}

TovikStoreProblemNotice::~TovikStoreProblemNotice()
{
    TovikSettingsStore::setProblemListener({});
    delete m_box;
}

QString TovikStoreProblemNotice::text(const TovikSettingsStore::Problem &problem)
{
    using Trouble = TovikSettingsStore::Trouble;
    QString reason;
    switch (problem.trouble) {
    case Trouble::diskFull:
        reason = QStringLiteral("磁盘已满");
        break;
    case Trouble::readOnly:
        reason = QStringLiteral("没有写入权限");
        break;
    case Trouble::notAFile:
        reason = QStringLiteral("该位置不是普通文件");
        break;
    case Trouble::unavailable:
        reason = QStringLiteral("无法打开文件");
        break;
    }
    return QStringLiteral("设置无法保存：%1（%2）。\n更改暂时保留在内存中，一旦可以写入便会自动保存。")
        .arg(reason, QString::fromStdString(problem.path.string()));
}

void TovikStoreProblemNotice::take(const std::weak_ptr<TovikSettingsStore> &store,
                                   const TovikSettingsStore::Problem &problem)
{
    m_holding.push_back(store);
    m_retry.start();
    const QString path = QString::fromStdString(problem.path.string());
    if (m_toldPaths.contains(path)) {
        return;
    }
    m_toldPaths.insert(path);
    const QString message = text(problem);
    // Several stores failing together (a full disk holds them all) share one message.
    if (m_box) {
        m_box->setText(m_box->text() + QStringLiteral("\n\n") + message);
    } else {
        m_box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Dayvane"), message, QMessageBox::Ok);
        m_box->setAttribute(Qt::WA_DeleteOnClose);
        m_box->setWindowModality(Qt::NonModal);
        // Shown while the windows are still being built: it must not end up beneath them.
        m_box->setWindowFlag(Qt::WindowStaysOnTopHint);
        m_box->button(QMessageBox::Ok)->setText(QStringLiteral("知道了"));
        m_box->show();
    }
    emit told(message);
}

void TovikStoreProblemNotice::retry()
{
    std::erase_if(m_holding, [](const std::weak_ptr<TovikSettingsStore> &held) {
        const std::shared_ptr<TovikSettingsStore> store = held.lock();
        return !store || store->flush();
    });
    if (m_holding.empty()) {
        m_retry.stop();
    }
}
