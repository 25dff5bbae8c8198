#include "editors/ShowDataWindow.h"

#include <X11/IntrinsicP.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PanedW.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/ScrolledW.h>
#include <Xm/Separator.h>
#include <Xm/ToggleB.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "editors/EditorHost.h"
#include "editors/NumberDialogParts.h"
#include "model/elements/AElement.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Colors.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/MatrixViewport.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/ReadInt.h"
#include "toolkit/WidgetHelpers.h"

namespace {

const int kMinZoom = 12;
const int kMaxZoom = 150;
const int kDrawMargin = 21; // pixels around a drawn plane
// The longest "last simulated" text: two times of ten digits.
const char* const kWidestSimLabel = "4294967295-4294967295";
const EventMask kAreaEvents =
    PointerMotionMask | ButtonMotionMask | ButtonPressMask | EnterWindowMask | LeaveWindowMask;

// The cell under the pointer, one for all windows; -1 when there is none.
int rememberedX = -1;
int rememberedY = -1;

void ForgetCell() {
    rememberedX = -1;
    rememberedY = -1;
}

ShowDataWindow* Self(XtPointer self) {
    return static_cast<ShowDataWindow*>(self);
}

void UpdateCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->SetUpdate(static_cast<XmToggleButtonCallbackStruct*>(call)->set ? 1 : 0);
}

void ZoomCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->ZoomChanged(static_cast<XmScaleCallbackStruct*>(call)->value);
}

void ExposeCallback(Widget area, XtPointer self, XtPointer call) {
    Self(self)->Exposed(area, static_cast<XmDrawingAreaCallbackStruct*>(call)->event);
}

void AreaEventHandler(Widget area, XtPointer self, XEvent* event, Boolean*) {
    Self(self)->PointerEvent(area, event);
}

void CloseButtonCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Close();
}

void SaveCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    Self(self)->Save();
}

int IndexOf(Widget area) {
    XtPointer data = nullptr;
    XtVaGetValues(area, XmNuserData, &data, nullptr);
    return static_cast<int>(reinterpret_cast<intptr_t>(data));
}

Widget CreateLabel(const char* name, Widget parent, const char* text) {
    Widget label = XtVaCreateManagedWidget(name, xmLabelWidgetClass, parent, XmNalignment,
                                           XmALIGNMENT_BEGINNING, nullptr);
    if (text != nullptr) {
        OwnedXmString string(text);
        XtVaSetValues(label, XmNlabelString, string.Get(), nullptr);
    }
    return label;
}

} // namespace

std::string SimLabelText(SimTime last, uint32_t delay) {
    if (last == kNeverSimulated) return " ";
    char text[48];
    if (delay > last) {
        std::snprintf(text, sizeof text, "%" PRIu32, last);
    } else {
        std::snprintf(text, sizeof text, "%" PRIu32 "-%" PRIu32, last - delay, last);
    }
    return text;
}

int ShowDataAreaSize(int zoom, int cells) {
    return zoom / 4 * cells + kDrawMargin;
}

ShowDataWindow::ShowDataWindow(AElement* owner, int output, ShowDataGeometry& storedGeometry)
    : AElementWindow(owner), outputNumber(output), firstIndex(0), lastIndex(0), shownCount(0),
      update(1), geometry(storedGeometry), form(nullptr), panedWindow(nullptr),
      positionTitle(nullptr), outputTitle(nullptr), simLabel(nullptr), updateToggle(nullptr),
      posLabel(nullptr), outLabel(nullptr), outputField(nullptr), closeButton(nullptr),
      saveButton(nullptr), zoomScale(nullptr), upperForm(nullptr), lowerForm(nullptr) {
    if (output == 0) {
        firstIndex = 0;
        lastIndex = element->GetOutputCount() - 1;
    } else {
        firstIndex = output - 1;
        lastIndex = output - 1;
    }
    shownCount = lastIndex - firstIndex + 1;
    if (geometry.zoom == 0) geometry.zoom = 100;
    drawAreas.assign(lastIndex + 1, nullptr);
    scrolledWindows.assign(lastIndex + 1, nullptr);
}

