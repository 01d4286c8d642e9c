// The stored text of a window frame: exact round trips, and nothing but that form read back.
#include <TovikKit/TovikFrameText.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TovikFrameText, roundTripsEveryFrameExactly)
{
    const QRectF frames[] = {
        {0, 0, 720, 480},
        {100, 200, 720, 480},
        {-1920.5, 33.25, 521, 361},
        {0.1, 1e-3, 1234.5678, 99999},
        {1.0 / 3.0, -2.0 / 7.0, 800, 600},
    };
    for (const QRectF &frame : frames) {
        const std::string text = TovikFrameText::format(frame);
        SCOPED_TRACE(text);
        const auto parsed = TovikFrameText::parse(text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->x(), frame.x());
        EXPECT_EQ(parsed->y(), frame.y());
        EXPECT_EQ(parsed->width(), frame.width());
        EXPECT_EQ(parsed->height(), frame.height());
    }
    EXPECT_EQ(TovikFrameText::format({100, 200, 720, 480}), "{{100, 200}, {720, 480}}");
}

TEST(TovikFrameText, readsSpacingVariants)
{
    EXPECT_EQ(TovikFrameText::parse("{{1,2},{3,4}}"), QRectF(1, 2, 3, 4));
    EXPECT_EQ(TovikFrameText::parse("  { { 1 , 2 } , { 3 , 4 } }\n"), QRectF(1, 2, 3, 4));
    EXPECT_EQ(TovikFrameText::parse("{{-5.5, 2e2}, {3, 4}}"), QRectF(-5.5, 200, 3, 4));
}

TEST(TovikFrameText, rejectsAnythingElse)
{
    const char *texts[] = {
        "",
        "{}",
        "{{1, 2}, {3}}",
        "{{1, 2}, {3, 4}",
        "{{1, 2}, {3, 4}}}",
        "{{1, 2}, {3, 4}} x",
        "{{1, 2} {3, 4}}",
        "{{a, 2}, {3, 4}}",
        "{{+1, 2}, {3, 4}}",
        "{{inf, 2}, {3, 4}}",
        "{{nan, 2}, {3, 4}}",
        "{{1e400, 2}, {3, 4}}",
        "[[1, 2], [3, 4]]",
        "1 2 3 4",
    };
    for (const char *text : texts) {
        EXPECT_FALSE(TovikFrameText::parse(text)) << text;
    }
    EXPECT_FALSE(TovikFrameText::parse(std::string_view("{{1, 2}, {3, 4}}\0", 17)));
    EXPECT_FALSE(TovikFrameText::parse("{{1, 2}, {3, 4}}" + std::string(600, ' ')));
}

} // namespace
