#include "toolkit/MatrixDraw.h"

#include "model/data/Matrix.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/MatrixDrawBitmap.h"
#include "toolkit/MatrixGeometry.h"
#include "toolkit/MatrixViewport.h"

#include <X11/IntrinsicP.h>
#include <X11/Xutil.h>
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

bool Ready(Widget widget, int zoom) {
    return XtIsRealized(widget) && gridGC != nullptr && CellPitch(zoom) >= 1;
}

// The part of the widget that its ancestors let be seen, in its own coordinates (a drawing area
// in a scrolled window is moved under the window's clip window).
PixelRect VisiblePart(Widget widget) {
    // Read from the widgets themselves: a resource lookup for each would cost more than the
    // drawing of a cell, and this runs for every cell and outline drawn.
    long long left = 0, top = 0, right = widget->core.width, bottom = widget->core.height;
    long long offsetX = 0, offsetY = 0; // of the widget in the current ancestor
    for (Widget child = widget; XtParent(child) != nullptr && !XtIsShell(XtParent(child));
         child = XtParent(child)) {
        offsetX += child->core.x + child->core.border_width;
        offsetY += child->core.y + child->core.border_width;
        const Widget parent = XtParent(child);
        left = std::max(left, -offsetX);
        top = std::max(top, -offsetY);
        right = std::min<long long>(right, parent->core.width - offsetX);
        bottom = std::min<long long>(bottom, parent->core.height - offsetY);
    }
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

// A rectangle of the whole drawing in the widget's own pixels, which may lie beyond 16 bits.
struct WidgetRect {
    long long x;
    long long y;
    long long width;
    long long height;
};

WidgetRect InWidget(const PixelRect& r, const ViewOffset& offset) {
    return {r.x - offset.x, r.y - offset.y, r.width, r.height};
}

// X coordinates are 16 bits.
bool FitsX(const WidgetRect& r) {
    return r.x >= SHRT_MIN && r.y >= SHRT_MIN && r.x + r.width <= SHRT_MAX &&
           r.y + r.height <= SHRT_MAX;
}

// Fills r; one beyond 16 bits (a cell or margin of a viewport) only where it can be seen.
void Fill(Widget widget, GC gc, const PixelRect& rect, const ViewOffset& offset) {
    WidgetRect r = InWidget(rect, offset);
    if (r.width <= 0 || r.height <= 0) return;
    if (!FitsX(r)) {
        const PixelRect seen = VisiblePart(widget);
        const long long left = std::max<long long>(r.x, seen.x);
        const long long top = std::max<long long>(r.y, seen.y);
        const long long right = std::min<long long>(r.x + r.width, seen.x + seen.width);
        const long long bottom = std::min<long long>(r.y + r.height, seen.y + seen.height);
        if (right <= left || bottom <= top) return;
        r = {left, top, right - left, bottom - top};
    }
    XFillRectangle(XtDisplay(widget), XtWindow(widget), gc, static_cast<int>(r.x),
                   static_cast<int>(r.y), static_cast<unsigned>(r.width),
                   static_cast<unsigned>(r.height));
}

// Outlines r as XDrawRectangle does (pixels x .. x + width); one beyond 16 bits as its sides cut
// to the part seen.
void Outline(Widget widget, GC gc, const PixelRect& rect, const ViewOffset& offset) {
    const WidgetRect r = InWidget(rect, offset);
    Display* display = XtDisplay(widget);
    Window window = XtWindow(widget);
    if (FitsX(r)) {
        XDrawRectangle(display, window, gc, static_cast<int>(r.x), static_cast<int>(r.y),
                       static_cast<unsigned>(std::max<long long>(r.width, 0)),
                       static_cast<unsigned>(std::max<long long>(r.height, 0)));
        return;
    }
    const PixelRect seen = VisiblePart(widget);
    const long long left = seen.x - 1, right = seen.x + seen.width;
    const long long top = seen.y - 1, bottom = seen.y + seen.height;
    XSegment sides[4];
    int count = 0;
    auto add = [&](long long x1, long long y1, long long x2, long long y2) {
        if (x1 > right || x2 < left || y1 > bottom || y2 < top) return;
        sides[count++] = {
            static_cast<short>(std::max(x1, left)), static_cast<short>(std::max(y1, top)),
            static_cast<short>(std::min(x2, right)), static_cast<short>(std::min(y2, bottom))};
    };
    add(r.x, r.y, r.x + r.width, r.y);
    add(r.x, r.y + r.height, r.x + r.width, r.y + r.height);
    add(r.x, r.y, r.x, r.y + r.height);
    add(r.x + r.width, r.y, r.x + r.width, r.y + r.height);
    if (count > 0) XDrawSegments(display, window, gc, sides, count);
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

// The grid lines of the range, cut to the visible part (seen, of the whole drawing), in one
// request.
void DrawGridLines(Display* display, Window window, const Matrix& matrix, const PixelRect& seen,
                   int c, const CellRange& range, const ViewOffset& offset) {
    const int seenRight = seen.x + seen.width;
    const int seenBottom = seen.y + seen.height;
    std::vector<XSegment>& lines = SegmentBuffer();
    lines.clear();
    auto clip = [](long long value) {
        return static_cast<short>(
            std::max<long long>(SHRT_MIN, std::min<long long>(SHRT_MAX, value)));
    };
    const long long lineTop = std::max(kGridOrigin, seen.y - 1) - offset.y;
    const long long lineBottom = std::min(c * matrix.GetDimY() + 10, seenBottom) - offset.y;
    const long long lineLeft = std::max(kGridOrigin, seen.x - 1) - offset.x;
    const long long lineRight = std::min(c * matrix.GetDimX() + 10, seenRight) - offset.x;
    for (int k = range.firstColumn; k <= range.lastColumn + 1; ++k) {
        const long long x = kGridOrigin + static_cast<long long>(k) * c - offset.x;
        if (x > SHRT_MAX) break;
        lines.push_back({clip(x), clip(lineTop), clip(x), clip(lineBottom)});
    }
    for (int k = range.topRow; k <= range.bottomRow + 1; ++k) {
        const long long y = kGridOrigin + static_cast<long long>(k) * c - offset.y;
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
                  const CellRange& range, const ViewOffset& offset) {
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
        const long long py = 11 + static_cast<long long>(c) * row - offset.y;
        if (py > SHRT_MAX) break;
        const uint32_t* words = matrix.GetRowWords(y);
        for (int w = firstWord; w <= lastWord; ++w) {
            uint32_t bits = words[w];
            if (w == firstWord) bits &= ~0u << (firstColumn & 31);
            if (w == lastWord && (lastColumn & 31) != 31) bits &= (2u << (lastColumn & 31)) - 1;
            while (bits != 0) {
                const int x = (w << 5) + __builtin_ctz(bits);
                bits &= bits - 1;
                const long long px = 11 + static_cast<long long>(c) * x - offset.x;
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

// How the grid and set-cell contexts paint, when a cleared drawing is a bitmap of their one ink
// over the window's background: both copy with every plane, the grid draws thin solid lines,
// the cells are solid or stippled with a small bitmap. Found once, from the contexts.
struct BitmapLook {
    bool usable = false;
    Pixel ink = 0;
    CellStipple stipple{};
};

// The bits of a stipple bitmap of at most 32 by 32; false when it is not one.
bool ReadStipple(Display* display, Pixmap pixmap, CellStipple* stipple) {
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(display, pixmap, &root, &x, &y, &width, &height, &border, &depth) ||
        depth != 1 || width < 1 || width > 32 || height < 1 || height > 32) {
        return false;
    }
    XImage* image = XGetImage(display, pixmap, 0, 0, width, height, 1, XYPixmap);
    if (image == nullptr) return false;
    stipple->width = static_cast<int>(width);
    stipple->height = static_cast<int>(height);
    for (unsigned row = 0; row < height; row++) {
        stipple->rows[row] = 0;
        for (unsigned column = 0; column < width; column++) {
            if (XGetPixel(image, static_cast<int>(column), static_cast<int>(row)) != 0) {
                stipple->rows[row] |= 1u << column;
            }
        }
    }
    XDestroyImage(image);
    return true;
}

BitmapLook FindBitmapLook(Display* display) {
    BitmapLook look;
    XGCValues grid, cells;
    const unsigned long asked = GCFunction | GCPlaneMask | GCForeground | GCLineWidth |
                                GCLineStyle | GCFillStyle | GCStipple | GCTileStipXOrigin |
                                GCTileStipYOrigin;
    if (!XGetGCValues(display, gridGC, asked, &grid) ||
        !XGetGCValues(display, setCellGC, asked, &cells)) {
        return look;
    }
    const unsigned long allPlanes = AllPlanes;
    if (grid.function != GXcopy || cells.function != GXcopy || grid.plane_mask != allPlanes ||
        cells.plane_mask != allPlanes || grid.line_width != 0 || grid.line_style != LineSolid ||
        grid.fill_style != FillSolid || grid.foreground != cells.foreground) {
        return look;
    }
    if (cells.fill_style == FillStippled) {
        if (!ReadStipple(display, cells.stipple, &look.stipple)) return look;
        look.stipple.originX = cells.ts_x_origin;
        look.stipple.originY = cells.ts_y_origin;
    } else if (cells.fill_style == FillSolid) {
        look.stipple.width = 1;
        look.stipple.height = 1;
        look.stipple.rows[0] = 1;
    } else {
        return look;
    }
    look.ink = grid.foreground;
    look.usable = true;
    return look;
}

const BitmapLook& GetBitmapLook(Display* display) {
    static Display* foundFor = nullptr;
    static BitmapLook look;
    if (foundFor != display) {
        look = FindBitmapLook(display);
        foundFor = display;
    }
    return look;
}

// Paints the part seen (in the widget's pixels) of a cleared drawing as one bitmap in ink on the
// window's background; false, having sent nothing, when the contexts or the window do not allow
// it.
bool DrawAsBitmap(const Matrix& matrix, Widget widget, int zoom, const PixelRect& seen,
                  const ViewOffset& offset) {
    if (seen.width <= 0 || seen.height <= 0 || seen.x < 0 || seen.y < 0 ||
        seen.x + seen.width > SHRT_MAX || seen.y + seen.height > SHRT_MAX) {
        return false;
    }
    Display* display = XtDisplay(widget);
    const BitmapLook& look = GetBitmapLook(display);
    if (!look.usable) return false;
    const Pixel background = widget->core.background_pixel;
    const Pixmap backgroundPixmap = widget->core.background_pixmap;
    if (backgroundPixmap != XtUnspecifiedPixmap && backgroundPixmap != None) return false;

    static GC bitmapGC = nullptr;
    static Display* gcDisplay = nullptr;
    if (bitmapGC == nullptr || gcDisplay != display) {
        bitmapGC = XCreateGC(display, XtWindow(widget), 0, nullptr);
        gcDisplay = display;
    }
    const int wordsPerRow = (seen.width + 31) / 32;
    static std::vector<uint32_t> bits;
    // The stipple is tiled from the window's origin, which lies at the offset in the drawing.
    CellStipple stipple = look.stipple;
    stipple.originX = static_cast<int>((stipple.originX + offset.x) % stipple.width);
    stipple.originY = static_cast<int>((stipple.originY + offset.y) % stipple.height);
    const PixelRect drawn = {static_cast<int>(seen.x + offset.x),
                             static_cast<int>(seen.y + offset.y), seen.width, seen.height};
    RenderMatrixBitmap(matrix, zoom, stipple, true, drawn, wordsPerRow, &bits);

    XImage image{};
    image.width = seen.width;
    image.height = seen.height;
    image.format = XYBitmap;
    image.data = reinterpret_cast<char*>(bits.data());
    const uint32_t probe = 1;
    image.byte_order = *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = 1;
    image.bytes_per_line = wordsPerRow * 4;
    image.bits_per_pixel = 1;
    if (!XInitImage(&image)) return false;
    XSetForeground(display, bitmapGC, look.ink);
    XSetBackground(display, bitmapGC, background);
    XPutImage(display, XtWindow(widget), bitmapGC, &image, 0, 0, seen.x, seen.y,
              static_cast<unsigned>(seen.width), static_cast<unsigned>(seen.height));
    return true;
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
    // A viewport scrolled since its last drawing still shows the old part.
    bool stale = false;
    const ViewOffset offset = BeginAreaDrawing(widget, &stale);
    if (stale) clear = 1;
    // Large planes at small zooms are far bigger than their window: only the part that can be
    // seen is sent (an exposure of the rest draws it when it is scrolled into view).
    const PixelRect seen = VisiblePart(widget);
    // A cleared drawing is all new: one bitmap of it costs the server one pass over the part
    // seen, where each of thousands of small stippled cells costs it a fill of its own.
    if (clear && DrawAsBitmap(matrix, widget, zoom, seen, offset)) {
        return;
    }
    if (clear) {
        XClearWindow(display, window);
    }
    Outline(widget, gridGC, MatrixFrameRect(matrix.GetDimX(), matrix.GetDimY(), zoom), offset);
    const PixelRect drawn = {static_cast<int>(seen.x + offset.x),
                             static_cast<int>(seen.y + offset.y), seen.width, seen.height};
    CellRange range;
    if (!SeenCells(matrix, drawn, CellPitch(zoom), &range)) {
        return;
    }
    DrawGridLines(display, window, matrix, drawn, CellPitch(zoom), range, offset);
    FillSetCells(display, window, matrix, CellPitch(zoom), range, offset);
}

void ToggleAndDraw(Matrix& matrix, Widget widget, int zoom, int x, int y) {
    const int value = matrix.ToggleBit(x, y);
    // A cell outside the matrix does not exist: painting it would cover the frame or margins.
    const bool inside = x >= 0 && x < matrix.GetDimX() && y >= 0 && y < matrix.GetDimY();
    if (!inside || !Ready(widget, zoom)) {
        return;
    }
    Fill(widget, value ? setCellGC : clearCellGC, MatrixCellRect(matrix.GetDimY(), zoom, x, y),
         MatrixAreaOffset(widget));
}

void DrawHighlight(const Matrix& matrix, Widget widget, int zoom, int x, int y, int w, int h) {
    if (!Ready(widget, zoom)) {
        return;
    }
    Outline(widget, highlightGC, MatrixHighlightRect(matrix.GetDimY(), zoom, x, y, w, h),
            MatrixAreaOffset(widget));
}

void EraseHighlight(const Matrix& matrix, Widget widget, int zoom, int x, int y, int w, int h) {
    if (!Ready(widget, zoom)) {
        return;
    }
    const ViewOffset offset = MatrixAreaOffset(widget);
    Outline(widget, gridGC, MatrixHighlightRect(matrix.GetDimY(), zoom, x, y, w, h), offset);
    Fill(widget, backgroundGC, MatrixTopMargin(matrix.GetDimX(), zoom), offset);
    Fill(widget, backgroundGC, MatrixRightMargin(matrix.GetDimX(), matrix.GetDimY(), zoom), offset);
}
