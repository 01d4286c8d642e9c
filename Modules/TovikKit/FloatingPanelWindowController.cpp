#include "FloatingPanelWindowController.h"

#include "FloatingPanel.h"
#include "FloatingPanelChromeButton.h"
#include "FloatingPanelChromeLayout.h"
#include "FloatingPanelChromeView.h"
#include "FloatingPanelHostViewController.h"
#include "FloatingPanelHoverBorderView.h"
#include "FloatingPanelMenuContributor.h"
#include "TovikColors.h"
#include "TovikCompositorWatch.h"
#include "TovikDesktopContrast.h"
#include "TovikEwmh.h"
#include "TovikGeometry.h"
#include "TovikScreenPlacement.h"
#include "TovikSurfaceView.h"
#include "TovikViewController.h"
#include "TovikWeakCallback.h"
#include "TovikWindowBackingView.h"
#include "TovikWindowChrome.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include <array>

namespace {

QColor secondaryLabelColor()
{
    return TovikColors::white(0.55);
}

// How long a panel's frame rests before it is written.
constexpr int frameSaveDelay = 250;
// Where a menu opened from the keyboard appears, inside the panel's top-left corner.
constexpr int menuInset = 12;

QColor accentColor()
{
    return TovikColors::systemBlue();
}

void setToolTip(FloatingPanelChromeButton *button, const QString &text, const QString &accessibleName = {})
{
    // A screen reader names the button by what its tooltip says; a toggle keeps one name, and its checked
    // state tells whether it is on.
    button->setToolTip(text);
    button->setAccessibleName(accessibleName.isEmpty() ? text : accessibleName);
}

} // namespace

QColor FloatingPanelWindowController::surfaceColor()
{
    static const QColor color = QColor::fromRgbF(0.055f, 0.055f, 0.055f, 0.96f);
    return color;
}

FloatingPanelWindowController::FloatingPanelWindowController(FloatingPanelConfiguration configuration,
                                                             TovikViewController *contentController, QObject *parent)
    : QObject(parent)
    , m_contentController(contentController)
    , m_preferences(configuration.preferencesKeyPrefix, configuration.store)
    , m_configuration(std::move(configuration))
    , m_window(std::make_unique<FloatingPanel>(m_configuration))
    , m_windowHost(new FloatingPanelHostViewController(this))
{
    TovikDesktopContrast::follow();
    m_contentController->setParent(this);

    // Back to front: the glass, then the container with the backing, the page, the border and the buttons.
    QWidget *root = m_window.get();
    m_glassEffectView = TovikWindowChrome::makeGlass(m_configuration.cornerRadius, true);
    m_glassEffectView->setParent(root);
    m_glassEffectView->setFillColor(surfaceColor());
    m_chromeContainer = new FloatingPanelChromeView(root);
    m_windowHost->setView(root);
    m_backingView = TovikWindowBackingView::install(m_chromeContainer, m_configuration.store,
                                                    m_configuration.cornerRadius, nullptr, [] { return false; });
    m_contentController->view()->setParent(m_chromeContainer);
    m_hoverBorderView = new FloatingPanelHoverBorderView(m_chromeContainer);
    m_hoverBorderView->setCornerRadius(m_configuration.cornerRadius);
    m_closeButton = new FloatingPanelChromeButton(m_chromeContainer);
    m_openMainButton = new FloatingPanelChromeButton(m_chromeContainer);
    m_textOnlyButton = new FloatingPanelChromeButton(m_chromeContainer);
    m_pinButton = new FloatingPanelChromeButton(m_chromeContainer);
    configureButtons();

    m_windowHost->onLayout = tovikWeakCallback(this, &FloatingPanelWindowController::layoutChrome);
    m_windowHost->onHoverChanged = tovikWeakCallback(this, &FloatingPanelWindowController::setChromeVisible);
    layoutChrome();

    if (const std::optional<QRectF> frame = m_preferences.loadFrame()) {
        m_hasRestoredFrame = true;
        TovikScreenPlacement::setFrame(*m_window, *frame);
        // Saved back at once, so the display and the offsets describe the clamped frame.
        m_preferences.save(*frame);
    }
    applyTextOnly(m_preferences.loadTextOnly(), false);
    applyPinState(m_preferences.loadPinned(), false);
    setChromeVisible(false);

    m_frameSave = new QTimer(this);
    m_frameSave->setSingleShot(true);
    m_frameSave->setInterval(frameSaveDelay);
    connect(m_frameSave, &QTimer::timeout, this, &FloatingPanelWindowController::persistFrame);
    m_window->installEventFilter(this);
    connect(m_chromeContainer, &FloatingPanelChromeView::menuRequested, this,
            [this](QWidget *target, const QPoint &globalPosition) { makeContextMenu(target)->exec(globalPosition); });
    m_observesFrameChanges = true;
    connect(TovikCompositorWatch::instance(), &TovikCompositorWatch::runningChanged, this, [this] {
        applySurface();
        TovikEwmh::applyRoundedShape(*m_window, m_configuration.cornerRadius);
    });

    auto *close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), m_window.get());
    connect(close, &QShortcut::activated, this, &FloatingPanelWindowController::closeStandaloneWindow);
    // Shortcuts rather than the views' own menu events, so the page's views (the stopwatch's 复制) do not
    // hide the panel's menu from the keyboard.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto *menu = new QShortcut(keys, m_window.get());
        connect(menu, &QShortcut::activated, this, &FloatingPanelWindowController::popUpContextMenu);
    }
}

