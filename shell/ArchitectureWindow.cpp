#include "shell/ArchitectureWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>
#include <Xm/Separator.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <vector>

#include "model/data/Connection.h"
#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconOcclusion.h"
#include "model/format/FileKind.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "shell/ArchitectureFile.h"
#include "shell/AreaCallbacks.h"
#include "shell/DragContext.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/MenuCommand.h"
#include "shell/OverviewWindow.h"
#include "shell/PinHighlight.h"
#include "shell/ShellElementUi.h"
#include "shell/WindowMessage.h"
#include "shell/WorkingAreaInput.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "toolkit/Colors.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/OwnedXmString.h"

namespace {

char* CopyText(const char* text) {
    char* copy = new char[std::strlen(text) + 1];
    std::strcpy(copy, text);
    return copy;
}

// Whether the element's drawing is its icon copied opaquely to its place on this window (its frame
// drawn onto it): macro ports add a label beside theirs, a loose connection end draws nothing.
bool PaintsItsIcon(const AElement& element, Display* display, Window window) {
    const uint32_t type = element.GetType();
    return type != kMacroInput && type != kMacroOutput && type != kHelpElement &&
           element.GetDisplay() == display && element.GetWindow() == window;
}

void DrawGrid(Display* display, Window window, GC gc, int x1, int y1, int x2, int y2, int stepX,
              int stepY) {
    // In slices well below the request size limit of one XDrawPoints call, from a buffer that
    // needs no allocation: the redraw that follows clearing a large architecture would otherwise
    // be the first large allocation after every block was freed, and pay for sorting them all
    // (quitting then only waits for it).
    const int kSlice = 4096;
    XPoint points[kSlice];
    int count = 0;
    for (long long y = y1; y < y2; y += stepY) {
        for (long long x = x1; x < x2; x += stepX) {
            points[count++] = {static_cast<short>(x), static_cast<short>(y)};
            if (count == kSlice) {
                XDrawPoints(display, window, gc, points, count, CoordModeOrigin);
                count = 0;
            }
        }
    }
    if (count > 0) XDrawPoints(display, window, gc, points, count, CoordModeOrigin);
}

// The working area's callbacks and those of its scroll bars, which it returns.
void AddAreaCallbacks(ArchitectureWindow* window, Widget cadArea, Widget form,
                      Widget& horizontalScrollBar, Widget& verticalScrollBar) {
    if (cadArea == nullptr || form == nullptr) return;
    XtAddCallback(cadArea, XmNexposeCallback, CadAreaExposeCallback, window);
    XtAddEventHandler(cadArea,
                      KeyPressMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          ButtonMotionMask,
                      False, CadAreaEventHandler, window);
    Widget clip = XtParent(cadArea);
    if (clip != nullptr && XtHasCallbacks(clip, XmNresizeCallback) != XtCallbackNoList) {
        XtAddCallback(clip, XmNresizeCallback, ScrollCallback, window);
    }
    Widget scrolled = XtNameToWidget(form, "ScrolledWindow");
    if (scrolled == nullptr) {
        std::cerr << "AddAreaCallbacks: no ScrolledWindow" << std::endl;
        return;
    }
    horizontalScrollBar = XtNameToWidget(scrolled, "HorScrollBar");
    verticalScrollBar = XtNameToWidget(scrolled, "VertScrollBar");
    const char* const reasons[] = {
        XmNdecrementCallback,     XmNincrementCallback, XmNpageDecrementCallback,
        XmNpageIncrementCallback, XmNtoBottomCallback,  XmNtoTopCallback,
        XmNdragCallback,
    };
    for (Widget bar : {horizontalScrollBar, verticalScrollBar}) {
        if (bar == nullptr) continue;
        for (const char* reason : reasons)
            XtAddCallback(bar, reason, ScrollCallback, window);
    }
}

} // namespace

ArchitectureWindow::ArchitectureWindow()
    : windowKind(kMainWindowKind), areaWidth(kAreaWidth), areaHeight(kAreaHeight), gridGC(nullptr),
      rubberBandGC(nullptr), gridVisible(1), gridX(kDefaultGridStep), gridY(kDefaultGridStep),
      rasterize(1), elementListShown(0), overviewShown(0), simulationBoxShown(0), title(nullptr),
      windowShell(nullptr), cadArea(nullptr), form(nullptr), horizontalScrollBar(nullptr),
      verticalScrollBar(nullptr), footerLabel(nullptr), popupMenus{}, commandWidgets{},
      connectionEnd(nullptr), workingAreaOptionsDialog(nullptr), overview(nullptr), didRead(0) {}

