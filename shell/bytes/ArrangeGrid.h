#pragma once

#include <cstdint>

// The arithmetic of arranging notes on a screen of width W and height H.

// The grid of a tile of n shown notes: steps between columns and rows and the
// size of a cell (0 keeps the note's own size). False when n is above 49.
struct TileGrid {
    std::int32_t columnStep = 0;
    std::int32_t rowStep = 0;
    std::int32_t cellWidth = 0;
    std::int32_t cellHeight = 0;
};
bool ComputeTileGrid(int n, std::int32_t screenWidth, std::int32_t screenHeight, TileGrid& grid);

// A tile's walk: x and y of the next cell; false when the tile stops.
struct TileCursor {
    std::int32_t x = 10;
    std::int32_t y = 10;
};
bool NextTileCell(const TileGrid& grid, std::int32_t screenWidth, std::int32_t screenHeight, TileCursor& cursor);

// A cascade's walk: steps of 23 pixels, a second column starting at x2 when
// the first reaches 4H/5; false when the cascade stops.
struct CascadeCursor {
    std::int32_t x = 10;
    std::int32_t y = 10;
    std::int32_t secondColumnX = 0;
    bool inSecondColumn = false;
};
bool NextCascadeStep(std::int32_t screenWidth, std::int32_t screenHeight, CascadeCursor& cursor);
