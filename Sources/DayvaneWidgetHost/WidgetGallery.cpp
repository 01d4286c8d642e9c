#include "WidgetGallery.h"

#include "WidgetAutostart.h"
#include "WidgetViewFactory.h"

#include <TovikKit/TovikEwmh.h>

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// Room left on the screen for the window manager's title bar.
constexpr int galleryFrameAllowance = 48;

QQuickItem *findItem(QQuickItem *item, const QString &objectName)
{
    if (item->objectName() == objectName) {
        return item;
    }
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, objectName)) {
            return found;
        }
    }
    return nullptr;
}

QString slotName(const std::string &kind, WidgetFamily family)
{
    return QStringLiteral("slot:%1:%2").arg(QString::fromStdString(kind)).arg(static_cast<int>(family));
}

} // namespace

WidgetGallery::WidgetGallery(QQmlEngine &engine, const WidgetExtension &extension, Clock clock, QString executable,
                             QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_extension(extension)
    , m_clock(std::move(clock))
    , m_executable(std::move(executable))
{
}

WidgetGallery::~WidgetGallery() = default;

void WidgetGallery::show()
{
    if (!m_window) {
        build();
    }
    // Left open on another desktop, it is fetched to the one in use, so a second start always shows it.
    if (m_window->isVisible()) {
        TovikEwmh::moveToCurrentDesktop(*m_window);
    }
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
}

QQuickItem *WidgetGallery::card(const std::string &kind, WidgetFamily family) const
{
    if (!m_window || !m_window->rootObject()) {
        return nullptr;
    }
    return findItem(m_window->rootObject(), slotName(kind, family));
}

void WidgetGallery::build()
{
    const std::vector<WidgetConfiguration> widgets = m_extension.widgets();
    QVariantList described;
    for (const WidgetConfiguration &widget : widgets) {
        described.append(QVariantMap{{QStringLiteral("kind"), QString::fromStdString(widget.kind)},
                                     {QStringLiteral("displayName"), QString::fromStdString(widget.displayName)},
                                     {QStringLiteral("description"), QString::fromStdString(widget.description)}});
    }
    QVariantList slotSizes;
    for (const WidgetFamily family :
         {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}) {
        slotSizes.append(widgetFamilySize(family) * cardScale);
    }

    m_window = std::make_unique<QQuickView>(&m_engine, nullptr);
    m_window->setTitle(QStringLiteral("小组件库"));
    m_window->setResizeMode(QQuickView::SizeRootObjectToView);
    m_window->setInitialProperties({{QStringLiteral("widgets"), described},
                                    {QStringLiteral("slotSizes"), slotSizes},
                                    {QStringLiteral("launchAtLogin"), WidgetAutostart::isEnabled()}});
    m_window->setSource(QUrl(QStringLiteral("qrc:/dayvane-widget-host/WidgetGallery.qml")));
    QQuickItem *root = m_window->rootObject();
    if (!root) {
        return;
    }
    // A short screen scrolls the cards instead of losing the bottom of the window.
    const QRect available = m_window->screen()->availableGeometry();
    m_window->resize(qRound(root->implicitWidth()),
                     std::min(qRound(root->implicitHeight()), available.height() - galleryFrameAllowance));
    // Signals declared in QML have no member pointer to connect to.
    connect(root, SIGNAL(addRequested(QString, int)), this, SLOT(onAddRequested(QString, int)));
    connect(root, SIGNAL(launchAtLoginToggled(bool)), this, SLOT(onLaunchAtLoginToggled(bool)));

    const Instant now = m_clock();
    for (const WidgetConfiguration &widget : widgets) {
        for (const WidgetFamily family : widget.supportedFamilies) {
            QQuickItem *slot = findItem(root, slotName(widget.kind, family));
            if (!slot) {
                continue;
            }
            QString error;
            const WidgetEntry entry = widget.placeholder({family, true}, now);
            QQuickItem *view =
                WidgetViewFactory::create(m_engine, m_extension, widget, entry, family, std::floor(now), &error);
            if (!view) {
                continue;
            }
            view->setParent(slot);
            view->setParentItem(slot);
            view->setTransformOrigin(QQuickItem::TopLeft);
            view->setScale(cardScale);
        }
    }
}

void WidgetGallery::onAddRequested(const QString &kind, int family)
{
    emit addRequested(kind.toStdString(), static_cast<WidgetFamily>(family));
}

void WidgetGallery::onLaunchAtLoginToggled(bool enabled)
{
    WidgetAutostart::setEnabled(enabled, m_executable.toStdString());
    // The switch shows what is on disk, whether or not the change went through.
    if (QQuickItem *root = m_window->rootObject()) {
        root->setProperty("launchAtLogin", WidgetAutostart::isEnabled());
    }
}
