#include "tests/support/gui/GuiWidgets.h"

#include <X11/IntrinsicP.h>
#include <X11/keysym.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <string>

#include "tests/support/gui/GuiDisplay.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadInt.h"

namespace testgui {

namespace {

void Collect(Widget parent, const char* name, std::vector<Widget>& found) {
    if (std::string(XtName(parent)) == name) found.push_back(parent);
    if (XtIsComposite(parent)) {
        WidgetList children = nullptr;
        Cardinal count = 0;
        XtVaGetValues(parent, XmNchildren, &children, XmNnumChildren, &count, nullptr);
        for (Cardinal i = 0; i < count; i++)
            Collect(children[i], name, found);
    }
    if (!XtIsWidget(parent)) return; // gadgets have no popups
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        Collect(parent->core.popup_list[i], name, found);
    }
}

void CountActivation(Widget, XtPointer count, XtPointer) {
    ++*static_cast<int*>(count);
}

} // namespace

std::string LabelText(Widget label) {
    XmString string = nullptr;
    XtVaGetValues(label, XmNlabelString, &string, nullptr);
    OwnedXmString owned(string);
    if (string == nullptr) return "";
    // Separators come back as line feeds.
    OwnedXmString separator(XmStringSeparatorCreate());
    Arg args[4];
    XtSetArg(args[0], XmNpattern, const_cast<char*>("\n"));
    XtSetArg(args[1], XmNpatternType, XmCHARSET_TEXT);
    XtSetArg(args[2], XmNsubstitute, separator.Get());
    XtSetArg(args[3], XmNincludeStatus, XmINSERT);
    XmParseMapping mapping = XmParseMappingCreate(args, 4);
    OwnedXtString text(static_cast<char*>(XmStringUnparse(
        string, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, &mapping, 1, XmOUTPUT_ALL)));
    XmParseMappingFree(mapping);
    return text.Get() != nullptr ? text.Get() : "";
}

Widget Child(Widget parent, const char* path) {
    return XtNameToWidget(parent, path);
}

Widget ButtonLabelled(Widget parent, const char* text) {
    if (XmIsPushButton(parent) || XmIsPushButtonGadget(parent)) {
        return LabelText(parent) == text ? parent : nullptr;
    }
    if (!XtIsComposite(parent)) return nullptr;
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(parent, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; i++) {
        Widget found = ButtonLabelled(children[i], text);
        if (found != nullptr) return found;
    }
    return nullptr;
}

std::vector<Widget> FindAll(Widget parent, const char* name) {
    std::vector<Widget> found;
    Collect(parent, name, found);
    return found;
}

Widget Find(Widget parent, const char* name) {
    std::vector<Widget> found = FindAll(parent, name);
    return found.empty() ? nullptr : found[0];
}

std::vector<Widget> PopupsNamed(Widget parent, const char* name) {
    std::vector<Widget> found;
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        Widget popup = parent->core.popup_list[i];
        if (std::string(XtName(popup)) == name && !popup->core.being_destroyed) {
            found.push_back(popup);
        }
    }
    return found;
}

bool IsLivePopup(Widget parent, Widget shell) {
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        if (parent->core.popup_list[i] == shell && !shell->core.being_destroyed) return true;
    }
    return false;
}

int PopupCount(Widget parent) {
    int live = 0;
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        if (!parent->core.popup_list[i]->core.being_destroyed) live++;
    }
    return live;
}

bool IsShown(Widget widget) {
    XWindowAttributes attributes;
    return widget != nullptr && XtWindow(widget) != 0 &&
           XGetWindowAttributes(XtDisplay(widget), XtWindow(widget), &attributes) &&
           attributes.map_state == IsViewable;
}

void Click(Widget button) {
    XmPushButtonCallbackStruct call{};
    call.reason = XmCR_ACTIVATE;
    call.click_count = 1;
    RunInDispatch([&] { XtCallCallbacks(button, XmNactivateCallback, &call); });
}

void Press(Widget button) {
    XmPushButtonCallbackStruct call = {};
    call.reason = XmCR_ACTIVATE;
    XtCallCallbacks(button, XmNactivateCallback, &call);
}

std::string TextOf(Widget field) {
    if (!XmIsTextField(field)) field = ReadIntGetText(field);
    OwnedXtString text(XmTextFieldGetString(field));
    return text.Get() != nullptr ? text.Get() : "";
}

void SetTextOf(Widget field, const char* text) {
    if (!XmIsTextField(field)) field = ReadIntGetText(field);
    XmTextFieldSetString(field, const_cast<char*>(text));
}

XEvent ButtonEvent(Widget w, int type, int x, int y) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.display = XtDisplay(w);
    event.xbutton.window = XtWindow(w);
    event.xbutton.root = RootWindowOfScreen(XtScreen(w));
    event.xbutton.time = CurrentTime;
    event.xbutton.x = x;
    event.xbutton.y = y;
    Position rootX = 0;
    Position rootY = 0;
    XtTranslateCoords(w, static_cast<Position>(x), static_cast<Position>(y), &rootX, &rootY);
    event.xbutton.x_root = rootX; // buttons check that the release is still over them
    event.xbutton.y_root = rootY;
    event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    return event;
}

