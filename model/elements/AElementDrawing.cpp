// How an element looks and is handled on a working area: icons, marks, frames, pins and the drag
// image. Pixmaps are made on first use, so that an element needs no display before it draws.

#include <X11/Xlib.h>

#include <algorithm>
#include <cstring>

#include "model/elements/AElement.h"
#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/elements/IconGeometry.h"

void AElement::UpdateIcon() {
    FreeOwnIcon();
    // A marked icon shows the old name and size: make it again when it is next drawn.
    FreeMarkedIcon();
    bool own = std::strcmp(name.c_str(), GetTypeName(type)) != 0 ||
               inputCount != GetDefaultInputs() || outputCount != GetDefaultOutputs();
    if (own) {
        IconSize(type, inputCount, outputCount, width, height);
        ownIcon = 1;
    } else {
        width = GetIconWidth();
        height = GetIconHeight();
        ownIcon = 0;
    }
}

int AElement::StockIconWidth(uint32_t stockType, int inputs, int outputs) {
    int iconWidth, iconHeight;
    IconSize(stockType, inputs, outputs, iconWidth, iconHeight);
    return iconWidth;
}

int AElement::StockIconHeight(uint32_t stockType, int inputs, int outputs) {
    int iconWidth, iconHeight;
    IconSize(stockType, inputs, outputs, iconWidth, iconHeight);
    return iconHeight;
}

Pixmap AElement::StockIconPixmap(uint32_t stockType, int inputs, int outputs) {
    return GetStockIcon(stockType, inputs, outputs);
}

Pixmap AElement::CurrentIcon() {
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    if (g == nullptr) return 0;
    if (iconGeneration != g->generation) {
        // Made with resources that are gone: their ids mean nothing any more.
        icon = 0;
        markedIcon = 0;
        iconGeneration = g->generation;
    }
    if (marked) {
        if (markedIcon == 0) {
            int iconWidth, iconHeight;
            CreateElementIcon(type, markedIcon, g->markedIconGC, name.c_str(), iconWidth,
                              iconHeight, inputCount, outputCount);
        }
        return markedIcon;
    }
    if (ownIcon) {
        if (icon == 0) {
            CreateElementIcon(type, icon, g->iconGC, name.c_str(), width, height, inputCount,
                              outputCount);
        }
        return icon;
    }
    return GetIconPixmap();
}

void AElement::FreeOwnIcon() {
    FreeElementPixmap(icon, iconGeneration);
}

void AElement::FreeMarkedIcon() {
    FreeElementPixmap(markedIcon, iconGeneration);
}

void AElement::Draw() {
    if (display == nullptr || window == 0) return;
    Pixmap pixmap = CurrentIcon();
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    if (pixmap == 0 || g == nullptr) return;
    XCopyArea(display, pixmap, window, g->iconGC, 0, 0, width + 1, height + 1, x, y);
    if (frameShown && g->frameGC != nullptr) {
        XDrawRectangle(display, window, g->frameGC, x, y, width, height);
    }
}

void AElement::Mark() {
    if (marked) return;
    marked = 1;
}

void AElement::Unmark() {
    if (!marked) return;
    marked = 0;
    FreeMarkedIcon();
}

void AElement::ToggleMark() {
    if (marked) {
        Unmark();
    } else {
        Mark();
    }
}

void AElement::ShowFrame() {
    if (frameShown) return;
    frameShown = 1;
    const ArchitectureGraphics* g = display != nullptr ? GetArchitectureGraphics() : nullptr;
    if (g != nullptr && window != 0 && g->frameGC != nullptr) {
        XDrawRectangle(display, window, g->frameGC, x, y, width, height);
    }
}

void AElement::HideFrame() {
    if (!frameShown) return;
    frameShown = 0;
    const ArchitectureGraphics* g = display != nullptr ? GetArchitectureGraphics() : nullptr;
    if (g != nullptr && window != 0 && g->frameGC != nullptr) {
        XDrawRectangle(display, window, g->frameGC, x, y, width, height);
    }
}

int AElement::PinAt(int px, int py) const {
    return ::PinAt(px, py, width, inputCount, outputCount, firstPinOffset);
}

