#include "editors/APlaneModifyWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/ScrolledW.h>
#include <Xm/Separator.h>
#include <Xm/ToggleBG.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "editors/EditorHost.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "model/elements/AIOElem.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Colors.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/ReadInt.h"
#include "toolkit/WidgetHelpers.h"

namespace {

const int kFieldLimit = 99999; // the fields' range until UpdateLimits narrows it
const int kMaxPlanesAdded = 100000;

// The direction pixmaps, 16 by 13: an arrow from the least to the most significant cell with a
// ring at its tail. The other two are these mirrored.
const int kArrowWidth = 16;
const int kArrowHeight = 13;
const char* const kWestEastArt[kArrowHeight] = {
    "                ", //
    "                ", //
    "                ", //
    "           x    ", //
    " xx         x   ", //
    "x  x         x  ", //
    "x  xxxxxxxxxxxx ", //
    "x  x         x  ", //
    " xx         x   ", //
    "           x    ", //
    "                ", //
    "                ", //
    "                ", //
};
const char* const kSouthNorthArt[kArrowHeight] = {
    "       x        ", //
    "      xxx       ", //
    "     x x x      ", //
    "    x  x  x     ", //
    "       x        ", //
    "       x        ", //
    "       x        ", //
    "       x        ", //
    "       x        ", //
    "      xxx       ", //
    "     x   x      ", //
    "     x   x      ", //
    "      xxx       ", //
};

// XBM bits of the art, mirrored left-right or top-bottom when asked.
void ArtToBits(const char* const* art, bool mirrorX, bool mirrorY, unsigned char* bits) {
    const int bytesPerRow = (kArrowWidth + 7) / 8;
    std::memset(bits, 0, static_cast<size_t>(bytesPerRow * kArrowHeight));
    for (int y = 0; y < kArrowHeight; y++) {
        const char* row = art[mirrorY ? kArrowHeight - 1 - y : y];
        for (int x = 0; x < kArrowWidth; x++) {
            if (row[mirrorX ? kArrowWidth - 1 - x : x] != 'x') continue;
            bits[y * bytesPerRow + x / 8] |= static_cast<unsigned char>(1u << (x % 8));
        }
    }
}

APlaneModifyWindow* Self(XtPointer self) {
    return static_cast<APlaneModifyWindow*>(self);
}

int UserIndex(Widget w) {
    XtPointer data = nullptr;
    XtVaGetValues(w, XmNuserData, &data, nullptr);
    return static_cast<int>(reinterpret_cast<intptr_t>(data));
}

XtPointer IndexData(int index) {
    return reinterpret_cast<XtPointer>(static_cast<intptr_t>(index));
}

// The fields report on Return, on leaving and (all but the position field) at each arrow step;
// an invalid text is the field's to correct.
void PositionFieldCallback(Widget form, XtPointer self, XtPointer) {
    int32_t value = 0;
    if (ReadIntGetValue(form, &value)) Self(self)->PositionChanged(value);
}

void LineFieldCallback(Widget form, XtPointer self, XtPointer) {
    int32_t value = 0;
    if (ReadIntGetValue(form, &value)) Self(self)->LineChanged(value);
}

void InterleaveFieldCallback(Widget form, XtPointer self, XtPointer) {
    int32_t value = 0;
    if (ReadIntGetValue(form, &value)) Self(self)->InterleaveChanged(value);
}

void OffsetFieldCallback(Widget form, XtPointer self, XtPointer) {
    int32_t value = 0;
    if (ReadIntGetValue(form, &value)) Self(self)->OffsetChanged(value);
}

void ValueFieldCallback(Widget form, XtPointer self, XtPointer) {
    int32_t value = 0;
    if (ReadIntGetValue(form, &value)) Self(self)->ValueChanged(value);
}

bool ToggleSet(XtPointer call) {
    return static_cast<XmToggleButtonCallbackStruct*>(call)->set != 0;
}

void ViewToggleCallback(Widget toggle, XtPointer self, XtPointer call) {
    if (ToggleSet(call)) Self(self)->ViewChanged(UserIndex(toggle));
}

void DirectionToggleCallback(Widget toggle, XtPointer self, XtPointer call) {
    if (ToggleSet(call)) Self(self)->DirectionChanged(UserIndex(toggle));
}

void SignToggleCallback(Widget toggle, XtPointer self, XtPointer call) {
    if (ToggleSet(call)) Self(self)->SignChanged(UserIndex(toggle));
}

void CodingToggleCallback(Widget toggle, XtPointer self, XtPointer call) {
    if (ToggleSet(call)) Self(self)->CodingChanged(UserIndex(toggle));
}

void ZoomCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->ZoomChanged(static_cast<XmScaleCallbackStruct*>(call)->value);
}

void DrawExposeCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->PlaneExposed(static_cast<XmDrawingAreaCallbackStruct*>(call)->event);
}

void ViewExposeCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->ViewIconExposed(static_cast<XmDrawingAreaCallbackStruct*>(call)->event);
}

void DrawEventHandler(Widget, XtPointer self, XEvent* event, Boolean*) {
    Self(self)->PointerEvent(event);
}

void SetAllCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->SetAll();
}

void UnsetAllCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->UnsetAll();
}

void SaveCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->SaveAsMatrix();
}

void LoadCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->LoadAsMatrix();
}

void AddCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->AddPlanes();
}

void DeleteCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->DeletePlanes();
}

void OkCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Ok();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Cancel();
}

void AddResult(int cancelled, int zPosition, int number, void* self) {
    Self(self)->AddPlanesResult(cancelled, zPosition, number);
}