ShowDataWindow::~ShowDataWindow() {
    if (shell != nullptr) {
        for (int i = firstIndex; i <= lastIndex; i++) {
            if (scrolledWindows[i] == nullptr) continue;
            Dimension paneWidth = 0;
            Dimension paneHeight = 0;
            XtVaGetValues(scrolledWindows[i], XmNwidth, &paneWidth, XmNheight, &paneHeight,
                          nullptr);
            if (i == firstIndex) geometry.width = static_cast<short>(paneWidth);
            geometry.heights[i] = static_cast<short>(paneHeight);
        }
    }
    // The pointer may have been over one of these areas.
    ForgetCell();
}

Widget ShowDataWindow::GetDrawArea(int index) const {
    return index >= firstIndex && index <= lastIndex ? drawAreas[index] : nullptr;
}

Widget ShowDataWindow::GetScrolledWindow(int index) const {
    return index >= firstIndex && index <= lastIndex ? scrolledWindows[index] : nullptr;
}

void ShowDataWindow::SetLabel(Widget label, const char* text) {
    OwnedXmString string(text);
    XtVaSetValues(label, XmNlabelString, string.Get(), nullptr);
}

void ShowDataWindow::FitScreen() {
    // Many outputs, or tall ones, would reach beyond the screen: the window is laid out smaller
    // (the panes give way), so that it and its buttons stay on the screen.
    XtRealizeWidget(shell);
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, nullptr);
    int shownWidth = width;
    int shownHeight = height;
    LimitToScreen(shell, &shownWidth, &shownHeight);
    if (shownWidth != width || shownHeight != height) {
        XtVaSetValues(shell, XmNwidth, static_cast<Dimension>(shownWidth), XmNheight,
                      static_cast<Dimension>(shownHeight), nullptr);
    }
}

void ShowDataWindow::CreatePane(int index, bool initialSize) {
    Widget scrolled = XtVaCreateManagedWidget(
        "scrollw", xmScrolledWindowWidgetClass, panedWindow, XmNscrollingPolicy, XmAUTOMATIC,
        XmNtraversalOn, False, XmNwidth, static_cast<Dimension>(geometry.width), XmNheight,
        static_cast<Dimension>(geometry.heights[index]), nullptr);
    Widget area = XtVaCreateManagedWidget(
        "drawarea", xmDrawingAreaWidgetClass, scrolled, XmNbackground, GetGray90(), XmNuserData,
        reinterpret_cast<XtPointer>(static_cast<intptr_t>(index)), nullptr);
    if (initialSize) XtVaSetValues(area, XmNwidth, 1, XmNheight, 1, nullptr);
    Widget clip = nullptr;
    XtVaGetValues(scrolled, XmNclipWindow, &clip, nullptr);
    if (clip != nullptr) XtVaSetValues(clip, XmNbackground, GetGray90(), nullptr);
    XtAddCallback(area, XmNexposeCallback, ExposeCallback, this);
    XtAddEventHandler(area, kAreaEvents, False, AreaEventHandler, this);
    scrolledWindows[index] = scrolled;
    drawAreas[index] = area;
}

