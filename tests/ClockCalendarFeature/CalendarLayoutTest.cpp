// Geometry of the day cell, the month view, the workday label and the page, y-up, against fixed numbers.
#include <ClockCalendarFeature/CalendarLayout.h>

#include <gtest/gtest.h>

using namespace CalendarLayout;

namespace {

void expectRect(const QRectF &actual, double x, double y, double w, double h)
{
    EXPECT_DOUBLE_EQ(actual.x(), x);
    EXPECT_DOUBLE_EQ(actual.y(), y);
    EXPECT_DOUBLE_EQ(actual.width(), w);
    EXPECT_DOUBLE_EQ(actual.height(), h);
}

} // namespace

TEST(CalendarLayoutTest, DayCellCentresNumberAloneOrNumberAndCaptionAsOneBlock)
{
    struct Case {
        QSizeF cell;
        double numberHeight;
        std::optional<double> captionHeight;
        QRectF number;
        QRectF caption;
    };
    const Case cases[] = {
        // No caption: the number alone, centred, floor of its lower edge.
        {{46, 60}, 21.7, std::nullopt, {3, 19, 40, 22}, {}},
        // Caption under the number with a 1-point gap; the block (22 + 1 + 12) centred.
        {{46, 60}, 21.7, 11.6, {3, 25, 40, 22}, {3, 12, 40, 12}},
        // A caption lower than 9 points still gets 9.
        {{46, 60}, 22, 5, {3, 24, 40, 22}, {3, 14, 40, 9}},
        // Narrower than 7 points: both texts keep a width of 1.
        {{5, 40}, 10, 9, {3, 20, 1, 10}, {3, 10, 1, 9}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.cell.width() << "x" << c.cell.height() << " caption "
                                        << c.captionHeight.value_or(-1));
        const DayCellFrames frames = dayCellFrames(c.cell, c.numberHeight, c.captionHeight);
        expectRect(frames.number, c.number.x(), c.number.y(), c.number.width(), c.number.height());
        expectRect(frames.caption, c.caption.x(), c.caption.y(), c.caption.width(), c.caption.height());
    }
}

TEST(CalendarLayoutTest, MonthViewHeaderWeekdaysDividerAndGrid)
{
    // 320 x 400 with 6 rows: grid 300 wide, (400 - 75) / 6 high per row.
    const MonthViewFrames f = monthViewFrames(QSizeF(320, 400), 6, 19.2);
    expectRect(f.previousButton, 6, 366 + 17 - 16, 32, 32);
    expectRect(f.nextButton, 320 - 38, 367, 32, 32);
    expectRect(f.title, 0, 383 - 10, 320, 20);
    expectRect(f.weekdayTitles[0], 10, 340, 300.0 / 7, 26);
    expectRect(f.weekdayTitles[6], 10 + 6 * 300.0 / 7, 340, 300.0 / 7, 26);
    expectRect(f.weekdayDivider, 10, 337, 300, 1);
    const double ch = 325.0 / 6;
    expectRect(f.cells[0], 10, 333 - ch, 300.0 / 7, ch);
    expectRect(f.cells[13], 10 + 6 * 300.0 / 7, 333 - 2 * ch, 300.0 / 7, ch);
    // The last row ends 8 points above the bottom.
    EXPECT_NEAR(f.cells[41].y(), 8, 1e-9);
    EXPECT_DOUBLE_EQ(f.weekdayFontSize, 13.0);         // 54.17 x 0.24
    EXPECT_DOUBLE_EQ(f.dayFontSize, 300.0 / 7 * 0.36); // the narrower side, 42.86 wide
}

TEST(CalendarLayoutTest, MonthViewLastVisibleRowEndsEightPointsAboveBottom)
{
    for (const double height : {76.0, 200.0, 468.0, 1000.0}) {
        for (const int rows : {4, 5, 6}) {
            SCOPED_TRACE(testing::Message() << "height " << height << " rows " << rows);
            const MonthViewFrames f = monthViewFrames(QSizeF(300, height), rows, 20);
            EXPECT_NEAR(f.cells[(rows - 1) * 7].y(), 8, 1e-9);
            EXPECT_NEAR(f.cells[0].y() + f.cells[0].height(), height - 67, 1e-9);
            // Hidden rows keep frames below the grid.
            if (rows < 6) {
                EXPECT_LT(f.cells[rows * 7].y(), 8);
            }
        }
    }
}

