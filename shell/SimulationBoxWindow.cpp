#include "shell/SimulationBoxWindow.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/MwmUtil.h>
#include <Xm/Protocols.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <iostream>
#include <limits>

#include "model/data/ClockList.h"
#include "shell/MainWindow.h"
#include "shell/Termination.h"
#include "shell/WindowMessage.h"
#include "toolkit/Bell.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/ReadInt.h"
#include "toolkit/WidgetHelpers.h"
#include "toolkit/WindowManagerHints.h"

namespace {

const int kSimulationBoxCommand = 9; // the main window's toggle of the box

// The box has not been shown yet; the first showing centres it.
bool gFirstShow = true;

// The time labels are refreshed at most this often during a run; each refresh is a round trip
// to the server, which would cost more than the cycles themselves.
const long long kLabelIntervalNs = 30000000;
const long long kInputIntervalNs = 1000000;

long long SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SimulationBoxWindow::WallClock gWallClock = SteadyNs;

const char* const kTwelveBlanks = "            ";

void CloseCallback(Widget, XtPointer self, XtPointer) {
    static_cast<SimulationBoxWindow*>(self)->Hide();
}

void RunCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<SimulationBoxWindow*>(self)->Run();
}

void ResetCallback(Widget w, XtPointer self, XtPointer call) {
    SimulationBoxWindow* box = static_cast<SimulationBoxWindow*>(self);
    // Break is never refused; Reset reads the fields.
    if (!box->IsRunning() && ReadIntPressHitCorrection(w, call)) return;
    box->ResetOrBreak();
}

void ToggleCallback(Widget toggle, XtPointer self, XtPointer callData) {
    auto* state = static_cast<XmToggleButtonCallbackStruct*>(callData);
    static_cast<SimulationBoxWindow*>(self)->ModeToggled(toggle, state->set);
}

void ClockItemCallback(Widget item, XtPointer self, XtPointer) {
    XtPointer index = nullptr;
    XtVaGetValues(item, XmNuserData, &index, nullptr);
    static_cast<SimulationBoxWindow*>(self)->ClockChosen(
        static_cast<int>(reinterpret_cast<intptr_t>(index)));
}

// A read-only one-line display that takes no focus and shows no cursor.
Widget CreateDisplay(Widget parent, const char* name, int columns) {
    return XtVaCreateManagedWidget(name, xmTextFieldWidgetClass, parent, XmNcolumns, columns,
                                   XmNeditable, False, XmNtraversalOn, False,
                                   XmNcursorPositionVisible, False, nullptr);
}

void SetText(Widget text, const char* value) {
    XmTextFieldSetString(text, const_cast<char*>(value));
}

Widget CreateButton(Widget parent, const char* label, int left, int right, XtCallbackProc callback,
                    XtPointer client, bool isDefault) {
    OwnedXmString text(label);
    Widget button = XtVaCreateManagedWidget(
        "ActionButton", xmPushButtonWidgetClass, parent, XmNlabelString, text.Get(),
        XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, XmNleftAttachment,
        left == 0 ? XmATTACH_FORM : XmATTACH_POSITION, XmNleftPosition, left, XmNrightAttachment,
        XmATTACH_POSITION, XmNrightPosition, right, XmNshowAsDefault, isDefault ? 1 : 0,
        XmNdefaultButtonShadowThickness, 1, nullptr);
    XtAddCallback(button, XmNactivateCallback, callback, client);
    return button;
}

void SetLabel(Widget button, const char* label) {
    OwnedXmString text(label);
    XtVaSetValues(button, XmNlabelString, text.Get(), nullptr);
}

} // namespace

