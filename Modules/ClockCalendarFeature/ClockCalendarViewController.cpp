#include "ClockCalendarViewController.h"

#include "CalendarViewController.h"
#include "TimePageViewController.h"

#include <Platform/Ui/TovikClock.h>
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>
#include <TovikKit/TovikLayoutView.h>
#include <TovikKit/TovikPaintedIcon.h>
#include <TovikKit/TovikSegmentedControl.h>
#include <TovikKit/TovikSymbols.h>
#include <TovikKit/TovikWeakCallback.h>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::array<ClockCalendarTab, 3> tabs = {ClockCalendarTab::clock, ClockCalendarTab::calendar,
                                                  ClockCalendarTab::stopwatch};
constexpr double miniWindowButtonMargin = 10;
constexpr double miniWindowSymbolSize = 13;
constexpr double tabSymbolPointSize = 10;

QColor blended(const QColor &color, const QColor &toward, double fraction)
{
    return QColor::fromRgbF(float(color.redF() + (toward.redF() - color.redF()) * fraction),
                            float(color.greenF() + (toward.greenF() - color.greenF()) * fraction),
                            float(color.blueF() + (toward.blueF() - color.blueF()) * fraction),
                            float(color.alphaF() + (toward.alphaF() - color.alphaF()) * fraction));
}

QPixmap tabIconPixmap(const QString &symbol, const QColor &color, qreal devicePixelRatio)
{
    const double side = ClockCalendarViewController::tabIconSide;
    const int pixels = int(std::lround(side * devicePixelRatio));
    QPixmap pixmap(QSize(pixels, pixels));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, side, side), 4, 4);
    QLinearGradient gradient(0, 0, 0, side);
    gradient.setColorAt(0, blended(color, Qt::white, 0.25));
    gradient.setColorAt(1, blended(color, Qt::black, 0.15));
    painter.fillPath(shape, gradient);

    // The symbol at its natural size, centred.
    const QPixmap glyph =
        TovikSymbols::pixmap(symbol, tabSymbolPointSize, QFont::Bold, QColor(Qt::white), devicePixelRatio);
    const QSizeF glyphSize = glyph.deviceIndependentSize();
    painter.drawPixmap(QPointF((side - glyphSize.width()) / 2, (side - glyphSize.height()) / 2), glyph);
    return pixmap;
}

QIcon miniWindowIcon()
{
    const double side = miniWindowSymbolSize + 3;
    return TovikPaintedIcon::make(QSizeF(side, side), [](qreal ratio) {
        return TovikSymbols::pixmap(QStringLiteral("pip.enter"), miniWindowSymbolSize, QFont::Normal,
                                    TovikColors::white(0.55), ratio);
    });
}

ClockCalendarTab tabAt(int index)
{
    return index == 2 ? ClockCalendarTab::stopwatch : index == 1 ? ClockCalendarTab::calendar : ClockCalendarTab::clock;
}

} // namespace

ClockCalendarViewController::Layout ClockCalendarViewController::layout(const QSizeF &bounds, const QSizeF &segmentSize)
{
    const double strip = bounds.height() - titleBarHeight;
    return {
        QRectF(std::round((bounds.width() - segmentSize.width()) / 2),
               std::round(strip + (titleBarHeight - segmentSize.height()) / 2), segmentSize.width(),
               segmentSize.height()),
        QRectF(bounds.width() - miniWindowButtonSide - miniWindowButtonMargin,
               std::round(strip + (titleBarHeight - miniWindowButtonSide) / 2), miniWindowButtonSide,
               miniWindowButtonSide),
        QRectF(0, 0, bounds.width(), std::max(strip, 1.0)),
    };
}

QString ClockCalendarViewController::tabLabel(ClockCalendarTab tab)
{
    switch (tab) {
    case ClockCalendarTab::clock:
        return QStringLiteral("时钟");
    case ClockCalendarTab::calendar:
        return QStringLiteral("日历");
    case ClockCalendarTab::stopwatch:
        return QStringLiteral("计时器");
    }
    return {};
}