ArchitectureWindow::ArchitectureWindow(const ArchitectureWindow& source)
    : Architecture(source), LoadSaveObject(), windowKind(source.windowKind), areaWidth(kAreaWidth),
      areaHeight(kAreaHeight), gridGC(nullptr), rubberBandGC(nullptr),
      gridVisible(source.gridVisible), gridX(source.gridX), gridY(source.gridY),
      rasterize(source.rasterize), elementListShown(0), overviewShown(0), simulationBoxShown(0),
      title(source.title != nullptr ? CopyText(source.title) : nullptr), windowShell(nullptr),
      cadArea(nullptr), form(nullptr), horizontalScrollBar(nullptr), verticalScrollBar(nullptr),
      footerLabel(nullptr), popupMenus{}, commandWidgets{}, connectionEnd(nullptr),
      workingAreaOptionsDialog(nullptr), overview(nullptr), didRead(0) {
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        elements[i]->SetOwner(this);
}

ArchitectureWindow::~ArchitectureWindow() {
    // The overview goes with its window; forgotten first, so that it leaves the toggles alone.
    OverviewWindow* going = overview;
    overview = nullptr;
    delete going;
    delete workingAreaOptionsDialog;
    int pin = 0;
    AElement* highlighted = GetPinHighlight(pin);
    if (highlighted != nullptr && highlighted->GetOwner() == this) ForgetPinHighlight(highlighted);
    // Nor may the working area's input remember an element of a window that is gone.
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        ForgetWorkingAreaElement(elements[i]);
    if (cadArea != nullptr) {
        Display* display = XtDisplay(cadArea);
        if (gridGC != nullptr) XFreeGC(display, gridGC);
        if (rubberBandGC != nullptr) XFreeGC(display, rubberBandGC);
    }
    delete[] title;
}

void ArchitectureWindow::SetTitleWord(const char* word) {
    delete[] title;
    title = word != nullptr ? CopyText(word) : nullptr;
}

void ArchitectureWindow::Redraw(int clear, int x1, int y1, int x2, int y2) {
    if (cadArea == nullptr) return;
    RedrawArea(clear, x1, y1, x2, y2);
}

int ArchitectureWindow::QueryClear() {
    if (!AskClear()) return 0;
    Clear();
    return 1;
}

int ArchitectureWindow::AskClear() {
    MainWindow* main = GetMainWindow();
    Widget parent = main != nullptr ? main->GetShell() : GetShell();
    return AskSaveModified(parent, " ", "Architecture has been modified!\nDo you want to save it ?",
                           kArchitectureFile, cadArea);
}

int ArchitectureWindow::AskSaveModified(Widget parent, const char* title, const char* text,
                                        FileKind kind, Widget updated) {
    int result = 1;
    if (IsModified()) {
        const MessageResult answer = WindowMessage(parent, kMessageYesNoCancel, title, text);
        // The request that asked is not carried out after Yes; the user repeats it after saving.
        if (answer == kResultYes) Save(*this, kind, nullptr);
        result = answer == kResultNo ? 1 : 0;
    }
    if (updated != nullptr) XmUpdateDisplay(updated);
    return result;
}

void ArchitectureWindow::Clear() {
    PtrArray<AElement>& elements = GetElements();
    selection.Reset();
    // Each element's destructor takes it and its connections out of the lists. The display is
    // brought up to date once, before and after, not once per element.
    if (cadArea != nullptr) XmUpdateDisplay(cadArea);
    {
        HeldDisplayUpdates held;
        while (elements.GetCount() > 0) {
            AElement* first = elements[0];
            delete first;
            if (elements.GetCount() > 0 && elements[0] == first) elements.Remove(first);
        }
    }
    Redraw(1, 0, 0, 0, 0);
    ClearModified();
    SetFileName(nullptr);
    if (cadArea != nullptr) XmUpdateDisplay(cadArea);
}

int ArchitectureWindow::Read(std::istream& in, FileArgument*) {
    didRead = 1;
    int result = ReadArchitectureBody(*this, in, 0);
    UpdateOverview();
    return result;
}

int ArchitectureWindow::Write(std::ostream& out, int level, FileArgument*) {
    if (StreamFailed(out)) return SetWriteError(out, kIoError, nullptr);
    WriteFileHeader(out, "library");
    return WriteArchitectureBody(*this, out, level, 0);
}

int ArchitectureWindow::ReadGlobalData(std::istream& in) {
    MainWindow* main = GetMainWindow();
    if (main == nullptr) {
        std::cerr << "ArchitectureWindow::ReadGlobalData: no main window for the global data"
                  << std::endl;
        return kNoError;
    }
    return main->ReadGlobalData(in);
}

