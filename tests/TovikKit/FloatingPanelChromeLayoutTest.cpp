// The chrome buttons' places and when they show.
#include <TovikKit/FloatingPanelChromeLayout.h>

#include <gtest/gtest.h>

namespace {

using FloatingPanelChromeLayout::Frames;
using FloatingPanelChromeLayout::Visibility;

TEST(FloatingPanelChromeLayout, buttonsKeepTheirDistancesFromTheTopCornersAtEverySize)
{
    EXPECT_EQ(FloatingPanelChromeLayout::frames({340, 116}),
              (Frames{{8, 95, 14, 14}, {26, 95, 14, 14}, {294, 93, 17, 17}, {315, 93, 17, 17}}));
    // After a resize: still 8 from the left and 7 from the top, 8 from the right and 6 from the top.
    EXPECT_EQ(FloatingPanelChromeLayout::frames({72, 28}),
              (Frames{{8, 7, 14, 14}, {26, 7, 14, 14}, {26, 5, 17, 17}, {47, 5, 17, 17}}));
}

TEST(FloatingPanelChromeLayout, showsOnlyWhileHoveredAndTheBorderOnlyWhenTextOnly)
{
    struct Case {
        const char *name;
        bool hovered;
        bool overlay;
        bool textOnly;
        Visibility expected;
    };
    const Case cases[] = {
        {"at rest nothing shows", false, true, true, {false, false, false, false, false}},
        {"overlay controls", true, true, false, {true, true, true, true, false}},
        {"titled panel: no open button", true, false, false, {true, false, true, true, false}},
        {"text-only adds the border", true, false, true, {true, false, true, true, true}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FloatingPanelChromeLayout::visibility(c.hovered, c.overlay, c.textOnly), c.expected);
    }
}

} // namespace
