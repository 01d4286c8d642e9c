#include "StopwatchView.h"

#include "StopwatchActionQueue.h"

#include <Platform/Ui/TovikClock.h>
#include <Platform/Ui/TovikDeferredTask.h>
#include <Platform/Ui/TovikTickSchedule.h>
#include <Platform/Ui/TovikViewTicker.h>
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>
#include <TovikKit/TovikWeakCallback.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

#include <cmath>
#include <utility>

namespace {

const QColor runningColour = TovikColors::fromComponents(0.15, 0.98, 1.0);
const QColor pausedColour = TovikColors::white(0.78);

} // namespace

StopwatchView::Frames StopwatchView::layout(const QRectF &b, bool showsControls)
{
    if (!showsControls) {
        return {b, std::nullopt, std::nullopt};
    }
    const double buttonWidth = StopwatchControlButton::buttonWidth;
    const double buttonHeight = StopwatchControlButton::buttonHeight;
    const QRectF toggle(b.center().x() - buttonWidth - 8, b.top(), buttonWidth, buttonHeight);
    const QRectF reset(toggle.x() + buttonWidth + 16, b.top(), buttonWidth, buttonHeight);
    return {QRectF(b.left(), b.top() + controlsHeight, b.width(), b.height() - controlsHeight), toggle, reset};
}

StopwatchView::StopwatchView(const TovikClock &clock, StopwatchStore store, bool showsControls, QWidget *parent)
    : QWidget(parent)
    , m_clock(clock)
    , m_actions(new StopwatchActionQueue(std::move(store), this))
{
    m_label = new TimeTextLabel(QStringLiteral("00:00:00"), this);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->setFont(TovikFonts::systemFont(34, QFont::DemiBold, TovikFonts::Digits::monospaced));

    if (showsControls) {
        m_toggleButton = new StopwatchControlButton(TovikColors::systemBlue(), QStringLiteral("play.fill"),
                                                    QStringLiteral("开始"), this);
        m_resetButton = new StopwatchControlButton(TovikColors::white(0.14), QStringLiteral("arrow.counterclockwise"),
                                                   QStringLiteral("重置"), this);
        m_toggleButton->onPress = tovikWeakCallback(this, &StopwatchView::toggle);
        m_resetButton->onPress = tovikWeakCallback(this, &StopwatchView::reset);
    }
    setToolTip(QStringLiteral("单击暂停/继续，双击清零"));
    setFocusPolicy(Qt::StrongFocus);

    auto *copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, &StopwatchView::copyTime);
    addAction(copy);

    // Actions written after the other process let go show without waiting for the next tick.
    m_actions->onSettled = [weak = QPointer<StopwatchView>(this)] {
        if (weak) {
            weak->refresh();
        }
    };
    m_pendingSingleClick = new TovikDeferredTask(this);
    // A running stopwatch flips with the whole seconds of its elapsed time; a paused one re-reads the store
    // (the widget may have changed it) once a second of the wall clock.
    new TovikViewTicker(this, clock, [this] {
        const Instant now = m_clock.now();
        const StopwatchState state = refresh(now);
        return TovikTickSchedule::msUntilNextWholeSecond(state.isRunning() ? state.elapsed(now) : now);
    });
    layoutSubviews();
    refresh();
}

void StopwatchView::refresh()
{
    refresh(m_clock.now());
}

StopwatchState StopwatchView::refresh(Instant now)
{
    const StopwatchState state = m_actions->refresh();
    m_label->setText(QString::fromStdString(state.elapsedText(now)));
    m_shownSeconds = std::floor(state.elapsed(now));
    announceValue();

    const bool running = state.isRunning();
    if (m_shownRunning != running) {
        m_shownRunning = running;
        QPalette palette = m_label->palette();
        palette.setColor(QPalette::WindowText, running ? runningColour : pausedColour);
        m_label->setPalette(palette);
    }

    const bool hasTime = state.elapsed(now) >= 1;
    if (m_toggleButton) {
        if (running) {
            m_toggleButton->setSymbol(QStringLiteral("pause.fill"), QStringLiteral("暂停"));
        } else {
            const QString caption = hasTime ? QStringLiteral("继续") : QStringLiteral("开始");
            m_toggleButton->setSymbol(QStringLiteral("play.fill"), caption);
        }
    }
    if (m_resetButton) {
        m_resetButton->setEnabled(running || hasTime);
    }
    return state;
}

