// The tray tooltip's texts and the grids of tile and cascade.
#include <gtest/gtest.h>

#include "shell/bytes/ArrangeGrid.h"
#include "shell/bytes/TrayTooltip.h"

TEST(TrayTooltip, CountsTheNotesByState)
{
    const std::string twoLines = "\r\nRight-click for menu, drag to create note ";
    EXPECT_EQ(TrayNoteCountTip({0, 0, 0}, true), "Quillnet+, 0 notes" + twoLines);
    EXPECT_EQ(TrayNoteCountTip({1, 1, 0}, true), "Quillnet+, 1 note, all hidden" + twoLines);
    EXPECT_EQ(TrayNoteCountTip({3, 0, 0}, true), "Quillnet+, 3 notes, all visible" + twoLines);
    EXPECT_EQ(TrayNoteCountTip({5, 0, 5}, true), "Quillnet+, 5 notes, all parked" + twoLines);
    EXPECT_EQ(TrayNoteCountTip({5, 2, 0}, true), "Quillnet+, 5 notes, 2 hidden" + twoLines);
    EXPECT_EQ(TrayNoteCountTip({5, 1, 2}, true), "Quillnet+, 5 notes, 2 parked, 1 hidden" + twoLines);
    EXPECT_EQ(TrayNoteCountTip({5, 0, 2}, true), "Quillnet+, 5 notes, 2 parked, 0 hidden" + twoLines);
    // One-line tips stay short.
    EXPECT_EQ(TrayNoteCountTip({1, 0, 0}, false), "Quillnet+, 1 note, all visible, drag to create note ");
    EXPECT_EQ(TrayNoteCountTip({0, 0, 0}, false), "Quillnet+, 0 notes, right-click for menu, drag to create note ");
}

TEST(TrayTooltip, NamesTheSenderAsFarAsTheTipHolds)
{
    const std::string start = "You have received a note from ";
    EXPECT_EQ(TrayReceivedTip("PC2", ""), start + "PC2. Click the icon to read it");
    EXPECT_EQ(TrayReceivedTip("PC2", "Ann"), start + "Ann<PC2>.\r\nClick the icon to read it");
    const std::string longName(70, 'n');
    EXPECT_EQ(TrayReceivedTip("PC2", longName), start + longName + "<PC2>");
    const std::string longer(100, 'm');
    EXPECT_EQ(TrayReceivedTip(longer, longer), start);
    EXPECT_LT(TrayReceivedTip(std::string(96, 'x'), "").size(), 128u);
}

TEST(ArrangeGrid, TilesInColumnsByTheNumberOfNotes)
{
    TileGrid grid;
    ASSERT_TRUE(ComputeTileGrid(1, 1024, 768, grid));
    EXPECT_EQ(grid.cellWidth, 0);
    EXPECT_EQ(grid.cellHeight, 0);

    ASSERT_TRUE(ComputeTileGrid(4, 1024, 768, grid));
    EXPECT_EQ(grid.columnStep, 0);
    EXPECT_EQ(grid.rowStep, 189);
    TileCursor cursor;
    for (int expectedY : {199, 388, 577}) {
        ASSERT_TRUE(NextTileCell(grid, 1024, 768, cursor));
        EXPECT_EQ(cursor.x, 10);
        EXPECT_EQ(cursor.y, expectedY);
    }

    ASSERT_TRUE(ComputeTileGrid(7, 1024, 768, grid));
    EXPECT_EQ(grid.cellWidth, 338);
    EXPECT_EQ(grid.cellHeight, 252);
    cursor = TileCursor();
    const int cells[][2] = {{348, 10}, {686, 10}, {10, 262}, {348, 262}, {686, 262}, {10, 514}};
    for (const auto& cell : cells) {
        ASSERT_TRUE(NextTileCell(grid, 1024, 768, cursor));
        EXPECT_EQ(cursor.x, cell[0]);
        EXPECT_EQ(cursor.y, cell[1]);
    }
    for (int n : {16, 21, 26, 43, 49})
        EXPECT_TRUE(ComputeTileGrid(n, 1024, 768, grid)) << n;
    EXPECT_FALSE(ComputeTileGrid(50, 1024, 768, grid));
}

TEST(ArrangeGrid, CascadesInTwoColumnsAndStops)
{
    CascadeCursor cursor;
    cursor.secondColumnX = 220;
    int steps = 0;
    bool sawSecondColumn = false;
    while (NextCascadeStep(1024, 768, cursor) && steps < 1000) {
        ++steps;
        if (cursor.inSecondColumn && !sawSecondColumn) {
            sawSecondColumn = true;
            EXPECT_EQ(cursor.y, 10);
            EXPECT_EQ(cursor.x, 220);
        }
    }
    EXPECT_TRUE(sawSecondColumn);
    EXPECT_LT(steps, 1000);
    EXPECT_GE(cursor.y, 614);
}
