// Resizing from the bottom-right corner, y-up: minimum, screen edges and the half-point rule.
#include <TovikKit/BottomRightWindowResize.h>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QRectF &rect, std::ostream *out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ")";
}

namespace {

TEST(BottomRightWindowResize, keepsTheTopLeftCornerTheMinimumAndTheScreen)
{
    // A 300 x 200 panel whose top edge is at y = 700 on a 1440 x 900 screen; minimum 180 x 64.
    const QRectF original(100, 500, 300, 200);
    const QSizeF minimum(180, 64);
    const QRectF screen(0, 0, 1440, 900);
    struct Case {
        const char *name;
        QSizeF target;
        std::optional<QRectF> screen;
        QRectF expected;
    };
    const Case cases[] = {
        {"wider and taller", {400, 260}, screen, {100, 440, 400, 260}},
        {"left beyond the minimum keeps the minimum and the left edge", {50, 200}, screen, {100, 500, 180, 200}},
        {"up shrinks with the top edge fixed", {300, 100}, screen, {100, 600, 300, 100}},
        {"up beyond the minimum", {300, 10}, screen, {100, 636, 300, 64}},
        {"right beyond the screen stops at its right edge", {2000, 200}, screen, {100, 500, 1340, 200}},
        {"down beyond the screen stops at its bottom edge", {300, 1000}, screen, {100, 0, 300, 700}},
        {"without a screen only the minimum applies", {2000, 50}, std::nullopt, {100, 636, 2000, 64}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BottomRightWindowResize::resizedFrame(original, c.target, minimum, c.screen), c.expected);
    }
}

TEST(BottomRightWindowResize, lessThanHalfAPointLeavesTheTopLeftCornerExactlyInPlace)
{
    const QRectF original(100.25, 500.5, 300, 200);
    const QRectF screen(0, 0, 1440, 900);
    for (const QSizeF target : {QSizeF(300.4, 200.3), QSizeF(299.8, 199.6), QSizeF(300.5, 200.5)}) {
        SCOPED_TRACE(::testing::Message() << target.width() << " x " << target.height());
        const QRectF resized = BottomRightWindowResize::resizedFrame(original, target, {72, 28}, screen);
        EXPECT_EQ(resized.x(), 100.25);
        EXPECT_DOUBLE_EQ(resized.y() + resized.height(), 700.5);
        EXPECT_EQ(resized.size(), target);
    }
}

TEST(BottomRightWindowResize, aDragDownAndRightAsksForAWiderTallerWindow)
{
    EXPECT_EQ(BottomRightWindowResize::targetSize({0, 0, 300, 200}, {500, 400}, {530, 360}), QSizeF(330, 240));
    EXPECT_EQ(BottomRightWindowResize::targetSize({0, 0, 300, 200}, {500, 400}, {480, 410}), QSizeF(280, 190));
}

} // namespace