void DeleteResult(int cancelled, int zPosition, int number, void* self) {
    Self(self)->DeletePlanesResult(cancelled, zPosition, number);
}

Widget Label(const char* name, WidgetClass type, Widget parent, const char* text) {
    OwnedXmString string(text);
    return XtVaCreateManagedWidget(name, type, parent, XmNlabelString, string.Get(), nullptr);
}

Widget Frame(const char* name, Widget parent) {
    return XtVaCreateManagedWidget(name, xmFrameWidgetClass, parent, XmNmarginWidth, 5, nullptr);
}

Widget RadioBox(const char* name, Widget parent, short columns) {
    // Packed tight: the window's default height holds the view column only so.
    Arg args[4];
    XtSetArg(args[0], XmNnumColumns, columns);
    XtSetArg(args[1], XmNpacking, XmPACK_COLUMN);
    XtSetArg(args[2], XmNspacing, 0);
    XtSetArg(args[3], XmNmarginHeight, 0);
    Widget box = XmCreateRadioBox(parent, const_cast<char*>(name), args, 4);
    XtManageChild(box);
    return box;
}

Widget Toggle(const char* name, Widget box, int index, int current, XtCallbackProc callback,
              XtPointer self) {
    Widget toggle =
        XtVaCreateManagedWidget(name, xmToggleButtonGadgetClass, box, XmNuserData, IndexData(index),
                                XmNset, index == current ? True : False, nullptr);
    XtAddCallback(toggle, XmNvalueChangedCallback, callback, self);
    return toggle;
}

} // namespace

int StaticInitDigits() {
    return static_cast<int>(std::log10(2147483647.0)) + 2;
}

int ViewIconQuarter(int position, int size) {
    if (position == 0) return 0;
    if (position == size - 1) return 3;
    if (position > size / 2) return 2;
    return 1;
}

APlaneModifyWindow::APlaneModifyWindow(AIOElem* owner, D_IOElem* stackCopy, bool inputWindow)
    : AElementModifyWindow(owner), stack(stackCopy), edited(false), display(XtDisplay(shell)),
      form(nullptr), draw_window(nullptr), draw(nullptr), pos_label(nullptr), dim_label(nullptr),
      positionField(nullptr), lineField(nullptr), interleaveField(nullptr), offsetField(nullptr),
      valueField(nullptr), view_draw(nullptr), deleteButton(nullptr), zoomScale(nullptr),
      planeDialog(nullptr), pointer(), position(0), line(0), interleave(0), offset(0), lastValue(0),
      view(0), direction(0), sign(0), coding(0), directionPixmaps{0, 0, 0, 0}, shownPlane(1, 1),
      iconGC(nullptr), input(inputWindow) {
    const IOViewSettings& settings = owner->GetViewSettings();
    view = std::clamp(settings.view, 0, 2);
    direction = settings.direction;
    sign = settings.sign;
    coding = settings.coding;
    position = settings.position;
    line = settings.line;
    interleave = settings.interleave;
    offset = settings.offset;
    zoom = ClampGridZoom(zoom);
    // The stack may have shrunk since the settings were stored: never cut a slice outside it.
    position = std::clamp(position, 0, PositionExtent() - 1);
    CreateBlackGC(&iconGC, shell);
    ExtractPlane();
    BuildWidgets();
    ShowDimensions();
    UpdateLimits();
}

APlaneModifyWindow::~APlaneModifyWindow() {
    static_cast<AIOElem*>(element)->SetViewSettings(
        {view, direction, sign, coding, position, line, interleave, offset});
    ForgetPlaneDialog();
    for (Pixmap& pixmap : directionPixmaps) {
        if (pixmap != 0) XFreePixmap(display, pixmap);
        pixmap = 0;
    }
    if (iconGC != nullptr) XFreeGC(display, iconGC);
    // The shown plane goes with the window, and with it a file dialog opened for it.
}

CodecSettings APlaneModifyWindow::GetCodecSettings() const {
    return {direction, sign, coding, line, interleave, offset};
}

// ---- widgets

