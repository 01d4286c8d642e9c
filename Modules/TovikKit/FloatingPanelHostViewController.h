#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

// Reports the layout passes of a panel's root view and whether the mouse is over the panel; the view is
// assigned by the panel's owner. A panel that opens under the mouse reports hover at once.
class FloatingPanelHostViewController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingPanelHostViewController)
public:
    explicit FloatingPanelHostViewController(QObject *parent = nullptr);

    QWidget *view() const { return m_view; }
    void setView(QWidget *view);

    std::function<void()> onLayout;
    std::function<void(bool)> onHoverChanged;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reportHover(bool hovered);
    void syncHoverStateWithMouseLocation();

    QPointer<QWidget> m_view;
};
