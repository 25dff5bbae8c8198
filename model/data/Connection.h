#pragma once

// A wire from an output pin of one element (its source) to an input pin of another (its target).
// It links itself into both pin slots, knows its two end points on the working area, draws itself
// there as an XOR line, and during a drag across the whole screen on the drag display's root
// window. Its owner is the architecture whose connection list holds it.
//
// Invariant while linked: the source's output slot of the source pin and the target's input slot
// of the target pin both point at the connection. XOR drawing stays consistent only while every
// Draw is matched by an Erase; the drawn flags make both idempotent.

#include <cstdint>

#include "model/data/BlockPool.h"
#include "model/data/PtrArray.h"
#include "model/elements/XTypes.h"

class AElement;
class Architecture;

class Connection : public PooledObject {
public:
    // One pin must be an output (odd code) and the other an input (even code) of the element
    // given with it; callers check that and the plane sizes. The output's element becomes the
    // source. With draw set the line is drawn on the owner's working area. The creator adds the
    // connection to the owner's list.
    Connection(Architecture* owner, AElement* a, int pinA, AElement* b, int pinB, int draw);
    // Erases the line, unlinks both pins (where they still hold this connection) and leaves the
    // owner's list.
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Moves the connection to another owner and its working area (null: none).
    void SetArchitecture(Architecture* newOwner);

    void Draw();
    void Erase();
    // A white line over the XOR one; the next Draw XORs over it.
    void DrawHighlight();

    // Clips the root drawing to the visible part of the working area, unless both ends move.
    void SetRootClip(const PtrArray<AElement>& moving);
    void DrawOnRoot();
    void EraseOnRoot();
    // Recomputes both ends, then DrawOnRoot.
    void MoveOnRoot();
    // Recomputes both ends from the elements' pin positions; draws nothing.
    void UpdateEnds();
    // Moves one end: an odd pin replaces the source, an even pin the target; draws nothing.
    void Reconnect(AElement* element, int pin);

    AElement* GetSource() const { return source; }
    AElement* GetTarget() const { return target; }
    int GetSourcePin() const { return sourcePin; }
    int GetTargetPin() const { return targetPin; }
    Architecture* GetArchitecture() const { return owner; }
    // Starts loading the two ends and their pins, for the event queue.
    __attribute__((always_inline)) void PrefetchEnds() const {
        __builtin_prefetch(&source);
        __builtin_prefetch(&targetPin);
    }
    int IsDrawn() const { return drawn; }
    int IsDrawnOnRoot() const { return drawnOnRoot; }
    void GetSourcePoint(int& px, int& py) const {
        px = sourceX;
        py = sourceY;
    }
    void GetTargetPoint(int& px, int& py) const {
        px = targetX;
        py = targetY;
    }

private:
    void Line(Display* lineDisplay, Drawable drawable, GC gc, int dx, int dy) const;
    bool DrawRootLine();
    void Link(AElement* element, int pin);
    void Unlink(AElement* element, int pin);

    // What a latch and a step read come first.
    AElement* source;
    AElement* target;
    int sourcePin; // odd: an output
    int targetPin; // even: an input
    uint32_t drawn;
    uint32_t drawnOnRoot;
    int32_t rootOffsetX, rootOffsetY; // the working area's origin on the root window
    bool rootClipped;
    int32_t clipX, clipY, clipWidth, clipHeight; // visible part of the working area, on the root
    Display* display;
    Window window;
    bool bound; // display and window follow the owner's working area
    int32_t sourceX, sourceY, targetX, targetY;
    Architecture* owner;
};
