// The grid control of the dialog model: rows that shrink and grow again come back empty and of
// the default height, cells outside the grid are refused, and the top row stays within the rows
// that can be shown.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "core/FlexGrid.h"
#include "core/HostError.h"

namespace plexa {
namespace {

TEST(FlexGrid, RowsThatComeBackAreNewAndCellsOutsideTheGridAreRefused) {
    FlexGrid grid(L"ctlGrid");
    grid.SetCols(3);
    grid.SetRows(10002);
    EXPECT_EQ(grid.TextMatrix(9000, 2), L"");
    EXPECT_EQ(grid.RowHeight(9000), -1);
    grid.SetTextMatrix(9000, 2, L"far down");
    grid.Cell(5, 1) = GridCell{L"", L"imgDL", flex::AlignCenterCenter};
    grid.SetRowHeight(10001, 0);
    EXPECT_EQ(grid.TextMatrix(9000, 2), L"far down");
    EXPECT_EQ(grid.Cell(5, 1).picture, L"imgDL");
    EXPECT_EQ(grid.TextMatrix(5, 0), L"");

    // A cell that was only looked at leaves the grid as it was.
    const FlexGrid& constGrid = grid;
    EXPECT_EQ(constGrid.Cell(7, 2).text, L"");

    // Shrunk to the header and grown again: the rows are new.
    grid.SetRows(1);
    EXPECT_THROW(grid.TextMatrix(5, 1), HostError);
    grid.SetRows(10002);
    EXPECT_EQ(grid.TextMatrix(9000, 2), L"");
    EXPECT_EQ(grid.Cell(5, 1).picture, L"");
    EXPECT_EQ(grid.RowHeight(10001), -1);

    // More columns keep the written cells; fewer drop the ones beyond.
    grid.SetTextMatrix(3, 2, L"kept?");
    grid.SetCols(5);
    EXPECT_EQ(grid.TextMatrix(3, 2), L"kept?");
    EXPECT_EQ(grid.TextMatrix(3, 4), L"");
    grid.SetCols(2);
    EXPECT_THROW(grid.TextMatrix(3, 2), HostError);
    grid.SetCols(3);
    EXPECT_EQ(grid.TextMatrix(3, 2), L"");

    for (const auto& [r, c] :
         std::initializer_list<std::pair<int32_t, int32_t>>{{-1, 0}, {10002, 0}, {0, 3}, {0, -1}}) {
        EXPECT_THROW(grid.Cell(r, c), HostError) << r << "," << c;
    }
    EXPECT_THROW(grid.SetRowHeight(10002, 0), HostError);
    EXPECT_THROW(grid.SetRows(0), HostError);
}

TEST(FlexGrid, TheTopRowStopsAtTheLastPageOfRowsThatTakeRoom) {
    FlexGrid grid(L"ctlGrid");
    grid.SetCols(7);
    int scrolls = 0;
    grid.onScroll = [&] { ++scrolls; };
    // 30 rows below the header and one of height 0, as the chooser lays out 30 lists.
    grid.SetRows(32);
    grid.SetRowHeight(31, 0);
    EXPECT_EQ(grid.MaxTopRow(), 24);
    grid.SetTopRow(31);
    EXPECT_EQ(grid.TopRow(), 24);
    grid.SetTopRow(24);
    EXPECT_EQ(scrolls, 1);  // no move, no event
    // A row set back to the default height takes room again.
    grid.SetRowHeight(31, -1);
    EXPECT_EQ(grid.MaxTopRow(), 25);
    // Fewer rows than a page: the first row stays on top.
    grid.SetRows(4);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_EQ(grid.MaxTopRow(), 1);
}

}  // namespace
}  // namespace plexa
