#include "editors/APermModifyWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/ToggleBG.h>

#include <cstdio>
#include <iostream>
#include <utility>

#include "editors/DialogShell.h"
#include "editors/NumberDialogParts.h"
#include "editors/PermMethods.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Bell.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/MatrixViewport.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/ReadInt.h"
#include "toolkit/WidgetHelpers.h"

namespace {

// The labels and widget names of the toggles and the method buttons.
const char* const kNames[] = {"Row",      "Column",   "Define",    "Delete",      "None",
                              "Exchange", "Shuffels", "Butterfly", "Bit Reversed"};
const int kDirectionNames = 0; // Row, Column
const int kModeNames = 2;      // Define, Delete
const int kMethodNames = 4;    // None .. Bit Reversed, by method index

const char* const kHorizontalShift = "Horizontal Shift: ";
const char* const kVerticalShift = "Vertical Shift: ";

APermModifyWindow* Self(XtPointer self) {
    return static_cast<APermModifyWindow*>(self);
}

void ZoomCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->ZoomChanged(static_cast<XmScaleCallbackStruct*>(call)->value);
}

void ExposeCallback(Widget area, XtPointer self, XtPointer call) {
    Self(self)->Exposed(area, static_cast<XmDrawingAreaCallbackStruct*>(call)->event);
}

void TransmitterHandler(Widget, XtPointer self, XEvent* event, Boolean*) {
    Self(self)->TransmitterEvent(event);
}

void ReceiverHandler(Widget, XtPointer self, XEvent* event, Boolean*) {
    Self(self)->ReceiverEvent(event);
}

void VectorButtonCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->ShowVectorDialog();
}

void MatrixButtonCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->ShowMatrixDialog();
}

void VectorOkCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    Self(self)->VectorOk();
}

void VectorApplyCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    Self(self)->ApplyVector();
}

void VectorCancelCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->VectorCancel();
}

void MatrixOkCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    Self(self)->MatrixOk();
}

void MatrixApplyCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    Self(self)->ApplyMatrix();
}

void MatrixCancelCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->MatrixCancel();
}

// A toggle acts only when it becomes set.
void ToggleCallback(Widget, XtPointer record, XtPointer call) {
    if (!static_cast<XmToggleButtonCallbackStruct*>(call)->set) return;
    const PermChoice* choice = static_cast<PermChoice*>(record);
    choice->window->Choose(*choice);
}

void MethodCallback(Widget, XtPointer record, XtPointer) {
    const PermChoice* choice = static_cast<PermChoice*>(record);
    choice->window->Choose(*choice);
}

Widget CreateLabel(Widget parent, const char* name, const char* text) {
    OwnedXmString string(text);
    return XtVaCreateManagedWidget(name, xmLabelGadgetClass, parent, XmNlabelString, string.Get(),
                                   nullptr);
}

// A label left of a field, centred on its height.
void AttachBeside(Widget label, Widget field) {
    Attach(label).Left(ToForm()).Top(ToOppositeWidget(field)).Bottom(ToOppositeWidget(field));
}

// 10^(digits + 1): how far a shift may reach, for planes whose larger side has that many digits.
int32_t ShiftLimit(int32_t digits) {
    int32_t limit = 10;
    for (int32_t k = 0; k < digits; k++)
        limit *= 10;
    return limit;
}

} // namespace