FloatingPanelWindowController::~FloatingPanelWindowController()
{
    persistPendingFrame();
    m_observesFrameChanges = false;
    m_window->removeEventFilter(this);
    if (QWindow *handle = m_window->windowHandle()) {
        handle->removeEventFilter(this);
    }
    // The page's view lives in the panel; the panel goes first so the view is deleted once.
    m_window.reset();
}

void FloatingPanelWindowController::configureButtons()
{
    m_closeButton->setSymbol(QStringLiteral("xmark"), 7, QFont::Bold);
    m_closeButton->setBackground(TovikColors::systemRed(), 7);
    m_closeButton->setTint(TovikColors::white(0.92));
    setToolTip(m_closeButton, QStringLiteral("关闭"));
    connect(m_closeButton, &QAbstractButton::clicked, this, &FloatingPanelWindowController::closeStandaloneWindow);

    m_openMainButton->setSymbol(QStringLiteral("arrow.up.left.and.arrow.down.right"), 7, QFont::Bold);
    m_openMainButton->setBackground(TovikColors::systemBlue(), 7);
    m_openMainButton->setTint(TovikColors::white(0.92));
    setToolTip(m_openMainButton, m_configuration.openInMainWindowToolTip);
    connect(m_openMainButton, &QAbstractButton::clicked, this, &FloatingPanelWindowController::openInMainWindow);

    m_textOnlyButton->setSymbol(QStringLiteral("circle.lefthalf.filled"), 10, QFont::Medium);
    m_textOnlyButton->setCheckable(true);
    m_textOnlyButton->setBackground(Qt::transparent, 5);
    m_textOnlyButton->setTint(secondaryLabelColor());
    setToolTip(m_textOnlyButton, QStringLiteral("纯文字显示"));
    // The state changes through the toggle alone, so a click never leaves the check and the look apart.
    connect(m_textOnlyButton, &QAbstractButton::clicked, this, &FloatingPanelWindowController::toggleTextOnly);

    m_pinButton->setCheckable(true);
    m_pinButton->setBackground(Qt::transparent, 5);
    connect(m_pinButton, &QAbstractButton::clicked, this, &FloatingPanelWindowController::togglePin);
}

void FloatingPanelWindowController::layoutChrome()
{
    const QRect inner(QPoint(0, 0), m_window->size());
    m_glassEffectView->setGeometry(inner);
    m_chromeContainer->setGeometry(inner);
    m_backingView->setGeometry(inner);
    m_contentController->view()->setGeometry(inner);
    m_hoverBorderView->setGeometry(inner);

    const FloatingPanelChromeLayout::Frames frames = FloatingPanelChromeLayout::frames(QSizeF(inner.size()));
    const double height = inner.height();
    m_closeButton->setGeometry(TovikGeometry::toQt(frames.close, height).toRect());
    m_openMainButton->setGeometry(TovikGeometry::toQt(frames.openInMainWindow, height).toRect());
    m_textOnlyButton->setGeometry(TovikGeometry::toQt(frames.textOnly, height).toRect());
    m_pinButton->setGeometry(TovikGeometry::toQt(frames.pin, height).toRect());
    for (QWidget *view :
         std::array<QWidget *, 5>{m_hoverBorderView, m_closeButton, m_openMainButton, m_textOnlyButton, m_pinButton}) {
        view->raise();
    }
    setChromeVisible(m_isChromeVisible);
}

void FloatingPanelWindowController::setChromeVisible(bool visible)
{
    m_isChromeVisible = visible;
    const FloatingPanelChromeLayout::Visibility shown =
        FloatingPanelChromeLayout::visibility(visible, m_configuration.usesOverlayControls, m_isTextOnly);
    m_closeButton->setVisible(shown.close);
    m_openMainButton->setVisible(shown.openInMainWindow);
    m_textOnlyButton->setVisible(shown.textOnly);
    m_pinButton->setVisible(shown.pin);
    m_hoverBorderView->setVisible(shown.hoverBorder);
}

