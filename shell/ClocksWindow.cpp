#include "shell/ClocksWindow.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/List.h>
#include <Xm/Protocols.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cstdlib>

#include "editors/ModifyTwoValuesDialog.h"
#include "model/data/Architecture.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/SimulationBoxWindow.h"
#include "shell/WindowMessage.h"
#include "toolkit/ActionArea.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/WidgetHelpers.h"
#include "toolkit/WindowManagerHints.h"

namespace {

// The window has not been shown yet; the first showing centres it.
bool gFirstShow = true;

const int kMaxClockValue = 999999;

const char* const kUsedClockQuestion =
    "This clock is assigned to one or more element(s)!\nDo you want to replace it by the first "
    "clock within these elements?\n\nNote: This automatically implies pressing the 'Apply' "
    "button. ";
const char* const kUnusedClockQuestion =
    "Note: This automatically implies pressing the 'Apply' button.\n\nContinue?";

void AddCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ClocksWindow*>(self)->Add();
}

void DeleteCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ClocksWindow*>(self)->Delete();
}

void ModifyCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ClocksWindow*>(self)->Modify();
}

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ClocksWindow*>(self)->Ok();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ClocksWindow*>(self)->Apply();
}

void HideCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ClocksWindow*>(self)->Hide();
}

void AddedCallback(int cancelled, int period, int offset, void* self) {
    static_cast<ClocksWindow*>(self)->Added(cancelled, period, offset);
}

void ModifiedCallback(int cancelled, int period, int offset, void* self) {
    static_cast<ClocksWindow*>(self)->Modified(cancelled, period, offset);
}

} // namespace

void RenumberClocksAfterRemoval(Architecture& architecture, int removed, int count) {
    architecture.ReplaceClock(removed, 1);
    // In rising order, so that each number is free when the next higher one moves into it.
    for (int k = removed + 1; k <= count; k++)
        architecture.ReplaceClock(k, k - 1);
}

ClocksWindow::ClocksWindow(MainWindow* mainWindow)
    : mainWindow(mainWindow), shell(nullptr), clockList(nullptr), addButton(nullptr),
      modifyIndex(-1) {
    CreateWidgets();
}

ClocksWindow::~ClocksWindow() {
    if (shell != nullptr) XtDestroyWidget(shell);
}

void ClocksWindow::CreateWidgets() {
    shell = XtVaCreatePopupShell("ModifyClocks", transientShellWidgetClass, mainWindow->GetShell(),
                                 XmNtitle, "Clocks", XmNmwmDecorations, kDialogDecorations,
                                 XmNmwmFunctions, kDialogFunctions, XmNdeleteResponse, XmDO_NOTHING,
                                 nullptr);
    Atom deleteWindow =
        XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, deleteWindow, HideCallback, this);

    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);

    Widget listFrame = XtVaCreateManagedWidget("frame_clocks", xmFrameWidgetClass, form,
                                               XmNmarginWidth, 5, XmNmarginHeight, 5, nullptr);
    Arg args[4];
    XtSetArg(args[0], XmNselectionPolicy, XmSINGLE_SELECT);
    XtSetArg(args[1], XmNlistSizePolicy, XmCONSTANT);
    XtSetArg(args[2], XmNscrollBarDisplayPolicy, XmAS_NEEDED);
    XtSetArg(args[3], XmNvisibleItemCount, 3);
    clockList = XmCreateScrolledList(listFrame, const_cast<char*>("clock_list"), args, 4);
    XtManageChild(clockList);

    Widget modifyFrame = XtVaCreateManagedWidget("frame_modify", xmFrameWidgetClass, form,
                                                 XmNmarginHeight, 0, nullptr);
    Widget row = XtVaCreateManagedWidget("rowcol_modify", xmRowColumnWidgetClass, modifyFrame,
                                         XmNorientation, XmHORIZONTAL, XmNnumColumns, 3,
                                         XmNmarginWidth, 2, XmNmarginHeight, 1, nullptr);
    addButton = XtVaCreateManagedWidget(" Add ", xmPushButtonWidgetClass, row, nullptr);
    XtAddCallback(addButton, XmNactivateCallback, AddCallback, this);
    Widget deleteButton = XtVaCreateManagedWidget(" Del ", xmPushButtonWidgetClass, row, nullptr);
    XtAddCallback(deleteButton, XmNactivateCallback, DeleteCallback, this);
    Widget modifyButton =
        XtVaCreateManagedWidget(" Modify ", xmPushButtonWidgetClass, row, nullptr);
    XtAddCallback(modifyButton, XmNactivateCallback, ModifyCallback, this);

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", HideCallback, this},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));

    Attach(listFrame).Top(ToForm()).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(modifyFrame, 3));
    Attach(modifyFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea, 3));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    XtManageChild(form);
}

