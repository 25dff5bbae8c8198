#include "shell/OverviewWindow.h"

#include <X11/cursorfont.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include <iostream>
#include <limits>

#include "model/elements/AElement.h"
#include "shell/ArchitectureWindow.h"
#include "shell/MenuCommand.h"
#include "toolkit/Colors.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/WindowManagerHints.h"

namespace {

// Made once for every overview.
Cursor moveCursor = 0;
GC dragGC = nullptr;

// One drag at a time across all overviews.
OverviewWindow* dragOverview = nullptr;
int dragging = 0;
int grabX = 0; // the pointer's offset from the outline's top-left corner
int grabY = 0;
OverviewRect dragOutline = {0, 0, 0, 0};

const int kMoveCursorShape = 36; // the diamond cross of the X cursor font

} // namespace

float OverviewScaleX(int width) {
    return static_cast<float>(kAreaWidth) / static_cast<float>(width > 0 ? width : 1);
}

float OverviewScaleY(int height) {
    return static_cast<float>(kAreaHeight) / static_cast<float>(height > 0 ? height : 1);
}

int ToOverview(int coordinate, float scale) {
    const float v = static_cast<float>(coordinate) / scale;
    // A position read from a file may lie far off the area: a wide view would scale it past
    // what an int holds.
    if (v >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= static_cast<float>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

int FromOverviewX(int v, int width) {
    return static_cast<int>(static_cast<long long>(v) * kAreaWidth / (width > 0 ? width : 1));
}

int FromOverviewY(int v, int height) {
    return static_cast<int>(static_cast<long long>(v) * kAreaHeight / (height > 0 ? height : 1));
}

OverviewRect ElementOutline(int x, int y, int width, int height, float sx, float sy) {
    OverviewRect rect = {ToOverview(x, sx), ToOverview(y, sy), ToOverview(width, sx),
                         ToOverview(height, sy)};
    // A small element still shows.
    if (rect.width == 0) rect.width = 1;
    if (rect.height == 0) rect.height = 1;
    return rect;
}

OverviewRect VisibleOutline(int x1, int y1, int x2, int y2, float sx, float sy) {
    return {ToOverview(x1, sx), ToOverview(y1, sy), ToOverview(x2 - x1, sx),
            ToOverview(y2 - y1, sy)};
}

bool InsideOutline(const OverviewRect& rect, int px, int py) {
    return rect.x <= px && px < rect.x + rect.width && rect.y <= py && py < rect.y + rect.height;
}

bool OutlineInView(const OverviewRect& rect, int width, int height) {
    // A drawn outline covers its right and bottom sides, at x + width and y + height.
    const long long right = static_cast<long long>(rect.x) + rect.width;
    const long long bottom = static_cast<long long>(rect.y) + rect.height;
    return right >= 0 && rect.x < width && bottom >= 0 && rect.y < height;
}

void ClampOutline(OverviewRect& rect, int width, int height) {
    if (rect.x + rect.width > width - 1) rect.x = width - rect.width - 1;
    if (rect.y + rect.height > height - 1) rect.y = height - rect.height - 1;
    // Last: a rectangle as wide or high as the view stays at 0 and never scrolls to -1.
    if (rect.x < 0) rect.x = 0;
    if (rect.y < 0) rect.y = 0;
}

void OverviewWindow::InitCursor(Widget topLevel) {
    if (topLevel == nullptr || moveCursor != 0) return;
    moveCursor = XCreateFontCursor(XtDisplay(topLevel), kMoveCursorShape);
    CreateWideGrayXorGC(&dragGC, topLevel);
}

OverviewWindow::OverviewWindow(ArchitectureWindow* owner)
    : owner(owner), shell(nullptr), viewArea(nullptr), display(nullptr), window(0),
      elementGC(nullptr), visibleGC(nullptr), drawingWidget(nullptr), width(150), height(100),
      visibleX(0), visibleWidth(0), visibleY(0), visibleHeight(0) {
    if (owner == nullptr || owner->GetShell() == nullptr) {
        std::cerr << "OverviewWindow::OverviewWindow: no window to show" << std::endl;
        return;
    }
    InitCursor(owner->GetShell());
    CreateWidgets();
    display = XtDisplay(viewArea);
    window = XtWindow(viewArea);
    CreateBlackWindowGC(&elementGC, viewArea);
    CreateWideGrayXorGC(&visibleGC, viewArea);
    drawingWidget = owner->GetCadArea();
}

OverviewWindow::~OverviewWindow() {
    if (dragOverview == this) {
        dragOverview = nullptr;
        dragging = 0;
    }
    if (display != nullptr) {
        if (elementGC != nullptr) XFreeGC(display, elementGC);
        if (visibleGC != nullptr) XFreeGC(display, visibleGC);
    }
    if (shell != nullptr) {
        // The widgets may outlive this object until the toolkit's dispatch ends: nothing may
        // call back into it.
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        if (viewArea != nullptr) {
            XtRemoveCallback(viewArea, XmNexposeCallback, ExposeCallback, this);
            XtRemoveCallback(viewArea, XmNresizeCallback, ResizeCallback, this);
            XtRemoveEventHandler(viewArea, XtAllEvents, True, InputHandler, this);
        }
        const Atom deleteWindow =
            XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
        XmRemoveWMProtocolCallback(shell, deleteWindow, CloseCallback, this);
        XtDestroyWidget(shell);
    }
    if (owner != nullptr && owner->GetOverview() == this) owner->SetToggle(kCommandOverview, 0);
}

void OverviewWindow::CreateWidgets() {
    shell = XtVaCreatePopupShell("Elements", transientShellWidgetClass, owner->GetShell(), XmNtitle,
                                 "Overview", XmNmwmDecorations, kWindowDecorations, XmNmwmFunctions,
                                 kWindowFunctions, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    const Atom deleteWindow =
        XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, deleteWindow, CloseCallback, this);
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
    Widget formOut = XtVaCreateWidget("form_out", xmFormWidgetClass, shell, XmNmarginHeight, 2,
                                      XmNmarginWidth, 2, nullptr);
    Widget frame =
        XtVaCreateManagedWidget("frame", xmFrameWidgetClass, formOut, XmNtopAttachment,
                                XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment,
                                XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Widget formIn = XtVaCreateManagedWidget("form_in", xmFormWidgetClass, frame, nullptr);
    viewArea = XtVaCreateManagedWidget(
        "view_area", xmDrawingAreaWidgetClass, formIn, XmNwidth, 150, XmNheight, 100, XmNbackground,
        GetWhite(), XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtAddCallback(viewArea, XmNexposeCallback, ExposeCallback, this);
    XtAddCallback(viewArea, XmNresizeCallback, ResizeCallback, this);
    XtAddEventHandler(viewArea,
                      ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ButtonMotionMask,
                      False, InputHandler, this);
    XtManageChild(formOut);
    XtManageChild(shell);
    XtRealizeWidget(shell);
}

void OverviewWindow::DrawOutline(GC gc, const OverviewRect& rect) {
    if (window == 0 || gc == nullptr) return;
    XDrawRectangle(display, window, gc, rect.x, rect.y, static_cast<unsigned>(rect.width),
                   static_cast<unsigned>(rect.height));
}

void OverviewWindow::Redraw() {
    if (window == 0 || owner == nullptr) return;
    XClearWindow(display, window);
    const float sx = OverviewScaleX(width);
    const float sy = OverviewScaleY(height);
    PtrArray<AElement>& elements = owner->GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        const AElement* element = elements[i];
        const OverviewRect outline = ElementOutline(
            element->GetX(), element->GetY(), element->GetWidth(), element->GetHeight(), sx, sy);
        if (OutlineInView(outline, width, height)) DrawOutline(elementGC, outline);
    }
    int x1, y1, x2, y2;
    owner->GetVisibleRect(x1, y1, x2, y2);
    const OverviewRect visible = VisibleOutline(x1, y1, x2, y2, sx, sy);
    SetVisibleArea(visible.x, visible.y, visible.width, visible.height);
    // While the rectangle is dragged, the outline stands for it: one rectangle is shown.
    if (dragging && dragOverview == this) {
        DrawOutline(dragGC, dragOutline);
    } else {
        DrawOutline(visibleGC, visible);
    }
    XFlush(display);
}

void OverviewWindow::Resize() {
    if (viewArea == nullptr) return;
    Dimension w = 0;
    Dimension h = 0;
    XtVaGetValues(viewArea, XmNwidth, &w, XmNheight, &h, nullptr);
    width = static_cast<uint16_t>(w);
    height = static_cast<uint16_t>(h);
    Redraw();
}

void OverviewWindow::UpdateVisibleRect() {
    if (window == 0 || owner == nullptr) return;
    int x1, y1, x2, y2;
    owner->GetVisibleRect(x1, y1, x2, y2);
    const OverviewRect visible =
        VisibleOutline(x1, y1, x2, y2, OverviewScaleX(width), OverviewScaleY(height));
    // During a drag the outline is what is shown; the release draws the rectangle again.
    const bool shown = !(dragging && dragOverview == this);
    if (shown) DrawOutline(visibleGC, {visibleX, visibleY, visibleWidth, visibleHeight});
    SetVisibleArea(visible.x, visible.y, visible.width, visible.height);
    if (shown) DrawOutline(visibleGC, visible);
    XFlush(display);
}

void OverviewWindow::GetVisibleArea(int& x, int& y, int& w, int& h) const {
    x = visibleX;
    y = visibleY;
    w = visibleWidth;
    h = visibleHeight;
}

void OverviewWindow::SetVisibleArea(int x, int y, int w, int h) {
    visibleX = x;
    visibleY = y;
    visibleWidth = w;
    visibleHeight = h;
}

void OverviewWindow::ScrollTo(int x, int y) {
    visibleX = x;
    visibleY = y;
    if (owner == nullptr) return;
    owner->ScrollTo(FromOverviewX(x, width), FromOverviewY(y, height));
    // The scroll bars report a set value to no overview; and the area may stop short of the
    // drop place at its edges. A full redraw shows the rectangle once, where the area really is.
    Redraw();
}

void OverviewWindow::InputHandler(Widget, XtPointer self, XEvent* event, Boolean*) {
    if (self == nullptr || event == nullptr) return;
    static_cast<OverviewWindow*>(self)->HandleInput(*event);
}

void OverviewWindow::MoveDragOutline(int px, int py) {
    DrawOutline(dragGC, dragOutline);
    dragOutline.x = px - grabX;
    dragOutline.y = py - grabY;
    ClampOutline(dragOutline, width, height);
    DrawOutline(dragGC, dragOutline);
}

void OverviewWindow::HandleInput(const XEvent& event) {
    const OverviewRect stored = {visibleX, visibleY, visibleWidth, visibleHeight};
    switch (event.type) {
        case ButtonPress: {
            // A second button during a drag would leave the outline drawn where it is.
            if (dragging) return;
            dragOutline = stored;
            const int px = event.xbutton.x;
            const int py = event.xbutton.y;
            if (InsideOutline(stored, px, py)) {
                grabX = px - stored.x;
                grabY = py - stored.y;
                dragging = 1;
                dragOverview = this;
            }
            break;
        }
        case MotionNotify:
            if (dragging && dragOverview == this) {
                MoveDragOutline(event.xmotion.x, event.xmotion.y);
            } else if (window != 0) {
                if (InsideOutline(stored, event.xmotion.x, event.xmotion.y)) {
                    XDefineCursor(display, window, moveCursor);
                } else {
                    XUndefineCursor(display, window);
                }
            }
            break;
        case ButtonRelease:
            if (dragging && dragOverview == this) {
                MoveDragOutline(event.xbutton.x, event.xbutton.y);
                dragging = 0;
                dragOverview = nullptr;
                ScrollTo(dragOutline.x, dragOutline.y);
            }
            if (dragOverview == this || dragOverview == nullptr) {
                dragging = 0;
                dragOverview = nullptr;
            }
            break;
        default:
            break;
    }
}

void OverviewWindow::ShellDestroyed() {
    if (dragOverview == this) {
        dragOverview = nullptr;
        dragging = 0;
    }
    shell = nullptr;
    viewArea = nullptr;
    window = 0;
}

void OverviewWindow::ExposeCallback(Widget, XtPointer self, XtPointer) {
    static_cast<OverviewWindow*>(self)->Redraw();
}

void OverviewWindow::ResizeCallback(Widget, XtPointer self, XtPointer) {
    static_cast<OverviewWindow*>(self)->Resize();
}

void OverviewWindow::CloseCallback(Widget, XtPointer self, XtPointer) {
    delete static_cast<OverviewWindow*>(self);
}

void OverviewWindow::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    static_cast<OverviewWindow*>(self)->ShellDestroyed();
}