APermModifyWindow::APermModifyWindow(D_PermElem* data, APermElem* owner)
    : AElementModifyWindow(owner), permData(data), workingCopy(std::make_unique<D_PermElem>(*data)),
      drawL(nullptr), drawR(nullptr), draw_windowL(nullptr), pos_labelL(nullptr),
      pos_labelR(nullptr), zoomScale(nullptr), vectorButton(nullptr), matrixButton(nullptr),
      pointerL(), pointerR(), selectedX(0), selectedY(0),
      transmitterView(workingCopy->GetInputWidth(), workingCopy->GetInputHeight()),
      receiverView(workingCopy->GetOutputWidth(), workingCopy->GetOutputHeight()),
      vectorShell(nullptr), transmitterField(nullptr), receiverField(nullptr),
      vectorBitField(nullptr), vectorShiftField(nullptr), vectorMenu(nullptr),
      vectorPulldown(nullptr), vectorNone(nullptr), shiftLabel(nullptr), vectorBitLabel(nullptr),
      choices(), transmitterDirection(kPermRow), receiverDirection(kPermRow),
      vectorMethod(kPermNone), vectorMode(kPermDefine), matrixShell(nullptr),
      matrixBitField(nullptr), horizontalShiftField(nullptr), verticalShiftField(nullptr),
      matrixMenu(nullptr), matrixPulldown(nullptr), matrixNone(nullptr), matrixBitLabel(nullptr),
      matrixDirection(kPermRow), matrixMethod(kPermNone), matrixMode(kPermDefine) {
    for (PermChoice& choice : choices)
        choice = PermChoice{this, 0, 0};
    ResetViews();
    BuildWidgets();
    BuildVectorDialog();
    BuildMatrixDialog();
}

APermModifyWindow::~APermModifyWindow() {
    // The dialogs are popups of the shell and go with it in the base destructor; the working
    // copy and the views go after this body.
    workingCopy.reset();
}

ElementView* APermModifyWindow::Make(AElement& element, FileArgument* data) {
    D_PermElem* table = dynamic_cast<D_PermElem*>(data);
    APermElem* perm = dynamic_cast<APermElem*>(&element);
    if (table == nullptr || perm == nullptr) {
        std::cerr << "APermModifyWindow::Make: no PERM element and table" << std::endl;
        return nullptr;
    }
    return new APermModifyWindow(table, perm);
}

Widget APermModifyWindow::BuildSide(Widget form, const char* formName, const char* labelName,
                                    const char* windowName, const char* drawName,
                                    XtEventHandler pointer, Widget* label, Widget* window) {
    Widget side = XtVaCreateManagedWidget(formName, xmFormWidgetClass, form, nullptr);
    const PositionGrid grid = CreatePositionGrid(side, "helplabel", labelName, windowName, drawName,
                                                 false, ExposeCallback, pointer, this);
    Attach(grid.window).Bottom(ToForm());
    *label = grid.posLabel;
    *window = grid.window;
    return grid.draw;
}

void APermModifyWindow::BuildWidgets() {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNfractionBase, 2,
                                   XmNmarginHeight, 3, XmNmarginWidth, 3, nullptr);
    Widget windowR = nullptr;
    drawL = BuildSide(form, "formL", "pos_labelL", "draw_windowL", "drawL", TransmitterHandler,
                      &pos_labelL, &draw_windowL);
    drawR = BuildSide(form, "formR", "pos_labelR", "draw_windowR", "drawR", ReceiverHandler,
                      &pos_labelR, &windowR);

    Widget zoomFrame = CreateZoomFrame(form, "zoom-label", zoom, ZoomCallback, this, &zoomScale);

    Widget buttonFrame = XtVaCreateManagedWidget("button_frame", xmFrameWidgetClass, form, nullptr);
    Widget buttonForm =
        XtVaCreateManagedWidget("button_form", xmFormWidgetClass, buttonFrame, nullptr);
    vectorButton = CreateDialogButton(buttonForm, " Vector ", VectorButtonCallback, this);
    matrixButton = CreateDialogButton(buttonForm, " Matrix ", MatrixButtonCallback, this);
    EqualizeWidths({vectorButton, matrixButton});
    Attach(matrixButton).Right(ToForm()).Top(ToForm()).Bottom(ToForm());
    Attach(vectorButton).Right(ToWidget(matrixButton)).Top(ToForm()).Bottom(ToForm());

    Widget actionArea = CreateModifyActionArea(form);

    // Bottom up: the action area, the buttons, the zoom; the two halves take the rest.
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(buttonFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(zoomFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(buttonFrame));
    Attach(XtParent(draw_windowL))
        .Left(ToForm())
        .Right(ToPosition(1))
        .Top(ToForm())
        .Bottom(ToWidget(zoomFrame));
    Attach(XtParent(windowR))
        .Left(ToPosition(1))
        .Right(ToForm())
        .Top(ToForm())
        .Bottom(ToWidget(zoomFrame));
    XtManageChild(form);
    Show();

    // The stored zoom only starts the scale: the transmitter is fitted to its view.
    zoom = FitZoom(drawL, transmitterView, zoomScale);
    ResizeDrawAreas();
}

