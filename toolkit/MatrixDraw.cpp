#include "toolkit/MatrixDraw.h"

#include "model/data/Matrix.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/MatrixGeometry.h"

#include <climits>
#include <vector>

namespace {

GC gridGC = nullptr;
GC setCellGC = nullptr;
GC clearCellGC = nullptr;
GC highlightGC = nullptr;
GC backgroundGC = nullptr;

// X coordinates are 16 bits; cells beyond them are not drawn.
bool FitsX(const PixelRect& r) {
    return r.x >= SHRT_MIN && r.y >= SHRT_MIN && r.x + r.width <= SHRT_MAX &&
           r.y + r.height <= SHRT_MAX;
}

bool Ready(Widget widget, int zoom) {
    return XtIsRealized(widget) && gridGC != nullptr && CellPitch(zoom) >= 1;
}

void Fill(Widget widget, GC gc, const PixelRect& r) {
    if (FitsX(r) && r.width > 0 && r.height > 0) {
        XFillRectangle(XtDisplay(widget), XtWindow(widget), gc, r.x, r.y, r.width, r.height);
    }
}

void Outline(Widget widget, GC gc, const PixelRect& r) {
    if (FitsX(r)) {
        XDrawRectangle(XtDisplay(widget), XtWindow(widget), gc, r.x, r.y, r.width, r.height);
    }
}

} // namespace

void CreateMatrixGCs(Widget widget) {
    CreateBlackGC(&gridGC, widget);
    CreateStippledGC(&setCellGC, widget);
    CreateGray90GC(&clearCellGC, widget);
    CreateYellowOnWhiteGC(&highlightGC, widget);
    CreateGray90GC(&backgroundGC, widget);
}

void Draw(const Matrix& matrix, Widget widget, int zoom, int clear) {
    if (!Ready(widget, zoom)) {
        return;
    }
    Display* display = XtDisplay(widget);
    Window window = XtWindow(widget);
    const int dimX = matrix.GetDimX();
    const int dimY = matrix.GetDimY();
    if (clear) {
        XClearWindow(display, window);
    }
    Outline(widget, gridGC, MatrixFrameRect(dimX, dimY, zoom));
    std::vector<XSegment> lines;
    PixelSegment s;
    for (int k = 0; MatrixVerticalLine(dimX, dimY, zoom, k, &s) && s.x1 <= SHRT_MAX; ++k) {
        lines.push_back({static_cast<short>(s.x1), static_cast<short>(s.y1),
                         static_cast<short>(s.x2 > SHRT_MAX ? SHRT_MAX : s.x2),
                         static_cast<short>(s.y2 > SHRT_MAX ? SHRT_MAX : s.y2)});
    }
    for (int k = 0; MatrixHorizontalLine(dimX, dimY, zoom, k, &s) && s.y1 <= SHRT_MAX; ++k) {
        lines.push_back({static_cast<short>(s.x1), static_cast<short>(s.y1),
                         static_cast<short>(s.x2 > SHRT_MAX ? SHRT_MAX : s.x2),
                         static_cast<short>(s.y2 > SHRT_MAX ? SHRT_MAX : s.y2)});
    }
    if (!lines.empty()) {
        XDrawSegments(display, window, gridGC, lines.data(), static_cast<int>(lines.size()));
    }
    std::vector<XRectangle> cells;
    for (int y = 0; y < dimY; ++y) {
        for (int x = 0; x < dimX; ++x) {
            if (!matrix(x, y)) {
                continue;
            }
            const PixelRect r = MatrixCellRect(dimY, zoom, x, y);
            if (FitsX(r) && r.width > 0) {
                cells.push_back({static_cast<short>(r.x), static_cast<short>(r.y),
                                 static_cast<unsigned short>(r.width),
                                 static_cast<unsigned short>(r.height)});
            }
        }
    }
    if (!cells.empty()) {
        // Xlib splits the request to the server's size limit.
        XFillRectangles(display, window, setCellGC, cells.data(), static_cast<int>(cells.size()));
    }
}

void ToggleAndDraw(Matrix& matrix, Widget widget, int zoom, int x, int y) {
    const int value = matrix.ToggleBit(x, y);
    // A cell outside the matrix does not exist: painting it would cover the frame or margins.
    const bool inside = x >= 0 && x < matrix.GetDimX() && y >= 0 && y < matrix.GetDimY();
    if (!inside || !Ready(widget, zoom)) {
        return;
    }
    Fill(widget, value ? setCellGC : clearCellGC, MatrixCellRect(matrix.GetDimY(), zoom, x, y));
}

void DrawHighlight(const Matrix& matrix, Widget widget, int zoom, int x, int y, int w, int h) {
    if (!Ready(widget, zoom)) {
        return;
    }
    Outline(widget, highlightGC, MatrixHighlightRect(matrix.GetDimY(), zoom, x, y, w, h));
}

void EraseHighlight(const Matrix& matrix, Widget widget, int zoom, int x, int y, int w, int h) {
    if (!Ready(widget, zoom)) {
        return;
    }
    Outline(widget, gridGC, MatrixHighlightRect(matrix.GetDimY(), zoom, x, y, w, h));
    Fill(widget, backgroundGC, MatrixTopMargin(matrix.GetDimX(), zoom));
    Fill(widget, backgroundGC, MatrixRightMargin(matrix.GetDimX(), matrix.GetDimY(), zoom));
}
