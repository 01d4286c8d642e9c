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