SimTime ComputeRunTarget(int mode, SimTime now, SimTime period, SimTime offset, int32_t periods,
                         int32_t ticks) {
    uint64_t target = 0;
    if (mode == kModeClocks) {
        if (period == 0) return now;
        const uint64_t k = now >= offset ? (now - offset) / period : 0;
        const uint64_t n = periods > 0 ? static_cast<uint64_t>(periods) : 0;
        target = offset + (k + n) * period;
    } else if (mode == kModeManual) {
        target = static_cast<uint64_t>(now) + (ticks > 0 ? static_cast<uint64_t>(ticks) : 0);
    }
    const uint64_t largest = std::numeric_limits<SimTime>::max();
    return static_cast<SimTime>(target > largest ? largest : target);
}

int ClampClock(int selected, int count) {
    if (count <= 0 || selected < 0) return 0;
    return selected < count ? selected : count - 1;
}

int ClockAfterRemoval(int selected, int removed, int count) {
    if (selected > removed) {
        selected--;
    } else if (selected == removed) {
        selected = 0;
    }
    return ClampClock(selected, count);
}

SimulationBoxWindow::SimulationBoxWindow(MainWindow* mainWindow, int* mode, int* clocks, int* clock,
                                         int* time)
    : mainWindow(mainWindow), shell(nullptr), clocksToggle(nullptr), timeToggle(nullptr),
      clocksField(nullptr), timeField(nullptr), clockMenu(nullptr), clockSubmenu(nullptr),
      actualClockDisplay(nullptr), actualTimeDisplay(nullptr), runButton(nullptr),
      resetButton(nullptr), closeButton(nullptr), clockItems(nullptr), clockItemCount(0),
      running(0), mode(mode), clocks(clocks), clock(clock), time(time), period(0) {
    CreateWidgets();
    mainWindow->GetEventQueue().SetSimulationBox(this);
}

SimulationBoxWindow::~SimulationBoxWindow() {
    mainWindow->GetEventQueue().SetSimulationBox(nullptr);
    if (shell != nullptr) XtDestroyWidget(shell);
    delete[] clockItems;
}