void APlaneModifyWindow::BuildWidgets() {
    form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3, XmNmarginWidth, 3,
                            nullptr);

    Widget positionTitle = Label("Position: ", xmLabelGadgetClass, form, "Position: ");
    XtVaSetValues(positionTitle, XmNmarginLeft, 5, nullptr);
    pos_label = Label("pos_label", xmLabelGadgetClass, form, " ");
    XtVaSetValues(pos_label, XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
    Widget dimTitle = Label("Dim: ", xmLabelGadgetClass, form, "Dim: ");
    dim_label = Label("dim_label", xmLabelWidgetClass, form, "             ");
    XtVaSetValues(dim_label, XmNalignment, XmALIGNMENT_BEGINNING, XmNrecomputeSize, False, nullptr);

    draw_window = XtVaCreateManagedWidget(
        "draw_window", xmScrolledWindowWidgetClass, form, XmNscrollingPolicy, XmAUTOMATIC,
        XmNscrollBarDisplayPolicy, XmSTATIC, XmNtraversalOn, False, nullptr);
    if (width != 0) XtVaSetValues(draw_window, XmNwidth, static_cast<Dimension>(width), nullptr);
    if (height != 0) {
        XtVaSetValues(draw_window, XmNheight, static_cast<Dimension>(height), nullptr);
    }
    draw = CreateGridArea(draw_window, "draw", DrawExposeCallback, DrawEventHandler, this);

    Widget zoomFrame = CreateZoomFrame(form, "Zoom: ", zoom, ZoomCallback, this, &zoomScale);

    Widget viewFrame = BuildViewFrame(form);
    Widget dataFrame = BuildDataFrame(form);
    Widget buttonFrame = BuildPlaneButtons(form);
    Widget actionArea = BuildActionArea(form);

    // Bottom up: the action area, the plane buttons, the data frame; above it the view column
    // at the right and, left of it, the top row, the plane and the zoom.
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(buttonFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(dataFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(buttonFrame));
    Attach(viewFrame).Right(ToForm()).Top(ToForm(2)).Bottom(ToWidget(dataFrame));
    Attach(positionTitle).Left(ToForm()).Top(ToForm());
    Attach(dim_label).Right(ToWidget(viewFrame)).Top(ToForm());
    Attach(dimTitle).Right(ToWidget(dim_label)).Top(ToForm());
    Attach(pos_label).Left(ToWidget(positionTitle)).Right(ToWidget(dimTitle)).Top(ToForm());
    Attach(zoomFrame).Left(ToForm()).Right(ToWidget(viewFrame)).Bottom(ToWidget(dataFrame));
    Attach(draw_window)
        .Left(ToForm())
        .Right(ToWidget(viewFrame))
        .Top(ToWidget(positionTitle))
        .Bottom(ToWidget(zoomFrame));

    ResizeDrawArea();
    XtManageChild(form);
    Show();
    PlaceRadioFrames();
    ScrollToEnd(draw_window);
}

void APlaneModifyWindow::PlaceRadioFrames() {
    // The value frame can be the wider one: the radio frames must not overlap it.
    Widget lineFrame = XtNameToWidget(form, "*line_frame");
    Widget valueFrame = XtNameToWidget(form, "*value_frame");
    Widget dualFrame = XtNameToWidget(form, "*dual_radio_frame");
    Widget signFrame = XtNameToWidget(form, "*sign_radio_frame");
    if (lineFrame == nullptr || valueFrame == nullptr || dualFrame == nullptr ||
        signFrame == nullptr) {
        return;
    }
    Dimension lineWidth = 0;
    Dimension valueWidth = 0;
    XtVaGetValues(lineFrame, XmNwidth, &lineWidth, nullptr);
    XtVaGetValues(valueFrame, XmNwidth, &valueWidth, nullptr);
    if (valueWidth <= lineWidth) return;
    Attach(dualFrame).Left(ToWidget(valueFrame));
    Attach(signFrame).Left(ToWidget(valueFrame));
}

Widget APlaneModifyWindow::BuildViewFrame(Widget parent) {
    Widget viewFrame = Frame("view_frame", parent);
    Widget viewForm = XtVaCreateManagedWidget("view_form", xmFormWidgetClass, viewFrame, nullptr);
    Widget viewTitle = Label("View:", xmLabelGadgetClass, viewForm, "View:");
    Widget drawFrame = XtVaCreateManagedWidget("view_draw_frame", xmFrameWidgetClass, viewForm,
                                               XmNshadowType, XmSHADOW_IN, nullptr);
    view_draw = XtVaCreateManagedWidget("view_draw", xmDrawingAreaWidgetClass, drawFrame, XmNwidth,
                                        100, XmNheight, 100, XmNbackground, GetGray90(), nullptr);
    XtAddCallback(view_draw, XmNexposeCallback, ViewExposeCallback, this);
    Widget radioFrame = Frame("view_radio_frame", viewForm);
    Widget radioBox = RadioBox("view_radio_box", radioFrame, 1);
    const char* const views[3] = {"XY-Plane", "XZ-Plane", "YZ-Plane"};
    for (int i = 0; i < 3; i++) {
        Widget toggle = Toggle(views[i], radioBox, i, view, ViewToggleCallback, this);
        XtVaSetValues(toggle, XmNmarginHeight, 0, nullptr);
    }
    Widget positionTitle = Label("Position: ", xmLabelGadgetClass, viewForm, "Position: ");
    positionField = CreateReadInt(viewForm, ReadIntOptions()
                                                .Size(5, 5)
                                                .Value(position)
                                                .Range(0, kFieldLimit)
                                                .OnActivate(PositionFieldCallback, this)
                                                .OnCommit(PositionFieldCallback, this));
    Widget separator =
        XtVaCreateManagedWidget("helpseparator", xmSeparatorWidgetClass, viewForm, XmNorientation,
                                XmHORIZONTAL, XmNseparatorType, XmNO_LINE, nullptr);

    // The buttons stack upwards from the bottom; listed here from the top.
    Widget buttons[4];
    int count = 0;
    if (input) {
        buttons[count++] = CreateDialogButton(viewForm, " Set All ", SetAllCallback, this);
        buttons[count++] = CreateDialogButton(viewForm, " Unset All ", UnsetAllCallback, this);
    }
    buttons[count++] = CreateDialogButton(viewForm, " Save As Matrix ", SaveCallback, this);
    if (input)
        buttons[count++] = CreateDialogButton(viewForm, " Load As Matrix ", LoadCallback, this);
    for (int i = count - 1; i >= 0; i--) {
        // Flat enough that the four fit beside the plane at the default height.
        XtVaSetValues(buttons[i], XmNmarginHeight, 0, nullptr);
        if (i == count - 1) {
            Attach(buttons[i]).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
        } else {
            Attach(buttons[i]).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(buttons[i + 1]));
        }
    }

    Attach(viewTitle).Left(ToForm()).Top(ToForm());
    Attach(drawFrame).Left(ToForm()).Top(ToWidget(viewTitle));
    Attach(radioFrame).Left(ToForm()).Right(ToForm()).Top(ToWidget(drawFrame, 5));
    Attach(positionTitle).Left(ToForm()).Top(ToWidget(radioFrame));
    Attach(positionField).Left(ToForm()).Top(ToWidget(positionTitle));
    Attach(separator)
        .Left(ToForm())
        .Right(ToForm())
        .Top(ToWidget(positionField))
        .Bottom(ToWidget(buttons[0]));
    return viewFrame;
}

