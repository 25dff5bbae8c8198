#include "shell/ArchitectureWindow.h"

#include <X11/xpm.h>
#include <Xm/CascadeB.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>
#include <Xm/SeparatoG.h>
#include <Xm/Separator.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "model/data/Connection.h"
#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"
#include "model/format/FileKind.h"
#include "shell/AreaCallbacks.h"
#include "shell/DragContext.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/MenuCommand.h"
#include "shell/OverviewWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/WorkingAreaInput.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "toolkit/Colors.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/OwnedXmString.h"

namespace {

WindowMessageFunction messageFunction = nullptr;

// The one pin highlight across all windows.
AElement* highlightElement = nullptr;
int highlightPin = 0;

char* CopyText(const char* text) {
    char* copy = new char[std::strlen(text) + 1];
    std::strcpy(copy, text);
    return copy;
}

// The widget name of a menu entry: its label without the trailing dots.
std::string EntryName(const char* label) {
    std::string name(label != nullptr ? label : "");
    while (!name.empty() && name.back() == '.')
        name.pop_back();
    return name;
}

KeySym Mnemonic(const char* mnemonic) {
    if (mnemonic == nullptr || mnemonic[0] == '\0') return NoSymbol;
    return static_cast<KeySym>(static_cast<unsigned char>(mnemonic[0]));
}

XtPointer CodeData(int code) {
    return reinterpret_cast<XtPointer>(static_cast<intptr_t>(code));
}

void DrawGrid(Display* display, Window window, GC gc, int x1, int y1, int x2, int y2, int stepX,
              int stepY) {
    std::vector<XPoint> points;
    for (long long y = y1; y < y2; y += stepY) {
        for (long long x = x1; x < x2; x += stepX) {
            points.push_back({static_cast<short>(x), static_cast<short>(y)});
        }
    }
    // The request size limits one XDrawPoints call; draw in slices well below it.
    const size_t kSlice = 16000;
    for (size_t i = 0; i < points.size(); i += kSlice) {
        size_t n = std::min(kSlice, points.size() - i);
        XDrawPoints(display, window, gc, &points[i], static_cast<int>(n), CoordModeOrigin);
    }
}

} // namespace

void SetWindowMessageFunction(WindowMessageFunction function) {
    messageFunction = function;
}

MessageResult WindowMessage(Widget parent, MessageKind kind, const char* title, const char* text) {
    if (messageFunction != nullptr) return messageFunction(parent, kind, title, text);
    return MessageDialog(parent, kind, title, text);
}

ArchitectureWindow::ArchitectureWindow()
    : windowKind(kMainWindowKind), areaWidth(kAreaWidth), areaHeight(kAreaHeight), gridGC(nullptr),
      rubberBandGC(nullptr), gridVisible(1), gridX(kDefaultGridStep), gridY(kDefaultGridStep),
      rasterize(1), elementListShown(0), overviewShown(0), simulationBoxShown(0), title(nullptr),
      windowShell(nullptr), cadArea(nullptr), form(nullptr), horizontalScrollBar(nullptr),
      verticalScrollBar(nullptr), footerLabel(nullptr), elementMenus{},
      backgroundMenu(nullptr), commandWidgets{}, connectionEnd(nullptr),
      workingAreaOptionsDialog(nullptr), overview(nullptr), didRead(0) {}