// The zoom scale with its title, in a frame.
Widget ShowDataWindow::CreateZoomFrame() {
    Widget zoomFrame =
        XtVaCreateManagedWidget("zoom-frame", xmFrameWidgetClass, form, XmNmarginWidth, 5, nullptr);
    Widget zoomForm = XtVaCreateManagedWidget("zoom-form", xmFormWidgetClass, zoomFrame, nullptr);
    Widget zoomTitle = CreateLabel("Zoom: ", zoomForm, nullptr);
    zoomScale = XtVaCreateManagedWidget(
        "zoom-scale", xmScaleWidgetClass, zoomForm, XmNorientation, XmHORIZONTAL, XmNshowValue,
        True, XmNprocessingDirection, XmMAX_ON_RIGHT, XmNminimum, kMinZoom, XmNmaximum, kMaxZoom,
        XmNvalue,
        geometry.zoom < kMinZoom ? kMinZoom : (geometry.zoom > kMaxZoom ? kMaxZoom : geometry.zoom),
        XmNtraversalOn, False, nullptr);
    XtAddCallback(zoomScale, XmNvalueChangedCallback, ZoomCallback, this);
    XtAddCallback(zoomScale, XmNdragCallback, ZoomCallback, this);
    Attach(zoomTitle).Left(ToForm()).Bottom(ToForm());
    Attach(zoomScale).Left(ToWidget(zoomTitle)).Right(ToForm()).Top(ToForm()).Bottom(ToForm());
    return zoomFrame;
}

// Close and Save; with several outputs Save has the number field of the output it saves.
Widget ShowDataWindow::CreateActionRow() {
    Widget action = nullptr;
    if (shownCount < 2) {
        const ActionAreaRow rows[] = {
            {"Close", CloseButtonCallback, this},
            {"Save", SaveCallback, this},
        };
        action = CreateActionArea(form, rows, XtNumber(rows));
        WidgetList buttons = nullptr;
        XtVaGetValues(action, XmNchildren, &buttons, nullptr);
        closeButton = buttons[0];
        saveButton = buttons[1];
    } else {
        action = XtVaCreateManagedWidget("action_form", xmFormWidgetClass, form, XmNmarginHeight, 3,
                                         XmNmarginWidth, 5, nullptr);
        Widget okRow = XtVaCreateManagedWidget("ok_rowcol", xmRowColumnWidgetClass, action,
                                               XmNorientation, XmHORIZONTAL, nullptr);
        OwnedXmString closeText("  Close  ");
        closeButton = XtVaCreateManagedWidget("ActionButton", xmPushButtonWidgetClass, okRow,
                                              XmNlabelString, closeText.Get(), nullptr);
        XtAddCallback(closeButton, XmNactivateCallback, CloseButtonCallback, this);
        XtVaCreateManagedWidget("separator", xmSeparatorWidgetClass, okRow, XmNorientation,
                                XmVERTICAL, XmNseparatorType, XmNO_LINE, XmNwidth, 20, nullptr);
        Widget saveRow = XtVaCreateManagedWidget("save_rowcol", xmRowColumnWidgetClass, okRow,
                                                 XmNorientation, XmHORIZONTAL, nullptr);
        OwnedXmString saveText(" Save ");
        saveButton = XtVaCreateManagedWidget("ActionButton", xmPushButtonWidgetClass, saveRow,
                                             XmNlabelString, saveText.Get(), nullptr);
        XtAddCallback(saveButton, XmNactivateCallback, SaveCallback, this);
        const int16_t characters = FieldCharacters(lastIndex + 1);
        outputField = CreateReadInt(saveRow, ReadIntOptions()
                                                 .Size(characters, characters)
                                                 .Value(firstIndex + 1)
                                                 .Range(firstIndex + 1, lastIndex + 1));
        Attach(okRow).Left(ToForm()).Top(ToForm()).Bottom(ToForm());
    }
    return action;
}

