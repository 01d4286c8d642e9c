#include "TovikAccessibleParts.h"

namespace TovikAccessibleParts {

Element::Element(QWidget *widget, Part part)
    : m_widget(widget)
    , m_part(std::move(part))
{
}

QWindow *Element::window() const
{
    return m_widget ? m_widget->window()->windowHandle() : nullptr;
}

QAccessibleInterface *Element::parent() const
{
    return m_widget ? QAccessible::queryAccessibleInterface(m_widget) : nullptr;
}

QString Element::text(QAccessible::Text type) const
{
    return type == QAccessible::Name && m_part.name ? m_part.name() : QString();
}

QRect Element::rect() const
{
    if (!m_widget || !m_part.rect) {
        return {};
    }
    const QRect local = m_part.rect();
    return QRect(m_widget->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State Element::state() const
{
    QAccessible::State state = m_part.state ? m_part.state() : QAccessible::State();
    if (!m_widget || !m_widget->isVisible()) {
        state.invisible = true;
    }
    return state;
}

void *Element::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface && m_part.press ? static_cast<QAccessibleActionInterface *>(this)
                                                                : nullptr;
}

QStringList Element::actionNames() const
{
    return m_part.press ? QStringList{pressAction()} : QStringList{};
}

void Element::doAction(const QString &actionName)
{
    if (actionName == pressAction() && m_part.press && m_widget) {
        m_part.press();
    }
}

Widget::Widget(QWidget *widget, QAccessible::Role role, std::vector<Part> parts)
    : QAccessibleWidget(widget, role)
{
    for (Part &part : parts) {
        m_ids.push_back(QAccessible::registerAccessibleInterface(new Element(widget, std::move(part))));
    }
}

Widget::~Widget()
{
    for (const QAccessible::Id id : m_ids) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface *Widget::child(int index) const
{
    return index >= 0 && index < childCount() ? QAccessible::accessibleInterface(m_ids[std::size_t(index)]) : nullptr;
}

int Widget::indexOfChild(const QAccessibleInterface *child) const
{
    for (int i = 0; i < childCount(); ++i) {
        if (this->child(i) == child) {
            return i;
        }
    }
    return -1;
}

QAccessibleInterface *Widget::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface *part = child(i);
        if (!part->state().invisible && part->rect().contains(x, y)) {
            return part;
        }
    }
    return nullptr;
}

namespace {

void notify(QWidget *widget, int part, QAccessible::Event type)
{
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    if (QAccessibleInterface *element = face ? face->child(part) : nullptr) {
        QAccessibleEvent event(element, type);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace

void notifyNameChanged(QWidget *widget, int part)
{
    notify(widget, part, QAccessible::NameChanged);
}

void notifyFocus(QWidget *widget, int part)
{
    notify(widget, part, QAccessible::Focus);
}

} // namespace TovikAccessibleParts