void FloatingPanelWindowController::applyPinState(std::optional<bool> pinned, bool persist)
{
    if (pinned) {
        m_isPinned = *pinned;
    }
    m_window->setPinned(m_isPinned);
    m_pinButton->setChecked(m_isPinned);
    m_pinButton->setSymbol(m_isPinned ? QStringLiteral("pin.fill") : QStringLiteral("pin"), 10, QFont::Medium);
    m_pinButton->setTint(m_isPinned ? accentColor() : secondaryLabelColor());
    setToolTip(m_pinButton, m_isPinned ? QStringLiteral("取消置顶") : QStringLiteral("置顶显示"),
               QStringLiteral("置顶显示"));
    if (persist) {
        m_preferences.savePinned(m_isPinned);
    }
}

void FloatingPanelWindowController::applyTextOnly(bool textOnly, bool persist)
{
    m_isTextOnly = textOnly;
    applySurface();
    m_textOnlyButton->setChecked(textOnly);
    m_textOnlyButton->setTint(textOnly ? accentColor() : secondaryLabelColor());
    setToolTip(m_textOnlyButton, textOnly ? QStringLiteral("恢复窗口外观") : QStringLiteral("纯文字显示"),
               QStringLiteral("纯文字显示"));
    setChromeVisible(m_isChromeVisible);
    if (persist) {
        m_preferences.saveTextOnly(textOnly);
    }
}

bool FloatingPanelWindowController::drawsTextOnly() const
{
    return m_isTextOnly && TovikCompositorWatch::instance()->isRunning();
}

void FloatingPanelWindowController::applySurface()
{
    // Without a compositor a clear surface would show black: the panel keeps its opaque surface, clipped to
    // its rounded shape, and only the stored state and the button say text-only. With one, the glass lets
    // the desktop through, blurred where the window manager offers it, and the backing over it follows the
    // chosen strength.
    const bool compositing = TovikCompositorWatch::instance()->isRunning();
    const bool clear = drawsTextOnly();
    QColor glass = surfaceColor();
    glass.setAlphaF(static_cast<float>(TovikGlassSurface::glassOpacity(compositing, clear)));
    m_glassEffectView->setFillColor(glass);
    m_glassEffectView->setVisible(!clear);
    m_backingView->setTextOnly(clear);
    m_window->setBlurredBehind(compositing && !clear);
}

void FloatingPanelWindowController::present(double dx)
{
    const bool shouldCenter = !m_hasPresented && !m_hasRestoredFrame;
    m_hasPresented = true;
    presentingStep(shouldCenter, dx);
    // Once more on a later turn: a window manager honours the pin requests only for a window it manages. A
    // panel closed in between stays closed.
    QTimer::singleShot(0, this, [this, shouldCenter, dx] {
        if (m_window->isVisible()) {
            presentingStep(shouldCenter, dx);
        }
    });
}

void FloatingPanelWindowController::presentingStep(bool shouldCenter, double dx)
{
    if (shouldCenter) {
        // Placed before the window maps, so it never shows at its old place first.
        TovikScreenPlacement::centerWindow(*m_window, TovikScreenPlacement::screenForPointer());
        const QRectF centred = TovikScreenPlacement::frame(*m_window);
        TovikScreenPlacement::setFrame(*m_window, centred.translated(dx, 0));
        // Remembered like any move, so a panel never moved does not wander to the pointer's screen each start.
        persistFrame();
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    applyPinState(m_isPinned, false);
}

void FloatingPanelWindowController::syncPinnedSpaceBehavior()
{
    applyPinState(std::nullopt, false);
}

void FloatingPanelWindowController::bringForward()
{
    if (!m_isPinned) {
        TovikEwmh::moveToCurrentDesktop(*m_window);
    }
    m_window->raise();
    m_window->activateWindow();
}

void FloatingPanelWindowController::closeStandaloneWindow()
{
    m_window->close();
}

void FloatingPanelWindowController::openInMainWindow()
{
    if (onOpenInMainWindow) {
        onOpenInMainWindow();
    }
}

void FloatingPanelWindowController::toggleTextOnly()
{
    applyTextOnly(!m_isTextOnly, true);
}

void FloatingPanelWindowController::togglePin()
{
    applyPinState(!m_isPinned, true);
}

void FloatingPanelWindowController::persistFrame()
{
    m_frameSave->stop();
    m_preferences.save(TovikScreenPlacement::frame(*m_window));
}

void FloatingPanelWindowController::persistPendingFrame()
{
    if (m_frameSave->isActive()) {
        persistFrame();
    }
}

void FloatingPanelWindowController::popUpContextMenu()
{
    // On X11 the Menu key comes both as a key and as a menu event: one menu is enough.
    if (QApplication::activePopupWidget()) {
        return;
    }
    QWidget *focus = QApplication::focusWidget();
    QMenu *menu = makeContextMenu(m_window->isAncestorOf(focus) ? focus : nullptr).release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_window->mapToGlobal(QPoint(menuInset, menuInset)));
}

