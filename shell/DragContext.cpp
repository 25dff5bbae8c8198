#include "shell/DragContext.h"

#include <Xm/AtomMgr.h>
#include <Xm/DragC.h>
#include <Xm/DragDrop.h>
#include <Xm/DragIcon.h>
#include <Xm/DropSMgr.h>
#include <Xm/DropTrans.h>

#include <iostream>

#include "model/data/Connection.h"
#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"
#include "model/elements/AHelpElem.h"
#include "model/elements/DropRules.h"
#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "shell/AMacroElem.h"
#include "shell/ArchitectureWindow.h"
#include "shell/DragDisplay.h"
#include "shell/LibraryWindow.h"
#include "shell/PinHighlight.h"
#include "shell/Startup.h"

namespace {

// The two lists every record points at; they live for the whole run.
PtrArray<AElement> dragElements;
PtrArray<Connection> dragConnections;

Atom elementTarget = 0;
Atom connectionTarget = 0;
Pixmap dragIconBitmap = 0;

bool dragInProgress = false;
DragContext* current = nullptr;
uint32_t lastSerial = 0;
DropInfo dropInfo = {nullptr, 0, 0};

// The transfer carries nine 32-bit words: the serial, then the record's plain numbers.
const unsigned long kTransferWords = 9;

void FlushDragDisplay() {
    if (GetDragDisplay() != nullptr) XFlush(GetDragDisplay());
}

void EraseCarriedOnRoot(DragContext& context) {
    for (int i = 0; i < context.connections->GetCount(); i++) {
        (*context.connections)[i]->EraseOnRoot();
    }
    FlushDragDisplay();
}

// The elements of a macro stay with it; whatever is simulated inside goes too.
void Unschedule(AElement& element) {
    GetElementUi().RemoveFromQueue(&element);
    auto* inner = dynamic_cast<Architecture*>(&element);
    if (inner == nullptr) return;
    PtrArray<AElement>& elements = inner->GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        Unschedule(*elements[i]);
}

void StartTransfer(Widget dragContext, XtPointer client, XtSelectionCallbackProc proc) {
    XmDropTransferEntryRec transfer = {client, elementTarget};
    Arg args[3];
    int n = 0;
    XtSetArg(args[n], XmNdropTransfers, &transfer);
    n++;
    XtSetArg(args[n], XmNnumDropTransfers, 1);
    n++;
    XtSetArg(args[n], XmNtransferProc, proc);
    n++;
    XmDropTransferStart(dragContext, args, static_cast<Cardinal>(n));
}

void RefuseTransfer(Widget dragContext) {
    Arg args[2];
    XtSetArg(args[0], XmNtransferStatus, XmTRANSFER_FAILURE);
    XtSetArg(args[1], XmNnumDropTransfers, 0);
    XmDropTransferStart(dragContext, args, 2);
}

bool IsCopyDrop(const XmDropProcCallbackStruct& drop) {
    return drop.dropAction == XmDROP && drop.operation == XmDROP_COPY;
}

void Refuse(const XmDropProcCallbackStruct& drop) {
    if (current != nullptr) {
        current->status = IsCopyDrop(drop) ? kDragRefusedCopy : kDragNotTaken;
    }
    RefuseTransfer(drop.dragContext);
}

ArchitectureWindow* WindowOf(Widget widget) {
    XtPointer data = nullptr;
    XtVaGetValues(widget, XmNuserData, &data, nullptr);
    return static_cast<ArchitectureWindow*>(data);
}

// True when the transferred words name the current drag.
bool NamesCurrentDrag(Atom* type, XtPointer value, unsigned long* length, int* format) {
    if (current == nullptr || type == nullptr || *type != elementTarget || value == nullptr ||
        length == nullptr || *length != kTransferWords || format == nullptr || *format != 32) {
        return false;
    }
    const long* words = static_cast<const long*>(value);
    return static_cast<uint32_t>(words[0]) == current->serial;
}

void Register(Widget area, XtCallbackProc proc) {
    Atom targets[1] = {elementTarget};
    Arg args[5];
    int n = 0;
    XtSetArg(args[n], XmNimportTargets, targets);
    n++;
    XtSetArg(args[n], XmNnumImportTargets, 1);
    n++;
    XtSetArg(args[n], XmNdropSiteOperations, XmDROP_COPY);
    n++;
    XtSetArg(args[n], XmNanimationStyle, XmDRAG_UNDER_NONE);
    n++;
    XtSetArg(args[n], XmNdropProc, proc);
    n++;
    XmDropSiteRegister(area, args, static_cast<Cardinal>(n));
}

} // namespace

