// The window-background setting: how it resolves, and how it reads back from whatever the store holds.
#include "TemporaryFolder.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/WindowBackground.h>

#include <gtest/gtest.h>

#include <limits>

namespace {

using Mode = TovikWindowBackgroundSettings::Mode;
using Appearance = TovikWindowBackgroundAppearance;

TEST(TovikWindowBackgroundSettings, resolvesTextOnlyOverReduceTransparencyOverTheSetting)
{
    struct Case {
        const char *name;
        Mode mode;
        double opacity;
        bool reduce;
        bool textOnly;
        Appearance expected;
    };
    const Case cases[] = {
        {"default glass", Mode::glass, 0, false, false, {0, false}},
        {"glass with a partial backing", Mode::glass, 0.4, false, false, {0.4, false}},
        {"just below opaque", Mode::glass, 0.9985, false, false, {0.9985, false}},
        {"counts as opaque", Mode::glass, 0.999, false, false, {0.999, true}},
        {"opaque ignores the opacity", Mode::opaque, 0.2, false, false, {1, true}},
        {"reduce transparency", Mode::glass, 0, true, false, {1, true}},
        {"text-only", Mode::opaque, 1, false, true, {0, false}},
        {"text-only wins over reduce transparency", Mode::glass, 0.5, true, true, {0, false}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TovikWindowBackgroundSettings(c.mode, c.opacity).resolve(c.reduce, c.textOnly), c.expected);
    }
}

TEST(TovikGlassSurface, theSurfaceShowsTheDesktopLessAsTheStrengthGrowsAndNotAtAllWithoutACompositor)
{
    struct Case {
        const char *name;
        Mode mode;
        double strength;
        bool compositing;
        bool textOnly;
        double surface;
    };
    const Case cases[] = {
        {"0 %: the glass alone, light text still readable", Mode::glass, 0, true, false, 0.6},
        {"25 %", Mode::glass, 0.25, true, false, 0.7},
        {"50 %", Mode::glass, 0.5, true, false, 0.8},
        {"75 %", Mode::glass, 0.75, true, false, 0.9},
        {"100 %", Mode::glass, 1, true, false, 1},
        {"opaque", Mode::opaque, 0, true, false, 1},
        {"text-only", Mode::glass, 0.5, true, true, 0},
        {"no compositor", Mode::glass, 0, false, false, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const double backing =
            TovikWindowBackgroundSettings(c.mode, c.strength).resolve(false, c.textOnly).backingAlpha;
        const double glass = TovikGlassSurface::glassOpacity(c.compositing, c.textOnly);
        EXPECT_NEAR(TovikGlassSurface::surfaceOpacity(glass, backing), c.surface, 1e-9);
    }
}

TEST(TovikWindowBackgroundSettings, clampsTheOpacity)
{
    EXPECT_EQ(TovikWindowBackgroundSettings::clamp(1.7), 1);
    EXPECT_EQ(TovikWindowBackgroundSettings::clamp(-0.3), 0);
    EXPECT_EQ(TovikWindowBackgroundSettings::clamp(0.25), 0.25);
    EXPECT_EQ(TovikWindowBackgroundSettings::clamp(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TovikWindowBackgroundSettings::clamp(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(TovikWindowBackgroundSettings(Mode::glass, 3).backingOpacity(), 1);
}

TEST(TovikWindowBackgroundStore, readsWhateverIsStoredAsGlassAndZeroUnlessItIsValid)
{
    TemporaryFolder folder;
    const auto store = TovikSettingsStore::open(folder / "settings.sqlite3");
    EXPECT_EQ(TovikWindowBackgroundStore::load(store), TovikWindowBackgroundSettings(Mode::glass, 0));

    struct Case {
        const char *name;
        TovikSettingsStore::Value mode;
        TovikSettingsStore::Value opacity;
        TovikWindowBackgroundSettings expected;
    };
    const Case cases[] = {
        {"opaque", std::string("opaque"), 0.3, {Mode::opaque, 0.3}},
        {"another letter case is glass", std::string("Opaque"), 0.3, {Mode::glass, 0.3}},
        {"unknown mode is glass", std::string("frosted"), 0.3, {Mode::glass, 0.3}},
        {"a number for the mode is glass", std::int64_t{1}, 0.3, {Mode::glass, 0.3}},
        {"opacity above 1", std::string("glass"), 1.7, {Mode::glass, 1}},
        {"opacity below 0", std::string("glass"), -0.3, {Mode::glass, 0}},
        {"opacity as a text", std::string("glass"), std::string("0.5"), {Mode::glass, 0}},
        {"opacity as an integer", std::string("glass"), std::int64_t{1}, {Mode::glass, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::visit([&](const auto &value) { store->set(TovikWindowBackgroundStore::modeKey, value); }, c.mode);
        std::visit([&](const auto &value) { store->set(TovikWindowBackgroundStore::opacityKey, value); }, c.opacity);
        EXPECT_EQ(TovikWindowBackgroundStore::load(store), c.expected);
    }

    TovikWindowBackgroundStore::save({Mode::opaque, 0.75}, store);
    EXPECT_EQ(store->text("tovik.windowBackground.mode"), "opaque");
    EXPECT_EQ(store->number("tovik.windowBackground.opacity"), 0.75);
}

} // namespace
