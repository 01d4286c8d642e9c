#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <functional>

// A plain root view whose owner lays out its children: `onLayout` runs after every size change and after
// `requestLayout()` (coalesced to one pass per event-loop turn); `onWillAppear` runs each time it is shown.
class TovikLayoutView : public QWidget {
    Q_OBJECT
public:
    explicit TovikLayoutView(QWidget *parent = nullptr)
        : QWidget(parent)
    {
    }

    std::function<void()> onLayout;
    std::function<void()> onWillAppear;

    void requestLayout()
    {
        if (!m_layoutPending) {
            m_layoutPending = true;
            QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
        }
    }
    void layoutNow()
    {
        m_layoutPending = false;
        if (onLayout) {
            onLayout();
        }
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest && m_layoutPending) {
            layoutNow();
            return true;
        }
        return QWidget::event(event);
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        layoutNow();
    }
    void showEvent(QShowEvent *event) override
    {
        if (onWillAppear) {
            onWillAppear();
        }
        QWidget::showEvent(event);
    }

private:
    bool m_layoutPending = false;
};
