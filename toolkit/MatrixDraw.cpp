#include "toolkit/MatrixDraw.h"

#include "model/data/Matrix.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/MatrixGeometry.h"

#include <Xm/Xm.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

const int kGridOrigin = 10; // the grid's top left line, as MatrixGeometry places it

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

// The part of the widget that its ancestors let be seen, in its own coordinates (a drawing area
// in a scrolled window is moved under the window's clip window).
PixelRect VisiblePart(Widget widget) {
    Dimension width = 0, height = 0;
    XtVaGetValues(widget, XmNwidth, &width, XmNheight, &height, nullptr);
    long long left = 0, top = 0, right = width, bottom = height;
    long long offsetX = 0, offsetY = 0; // of the widget in the current ancestor
    for (Widget child = widget; XtParent(child) != nullptr && !XtIsShell(XtParent(child));
         child = XtParent(child)) {
        Position x = 0, y = 0;
        Dimension border = 0;
        XtVaGetValues(child, XmNx, &x, XmNy, &y, XmNborderWidth, &border, nullptr);
        offsetX += x + border;
        offsetY += y + border;
        Dimension parentWidth = 0, parentHeight = 0;
        XtVaGetValues(XtParent(child), XmNwidth, &parentWidth, XmNheight, &parentHeight, nullptr);
        left = std::max(left, -offsetX);
        top = std::max(top, -offsetY);
        right = std::min(right, parentWidth - offsetX);
        bottom = std::min(bottom, parentHeight - offsetY);
    }
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

// Kept between drawings, so that a refresh allocates nothing once they have grown.
std::vector<XSegment>& SegmentBuffer() {
    static std::vector<XSegment> buffer;
    return buffer;
}

std::vector<XRectangle>& RectangleBuffer() {
    static std::vector<XRectangle> buffer;
    return buffer;
}

// The cells that reach into the visible part, whole grid lines included; rows are counted from
// the top.
struct CellRange {
    int firstColumn;
    int lastColumn;
    int topRow;
    int bottomRow;
};

// False when no cell can be seen.
bool SeenCells(const Matrix& matrix, const PixelRect& seen, int c, CellRange* range) {
    if (seen.width <= 0 || seen.height <= 0) {
        return false;
    }
    const int seenRight = seen.x + seen.width;   // exclusive
    const int seenBottom = seen.y + seen.height; // exclusive
    range->firstColumn = std::max(0, (seen.x - kGridOrigin) / c - 1);
    range->lastColumn = std::min(matrix.GetDimX() - 1, (seenRight - kGridOrigin) / c);
    range->topRow = std::max(0, (seen.y - kGridOrigin) / c - 1);
    range->bottomRow = std::min(matrix.GetDimY() - 1, (seenBottom - kGridOrigin) / c);
    return range->firstColumn <= range->lastColumn && range->topRow <= range->bottomRow;
}

// The grid lines of the range, cut to the visible part, in one request.
void DrawGridLines(Display* display, Window window, const Matrix& matrix, const PixelRect& seen,
                   int c, const CellRange& range) {
    const int seenRight = seen.x + seen.width;
    const int seenBottom = seen.y + seen.height;
    std::vector<XSegment>& lines = SegmentBuffer();
    lines.clear();
    auto clip = [](long long value) {
        return static_cast<short>(
            std::max<long long>(SHRT_MIN, std::min<long long>(SHRT_MAX, value)));
    };
    const long long lineTop = std::max(kGridOrigin, seen.y - 1);
    const long long lineBottom = std::min(c * matrix.GetDimY() + 10, seenBottom);
    const long long lineLeft = std::max(kGridOrigin, seen.x - 1);
    const long long lineRight = std::min(c * matrix.GetDimX() + 10, seenRight);
    for (int k = range.firstColumn; k <= range.lastColumn + 1; ++k) {
        const long long x = kGridOrigin + static_cast<long long>(k) * c;
        if (x > SHRT_MAX) break;
        lines.push_back({clip(x), clip(lineTop), clip(x), clip(lineBottom)});
    }
    for (int k = range.topRow; k <= range.bottomRow + 1; ++k) {
        const long long y = kGridOrigin + static_cast<long long>(k) * c;
        if (y > SHRT_MAX) break;
        lines.push_back({clip(lineLeft), clip(y), clip(lineRight), clip(y)});
    }
    if (!lines.empty()) {
        XDrawSegments(display, window, gridGC, lines.data(), static_cast<int>(lines.size()));
    }
}

// The set cells of the range, word by word: words without a set bit in the visible columns cost
// one test.
void FillSetCells(Display* display, Window window, const Matrix& matrix, int c,
                  const CellRange& range) {
    std::vector<XRectangle>& cells = RectangleBuffer();
    cells.clear();
    const int dimY = matrix.GetDimY();
    const int firstColumn = range.firstColumn;
    const int lastColumn = range.lastColumn;
    const int firstWord = firstColumn >> 5;
    const int lastWord = lastColumn >> 5;
    const unsigned short side = static_cast<unsigned short>(c - 1);
    for (int row = range.topRow; row <= range.bottomRow; ++row) {
        const int y = dimY - 1 - row;
        const long long py = 11 + static_cast<long long>(c) * row;
        if (py > SHRT_MAX) break;
        const uint32_t* words = matrix.GetRowWords(y);
        for (int w = firstWord; w <= lastWord; ++w) {
            uint32_t bits = words[w];
            if (w == firstWord) bits &= ~0u << (firstColumn & 31);
            if (w == lastWord && (lastColumn & 31) != 31) bits &= (2u << (lastColumn & 31)) - 1;
            while (bits != 0) {
                const int x = (w << 5) + __builtin_ctz(bits);
                bits &= bits - 1;
                const long long px = 11 + static_cast<long long>(c) * x;
                if (px > SHRT_MAX || side == 0) continue;
                cells.push_back({static_cast<short>(px), static_cast<short>(py), side, side});
            }
        }
    }
    if (!cells.empty()) {
        // Xlib splits the request to the server's size limit.
        XFillRectangles(display, window, setCellGC, cells.data(), static_cast<int>(cells.size()));
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
    if (clear) {
        XClearWindow(display, window);
    }
    Outline(widget, gridGC, MatrixFrameRect(matrix.GetDimX(), matrix.GetDimY(), zoom));
    // Large planes at small zooms are far bigger than their window: only the part that can be
    // seen is sent (an exposure of the rest draws it when it is scrolled into view).
    const PixelRect seen = VisiblePart(widget);
    CellRange range;
    if (!SeenCells(matrix, seen, CellPitch(zoom), &range)) {
        return;
    }
    DrawGridLines(display, window, matrix, seen, CellPitch(zoom), range);
    FillSetCells(display, window, matrix, CellPitch(zoom), range);
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