XEvent KeyEvent(Widget w, unsigned long keysym) {
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = XtDisplay(w);
    event.xkey.window = XtWindow(w);
    event.xkey.root = RootWindowOfScreen(XtScreen(w));
    event.xkey.time = CurrentTime;
    event.xkey.keycode = XKeysymToKeycode(XtDisplay(w), keysym);
    event.xkey.same_screen = True;
    return event;
}

XEvent FocusEvent(Widget w, int type) {
    XEvent event{};
    event.xfocus.type = type;
    event.xfocus.send_event = True; // as a window manager's focus change arrives
    event.xfocus.display = XtDisplay(w);
    event.xfocus.window = XtWindow(w);
    event.xfocus.mode = NotifyNormal;
    event.xfocus.detail = NotifyAncestor;
    return event;
}

XEvent MotionEvent(Widget w, int x, int y, unsigned int state) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.display = XtDisplay(w);
    event.xmotion.window = XtWindow(w);
    event.xmotion.root = RootWindowOfScreen(XtScreen(w));
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.state = state;
    event.xmotion.same_screen = True;
    return event;
}

XEvent CrossingEvent(Widget w, int type, int x, int y, int detail) {
    XEvent event{};
    event.xcrossing.type = type;
    event.xcrossing.display = XtDisplay(w);
    event.xcrossing.window = XtWindow(w);
    event.xcrossing.root = RootWindowOfScreen(XtScreen(w));
    event.xcrossing.x = x;
    event.xcrossing.y = y;
    event.xcrossing.mode = NotifyNormal;
    event.xcrossing.detail = detail;
    event.xcrossing.same_screen = True;
    return event;
}

void CallAction(Widget w, const char* action, XEvent* event, const char* param) {
    String params[] = {const_cast<String>(param)};
    XtCallActionProc(w, action, event, param != nullptr ? params : nullptr,
                     param != nullptr ? 1 : 0);
}

void PressReturn(Widget text) {
    XEvent event = KeyEvent(text, XK_Return);
    // Return is bound to the field's own action where a field keeps it.
    const char* action = "activate";
    if (std::string(XtName(XtParent(text))) == "ReadInt") {
        action = "ReadIntReturn";
    } else if (FieldKeepsReturn(text)) {
        action = "DialogKeysFieldReturn";
    }
    RunInDispatch([&] { CallAction(text, action, &event); });
}

void TypeKey(Widget text, unsigned long keysym) {
    XmTextFieldSetInsertionPosition(text, XmTextFieldGetLastPosition(text));
    XEvent event = KeyEvent(text, keysym);
    RunInDispatch([&] { CallAction(text, "self-insert", &event); });
}

void LoseFocus(Widget text) {
    XEvent event = FocusEvent(text, FocusOut);
    RunInDispatch([&] { CallAction(text, "focusOut", &event); });
}

void SendDeleteWindow(Widget shell) {
    Display* display = XtDisplay(shell);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = XtWindow(shell);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, XtWindow(shell), False, NoEventMask, &event);
    XFlush(display);
}

void SendClose(Widget shell) {
    SendDeleteWindow(shell);
    Flush();
}

bool RealClick(Widget w) {
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(w, XmNwidth, &width, XmNheight, &height, nullptr);
    return RealClickAt(w, width / 2, height / 2);
}

bool RealClickAt(Widget w, int x, int y) {
    Position rootX = 0;
    Position rootY = 0;
    XtTranslateCoords(w, static_cast<Position>(x), static_cast<Position>(y), &rootX, &rootY);
    const std::string command = "xdotool mousemove " + std::to_string(rootX) + " " +
                                std::to_string(rootY) + " click 1 > /dev/null 2>&1";
    const bool clicked = std::system(command.c_str()) == 0;
    XSync(XtDisplay(w), False);
    Flush();
    return clicked;
}

bool RealTypeInto(Widget field, const char* typed) {
    Widget text = XmIsTextField(field) ? field : ReadIntGetText(field);
    if (!RealClick(text)) return false;
    const std::string command = std::string("xdotool key End key --repeat 12 BackSpace") +
                                (typed[0] != '\0' ? std::string(" type '") + typed + "'" : "") +
                                " > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    return RunUntil([&] { return TextOf(text) == typed; }, 5000);
}

bool RealKeys(Widget shell, const char* keys) {
    Display* display = XtDisplay(shell);
    // Without a window manager nobody gives the window the focus; with one the window has it.
    XSetInputFocus(display, XtWindow(shell), RevertToParent, CurrentTime);
    XSync(display, False);
    Flush();
    const std::string command = std::string("xdotool key --delay 20 ") + keys + " > /dev/null 2>&1";
    const bool pressed = std::system(command.c_str()) == 0;
    XSync(display, False);
    Flush();
    return pressed;
}

int ActivationsByKeys(Widget shell, Widget button, const char* keys, void (*flush)(),
                      bool& keysPressed) {
    Widget parent = XtParent(shell);
    int count = 0;
    XtAddCallback(button, XmNactivateCallback, CountActivation, &count);
    keysPressed = RealKeys(shell, keys);
    flush();
    // The counter goes with this call; a button that is still there forgets it.
    if (IsLivePopup(parent, shell)) {
        XtRemoveCallback(button, XmNactivateCallback, CountActivation, &count);
    }
    return count;
}

} // namespace testgui