Atom InternElementTargetAtom() {
    Widget top = GetTopLevelShell();
    if (top != nullptr) {
        elementTarget =
            XmInternAtom(XtDisplay(top), const_cast<char*>("QUIRAN_AELEMENT_TARGET"), False);
    }
    return elementTarget;
}

Atom InternConnectionTargetAtom() {
    Widget top = GetTopLevelShell();
    if (top != nullptr) {
        connectionTarget =
            XmInternAtom(XtDisplay(top), const_cast<char*>("QUIRAN_VERBINDG_TARGET"), False);
    }
    return connectionTarget;
}

Atom GetElementTargetAtom() {
    return elementTarget;
}

Atom GetConnectionTargetAtom() {
    return connectionTarget;
}

void InitDragAndDrop() {
    InternElementTargetAtom();
    InternConnectionTargetAtom();
    Widget top = GetTopLevelShell();
    if (top == nullptr) return;
    static const char kZero[1] = {0};
    dragIconBitmap =
        XCreateBitmapFromData(XtDisplay(top), RootWindowOfScreen(XtScreen(top)), kZero, 1, 1);
}

DragContext* NewDragContext() {
    if (current != nullptr) {
        std::cerr << "NewDragContext: a drag is still in progress" << std::endl;
        delete current;
    }
    dragElements.Reset();
    dragConnections.Reset();
    current = new DragContext{GetTopLevelShell(), nullptr,          nullptr,     kDragCopy,
                              &dragElements,      &dragConnections, 0,           0,
                              kDragNotTaken,      nullptr,          ++lastSerial};
    dragInProgress = true;
    return current;
}

void FreeDragContext() {
    delete current;
    current = nullptr;
    dragInProgress = false;
}

DragContext* GetDragContext() {
    return dragInProgress ? current : nullptr;
}

Widget CreateDragIcon() {
    Widget top = GetTopLevelShell();
    if (top == nullptr) return nullptr;
    Arg args[8];
    int n = 0;
    XtSetArg(args[n], XmNhotX, 0);
    n++;
    XtSetArg(args[n], XmNhotY, 0);
    n++;
    XtSetArg(args[n], XmNwidth, 1);
    n++;
    XtSetArg(args[n], XmNheight, 1);
    n++;
    XtSetArg(args[n], XmNforeground, WhitePixelOfScreen(XtScreen(top)));
    n++;
    XtSetArg(args[n], XmNbackground, BlackPixelOfScreen(XtScreen(top)));
    n++;
    XtSetArg(args[n], XmNpixmap, dragIconBitmap);
    n++;
    XtSetArg(args[n], XmNmask, dragIconBitmap);
    n++;
    return XmCreateDragIcon(top, const_cast<char*>("drag_icon"), args, static_cast<Cardinal>(n));
}

int StartDrag(Widget from, XEvent* press, DragContext& context, Atom target, int px, int py,
              int drawConnections) {
    for (int i = 0; i < context.elements->GetCount(); i++) {
        AElement* element = (*context.elements)[i];
        element->Mark();
        element->BeginDrag(px, py);
    }
    if (drawConnections) {
        for (int i = 0; i < context.connections->GetCount(); i++) {
            Connection* connection = (*context.connections)[i];
            connection->SetRootClip(*context.elements);
            connection->DrawOnRoot();
        }
    }
    FlushDragDisplay();
    context.sourceIcon = CreateDragIcon();
    Atom targets[1] = {target};
    Arg args[10];
    int n = 0;
    XtSetArg(args[n], XmNsourceCursorIcon, context.sourceIcon);
    n++;
    XtSetArg(args[n], XmNexportTargets, targets);
    n++;
    XtSetArg(args[n], XmNnumExportTargets, 1);
    n++;
    XtSetArg(args[n], XmNdragOperations, XmDROP_COPY);
    n++;
    XtSetArg(args[n], XmNconvertProc, DragConvertProc);
    n++;
    XtSetArg(args[n], XmNblendModel, XmBLEND_JUST_SOURCE);
    n++;
    XtSetArg(args[n], XmNclientData, static_cast<XtPointer>(&context));
    n++;
    // Given at the start: the drag may run before XmDragStart returns.
    XtCallbackRec motion[2] = {{DragMotionCallback, static_cast<XtPointer>(&context)},
                               {nullptr, nullptr}};
    XtCallbackRec finish[2] = {{DragDropFinishCallback, nullptr}, {nullptr, nullptr}};
    XtSetArg(args[n], XmNdragMotionCallback, motion);
    n++;
    XtSetArg(args[n], XmNdragDropFinishCallback, finish);
    n++;
    Widget drag = XmDragStart(from, press, args, static_cast<Cardinal>(n));
    if (drag == nullptr) {
        std::cerr << "StartDrag: the toolkit did not start the drag" << std::endl;
        if (context.sourceIcon != nullptr) XtDestroyWidget(context.sourceIcon);
        context.sourceIcon = nullptr;
        FinishDrag(context);
        FreeDragContext();
        return 0;
    }
    return 1;
}

