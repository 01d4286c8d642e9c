// The panel controller driven as a user drives it: hovering, clicking its buttons, closing it, and opening
// it again in a later run.
#include "AccessibleLookup.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelChromeButton.h>
#include <TovikKit/FloatingPanelHoverBorderView.h>
#include <TovikKit/FloatingPanelMenuContributor.h>
#include <TovikKit/FloatingPanelWindowController.h>
#include <TovikKit/TovikDesktopContrast.h>
#include <TovikKit/TovikScreenPlacement.h>
#include <TovikKit/TovikSurfaceView.h>
#include <TovikKit/TovikViewController.h>
#include <TovikKit/TovikWindowBackingView.h>
#include <TovikKit/TovikWindowChrome.h>

#include <QAccessible>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The chrome's pin and text-only buttons, by the names they read out whatever their state.
FloatingPanelChromeButton *pinButton(const FloatingPanelWindowController &panel)
{
    return findByAccessibleName<FloatingPanelChromeButton>(*panel.window(), QStringLiteral("置顶显示"));
}

FloatingPanelChromeButton *textOnlyButton(const FloatingPanelWindowController &panel)
{
    return findByAccessibleName<FloatingPanelChromeButton>(*panel.window(), QStringLiteral("纯文字显示"));
}

// One of the panel's layers, which have no names of their own (the glass, the backing, the hover border),
// by its type in the panel's view tree.
template <typename View>
View *layer(const FloatingPanelWindowController &panel)
{
    return panel.window()->findChild<View *>();
}

class LabelPage final : public TovikViewController {
public:
    LabelPage() = default;

protected:
    QWidget *loadView() override { return new QLabel(QStringLiteral("页面")); }
};

// A page whose left half has a menu entry of its own, 标记, and takes the focus.
class MarkedView final : public QLabel, public FloatingPanelMenuContributor {
    Q_OBJECT
    Q_INTERFACES(FloatingPanelMenuContributor)
public:
    MarkedView(QWidget *parent)
        : QLabel(QStringLiteral("标记"), parent)
    {
        setFocusPolicy(Qt::StrongFocus);
    }
    void addContextMenuEntries(QMenu &menu) override { menu.addAction(QStringLiteral("标记")); }
};

class MarkedPage final : public TovikViewController {
public:
    MarkedPage() = default;

protected:
    QWidget *loadView() override
    {
        auto *page = new QWidget;
        (new MarkedView(page))->setGeometry(0, 0, 170, 116);
        return page;
    }
};

// The menu's entries, a separator as "-", up to the first of the panel's own.
QStringList entriesBeforeThePanels(const QMenu &menu)
{
    QStringList entries;
    for (const QAction *action : menu.actions()) {
        if (action->text() == QStringLiteral("取消置顶")) {
            break;
        }
        entries.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return entries;
}

const std::string prefix = "test.panel";

FloatingPanelConfiguration configuration(bool usesOverlayControls = false)
{
    return {QStringLiteral("面板"),
            prefix,
            {340, 116},
            {72, 28},
            12,
            usesOverlayControls,
            QStringLiteral("在主窗口打开"),
            TovikSettingsStore::standard()};
}

// The close and open-in-main-window buttons, by the names their tooltips give them.
FloatingPanelChromeButton *closeButton(const FloatingPanelWindowController &panel)
{
    return findByAccessibleName<FloatingPanelChromeButton>(*panel.window(), QStringLiteral("关闭"));
}

FloatingPanelChromeButton *openMainButton(const FloatingPanelWindowController &panel)
{
    return findByAccessibleName<FloatingPanelChromeButton>(*panel.window(), configuration().openInMainWindowToolTip);
}

QAction *findAction(QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
        if (action->menu()) {
            if (QAction *inner = findAction(*action->menu(), text)) {
                return inner;
            }
        }
    }
    return nullptr;
}

class FloatingPanelWindowControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *suffix : {"frameX", "frameY", "width", "height", "screenID", "screenRelativeX",
                                   "screenRelativeY", "pinned", "textOnly"}) {
            store()->remove(prefix + "." + suffix);
        }
        TovikWindowChrome::setSettings(TovikWindowBackgroundSettings::defaultSettings(), store());
        // A window to move the mouse onto, away from every panel.
        m_elsewhere.setGeometry(0, 0, 40, 40);
        m_elsewhere.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_elsewhere));
        QTest::mouseMove(&m_elsewhere, QPoint(20, 20));
    }
    void TearDown() override
    {
        TovikWindowChrome::setSettings(TovikWindowBackgroundSettings::defaultSettings(), store());
    }

    static std::shared_ptr<TovikSettingsStore> store() { return TovikSettingsStore::standard(); }

    std::unique_ptr<FloatingPanelWindowController> makePanel(bool usesOverlayControls = false)
    {
        return std::make_unique<FloatingPanelWindowController>(configuration(usesOverlayControls), new LabelPage);
    }

    static void showAndHover(FloatingPanelWindowController &panel)
    {
        panel.present();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.window()));
        QTest::mouseMove(panel.window(), QPoint(170, 60));
        ASSERT_TRUE(QTest::qWaitFor([&] { return panel.isChromeVisible(); }));
    }

    QWidget m_elsewhere;
};

TEST_F(FloatingPanelWindowControllerTest, theChromeShowsWhileTheMouseIsOverThePanel)
{
    struct Case {
        const char *name;
        bool overlay;
        bool textOnly;
        bool openButton;
        bool border;
    };
    const Case cases[] = {
        {"titled panel", false, false, false, false},
        {"titled panel, text only", false, true, false, true},
        {"overlay controls", true, false, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        store()->set(prefix + ".textOnly", c.textOnly);
        auto panel = makePanel(c.overlay);
        showAndHover(*panel);
        EXPECT_TRUE(closeButton(*panel)->isVisible());
        EXPECT_EQ(openMainButton(*panel)->isVisible(), c.openButton);
        EXPECT_TRUE(textOnlyButton(*panel)->isVisible());
        EXPECT_TRUE(pinButton(*panel)->isVisible());
        EXPECT_EQ(layer<FloatingPanelHoverBorderView>(*panel)->isVisible(), c.border);

        QTest::mouseMove(&m_elsewhere, QPoint(20, 20));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->isChromeVisible(); }));
        for (QWidget *view :
             std::initializer_list<QWidget *>{closeButton(*panel), openMainButton(*panel), textOnlyButton(*panel),
                                              pinButton(*panel), layer<FloatingPanelHoverBorderView>(*panel)}) {
            EXPECT_FALSE(view->isVisible()) << view->toolTip().toStdString();
        }
    }
}

TEST_F(FloatingPanelWindowControllerTest, theButtonsKeepTheirCornersWhenThePanelIsResized)
{
    auto panel = makePanel();
    showAndHover(*panel);
    panel->window()->resize(500, 200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pinButton(*panel)->geometry().right() == 500 - 8 - 1; }));
    EXPECT_EQ(closeButton(*panel)->geometry(), QRect(8, 7, 14, 14));
    EXPECT_EQ(pinButton(*panel)->geometry(), QRect(475, 6, 17, 17));
    EXPECT_EQ(textOnlyButton(*panel)->geometry(), QRect(454, 6, 17, 17));
    EXPECT_EQ(layer<TovikSurfaceView>(*panel)->size(), QSize(500, 200));
    EXPECT_EQ(panel->contentController()->view()->size(), QSize(500, 200));
}