Widget APermModifyWindow::BuildRadioBox(Widget parent, const char* name, int columns, int group,
                                        int first) {
    Arg args[2];
    XtSetArg(args[0], XmNnumColumns, columns);
    XtSetArg(args[1], XmNpacking, XmPACK_COLUMN);
    Widget box = XmCreateRadioBox(parent, const_cast<char*>(name), args, 2);
    const int nameBase =
        group == kVectorModeGroup || group == kMatrixModeGroup ? kModeNames : kDirectionNames;
    for (int i = 0; i < 2; i++) {
        PermChoice& record = choices[static_cast<size_t>(first + i)];
        record = PermChoice{this, group, i};
        Widget toggle = XtVaCreateManagedWidget(kNames[nameBase + i], xmToggleButtonGadgetClass,
                                                box, XmNset, i == 0 ? True : False, nullptr);
        XtAddCallback(toggle, XmNvalueChangedCallback, ToggleCallback, &record);
    }
    XtManageChild(box);
    return box;
}

Widget APermModifyWindow::BuildMethodMenu(Widget parent, const char* name, int group,
                                          Widget* none) {
    const int first = group == kVectorMethodGroup ? 4 : 15;
    Widget pulldown = XmCreatePulldownMenu(parent, const_cast<char*>("_pulldown"), nullptr, 0);
    for (int i = 0; i < kPermMethodCount; i++) {
        PermChoice& record = choices[static_cast<size_t>(first + i)];
        record = PermChoice{this, group, i};
        Widget button = XtVaCreateManagedWidget(kNames[kMethodNames + i], xmPushButtonGadgetClass,
                                                pulldown, nullptr);
        XtAddCallback(button, XmNactivateCallback, MethodCallback, &record);
        if (i == kPermNone) *none = button;
    }
    OwnedXmString label("Method: ");
    Arg args[3];
    XtSetArg(args[0], XmNsubMenuId, pulldown);
    XtSetArg(args[1], XmNlabelString, label.Get());
    XtSetArg(args[2], XmNmenuHistory, *none);
    Widget menu = XmCreateOptionMenu(parent, const_cast<char*>(name), args, 3);
    XtManageChild(menu);
    if (group == kVectorMethodGroup) {
        vectorPulldown = pulldown;
    } else {
        matrixPulldown = pulldown;
    }
    return menu;
}

Widget APermModifyWindow::BuildDirectionRow(Widget parent, const char* labelName,
                                            const char* frameName, const char* boxName, int group,
                                            int first) {
    Widget direction = CreateLabel(parent, labelName, "Direction: ");
    Widget radioFrame = XtVaCreateManagedWidget(frameName, xmFrameWidgetClass, parent, nullptr);
    BuildRadioBox(radioFrame, boxName, 1, group, first);
    Attach(direction).Left(ToForm()).Top(ToForm(5));
    Attach(radioFrame).Left(ToWidget(direction)).Top(ToForm()).Bottom(ToForm());
    return radioFrame;
}

Widget APermModifyWindow::BuildVectorEnd(Widget form, const VectorEndNames& names,
                                         const char* title, int group, int first, int16_t digits,
                                         int32_t max, Widget* field) {
    Widget frame = XtVaCreateManagedWidget(names.frame, xmFrameWidgetClass, form, nullptr);
    Widget rowColumn = XtVaCreateManagedWidget(names.rowColumn, xmRowColumnWidgetClass, frame,
                                               XmNorientation, XmVERTICAL, nullptr);
    Widget label = CreateLabel(rowColumn, names.label, title);
    XtVaSetValues(label, XmNmarginBottom, 10, nullptr);
    Widget endForm = XtVaCreateManagedWidget(names.form, xmFormWidgetClass, rowColumn, nullptr);
    Widget radioFrame =
        BuildDirectionRow(endForm, names.direction, names.radioFrame, names.radioBox, group, first);
    Widget number = CreateLabel(endForm, names.number, "  Number: ");
    *field = CreateReadInt(endForm, ReadIntOptions()
                                        .Size(static_cast<int16_t>(digits + 1), digits)
                                        .Range(0, max)
                                        .OnActivate(VectorOkCallback, this));
    Attach(number).Left(ToWidget(radioFrame)).Top(ToForm(5));
    Attach(*field).Left(ToWidget(number)).Top(ToForm());
    return frame;
}

