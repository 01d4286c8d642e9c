#include "TovikWindowBackingView.h"

#include "TovikWindowChrome.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

TovikWindowBackingView::TovikWindowBackingView(std::shared_ptr<TovikSettingsStore> store, double cornerRadius,
                                               std::function<bool()> textOnly, QWidget *parent)
    : QWidget(parent)
    , m_store(std::move(store))
    , m_textOnly(std::move(textOnly))
    , m_cornerRadius(cornerRadius)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    TovikWindowChromeNotifier *notifier = TovikWindowChrome::notifier();
    connect(notifier, &TovikWindowChromeNotifier::windowBackgroundDidChange, this, &TovikWindowBackingView::apply);
    connect(notifier, &TovikWindowChromeNotifier::accessibilityDisplayOptionsDidChange, this,
            &TovikWindowBackingView::apply);
    if (parent) {
        parent->installEventFilter(this);
    }
    apply();
}

void TovikWindowBackingView::setTextOnly(bool textOnly)
{
    m_isTextOnly = textOnly;
    apply();
}

void TovikWindowBackingView::apply()
{
    const TovikWindowBackgroundSettings settings = TovikWindowChrome::settings(m_store);
    const bool textOnly = m_isTextOnly || (m_textOnly && m_textOnly());
    m_backingAlpha = settings.resolve(TovikWindowChrome::reduceTransparency(), textOnly).backingAlpha;
    // A widget without a parent would become a window of its own when shown.
    if (parentWidget()) {
        setVisible(m_backingAlpha > 0.001);
    }
    update();
}

bool TovikWindowBackingView::eventFilter(QObject *watched, QEvent *event)
{
    // Resizes with its parent in both directions.
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

void TovikWindowBackingView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor color = TovikWindowChrome::backingColor();
    color.setAlphaF(static_cast<float>(m_backingAlpha));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    painter.fillPath(shape, color);
}

TovikWindowBackingView *TovikWindowBackingView::install(QWidget *view, std::shared_ptr<TovikSettingsStore> store,
                                                        double cornerRadius, QWidget *above,
                                                        std::function<bool()> textOnly)
{
    auto *backing = new TovikWindowBackingView(std::move(store), cornerRadius, std::move(textOnly), view);
    backing->setGeometry(view->rect());
    if (above && above->parentWidget() == view) {
        // Stacking under the sibling just above `above` places the backing directly over it.
        const QObjectList &children = view->children();
        const qsizetype index = children.indexOf(above);
        QWidget *next = nullptr;
        for (qsizetype i = index + 1; i < children.size() && !next; ++i) {
            auto *candidate = qobject_cast<QWidget *>(children.at(i));
            next = candidate != backing ? candidate : nullptr;
        }
        if (next) {
            backing->stackUnder(next);
        } else {
            backing->raise();
        }
    } else {
        backing->lower();
    }
    return backing;
}