TEST_F(FloatingPanelWindowControllerTest, pinAndTextOnlyClicksAreStoredAndComeBackInANewController)
{
    {
        auto panel = makePanel();
        EXPECT_TRUE(panel->isPinned()) << "a panel never opened is pinned";
        EXPECT_EQ(pinButton(*panel)->toolTip(), QStringLiteral("取消置顶"));
        // A screen reader hears each toggle by one name, whether it is on told by its checked state.
        const auto reads = [](QWidget *button) {
            QAccessibleInterface *seen = QAccessible::queryAccessibleInterface(button);
            return std::pair(seen->text(QAccessible::Name), bool(seen->state().checked));
        };
        EXPECT_EQ(reads(pinButton(*panel)), std::pair(QStringLiteral("置顶显示"), true));
        EXPECT_EQ(reads(textOnlyButton(*panel)), std::pair(QStringLiteral("纯文字显示"), false));
        showAndHover(*panel);
        QTest::mouseClick(pinButton(*panel), Qt::LeftButton);
        QTest::mouseClick(textOnlyButton(*panel), Qt::LeftButton);

        EXPECT_EQ(store()->boolean(prefix + ".pinned"), false);
        EXPECT_EQ(store()->boolean(prefix + ".textOnly"), true);
        EXPECT_FALSE(panel->window()->isPinned());
        EXPECT_EQ(pinButton(*panel)->symbol(), QStringLiteral("pin"));
        EXPECT_EQ(reads(pinButton(*panel)), std::pair(QStringLiteral("置顶显示"), false));
        EXPECT_EQ(reads(textOnlyButton(*panel)), std::pair(QStringLiteral("纯文字显示"), true));
        EXPECT_EQ(textOnlyButton(*panel)->toolTip(), QStringLiteral("恢复窗口外观"));
        EXPECT_FALSE(layer<TovikSurfaceView>(*panel)->isVisible());
        EXPECT_TRUE(layer<FloatingPanelHoverBorderView>(*panel)->isVisible())
            << "the border outlines a text-only panel";
    }
    auto reopened = makePanel();
    EXPECT_FALSE(reopened->isPinned());
    EXPECT_FALSE(reopened->window()->isPinned());
    EXPECT_TRUE(reopened->isTextOnly());
    EXPECT_TRUE(pinButton(*reopened)->isCheckable() && !pinButton(*reopened)->isChecked());
    EXPECT_TRUE(textOnlyButton(*reopened)->isChecked());
    EXPECT_EQ(pinButton(*reopened)->toolTip(), QStringLiteral("置顶显示"));
    EXPECT_FALSE(layer<TovikSurfaceView>(*reopened)->isVisibleTo(reopened->window()));

    // And back: the keys follow every click.
    showAndHover(*reopened);
    QTest::mouseClick(pinButton(*reopened), Qt::LeftButton);
    QTest::mouseClick(textOnlyButton(*reopened), Qt::LeftButton);
    EXPECT_EQ(store()->boolean(prefix + ".pinned"), true);
    EXPECT_EQ(store()->boolean(prefix + ".textOnly"), false);
    EXPECT_TRUE(layer<TovikSurfaceView>(*reopened)->isVisible());
}

TEST_F(FloatingPanelWindowControllerTest, theFirstPresentationCentresUnderTheMouseAndLaterOnesKeepTheFrame)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QRect placed;
    {
        auto panel = makePanel();
        EXPECT_FALSE(panel->hasRestoredFrame());
        panel->present(30);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->window()));
        const QRect frame = panel->window()->geometry();
        EXPECT_EQ(frame.size(), QSize(340, 116));
        EXPECT_NEAR(frame.center().x(), available.center().x() + 30, 1);
        EXPECT_NEAR(frame.center().y(), available.center().y(), 1);

        panel->window()->move(frame.topLeft() + QPoint(-50, 25));
        // Written once the panel rests, while it is still open.
        EXPECT_TRUE(QTest::qWaitFor([&] { return store()->number(prefix + ".frameX") == frame.x() - 50; }));
        panel->closeStandaloneWindow();
        panel->present(30);
        ASSERT_TRUE(QTest::qWaitFor([&] { return panel->window()->isVisible(); }));
        placed = panel->window()->geometry();
        EXPECT_EQ(placed.topLeft(), frame.topLeft() + QPoint(-50, 25)) << "only the first presentation centres";
    }
    auto reopened = makePanel();
    EXPECT_TRUE(reopened->hasRestoredFrame()) << "the move was saved";
    reopened->present(30);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(reopened->window()));
    EXPECT_EQ(reopened->window()->geometry(), placed) << "a restored frame is not centred";
}

TEST_F(FloatingPanelWindowControllerTest, aPanelNeverMovedComesBackWhereItWasCentred)
{
    QRect centred;
    {
        auto panel = makePanel();
        panel->present(30);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->window()));
        centred = panel->window()->geometry();
    }
    auto reopened = makePanel();
    EXPECT_TRUE(reopened->hasRestoredFrame());
    reopened->present(-200);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(reopened->window()));
    EXPECT_EQ(reopened->window()->geometry(), centred);
}

TEST_F(FloatingPanelWindowControllerTest, closingOnlyHidesAndTellsTheOwnerOnce)
{
    auto panel = makePanel();
    QSignalSpy closing(panel.get(), &FloatingPanelWindowController::windowWillClose);
    panel->present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->window()));
    showAndHover(*panel);
    QTest::mouseClick(closeButton(*panel), Qt::LeftButton);
    EXPECT_FALSE(panel->window()->isVisible());
    EXPECT_EQ(closing.count(), 1);

    panel->present();
    panel->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel->window()));
    QTest::keyClick(panel->window(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(panel->window()->isVisible());
    EXPECT_EQ(closing.count(), 2);
}

TEST_F(FloatingPanelWindowControllerTest, theMenuKeyAndShiftF10OpenThePanelsMenu)
{
    auto panel = makePanel();
    panel->present();
    panel->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel->window()));
    QSignalSpy closing(panel.get(), &FloatingPanelWindowController::windowWillClose);
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}}) {
        panel->present();
        panel->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel->window()));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : panel->window(), key, modifiers);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu for key " << key;
        QAction *close = findAction(*menu, QStringLiteral("关闭"));
        ASSERT_NE(close, nullptr);
        close->trigger();
        menu->close();
        EXPECT_FALSE(panel->window()->isVisible());
    }
    EXPECT_EQ(closing.count(), 2);
}

