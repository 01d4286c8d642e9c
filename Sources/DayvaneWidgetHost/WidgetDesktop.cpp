#include "WidgetDesktop.h"

#include "PlacedWidgetWindow.h"
#include "WidgetPlacement.h"
#include "WidgetTimelineScheduler.h"
#include "WidgetUrlOpener.h"

#include <Platform/Ui/TovikWindowActivation.h>

#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

QString familyTitle(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return QStringLiteral("小");
    case WidgetFamily::systemMedium:
        return QStringLiteral("中");
    case WidgetFamily::systemLarge:
        return QStringLiteral("大");
    }
    return {};
}

} // namespace

WidgetDesktop::WidgetDesktop(QQmlEngine &engine, const WidgetExtension &extension, WidgetHostStore &store, Clock clock,
                             QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_extension(extension)
    , m_store(store)
    , m_clock(std::move(clock))
    , m_widgets(extension.widgets())
    , m_ticker(m_clock)
{
    connect(&m_ticker, &WidgetSecondTicker::nowChanged, this, [this](double now) {
        for (const auto &window : m_windows) {
            window->setNow(now);
        }
    });
}

WidgetDesktop::~WidgetDesktop() = default;

std::vector<QRect> WidgetDesktop::availableAreas()
{
    std::vector<QRect> areas;
    QScreen *primary = QGuiApplication::primaryScreen();
    if (primary) {
        areas.push_back(primary->availableGeometry());
    }
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != primary) {
            areas.push_back(screen->availableGeometry());
        }
    }
    return areas;
}

const WidgetConfiguration *WidgetDesktop::configuration(const std::string &kind) const
{
    const auto found = std::find_if(m_widgets.begin(), m_widgets.end(),
                                    [&](const WidgetConfiguration &widget) { return widget.kind == kind; });
    return found == m_widgets.end() ? nullptr : &*found;
}

QString WidgetDesktop::limitNotice(std::size_t heldBack)
{
    if (heldBack == 0) {
        return QStringLiteral("桌面上最多放 %1 个小组件。请先移除一个，再添加新的。").arg(maxPlacedWidgets);
    }
    return QStringLiteral("桌面上最多放 %1 个小组件，已显示前 %1 个；其余 %2 个仍保存着，没有显示。")
        .arg(maxPlacedWidgets)
        .arg(heldBack);
}

void WidgetDesktop::restore()
{
    m_remembered = m_store.load();
    m_nextRemembered = 0;
    m_heldBack.clear();
    m_restoring = true;
    m_changedWhileRestoring = false;
    restoreNext();
}

void WidgetDesktop::restoreNext()
{
    if (m_windows.size() >= maxPlacedWidgets && m_nextRemembered < m_remembered.size()) {
        m_heldBack.assign(m_remembered.begin() + static_cast<std::ptrdiff_t>(m_nextRemembered), m_remembered.end());
        m_nextRemembered = m_remembered.size();
        emit limitReached(m_heldBack.size());
    }
    while (m_nextRemembered < m_remembered.size()) {
        const PlacedWidget &placed = m_remembered[m_nextRemembered++];
        const WidgetConfiguration *widget = configuration(placed.kind);
        const QRect frame(placed.position, widgetFamilySize(placed.family).toSize());
        // A kind the extension no longer offers is forgotten.
        if (!widget || !place(*widget, placed.family, WidgetPlacement::clampedOnto(frame, availableAreas()))) {
            m_changedWhileRestoring = true;
            continue;
        }
        if (m_windows.back()->place() != placed.position) {
            m_changedWhileRestoring = true;
        }
        QTimer::singleShot(0, this, &WidgetDesktop::restoreNext);
        return;
    }
    m_restoring = false;
    m_remembered.clear();
    if (m_changedWhileRestoring) {
        save();
    }
    emit restored();
}

void WidgetDesktop::add(const std::string &kind, WidgetFamily family)
{
    const WidgetConfiguration *widget = configuration(kind);
    const std::vector<QRect> areas = availableAreas();
    if (!widget || areas.empty()) {
        return;
    }
    if (m_windows.size() >= maxPlacedWidgets) {
        emit limitReached(0);
        return;
    }
    std::vector<QRect> placed;
    for (const auto &window : m_windows) {
        placed.push_back(window->frame());
    }
    const QSize size = widgetFamilySize(family).toSize();
    if (place(*widget, family, WidgetPlacement::newWidgetPosition(areas.front(), size, placed))) {
        save();
    }
}

