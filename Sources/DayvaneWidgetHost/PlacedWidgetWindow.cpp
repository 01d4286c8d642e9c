#include "PlacedWidgetWindow.h"

#include "WidgetTimelineScheduler.h"
#include "WidgetViewFactory.h"

#include <TovikKit/TovikEwmh.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickItem>
#include <QStyleHints>

PlacedWidgetWindow::PlacedWidgetWindow(QQmlEngine &engine, const WidgetExtension &extension,
                                       const WidgetConfiguration &widget, WidgetFamily family, const Clock &clock,
                                       QString *error)
    : m_extension(extension)
    , m_family(family)
{
    // It takes the focus, so that its menu can be opened from the keyboard; its title is its accessible name.
    setFlags(Qt::FramelessWindowHint);
    setTitle(QString::fromStdString(widget.displayName));
    setColor(Qt::black);
    const QSize size = widgetFamilySize(family).toSize();
    resize(size);
    setMinimumSize(size);
    setMaximumSize(size);

    m_timeline = new WidgetTimelineScheduler(widget, family, clock, this);
    m_view.reset(WidgetViewFactory::create(engine, extension, widget, m_timeline->entry(), family, clock(), error));
    if (!m_view) {
        return;
    }
    m_view->setParentItem(contentItem());
    // Signals declared in QML have no member pointer to connect to.
    connect(m_view.get(), SIGNAL(openRequested(QString)), this, SIGNAL(openRequested(QString)));
    connect(m_view.get(), SIGNAL(intentRequested(QString)), this, SIGNAL(intentRequested(QString)));
    connect(m_timeline, &WidgetTimelineScheduler::entryChanged, this, &PlacedWidgetWindow::showEntry);

    // Its state goes on before it is first mapped, so it never shows above other windows.
    create();
    TovikEwmh::applyDesktopLayer(*this, false);
}

PlacedWidgetWindow::~PlacedWidgetWindow()
{
    // The view goes before the window whose scene holds it.
    m_view.reset();
}

const WidgetConfiguration &PlacedWidgetWindow::widget() const
{
    return m_timeline->widget();
}

void PlacedWidgetWindow::setNow(double now)
{
    if (m_view) {
        m_view->setProperty("now", now);
    }
}

void PlacedWidgetWindow::moveTo(QPoint place)
{
    m_place = place;
    setPosition(place);
}

void PlacedWidgetWindow::showEntry()
{
    const QVariantMap properties = m_extension.viewProperties(m_timeline->entry());
    for (auto property = properties.begin(); property != properties.end(); ++property) {
        m_view->setProperty(property.key().toUtf8().constData(), property.value());
    }
}

void PlacedWidgetWindow::exposeEvent(QExposeEvent *event)
{
    QQuickWindow::exposeEvent(event);
    if (isExposed() && !m_layered) {
        m_layered = true;
        TovikEwmh::applyDesktopLayer(*this, true);
        TovikEwmh::clipToRoundedShape(*this, widgetCornerRadius);
    }
}

bool PlacedWidgetWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            emit contextMenuRequested(mouse->globalPosition().toPoint());
            return true;
        }
        if (mouse->button() == Qt::LeftButton) {
            m_pressed = true;
            m_dragging = false;
            m_pressGlobal = mouse->globalPosition().toPoint();
            m_pressPosition = m_place;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_pressed) {
            break;
        }
        const QPoint moved = mouse->globalPosition().toPoint() - m_pressGlobal;
        if (!m_dragging && moved.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) {
            m_dragging = true;
            // The view's press becomes nothing: no click, no button run.
            if (QQuickItem *grabber = mouseGrabberItem()) {
                grabber->ungrabMouse();
            }
        }
        if (m_dragging) {
            moveTo(m_pressPosition + moved);
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        // The keys that stand for a right click, as in every desktop's own menus.
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            emit contextMenuRequested(mapToGlobal(QPoint(width() / 2, height() / 2)));
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !m_pressed) {
            break;
        }
        m_pressed = false;
        if (m_dragging) {
            m_dragging = false;
            emit moved();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QQuickWindow::event(event);
}