std::unique_ptr<QMenu> FloatingPanelWindowController::makeContextMenu(QWidget *target)
{
    auto menu = std::make_unique<QMenu>();
    // The entries of the view asked (the stopwatch's 复制), then those of the views around it, above the
    // panel's own.
    for (QWidget *view = target; view && view != m_window.get(); view = view->parentWidget()) {
        if (auto *contributor = qobject_cast<FloatingPanelMenuContributor *>(view)) {
            contributor->addContextMenuEntries(*menu);
        }
    }
    if (!menu->isEmpty()) {
        menu->addSeparator();
    }
    menu->addAction(m_isPinned ? QStringLiteral("取消置顶") : QStringLiteral("置顶显示"), this,
                    &FloatingPanelWindowController::togglePin);
    menu->addAction(m_isTextOnly ? QStringLiteral("恢复窗口外观") : QStringLiteral("纯文字显示"), this,
                    &FloatingPanelWindowController::toggleTextOnly);

    // Written through the shared setting, so every open panel follows at once.
    const TovikWindowBackgroundSettings current = TovikWindowChrome::settings(m_configuration.store);
    QMenu *background = menu->addMenu(QStringLiteral("窗口背景"));
    auto *modes = new QActionGroup(background);
    const std::array<std::pair<QString, TovikWindowBackgroundSettings::Mode>, 2> modeEntries{{
        {QStringLiteral("玻璃"), TovikWindowBackgroundSettings::Mode::glass},
        {QStringLiteral("不透明"), TovikWindowBackgroundSettings::Mode::opaque},
    }};
    for (const auto &entry : modeEntries) {
        const TovikWindowBackgroundSettings::Mode mode = entry.second;
        QAction *action = background->addAction(entry.first, this, [mode, store = m_configuration.store] {
            const TovikWindowBackgroundSettings now = TovikWindowChrome::settings(store);
            TovikWindowChrome::setSettings({mode, now.backingOpacity()}, store);
        });
        action->setCheckable(true);
        action->setChecked(current.mode() == mode);
        modes->addAction(action);
    }
    QMenu *density = menu->addMenu(QStringLiteral("背景浓度"));
    auto *levels = new QActionGroup(density);
    for (const int percent : {0, 25, 50, 75, 100}) {
        const double opacity = percent / 100.0;
        QAction *action =
            density->addAction(QStringLiteral("%1%").arg(percent), this, [opacity, store = m_configuration.store] {
                const TovikWindowBackgroundSettings now = TovikWindowChrome::settings(store);
                TovikWindowChrome::setSettings({now.mode(), opacity}, store);
            });
        action->setCheckable(true);
        action->setChecked(qAbs(current.backingOpacity() - opacity) < 0.005);
        levels->addAction(action);
    }

    // The page's own entries between separators; a page without any leaves one separator (QMenu collapses).
    menu->addSeparator();
    m_contentController->addContextMenuEntries(*menu);
    menu->addSeparator();
    menu->addAction(m_configuration.openInMainWindowToolTip, this, &FloatingPanelWindowController::openInMainWindow);
    menu->addAction(QStringLiteral("关闭"), this, &FloatingPanelWindowController::closeStandaloneWindow);
    return menu;
}

bool FloatingPanelWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.get()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (m_observesFrameChanges && m_window->isVisible()) {
                m_frameSave->start();
            }
            break;
        case QEvent::Close:
            persistPendingFrame();
            emit windowWillClose();
            break;
        case QEvent::Show:
            // Mapped anew: the window manager needs the pin state again, and the shape may have changed.
            TovikCompositorWatch::instance()->recheck();
            // The Menu key's menu event reaches the window before the focused view, whose own menu would
            // otherwise answer it.
            if (QWindow *handle = m_window->windowHandle()) {
                handle->installEventFilter(this);
            }
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::ContextMenu && watched == m_window->windowHandle()
               && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
        popUpContextMenu();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