QString ClockCalendarViewController::tabSymbol(ClockCalendarTab tab)
{
    switch (tab) {
    case ClockCalendarTab::clock:
        return QStringLiteral("clock");
    case ClockCalendarTab::calendar:
        return QStringLiteral("calendar");
    case ClockCalendarTab::stopwatch:
        return QStringLiteral("stopwatch");
    }
    return {};
}

QColor ClockCalendarViewController::tabColor(ClockCalendarTab tab)
{
    switch (tab) {
    case ClockCalendarTab::clock:
        return TovikColors::systemOrange();
    case ClockCalendarTab::calendar:
        return TovikColors::systemRed();
    case ClockCalendarTab::stopwatch:
        return TovikColors::systemTeal();
    }
    return unselectedTabColor();
}

QIcon ClockCalendarViewController::tabIcon(const QString &symbol, const QColor &color)
{
    return TovikPaintedIcon::make(QSizeF(tabIconSide, tabIconSide),
                                  [symbol, color](qreal ratio) { return tabIconPixmap(symbol, color, ratio); });
}

ClockCalendarViewController::ClockCalendarViewController(ClockCalendarConfiguration configuration, QObject *parent)
    : TovikViewController(parent)
    , m_configuration(std::move(configuration))
    , m_calendarViewController(new CalendarViewController(m_configuration.clock, this))
    , m_clockViewController(new TimePageViewController(m_configuration.clock, TimePageViewController::Clock{}, this))
    , m_stopwatchViewController(new TimePageViewController(
          m_configuration.clock, TimePageViewController::Stopwatch{m_configuration.stopwatchStore}, this))
{
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        const QString symbol = tabSymbol(tabs[i]);
        m_tabIcons[i] = {tabIcon(symbol, tabColor(tabs[i])), tabIcon(symbol, unselectedTabColor())};
    }
}

ClockCalendarViewController::~ClockCalendarViewController() = default;

void ClockCalendarViewController::setOnOpenMiniWindow(std::function<void(ClockCalendarTab)> callback)
{
    m_onOpenMiniWindow = std::move(callback);
    if (m_miniWindowButton) {
        m_miniWindowButton->setHidden(!m_onOpenMiniWindow);
    }
}

QWidget *ClockCalendarViewController::loadView()
{
    auto *root = new TovikLayoutView;
    m_root = root;
    QPalette palette = root->palette();
    palette.setColor(QPalette::Window, backgroundColor());
    root->setPalette(palette);
    root->setAutoFillBackground(true);

    m_contentContainer = new QWidget(root);

    QStringList labels;
    for (const ClockCalendarTab tab : tabs) {
        labels.append(tabLabel(tab));
    }
    m_segment = new TovikSegmentedControl(labels, root);
    m_segment->setFont(TovikFonts::systemFont(11, QFont::DemiBold));
    m_segment->setSelectedFill(TovikColors::white(0.16));
    m_segment->setSegmentWidth(segmentWidth);
    m_segment->resize(m_segment->sizeHint());
    connect(m_segment, &TovikSegmentedControl::activated, this, &ClockCalendarViewController::segmentChanged);

    auto *button = new QToolButton(root);
    button->setIcon(miniWindowIcon());
    button->setIconSize(QSize(int(miniWindowSymbolSize + 3), int(miniWindowSymbolSize + 3)));
    button->setAutoRaise(true);
    // Ctrl+M reaches it from the keyboard; in the Tab chain it would only repeat that.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QStringLiteral("小窗显示"));
    button->setAccessibleName(QStringLiteral("小窗显示"));
    button->setHidden(!m_onOpenMiniWindow);
    connect(button, &QToolButton::clicked, this, &ClockCalendarViewController::openMiniWindow);
    m_miniWindowButton = button;

    root->onLayout = tovikWeakCallback(this, &ClockCalendarViewController::layoutSubviews);
    addShortcuts(root);

    // Restoring only reads: a value outside the tabs stays in the store until the next real change.
    if (m_configuration.preferences) {
        const auto stored = m_configuration.preferences->integer(m_configuration.selectedTabKey);
        if (stored && clockCalendarTabFromRawValue(*stored)) {
            m_selectedIndex = static_cast<int>(*stored);
        }
    }
    m_segment->setSelectedSegment(m_selectedIndex);
    showChild(m_selectedIndex);
    return root;
}