void APermModifyWindow::StackMethodRows(Widget menu, Widget alignLabel,
                                        std::initializer_list<std::pair<Widget, Widget>> rows) {
    Attach(menu).Left(ToForm()).Top(ToForm());
    Widget above = menu;
    for (const std::pair<Widget, Widget>& row : rows) {
        Attach(row.second).Left(ToWidget(alignLabel)).Top(ToWidget(above));
        above = row.second;
    }
    Attach(above).Bottom(ToForm(3));
    for (const std::pair<Widget, Widget>& row : rows)
        AttachBeside(row.first, row.second);
}

void APermModifyWindow::FinishDialogForm(Widget form, std::initializer_list<Widget> frames,
                                         int modeGroup, int firstMode, XtCallbackProc ok,
                                         XtCallbackProc apply, XtCallbackProc cancel) {
    Widget dFrame = XtVaCreateManagedWidget("d_frame", xmFrameWidgetClass, form, nullptr);
    Widget dForm = XtVaCreateManagedWidget("d_form", xmFormWidgetClass, dFrame, nullptr);
    BuildRadioBox(dForm, "d_radio_box", 2, modeGroup, firstMode);

    const ActionAreaRow rows[] = {
        {"OK", ok, this},
        {"Apply", apply, this},
        {"Cancel", cancel, this},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));

    Widget above = nullptr;
    for (Widget frame : frames) {
        if (above == nullptr) {
            Attach(frame).Left(ToForm()).Right(ToForm()).Top(ToForm());
        } else {
            Attach(frame).Left(ToForm()).Right(ToForm()).Top(ToWidget(above, 3));
        }
        above = frame;
    }
    Attach(dFrame).Left(ToForm()).Right(ToForm()).Top(ToWidget(above, 3));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Top(ToWidget(dFrame)).Bottom(ToForm());
    XtManageChild(form);
}

void APermModifyWindow::ShowDialogStart(Widget dialogShell, Widget menu, Widget none,
                                        Widget bitLabel, Widget bitField, int* method) {
    const int inWidth = workingCopy->GetInputWidth();
    SetBitField(bitLabel, bitField, false, inWidth);
    // Both dialogs start on rows: the methods walk a transmitter row. The receiver's size plays
    // no part, as at every later change of direction.
    SetMethodAvailable(IsPowerOfTwo(inWidth) != 0, menu, none, bitLabel, bitField, method, inWidth);
    XtRealizeWidget(dialogShell);
    FixShellSize(dialogShell);
}