int ArchitectureWindow::WriteGlobalData(std::ostream& out, int level) {
    // The global data always comes from the main window, whichever window is written.
    MainWindow* main = GetMainWindow();
    if (main == nullptr) {
        std::cerr << "ArchitectureWindow::WriteGlobalData: no main window for the global data"
                  << std::endl;
        return kNoError;
    }
    return main->WriteGlobalData(out, level);
}

ArchitectureWindow::FrameParts ArchitectureWindow::BeginFrame(Widget shell, Dimension width,
                                                              Dimension height, const MenuRow* menu,
                                                              int menuCount, const ToolRow* tools,
                                                              int toolCount) {
    FrameParts parts{};
    form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNwidth, width, XmNheight, height,
                            nullptr);
    parts.menuBar = CreateMenuBar(form, menu, menuCount, this, commandWidgets);
    if (tools != nullptr) {
        parts.toolBar = CreateToolBar(form, tools, toolCount, this, commandWidgets);
    }
    parts.scrolled = XtVaCreateManagedWidget("ScrolledWindow", xmScrolledWindowWidgetClass, form,
                                             XmNscrollingPolicy, XmAUTOMATIC, nullptr);
    parts.footer = XtVaCreateManagedWidget("footer_rowcol", xmRowColumnWidgetClass, form, nullptr);
    Widget frame = XtVaCreateManagedWidget("FooterFrame", xmFrameWidgetClass, parts.footer,
                                           XmNshadowType, XmSHADOW_IN, nullptr);
    parts.footerForm = XtVaCreateManagedWidget("footer_form", xmFormWidgetClass, frame,
                                               XmNshadowType, XmSHADOW_IN, nullptr);
    OwnedXmString blank(" ");
    footerLabel = XtVaCreateManagedWidget("footer_label_l", xmLabelWidgetClass, parts.footerForm,
                                          XmNlabelString, blank.Get(), XmNalignment,
                                          XmALIGNMENT_BEGINNING, nullptr);
    parts.separator = XtVaCreateManagedWidget("footer_separator", xmSeparatorWidgetClass,
                                              parts.footerForm, XmNorientation, XmVERTICAL,
                                              XmNseparatorType, XmSHADOW_ETCHED_OUT, nullptr);
    return parts;
}

void ArchitectureWindow::FinishFrame(const FrameParts& parts, Widget footerRight) {
    cadArea = XtVaCreateManagedWidget(
        "cad_area", xmDrawingAreaWidgetClass, parts.scrolled, XmNwidth, areaWidth, XmNheight,
        areaHeight, XmNbackground, GetWhite(), XmNuserData, static_cast<XtPointer>(this), nullptr);
    AddAreaCallbacks(this, cadArea, form, horizontalScrollBar, verticalScrollBar);
    CreateBlackOnWhiteGC(&gridGC, cadArea);
    CreateDashedXorGC(&rubberBandGC, cadArea);

    Attach(parts.menuBar).Top(ToForm()).Left(ToForm()).Right(ToForm());
    // The working area hangs below the tool bar when there is one, else below the menu bar.
    Widget above = parts.menuBar;
    if (parts.toolBar != nullptr) {
        Attach(parts.toolBar).Top(ToWidget(parts.menuBar)).Left(ToForm()).Right(ToForm());
        above = parts.toolBar;
    }
    Attach(parts.scrolled)
        .Top(ToWidget(above))
        .Left(ToForm())
        .Right(ToForm())
        .Bottom(ToWidget(parts.footer));
    Attach(parts.footer).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(footerLabel).Top(ToForm()).Left(ToForm()).Right(ToWidget(parts.separator));
    Attach(parts.separator).Top(ToForm()).Bottom(ToForm()).Right(ToWidget(footerRight));
    Attach(footerRight).Top(ToForm()).Right(ToForm());
    XtManageChild(form);
}