// The line-number, interleave and offset fields.
Widget APlaneModifyWindow::BuildLineFrame(Widget parent) {
    Widget lineFrame = Frame("line_frame", parent);
    Widget lineForm = XtVaCreateManagedWidget("line_form", xmFormWidgetClass, lineFrame, nullptr);
    const char* const titles[3] = {"Line-Number: ", "Interleave: ", "Offset: "};
    const XtCallbackProc callbacks[3] = {LineFieldCallback, InterleaveFieldCallback,
                                         OffsetFieldCallback};
    const int32_t values[3] = {line, interleave, offset};
    Widget labels[3];
    Widget fields[3];
    for (int i = 0; i < 3; i++) {
        labels[i] = Label(titles[i], xmLabelGadgetClass, lineForm, titles[i]);
        XtVaSetValues(labels[i], XmNmarginBottom, 8, XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
        fields[i] = CreateReadInt(lineForm, ReadIntOptions()
                                                .Size(5, 5)
                                                .Value(values[i])
                                                .Range(0, kFieldLimit)
                                                .OnActivate(callbacks[i], this)
                                                .OnStep(callbacks[i], this)
                                                .OnCommit(callbacks[i], this));
    }
    EqualizeWidths({labels[0], labels[1], labels[2]});
    // Each label beside its field, the fields one below the other.
    for (int i = 0; i < 3; i++) {
        Attach(fields[i])
            .Left(ToWidget(labels[i]))
            .Top(i == 0 ? ToForm() : ToWidget(fields[i - 1]));
        Attach(labels[i])
            .Left(ToForm())
            .Top(ToOppositeWidget(fields[i]))
            .Bottom(ToOppositeWidget(fields[i]));
    }
    lineField = fields[0];
    interleaveField = fields[1];
    offsetField = fields[2];
    return lineFrame;
}

Widget APlaneModifyWindow::BuildDataFrame(Widget parent) {
    Widget dataFrame = Frame("data_frame", parent);
    Widget dataForm = XtVaCreateManagedWidget("data_form", xmFormWidgetClass, dataFrame, nullptr);
    Widget dataTitle =
        Label("Data-Manipulation:", xmLabelGadgetClass, dataForm, "Data-Manipulation:");
    Widget dataForm2 = XtVaCreateManagedWidget("data_form2", xmFormWidgetClass, dataForm, nullptr);
    Attach(dataTitle).Left(ToForm()).Top(ToForm());
    Attach(dataForm2).Left(ToForm()).Right(ToForm()).Top(ToWidget(dataTitle)).Bottom(ToForm());

    Widget lineFrame = BuildLineFrame(dataForm2);
    Widget valueFrame = Frame("value_frame", dataForm2);
    Widget valueForm =
        XtVaCreateManagedWidget("value_form", xmFormWidgetClass, valueFrame, nullptr);
    Widget valueTitle = Label("Value: ", xmLabelGadgetClass, valueForm, "Value: ");
    const int digits = StaticInitDigits();
    valueField = CreateReadInt(valueForm, ReadIntOptions()
                                              .Size(digits, digits)
                                              .Range(0, INT32_MAX)
                                              .OnActivate(ValueFieldCallback, this)
                                              .OnStep(ValueFieldCallback, this)
                                              .OnCommit(ValueFieldCallback, this));
    if (!input) XtSetSensitive(valueField, False);
    Attach(valueTitle).Left(ToForm()).Top(ToForm()).Bottom(ToForm());
    Attach(valueField).Left(ToWidget(valueTitle)).Right(ToForm()).Top(ToForm()).Bottom(ToForm());

    Widget directionFrame = Frame("direction_radio_frame", dataForm2);
    Widget directionBox = RadioBox("direction_radio_box", directionFrame, 1);
    CreateDirectionPixmaps(directionBox);
    const char* const directions[4] = {"East-West", "West-East", "South-North", "North-South"};
    for (int i = 0; i < 4; i++) {
        Widget toggle =
            Toggle(directions[i], directionBox, i, direction, DirectionToggleCallback, this);
        if (directionPixmaps[i] != 0) {
            XtVaSetValues(toggle, XmNlabelType, XmPIXMAP, XmNlabelPixmap, directionPixmaps[i],
                          nullptr);
        }
    }

    Widget dualFrame = Frame("dual_radio_frame", dataForm2);
    Widget dualBox = RadioBox("dual_radio_box", dualFrame, 1);
    Toggle("Dual", dualBox, kDual, coding, CodingToggleCallback, this);
    Toggle("Dual-Rail Ver", dualBox, kDualRailVer, coding, CodingToggleCallback, this);
    Toggle("Dual-Rail Hor", dualBox, kDualRailHor, coding, CodingToggleCallback, this);

    Widget signFrame = Frame("sign_radio_frame", dataForm2);
    Widget signBox = RadioBox("sign_radio_box", signFrame, 2);
    Toggle("+", signBox, kUnsigned, sign, SignToggleCallback, this);
    Toggle("-/+", signBox, kTwosComplement, sign, SignToggleCallback, this);

    Attach(lineFrame).Left(ToForm()).Top(ToForm());
    Attach(valueFrame).Left(ToForm()).Top(ToWidget(lineFrame)).Bottom(ToForm(5));
    Attach(directionFrame).Right(ToForm()).Top(ToForm()).Bottom(ToForm());
    // Right of both the line and the value frame; PlaceRadioFrames picks the wider once sized.
    Attach(dualFrame).Left(ToWidget(lineFrame)).Top(ToForm());
    Attach(signFrame).Left(ToWidget(lineFrame)).Top(ToWidget(dualFrame));
    return dataFrame;
}

Widget APlaneModifyWindow::BuildPlaneButtons(Widget parent) {
    Widget buttonFrame = XtVaCreateManagedWidget("b_frame", xmFrameWidgetClass, parent, nullptr);
    Widget buttonForm = XtVaCreateManagedWidget("b_form", xmFormWidgetClass, buttonFrame, nullptr);
    Widget addButton = CreateDialogButton(buttonForm, " Add XY-Plane ", AddCallback, this);
    deleteButton = CreateDialogButton(buttonForm, " Del XY-Plane ", DeleteCallback, this);
    EqualizeWidths({addButton, deleteButton});
    Attach(deleteButton).Right(ToForm()).Top(ToForm()).Bottom(ToForm());
    Attach(addButton).Right(ToWidget(deleteButton)).Top(ToForm()).Bottom(ToForm());
    UpdateDeleteButton();
    return buttonFrame;
}

Widget APlaneModifyWindow::BuildActionArea(Widget parent) {
    if (input) {
        const ActionAreaRow rows[] = {
            {"OK", OkCallback, this},
            {"Apply", ApplyCallback, this},
            {"Cancel", CancelCallback, this},
        };
        return CreateActionArea(parent, rows, XtNumber(rows));
    }
    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Cancel", CancelCallback, this},
    };
    return CreateActionArea(parent, rows, XtNumber(rows));
}