// Records: 0..1 transmitter, 2..3 receiver, 4..8 vector methods, 9..10 vector modes, 11..12
// matrix directions, 13..14 matrix modes, 15..19 matrix methods.
void APermModifyWindow::BuildVectorDialog() {
    const int inWidth = workingCopy->GetInputWidth(), inHeight = workingCopy->GetInputHeight();
    const int outWidth = workingCopy->GetOutputWidth(), outHeight = workingCopy->GetOutputHeight();
    const int16_t inDigits = FieldCharacters(Max(inWidth, inHeight));
    const int16_t outDigits = FieldCharacters(Max(outWidth, outHeight));
    const int32_t shift = ShiftLimit(outDigits);
    const int16_t shiftCharacters = FieldCharacters(shift) + 1; // and the sign

    vectorShell =
        CreateDialogShell(shell, "Perm - Vector", nullptr, false, VectorCancelCallback, this);
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, vectorShell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);

    const VectorEndNames transmitterNames = {"t_frame",     "t_rowcol",    "t_label",
                                             "t_form",      "t_direction", "t_radio_frame",
                                             "t_radio_box", "t_number"};
    Widget tFrame = BuildVectorEnd(form, transmitterNames, "Transmitter:", kVectorTransmitterGroup,
                                   0, inDigits, inHeight - 1, &transmitterField);
    const VectorEndNames receiverNames = {"r_frame",     "r_rowcol",    "r_label",
                                          "r_form",      "r_direction", "r_radio_frame",
                                          "r_radio_box", "r_number"};
    Widget rFrame = BuildVectorEnd(form, receiverNames, "Receiver:", kVectorReceiverGroup, 2,
                                   outDigits, outHeight - 1, &receiverField);

    Widget mFrame = XtVaCreateManagedWidget("m_frame", xmFrameWidgetClass, form, nullptr);
    Widget mForm = XtVaCreateManagedWidget("m_form", xmFormWidgetClass, mFrame, nullptr);
    vectorMenu = BuildMethodMenu(mForm, "m_menu_v", kVectorMethodGroup, &vectorNone);
    vectorBitLabel = CreateLabel(mForm, "bit_label", "Bit: ");
    vectorBitField =
        CreateReadInt(mForm, ReadIntOptions().Size(3, 2).OnActivate(VectorOkCallback, this));
    // As wide as its longer text, so that the fields stay put when it changes.
    shiftLabel = CreateLabel(mForm, "shift_label", kHorizontalShift);
    XtVaSetValues(shiftLabel, XmNrecomputeSize, False, XmNalignment, XmALIGNMENT_BEGINNING,
                  nullptr);
    vectorShiftField = CreateReadInt(mForm, ReadIntOptions()
                                                .Size(shiftCharacters, shiftCharacters)
                                                .Range(-shift, shift)
                                                .OnActivate(VectorOkCallback, this));
    StackMethodRows(vectorMenu, shiftLabel,
                    {{vectorBitLabel, vectorBitField}, {shiftLabel, vectorShiftField}});

    FinishDialogForm(form, {tFrame, rFrame, mFrame}, kVectorModeGroup, 9, VectorOkCallback,
                     VectorApplyCallback, VectorCancelCallback);
    ShowDialogStart(vectorShell, vectorMenu, vectorNone, vectorBitLabel, vectorBitField,
                    &vectorMethod);
}

void APermModifyWindow::BuildMatrixDialog() {
    const int outWidth = workingCopy->GetOutputWidth(), outHeight = workingCopy->GetOutputHeight();
    const int32_t shift = ShiftLimit(FieldCharacters(Max(outWidth, outHeight)));
    const int16_t shiftCharacters = FieldCharacters(shift) + 1; // and the sign

    matrixShell =
        CreateDialogShell(shell, "Perm - Matrix", nullptr, false, MatrixCancelCallback, this);
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, matrixShell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);

    Widget diFrame = XtVaCreateManagedWidget("di_frame", xmFrameWidgetClass, form, nullptr);
    Widget diForm = XtVaCreateManagedWidget("di_form", xmFormWidgetClass, diFrame, nullptr);
    BuildDirectionRow(diForm, "di_direction", "di_radio_frame", "di_radio_box",
                      kMatrixDirectionGroup, 11);

    Widget mFrame = XtVaCreateManagedWidget("m_frame", xmFrameWidgetClass, form, nullptr);
    Widget mForm = XtVaCreateManagedWidget("m_form", xmFormWidgetClass, mFrame, nullptr);
    matrixMenu = BuildMethodMenu(mForm, "m_menu_m", kMatrixMethodGroup, &matrixNone);
    matrixBitLabel = CreateLabel(mForm, "bit_label", "Bit: ");
    matrixBitField =
        CreateReadInt(mForm, ReadIntOptions().Size(3, 2).OnActivate(MatrixOkCallback, this));
    Widget horizontalLabel = CreateLabel(mForm, "horizontal_label", kHorizontalShift);
    horizontalShiftField = CreateReadInt(mForm, ReadIntOptions()
                                                    .Size(shiftCharacters, shiftCharacters)
                                                    .Range(-shift, shift)
                                                    .OnActivate(MatrixOkCallback, this));
    Widget verticalLabel = CreateLabel(mForm, "vertical_label", "  Vertical Shift: ");
    verticalShiftField = CreateReadInt(mForm, ReadIntOptions()
                                                  .Size(shiftCharacters, shiftCharacters)
                                                  .Range(-shift, shift)
                                                  .OnActivate(MatrixOkCallback, this));
    StackMethodRows(matrixMenu, horizontalLabel,
                    {{matrixBitLabel, matrixBitField},
                     {horizontalLabel, horizontalShiftField},
                     {verticalLabel, verticalShiftField}});

    FinishDialogForm(form, {diFrame, mFrame}, kMatrixModeGroup, 13, MatrixOkCallback,
                     MatrixApplyCallback, MatrixCancelCallback);
    ShowDialogStart(matrixShell, matrixMenu, matrixNone, matrixBitLabel, matrixBitField,
                    &matrixMethod);
}