void ArchitectureWindow::RedrawArea(int clear, int x1, int y1, int x2, int y2) {
    if (form == nullptr || cadArea == nullptr) return;
    Display* display = XtDisplay(cadArea);
    Window window = XtWindow(cadArea);
    if (window == 0) return;
    if (x2 == 0) GetVisibleRect(x1, y1, x2, y2);
    if (x1 < 0) x1 = 0;
    if (y1 < 0) y1 = 0;
    x1 -= x1 % gridX;
    y1 -= y1 % gridY;
    // Nothing lies beyond the area; the bound also keeps a huge grid step from overflowing.
    x2 = static_cast<int>(std::min<long long>(static_cast<long long>(x2) + gridX, areaWidth + 1));
    y2 = static_cast<int>(std::min<long long>(static_cast<long long>(y2) + gridY, areaHeight + 1));
    if (x2 <= x1 || y2 <= y1) return;
    // Only what reaches into the rectangle is sent: an architecture may hold far more than can
    // be seen. A line that lies wholly outside would be erased and drawn again unchanged.
    PtrArray<Connection>& connections = GetConnections();
    std::vector<Connection*> wires;
    for (int i = 0; i < connections.GetCount(); i++) {
        Connection* wire = connections[i];
        int sx, sy, tx, ty;
        wire->GetSourcePoint(sx, sy);
        wire->GetTargetPoint(tx, ty);
        if (std::max(sx, tx) < x1 - 1 || std::min(sx, tx) > x2 + 1 || std::max(sy, ty) < y1 - 1 ||
            std::min(sy, ty) > y2 + 1) {
            continue;
        }
        wires.push_back(wire);
        wire->Erase();
    }
    if (!wires.empty()) XFlush(display);
    if (clear) {
        XClearArea(display, window, x1, y1, static_cast<unsigned>(x2 - x1),
                   static_cast<unsigned>(y2 - y1), False);
    }
    if (gridVisible && gridGC != nullptr) {
        DrawGrid(display, window, gridGC, x1, y1, x2, y2, gridX, gridY);
    }
    PtrArray<AElement>& elements = GetElements();
    std::vector<AElement*> icons;
    std::vector<IconFootprint> footprints;
    for (int i = 0; i < elements.GetCount(); i++) {
        AElement* element = elements[i];
        int ex, ey, ew, eh;
        element->GetGeometry(ex, ey, ew, eh);
        if (ex > x2 || ey > y2 || static_cast<long long>(ex) + ew + 1 < x1 ||
            static_cast<long long>(ey) + eh + 1 < y1) {
            continue;
        }
        icons.push_back(element);
        footprints.push_back({ex, ey, ew + 1, eh + 1, PaintsItsIcon(*element, display, window)});
    }
    // An icon that later ones paint over whole is not sent: with many elements on the area most
    // are, and the server would paint them all for nothing.
    Dimension windowWidth = 0, windowHeight = 0;
    XtVaGetValues(cadArea, XmNwidth, &windowWidth, XmNheight, &windowHeight, nullptr);
    const std::vector<char> hidden = FindHiddenIcons(footprints, windowWidth, windowHeight);
    for (size_t i = 0; i < icons.size(); i++) {
        if (!hidden[i]) icons[i]->Draw();
    }
    for (Connection* wire : wires)
        wire->Draw();
    XSync(display, False);
}

void ArchitectureWindow::RedrawElements(const PtrArray<AElement>& list) {
    int left, top, right, bottom;
    if (BoundingBox(list, left, top, right, bottom)) {
        RedrawArea(1, left, top, right, bottom);
    }
    UpdateOverview();
}

void ArchitectureWindow::SetToggle(int code, int state) {
    if (code < 0 || code >= kToggleLimit) return;
    for (Widget toggle : commandWidgets[code]) {
        if (toggle != nullptr) XtVaSetValues(toggle, XmNset, state ? True : False, nullptr);
    }
    switch (code) {
        case kCommandSimulate:
            simulationBoxShown = state;
            break;
        case kCommandElementList:
            elementListShown = state;
            break;
        case kCommandOverview:
            // The overview window was closed by itself.
            if (!state) overview = nullptr;
            overviewShown = static_cast<char>(state ? 1 : 0);
            break;
        default:
            break;
    }
}

int ArchitectureWindow::ToggleGrid() {
    gridVisible = gridVisible ? 0 : 1;
    SetToggle(kCommandGrid, gridVisible);
    Redraw(1, 0, 0, 0, 0);
    return gridVisible;
}

int ArchitectureWindow::ToggleOverview() {
    if (overview != nullptr || overviewShown) {
        CloseOverview();
        return 0;
    }
    OpenOverview();
    return overview != nullptr ? 1 : 0;
}

void ArchitectureWindow::OpenOverview() {
    // Only a window with a working area has an overview; the toggle never claims a missing one.
    if (overview == nullptr && cadArea != nullptr) overview = new OverviewWindow(this);
    SetToggle(kCommandOverview, overview != nullptr ? 1 : 0);
}

void ArchitectureWindow::CloseOverview() {
    OverviewWindow* going = overview;
    overview = nullptr;
    delete going;
    SetToggle(kCommandOverview, 0);
}