ArchitectureWindow::ArchitectureWindow(const ArchitectureWindow& source)
    : Architecture(source), LoadSaveObject(), windowKind(source.windowKind), areaWidth(kAreaWidth),
      areaHeight(kAreaHeight), gridGC(nullptr), rubberBandGC(nullptr),
      gridVisible(source.gridVisible), gridX(source.gridX), gridY(source.gridY),
      rasterize(source.rasterize), elementListShown(0), overviewShown(0), simulationBoxShown(0),
      title(source.title != nullptr ? CopyText(source.title) : nullptr), windowShell(nullptr),
      cadArea(nullptr), form(nullptr), horizontalScrollBar(nullptr), verticalScrollBar(nullptr),
      footerLabel(nullptr), elementMenus{}, backgroundMenu(nullptr), commandWidgets{},
      connectionEnd(nullptr), workingAreaOptionsDialog(nullptr), overview(nullptr), didRead(0) {
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
    if (highlightElement != nullptr && highlightElement->GetOwner() == this) {
        highlightElement = nullptr;
        highlightPin = 0;
    }
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

Widget ArchitectureWindow::CreateMenuBar(Widget parent, const MenuRow* rows, int count) {
    Arg args[2];
    XtSetArg(args[0], XmNuserData, static_cast<XtPointer>(this));
    Widget menuBar = XmCreateMenuBar(parent, const_cast<char*>("MenuBar"), args, 1);
    Widget pulldown = nullptr;
    Widget lastCascade = nullptr;
    std::string lastCascadeName;
    for (int i = 0; i < count; i++) {
        const MenuRow& row = rows[i];
        const std::string name = EntryName(row.label);
        if (row.kind == kMenuCascade) {
            pulldown = XmCreatePulldownMenu(menuBar, const_cast<char*>("pulldown"), args, 1);
            OwnedXmString label(row.label);
            lastCascade = XtVaCreateManagedWidget(
                name.c_str(), xmCascadeButtonWidgetClass, menuBar, XmNsubMenuId, pulldown,
                XmNlabelString, label.Get(), XmNmnemonic, Mnemonic(row.mnemonic), nullptr);
            lastCascadeName = name;
            continue;
        }
        if (pulldown == nullptr) {
            std::cerr << "ArchitectureWindow::CreateMenuBar: entry " << i << " before any menu"
                      << std::endl;
            continue;
        }
        switch (row.kind) {
            case kMenuPush: {
                OwnedXmString label(row.label);
                Widget entry = XtVaCreateManagedWidget(
                    name.c_str(), xmPushButtonGadgetClass, pulldown, XmNlabelString, label.Get(),
                    XmNmnemonic, Mnemonic(row.mnemonic), nullptr);
                XtAddCallback(entry, XmNactivateCallback, MenuCommandCallback,
                              CodeData(row.command));
                break;
            }
            case kMenuToggle: {
                OwnedXmString label(row.label);
                Widget entry = XtVaCreateManagedWidget(
                    name.c_str(), xmToggleButtonGadgetClass, pulldown, XmNlabelString, label.Get(),
                    XmNmnemonic, Mnemonic(row.mnemonic), nullptr);
                XtAddCallback(entry, XmNvalueChangedCallback, MenuCommandCallback,
                              CodeData(row.command));
                if (row.command >= 0 && row.command < kCommandCount) {
                    commandWidgets[row.command][0] = entry;
                }
                break;
            }
            case kMenuSeparator:
                XtVaCreateManagedWidget("Separator", xmSeparatorGadgetClass, pulldown, nullptr);
                break;
            default:
                std::cerr << "ArchitectureWindow::CreateMenuBar: row " << i << " has kind "
                          << row.kind << std::endl;
                break;
        }
    }
    // Motif puts the help cascade at the right end.
    if (lastCascade != nullptr && lastCascadeName == "Help") {
        XtVaSetValues(menuBar, XmNmenuHelpWidget, lastCascade, nullptr);
    }
    XtManageChild(menuBar);
    return menuBar;
}

Widget ArchitectureWindow::CreateToolBar(Widget parent, const ToolRow* rows, int count) {
    Widget bar =
        XtVaCreateWidget("footer_rowcol", xmRowColumnWidgetClass, parent, XmNorientation,
                         XmHORIZONTAL, XmNmarginWidth, 0, XmNmarginHeight, 1, XmNspacing, 0,
                         XmNtraversalOn, False, XmNuserData, static_cast<XtPointer>(this), nullptr);
    Display* display = XtDisplay(parent);
    Window root = RootWindowOfScreen(XtScreen(parent));
    Pixel background = 0;
    XtVaGetValues(bar, XmNbackground, &background, nullptr);
    for (int i = 0; i < count; i++) {
        const ToolRow& row = rows[i];
        if (row.kind == kToolGap) {
            XtVaCreateManagedWidget("", xmLabelGadgetClass, bar, nullptr);
            continue;
        }
        if (row.kind != kToolPush && row.kind != kToolToggle) {
            std::cerr << "ArchitectureWindow::CreateToolBar: row " << i << " has kind " << row.kind
                      << std::endl;
            continue;
        }
        // The transparent colour of an icon takes the tool bar's background.
        XpmColorSymbol none = {nullptr, const_cast<char*>("None"), background};
        XpmAttributes attributes;
        attributes.valuemask = XpmColorSymbols;
        attributes.colorsymbols = &none;
        attributes.numsymbols = 1;
        Pixmap pixmap = 0;
        Pixmap mask = 0;
        int status = XpmCreatePixmapFromData(display, root, const_cast<char**>(row.icon), &pixmap,
                                             &mask, &attributes);
        if (status != XpmSuccess) {
            std::cerr << "ArchitectureWindow::CreateToolBar: icon " << i << ": "
                      << XpmGetErrorString(status) << std::endl;
            pixmap = 0;
        }
        if (mask != 0) XFreePixmap(display, mask);
        XpmFreeAttributes(&attributes);
        Widget button;
        if (row.kind == kToolPush) {
            button = XtVaCreateManagedWidget("Icon", xmPushButtonWidgetClass, bar, XmNlabelType,
                                             XmPIXMAP, XmNlabelPixmap, pixmap, XmNshadowThickness,
                                             1, XmNhighlightThickness, 0, nullptr);
            XtAddCallback(button, XmNactivateCallback, MenuCommandCallback, CodeData(row.command));
        } else {
            button =
                XtVaCreateManagedWidget("Icon", xmToggleButtonWidgetClass, bar, XmNlabelType,
                                        XmPIXMAP, XmNlabelPixmap, pixmap, XmNindicatorOn, False,
                                        XmNshadowThickness, 1, XmNhighlightThickness, 0, nullptr);
            XtAddCallback(button, XmNvalueChangedCallback, MenuCommandCallback,
                          CodeData(row.command));
            if (row.command >= 0 && row.command < kCommandCount) {
                commandWidgets[row.command][1] = button;
            }
        }
        XtAddEventHandler(button, EnterWindowMask | LeaveWindowMask, False,
                          ToolButtonCrossingHandler,
                          const_cast<XtPointer>(static_cast<const void*>(row.help)));
    }
    XtManageChild(bar);
    return bar;
}

ArchitectureWindow::FrameParts ArchitectureWindow::BeginFrame(Widget shell, Dimension width,
                                                              Dimension height, const MenuRow* menu,
                                                              int menuCount, const ToolRow* tools,
                                                              int toolCount) {
    FrameParts parts{};
    form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNwidth, width, XmNheight, height,
                            nullptr);
    parts.menuBar = CreateMenuBar(form, menu, menuCount);
    if (tools != nullptr) parts.toolBar = CreateToolBar(form, tools, toolCount);
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
    AddAreaCallbacks();
    CreateBlackOnWhiteGC(&gridGC, cadArea);
    CreateDashedXorGC(&rubberBandGC, cadArea);

    XtVaSetValues(parts.menuBar, XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM,
                  XmNrightAttachment, XmATTACH_FORM, nullptr);
    // The working area hangs below the tool bar when there is one, else below the menu bar.
    Widget above = parts.menuBar;
    if (parts.toolBar != nullptr) {
        XtVaSetValues(parts.toolBar, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, parts.menuBar,
                      XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
        above = parts.toolBar;
    }
    XtVaSetValues(parts.scrolled, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, above,
                  XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget, parts.footer, nullptr);
    XtVaSetValues(parts.footer, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtVaSetValues(footerLabel, XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM,
                  XmNrightAttachment, XmATTACH_WIDGET, XmNrightWidget, parts.separator, nullptr);
    XtVaSetValues(parts.separator, XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment,
                  XmATTACH_FORM, XmNrightAttachment, XmATTACH_WIDGET, XmNrightWidget, footerRight,
                  nullptr);
    XtVaSetValues(footerRight, XmNtopAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  nullptr);
    XtManageChild(form);
}

void ArchitectureWindow::AddAreaCallbacks() {
    if (cadArea == nullptr || form == nullptr) return;
    XtAddCallback(cadArea, XmNexposeCallback, CadAreaExposeCallback, this);
    XtAddEventHandler(cadArea,
                      KeyPressMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          ButtonMotionMask,
                      False, CadAreaEventHandler, this);
    Widget clip = XtParent(cadArea);
    if (clip != nullptr && XtHasCallbacks(clip, XmNresizeCallback) != XtCallbackNoList) {
        XtAddCallback(clip, XmNresizeCallback, ScrollCallback, this);
    }
    Widget scrolled = XtNameToWidget(form, "ScrolledWindow");
    if (scrolled == nullptr) {
        std::cerr << "ArchitectureWindow::AddAreaCallbacks: no ScrolledWindow" << std::endl;
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
            XtAddCallback(bar, reason, ScrollCallback, this);
    }
}

void ArchitectureWindow::RegisterDropSite() {
    RegisterAreaDropSite(cadArea);
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
    for (int i = 0; i < elements.GetCount(); i++) {
        AElement* element = elements[i];
        int ex, ey, ew, eh;
        element->GetGeometry(ex, ey, ew, eh);
        if (ex > x2 || ey > y2 || static_cast<long long>(ex) + ew + 1 < x1 ||
            static_cast<long long>(ey) + eh + 1 < y1) {
            continue;
        }
        element->Draw();
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
    if (code < 0 || code >= kCommandCount) return;
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

void ArchitectureWindow::TrackPinHighlight(int x, int y) {
    AElement* element = ElementAt(*this, x, y);
    int pin = element != nullptr ? element->PinAt(x - element->GetX(), y - element->GetY()) : 0;
    if (pin == 0) element = nullptr;
    if (element == highlightElement && pin == highlightPin) return;
    if (highlightElement != nullptr) highlightElement->DrawPinHighlight(highlightPin, 0);
    highlightElement = element;
    highlightPin = pin;
    if (element != nullptr) element->DrawPinHighlight(pin, 1);
}

void ArchitectureWindow::ForgetElement(AElement* element) {
    if (element == nullptr || element != highlightElement) return;
    highlightElement = nullptr;
    highlightPin = 0;
}

AElement* ArchitectureWindow::GetPinHighlight(int& pin) {
    pin = highlightPin;
    return highlightElement;
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

namespace {

// True when other lies in one of the window's MACRO elements, at any depth.
bool NestedInMacros(ArchitectureWindow* window, ArchitectureWindow* other) {
    PtrArray<AElement>& elements = window->GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        auto* macro = dynamic_cast<ArchitectureWindow*>(elements[i]);
        if (macro == nullptr) continue;
        if (macro == other || NestedInMacros(macro, other)) return true;
    }
    return false;
}

// The architecture window an element of a macro window lives on.
ArchitectureWindow* OwnerWindow(ArchitectureWindow* window) {
    auto* asElement = dynamic_cast<AElement*>(window);
    return asElement != nullptr ? dynamic_cast<ArchitectureWindow*>(asElement->GetOwner())
                                : nullptr;
}

} // namespace

int ArchitectureWindow::ContainsWindow(ArchitectureWindow* window, ArchitectureWindow* other) {
    if (window == nullptr || other == nullptr) return 0;
    for (ArchitectureWindow* up = window; up != nullptr && up->windowKind == kMacroWindowKind;
         up = OwnerWindow(up)) {
        if (up == other) return 1;
    }
    return NestedInMacros(window, other) ? 1 : 0;
}

void ArchitectureWindow::SetFooterText(const char* text) {
    if (footerLabel == nullptr) return;
    OwnedXmString label(text != nullptr ? text : "");
    XtVaSetValues(footerLabel, XmNlabelString, label.Get(), nullptr);
    XmUpdateDisplay(footerLabel);
}

Widget ArchitectureWindow::GetCommandMenuToggle(int code) const {
    return code >= 0 && code < kCommandCount ? commandWidgets[code][0] : nullptr;
}

Widget ArchitectureWindow::GetCommandToolToggle(int code) const {
    return code >= 0 && code < kCommandCount ? commandWidgets[code][1] : nullptr;
}

Widget ArchitectureWindow::GetElementMenu(int type) const {
    return type >= 0 && type < kElementTypeCount ? elementMenus[type] : nullptr;
}

void ArchitectureWindow::SetElementMenu(int type, Widget menu) {
    if (type >= 0 && type < kElementTypeCount) elementMenus[type] = menu;
}
