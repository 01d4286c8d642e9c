// Corner masks of selections in the 6 x 7 grid and the place of the workday count.
#include <ClockCalendarFeature/CalendarSelection.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>

using CalendarSelection::Positions;

namespace {

Positions run(int first, int last)
{
    Positions positions;
    for (int p = first; p <= last; ++p) {
        positions.set(p);
    }
    return positions;
}

Positions of(std::initializer_list<int> list)
{
    Positions positions;
    for (const int p : list) {
        positions.set(p);
    }
    return positions;
}

} // namespace

TEST(CalendarSelectionTest, RunsAcrossRowsRoundOnlyTheOutline)
{
    struct Case {
        Positions selected;
        std::map<int, unsigned> masks; // every selected position
    };
    const Case cases[] = {
        // Last three columns of one row, first three of the next.
        {run(11, 16), {{11, 5}, {12, 0}, {13, 10}, {14, 5}, {15, 0}, {16, 10}}},
        {run(5, 13), {{5, 4}, {6, 8}, {7, 5}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 0}, {13, 2}}},
        {run(20, 20), {{20, 15}}},
        // Column 6 and column 0 of the next row are not neighbours.
        {of({6, 7}), {{6, 15}, {7, 15}}},
        // A full week: only its two ends are rounded.
        {run(7, 13), {{7, 5}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 0}, {13, 10}}},
        // Two full weeks: the block's four outer corners.
        {run(7, 20), {{7, 4}, {13, 8}, {14, 1}, {20, 2}, {10, 0}, {17, 0}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.selected.to_string());
        const auto masks = CalendarSelection::cornerMasks(c.selected);
        for (const auto &[position, mask] : c.masks) {
            EXPECT_EQ(masks[position], mask) << "position " << position;
        }
        for (int p = 0; p < CalendarSelection::positionCount; ++p) {
            if (!c.selected.test(p)) {
                EXPECT_EQ(masks[p], 0u) << "unselected position " << p;
            }
        }
    }
}

TEST(CalendarSelectionTest, EveryNeighbourCombinationGivesItsMask)
{
    // Around position 16 (row 2, column 2): left 15, right 17, above 9, below 23.
    struct Case {
        bool left, right, above, below;
        unsigned mask;
    };
    const Case cases[] = {
        {false, false, false, false, 15}, {false, false, false, true, 12}, {false, false, true, false, 3},
        {false, false, true, true, 0},    {false, true, false, false, 5},  {false, true, false, true, 4},
        {false, true, true, false, 1},    {true, false, false, false, 10}, {true, false, false, true, 8},
        {true, false, true, false, 2},    {true, true, false, false, 0},   {true, true, true, true, 0},
        {false, true, true, true, 0},     {true, false, true, true, 0},
    };
    for (const Case &c : cases) {
        Positions selected = of({16});
        selected.set(15, c.left);
        selected.set(17, c.right);
        selected.set(9, c.above);
        selected.set(23, c.below);
        EXPECT_EQ(CalendarSelection::cornerMask(selected, 16), c.mask)
            << "left " << c.left << " right " << c.right << " above " << c.above << " below " << c.below;
    }
}

TEST(CalendarSelectionTest, WorkdayLabelGoesToTheRightMostDayOfTheTopRow)
{
    EXPECT_EQ(CalendarSelection::workdayLabelPosition(run(11, 16)), 13);
    EXPECT_EQ(CalendarSelection::workdayLabelPosition(run(5, 13)), 6);
    EXPECT_EQ(CalendarSelection::workdayLabelPosition(of({40})), 40);
    EXPECT_EQ(CalendarSelection::workdayLabelPosition(of({0, 3, 8})), 3);
    EXPECT_EQ(CalendarSelection::workdayLabelPosition(Positions()), std::nullopt);
}
