#include "model/data/Connection.h"

#include <X11/Xlib.h>

#include <iostream>

#include "model/data/Architecture.h"
#include "model/elements/AElement.h"
#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PinCode.h"

namespace {

bool HasPin(const AElement* element, int pin) {
    if (element == nullptr) return false;
    int index = PinIndex(pin);
    if (IsOutputPin(pin)) return index < element->GetOutputCount();
    if (IsInputPin(pin)) return index < element->GetInputCount();
    return false;
}

} // namespace

Connection::Connection(Architecture* ownerArchitecture, AElement* a, int pinA, AElement* b,
                       int pinB, int draw)
    : source(nullptr), target(nullptr), sourcePin(0), targetPin(0), drawn(0), drawnOnRoot(0),
      rootOffsetX(0), rootOffsetY(0), rootClipped(false), clipX(0), clipY(0), clipWidth(0),
      clipHeight(0), display(nullptr), window(0), bound(false), sourceX(0), sourceY(0), targetX(0),
      targetY(0), owner(ownerArchitecture) {
    if (IsOutputPin(pinA) && IsInputPin(pinB)) {
        source = a;
        sourcePin = pinA;
        target = b;
        targetPin = pinB;
    } else {
        source = b;
        sourcePin = pinB;
        target = a;
        targetPin = pinA;
    }
    if (!IsOutputPin(sourcePin) || !IsInputPin(targetPin) || !HasPin(source, sourcePin) ||
        !HasPin(target, targetPin)) {
        // Left unlinked: the ends stay at the origin and nothing points at the connection.
        std::cerr << "Connection::Connection: pins " << pinA << " and " << pinB
                  << " are not an output and an input of the elements" << std::endl;
        source = nullptr;
        target = nullptr;
        sourcePin = 0;
        targetPin = 0;
        return;
    }
    Link(source, sourcePin);
    Link(target, targetPin);
    UpdateEnds();
    if (draw && owner != nullptr) {
        bound = true;
        window = GetElementUi().GetWorkingArea(owner, display);
        Draw();
    }
}

Connection::~Connection() {
    Erase();
    EraseOnRoot();
    Unlink(source, sourcePin);
    Unlink(target, targetPin);
    if (owner != nullptr) owner->GetConnections().Remove(this);
}

void Connection::Link(AElement* element, int pin) {
    if (IsOutputPin(pin)) {
        element->outputConnections[PinIndex(pin)] = this;
    } else {
        element->inputConnections[PinIndex(pin)] = this;
    }
}

void Connection::Unlink(AElement* element, int pin) {
    // A slot that another connection has taken over since is left to that one.
    if (!HasPin(element, pin)) return;
    std::vector<Connection*>& slots =
        IsOutputPin(pin) ? element->outputConnections : element->inputConnections;
    if (slots[PinIndex(pin)] == this) slots[PinIndex(pin)] = nullptr;
}

void Connection::SetArchitecture(Architecture* newOwner) {
    owner = newOwner;
    if (owner == nullptr) return;
    bound = true;
    window = GetElementUi().GetWorkingArea(owner, display);
}

void Connection::Line(Display* lineDisplay, Drawable drawable, GC gc, int dx, int dy) const {
    XDrawLine(lineDisplay, drawable, gc, sourceX + dx, sourceY + dy, targetX + dx, targetY + dy);
}

void Connection::Draw() {
    if (drawn || source == nullptr) return;
    if (bound && window == 0 && owner != nullptr) {
        // The working area may have got its window since the connection was made.
        window = GetElementUi().GetWorkingArea(owner, display);
    }
    if (display == nullptr || window == 0) return;
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    if (g == nullptr || g->connectionGC == nullptr) return;
    Line(display, window, g->connectionGC, 0, 0);
    drawn = 1;
}

void Connection::Erase() {
    if (!drawn) return;
    drawn = 0;
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    if (g == nullptr || g->connectionGC == nullptr || display == nullptr || window == 0) return;
    Line(display, window, g->connectionGC, 0, 0);
}

void Connection::DrawHighlight() {
    drawn = 0;
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    if (g == nullptr || g->connectionHighlightGC == nullptr || display == nullptr || window == 0 ||
        source == nullptr) {
        return;
    }
    Line(display, window, g->connectionHighlightGC, 0, 0);
}

void Connection::SetRootClip(const PtrArray<AElement>& moving) {
    rootClipped = false;
    // The copies of a copy drag are wired without drawing on the working area: their wire still
    // follows them on the screen, so it takes the place of its architecture's working area.
    Display* areaDisplay = display;
    Window area = window;
    if (area == 0 && owner != nullptr) area = GetElementUi().GetWorkingArea(owner, areaDisplay);
    if (areaDisplay == nullptr || area == 0) return;
    Window root = DefaultRootWindow(areaDisplay);
    Window child;
    int rx = 0, ry = 0;
    XTranslateCoordinates(areaDisplay, area, root, 0, 0, &rx, &ry, &child);
    rootOffsetX = rx;
    rootOffsetY = ry;
    if (moving.Find(source) >= 0 && moving.Find(target) >= 0) return;
    // The working area's parent is the visible part of it (the scrolled window's clip window).
    Window treeRoot, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(areaDisplay, area, &treeRoot, &parent, &children, &count)) return;
    if (children != nullptr) XFree(children);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(areaDisplay, parent, &attributes)) return;
    int px = 0, py = 0;
    XTranslateCoordinates(areaDisplay, parent, root, 0, 0, &px, &py, &child);
    clipX = px;
    clipY = py;
    clipWidth = attributes.width;
    clipHeight = attributes.height;
    rootClipped = true;
}

bool Connection::DrawRootLine() {
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    ElementUi& ui = GetElementUi();
    if (g == nullptr || g->connectionRootGC == nullptr || g->dragDisplay == nullptr) return false;
    Display* dragDisplay = g->dragDisplay;
    GC gc = g->connectionRootGC;
    // The one root context serves every connection: each applies its own clip before drawing.
    if (rootClipped) {
        XRectangle clip = {static_cast<short>(clipX), static_cast<short>(clipY),
                           static_cast<unsigned short>(clipWidth),
                           static_cast<unsigned short>(clipHeight)};
        XSetClipRectangles(dragDisplay, gc, 0, 0, &clip, 1, Unsorted);
    } else {
        XSetClipMask(dragDisplay, gc, None);
    }
    Line(dragDisplay, ui.GetScreens().dragRoot, gc, rootOffsetX, rootOffsetY);
    return true;
}

void Connection::DrawOnRoot() {
    if (drawnOnRoot || source == nullptr) return;
    if (DrawRootLine()) drawnOnRoot = 1;
}

void Connection::EraseOnRoot() {
    if (!drawnOnRoot) return;
    DrawRootLine();
    drawnOnRoot = 0;
}

void Connection::MoveOnRoot() {
    UpdateEnds();
    DrawOnRoot();
}

void Connection::UpdateEnds() {
    if (source == nullptr || target == nullptr) return;
    source->GetPinPosition(sourcePin, sourceX, sourceY);
    target->GetPinPosition(targetPin, targetX, targetY);
}

void Connection::Reconnect(AElement* element, int pin) {
    if (source == nullptr || !HasPin(element, pin)) {
        std::cerr << "Connection::Reconnect: no pin " << pin << " to move to" << std::endl;
        return;
    }
    if (IsOutputPin(pin)) {
        Unlink(source, sourcePin);
        source = element;
        sourcePin = pin;
    } else {
        Unlink(target, targetPin);
        target = element;
        targetPin = pin;
    }
    Link(element, pin);
    UpdateEnds();
}
