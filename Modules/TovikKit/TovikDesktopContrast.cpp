#include "TovikDesktopContrast.h"

#include "TovikWindowChrome.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString contrastKey = QStringLiteral("contrast");

} // namespace

void TovikDesktopContrast::follow()
{
    static const TovikDesktopContrast *const contrast = new TovikDesktopContrast;
    Q_UNUSED(contrast);
}

bool TovikDesktopContrast::reducesTransparency(const QVariant &contrast)
{
    QVariant value = contrast;
    // Read answers a variant inside a variant; the signal carries one.
    while (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    switch (value.typeId()) {
    case QMetaType::UInt:
    case QMetaType::Int:
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::Short:
    case QMetaType::ULongLong:
    case QMetaType::LongLong:
        return value.toLongLong() == 1;
    default:
        return false;
    }
}

TovikDesktopContrast::TovikDesktopContrast()
    : QObject(QCoreApplication::instance())
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    bus.connect(service, path, interface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting, so a missing portal never delays the first window.
    QDBusMessage read = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Read"));
    read << appearance << contrastKey;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher *call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (!reply.isError()) {
            TovikWindowChrome::setReduceTransparency(reducesTransparency(QVariant::fromValue(reply.value())));
        }
        call->deleteLater();
    });
}

void TovikDesktopContrast::settingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value)
{
    if (nameSpace == appearance && key == contrastKey) {
        TovikWindowChrome::setReduceTransparency(reducesTransparency(value.variant()));
    }
}