TEST(CalendarLayoutTest, TinyMonthViewGetsAOnePointGridAndClampedFonts)
{
    const MonthViewFrames f = monthViewFrames(QSizeF(20, 50), 6, 20);
    EXPECT_DOUBLE_EQ(f.weekdayDivider.width(), 1);
    EXPECT_DOUBLE_EQ(f.cells[0].width(), 1.0 / 7);
    EXPECT_DOUBLE_EQ(f.cells[0].height(), 1.0 / 6);
    EXPECT_DOUBLE_EQ(f.dayFontSize, 15);
    EXPECT_DOUBLE_EQ(f.weekdayFontSize, 12);

    const MonthViewFrames large = monthViewFrames(QSizeF(2000, 2000), 4, 20);
    EXPECT_DOUBLE_EQ(large.dayFontSize, 28);
    EXPECT_DOUBLE_EQ(large.weekdayFontSize, 16);
}

TEST(CalendarLayoutTest, WorkdayLabelSitsAboveItsCellAndNeverAboveTheTop)
{
    struct Case {
        QRectF cell;
        QSizeF label;
        double viewHeight;
        double ceiling;
        QRectF expected;
    };
    const Case cases[] = {
        // Right edge 3 points inside the cell's, 1 point above it; width rounded up plus 2.
        {{10, 100, 40, 50}, {50.3, 14.2}, 400, 400, {10 + 40 - 53 - 3, 151, 53, 15}},
        // A cell near the top, nothing above it but the edge: the label's top stops at the view's top edge.
        {{10, 300, 40, 95}, {50, 15}, 400, 1000, {-5, 385, 52, 15}},
        // A month whose weekday titles start at 340 over a divider at 337, the first row reaching 333. Over a
        // second-row cell the label still ends below the divider, at 280 + 15.
        {{210, 225, 40, 54}, {50, 15}, 400, 337, {195, 280, 52, 15}},
        // Over a first-row cell it would reach 349, over the titles: just inside the cell's top instead.
        {{250, 279, 40, 54}, {50, 15}, 400, 337, {235, 317, 52, 15}},
        // Touching the ceiling exactly still fits above.
        {{250, 300, 40, 21}, {50, 15}, 400, 337, {235, 322, 52, 15}},
    };
    for (const Case &c : cases) {
        const QRectF frame = workdayLabelFrame(c.cell, c.label, c.viewHeight, c.ceiling);
        expectRect(frame, c.expected.x(), c.expected.y(), c.expected.width(), c.expected.height());
    }
    EXPECT_DOUBLE_EQ(workdayLabelFontSize(15), 10);
    EXPECT_DOUBLE_EQ(workdayLabelFontSize(22), 22 * 0.52);
    EXPECT_DOUBLE_EQ(workdayLabelFontSize(28), 13);
}

TEST(CalendarLayoutTest, PageSwitchesToTwoMonthsAtAContentWidthOf640)
{
    const PageFrames narrow = pageFrames(QSizeF(647, 400), 0);
    EXPECT_FALSE(narrow.showsTwoMonths);
    expectRect(narrow.contentArea, 4, 6, 639, 388);
    expectRect(narrow.currentMonth, 4, 6, 639, 388);
    EXPECT_TRUE(narrow.divider.isEmpty());

    const PageFrames wide = pageFrames(QSizeF(648, 400), 0);
    EXPECT_TRUE(wide.showsTwoMonths);
    expectRect(wide.currentMonth, 4, 6, 300, 388);
    expectRect(wide.nextMonth, 344, 6, 300, 388);
    // The divider sits in the middle of the 40-point gap: midX 324.
    EXPECT_DOUBLE_EQ(wide.divider.x(), 324);
    EXPECT_DOUBLE_EQ(wide.divider.width(), 1);
}

TEST(CalendarLayoutTest, PageContentAreaKeepsTheTopInsetFree)
{
    // Height 500 with an inset of 16: 500 - 22 - 6 = 472 points of content.
    const PageFrames frames = pageFrames(QSizeF(720, 500), 16);
    expectRect(frames.contentArea, 4, 6, 712, 472);
    EXPECT_DOUBLE_EQ(frames.divider.height(), 0.88 * 472);
    EXPECT_DOUBLE_EQ(frames.divider.y(), 6 + 0.06 * 472);
    EXPECT_DOUBLE_EQ(frames.divider.x(), 360);

    // Nothing collapses below one point.
    const PageFrames tiny = pageFrames(QSizeF(3, 10), 16);
    expectRect(tiny.contentArea, 4, 6, 1, 1);
}

TEST(CalendarLayoutTest, DividerOnAHalfPointRoundsAwayFromZero)
{
    // Content width 641: midX = 4 + 320.5 = 324.5, rounded to 325.
    EXPECT_DOUBLE_EQ(pageFrames(QSizeF(649, 400), 0).divider.x(), 325);
}

TEST(CalendarLayoutTest, WholePixelFramesTileWithoutGaps)
{
    const QRect a = wholePixels(QRectF(10, 5, 42.86, 54.2));
    const QRect b = wholePixels(QRectF(52.86, 5, 42.86, 54.2));
    EXPECT_EQ(a.x() + a.width(), b.x());
    EXPECT_EQ(a, QRect(10, 5, 43, 54));
}
