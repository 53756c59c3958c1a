#include "shell/bytes/ArrangeGrid.h"

bool ComputeTileGrid(int n, std::int32_t w, std::int32_t h, TileGrid& grid)
{
    grid = TileGrid();
    if (n > 49)
        return false;
    if (n <= 1)
        return true;
    int columns = n <= 5 ? 1 : n <= 15 ? 3 : n <= 20 ? 4 : n <= 25 ? 5 : n <= 42 ? 6 : 7;
    int rows = (n + columns - 1) / columns;
    grid.rowStep = grid.cellHeight = (h - 10) / rows;
    if (columns > 1)
        grid.columnStep = grid.cellWidth = (w - 10) / columns;
    return true;
}

bool NextTileCell(const TileGrid& grid, std::int32_t w, std::int32_t h, TileCursor& c)
{
    if (grid.columnStep == 0) {
        c.y += grid.rowStep;
    } else if (c.x >= w - grid.columnStep - 10) {
        c.x = 10;
        c.y += grid.rowStep;
    } else {
        c.x += grid.columnStep;
    }
    return c.y <= h - 30;
}

bool NextCascadeStep(std::int32_t w, std::int32_t h, CascadeCursor& c)
{
    if (c.x >= 4 * w / 5)
        return false;
    c.x += 23;
    if (c.y >= 4 * h / 5) {
        if (c.inSecondColumn)
            return false;
        c.inSecondColumn = true;
        c.y = 10;
        c.x = c.secondColumnX;
    } else {
        c.y += 23;
    }
    return true;
}
