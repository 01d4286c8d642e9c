#include "AccessibleLookup.h"
#include "StopwatchLookup.h"

#include <ClockCalendarFeature/CalendarPageView.h>
#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <ClockCalendarFeature/ClockFaceView.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/TovikSymbols.h>

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

constexpr const char *tabKey = "test.selectedTab";

// The tab strip's mini-window button, by the name it reads out.
QAbstractButton *miniWindowButton(ClockCalendarViewController &controller)
{
    return findByAccessibleName<QAbstractButton>(*controller.view(), QStringLiteral("小窗显示"));
}

class ClockCalendarViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ClockCalendarAccessibility::install();
        m_preferences = TovikSettingsStore::open(m_folder.filePath("preferences.sqlite3").toStdString());
        m_suite = TovikSettingsStore::open(m_folder.filePath("suite.sqlite3").toStdString());
        ASSERT_TRUE(m_preferences);
        ASSERT_TRUE(m_suite);
    }

    std::unique_ptr<ClockCalendarViewController> make()
    {
        auto controller = std::make_unique<ClockCalendarViewController>(ClockCalendarConfiguration{
            TovikClock::shared(), StopwatchStore(m_suite, "test.stopwatch"), m_preferences, tabKey});
        controller->view()->resize(720, 452);
        return controller;
    }

    static void click(ClockCalendarViewController &controller, int segment)
    {
        const QPoint centre = controller.segment()->segmentRect(segment).center().toPoint();
        QTest::mouseClick(controller.segment(), Qt::LeftButton, {}, centre);
    }

    // The tab whose page the container shows, told by what the page holds; -1 for none of the three.
    static int shownTab(const ClockCalendarViewController &controller)
    {
        const QWidget *page = controller.shownPage()->view();
        if (page->findChild<ClockFaceView *>()) {
            return 0;
        }
        if (qobject_cast<const CalendarPageView *>(page)) {
            return 1;
        }
        return stopwatchDisplay(*page) ? 2 : -1;
    }

    QTemporaryDir m_folder;
    std::shared_ptr<TovikSettingsStore> m_preferences;
    std::shared_ptr<TovikSettingsStore> m_suite;
};

TEST_F(ClockCalendarViewControllerTest, freshStoreOpensOnTheClockAndWritesNothing)
{
    auto controller = make();
    EXPECT_EQ(controller->selectedIndex(), 0);
    EXPECT_EQ(shownTab(*controller), 0);
    EXPECT_EQ(controller->segment()->selectedSegment(), 0);
    EXPECT_FALSE(m_preferences->contains(tabKey));
}