void AElement::DrawPinHighlight(int pinCode, int on) {
    int bx, by;
    if (!PinBoxOrigin(pinCode, width, inputCount, outputCount, bx, by, firstPinOffset)) return;
    const ArchitectureGraphics* g = display != nullptr ? GetArchitectureGraphics() : nullptr;
    if (g == nullptr || window == 0) return;
    bx += x;
    by += y;
    if (on) {
        if (g->pinHighlightGC != nullptr) {
            XFillRectangle(display, window, g->pinHighlightGC, bx, by, kPinBoxWidth + 1,
                           kPinBoxHeight + 1);
        }
    } else {
        XDrawRectangle(display, window, g->iconGC, bx, by, kPinBoxWidth, kPinBoxHeight);
        XClearArea(display, window, bx + 1, by + 1, kPinBoxWidth - 1, kPinBoxHeight - 1, False);
    }
}

int AElement::Contains(int px, int py) const {
    return IconContains(x, y, width, height, px, py);
}

int AElement::Intersects(int a, int b, int c, int d) const {
    return IconIntersects(x, y, width, height, a, b, c, d);
}

void AElement::GetGeometry(int& gx, int& gy, int& gwidth, int& gheight) const {
    gx = x;
    gy = y;
    gwidth = width;
    gheight = height;
}

Window AElement::SetOwner(Architecture* newOwner, DrawingTarget target) {
    owner = newOwner;
    if (owner == nullptr) return 0;
    if (target.display == nullptr)
        target.window = GetElementUi().GetWorkingArea(owner, target.display);
    display = target.display;
    window = target.window;
    return window;
}

void AElement::BeginDrag(int px, int py) {
    SetGrabOffset(px, py);
    if (type == kHelpElement) return;
    const ElementScreens screens = GetElementUi().GetScreens();
    Display* dragDisplay = screens.dragDisplay;
    Window root = screens.dragRoot;
    if (dragDisplay == nullptr || root == 0 || display == nullptr || window == 0) return;
    FreeDragBacking();
    dragBacking = XCreatePixmap(dragDisplay, root, width + 1, height + 1,
                                DefaultDepth(dragDisplay, DefaultScreen(dragDisplay)));
    int rx, ry;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), px, py, &rx, &ry, &child);
    SaveDragBackground(rx, ry);
    DrawDragImage(rx, ry);
    XFlush(dragDisplay);
}

void AElement::SaveDragBackground(int rx, int ry) {
    dragX = rx;
    dragY = ry;
    const ElementScreens screens = GetElementUi().GetScreens();
    Display* dragDisplay = screens.dragDisplay;
    if (dragDisplay == nullptr || dragBacking == 0 || screens.dragRootGC == nullptr) return;
    XCopyArea(dragDisplay, screens.dragRoot, dragBacking, screens.dragRootGC, rx - grabX,
              ry - grabY, width + 1, height + 1, 0, 0);
}

void AElement::RestoreDragBackground() {
    const ElementScreens screens = GetElementUi().GetScreens();
    Display* dragDisplay = screens.dragDisplay;
    if (dragDisplay == nullptr || dragBacking == 0 || screens.dragRootGC == nullptr) return;
    XCopyArea(dragDisplay, dragBacking, screens.dragRoot, screens.dragRootGC, 0, 0, width + 1,
              height + 1, dragX - grabX, dragY - grabY);
}

void AElement::DrawDragImage(int rx, int ry) {
    const ElementScreens screens = GetElementUi().GetScreens();
    Display* dragDisplay = screens.dragDisplay;
    if (dragDisplay == nullptr || screens.dragRootGC == nullptr) return;
    Pixmap image = CurrentIcon();
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    if (image == 0 || g == nullptr) return;
    // The icon was made on the toolkit's connection; it must reach the server before the drag
    // connection copies it.
    XSync(g->display, False);
    XCopyArea(dragDisplay, image, screens.dragRoot, screens.dragRootGC, 0, 0, width + 1, height + 1,
              rx - grabX, ry - grabY);
}

void AElement::FreeDragBacking() {
    if (dragBacking == 0) return;
    Display* dragDisplay = GetElementUi().GetScreens().dragDisplay;
    if (dragDisplay != nullptr) XFreePixmap(dragDisplay, dragBacking);
    dragBacking = 0;
}