void ShowDataWindow::CreateWidgets() {
    title = std::string("Show Data ") + element->GetName();
    XtVaSetValues(shell, XmNtitle, title.c_str(), nullptr);

    form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3, XmNmarginWidth, 3,
                            nullptr);
    Widget simTitle = CreateLabel(" Last simulated: ", form, nullptr);
    updateToggle = XtVaCreateManagedWidget("Update", xmToggleButtonWidgetClass, form, XmNset,
                                           update ? True : False, XmNtraversalOn, False, nullptr);
    XtAddCallback(updateToggle, XmNvalueChangedCallback, UpdateCallback, this);
    // As wide as the longest time span from the start, so that the window is made wide enough
    // for every text the label will show.
    simLabel = CreateLabel("sim_label", form, kWidestSimLabel);
    XtVaSetValues(simLabel, XmNrecomputeSize, False, nullptr);
    simText = "   ";
    SetLabel(simLabel, simText.c_str());

    upperForm = XtVaCreateManagedWidget("form_above_outputs", xmFormWidgetClass, form, nullptr);
    positionTitle = CreateLabel(" Position: ", upperForm, nullptr);
    posLabel = CreateLabel("pos_label", upperForm, "   ");
    outputTitle = CreateLabel("Output: ", upperForm, nullptr);
    outLabel = CreateLabel("out_label", upperForm, "   ");
    XtVaSetValues(outLabel, XmNrecomputeSize, False, nullptr);

    panedWindow = XtVaCreateManagedWidget("panedw", xmPanedWindowWidgetClass, form, nullptr);
    for (int i = firstIndex; i <= lastIndex; i++)
        CreatePane(i, true);
    lowerForm = XtVaCreateManagedWidget("form_above_outputs", xmFormWidgetClass, form, nullptr);

    Widget zoomFrame = CreateZoomFrame();
    Widget action = CreateActionRow();

    CreateExtraWidgets();

    // Top to bottom: the time row, the position row, the panes, the lower row, zoom, buttons.
    Attach(simTitle).Left(ToForm()).Top(ToForm());
    Attach(updateToggle).Right(ToForm()).Top(ToForm());
    Attach(simLabel).Left(ToWidget(simTitle)).Right(ToWidget(updateToggle)).Top(ToForm());
    Attach(upperForm).Left(ToForm()).Right(ToForm()).Top(ToWidget(updateToggle));
    Attach(positionTitle).Left(ToForm()).Top(ToForm()).Bottom(ToForm());
    Attach(outLabel).Right(ToForm()).Top(ToForm()).Bottom(ToForm());
    Attach(outputTitle).Right(ToWidget(outLabel)).Top(ToForm()).Bottom(ToForm());
    Attach(posLabel)
        .Left(ToWidget(positionTitle))
        .Right(ToWidget(outputTitle))
        .Top(ToForm())
        .Bottom(ToForm());
    Attach(action).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(zoomFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(action));
    Attach(lowerForm).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(zoomFrame));
    Attach(panedWindow)
        .Left(ToForm())
        .Right(ToForm())
        .Top(ToWidget(upperForm))
        .Bottom(ToWidget(lowerForm));
    XtManageChild(form);
    FitScreen();
    Show();

    if (shownCount == 1) {
        XtUnmanageChild(outputTitle);
        XtUnmanageChild(outLabel);
        // Attached to a label the form no longer lays out, the position label would send the
        // form round in circles at each change of its text.
        Attach(posLabel).Right(ToForm());
    } else {
        XmProcessTraversal(closeButton, XmTRAVERSE_CURRENT);
    }
    LayoutExtra();

    const Matrix* plane0 = element->GetOutputPlane(0);
    if (plane0 != nullptr) geometry.zoom = FitZoom(drawAreas[firstIndex], *plane0, zoomScale);
    ResizeDrawAreas();
    UpdateSimLabel();
}

void ShowDataWindow::FitLabels() {
    if (shell == nullptr || !XtIsRealized(shell)) return;
    const int outShortfall = XtIsManaged(outLabel) ? std::max(LabelShortfall(outLabel), 0) : 0;
    const int posShortfall = std::max(LabelShortfall(posLabel), 0);
    // The window first, so that the row never has less room than its labels take.
    Widen(std::max(outShortfall + posShortfall, LabelShortfall(simLabel)));
    if (outShortfall > 0) {
        Dimension labelWidth = 0;
        XtVaGetValues(outLabel, XmNwidth, &labelWidth, nullptr);
        XtVaSetValues(outLabel, XmNwidth, static_cast<Dimension>(labelWidth + outShortfall),
                      nullptr);
    }
}