void ClocksWindow::Show() {
    if (gFirstShow) {
        CentreOverParent(shell);
        gFirstShow = false;
    }
    Refresh();
    XtManageChild(shell);
    XtPopup(shell, XtGrabNonexclusive);
    XmProcessTraversal(addButton, XmTRAVERSE_CURRENT);
}

void ClocksWindow::Hide() {
    XtUnmanageChild(shell);
    XtPopdown(shell);
}

void ClocksWindow::Refresh() {
    workingCopy = GetClocks();
    FillList();
}

void ClocksWindow::Commit() {
    SetClocks(workingCopy);
    SimulationBoxWindow* box = mainWindow->GetSimulationBox();
    if (box != nullptr) box->RebuildClockMenu();
}

void ClocksWindow::FillList() {
    XmListDeleteAllItems(clockList);
    for (int i = 0; i < workingCopy.GetCount(); i++) {
        OwnedXmString item(workingCopy.ToString(i));
        XmListAddItemUnselected(clockList, item.Get(), 0);
    }
}

int ClocksWindow::GetSelected() {
    int* positions = nullptr;
    int count = 0;
    if (!XmListGetSelectedPos(clockList, &positions, &count)) return 0;
    const int selected = count > 0 ? positions[0] : 0;
    XtFree(reinterpret_cast<char*>(positions));
    return selected;
}

void ClocksWindow::Add() {
    new ModifyTwoValuesDialog(shell, "Add Clock", "Time:", 1, 1, kMaxClockValue, "Offset:", 0, 0,
                              kMaxClockValue, AddedCallback, this, 0);
}

void ClocksWindow::Added(int cancelled, int period, int offset) {
    if (!cancelled) workingCopy.Add(static_cast<SimTime>(period), static_cast<SimTime>(offset));
    FillList();
}

void ClocksWindow::Modify() {
    const int selected = GetSelected();
    if (selected == 0) {
        WindowMessage(shell, kMessageInfo, " ", "No clock selected!");
        return;
    }
    modifyIndex = selected - 1;
    new ModifyTwoValuesDialog(
        shell, "Modify Clock", "Time:", static_cast<int32_t>(workingCopy.GetT(modifyIndex)), 1,
        kMaxClockValue, "Offset:", static_cast<int32_t>(workingCopy.GetO(modifyIndex)), 0,
        kMaxClockValue, ModifiedCallback, this, 0);
}

void ClocksWindow::Modified(int cancelled, int period, int offset) {
    if (!cancelled) {
        workingCopy.Set(modifyIndex, static_cast<SimTime>(period), static_cast<SimTime>(offset));
    }
    modifyIndex = -1;
    FillList();
}

void ClocksWindow::Delete() {
    const int selected = GetSelected();
    if (selected == 0) {
        WindowMessage(shell, kMessageInfo, " ", "No clock selected!");
        return;
    }
    if (workingCopy.GetCount() == 1) {
        WindowMessage(shell, kMessageInfo, " ", "One clock needs to be left!");
        return;
    }
    const char* question =
        mainWindow->UsesClock(selected) ? kUsedClockQuestion : kUnusedClockQuestion;
    if (WindowMessage(shell, kMessageYesNo, " ", question) != kResultYes) return;

    const int count = workingCopy.GetCount();
    RenumberClocksAfterRemoval(*mainWindow, selected, count);
    // Library elements carry clock numbers into the architectures they are dropped into.
    LibraryWindow* library = mainWindow->GetLibraryWindow();
    if (library != nullptr) RenumberClocksAfterRemoval(*library, selected, count);
    workingCopy.Remove(selected - 1);
    int& clock = mainWindow->GetSelectedClock();
    clock = ClockAfterRemoval(clock, selected - 1, workingCopy.GetCount());
    FillList();
    Commit();
}

void ClocksWindow::Ok() {
    Commit();
    Hide();
}

void ClocksWindow::Apply() {
    Commit();
}
