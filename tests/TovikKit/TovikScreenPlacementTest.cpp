// Screen lookup and fitting in the global y-up space, with the numbers written out.
#include <TovikKit/TovikScreenPlacement.h>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QRectF &rect, std::ostream *out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ")";
}

namespace {

using TovikScreenPlacement::Screen;

TEST(TovikScreenPlacement, convertsBetweenQtAndTheYUpSpace)
{
    const QRectF primary(0, 0, 1920, 1080);
    EXPECT_EQ(TovikScreenPlacement::toGlobalYUp({100, 50, 720, 480}, primary), QRectF(100, 550, 720, 480));
    // A second screen above the primary one has y-up coordinates above its height.
    EXPECT_EQ(TovikScreenPlacement::toGlobalYUp({0, -1080, 1920, 1080}, primary), QRectF(0, 1080, 1920, 1080));
    const QRectF offsetPrimary(1920, 200, 1280, 800);
    const QRectF window(2000, 300, 720, 480);
    const QRectF yUp = TovikScreenPlacement::toGlobalYUp(window, offsetPrimary);
    EXPECT_EQ(yUp, QRectF(80, 220, 720, 480));
    EXPECT_EQ(TovikScreenPlacement::toQtGlobal(yUp, offsetPrimary), window);
}

TEST(TovikScreenPlacement, aFrameBelongsToTheScreenHoldingItsCentreElseTheOneItOverlapsMost)
{
    // Two screens side by side and one above them; the frames avoid every centre.
    const Screen left{{0, 0, 1000, 1000}, {0, 0, 1000, 970}};
    const Screen right{{1000, 0, 1000, 1000}, {1000, 0, 1000, 1000}};
    const Screen top{{0, 1000, 2000, 500}, {0, 1000, 2000, 500}};
    const std::vector<Screen> screens = {left, right, top};
    struct Case {
        const char *name;
        QRectF frame;
        std::optional<Screen> expected;
    };
    const Case cases[] = {
        {"centre on the right screen", {1100, 100, 300, 200}, right},
        {"centre exactly on the shared edge goes to the first listed", {900, 100, 200, 200}, left},
        {"centre in no screen, overlaps 300 and 500 square points", {700, -20, 800, 21}, right},
        {"equal overlaps keep the first listed", {500, -30, 1000, 31}, left},
        {"touching no screen gives the first", {5000, 5000, 10, 10}, left},
        {"overlaps the top screen most", {-600, 900, 1000, 1000}, top},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto found = TovikScreenPlacement::owningScreen(c.frame, screens);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->frame, c.expected->frame);
    }
    EXPECT_FALSE(TovikScreenPlacement::owningScreen({0, 0, 10, 10}, {}));
}

TEST(TovikScreenPlacement, centresOnTheVisibleFrame)
{
    const QRectF visible(0, 25, 1440, 850);
    EXPECT_EQ(TovikScreenPlacement::centeredFrame({300, 200}, visible), QRectF(570, 350, 300, 200));
    EXPECT_EQ(TovikScreenPlacement::centeredFrame({1600, 200}, visible), QRectF(0, 350, 1600, 200));
    EXPECT_EQ(TovikScreenPlacement::centeredFrame({300, 900}, visible), QRectF(570, 25, 300, 900));
}

TEST(TovikScreenPlacement, fittingShrinksToTheAreaKeepsTheMinimumAndMovesInside)
{
    // A 1440 x 900 screen with a 27-point panel along its top: y-up area (0, 0, 1440, 873).
    const QRectF area(0, 0, 1440, 873);
    const QSizeF minimum(520, 360);
    struct Case {
        const char *name;
        QRectF frame;
        QRectF expected;
    };
    const Case cases[] = {
        {"inside stays as it is", {100, 200, 800, 500}, {100, 200, 800, 500}},
        {"from a bigger monitor", {0, 0, 2560, 1400}, {0, 0, 1440, 873}},
        {"absurd", {-5000, -5000, 100000, 100000}, {0, 0, 1440, 873}},
        {"below the minimum grows, then stays inside", {100, 100, 300, 200}, {100, 100, 520, 360}},
        {"below the minimum near the top", {100, 700, 300, 200}, {100, 513, 520, 360}},
        {"hanging off the right", {1200, 100, 720, 480}, {720, 100, 720, 480}},
        {"hanging off the left and bottom", {-300, -100, 720, 480}, {0, 0, 720, 480}},
        {"above the top", {100, 800, 720, 480}, {100, 393, 720, 480}},
        {"too tall only", {50, -400, 720, 2000}, {50, 0, 720, 873}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TovikScreenPlacement::fitted(c.frame, area, minimum), c.expected);
    }
}