void APermModifyWindow::StoreCopy() {
    // The element's table is reached through the element: a load may have replaced it.
    if (APermElem* perm = dynamic_cast<APermElem*>(element)) {
        perm->GetData() = *workingCopy;
    } else if (permData != nullptr) {
        *permData = *workingCopy;
    }
}

void APermModifyWindow::ResetViews() {
    const int inWidth = workingCopy->GetInputWidth(), inHeight = workingCopy->GetInputHeight();
    const int outWidth = workingCopy->GetOutputWidth(), outHeight = workingCopy->GetOutputHeight();
    if (transmitterView.GetDimX() != inWidth || transmitterView.GetDimY() != inHeight) {
        transmitterView = Matrix(inWidth, inHeight);
    }
    if (receiverView.GetDimX() != outWidth || receiverView.GetDimY() != outHeight) {
        receiverView = Matrix(outWidth, outHeight);
    }
    transmitterView.UnsetAll();
    selectedX = 0;
    selectedY = 0;
    transmitterView.SetBit(0, 0, 1);
    workingCopy->FillTargets(0, 0, receiverView);
    pointerL = GridPointer();
    pointerR = GridPointer();
}

void APermModifyWindow::RefreshModifyWindow() {
    ResetViews();
    ResizeDrawAreas();
    DrawViews(1);
}

void APermModifyWindow::ResizeDrawAreas() {
    if (drawL != nullptr) {
        SizeGridArea(drawL, zoom, transmitterView.GetDimX(), transmitterView.GetDimY());
    }
    if (drawR != nullptr) SizeGridArea(drawR, zoom, receiverView.GetDimX(), receiverView.GetDimY());
}

void APermModifyWindow::DrawViews(int clear) {
    if (drawL != nullptr) Draw(transmitterView, drawL, zoom, clear);
    if (drawR != nullptr) Draw(receiverView, drawR, zoom, clear);
}

void APermModifyWindow::ZoomChanged(int value) {
    zoom = value;
    ResizeDrawAreas();
    DrawViews(1);
}

void APermModifyWindow::Exposed(Widget area, XEvent* event) {
    if (!IsLastExpose(event)) return;
    if (area == drawL) Draw(transmitterView, drawL, zoom, 0);
    if (area == drawR) Draw(receiverView, drawR, zoom, 0);
}

void APermModifyWindow::SelectTransmitter(int x, int y) {
    if (x < 0 || y < 0 || x >= transmitterView.GetDimX() || y >= transmitterView.GetDimY()) return;
    ToggleAndDraw(transmitterView, drawL, zoom, selectedX, selectedY);
    ToggleAndDraw(transmitterView, drawL, zoom, x, y);
    selectedX = x;
    selectedY = y;
    workingCopy->FillTargets(x, y, receiverView);
    Draw(receiverView, drawR, zoom, 1);
}

void APermModifyWindow::ToggleReceiver(int x, int y) {
    if (x < 0 || y < 0 || x >= receiverView.GetDimX() || y >= receiverView.GetDimY()) return;
    ToggleAndDraw(receiverView, drawR, zoom, x, y);
    if (!receiverView(x, y)) {
        workingCopy->Remove(selectedX, selectedY, x, y);
    } else if (workingCopy->Add(selectedX, selectedY, x, y) < 0) {
        // The list could not grow: the view shows what the table holds.
        ToggleAndDraw(receiverView, drawR, zoom, x, y);
        RingBell(XtDisplay(drawR));
    }
}