// How far a run goes: a number of clocks of the chosen clock, or a time.
Widget SimulationBoxWindow::CreateModeFrame(Widget form) {
    Widget modeFrame = XtVaCreateManagedWidget(
        "frame_mode", xmFrameWidgetClass, form, XmNmarginWidth, 5, XmNtopAttachment, XmATTACH_FORM,
        XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
    Widget modeForm = XtVaCreateManagedWidget("form_mode1", xmFormWidgetClass, modeFrame, nullptr);
    Widget row1 =
        XtVaCreateManagedWidget("rowcolumn_mode1", xmRowColumnWidgetClass, modeForm, XmNorientation,
                                XmHORIZONTAL, XmNnumColumns, 3, XmNmarginWidth, 0, XmNtopAttachment,
                                XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, nullptr);
    clocksToggle = XtVaCreateManagedWidget("Clocks: ", xmToggleButtonWidgetClass, row1,
                                           XmNindicatorType, XmONE_OF_MANY, nullptr);
    XtAddCallback(clocksToggle, XmNvalueChangedCallback, ToggleCallback, this);
    clocksField = CreateReadInt(row1, ReadIntOptions().Size(3, 5).Value(1).Range(1, 99999));
    clockSubmenu = XmCreatePulldownMenu(row1, const_cast<char*>("clock_submenu"), nullptr, 0);
    OwnedXmString empty("");
    Arg args[2];
    XtSetArg(args[0], XmNsubMenuId, clockSubmenu);
    XtSetArg(args[1], XmNlabelString, empty.Get());
    clockMenu = XmCreateOptionMenu(row1, const_cast<char*>("clock_menu"), args, 2);
    XtManageChild(clockMenu);
    // The menu needs an item before the clocks are known; RebuildClockMenu replaces it.
    clockItems = new Widget[1];
    clockItemCount = 1;
    {
        OwnedXmString blanks(kTwelveBlanks);
        clockItems[0] = XtVaCreateManagedWidget("item", xmPushButtonWidgetClass, clockSubmenu,
                                                XmNlabelString, blanks.Get(), nullptr);
    }

    Widget row2 = XtVaCreateManagedWidget(
        "rowcolumn_mode2", xmRowColumnWidgetClass, modeForm, XmNorientation, XmHORIZONTAL,
        XmNnumColumns, 2, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, row1, XmNleftAttachment,
        XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    timeToggle = XtVaCreateManagedWidget("Time: ", xmToggleButtonWidgetClass, row2,
                                         XmNindicatorType, XmONE_OF_MANY, nullptr);
    XtAddCallback(timeToggle, XmNvalueChangedCallback, ToggleCallback, this);
    timeField = CreateReadInt(row2, ReadIntOptions().Size(5, 8).Value(1).Range(1, 99999999));
    return modeFrame;
}

void SimulationBoxWindow::CreateWidgets() {
    shell = XtVaCreatePopupShell("Simulation-Box", transientShellWidgetClass,
                                 mainWindow->GetShell(), XmNtitle, "Simulate", XmNmwmDecorations,
                                 kDialogDecorations, XmNmwmFunctions, kDialogFunctions,
                                 XmNdeleteResponse, XmDO_NOTHING, nullptr);
    // The box grows and shrinks with the selected clock's text in the clock menu.
    XtVaSetValues(shell, XmNallowShellResize, True, nullptr);
    Atom deleteWindow =
        XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, deleteWindow, CloseCallback, this);

    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);

    Widget modeFrame = CreateModeFrame(form);

    // Where the simulation stands.
    Widget actFrame = XtVaCreateManagedWidget(
        "frame_act", xmFrameWidgetClass, form, XmNmarginWidth, 5, XmNmarginHeight, 2,
        XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, modeFrame, XmNleftAttachment,
        XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
    Widget actForm = XtVaCreateManagedWidget("form_act", xmFormWidgetClass, actFrame, nullptr);
    Widget clockLabel = XtVaCreateManagedWidget(
        "Actual Clock: ", xmLabelWidgetClass, actForm, XmNleftAttachment, XmATTACH_FORM,
        XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    actualClockDisplay = CreateDisplay(actForm, "act_clock_label", 6);
    Attach(actualClockDisplay).Left(ToWidget(clockLabel)).Top(ToForm()).Bottom(ToForm());
    Widget timeLabel = XtVaCreateManagedWidget(" Time: ", xmLabelWidgetClass, actForm,
                                               XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget,
                                               actualClockDisplay, XmNtopAttachment, XmATTACH_FORM,
                                               XmNbottomAttachment, XmATTACH_FORM, nullptr);
    actualTimeDisplay = CreateDisplay(actForm, "act_time_label", 10);
    Attach(actualTimeDisplay).Left(ToWidget(timeLabel)).Top(ToForm()).Bottom(ToForm());

    // The buttons.
    Widget buttons = XtVaCreateManagedWidget(
        "form_a", xmFormWidgetClass, form, XmNfractionBase, 59, XmNleftOffset, 5, XmNrightOffset, 5,
        XmNtopOffset, 5, XmNbottomOffset, 5, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget,
        actFrame, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM, nullptr);
    runButton = CreateButton(buttons, " Run ", 0, 19, RunCallback, this, true);
    resetButton = CreateButton(buttons, " Reset ", 20, 39, ResetCallback, this, false);
    closeButton = CreateButton(buttons, " Close ", 40, 59, CloseCallback, this, false);
    Attach(closeButton).Right(ToForm());
    XtVaSetValues(buttons, XmNdefaultButton, runButton, nullptr);
    SetDialogKeys(buttons, runButton, closeButton);
    XtManageChild(form);

    ShowTime(0);
    RebuildClockMenu();
}

Widget SimulationBoxWindow::GetClockItem(int index) const {
    return index >= 0 && index < clockItemCount ? clockItems[index] : nullptr;
}

void SimulationBoxWindow::Show() {
    if (gFirstShow) {
        CentreOverParent(shell);
        gFirstShow = false;
    }
    UpdateDisplay();
    XtManageChild(shell);
    XtPopup(shell, XtGrabNonexclusive);
    XmProcessTraversal(runButton, XmTRAVERSE_CURRENT);
    mainWindow->SetToggle(kSimulationBoxCommand, 1);
}

void SimulationBoxWindow::Hide() {
    XtUnmanageChild(shell);
    XtPopdown(shell);
    mainWindow->SetToggle(kSimulationBoxCommand, 0);
}

void SimulationBoxWindow::SetClocksSensitive(bool on) {
    ReadIntSetSensitive(clocksField, on ? True : False);
    XtSetSensitive(clockMenu, on ? True : False);
    ReadIntSetSensitive(timeField, on ? False : True);
}

void SimulationBoxWindow::UpdateDisplay() {
    ReadIntSetValue(clocksField, *clocks);
    ReadIntSetValue(timeField, *time);
    if (*mode == kModeClocks) {
        XmToggleButtonSetState(clocksToggle, True, False);
        XmToggleButtonSetState(timeToggle, False, False);
        SetClocksSensitive(true);
    } else if (*mode == kModeManual) {
        XmToggleButtonSetState(clocksToggle, False, False);
        XmToggleButtonSetState(timeToggle, True, False);
        SetClocksSensitive(false);
    }
    ShowTime(mainWindow->GetSimulationTime());
}

void SimulationBoxWindow::RebuildClockMenu() {
    // The items come and go as one set: the menu lays itself out once, not once per item, which
    // made thousands of clocks take seconds.
    if (clockItemCount > 0) XtUnmanageChildren(clockItems, static_cast<Cardinal>(clockItemCount));
    for (int i = clockItemCount - 1; i >= 0; i--)
        XtDestroyWidget(clockItems[i]);
    delete[] clockItems;
    clockItems = nullptr;
    clockItemCount = 0;

    const int count = GetClockCount();
    const int items = count > 0 ? count : 1;
    clockItems = new Widget[items];
    for (int i = 0; i < items; i++) {
        OwnedXmString label(count > 0 ? ClockString(i) : " no clocks ");
        const intptr_t index = count > 0 ? i : -1;
        clockItems[i] =
            XtVaCreateWidget("item", xmPushButtonWidgetClass, clockSubmenu, XmNlabelString,
                             label.Get(), XmNuserData, reinterpret_cast<XtPointer>(index), nullptr);
        XtAddCallback(clockItems[i], XmNactivateCallback, ClockItemCallback, this);
    }
    XtManageChildren(clockItems, static_cast<Cardinal>(items));
    clockItemCount = items;

    // The selection never names a clock outside the table.
    *clock = ClampClock(*clock, count);
    XtVaSetValues(clockMenu, XmNmenuHistory, clockItems[*clock], nullptr);
}

void SimulationBoxWindow::ClockChosen(int index) {
    *clock = index;
}

void SimulationBoxWindow::ShowTime(SimTime now) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(now));
    SetText(actualTimeDisplay, text);
    if (period != 0) {
        std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(now / period));
        SetText(actualClockDisplay, text);
    } else {
        SetText(actualClockDisplay, " ");
    }
}

