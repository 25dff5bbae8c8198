#include "toolkit/MatrixViewport.h"

#include <X11/IntrinsicP.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <unordered_map>

#include "model/data/Matrix.h"
#include "toolkit/GridViewport.h"

namespace {

struct AreaState {
    int64_t virtualWidth;
    int64_t virtualHeight;
    ViewOffset painted; // the offset of the last whole drawing of the part seen
};

std::unordered_map<Widget, AreaState>& Areas() {
    static std::unordered_map<Widget, AreaState> areas;
    return areas;
}

const AreaState* StateOf(Widget draw) {
    const auto found = Areas().find(draw);
    return found != Areas().end() ? &found->second : nullptr;
}

ViewOffset OffsetOf(Widget draw, const AreaState& state) {
    Widget clip = XtParent(draw);
    if (clip == nullptr) return {0, 0};
    // Read from the widgets themselves: this runs for every cell drawn and every pointer event.
    // A scrolled window moves its work area up and to the left by the scroll position.
    return {
        GridViewportOffset(state.virtualWidth, draw->core.width, clip->core.width, -draw->core.x),
        GridViewportOffset(state.virtualHeight, draw->core.height, clip->core.height,
                           -draw->core.y)};
}

// After a scroll or a resize: when the part shown is another, the area draws it anew.
void Follow(Widget draw) {
    const auto found = Areas().find(draw);
    if (found == Areas().end() || !XtIsRealized(draw)) return;
    const ViewOffset now = OffsetOf(draw, found->second);
    if (now.x == found->second.painted.x && now.y == found->second.painted.y) return;
    // The server moved the old picture with the area; all of it shows the wrong pixels now.
    XClearArea(XtDisplay(draw), XtWindow(draw), 0, 0, 0, 0, True);
}

void MovedHandler(Widget, XtPointer draw, XEvent* event, Boolean*) {
    if (event->type == ConfigureNotify) Follow(static_cast<Widget>(draw));
}

void DestroyedCallback(Widget draw, XtPointer, XtPointer) {
    Areas().erase(draw);
}

} // namespace

void SizeMatrixArea(Widget draw, int zoom, int cellsX, int cellsY) {
    const int64_t virtualWidth = GridVirtualSize(zoom, cellsX);
    const int64_t virtualHeight = GridVirtualSize(zoom, cellsY);
    const Dimension width = static_cast<Dimension>(GridAreaExtent(virtualWidth));
    const Dimension height = static_cast<Dimension>(GridAreaExtent(virtualHeight));
    auto found = Areas().find(draw);
    if (found == Areas().end()) {
        found = Areas().emplace(draw, AreaState{virtualWidth, virtualHeight, {0, 0}}).first;
        XtAddCallback(draw, XmNdestroyCallback, DestroyedCallback, nullptr);
        // The area moves in its clip window as it is scrolled, and the clip window is resized
        // with the window.
        XtAddEventHandler(draw, StructureNotifyMask, False, MovedHandler, draw);
        if (XtParent(draw) != nullptr) {
            XtAddEventHandler(XtParent(draw), StructureNotifyMask, False, MovedHandler, draw);
        }
    }
    found->second.virtualWidth = virtualWidth;
    found->second.virtualHeight = virtualHeight;
    // Every refresh of a show-data window asks: read without a resource lookup.
    if (draw->core.width != width || draw->core.height != height) {
        XtVaSetValues(draw, XmNwidth, width, XmNheight, height, nullptr);
    }
}

ViewOffset MatrixAreaOffset(Widget draw) {
    const AreaState* state = StateOf(draw);
    if (state == nullptr) return {0, 0};
    return OffsetOf(draw, *state);
}

ViewOffset BeginAreaDrawing(Widget draw, bool* stale) {
    *stale = false;
    const auto found = Areas().find(draw);
    if (found == Areas().end()) return {0, 0};
    const ViewOffset now = OffsetOf(draw, found->second);
    *stale = now.x != found->second.painted.x || now.y != found->second.painted.y;
    found->second.painted = now;
    return now;
}

bool IsMatrixViewport(Widget draw) {
    const AreaState* state = StateOf(draw);
    return state != nullptr &&
           (state->virtualWidth > kMaxAreaSide || state->virtualHeight > kMaxAreaSide);
}

int AreaPixelToCell(const Matrix& matrix, Widget draw, int px, int py, int zoom, int& cellX,
                    int& cellY) {
    const ViewOffset offset = MatrixAreaOffset(draw);
    // The whole drawing of the largest plane at the largest zoom is about 2.4 million pixels.
    return matrix.PixelToCell(cellX, cellY, static_cast<int>(px + offset.x),
                              static_cast<int>(py + offset.y), zoom);
}
