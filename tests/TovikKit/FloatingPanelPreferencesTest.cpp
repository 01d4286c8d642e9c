// A panel's frame, pin and text-only state in the settings store, placed back on the screens there are now.
#include "TemporaryFolder.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/FloatingPanelPreferences.h>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QRectF &rect, std::ostream *out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ")";
}

namespace {

using TovikScreenPlacement::Screen;

class FloatingPanelPreferencesTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::shared_ptr<TovikSettingsStore> store = TovikSettingsStore::open(folder / "settings.sqlite3");
    FloatingPanelPreferences preferences{"dayvane.clock.window", store};

    void storeFrame(double x, double y, double w, double h)
    {
        store->set("dayvane.clock.window.frameX", x);
        store->set("dayvane.clock.window.frameY", y);
        store->set("dayvane.clock.window.width", w);
        store->set("dayvane.clock.window.height", h);
    }
};

const Screen primary{{0, 0, 1440, 900}, {0, 0, 1440, 875}, 11};

TEST_F(FloatingPanelPreferencesTest, acceptsOnlySizesWithinTheLimits)
{
    EXPECT_FALSE(preferences.loadFrame({primary})) << "never saved";
    struct Case {
        double width;
        double height;
        bool accepted;
    };
    const Case cases[] = {
        {71, 100, false},     {72, 28, true},       {72, 27.5, false}, {2400, 2400, true},
        {2400.5, 100, false}, {100, 2400.5, false}, {0, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        storeFrame(100, 100, c.width, c.height);
        EXPECT_EQ(preferences.loadFrame({primary}).has_value(), c.accepted);
    }
    store->set("dayvane.clock.window.width", "300");
    EXPECT_FALSE(preferences.loadFrame({primary})) << "a text is no width";
}

TEST_F(FloatingPanelPreferencesTest, reopensAtTheSamePlaceOnItsDisplayAfterTheDisplaysWereRearranged)
{
    const Screen secondOnTheRight{{1440, 0, 1920, 1080}, {1440, 0, 1920, 1080}, 22};
    preferences.save({1540, 50, 340, 116}, {primary, secondOnTheRight});
    EXPECT_EQ(store->integer("dayvane.clock.window.screenID"), 22);
    EXPECT_EQ(store->number("dayvane.clock.window.screenRelativeX"), 100);
    EXPECT_EQ(store->number("dayvane.clock.window.screenRelativeY"), 50);

    const Screen secondOnTheLeft{{-1920, 0, 1920, 1080}, {-1920, 0, 1920, 1080}, 22};
    EXPECT_EQ(preferences.loadFrame({primary, secondOnTheLeft}), QRectF(-1820, 50, 340, 116));

    // The display is gone: the absolute frame is placed wholly on the screen owning it.
    EXPECT_EQ(preferences.loadFrame({primary}), QRectF(1100, 50, 340, 116));
    // No screens at all: the frame as stored.
    EXPECT_EQ(preferences.loadFrame({}), QRectF(1540, 50, 340, 116));
}

TEST_F(FloatingPanelPreferencesTest, comesBackWholeOnTheVisibleFrameOfItsScreen)
{
    struct Case {
        const char *name;
        QRectF saved;
        Screen savedOn;
        Screen now;
        QRectF expected;
    };
    const Screen wide{{0, 0, 3840, 2160}, {0, 0, 3840, 2135}, 11};
    const Case cases[] = {
        {"saved near the right of a wider screen", {3350, 50, 340, 116}, wide, primary, {1100, 50, 340, 116}},
        {"saved far off to the left", {-50000, 50, 340, 116}, primary, primary, {0, 50, 340, 116}},
        {"above the dock's edge", {100, 850, 340, 116}, primary, primary, {100, 759, 340, 116}},
        {"larger than the screen", {0, 0, 2400, 2400}, wide, primary, {0, 0, 1440, 875}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        preferences.save(c.saved, {c.savedOn});
        EXPECT_EQ(preferences.loadFrame({c.now}), c.expected);
    }
}

TEST_F(FloatingPanelPreferencesTest, screenKeysOfTheWrongKindFallBackToTheAbsoluteFrame)
{
    preferences.save({100, 50, 340, 116}, {primary});
    const Screen moved{{500, 500, 1440, 900}, {500, 500, 1440, 875}, 11};
    EXPECT_EQ(preferences.loadFrame({moved}), QRectF(600, 550, 340, 116));
    store->set("dayvane.clock.window.screenRelativeY", "50");
    EXPECT_EQ(preferences.loadFrame({moved}), QRectF(500, 500, 340, 116)) << "placed on the one screen";
    store->set("dayvane.clock.window.screenRelativeY", 50.0);
    store->set("dayvane.clock.window.screenID", -1);
    EXPECT_EQ(preferences.loadFrame({moved}), QRectF(500, 500, 340, 116));
}

TEST_F(FloatingPanelPreferencesTest, aSaveWithoutAnOwningNumberedScreenKeepsTheEarlierScreenKeys)
{
    preferences.save({100, 50, 340, 116}, {primary});
    const Screen unnumbered{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
    preferences.save({200, 60, 340, 116}, {unnumbered});
    EXPECT_EQ(store->number("dayvane.clock.window.frameX"), 200);
    EXPECT_EQ(store->number("dayvane.clock.window.screenRelativeX"), 100);
    preferences.save({300, 70, 340, 116}, {});
    EXPECT_EQ(store->number("dayvane.clock.window.frameX"), 300);
    EXPECT_EQ(store->number("dayvane.clock.window.screenRelativeY"), 50);
}

TEST_F(FloatingPanelPreferencesTest, pinTextOnlyAndVisibilityHaveTheirDefaultsAndKeys)
{
    EXPECT_TRUE(preferences.loadPinned());
    EXPECT_FALSE(preferences.loadTextOnly());
    EXPECT_FALSE(preferences.loadRestoresVisibility());
    preferences.savePinned(false);
    preferences.saveTextOnly(true);
    preferences.saveRestoresVisibility(true);
    EXPECT_FALSE(preferences.loadPinned());
    EXPECT_TRUE(preferences.loadTextOnly());
    EXPECT_TRUE(preferences.loadRestoresVisibility());
    EXPECT_EQ(store->boolean("dayvane.clock.window.pinned"), false);
    EXPECT_EQ(store->boolean("dayvane.clock.window.textOnly"), true);
    EXPECT_EQ(store->boolean("dayvane.clock.window.restoreVisible"), true);

    const FloatingPanelPreferences withoutStore("dayvane.clock.window", nullptr);
    EXPECT_TRUE(withoutStore.loadPinned());
    EXPECT_FALSE(withoutStore.loadFrame({primary}));
    withoutStore.save({0, 0, 100, 100}, {primary});
}

} // namespace