void SimulationBoxWindow::SetWallClock(WallClock clock) {
    gWallClock = clock != nullptr ? clock : SteadyNs;
}

int SimulationBoxWindow::Poll(SimTime now) {
    ServePendingTermination();
    // The run ends with the queue's ShowTime, so the last time is always shown.
    const long long wall = gWallClock();
    if (!labelsShown || wall - labelsShownAt >= kLabelIntervalNs) {
        ShowTime(now);
        XmUpdateDisplay(shell);
        labelsShown = true;
        labelsShownAt = wall;
    }
    ReadBreak(wall);
    return running ? 0 : 1;
}

int SimulationBoxWindow::PollWhileWaiting() {
    // Once broken, a client that keeps the cycle waiting is stopped as well.
    if (!running) return 1;
    // Redraws are served while the client takes its time.
    XmUpdateDisplay(shell);
    ReadBreak(gWallClock());
    return running ? 0 : 1;
}

void SimulationBoxWindow::ReadBreak(long long wall) {
    // Events that reached the queue since the last look are looked at every time; the connection
    // itself is read (a system call, which costs more than a cycle of a small architecture) at
    // most every millisecond.
    Display* display = XtDisplay(shell);
    if (inputRead && XQLength(display) == queuedAfterRead &&
        wall - inputReadAt < kInputIntervalNs) {
        return;
    }
    inputRead = true;
    inputReadAt = wall;
    const long mask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                      PointerMotionMask | ButtonMotionMask;
    XEvent event;
    while (XCheckMaskEvent(display, mask, &event)) {
        if (event.xany.window == XtWindow(resetButton)) {
            XtDispatchEvent(&event);
        } else if (event.type == KeyPress || event.type == ButtonPress) {
            RingBell(display);
        }
    }
    queuedAfterRead = XQLength(display);
}

