// The window-manager requests and shapes of a panel, built without an X server.
#include <TovikKit/TovikEwmh.h>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Data = std::array<std::uint32_t, 5>;

Data dataOf(const xcb_client_message_event_t &event)
{
    return {event.data.data32[0], event.data.data32[1], event.data.data32[2], event.data.data32[3],
            event.data.data32[4]};
}

// Made-up atom numbers, as a server would hand them out.
const TovikEwmh::Atoms atoms{301, 302, 303, 304, 305, 306, 307, 308};

TEST(TovikEwmh, pinningAsksForAboveStickyAllDesktopsAndNoTaskBarEntry)
{
    const auto messages = TovikEwmh::pinMessages(0x4200007, true, 2, atoms);
    ASSERT_EQ(messages.size(), 3u);
    for (const auto &message : messages) {
        EXPECT_EQ(message.response_type, XCB_CLIENT_MESSAGE);
        EXPECT_EQ(message.format, 32);
        EXPECT_EQ(message.window, 0x4200007u);
    }
    // _NET_WM_STATE: action add (1), two atoms, source "application" (1).
    EXPECT_EQ(messages[0].type, 301u);
    EXPECT_EQ(dataOf(messages[0]), (Data{1, 302, 303, 1, 0}));
    // _NET_WM_DESKTOP 0xFFFFFFFF: every desktop.
    EXPECT_EQ(messages[1].type, 306u);
    EXPECT_EQ(dataOf(messages[1]), (Data{0xFFFFFFFF, 1, 0, 0, 0}));
    EXPECT_EQ(dataOf(messages[2]), (Data{1, 304, 305, 1, 0}));
}

TEST(TovikEwmh, releasingRemovesAboveAndStickyAndMovesToTheCurrentDesktop)
{
    const auto messages = TovikEwmh::pinMessages(0x4200007, false, 2, atoms);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(dataOf(messages[0]), (Data{0, 302, 303, 1, 0}));
    EXPECT_EQ(dataOf(messages[1]), (Data{2, 1, 0, 0, 0}));
    EXPECT_EQ(dataOf(messages[2]), (Data{1, 304, 305, 1, 0})) << "still out of the task bar";
}

TEST(TovikEwmh, presentingOnTheCurrentDesktopEndsStickinessAndNamesThatDesktop)
{
    const auto messages = TovikEwmh::currentDesktopMessages(0x4200007, 3, atoms);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].type, 301u);
    EXPECT_EQ(dataOf(messages[0]), (Data{0, 303, 0, 1, 0}));
    EXPECT_EQ(messages[1].type, 306u);
    EXPECT_EQ(dataOf(messages[1]), (Data{3, 1, 0, 0, 0}));
}

TEST(TovikEwmh, aDesktopWidgetIsBelowOnEveryDesktopAndOutOfTheTaskBarBeforeAndAfterMapping)
{
    const auto messages = TovikEwmh::desktopLayerMessages(0x4200009, atoms);
    ASSERT_EQ(messages.size(), 3u);
    for (const auto &message : messages) {
        EXPECT_EQ(message.window, 0x4200009u);
    }
    // Below (308) and sticky (303), never above.
    EXPECT_EQ(dataOf(messages[0]), (Data{1, 308, 303, 1, 0}));
    EXPECT_EQ(messages[1].type, 306u);
    EXPECT_EQ(dataOf(messages[1]), (Data{0xFFFFFFFF, 1, 0, 0, 0}));
    EXPECT_EQ(dataOf(messages[2]), (Data{1, 304, 305, 1, 0}));
    EXPECT_EQ(TovikEwmh::desktopLayerState(atoms), (std::vector<xcb_atom_t>{308, 303, 304, 305}));
    EXPECT_STREQ(TovikEwmh::atomNames()[7], "_NET_WM_STATE_BELOW");
}

TEST(TovikEwmh, theStateBeforeMappingNamesTheSameAtoms)
{
    EXPECT_EQ(TovikEwmh::initialState(true, atoms), (std::vector<xcb_atom_t>{304, 305, 302, 303}));
    EXPECT_EQ(TovikEwmh::initialState(false, atoms), (std::vector<xcb_atom_t>{304, 305}));
    EXPECT_STREQ(TovikEwmh::atomNames()[1], "_NET_WM_STATE_ABOVE");
    EXPECT_EQ(TovikEwmh::compositorSelection(0), "_NET_WM_CM_S0");
    EXPECT_EQ(TovikEwmh::compositorSelection(1), "_NET_WM_CM_S1");
}

TEST(TovikEwmh, theRoundedShapeIsCutRowByRowAtTheCorners)
{
    using Row = std::tuple<int, int, int, int>;
    const auto rowsOf = [](int width, int height, double radius) {
        std::vector<Row> rows;
        for (const xcb_rectangle_t &r : TovikEwmh::roundedShape(width, height, radius)) {
            rows.emplace_back(r.x, r.y, r.width, r.height);
        }
        return rows;
    };
    EXPECT_EQ(rowsOf(20, 10, 4),
              (std::vector<Row>{{2, 0, 16, 1}, {1, 1, 18, 1}, {0, 2, 20, 6}, {1, 8, 18, 1}, {2, 9, 16, 1}}));
    EXPECT_EQ(rowsOf(20, 10, 0), (std::vector<Row>{{0, 0, 20, 10}}));
    // A radius beyond half the height is cut down to it: no row is empty or negative.
    for (const Row &row : rowsOf(40, 4, 30)) {
        EXPECT_GT(std::get<2>(row), 0);
    }
    EXPECT_TRUE(rowsOf(0, 10, 4).empty());
    // The blur behind the window covers the same rows, as x, y, width, height.
    EXPECT_EQ(TovikEwmh::blurBehindRegion(20, 10, 4),
              (std::vector<std::uint32_t>{2, 0, 16, 1, 1, 1, 18, 1, 0, 2, 20, 6, 1, 8, 18, 1, 2, 9, 16, 1}));
    EXPECT_TRUE(TovikEwmh::blurBehindRegion(0, 10, 4).empty());
}

} // namespace
