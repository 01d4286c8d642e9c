// Where the main window opens from what was stored, in the global y-up space.
#include <Dayvane/DayvaneWindowPlacement.h>
#include <TovikKit/TovikFrameText.h>

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

void PrintTo(const QRectF &rect, std::ostream *out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ")";
}

namespace {

using TovikScreenPlacement::Screen;

const QSizeF size(720, 480);
const QSizeF minimum(520, 360);

TEST(DayvaneWindowPlacement, aStoredFrameIsFittedOrReplacedByTheCentredWindow)
{
    // A panel along the bottom of the primary screen; a smaller screen to its right.
    const std::vector<Screen> screens = {{{0, 0, 1920, 1080}, {0, 30, 1920, 1050}},
                                         {{1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}}};
    const QRectF centred(600, 315, 720, 480);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char *name;
        std::optional<QRectF> stored;
        QRectF expected;
    };
    const Case cases[] = {
        {"absent", std::nullopt, centred},
        {"restored", QRectF(100, 200, 800, 500), QRectF(100, 200, 800, 500)},
        {"on the second screen", QRectF(2500, 300, 720, 480), QRectF(2480, 300, 720, 480)},
        {"partly off a screen", QRectF(-300, -100, 720, 480), QRectF(0, 30, 720, 480)},
        {"larger than the second screen", QRectF(2000, 0, 1600, 1400), QRectF(1920, 0, 1280, 1024)},
        {"below the minimum", QRectF(100, 900, 300, 200), QRectF(100, 720, 520, 360)},
        {"off every screen", QRectF(5000, 5000, 720, 480), centred},
        {"below every screen", QRectF(0, -2000, 720, 480), centred},
        {"empty", QRectF(0, 0, 0, 0), centred},
        {"negative size", QRectF(100, 100, -720, 480), centred},
        {"not a number", QRectF(nan, 100, 720, 480), centred},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DayvaneWindowPlacement::initialFrame(c.stored, size, minimum, screens), c.expected);
    }
}

TEST(DayvaneWindowPlacement, withoutAScreenKeepsTheCreatedFrame)
{
    EXPECT_EQ(DayvaneWindowPlacement::initialFrame(QRectF(10, 10, 720, 480), size, minimum, {}),
              QRectF(0, 0, 720, 480));
}

TEST(DayvaneWindowPlacement, unparsableTextFallsBackToCentring)
{
    const std::vector<Screen> screens = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}};
    EXPECT_EQ(DayvaneWindowPlacement::initialFrame(TovikFrameText::parse("{{garbage"), size, minimum, screens),
              QRectF(600, 300, 720, 480));
}

} // namespace