void APlaneModifyWindow::CreateDirectionPixmaps(Widget box) {
    Pixel foreground = 0;
    Pixel background = 0;
    XtVaGetValues(box, XmNforeground, &foreground, XmNbackground, &background, nullptr);
    Screen* screen = XtScreen(box);
    // East-West, West-East, South-North, North-South.
    const char* const* const art[4] = {kWestEastArt, kWestEastArt, kSouthNorthArt, kSouthNorthArt};
    const bool mirrorX[4] = {true, false, false, false};
    const bool mirrorY[4] = {false, false, false, true};
    unsigned char bits[((kArrowWidth + 7) / 8) * kArrowHeight];
    for (int i = 0; i < 4; i++) {
        ArtToBits(art[i], mirrorX[i], mirrorY[i], bits);
        directionPixmaps[i] = XCreatePixmapFromBitmapData(
            display, RootWindowOfScreen(screen), reinterpret_cast<char*>(bits), kArrowWidth,
            kArrowHeight, foreground, background,
            static_cast<unsigned int>(DefaultDepthOfScreen(screen)));
    }
}

void APlaneModifyWindow::UpdateDeleteButton() {
    if (deleteButton != nullptr) {
        XtSetSensitive(deleteButton, stack->GetPlaneList().GetCount() > 1 ? True : False);
    }
}

// ---- slices and drawing

int APlaneModifyWindow::PositionExtent() const {
    switch (view) {
        case kXZPlane:
            return stack->GetPlaneList().GetHeight();
        case kYZPlane:
            return stack->GetPlaneList().GetWidth();
        default:
            return stack->GetPlaneList().GetCount();
    }
}

void APlaneModifyWindow::ExtractPlane() {
    switch (view) {
        case kXZPlane:
            shownPlane = stack->GetPlaneList().GetXZPlane(position);
            break;
        case kYZPlane:
            shownPlane = stack->GetPlaneList().GetYZPlane(position);
            break;
        default:
            shownPlane = stack->GetPlaneList().GetXYPlane(position);
            break;
    }
}

void APlaneModifyWindow::StorePlane() {
    switch (view) {
        case kXZPlane:
            stack->GetPlaneList().SetXZPlane(shownPlane, position);
            break;
        case kYZPlane:
            stack->GetPlaneList().SetYZPlane(shownPlane, position);
            break;
        default:
            stack->GetPlaneList().SetXYPlane(shownPlane, position);
            break;
    }
}

void APlaneModifyWindow::NormalizeStack() {
    PlaneList& planes = stack->GetPlaneList();
    if (planes.GetPosition() == 0) return;
    PlaneList rotated(planes.GetWidth(), planes.GetHeight(), planes.GetCount());
    for (int k = 0; k < planes.GetCount(); k++)
        rotated.SetXYPlane(planes.GetXYPlane(k), k);
    planes = rotated;
}

void APlaneModifyWindow::DrawPlane(int clear) {
    Draw(shownPlane, draw, zoom, clear);
}

void APlaneModifyWindow::ResizeDrawArea() {
    SizeGridArea(draw, zoom, shownPlane.GetDimX(), shownPlane.GetDimY());
}

void APlaneModifyWindow::ShowDimensions() {
    char text[64];
    std::snprintf(text, sizeof text, "[%d,%d,%d]", stack->GetPlaneList().GetWidth(),
                  stack->GetPlaneList().GetHeight(), stack->GetPlaneList().GetCount());
    SetLabelText(dim_label, text);
    // The only place the number of planes is shown: the delete button follows it.
    UpdateDeleteButton();
}