void ShowDataWindow::Widen(int pixels) {
    if (pixels <= 0 || shell == nullptr) return;
    Dimension shellWidth = 0;
    XtVaGetValues(shell, XmNwidth, &shellWidth, nullptr);
    XtVaSetValues(shell, XmNwidth, static_cast<Dimension>(shellWidth + pixels), nullptr);
}

const Matrix* ShowDataWindow::ShownPlane(int index) const {
    if (index < firstIndex || index > lastIndex) return nullptr;
    if (update) return element->GetOutputPlane(index);
    return index < static_cast<int>(frozen.size()) ? frozen[index].get() : nullptr;
}

void ShowDataWindow::Redraw(int index, int clear) {
    for (int i = firstIndex; i <= lastIndex; i++) {
        if (index != -1 && index != i) continue;
        if (drawAreas[i] == nullptr) continue;
        const Matrix* plane = ShownPlane(i);
        if (plane != nullptr) {
            // The element may have replaced the plane by one of another size (a load, a new
            // dimension): the area follows it.
            FitArea(i);
            Draw(*plane, drawAreas[i], geometry.zoom, clear);
        } else if (XtIsRealized(drawAreas[i])) {
            XClearWindow(XtDisplay(drawAreas[i]), XtWindow(drawAreas[i]));
        }
    }
}

void ShowDataWindow::FitArea(int index) {
    const Matrix* plane = ShownPlane(index);
    if (drawAreas[index] == nullptr || plane == nullptr) return;
    // Beyond the sides X takes the area is a viewport onto the whole plane.
    SizeMatrixArea(drawAreas[index], geometry.zoom, plane->GetDimX(), plane->GetDimY());
}

void ShowDataWindow::ResizeDrawAreas() {
    for (int i = firstIndex; i <= lastIndex; i++)
        FitArea(i);
}

void ShowDataWindow::UpdateSimLabel() {
    std::string text = SimLabelText(element->GetLastSimulatedTime(), element->GetTime());
    // Setting the text the label shows would clear and draw it again for nothing, and every step
    // of a run asks: that costs more than drawing the part of the plane seen.
    if (text == simText) return;
    simText = std::move(text);
    SetLabel(simLabel, simText.c_str());
    // The new text is drawn at once: the label's own redraw waits for the exposure of its
    // clearing, which a running simulation serves late, leaving the label blank meanwhile.
    XtExposeProc expose = XtClass(simLabel)->core_class.expose;
    if (expose != nullptr && XtIsRealized(simLabel)) expose(simLabel, nullptr, nullptr);
}

void ShowDataWindow::SetUpdate(int flag) {
    update = flag;
    if (!update) {
        frozen.clear();
        frozen.resize(lastIndex + 1);
        for (int i = firstIndex; i <= lastIndex; i++) {
            const Matrix* plane = element->GetOutputPlane(i);
            if (plane != nullptr) frozen[i] = std::make_unique<Matrix>(*plane);
        }
        return;
    }
    Redraw(-1, 1);
    UpdateSimLabel();
    frozen.clear();
}

void ShowDataWindow::RefreshIfUpdating() {
    if (!update) return;
    Redraw(-1, 1);
    UpdateSimLabel();
}

void ShowDataWindow::ZoomChanged(int value) {
    geometry.zoom = value;
    ResizeDrawAreas();
    Redraw(-1, 1);
}

void ShowDataWindow::Exposed(Widget area, XEvent* event) {
    if (event != nullptr && event->type == Expose && event->xexpose.count != 0) return;
    Redraw(IndexOf(area), 0);
}

void ShowDataWindow::PointerEvent(Widget area, XEvent* event) {
    TrackPointer(area, event);
    FitLabels();
}