void StopwatchView::announceValue()
{
    if (!QAccessible::isActive() || m_shownSeconds == m_announcedSeconds
        || (m_sinceValueAnnounced.isValid() && m_sinceValueAnnounced.elapsed() < 1000)) {
        return;
    }
    m_announcedSeconds = m_shownSeconds;
    m_sinceValueAnnounced.start();
    QAccessibleValueChangeEvent event(this, m_shownSeconds);
    QAccessible::updateAccessibility(&event);
}

void StopwatchView::toggle()
{
    m_actions->toggle(m_clock.now());
    refresh();
}

void StopwatchView::reset()
{
    m_actions->reset();
    refresh();
}

void StopwatchView::copyTime() const
{
    QGuiApplication::clipboard()->setText(m_label->text(), QClipboard::Clipboard);
}

void StopwatchView::mousePressEvent(QMouseEvent *event)
{
    press(event, false);
}

void StopwatchView::mouseDoubleClickEvent(QMouseEvent *event)
{
    press(event, true);
}

void StopwatchView::press(QMouseEvent *event, bool reportedAsDoubleClick)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    setKeyboardFocus(false);
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const quint64 timestamp = event->timestamp();
    const bool continues =
        m_clickCount > 0 && timestamp >= m_lastClickTimestamp
        && timestamp - m_lastClickTimestamp <= static_cast<quint64>(interval)
        && (event->position() - m_lastClickPosition).manhattanLength() <= QApplication::startDragDistance();
    m_clickCount = reportedAsDoubleClick ? std::max(m_clickCount + 1, 2) : (continues ? m_clickCount + 1 : 1);
    m_lastClickTimestamp = timestamp;
    m_lastClickPosition = event->position();
    m_pressPending = true;
}

void StopwatchView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressPending) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    m_pressPending = false;
    m_pendingSingleClick->cancel();
    if (m_clickCount > 1) {
        reset();
        return;
    }
    m_pendingSingleClick->schedule(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
                                   tovikWeakCallback(this, &StopwatchView::toggle));
}

void StopwatchView::pressBecamePanelDrag()
{
    // The press moved the panel: no click, and the next press starts a count of its own. A click before it
    // still toggles.
    m_pressPending = false;
    m_clickCount = 0;
}

void StopwatchView::keyPressEvent(QKeyEvent *event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A key is never half of a double click: it acts at once and drops a click still waiting.
        m_pendingSingleClick->cancel();
        m_clickCount = 0;
        toggle();
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        m_pendingSingleClick->cancel();
        m_clickCount = 0;
        reset();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    setKeyboardFocus(true);
}

void StopwatchView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    setKeyboardFocus(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
                     || reason == Qt::ShortcutFocusReason);
}

void StopwatchView::setKeyboardFocus(bool keyboard)
{
    if (m_keyboardFocus != keyboard) {
        m_keyboardFocus = keyboard;
        update();
    }
}

void StopwatchView::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void StopwatchView::paintEvent(QPaintEvent *)
{
    if (!showsFocusRing()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(TovikColors::fromComponents(0.04, 0.52, 1.0), 2));
    painter.drawRoundedRect(QRectF(m_label->geometry()).adjusted(1, 1, -1, -1), 8, 8);
}

void StopwatchView::addContextMenuEntries(QMenu &menu)
{
    connect(menu.addAction(QStringLiteral("复制")), &QAction::triggered, this, &StopwatchView::copyTime);
}

void StopwatchView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    addContextMenuEntries(menu);
    menu.exec(event->globalPos());
}

void StopwatchView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutSubviews();
}

void StopwatchView::layoutSubviews()
{
    const double height = this->height();
    const Frames frames = layout(QRectF(QPointF(0, 0), QSizeF(size())), m_toggleButton != nullptr);
    m_label->setGeometry(TovikGeometry::toQt(frames.label, height).toRect());
    if (m_toggleButton && frames.toggle && frames.reset) {
        m_toggleButton->setGeometry(TovikGeometry::toQt(*frames.toggle, height).toRect());
        m_resetButton->setGeometry(TovikGeometry::toQt(*frames.reset, height).toRect());
    }
}