void APermModifyWindow::TransmitterEvent(XEvent* event) {
    int x = -1, y = -1;
    GridPointerStep step = {};
    if (!StepGridEvent(pointerL, event, &transmitterView, zoom, &x, &y, &step)) return;
    // A press, and a drag with a button held, select the cell instead of toggling it.
    if (step.toggle) SelectTransmitter(x, y);
    ShowGridCell(pos_labelL, step, x, y);
}

void APermModifyWindow::ReceiverEvent(XEvent* event) {
    int px = 0, py = 0;
    unsigned int state = 0;
    if (!GridPointerOf(event, &px, &py, &state)) return;
    int x = -1, y = -1;
    const int onCell =
        event->type != LeaveNotify && AreaPixelToCell(receiverView, drawR, px, py, zoom, x, y);
    if (!onCell) {
        if (pointerR.labelShown) SetLabelText(pos_labelR, " ");
        pointerR.labelShown = 0;
        return;
    }
    const bool newCell = x != pointerR.lastX || y != pointerR.lastY;
    if (event->type == ButtonPress || (newCell && state != 0)) {
        // Dragging with a button held toggles every cell crossed once, the label left as it is.
        ToggleReceiver(x, y);
    } else if (newCell || !pointerR.labelShown) {
        char text[32];
        std::snprintf(text, sizeof text, "%d,%d", x, y);
        SetLabelText(pos_labelR, text);
        pointerR.labelShown = 1;
    }
    pointerR.lastX = x;
    pointerR.lastY = y;
}

void APermModifyWindow::ShowVectorDialog() {
    XtSetSensitive(vectorButton, False);
    XtPopup(vectorShell, XtGrabNone);
}

void APermModifyWindow::ShowMatrixDialog() {
    XtSetSensitive(matrixButton, False);
    XtPopup(matrixShell, XtGrabNone);
}

void APermModifyWindow::VectorOk() {
    if (ApplyVector() == 0) VectorCancel();
}

void APermModifyWindow::VectorCancel() {
    XtPopdown(vectorShell);
    XtSetSensitive(vectorButton, True);
}

void APermModifyWindow::MatrixOk() {
    if (ApplyMatrix() == 0) MatrixCancel();
}

void APermModifyWindow::MatrixCancel() {
    XtPopdown(matrixShell);
    XtSetSensitive(matrixButton, True);
}

void APermModifyWindow::SetBitField(Widget bitLabel, Widget bitField, bool exchange,
                                    int lineLength) {
    // Bits 0 .. n - 1 of a line of 2^n cells; a line that is no power of two has none to choose.
    ReadIntSetMax(bitField, exchange ? Max(Log2(lineLength) - 1, 0) : 0);
    XtSetSensitive(bitLabel, exchange ? True : False);
    ReadIntSetSensitive(bitField, exchange ? True : False);
}

void APermModifyWindow::SetMethodAvailable(bool available, Widget menu, Widget none,
                                           Widget bitLabel, Widget bitField, int* method,
                                           int lineLength) {
    if (available) {
        XtSetSensitive(menu, True);
        if (*method == kPermExchange) SetBitField(bitLabel, bitField, true, lineLength);
        return;
    }
    SetBitField(bitLabel, bitField, false, lineLength);
    XtVaSetValues(menu, XmNmenuHistory, none, nullptr);
    *method = kPermNone;
    XtSetSensitive(menu, False);
}

void APermModifyWindow::Choose(const PermChoice& choice) {
    switch (choice.group) {
        case kVectorTransmitterGroup:
            VectorTransmitterChanged(choice.index);
            break;
        case kVectorReceiverGroup:
            VectorReceiverChanged(choice.index);
            break;
        case kVectorMethodGroup:
            VectorMethodChanged(choice.index);
            break;
        case kVectorModeGroup:
            vectorMode = choice.index;
            break;
        case kMatrixDirectionGroup:
            MatrixDirectionChanged(choice.index);
            break;
        case kMatrixMethodGroup:
            MatrixMethodChanged(choice.index);
            break;
        case kMatrixModeGroup:
            matrixMode = choice.index;
            break;
        default:
            std::cerr << "APermModifyWindow::Choose: no group " << choice.group << std::endl;
            break;
    }
}