TEST(TovikScreenPlacement, anAreaSmallerThanTheMinimumKeepsTheTopLeftCornerInside)
{
    const QRectF area(0, 0, 500, 300);
    EXPECT_EQ(TovikScreenPlacement::fitted({200, -50, 720, 480}, area, {520, 360}), QRectF(0, -60, 520, 360));
}

} // namespace

namespace {

TEST(TovikScreenPlacement, keepsTwentyFourPointsOfAFrameOnItsScreen)
{
    const QRectF screen(0, 0, 1440, 900);
    struct Case {
        const char *name;
        QRectF frame;
        QRectF expected;
    };
    const Case cases[] = {
        {"right edge at minX + 10 moves to minX + 24", {-290, 100, 300, 200}, {-276, 100, 300, 200}},
        {"left edge beyond maxX - 24 stops at maxX - 24", {1430, 100, 300, 200}, {1416, 100, 300, 200}},
        {"bottom edge above maxY - 24 stops at maxY - 24", {100, 890, 300, 200}, {100, 876, 300, 200}},
        {"top edge below minY + 24 comes up to minY + 24", {100, -190, 300, 200}, {100, -176, 300, 200}},
        {"exactly 24 points in stays", {-276, -176, 300, 200}, {-276, -176, 300, 200}},
        {"inside stays, even over the panels", {0, 860, 300, 40}, {0, 860, 300, 40}},
        {"both axes at once", {5000, -5000, 300, 200}, {1416, -176, 300, 200}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TovikScreenPlacement::keptVisible(c.frame, screen), c.expected);
    }
}

TEST(TovikScreenPlacement, thePointerBelongsToOneScreenPerPixelRow)
{
    // The primary 1000 x 800 and a second one to its right; y-up, so the top pixel row of the primary is
    // y = 800 and the bottom one y = 1.
    const Screen primary{{0, 0, 1000, 800}, {0, 0, 1000, 780}};
    const Screen right{{1000, 0, 800, 600}, {1000, 0, 800, 600}};
    const std::vector<Screen> screens = {primary, right};
    struct Case {
        const char *name;
        QPointF pointer;
        QRectF expected;
    };
    const Case cases[] = {
        {"inside the right one", {1200, 300}, right.frame},
        {"left edge counts in", {1000, 300}, right.frame},
        {"right edge counts out", {1800, 300}, primary.frame},
        {"top row counts in", {500, 800}, primary.frame},
        {"bottom edge counts out", {500, 0}, primary.frame},
        {"nowhere falls back to the primary", {-50, -50}, primary.frame},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TovikScreenPlacement::screenForPointer(c.pointer, screens)->frame, c.expected);
    }
    EXPECT_FALSE(TovikScreenPlacement::screenForPointer({0, 0}, {}));
    // Qt's top-left pixel of the primary is the y-up point at its top edge.
    EXPECT_EQ(TovikScreenPlacement::pointToGlobalYUp({0, 0}, {0, 0, 1000, 800}), QPointF(0, 800));
    EXPECT_EQ(TovikScreenPlacement::pointToGlobalYUp({1200, 799}, {0, 0, 1000, 800}), QPointF(1200, 1));
}

TEST(TovikScreenPlacement, displayNumbersAreTheFnv1aHashOfTheScreensIdentity)
{
    using TovikScreenPlacement::displayNumber;
    EXPECT_EQ(displayNumber(u"HDMI-1", u"Dell Inc.", u"DELL U2720Q", u"ABC123"), 0x02a3c97au);
    EXPECT_EQ(displayNumber(u"DP-2", u"Dell Inc.", u"DELL U2720Q", u"ABC123"), 0xd689bf1du);
    EXPECT_EQ(displayNumber(u"", u"", u"", u""), 0x4b95f515u);
    EXPECT_EQ(displayNumber(u"显示器", u"", u"", u""), 0xf9d4e524u);
    // The separators keep fields apart: moving text from one field to the next changes the number.
    EXPECT_NE(displayNumber(u"AB", u"C", u"", u""), displayNumber(u"A", u"BC", u"", u""));
}

} // namespace