void RegisterAreaDropSite(Widget area) {
    if (area != nullptr) Register(area, AreaDropProc);
}

void RegisterLibraryDropSite(Widget area) {
    if (area != nullptr) Register(area, LibraryDropProc);
}

Boolean DragConvertProc(Widget, Atom*, Atom* target, Atom* typeReturn, XtPointer* valueReturn,
                        unsigned long* lengthReturn, int* formatReturn, unsigned long*, XtPointer,
                        XtRequestId*) {
    if (target == nullptr || *target != elementTarget || current == nullptr) return False;
    // Format 32 items are longs in memory; the toolkit frees the block.
    auto* words = reinterpret_cast<long*>(XtMalloc(kTransferWords * sizeof(long)));
    const long values[kTransferWords] = {
        static_cast<long>(current->serial),
        0,
        0,
        current->kind,
        current->elements->GetCount(),
        current->connections->GetCount(),
        current->startX,
        current->startY,
        current->status,
    };
    for (unsigned long i = 0; i < kTransferWords; i++)
        words[i] = values[i];
    *typeReturn = elementTarget;
    *valueReturn = words;
    *lengthReturn = kTransferWords;
    *formatReturn = 32;
    return True;
}

void DragMotionCallback(Widget widget, XtPointer client, XtPointer callData) {
    auto* context = static_cast<DragContext*>(client);
    auto* motion = static_cast<XmDragMotionCallbackStruct*>(callData);
    if (context == nullptr || motion == nullptr || context != current) return;
    // The toolkit holds the server during a drag; the drag display could not draw.
    XUngrabServer(XtDisplay(widget));
    ArchitectureWindow* source = context->source;
    Widget area = source != nullptr ? source->GetCadArea() : nullptr;
    if (area == nullptr || XtWindow(area) == 0) return;
    Window child;
    int x = 0, y = 0;
    XTranslateCoordinates(XtDisplay(area), RootWindowOfScreen(XtScreen(area)), XtWindow(area),
                          motion->x, motion->y, &x, &y, &child);
    PtrArray<AElement>& elements = *context->elements;
    PtrArray<Connection>& connections = *context->connections;
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->EraseOnRoot();
    if (context->kind == kDragConnectionEnd) {
        TrackPinHighlight(*source, x, y);
        if (elements.GetCount() > 0) elements[0]->SetPosition(x, y);
    } else {
        for (int i = 0; i < elements.GetCount(); i++)
            elements[i]->RestoreDragBackground();
        for (int i = 0; i < elements.GetCount(); i++) {
            elements[i]->SaveDragBackground(motion->x, motion->y);
        }
        for (int i = 0; i < elements.GetCount(); i++) {
            elements[i]->MoveToPointer(x, y);
            elements[i]->DrawDragImage(motion->x, motion->y);
        }
    }
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->MoveOnRoot();
    FlushDragDisplay();
}

int AcceptAreaDrop(DragContext& context, ArchitectureWindow& destination, int x, int y) {
    EraseCarriedOnRoot(context);
    if (context.kind == kDragConnectionEnd) {
        AHelpElem* end = context.source != nullptr ? context.source->GetConnectionEnd() : nullptr;
        AElement* element = nullptr;
        int pin = 0;
        return end != nullptr && CheckConnectionEndDrop(*context.source, destination, *end, x, y,
                                                        element, pin) == kDropAccepted;
    }
    return CheckElementDrop(destination, *context.elements, x, y, destination.GetRasterize(),
                            destination.GetGridX(), destination.GetGridY(), kAreaWidth, kAreaHeight,
                            context.source == &destination) == kDropAccepted;
}

