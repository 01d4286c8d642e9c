#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

// Screen-reader faces for widgets that paint several things themselves (the tabs of a strip, the lines of a
// clock): each painted part is shown as a child element with its own role, name, place, states and, where
// it acts, a press action.
namespace TovikAccessibleParts {

struct Part {
    QAccessible::Role role = QAccessible::StaticText;
    std::function<QString()> name;
    std::function<QRect()> rect; // in the widget's coordinates
    std::function<QAccessible::State()> state;
    std::function<void()> press; // none: the part has no action
};

// One painted part.
class Element final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    Element(QWidget *widget, Part part);

    bool isValid() const override { return !m_widget.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return m_part.role; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QWidget> m_widget;
    Part m_part;
};

// The widget itself, whose children are its parts.
class Widget : public QAccessibleWidget {
public:
    Widget(QWidget *widget, QAccessible::Role role, std::vector<Part> parts);
    ~Widget() override;

    int childCount() const override { return static_cast<int>(m_ids.size()); }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    std::vector<QAccessible::Id> m_ids;
};

// Tell screen readers that a part's name changed, or that it took the focus; nothing is done while none
// listens.
void notifyNameChanged(QWidget *widget, int part);
void notifyFocus(QWidget *widget, int part);

} // namespace TovikAccessibleParts
