#pragma once

// The one in-process record of a drag, its two static lists, the target atoms, the drag icon and
// every Motif procedure of a drag: the motion callback, the drop procedures of the working area
// and of the library, the convert procedure, the two transfer procedures and the finish
// callback. All visible feedback is drawn on the root window through the drag display; Motif only
// carries the protocol, and the bytes it transfers name the drag (a serial number) but are never
// taken as addresses: both sides work on the record that lives in this process.

#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

#include <cstdint>

#include "model/data/PtrArray.h"

class AElement;
class ArchitectureWindow;
class Connection;

enum DragKind : int {
    kDragCopy = 0,
    kDragMove = 1,
    kDragConnectionEnd = 2,
};

enum DragStatus : int {
    kDragTaken = 0,
    kDragNotTaken = 1,
    kDragRefusedCopy = 2, // refused although it was a real drop with the copy operation
};

struct DragContext {
    Widget widget;                     // the top-level application shell
    ArchitectureWindow* source;        // where the drag started
    ArchitectureWindow* destination;   // the source until a drop site accepts the drop
    int kind;                          // DragKind
    PtrArray<AElement>* elements;      // the dragged elements (kind 2: the source's HELP_ELEMENT)
    PtrArray<Connection>* connections; // the connections that travel with them
    int startX, startY;                // pointer in the source's working area at the start
    int status;                        // DragStatus; non-zero: not taken
    Widget sourceIcon;                 // the drag icon, destroyed when the drag ends
    uint32_t serial;                   // what the transfer carries to name this drag
};

// What an accepted drop hands to its transfer.
struct DropInfo {
    ArchitectureWindow* destination;
    int x, y;
};

// Start-up, after the toolkit: the two target atoms, then the drag-icon bitmap.
void InitDragAndDrop();
Atom InternElementTargetAtom();
Atom InternConnectionTargetAtom();
Atom GetElementTargetAtom();
Atom GetConnectionTargetAtom();

// A fresh record (drag element list emptied, status not taken) that becomes the current one;
// the caller fills kind, windows, start and lists.
DragContext* NewDragContext();
// Releases the current record and clears the drag-in-progress flag.
void FreeDragContext();
// The current record while a drag is in progress, else null.
DragContext* GetDragContext();
// The invisible 1 x 1 Motif drag icon "drag_icon" on the top-level shell.
Widget CreateDragIcon();

// The common start of every drag: marks every dragged element and begins its drag image at the
// pointer (source working-area coordinates), draws the carried connections on the root window
// (unless the caller did), flushes the drag display and starts the Motif drag from the widget
// with the press event. 1 started, 0 when Motif refused (the record is undone and freed).
int StartDrag(Widget from, XEvent* press, DragContext& context, Atom target, int px, int py,
              int drawConnections);

// Registers a drawing widget (its userData is its window) as a drop site.
void RegisterAreaDropSite(Widget area);
void RegisterLibraryDropSite(Widget area);

// The Motif procedures.
Boolean DragConvertProc(Widget widget, Atom* selection, Atom* target, Atom* typeReturn,
                        XtPointer* valueReturn, unsigned long* lengthReturn, int* formatReturn,
                        unsigned long* maxLength, XtPointer clientData, XtRequestId* requestId);
void AreaDropProc(Widget widget, XtPointer clientData, XtPointer callData);
void LibraryDropProc(Widget widget, XtPointer clientData, XtPointer callData);
void AreaTransferProc(Widget widget, XtPointer dropInfo, Atom* selection, Atom* type,
                      XtPointer value, unsigned long* length, int* format);
void LibraryTransferProc(Widget widget, XtPointer dropInfo, Atom* selection, Atom* type,
                         XtPointer value, unsigned long* length, int* format);
void DragMotionCallback(Widget widget, XtPointer context, XtPointer callData);
void DragDropFinishCallback(Widget widget, XtPointer clientData, XtPointer callData);

// The steps of the procedures above without Motif, so that they can be driven directly: the
// element placement and checks of a working-area drop (1 accepted), its transfer, and the undo
// and redraw of the finish.
int AcceptAreaDrop(DragContext& context, ArchitectureWindow& destination, int x, int y);
void TransferToArea(DragContext& context, const DropInfo& info);
int AcceptLibraryDrop(DragContext& context, ArchitectureWindow& library, int x, int y);
void TransferToLibrary(DragContext& context, const DropInfo& info);
void FinishDrag(DragContext& context);
