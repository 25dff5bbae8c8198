#include "shell/WorkingAreaInput.h"

#include <X11/keysym.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include "model/data/Connection.h"
#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"
#include "model/elements/AHelpElem.h"
#include "model/elements/DropRules.h"
#include "model/elements/PinCode.h"
#include "model/elements/Selection.h"
#include "shell/ArchitectureWindow.h"
#include "shell/DragContext.h"
#include "shell/PinHighlight.h"
#include "shell/WorkingAreaOptionsDialog.h"

namespace {

struct InputState {
    ArchitectureWindow* window = nullptr; // of the current event
    AElement* pressed = nullptr;
    int pressX = 0, pressY = 0;
    bool armed = false;
    XEvent press = {};
    bool rubberBand = false;
    int bandX1 = 0, bandY1 = 0, bandX2 = 0, bandY2 = 0;
    const AElement* lastUnderPointer = nullptr; // only compared, never followed
};

InputState state;

bool IsWheel(unsigned int button) {
    return button == Button4 || button == Button5;
}

void EraseConnections(ArchitectureWindow& window) {
    PtrArray<Connection>& connections = window.GetConnections();
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->Erase();
}

void DrawConnections(ArchitectureWindow& window) {
    PtrArray<Connection>& connections = window.GetConnections();
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->Draw();
}

// Draws the elements whose marks changed, keeping the XOR wires consistent.
void DrawChanged(ArchitectureWindow& window, PtrArray<AElement>& changed) {
    if (changed.GetCount() == 0) return;
    EraseConnections(window);
    for (int i = 0; i < changed.GetCount(); i++)
        changed[i]->Draw();
    DrawConnections(window);
}

void Deselect(ArchitectureWindow& window) {
    PtrArray<AElement> changed;
    ClearSelection(window.GetSelection(), &changed);
    DrawChanged(window, changed);
}

void PopupAt(Widget menu, XtPointer userData, XButtonEvent& event) {
    if (menu == nullptr) return;
    XtVaSetValues(menu, XmNuserData, userData, nullptr);
    XmMenuPosition(menu, &event);
    XtManageChild(menu);
}

void OnKeyPress(ArchitectureWindow& window, XKeyEvent& event) {
    const KeySym key = XLookupKeysym(&event, 0);
    if (key != XK_BackSpace && key != XK_Delete) return;
    // The pressed or dragged elements must stay while the gesture lasts.
    if (state.armed || state.rubberBand || GetDragContext() != nullptr) return;
    window.DeleteSelection();
}

void OnButtonPress(ArchitectureWindow& window, XButtonEvent& event) {
    AElement* element = ElementAt(window, event.x, event.y);
    if (element != nullptr) {
        if (event.button != Button1) {
            if (!IsWheel(event.button)) {
                PopupAt(window.GetPopupMenus().ForType(static_cast<int>(element->GetType())),
                        element, event);
            }
            return;
        }
        if (event.state & ShiftMask) {
            EraseConnections(window);
            ToggleSelected(window.GetSelection(), *element);
            element->Draw();
            DrawConnections(window);
            XFlush(event.display);
            return;
        }
        const int pin = element->PinAt(event.x - element->GetX(), event.y - element->GetY());
        if (pin == kNoPin && window.GetSelection().Find(element) < 0) {
            PtrArray<AElement> changed;
            SelectOnly(window.GetSelection(), *element, changed);
            DrawChanged(window, changed);
        }
        state.pressed = element;
        state.pressX = event.x;
        state.pressY = event.y;
        state.armed = true;
        state.press.xbutton = event;
        return;
    }
    switch (event.button) {
        case Button1:
            Deselect(window);
            if (!state.rubberBand) {
                state.rubberBand = true;
                state.bandX1 = state.bandX2 = event.x;
                state.bandY1 = state.bandY2 = event.y;
                window.DrawRubberBand(state.bandX1, state.bandY1, state.bandX2, state.bandY2);
            }
            break;
        case Button2:
            if (window.GetWorkingAreaOptionsDialog() == nullptr) {
                new WorkingAreaOptionsDialog(&window);
            }
            break;
        case Button4:
        case Button5:
            break;
        default:
            PopupAt(window.GetPopupMenus().background, &window, event);
            break;
    }
}

void OnButtonRelease(ArchitectureWindow& window) {
    if (state.rubberBand) {
        state.rubberBand = false;
        window.DrawRubberBand(state.bandX1, state.bandY1, state.bandX2, state.bandY2);
        SelectInRect(window, window.GetSelection(), state.bandX1, state.bandY1, state.bandX2,
                     state.bandY2);
        window.SetSelectionMarks(0);
    } else if (state.armed) {
        Deselect(window);
    }
    state.armed = false;
    state.pressed = nullptr;
}

// The press was on a pin: the connection at it, or a new one, hangs on the connection end.
bool PrepareConnectionEnd(ArchitectureWindow& window, DragContext& context, AElement& element,
                          int pin) {
    AHelpElem* end = window.GetConnectionEnd();
    if (end == nullptr) return false;
    int px = 0, py = 0;
    element.GetPinPosition(pin, px, py);
    end->SetPosition(px, py);
    Connection* connection = element.GetConnection(pin);
    if (connection != nullptr) {
        window.GetConnections().Remove(connection);
        connection->Reconnect(end, IsOutputPin(pin) ? OutputPinCode(0) : InputPinCode(0));
    } else {
        new Connection(&window, &element, pin, end,
                       IsOutputPin(pin) ? InputPinCode(0) : OutputPinCode(0), 1);
    }
    context.kind = kDragConnectionEnd;
    context.elements->Add(end);
    return true;
}

void StartAreaDrag(ArchitectureWindow& window, Widget area, const XMotionEvent& motion) {
    AElement* pressed = state.pressed;
    state.armed = false;
    state.pressed = nullptr;
    if (pressed == nullptr) return;
    window.SetModified();
    DragContext* context = NewDragContext();
    context->source = &window;
    context->destination = &window;
    context->startX = state.pressX;
    context->startY = state.pressY;
    PtrArray<AElement>& selection = window.GetSelection();
    const int pin = pressed->PinAt(state.pressX - pressed->GetX(), state.pressY - pressed->GetY());
    Atom target = GetElementTargetAtom();
    if (pin != kNoPin) {
        if (!PrepareConnectionEnd(window, *context, *pressed, pin)) {
            FreeDragContext();
            return;
        }
        target = GetConnectionTargetAtom();
        // The selection is let go below; its marks must not outlive it.
        PtrArray<AElement> changed;
        ClearSelection(selection, &changed);
        DrawChanged(window, changed);
    } else if (motion.state & ControlMask) {
        context->kind = kDragCopy;
        if (CloneSelection(selection, window, *context->elements, nullptr) == 0) {
            FreeDragContext();
            return;
        }
        PtrArray<AElement> changed;
        ClearSelection(selection, &changed);
        DrawChanged(window, changed);
    } else {
        context->kind = kDragMove;
        for (int i = 0; i < selection.GetCount(); i++) {
            context->elements->Add(selection[i]);
            window.GetElements().Remove(selection[i]);
        }
        window.RedrawElements(selection);
    }
    PtrArray<AElement>& dragged = *context->elements;
    PtrArray<Connection>& carried = window.GetDragConnections();
    carried.Reset();
    for (int i = 0; i < dragged.GetCount(); i++)
        dragged[i]->CollectConnections(carried);
    for (int i = 0; i < carried.GetCount(); i++) {
        context->connections->Add(carried[i]);
        carried[i]->SetRootClip(dragged);
        carried[i]->Erase();
    }
    XSync(XtDisplay(area), False);
    selection.Reset();
    StartDrag(area, &state.press, *context, target, state.pressX, state.pressY, 1);
}

void OnPointerMotion(ArchitectureWindow& window, Widget area, XMotionEvent& event) {
    if (state.armed) {
        StartAreaDrag(window, area, event);
        return;
    }
    if (state.rubberBand) {
        window.DrawRubberBand(state.bandX1, state.bandY1, state.bandX2, state.bandY2);
        window.DrawRubberBand(state.bandX1, state.bandY1, event.x, event.y);
        state.bandX2 = event.x;
        state.bandY2 = event.y;
        return;
    }
    const AElement* element = ElementAt(window, event.x, event.y);
    if (element != state.lastUnderPointer) {
        if (element != nullptr) {
            window.SetFooterText(ElementFooterText(*element).c_str());
        } else {
            window.SetFooterText(" ");
        }
        state.lastUnderPointer = element;
    }
    TrackPinHighlight(window, event.x, event.y);
}

} // namespace

std::string ElementFooterText(const AElement& element) {
    std::string text = element.GetName();
    const std::string comment = element.GetComment();
    if (!text.empty() && !comment.empty()) text += ": ";
    return text + comment;
}

void HandleWorkingAreaEvent(ArchitectureWindow& window, Widget area, XEvent& event) {
    state.window = &window;
    switch (event.type) {
        case KeyPress:
            OnKeyPress(window, event.xkey);
            break;
        case ButtonPress:
            OnButtonPress(window, event.xbutton);
            break;
        case ButtonRelease:
            OnButtonRelease(window);
            break;
        case MotionNotify:
            OnPointerMotion(window, area, event.xmotion);
            break;
        default:
            break;
    }
}

int IsRubberBandActive() {
    return state.rubberBand ? 1 : 0;
}

int IsDragArmed() {
    return state.armed ? 1 : 0;
}

void ForgetWorkingAreaElement(const AElement* element) {
    if (element == nullptr) return;
    if (state.pressed == element) {
        state.pressed = nullptr;
        state.armed = false;
    }
    if (state.lastUnderPointer == element) state.lastUnderPointer = nullptr;
}
