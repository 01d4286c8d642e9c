#include <Dayvane/DayvaneFrameText.h>
#include <Dayvane/DayvaneWindowPlacement.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DayvaneFrameText, roundTripsEveryFrameExactly)
{
    const QRectF frames[] = {
        {0, 0, 720, 480},
        {100, 200, 720, 480},
        {-1920.5, 33.25, 521, 361},
        {0.1, 1e-3, 1234.5678, 99999},
        {1.0 / 3.0, -2.0 / 7.0, 800, 600},
    };
    for (const QRectF &frame : frames) {
        const std::string text = DayvaneFrameText::format(frame);
        SCOPED_TRACE(text);
        const auto parsed = DayvaneFrameText::parse(text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->x(), frame.x());
        EXPECT_EQ(parsed->y(), frame.y());
        EXPECT_EQ(parsed->width(), frame.width());
        EXPECT_EQ(parsed->height(), frame.height());
    }
    EXPECT_EQ(DayvaneFrameText::format({100, 200, 720, 480}), "{{100, 200}, {720, 480}}");
}

TEST(DayvaneFrameText, readsSpacingVariants)
{
    EXPECT_EQ(DayvaneFrameText::parse("{{1,2},{3,4}}"), QRectF(1, 2, 3, 4));
    EXPECT_EQ(DayvaneFrameText::parse("  { { 1 , 2 } , { 3 , 4 } }\n"), QRectF(1, 2, 3, 4));
    EXPECT_EQ(DayvaneFrameText::parse("{{-5.5, 2e2}, {3, 4}}"), QRectF(-5.5, 200, 3, 4));
}

TEST(DayvaneFrameText, rejectsAnythingElse)
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
        EXPECT_FALSE(DayvaneFrameText::parse(text)) << text;
    }
    EXPECT_FALSE(DayvaneFrameText::parse(std::string_view("{{1, 2}, {3, 4}}\0", 17)));
    EXPECT_FALSE(DayvaneFrameText::parse("{{1, 2}, {3, 4}}" + std::string(600, ' ')));
}

TEST(DayvaneWindowPlacement, convertsBetweenQtAndTheYUpSpace)
{
    const QRectF primary(0, 0, 1920, 1080);
    EXPECT_EQ(DayvaneWindowPlacement::toGlobalYUp({100, 50, 720, 480}, primary), QRectF(100, 550, 720, 480));
    // A second screen above the primary one has y-up coordinates above its height.
    EXPECT_EQ(DayvaneWindowPlacement::toGlobalYUp({0, -1080, 1920, 1080}, primary), QRectF(0, 1080, 1920, 1080));
    const QRectF offsetPrimary(1920, 200, 1280, 800);
    const QRectF window(2000, 300, 720, 480);
    const QRectF yUp = DayvaneWindowPlacement::toGlobalYUp(window, offsetPrimary);
    EXPECT_EQ(yUp, QRectF(80, 220, 720, 480));
    EXPECT_EQ(DayvaneWindowPlacement::toQtGlobal(yUp, offsetPrimary), window);
}

TEST(DayvaneWindowPlacement, appliesAStoredFrameOnlyWhenItIsSound)
{
    const std::vector<QRectF> screens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const QRectF available(0, 0, 1920, 1050); // a panel along the bottom
    const QRectF created(0, 0, 720, 480);
    const QRectF centred(600, 285, 720, 480);
    struct Case {
        const char *name;
        std::optional<QRectF> stored;
        QRectF expected;
    };
    const Case cases[] = {
        {"absent", std::nullopt, centred},
        {"restored", QRectF(100, 200, 800, 500), QRectF(100, 200, 800, 500)},
        {"on the second screen", QRectF(2500, 300, 720, 480), QRectF(2500, 300, 720, 480)},
        {"partly off a screen", QRectF(-300, -100, 720, 480), QRectF(-300, -100, 720, 480)},
        {"off every screen", QRectF(5000, 5000, 720, 480), centred},
        {"below every screen", QRectF(0, -2000, 720, 480), centred},
        {"empty", QRectF(0, 0, 0, 0), centred},
        {"negative size", QRectF(100, 100, -720, 480), centred},
        {"absurd size", QRectF(0, 0, 1e9, 480), centred},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DayvaneWindowPlacement::initialFrame(c.stored, created, screens, available), c.expected);
    }
}

TEST(DayvaneWindowPlacement, withoutAScreenKeepsTheCreatedFrame)
{
    const QRectF created(0, 0, 720, 480);
    EXPECT_EQ(DayvaneWindowPlacement::initialFrame(QRectF(10, 10, 720, 480), created, {}, std::nullopt), created);
}

TEST(DayvaneWindowPlacement, unparsableTextFallsBackToCentring)
{
    const std::vector<QRectF> screens = {{0, 0, 1920, 1080}};
    const auto stored = DayvaneFrameText::parse("{{garbage");
    EXPECT_EQ(DayvaneWindowPlacement::initialFrame(stored, {0, 0, 720, 480}, screens, screens.front()),
              QRectF(600, 300, 720, 480));
}

} // namespace