void WidgetDesktop::remove(PlacedWidgetWindow *window)
{
    const auto found = std::find_if(m_windows.begin(), m_windows.end(),
                                    [window](const auto &candidate) { return candidate.get() == window; });
    if (found == m_windows.end()) {
        return;
    }
    // It may be in the middle of delivering the event that asked for this.
    PlacedWidgetWindow *gone = found->release();
    m_windows.erase(found);
    gone->hide();
    gone->deleteLater();
    if (m_windows.empty()) {
        m_ticker.stop();
    }
    save();
}

void WidgetDesktop::resize(PlacedWidgetWindow *window, WidgetFamily family)
{
    const auto found = std::find_if(m_windows.begin(), m_windows.end(),
                                    [window](const auto &candidate) { return candidate.get() == window; });
    if (found == m_windows.end() || window->family() == family) {
        return;
    }
    const WidgetConfiguration widget = window->widget();
    const QRect frame(window->place(), widgetFamilySize(family).toSize());
    const QPoint position = WidgetPlacement::clampedOnto(frame, availableAreas());
    const std::size_t index = static_cast<std::size_t>(found - m_windows.begin());
    remove(window);
    if (place(widget, family, position)) {
        // It keeps its place in the list, so a restart brings the widgets back in the same order.
        std::rotate(m_windows.begin() + static_cast<std::ptrdiff_t>(index), m_windows.end() - 1, m_windows.end());
        save();
    }
}

void WidgetDesktop::reload(const QString &kind)
{
    for (const auto &window : m_windows) {
        if (QString::fromStdString(window->widget().kind) == kind) {
            window->timeline().reload();
        }
    }
}

std::vector<PlacedWidgetWindow *> WidgetDesktop::windows() const
{
    std::vector<PlacedWidgetWindow *> windows;
    for (const auto &window : m_windows) {
        windows.push_back(window.get());
    }
    return windows;
}

PlacedWidgetWindow *WidgetDesktop::place(const WidgetConfiguration &widget, WidgetFamily family, QPoint position)
{
    QString error;
    auto window = std::make_unique<PlacedWidgetWindow>(m_engine, m_extension, widget, family, m_clock, &error);
    if (!window->hasView()) {
        return nullptr;
    }
    PlacedWidgetWindow *placed = window.get();
    connect(placed, &PlacedWidgetWindow::moved, this, &WidgetDesktop::save);
    connect(placed, &PlacedWidgetWindow::contextMenuRequested, this,
            [this, placed](const QPoint &at) { showMenu(placed, at); });
    connect(placed, &PlacedWidgetWindow::openRequested, this,
            [](const QString &url) { WidgetUrlOpener::open(url, TovikWindowActivation::handOverToken()); });
    connect(placed, &PlacedWidgetWindow::intentRequested, this,
            [this, placed](const QString &name) { runIntent(placed, name); });
    placed->moveTo(position);
    m_windows.push_back(std::move(window));
    if (!m_ticker.isRunning()) {
        m_ticker.start();
    }
    placed->setNow(m_ticker.now());
    placed->show();
    return placed;
}

void WidgetDesktop::showMenu(PlacedWidgetWindow *window, const QPoint &globalPosition)
{
    auto *menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<PlacedWidgetWindow> target(window);
    menu->addAction(QStringLiteral("移除小组件"), this, [this, target] {
        if (target) {
            remove(target);
        }
    });
    menu->addSeparator();
    for (const WidgetFamily family : window->widget().supportedFamilies) {
        if (family == window->family()) {
            continue;
        }
        menu->addAction(familyTitle(family), this, [this, target, family] {
            if (target) {
                resize(target, family);
            }
        });
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("打开小组件库"), this, &WidgetDesktop::galleryRequested);
    menu->popup(globalPosition);
}

void WidgetDesktop::runIntent(PlacedWidgetWindow *window, const QString &name)
{
    const auto &intents = window->widget().intents;
    const auto intent = intents.find(name.toStdString());
    if (intent != intents.end()) {
        m_intents.run(intent->second, m_clock());
    }
}

void WidgetDesktop::save()
{
    if (m_restoring) {
        m_changedWhileRestoring = true;
        return;
    }
    std::vector<PlacedWidget> placed;
    for (const auto &window : m_windows) {
        placed.push_back({window->widget().kind, window->family(), window->place()});
    }
    placed.insert(placed.end(), m_heldBack.begin(), m_heldBack.end());
    m_store.save(placed);
}