void APlaneModifyWindow::ShowPointerPosition(int a, int b) {
    if (a < 0 || b < 0) {
        SetLabelText(pos_label, " ");
        return;
    }
    int x = a;
    int y = b;
    int z = position;
    if (view == kXZPlane) {
        y = position;
        z = b;
    } else if (view == kYZPlane) {
        x = position;
        y = a;
        z = b;
    }
    char text[64];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", x, y, z);
    SetLabelText(pos_label, text);
}

bool APlaneModifyWindow::OnValueLine(int x, int y) const {
    if (direction == kEastWest || direction == kWestEast) {
        return y == line || (coding == kDualRailVer && y == line + 1);
    }
    if (direction == kSouthNorth || direction == kNorthSouth) {
        return x == line || (coding == kDualRailHor && x == line + 1);
    }
    return false;
}

void APlaneModifyWindow::ToggleCellAt(int x, int y) {
    edited = true;
    ToggleAndDraw(shownPlane, draw, zoom, x, y);
    if (OnValueLine(x, y)) ReadValue();
}

void APlaneModifyWindow::DrawViewIcon() {
    if (view_draw == nullptr || !XtIsRealized(view_draw) || iconGC == nullptr) return;
    Window window = XtWindow(view_draw);
    XClearWindow(display, window);
    const int quarter = ViewIconQuarter(position, PositionExtent());
    for (int i = 0; i < 4; i++) {
        // Square 0 at the back, square 3 (the first planes) in front.
        const int sx = 50 - 6 * i;
        const int sy = 10 + 6 * i;
        XClearArea(display, window, sx, sy, 40, 40, False);
        for (int k = 0; k <= 4; k++) {
            XDrawLine(display, window, iconGC, sx + 10 * k, sy, sx + 10 * k, sy + 40);
            XDrawLine(display, window, iconGC, sx, sy + 10 * k, sx + 40, sy + 10 * k);
        }
        if (view == kXYPlane && 3 - i == quarter) {
            XFillRectangle(display, window, iconGC, sx, sy, 41, 41);
        } else if (view == kXZPlane) {
            XFillRectangle(display, window, iconGC, sx, sy + 30 - 10 * quarter, 41, 11);
        } else if (view == kYZPlane) {
            XFillRectangle(display, window, iconGC, sx + 10 * quarter, sy, 11, 41);
        }
    }
    const XSegment axes[] = {
        // x: the arrow, its head and the letter beyond the tip.
        {10, 90, 25, 90},
        {25, 90, 22, 87},
        {25, 90, 22, 93},
        {28, 88, 32, 92},
        {28, 92, 32, 88},
        // y
        {10, 90, 10, 75},
        {10, 75, 7, 78},
        {10, 75, 13, 78},
        {8, 67, 10, 70},
        {12, 67, 10, 70},
        {10, 70, 10, 73},
        // z
        {10, 90, 20, 80},
        {20, 80, 16, 80},
        {20, 80, 20, 84},
        {22, 73, 26, 73},
        {26, 73, 22, 77},
        {22, 77, 26, 77},
    };
    XDrawSegments(display, window, iconGC, const_cast<XSegment*>(axes), XtNumber(axes));
}

// ---- the value coding

int APlaneModifyWindow::CellCount() const {
    return CodecCellCount(shownPlane.GetDimX(), shownPlane.GetDimY(), GetCodecSettings());
}

void APlaneModifyWindow::UpdateLimits() {
    const int width = shownPlane.GetDimX();
    const int height = shownPlane.GetDimY();
    int32_t minimum = 0;
    int32_t maximum = 0;
    CodecValueRange(CellCount(), sign, &minimum, &maximum);
    ReadIntSetMax(valueField, maximum);
    ReadIntSetMin(valueField, minimum);

    const int32_t positionLimit = std::max(PositionExtent() - 1, 0);
    if (position > positionLimit) {
        position = positionLimit;
        ReadIntSetValue(positionField, position);
    }
    ReadIntSetMax(positionField, positionLimit);

    CodecSettings settings = GetCodecSettings();
    const CodecLimits limits = CodecLineLimits(width, height, settings);
    if (!limits.valid) return;
    CodecClampSettings(width, height, &settings);
    if (settings.line != line) ReadIntSetValue(lineField, settings.line);
    if (settings.interleave != interleave) ReadIntSetValue(interleaveField, settings.interleave);
    if (settings.offset != offset) ReadIntSetValue(offsetField, settings.offset);
    line = settings.line;
    interleave = settings.interleave;
    offset = settings.offset;
    int32_t offsetMin = 0;
    int32_t offsetMax = 0;
    CodecOffsetBounds(width, height, settings, &offsetMin, &offsetMax);
    ReadIntSetMax(lineField, limits.lineMax);
    ReadIntSetMax(interleaveField, limits.interleaveMax);
    ReadIntSetMax(offsetField, offsetMax);
    ReadIntSetMin(offsetField, offsetMin);
}

int32_t APlaneModifyWindow::ReadValue() {
    const CodecSettings settings = GetCodecSettings();
    int cellWidth = 0;
    int cellHeight = 0;
    CodingExtent(coding, &cellWidth, &cellHeight);
    for (const CodecCell& cell :
         CodecValueCells(shownPlane.GetDimX(), shownPlane.GetDimY(), settings)) {
        DrawHighlight(shownPlane, draw, zoom, cell.x, cell.y, cellWidth, cellHeight);
    }
    const int32_t result = CodecReadValue(shownPlane, settings);
    ReadIntSetValue(valueField, result);
    lastValue = result;
    return result;
}

