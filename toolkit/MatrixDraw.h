#pragma once

#include <X11/Intrinsic.h>

class Matrix;

// Draws matrices zoomed into drawing areas (geometry in MatrixGeometry.h) with five contexts
// made once at start-up: grid (black), set cell (stippled), clear cell (gray90), highlight
// (yellow on white) and background (gray90). Nothing is drawn into an unrealized widget.

// Makes the five contexts through widget (the top-level shell); the palette and the stipple
// must exist.
void CreateMatrixGCs(Widget widget);

// Draws the frame, the grid and every set cell; clears the window first when clear is non-zero.
// Clear cells are not painted.
void Draw(const Matrix& matrix, Widget widget, int zoom, int clear);

// Toggles bit (x, y) and paints its cell for the new value.
void ToggleAndDraw(Matrix& matrix, Widget widget, int zoom, int x, int y);

// Outlines the block of w by h cells whose lower left cell is (x, y).
void DrawHighlight(const Matrix& matrix, Widget widget, int zoom, int x, int y, int w, int h);

// Redraws that outline as grid and repaints the margins above and to the right of the grid.
void EraseHighlight(const Matrix& matrix, Widget widget, int zoom, int x, int y, int w, int h);