void ArchitectureWindow::UpdateOverview() {
    if (overview != nullptr) overview->Redraw();
}

void ArchitectureWindow::OverviewScrolled() {
    if (overview != nullptr) overview->UpdateVisibleRect();
}

void ArchitectureWindow::OpenWorkingAreaOptions() {
    if (workingAreaOptionsDialog == nullptr) new WorkingAreaOptionsDialog(this);
}

void ArchitectureWindow::SetGridOptions(int visible, int x, int y, int rasterizeOn) {
    gridVisible = visible;
    gridX = x;
    gridY = y;
    rasterize = rasterizeOn;
    if (cadArea != nullptr) SetToggle(kCommandGrid, gridVisible);
}

void ArchitectureWindow::GetVisibleRect(int& x1, int& y1, int& x2, int& y2) {
    int hValue = 0, hSize = areaWidth, vValue = 0, vSize = areaHeight;
    if (horizontalScrollBar != nullptr) {
        XtVaGetValues(horizontalScrollBar, XmNvalue, &hValue, XmNsliderSize, &hSize, nullptr);
    }
    if (verticalScrollBar != nullptr) {
        XtVaGetValues(verticalScrollBar, XmNvalue, &vValue, XmNsliderSize, &vSize, nullptr);
    }
    x1 = hValue;
    y1 = vValue;
    x2 = hValue + hSize;
    y2 = vValue + vSize;
}

namespace {

// A value the scroll bar accepts: inside minimum .. maximum - slider size.
void SetScrollValue(Widget bar, int value) {
    if (bar == nullptr) return;
    int current, slider, increment, page, minimum, maximum;
    XmScrollBarGetValues(bar, &current, &slider, &increment, &page);
    XtVaGetValues(bar, XmNminimum, &minimum, XmNmaximum, &maximum, nullptr);
    if (value > maximum - slider) value = maximum - slider;
    if (value < minimum) value = minimum;
    XmScrollBarSetValues(bar, value, slider, increment, page, True);
}

void CenterScrollBar(Widget bar) {
    if (bar == nullptr) return;
    int maximum = 0, slider = 0;
    XtVaGetValues(bar, XmNmaximum, &maximum, XmNsliderSize, &slider, nullptr);
    SetScrollValue(bar, (maximum - slider) / 2);
}

} // namespace

void ArchitectureWindow::ScrollTo(int x, int y) {
    SetScrollValue(horizontalScrollBar, x);
    SetScrollValue(verticalScrollBar, y);
}

void ArchitectureWindow::CenterView() {
    CenterScrollBar(horizontalScrollBar);
    CenterScrollBar(verticalScrollBar);
}

void ArchitectureWindow::DrawRubberBand(int x1, int y1, int x2, int y2) {
    if (cadArea == nullptr || rubberBandGC == nullptr || XtWindow(cadArea) == 0) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    XDrawRectangle(XtDisplay(cadArea), XtWindow(cadArea), rubberBandGC, x1, y1,
                   static_cast<unsigned>(x2 - x1), static_cast<unsigned>(y2 - y1));
}

void ArchitectureWindow::SetSelectionMarks(int unmark) {
    PtrArray<Connection>& connections = GetConnections();
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->Erase();
    for (int i = 0; i < selection.GetCount(); i++) {
        AElement* element = selection[i];
        if (unmark) {
            element->Unmark();
        } else {
            element->Mark();
        }
        element->Draw();
    }
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->Draw();
}

void ArchitectureWindow::DeleteSelection() {
    if (selection.GetCount() == 0) return;
    SetModified();
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < selection.GetCount(); i++)
        elements.Remove(selection[i]);
    RedrawElements(selection);
    if (windowKind == kMacroWindowKind) RemoveMacroIO(selection);
    for (int i = 0; i < selection.GetCount(); i++)
        delete selection[i];
    selection.Reset();
}

void ArchitectureWindow::SetFooterText(const char* text) {
    if (footerLabel == nullptr) return;
    OwnedXmString label(text != nullptr ? text : "");
    XtVaSetValues(footerLabel, XmNlabelString, label.Get(), nullptr);
    XmUpdateDisplay(footerLabel);
}

Widget ArchitectureWindow::GetCommandMenuToggle(int code) const {
    return code >= 0 && code < kToggleLimit ? commandWidgets[code][0] : nullptr;
}

Widget ArchitectureWindow::GetCommandToolToggle(int code) const {
    return code >= 0 && code < kToggleLimit ? commandWidgets[code][1] : nullptr;
}