TEST_F(FloatingPanelWindowControllerTest, aViewsOwnEntriesComeFirstInThePanelsMenuByMouseAndByKeyboard)
{
    FloatingPanelWindowController panel(configuration(), new MarkedPage);
    panel.present();
    panel.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel.window()));
    QWindow *handle = panel.window()->windowHandle();
    const auto menuFor = [&](const std::function<void()> &ask) {
        QStringList entries{QStringLiteral("no menu")};
        QTimer::singleShot(0, panel.window(), [&entries] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                entries = entriesBeforeThePanels(*menu);
                menu->close();
            }
        });
        ask();
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            entries = entriesBeforeThePanels(*menu);
            menu->close();
        }
        return entries;
    };
    const QStringList marked{QStringLiteral("标记"), QStringLiteral("-")};
    EXPECT_EQ(menuFor([&] { QTest::mouseClick(handle, Qt::RightButton, {}, QPoint(60, 60)); }), marked);
    EXPECT_EQ(menuFor([&] { QTest::mouseClick(handle, Qt::RightButton, {}, QPoint(260, 60)); }), QStringList())
        << "elsewhere the panel's entries alone";
    panel.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel.window()));
    auto *marker = panel.window()->findChild<MarkedView *>();
    marker->setFocus();
    EXPECT_EQ(menuFor([&] { QTest::keyClick(marker, Qt::Key_F10, Qt::ShiftModifier); }), marked);
}

TEST_F(FloatingPanelWindowControllerTest, theMenusBackgroundEntriesReachEveryPanel)
{
    auto first = makePanel();
    auto second = makePanel();
    std::unique_ptr<QMenu> menu = first->makeContextMenu();
    ASSERT_NE(findAction(*menu, QStringLiteral("取消置顶")), nullptr) << "the pin entry names what it will do";
    ASSERT_NE(findAction(*menu, QStringLiteral("纯文字显示")), nullptr);
    ASSERT_NE(findAction(*menu, QStringLiteral("关闭")), nullptr);

    findAction(*menu, QStringLiteral("不透明"))->trigger();
    EXPECT_EQ(TovikWindowChrome::settings(store()).mode(), TovikWindowBackgroundSettings::Mode::opaque);
    EXPECT_DOUBLE_EQ(layer<TovikWindowBackingView>(*second)->backingAlpha(), 1);

    menu = second->makeContextMenu();
    EXPECT_TRUE(findAction(*menu, QStringLiteral("不透明"))->isChecked());
    findAction(*menu, QStringLiteral("玻璃"))->trigger();
    findAction(*second->makeContextMenu(), QStringLiteral("50%"))->trigger();
    EXPECT_DOUBLE_EQ(layer<TovikWindowBackingView>(*first)->backingAlpha(), 0.5);
    EXPECT_DOUBLE_EQ(TovikWindowChrome::settings(store()).backingOpacity(), 0.5);
    EXPECT_EQ(TovikWindowChrome::settings(store()).mode(), TovikWindowBackgroundSettings::Mode::glass)
        << "the density keeps the mode";

    findAction(*menu, QStringLiteral("纯文字显示"))->trigger();
    EXPECT_DOUBLE_EQ(layer<TovikWindowBackingView>(*second)->backingAlpha(), 0) << "text-only shows no backing";
    EXPECT_DOUBLE_EQ(layer<TovikWindowBackingView>(*first)->backingAlpha(), 0.5);
}

TEST(TovikDesktopContrast, onlyTheHighContrastValueReducesTransparency)
{
    struct Case {
        const char *name;
        QVariant value;
        bool reduces;
    };
    const Case cases[] = {
        {"high contrast", QVariant::fromValue(1U), true},
        {"no preference", QVariant::fromValue(0U), false},
        {"wrapped twice, as Read answers", QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1U)))),
         true},
        {"an unknown level", QVariant::fromValue(2U), false},
        {"a text", QVariant(QStringLiteral("1")), false},
        {"nothing", QVariant(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TovikDesktopContrast::reducesTransparency(c.value), c.reduces);
    }
}

} // namespace

#include "FloatingPanelWindowControllerTest.moc"