TEST_F(ClockCalendarViewControllerTest, restoresOnlyTheThreeTabsAndNeverWritesBack)
{
    struct Case {
        const char *name;
        std::optional<TovikSettingsStore::Value> stored;
        int expected;
    };
    const Case cases[] = {
        {"calendar", TovikSettingsStore::Value(std::int64_t(1)), 1},
        {"stopwatch", TovikSettingsStore::Value(std::int64_t(2)), 2},
        {"clock", TovikSettingsStore::Value(std::int64_t(0)), 0},
        {"too large", TovikSettingsStore::Value(std::int64_t(7)), 0},
        {"negative", TovikSettingsStore::Value(std::int64_t(-1)), 0},
        {"text", TovikSettingsStore::Value(std::string("2")), 0},
        {"real", TovikSettingsStore::Value(1.5), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::visit([this](const auto &value) { m_preferences->set(tabKey, value); }, *c.stored);
        auto controller = make();
        EXPECT_EQ(controller->selectedIndex(), c.expected);
        EXPECT_EQ(controller->segment()->selectedSegment(), c.expected);
        EXPECT_EQ(shownTab(*controller), c.expected);
        EXPECT_EQ(controller->shownPage()->view()->parentWidget(), controller->contentContainer());
        EXPECT_EQ(m_preferences->value(tabKey), c.stored) << "restoring must not write";
    }
}

TEST_F(ClockCalendarViewControllerTest, clickingAnotherSegmentStoresItAndSwapsThePage)
{
    auto controller = make();
    QWidget *clockView = controller->shownPage()->view();

    click(*controller, 1);
    EXPECT_EQ(m_preferences->integer(tabKey), 1);
    EXPECT_EQ(shownTab(*controller), 1);
    EXPECT_NE(clockView->parentWidget(), controller->contentContainer()) << "the old page leaves the container";
    EXPECT_EQ(controller->contentContainer()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(controller->shownPage()->view()->geometry(), controller->contentContainer()->rect());

    click(*controller, 2);
    EXPECT_EQ(m_preferences->integer(tabKey), 2);
    EXPECT_EQ(shownTab(*controller), 2);
}

TEST_F(ClockCalendarViewControllerTest, clickingTheShownSegmentWritesNothing)
{
    auto controller = make();
    click(*controller, 0);
    EXPECT_FALSE(m_preferences->contains(tabKey));

    m_preferences->set(tabKey, "not a tab");
    auto second = make();
    click(*second, 0);
    EXPECT_EQ(m_preferences->text(tabKey), "not a tab");
    click(*second, 1);
    EXPECT_EQ(m_preferences->integer(tabKey), 1) << "a real change overwrites the bad value";
}

TEST_F(ClockCalendarViewControllerTest, onlyTheShownTabIsColoured)
{
    const ClockCalendarTab tabs[] = {ClockCalendarTab::clock, ClockCalendarTab::calendar, ClockCalendarTab::stopwatch};
    // A point of each icon's gradient clear of the symbol.
    const auto sample = [](const QIcon &icon) { return icon.pixmap(QSize(16, 16), 1.0).toImage().pixelColor(1, 8); };
    for (int shown = 0; shown < 3; ++shown) {
        SCOPED_TRACE(shown);
        m_preferences->set(tabKey, shown);
        auto controller = make();
        for (int i = 0; i < 3; ++i) {
            const QColor colour = sample(controller->segment()->image(i));
            if (i == shown) {
                const int expectedHue = ClockCalendarViewController::tabColor(tabs[i]).hslHue();
                EXPECT_GT(colour.hslSaturation(), 100) << "segment " << i;
                EXPECT_NEAR(colour.hslHue(), expectedHue, 6) << "segment " << i;
            } else {
                EXPECT_LT(colour.hslSaturation(), 20) << "segment " << i << " should be gray";
            }
        }
    }
}

TEST(ClockCalendarTabIcon, isALighterTopOverADarkerBottomWithAWhiteSymbol)
{
    const QColor orange = ClockCalendarViewController::tabColor(ClockCalendarTab::clock);
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage image =
            ClockCalendarViewController::tabIcon("clock", orange).pixmap(QSize(16, 16), ratio).toImage();
        ASSERT_EQ(image.size(), QSize(int(16 * ratio), int(16 * ratio)));
        const QColor top = image.pixelColor(int(8 * ratio), 0);
        const QColor bottom = image.pixelColor(int(8 * ratio), image.height() - 1);
        EXPECT_GT(top.lightness(), orange.lightness());
        EXPECT_LT(bottom.lightness(), orange.lightness());
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "the corners are rounded";
        int whitest = 0;
        for (int y = int(4 * ratio); y < int(12 * ratio); ++y) {
            for (int x = int(4 * ratio); x < int(12 * ratio); ++x) {
                const QColor c = image.pixelColor(x, y);
                whitest = std::max(whitest, std::min({c.red(), c.green(), c.blue()}));
            }
        }
        EXPECT_GT(whitest, 200) << "the symbol is drawn in white";
    }
}

TEST(ClockCalendarTabIcon, showsTheSymbolSetsOwnSymbolCentredAtItsNaturalSize)
{
    for (const qreal ratio : {1.0, 2.0}) {
        for (const char *symbol : {"clock", "calendar", "stopwatch"}) {
            SCOPED_TRACE(testing::Message() << symbol << " at " << ratio);
            const QImage icon = ClockCalendarViewController::tabIcon(symbol, QColor(0xFF, 0x45, 0x3A))
                                    .pixmap(QSize(16, 16), ratio)
                                    .toImage();
            // Point size 10 draws into a 12-point square, 2 points in from each side of the 16-point icon.
            const QImage glyph = TovikSymbols::pixmap(symbol, 10, QFont::Bold, Qt::white, ratio).toImage();
            ASSERT_EQ(glyph.size(), QSize(int(12 * ratio), int(12 * ratio)));
            const int offset = int(2 * ratio);
            int solid = 0;
            int mismatched = 0;
            for (int y = 0; y < glyph.height(); ++y) {
                for (int x = 0; x < glyph.width(); ++x) {
                    const int alpha = glyph.pixelColor(x, y).alpha();
                    const QColor shown = icon.pixelColor(x + offset, y + offset);
                    const int whiteness = std::min({shown.red(), shown.green(), shown.blue()});
                    if (alpha >= 160) {
                        ++solid;
                        mismatched += whiteness > 160 ? 0 : 1;
                    } else if (alpha == 0) {
                        mismatched += whiteness < 150 ? 0 : 1;
                    }
                }
            }
            EXPECT_GT(solid, 0);
            EXPECT_EQ(mismatched, 0);
        }
    }
}

TEST_F(ClockCalendarViewControllerTest, miniWindowButtonFollowsTheCallback)
{
    auto controller = make();
    EXPECT_TRUE(miniWindowButton(*controller)->isHidden());

    std::optional<ClockCalendarTab> opened;
    controller->setOnOpenMiniWindow([&opened](ClockCalendarTab tab) { opened = tab; });
    EXPECT_FALSE(miniWindowButton(*controller)->isHidden());
    EXPECT_EQ(miniWindowButton(*controller)->toolTip(), QStringLiteral("小窗显示"));

    click(*controller, 2);
    QTest::mouseClick(miniWindowButton(*controller), Qt::LeftButton);
    EXPECT_EQ(opened, ClockCalendarTab::stopwatch);

    controller->setOnOpenMiniWindow({});
    EXPECT_TRUE(miniWindowButton(*controller)->isHidden());
}

TEST_F(ClockCalendarViewControllerTest, callbackSetBeforeTheViewLoadsShowsTheButton)
{
    auto controller = std::make_unique<ClockCalendarViewController>(ClockCalendarConfiguration{
        TovikClock::shared(), StopwatchStore(m_suite, "test.stopwatch"), m_preferences, tabKey});
    controller->setOnOpenMiniWindow([](ClockCalendarTab) {});
    EXPECT_FALSE(controller->isViewLoaded());
    controller->view();
    EXPECT_FALSE(miniWindowButton(*controller)->isHidden());
}

TEST(ClockCalendarLayout, stripAndContainerFollowTheRootBounds)
{
    struct Case {
        QSizeF bounds;
        QRectF segment;
        QRectF button;
        QRectF container;
    };
    const QSizeF segment(208, 20);
    const Case cases[] = {
        {{720, 320}, {256, 296, 208, 20}, {688, 295, 22, 22}, {0, 0, 720, 292}},
        {{720, 480}, {256, 456, 208, 20}, {688, 455, 22, 22}, {0, 0, 720, 452}},
        {{521, 361}, {157, 337, 208, 20}, {489, 336, 22, 22}, {0, 0, 521, 333}},
        {{720, 20}, {256, -4, 208, 20}, {688, -5, 22, 22}, {0, 0, 720, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bounds.height());
        const auto frames = ClockCalendarViewController::layout(c.bounds, segment);
        EXPECT_EQ(frames.segment, c.segment);
        EXPECT_EQ(frames.miniWindowButton, c.button);
        EXPECT_EQ(frames.contentContainer, c.container);
    }
}

TEST_F(ClockCalendarViewControllerTest, rootViewPlacesTheStripAtTheTop)
{
    auto controller = make();
    QWidget *root = controller->view();
    root->show();
    root->resize(720, 320);
    EXPECT_EQ(controller->contentContainer()->geometry(), QRect(0, 28, 720, 292));
    EXPECT_EQ(controller->segment()->geometry().center().y(), 13);
    EXPECT_EQ(controller->segment()->width(), 3 * 68 + 4);
    EXPECT_EQ(controller->shownPage()->view()->size(), QSize(720, 292));
    EXPECT_EQ(root->palette().color(QPalette::Window), QColor(40, 40, 42));
}

} // namespace