bool SimulationBoxWindow::CheckRunClock() {
    if (GetClockCount() == 0) {
        WindowMessage(shell, kMessageInfo, " ", "No clocks defined!");
        return false;
    }
    if (*clock < 0 || *clock >= GetClockCount() || GetClockPeriod(*clock) == 0) {
        WindowMessage(shell, kMessageInfo, " ", "No clock selected!");
        return false;
    }
    return true;
}

void SimulationBoxWindow::SetIdle(bool idle) {
    SetLabel(resetButton, idle ? "Reset" : "Break");
    XtSetSensitive(runButton, idle ? True : False);
    XtSetSensitive(closeButton, idle ? True : False);
}

void SimulationBoxWindow::Run() {
    const SimTime now = mainWindow->GetSimulationTime();
    const int validClocks = ReadIntGetValue(clocksField, clocks);
    const int validTime = ReadIntGetValue(timeField, time);
    if (!validClocks || !validTime) return;
    // A CLOCKS run without a usable clock would divide by its period: it is refused.
    if (*mode == kModeClocks && !CheckRunClock()) return;
    const SimTime offset = *mode == kModeClocks ? GetClockOffset(*clock) : 0;

    if (now == 0) mainWindow->ResetSimulation();
    if (*mode == kModeClocks) period = GetClockPeriod(*clock);
    SetIdle(false);
    const SimTime target = ComputeRunTarget(*mode, now, period, offset, *clocks, *time);

    XmUpdateDisplay(shell);
    XFlush(XtDisplay(shell));
    running = 1;
    labelsShown = false;
    inputRead = false;
    mainWindow->Simulate(target);
    running = 0;

    mainWindow->SetFooterText(" ");
    SetIdle(true);
    // Run was insensitive, so the focus went on to Reset: Return must run on, not reset.
    XmProcessTraversal(runButton, XmTRAVERSE_CURRENT);
}

void SimulationBoxWindow::ResetOrBreak() {
    if (running) {
        running = 0; // the next poll answers Break
        return;
    }
    int32_t value = 0;
    if (!ReadIntGetValue(clocksField, &value) || !ReadIntGetValue(timeField, &value)) return;
    mainWindow->ResetSimulation();
    UpdateDisplay();
}

void SimulationBoxWindow::ModeToggled(Widget toggle, int set) {
    if (!set) {
        // One of the two is always on.
        XmToggleButtonSetState(toggle, True, False);
        return;
    }
    if (toggle == clocksToggle) {
        if (GetClockCount() == 0) {
            XmToggleButtonSetState(clocksToggle, False, False);
            WindowMessage(shell, kMessageInfo, " ", "No clocks defined!");
            return;
        }
        *mode = kModeClocks;
        XmToggleButtonSetState(timeToggle, False, False);
        ReadIntSetValue(clocksField, *clocks);
        SetClocksSensitive(true);
    } else {
        *mode = kModeManual;
        XmToggleButtonSetState(clocksToggle, False, False);
        ReadIntSetValue(timeField, *time);
        SetClocksSensitive(false);
    }
}