void AreaDropProc(Widget widget, XtPointer, XtPointer callData) {
    auto* drop = static_cast<XmDropProcCallbackStruct*>(callData);
    if (drop == nullptr) return;
    ArchitectureWindow* destination = WindowOf(widget);
    if (!IsCopyDrop(*drop) || current == nullptr || destination == nullptr ||
        !AcceptAreaDrop(*current, *destination, drop->x, drop->y)) {
        Refuse(*drop);
        return;
    }
    current->destination = destination;
    dropInfo = {destination, drop->x, drop->y};
    StartTransfer(drop->dragContext, &dropInfo, AreaTransferProc);
}

int AcceptLibraryDrop(DragContext& context, ArchitectureWindow& library, int x, int y) {
    if (context.source == &library) return 0;
    EraseCarriedOnRoot(context);
    PtrArray<AElement>& elements = *context.elements;
    if (elements.GetCount() > 0) elements[0]->MoveToPointer(x, y);
    // A macro port belongs to its macro: in the library it would leave the macro a pointer to
    // an element that is not in its window.
    return context.kind != kDragConnectionEnd && elements.GetCount() == 1 &&
           !IsMacroPort(*elements[0]);
}

void LibraryDropProc(Widget widget, XtPointer, XtPointer callData) {
    auto* drop = static_cast<XmDropProcCallbackStruct*>(callData);
    if (drop == nullptr) return;
    ArchitectureWindow* library = WindowOf(widget);
    if (!IsCopyDrop(*drop) || current == nullptr || library == nullptr ||
        !AcceptLibraryDrop(*current, *library, drop->x, drop->y)) {
        Refuse(*drop);
        return;
    }
    current->destination = library;
    dropInfo = {library, drop->x, drop->y};
    StartTransfer(drop->dragContext, &dropInfo, LibraryTransferProc);
}

void TransferToArea(DragContext& context, const DropInfo& info) {
    ArchitectureWindow* destination = info.destination;
    ArchitectureWindow* source = context.source;
    if (destination == nullptr || source == nullptr) return;
    PtrArray<AElement>& elements = *context.elements;
    PtrArray<Connection>& connections = *context.connections;
    if (context.kind == kDragConnectionEnd) {
        AHelpElem* end = source->GetConnectionEnd();
        Connection* connection = end != nullptr ? end->GetConnection(0) : nullptr;
        AElement* element = ElementAt(*destination, info.x, info.y);
        const int pin = element != nullptr
                            ? element->PinAt(info.x - element->GetX(), info.y - element->GetY())
                            : 0;
        // Checked on the drop; the transfer only finds what the checks found.
        if (connection == nullptr || element == nullptr || pin == 0 || destination != source) {
            return;
        }
        connection->Reconnect(element, pin);
        source->GetConnections().Add(connection);
        context.status = kDragTaken;
        return;
    }
    destination->SetModified();
    bool portSentBack = false;
    PtrArray<AElement> sentBack;
    for (int i = 0; i < elements.GetCount();) {
        AElement* element = elements[i];
        if (IsMacroPort(*element) && destination != source) {
            // A port never leaves its macro's window.
            elements.Remove(element);
            portSentBack = true;
            if (context.kind == kDragCopy) {
                delete element;
                continue;
            }
            element->MoveToPointer(context.startX, context.startY);
            element->RestoreDragBackground();
            element->Unmark();
            element->FreeDragBacking();
            source->GetElements().Add(element);
            sentBack.Add(element);
            continue;
        }
        if (IsMacroPort(*element) && context.kind == kDragCopy) {
            // A copied port becomes the macro's next input or output, or is discarded.
            auto* macro = dynamic_cast<AMacroElem*>(destination);
            const int taken = macro == nullptr                    ? 0
                              : element->GetType() == kMacroInput ? macro->AddMacroInput(element)
                                                                  : macro->AddMacroOutput(element);
            if (!taken) {
                elements.Remove(element);
                delete element;
                continue;
            }
        }
        element->SetOwner(destination);
        destination->GetElements().Add(element);
        i++;
    }
    if (sentBack.GetCount() > 0) {
        source->RedrawElements(sentBack);
        if (source->GetCadArea() != nullptr) XmUpdateDisplay(source->GetCadArea());
    }
    for (int i = 0; i < connections.GetCount();) {
        Connection* connection = connections[i];
        AElement* from = connection->GetSource();
        AElement* to = connection->GetTarget();
        const bool split = from == nullptr || to == nullptr || from->GetOwner() != to->GetOwner();
        if (split || portSentBack) {
            connections.Remove(connection);
            delete connection;
            continue;
        }
        source->GetConnections().Remove(connection);
        connection->SetArchitecture(destination);
        destination->GetConnections().Add(connection);
        i++;
    }
    context.status = kDragTaken;
}