void APlaneModifyWindow::EraseValueMarks() {
    int cellWidth = 0;
    int cellHeight = 0;
    CodingExtent(coding, &cellWidth, &cellHeight);
    for (const CodecCell& cell :
         CodecValueCells(shownPlane.GetDimX(), shownPlane.GetDimY(), GetCodecSettings())) {
        EraseHighlight(shownPlane, draw, zoom, cell.x, cell.y, cellWidth, cellHeight);
    }
}

void APlaneModifyWindow::WriteValue(int32_t value) {
    const CodecSettings settings = GetCodecSettings();
    if (!CodecUsable(shownPlane.GetDimX(), shownPlane.GetDimY(), settings)) return;
    for (const CodecCell& cell : CodecWriteChanges(shownPlane, settings, value))
        ToggleAndDraw(shownPlane, draw, zoom, cell.x, cell.y);
    lastValue = CodecSaturate(shownPlane.GetDimX(), shownPlane.GetDimY(), settings, value);
}

int APlaneModifyWindow::GetValueCell(int x, int y) const {
    return CodecGetValueCell(shownPlane, coding, x, y);
}

void APlaneModifyWindow::SetValueCell(int x, int y) {
    for (const CodecCell& cell : CodecValueCellChanges(shownPlane, coding, x, y, 1))
        ToggleAndDraw(shownPlane, draw, zoom, cell.x, cell.y);
}

void APlaneModifyWindow::ClearValueCell(int x, int y) {
    for (const CodecCell& cell : CodecValueCellChanges(shownPlane, coding, x, y, 0))
        ToggleAndDraw(shownPlane, draw, zoom, cell.x, cell.y);
}

// ---- the element model's entry points

void APlaneModifyWindow::RecordPlane() {
    const Matrix* in = element->GetInputPlane(0);
    if (in != nullptr && stack->GetPlaneList().GetCount() > 0) stack->GetPlaneList().Push(*in);
}

void APlaneModifyWindow::ShowPlane(int quiet) {
    ExtractPlane();
    DrawPlane(1);
    ReadValue();
    if (!quiet) {
        ShowDimensions();
        DrawViewIcon();
    }
}

void APlaneModifyWindow::ReloadStack() {
    const int oldWidth = shownPlane.GetDimX();
    const int oldHeight = shownPlane.GetDimY();
    const int oldCount = stack->GetPlaneList().GetCount();
    // The element's stack replaces the window's, edits included: nothing is left to commit.
    *stack = ElementData();
    edited = false;
    const int32_t limit = std::max(PositionExtent() - 1, 0);
    if (position > limit) {
        position = limit;
        ReadIntSetValue(positionField, position);
    }
    ShowPlane(0);
    if (shownPlane.GetDimX() != oldWidth || shownPlane.GetDimY() != oldHeight ||
        stack->GetPlaneList().GetCount() != oldCount) {
        UpdateLimits();
        ResizeDrawArea();
        DrawPlane(1);
        ReadValue();
    }
}

void APlaneModifyWindow::RefreshModifyWindow() {
    ShowFirstSlice();
    ShowDimensions();
    DrawViewIcon();
}

void APlaneModifyWindow::ShowFirstSlice() {
    position = 0;
    ReadIntSetValue(positionField, 0);
    ExtractPlane();
    UpdateLimits();
    ResizeDrawArea();
    DrawPlane(1);
    ScrollToEnd(draw_window);
    ReadValue();
}

void APlaneModifyWindow::Refresh() {
    edited = true;
    DrawPlane(1);
}

// ---- the user's actions

void APlaneModifyWindow::PositionChanged(int32_t value) {
    if (value == position) return;
    StorePlane();
    position = std::clamp(value, 0, std::max(PositionExtent() - 1, 0));
    ExtractPlane();
    DrawPlane(1);
    ReadValue();
    DrawViewIcon();
}

void APlaneModifyWindow::LineChanged(int32_t value) {
    if (value == line) return;
    EraseValueMarks();
    line = value;
    ReadValue();
}

void APlaneModifyWindow::InterleaveChanged(int32_t value) {
    if (value == interleave) return;
    EraseValueMarks();
    interleave = value;
    int32_t minimum = 0;
    int32_t maximum = 0;
    CodecOffsetBounds(shownPlane.GetDimX(), shownPlane.GetDimY(), GetCodecSettings(), &minimum,
                      &maximum);
    const int32_t pulled = std::max(std::min(offset, maximum), minimum);
    if (pulled != offset) {
        offset = pulled;
        ReadIntSetValue(offsetField, offset);
    }
    ReadIntSetMax(offsetField, maximum);
    ReadIntSetMin(offsetField, minimum);
    ReadValue();
}

void APlaneModifyWindow::OffsetChanged(int32_t value) {
    if (value == offset) return;
    EraseValueMarks();
    offset = value;
    UpdateLimits();
    ReadValue();
}

void APlaneModifyWindow::ValueChanged(int32_t value) {
    if (value == lastValue) return;
    edited = true;
    lastValue = value;
    WriteValue(value);
}

void APlaneModifyWindow::ViewChanged(int index) {
    if (index < kXYPlane || index > kYZPlane) return;
    StorePlane();
    view = index;
    ShowFirstSlice();
    DrawViewIcon();
}

void APlaneModifyWindow::DirectionChanged(int index) {
    EraseValueMarks();
    direction = index;
    UpdateLimits();
    ReadValue();
}

void APlaneModifyWindow::SignChanged(int index) {
    sign = index;
    UpdateLimits();
    ReadValue();
}