void ShowDataWindow::TrackPointer(Widget area, XEvent* event) {
    const int index = IndexOf(area);
    int x = 0;
    int y = 0;
    switch (event->type) {
        case EnterNotify: {
            char text[16];
            std::snprintf(text, sizeof text, "%d", index + 1);
            SetLabel(outLabel, text);
            PointerMoved(area, 0, 0, 0);
            ForgetCell();
            x = event->xcrossing.x;
            y = event->xcrossing.y;
            break;
        }
        case MotionNotify:
            x = event->xmotion.x;
            y = event->xmotion.y;
            break;
        case LeaveNotify:
            SetLabel(posLabel, " ");
            SetLabel(outLabel, " ");
            PointerMoved(area, 0, 0, 0);
            return;
        default:
            return;
    }
    const Matrix* plane = ShownPlane(index);
    int cellX = 0;
    int cellY = 0;
    if (plane == nullptr || !AreaPixelToCell(*plane, area, x, y, geometry.zoom, cellX, cellY)) {
        SetLabel(posLabel, " ");
        PointerMoved(area, x, y, 0);
        ForgetCell();
        return;
    }
    if (cellX == rememberedX && cellY == rememberedY) return;
    char text[32];
    std::snprintf(text, sizeof text, "%d,%d", cellX, cellY);
    SetLabel(posLabel, text);
    PointerMoved(area, cellX, cellY, 1);
    rememberedX = cellX;
    rememberedY = cellY;
}

void ShowDataWindow::Save() {
    int index = firstIndex;
    if (shownCount > 1) {
        int32_t number = 0;
        if (outputField == nullptr || !ReadIntGetValue(outputField, &number)) return;
        index = number - 1;
    }
    Matrix* plane = element->GetOutputPlane(index);
    EditorHost* host = GetEditorHost();
    if (plane == nullptr || host == nullptr) return;
    host->SaveFileAs(*plane, kMatrixFile, nullptr);
}

void ShowDataWindow::Close() {
    element->CloseShowDataWindow(outputNumber);
}

void ShowDataWindow::MoveToOutput(int output) {
    if (outputNumber == 0 || output < 1 || output == outputNumber) return;
    const int from = firstIndex;
    const int to = output - 1;
    // The panes are kept by output index, and each drawing area tells its index to the handlers.
    std::vector<Widget> areas(to + 1, nullptr);
    std::vector<Widget> scrolled(to + 1, nullptr);
    areas[to] = drawAreas[from];
    scrolled[to] = scrolledWindows[from];
    if (areas[to] != nullptr) {
        XtVaSetValues(areas[to], XmNuserData,
                      reinterpret_cast<XtPointer>(static_cast<intptr_t>(to)), nullptr);
    }
    drawAreas.swap(areas);
    scrolledWindows.swap(scrolled);
    if (from < static_cast<int>(frozen.size())) {
        std::vector<std::unique_ptr<Matrix>> copies(to + 1);
        copies[to] = std::move(frozen[from]);
        frozen.swap(copies);
    }
    outputNumber = output;
    firstIndex = to;
    lastIndex = to;
}

void ShowDataWindow::Rebuild() {
    const int count = element->GetOutputCount();
    if (outputNumber != 0) {
        // A window of one output keeps it while the element has it.
        ResizeDrawAreas();
        Redraw(-1, 1);
        UpdateSimLabel();
        return;
    }
    for (int i = lastIndex; i >= count; i--) {
        if (scrolledWindows[i] != nullptr) XtDestroyWidget(scrolledWindows[i]);
    }
    const int oldLast = lastIndex;
    drawAreas.resize(count, nullptr);
    scrolledWindows.resize(count, nullptr);
    if (!update) frozen.resize(count);
    lastIndex = count - 1;
    shownCount = count;
    for (int i = oldLast + 1; i <= lastIndex; i++) {
        CreatePane(i, false);
        // A frozen display shows new outputs as they are now.
        const Matrix* plane = element->GetOutputPlane(i);
        if (!update && plane != nullptr) frozen[i] = std::make_unique<Matrix>(*plane);
    }
    if (outputField != nullptr) ReadIntSetMax(outputField, lastIndex + 1);
    ResizeDrawAreas();
    Redraw(-1, 1);
    UpdateSimLabel();
}
