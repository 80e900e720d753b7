#pragma once

// A rectangle of the template grid given by grid lines, as pictures are placed: the left edge
// of column `left` to the left edge of column `right`, the top edge of row `top` to the top
// edge of row `bottom`. Columns and rows count from 1, so (1, 32, 8, 43) covers columns 1 to 7
// and rows 32 to 42, and a neighbour (8, 32, 14, 43) starts where it ends.
struct CellRectangle
{
    int left = 1;
    int top = 1;
    int right = 2;
    int bottom = 2;

    bool operator==(const CellRectangle &) const = default;
};