void APlaneModifyWindow::CodingChanged(int index) {
    EraseValueMarks();
    coding = index;
    UpdateLimits();
    ReadValue();
}

void APlaneModifyWindow::ZoomChanged(int value) {
    zoom = value;
    ResizeDrawArea();
    DrawPlane(1);
    ReadValue();
}

void APlaneModifyWindow::SetAll() {
    edited = true;
    shownPlane.SetAll();
    DrawPlane(0);
    ReadValue();
}

void APlaneModifyWindow::UnsetAll() {
    edited = true;
    shownPlane.UnsetAll();
    DrawPlane(1);
    ReadValue();
}

void APlaneModifyWindow::SaveAsMatrix() {
    EditorHost* host = GetEditorHost();
    if (host != nullptr) host->SaveFileAs(shownPlane, kMatrixFile, element);
}

void APlaneModifyWindow::LoadAsMatrix() {
    // The matrix reader insists on the shown plane's dimensions and, with the element as its
    // argument, has the element refresh this window after a successful load.
    EditorHost* host = GetEditorHost();
    if (host != nullptr) host->OpenFile(shownPlane, kMatrixFile, element);
}

void APlaneModifyWindow::AddPlanes() {
    if (planeDialog != nullptr) return;
    const int count = stack->GetPlaneList().GetCount();
    planeDialog = new ModifyTwoValuesDialog(shell, "Add XY-Plane", "Z-Position:", count, 0, count,
                                            "Number:", 1, 1, kMaxPlanesAdded, AddResult, this, 0);
    XtAddCallback(planeDialog->GetShell(), XmNdestroyCallback, PlaneDialogGoneCallback, this);
}

void APlaneModifyWindow::DeletePlanes() {
    const int count = stack->GetPlaneList().GetCount();
    // A dialog without planes to delete would have no valid number.
    if (planeDialog != nullptr || count <= 1) return;
    planeDialog =
        new ModifyTwoValuesDialog(shell, "Delete XY-Plane", "Z-Position:", count - 1, 0, count - 1,
                                  "Number:", 1, 1, count - 1, DeleteResult, this, 0);
    XtAddCallback(planeDialog->GetShell(), XmNdestroyCallback, PlaneDialogGoneCallback, this);
}

void APlaneModifyWindow::PlaneDialogGoneCallback(Widget, XtPointer self, XtPointer) {
    // The dialog went with its parent, this window's shell; it has not called back.
    Self(self)->planeDialog = nullptr;
}

void APlaneModifyWindow::ForgetPlaneDialog() {
    if (planeDialog == nullptr) return;
    ModifyTwoValuesDialog* dialog = planeDialog;
    planeDialog = nullptr;
    if (dialog->GetShell() != nullptr) {
        XtRemoveCallback(dialog->GetShell(), XmNdestroyCallback, PlaneDialogGoneCallback, this);
    }
    // Deleting it destroys its shell without calling back.
    delete dialog;
}

void APlaneModifyWindow::PlaneDialogAnswered() {
    // The dialog deletes itself after its answer.
    if (planeDialog != nullptr && planeDialog->GetShell() != nullptr) {
        XtRemoveCallback(planeDialog->GetShell(), XmNdestroyCallback, PlaneDialogGoneCallback,
                         this);
    }
    planeDialog = nullptr;
}

void APlaneModifyWindow::ShowChangedStack() {
    ShowDimensions();
    ExtractPlane();
    ResizeDrawArea();
    DrawPlane(1);
    UpdateLimits();
    ReadValue();
    DrawViewIcon();
}

void APlaneModifyWindow::AddPlanesResult(int cancelled, int zPosition, int number) {
    PlaneDialogAnswered();
    if (cancelled) return;
    edited = true;
    StorePlane();
    NormalizeStack();
    stack->GetPlaneList().InsertPlanes(number,
                                       std::clamp(zPosition, 0, stack->GetPlaneList().GetCount()));
    ShowChangedStack();
    UpdateDeleteButton();
}

void APlaneModifyWindow::DeletePlanesResult(int cancelled, int zPosition, int number) {
    PlaneDialogAnswered();
    if (cancelled) return;
    edited = true;
    StorePlane();
    NormalizeStack();
    stack->GetPlaneList().RemovePlanes(
        number, std::clamp(zPosition, 0, stack->GetPlaneList().GetCount() - 1));
    UpdateDeleteButton();
    if (view == kXYPlane && position >= stack->GetPlaneList().GetCount()) {
        position = stack->GetPlaneList().GetCount() - 1;
        ReadIntSetValue(positionField, position);
        ReadIntSetMax(positionField, position);
    }
    ShowChangedStack();
}

void APlaneModifyWindow::PointerEvent(XEvent* event) {
    // The OUTPUT window's cells take no clicks.
    if (event->type == ButtonPress && !input) return;
    int x = -1;
    int y = -1;
    GridPointerStep step = {};
    if (!StepGridEvent(pointer, event, &shownPlane, zoom, &x, &y, &step)) return;
    if (step.show) ShowPointerPosition(x, y);
    if (step.clear) ShowPointerPosition(-1, -1);
    // Dragging with a button (or a modifier) held toggles every cell entered.
    if (step.toggle && input) ToggleCellAt(x, y);
}

void APlaneModifyWindow::PlaneExposed(XEvent* event) {
    if (!IsLastExpose(event)) return;
    DrawPlane(0);
    ReadValue();
}

void APlaneModifyWindow::ViewIconExposed(XEvent* event) {
    if (IsLastExpose(event)) DrawViewIcon();
}