void APermModifyWindow::VectorTransmitterChanged(int direction) {
    const int inWidth = workingCopy->GetInputWidth(), inHeight = workingCopy->GetInputHeight();
    transmitterDirection = direction;
    ReadIntSetMax(transmitterField, (direction == kPermRow ? inHeight : inWidth) - 1);
    const int length = VectorLineLength();
    SetMethodAvailable(IsPowerOfTwo(length) != 0, vectorMenu, vectorNone, vectorBitLabel,
                       vectorBitField, &vectorMethod, length);
}

void APermModifyWindow::VectorReceiverChanged(int direction) {
    const int outWidth = workingCopy->GetOutputWidth(), outHeight = workingCopy->GetOutputHeight();
    const bool changed = direction != receiverDirection;
    receiverDirection = direction;
    ReadIntSetMax(receiverField, (direction == kPermRow ? outHeight : outWidth) - 1);
    if (changed)
        SetLabelText(shiftLabel, direction == kPermRow ? kHorizontalShift : kVerticalShift);
    // The method walks the transmitter line, whatever the receiver's: its length decides.
    const int length = VectorLineLength();
    SetMethodAvailable(IsPowerOfTwo(length) != 0, vectorMenu, vectorNone, vectorBitLabel,
                       vectorBitField, &vectorMethod, length);
}

int APermModifyWindow::VectorLineLength() const {
    return transmitterDirection == kPermRow ? workingCopy->GetInputWidth()
                                            : workingCopy->GetInputHeight();
}

void APermModifyWindow::VectorMethodChanged(int method) {
    vectorMethod = method;
    SetBitField(vectorBitLabel, vectorBitField, method == kPermExchange, VectorLineLength());
}

void APermModifyWindow::MatrixDirectionChanged(int direction) {
    matrixDirection = direction;
    const int length =
        direction == kPermRow ? workingCopy->GetInputWidth() : workingCopy->GetInputHeight();
    SetMethodAvailable(IsPowerOfTwo(length) != 0, matrixMenu, matrixNone, matrixBitLabel,
                       matrixBitField, &matrixMethod, length);
}

void APermModifyWindow::MatrixMethodChanged(int method) {
    matrixMethod = method;
    const int line =
        matrixDirection == kPermRow ? workingCopy->GetInputWidth() : workingCopy->GetInputHeight();
    SetBitField(matrixBitLabel, matrixBitField, method == kPermExchange, line);
}

void APermModifyWindow::ShowTargets() {
    workingCopy->FillTargets(selectedX, selectedY, receiverView);
    if (drawR != nullptr) Draw(receiverView, drawR, zoom, 1);
}

int APermModifyWindow::ApplyVector() {
    int32_t shift = 0, bit = 0, receiver = 0, transmitter = 0;
    if (!ReadIntGetValue(vectorShiftField, &shift) || !ReadIntGetValue(vectorBitField, &bit) ||
        !ReadIntGetValue(receiverField, &receiver) ||
        !ReadIntGetValue(transmitterField, &transmitter)) {
        return 1;
    }
    const PermVectorSettings settings = {
        transmitterDirection, receiverDirection, vectorMethod, vectorMode,
        transmitter,          receiver,          bit,          shift};
    ApplyVectorMethod(*workingCopy, settings);
    const int onLine = transmitterDirection == kPermRow ? selectedY : selectedX;
    if (onLine == transmitter) ShowTargets();
    return 0;
}

int APermModifyWindow::ApplyMatrix() {
    int32_t horizontal = 0, vertical = 0, bit = 0;
    if (!ReadIntGetValue(horizontalShiftField, &horizontal) ||
        !ReadIntGetValue(verticalShiftField, &vertical) || !ReadIntGetValue(matrixBitField, &bit)) {
        return 1;
    }
    const PermMatrixSettings settings = {matrixDirection, matrixMethod, matrixMode, bit,
                                         horizontal,      vertical};
    ApplyMatrixMethod(*workingCopy, settings);
    ShowTargets();
    return 0;
}