void AreaTransferProc(Widget, XtPointer info, Atom*, Atom* type, XtPointer value,
                      unsigned long* length, int* format) {
    if (NamesCurrentDrag(type, value, length, format) && info != nullptr) {
        TransferToArea(*current, *static_cast<DropInfo*>(info));
    }
    if (value != nullptr) XtFree(static_cast<char*>(value));
}

void TransferToLibrary(DragContext& context, const DropInfo& info) {
    auto* library = dynamic_cast<LibraryWindow*>(info.destination);
    PtrArray<AElement>& elements = *context.elements;
    if (library == nullptr || elements.GetCount() == 0) return;
    PtrArray<Connection>& connections = *context.connections;
    while (connections.GetCount() > 0) {
        Connection* connection = connections[0];
        connections.Remove(connection);
        delete connection;
    }
    AElement* element = elements[0];
    // A stored element is no longer part of the simulated architecture.
    Unschedule(*element);
    library->AddToLibrary(element);
    context.status = kDragTaken;
}

void LibraryTransferProc(Widget, XtPointer info, Atom*, Atom* type, XtPointer value,
                         unsigned long* length, int* format) {
    if (NamesCurrentDrag(type, value, length, format) && info != nullptr) {
        TransferToLibrary(*current, *static_cast<DropInfo*>(info));
    }
    if (value != nullptr) XtFree(static_cast<char*>(value));
}

void FinishDrag(DragContext& context) {
    PtrArray<AElement>& elements = *context.elements;
    PtrArray<Connection>& connections = *context.connections;
    EraseCarriedOnRoot(context);
    for (int i = 0; i < elements.GetCount(); i++) {
        AElement* element = elements[i];
        element->RestoreDragBackground();
        element->Unmark();
        element->FreeDragBacking();
    }
    FlushDragDisplay();
    ArchitectureWindow* source = context.source;
    if (context.status != kDragTaken) {
        switch (context.kind) {
            case kDragCopy:
                while (connections.GetCount() > 0) {
                    Connection* connection = connections[0];
                    connections.Remove(connection);
                    delete connection;
                }
                while (elements.GetCount() > 0) {
                    AElement* element = elements[0];
                    elements.Remove(element);
                    delete element;
                }
                break;
            case kDragMove:
                for (int i = 0; i < elements.GetCount(); i++) {
                    elements[i]->MoveToPointer(context.startX, context.startY);
                    if (source != nullptr) source->GetElements().Add(elements[i]);
                }
                break;
            case kDragConnectionEnd: {
                AHelpElem* end = source != nullptr ? source->GetConnectionEnd() : nullptr;
                Connection* connection = end != nullptr ? end->GetConnection(0) : nullptr;
                if (connection != nullptr) {
                    connections.Remove(connection);
                    delete connection;
                }
                break;
            }
            default:
                break;
        }
    }
    for (int i = 0; i < connections.GetCount(); i++) {
        connections[i]->UpdateEnds();
        connections[i]->Draw();
    }
    ArchitectureWindow* destination = context.destination != nullptr ? context.destination : source;
    if (context.widget != nullptr) XmUpdateDisplay(context.widget);
    if (destination != nullptr) {
        if (destination->GetCadArea() != nullptr) XmUpdateDisplay(destination->GetCadArea());
        destination->Redraw(1, 0, 0, 0, 0);
    }
    if (source != nullptr) source->UpdateOverview();
    if (destination != nullptr && destination != source) destination->UpdateOverview();
    // The drag held the pointer: a macro window it left or entered saw no crossing.
    for (ArchitectureWindow* window : {source, destination}) {
        if (auto* macro = dynamic_cast<AMacroElem*>(window)) macro->FollowPointer();
    }
}

void DragDropFinishCallback(Widget, XtPointer, XtPointer) {
    if (current == nullptr) return;
    if (current->sourceIcon != nullptr) {
        XtDestroyWidget(current->sourceIcon);
        current->sourceIcon = nullptr;
    }
    FinishDrag(*current);
    FreeDragContext();
}