void ClockCalendarViewController::segmentChanged()
{
    const int index = std::clamp(m_segment->selectedSegment(), 0, m_segment->segmentCount() - 1);
    if (index == m_selectedIndex) {
        return;
    }
    m_selectedIndex = index;
    if (m_configuration.preferences) {
        m_configuration.preferences->set(m_configuration.selectedTabKey, index);
    }
    showChild(index);
}

void ClockCalendarViewController::addShortcuts(QWidget *root)
{
    const auto add = [this, root](const QKeySequence &keys, auto action) {
        auto *shortcut = new QShortcut(keys, root);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    constexpr int count = static_cast<int>(tabs.size());
    for (int i = 0; i < count; ++i) {
        add(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)), [this, i] { selectTab(i); });
    }
    add(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { selectTab((m_selectedIndex + 1) % count); });
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { selectTab((m_selectedIndex + count - 1) % count); });
    add(QKeySequence(Qt::CTRL | Qt::Key_M), [this] { openMiniWindow(); });
}

void ClockCalendarViewController::selectTab(int index)
{
    m_segment->setSelectedSegment(index);
    segmentChanged();
    focusShownPage();
}

// The first control of the page that acts on keys; the tab strip when the page has none (the clock).
void ClockCalendarViewController::focusShownPage()
{
    QWidget *page = m_shownPage->view();
    QWidget *target = m_segment;
    QWidget *candidate = page;
    do {
        if (candidate->isVisibleTo(page) && candidate->isEnabled() && (candidate->focusPolicy() & Qt::TabFocus)) {
            target = candidate;
            break;
        }
        candidate = candidate->nextInFocusChain();
    } while (candidate != page && page->isAncestorOf(candidate));
    target->setFocus(Qt::ShortcutFocusReason);
}

void ClockCalendarViewController::openMiniWindow()
{
    if (m_onOpenMiniWindow) {
        m_onOpenMiniWindow(tabAt(m_selectedIndex));
    }
}

void ClockCalendarViewController::showChild(int index)
{
    const ClockCalendarTab tab = tabAt(index);
    TovikViewController *page = pageOf(tab);

    for (int i = 0; i < m_segment->segmentCount(); ++i) {
        const TabIconPair &icons = m_tabIcons[static_cast<std::size_t>(i)];
        m_segment->setImage(i, i == index ? icons.selected : icons.unselected);
    }

    if (m_shownPage) {
        QWidget *old = m_shownPage->view();
        old->hide();
        old->setParent(nullptr);
    }
    m_shownPage = page;
    QWidget *view = page->view();
    view->setParent(m_contentContainer);
    view->setGeometry(m_contentContainer->rect());
    view->show();

    if (tab == ClockCalendarTab::calendar) {
        m_calendarViewController->refreshTodayIfNeeded(m_configuration.clock.now());
    }
}

TovikViewController *ClockCalendarViewController::pageOf(ClockCalendarTab tab) const
{
    switch (tab) {
    case ClockCalendarTab::calendar:
        return m_calendarViewController;
    case ClockCalendarTab::stopwatch:
        return m_stopwatchViewController;
    case ClockCalendarTab::clock:
        break;
    }
    return m_clockViewController;
}

void ClockCalendarViewController::layoutSubviews()
{
    if (!m_root) {
        return;
    }
    const QSizeF bounds = m_root->size();
    const Layout frames = layout(bounds, m_segment->sizeHint());
    m_segment->setGeometry(TovikGeometry::toQt(frames.segment, bounds.height()).toRect());
    m_miniWindowButton->setGeometry(TovikGeometry::toQt(frames.miniWindowButton, bounds.height()).toRect());
    m_contentContainer->setGeometry(TovikGeometry::toQt(frames.contentContainer, bounds.height()).toRect());
    if (m_shownPage) {
        m_shownPage->view()->setGeometry(m_contentContainer->rect());
    }
}
