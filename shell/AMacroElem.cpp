#include "shell/AMacroElem.h"

#include <Xm/DrawingA.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <iostream>
#include <istream>
#include <ostream>
#include <vector>

#include "model/data/Connection.h"
#include "model/elements/AHelpElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMacroOutputElem.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PinCode.h"
#include "model/elements/PlaneCopy.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "shell/ArchitectureFile.h"
#include "shell/AreaCallbacks.h"
#include "shell/DragContext.h"
#include "shell/ElementPopupMenu.h"
#include "shell/MenuCommand.h"
#include "shell/PinHighlight.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WorkingAreaInput.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "toolkit/Colors.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/OwnedXmString.h"

namespace {

const char* const kMacroTitleWord = "Modify Macro";

// A macro window is its macro element's modify window; the rows are given to its bar alone.
void CloseMacroWindow(ArchitectureWindow& window) {
    if (auto* macro = dynamic_cast<AElement*>(&window)) macro->CloseModifyWindow();
}

// Import and Export have no function.
const MenuRow kMacroMenuRows[] = {
    {kMenuCascade, "Macro", "M", nullptr, kNoToggle},
    {kMenuPush, "Import Architecture...", "I", nullptr, kNoToggle},
    {kMenuPush, "Export Architecture...", "E", nullptr, kNoToggle},
    {kMenuSeparator, "", "", nullptr, kNoToggle},
    {kMenuPush, "Close", "C", CloseMacroWindow, kNoToggle},
    {kMenuCascade, "Edit", "E", nullptr, kNoToggle},
    {kMenuPush, "Delete", "D", DeleteCommand, kNoToggle},
    {kMenuCascade, "View", "V", nullptr, kNoToggle},
    {kMenuToggle, "Overview", "O", OverviewCommand, kCommandOverview},
    {kMenuSeparator, "", "", nullptr, kNoToggle},
    {kMenuToggle, "Grid", "G", GridCommand, kCommandGrid},
    {kMenuCascade, "Options", "O", nullptr, kNoToggle},
    {kMenuPush, "Working Area...", "W", WorkingAreaCommand, kNoToggle},
};

// Where the palette ports stand in the footer, pixels.
const int kPaletteInputX = 4;
const int kPaletteY = 3;
const int kPaletteGap = 8; // the output stands this far right of the input's right edge
const int kPaletteExtraWidth = 13;
const int kPaletteExtraHeight = 7;

const EventMask kShellCrossingMask = EnterWindowMask | LeaveWindowMask;
const EventMask kPaletteEventMask =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ButtonMotionMask;
// The reasons the working area's scroll bars report to the window (AddAreaCallbacks).
const char* const kScrollReasons[] = {
    XmNdecrementCallback, XmNincrementCallback, XmNpageDecrementCallback, XmNpageIncrementCallback,
    XmNtoBottomCallback,  XmNtoTopCallback,     XmNdragCallback,
};

// MACRO blocks being read, the outermost included: nested ones are read recursively.
int readNesting = 0;

struct NestingScope {
    NestingScope() { readNesting++; }
    ~NestingScope() { readNesting--; }
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;
};

// Every callback of the window gets the macro as its ArchitectureWindow part, the part that
// userData and the architecture windows' callbacks carry.
XtPointer AsClient(AMacroElem* macro) {
    return static_cast<XtPointer>(static_cast<ArchitectureWindow*>(macro));
}

AMacroElem* FromClient(XtPointer client) {
    return static_cast<AMacroElem*>(static_cast<ArchitectureWindow*>(client));
}

bool PinPlanesMatch(const AElement& a, int pinA, const AElement& b, int pinB) {
    int aw = 0, ah = 0, bw = 0, bh = 0;
    a.GetPlaneSize(pinA, aw, ah);
    b.GetPlaneSize(pinB, bw, bh);
    return aw == bw && ah == bh;
}

template <typename Port> void SortByNumber(PtrArray<Port>& ports) {
    std::vector<Port*> sorted;
    for (int i = 0; i < ports.GetCount(); i++)
        sorted.push_back(ports[i]);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Port* a, const Port* b) { return a->GetNumber() < b->GetNumber(); });
    ports.Reset();
    for (Port* port : sorted)
        ports.Add(port);
}

// The listed ports that are in the port list, by descending place in it.
template <typename Port>
std::vector<int> PlacesOf(const PtrArray<AElement>& listed, const PtrArray<Port>& ports) {
    std::vector<int> places;
    for (int i = 0; i < listed.GetCount(); i++) {
        const int place = ports.Find(dynamic_cast<const Port*>(listed[i]));
        if (place >= 0) places.push_back(place);
    }
    std::sort(places.rbegin(), places.rend());
    return places;
}

// MACRO's class lives here, in the shell: its maker joins the type list wherever the shell is.
AElement* MakeMacro(Architecture* owner, int x, int y) {
    return new AMacroElem(owner, x, y);
}
struct MacroMakerInstaller {
    MacroMakerInstaller() { SetElementMaker(kMacro, MakeMacro); }
} installMacroMaker;

} // namespace

AMacroElem::AMacroElem(Architecture* owner, int x, int y)
    : ArchitectureWindow(), AElement(owner, kMacro, x, y, kDefaultInputs, kDefaultOutputs),
      paletteInput(nullptr), paletteOutput(nullptr), macroShell(nullptr), paletteArea(nullptr) {
    windowKind = kMacroWindowKind;
    SetTitleWord(kMacroTitleWord);
    UpdateIcon();
}

AMacroElem::AMacroElem(const AMacroElem& other)
    : ArchitectureWindow(other), AElement(other), MacroHost(), paletteInput(nullptr),
      paletteOutput(nullptr), macroShell(nullptr), paletteArea(nullptr) {
    windowKind = kMacroWindowKind;
    SetTitleWord(kMacroTitleWord);
    UpdateIcon();
    CollectPorts();
}

AMacroElem::~AMacroElem() {
    CloseModifyWindow();
    CloseWindows();
    DeleteContents();
}

void AMacroElem::DeleteContents() {
    macroInputs.Reset();
    macroOutputs.Reset();
    selection.Reset();
    // Each element's destructor takes it and its connections out of the lists.
    PtrArray<AElement>& elements = GetElements();
    while (elements.GetCount() > 0) {
        AElement* first = elements[0];
        delete first;
        if (elements.GetCount() > 0 && elements[0] == first) elements.Remove(first);
    }
    PtrArray<Connection>& connections = GetConnections();
    while (connections.GetCount() > 0) {
        Connection* first = connections[0];
        delete first;
        if (connections.GetCount() > 0 && connections[0] == first) connections.Remove(first);
    }
}

void AMacroElem::CollectPorts() {
    macroInputs.Reset();
    macroOutputs.Reset();
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        if (auto* input = dynamic_cast<AMacroInputElem*>(elements[i])) macroInputs.Add(input);
        if (auto* output = dynamic_cast<AMacroOutputElem*>(elements[i])) macroOutputs.Add(output);
    }
    SortByNumber(macroInputs);
    SortByNumber(macroOutputs);
}

void AMacroElem::NumberPortsByPlace() {
    for (int k = 0; k < macroInputs.GetCount(); k++) {
        if (macroInputs[k]->GetNumber() != k) macroInputs[k]->SetNumber(k);
    }
    for (int k = 0; k < macroOutputs.GetCount(); k++) {
        if (macroOutputs[k]->GetNumber() != k) macroOutputs[k]->SetNumber(k);
    }
}

int AMacroElem::CheckPorts(std::istream& in) const {
    if (GetInputCount() != macroInputs.GetCount()) {
        return SetReadError(in, kMacroInputCount, nullptr);
    }
    if (GetOutputCount() != macroOutputs.GetCount()) {
        return SetReadError(in, kMacroOutputCount, nullptr);
    }
    for (int k = 0; k < macroInputs.GetCount(); k++) {
        if (!PinPlanesMatch(*this, InputPinCode(k), *macroInputs[k], OutputPinCode(0))) {
            return SetReadError(in, kMacroInputDimension, nullptr);
        }
    }
    for (int k = 0; k < macroOutputs.GetCount(); k++) {
        if (!PinPlanesMatch(*this, OutputPinCode(k), *macroOutputs[k], InputPinCode(0))) {
            return SetReadError(in, kMacroOutputDimension, nullptr);
        }
    }
    return kNoError;
}

int AMacroElem::Read(std::istream& in, FileArgument*) {
    ElementHeader header;
    int code = ParseHeader(in, header);
    if (code != kNoError) return code;
    // A file nesting macros deeper than any design does would exhaust the stack.
    if (readNesting >= kMaxNesting) return SetReadError(in, kNumberOutOfRange, "MACRO");
    NestingScope nesting;
    char* cursor = EmptyCursor();
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    // The ports inside check their numbers against the header's counts as they are read; the
    // planes of the declared sizes are made once the body has read.
    AMacroElem read(nullptr, 0, 0);
    ElementHeader counts = header;
    for (PlaneSize& size : counts.inputSizes)
        size = {1, 1};
    for (PlaneSize& size : counts.outputSizes)
        size = {1, 1};
    read.ApplyHeader(counts);
    if ((code = ReadArchitectureBody(read, in, 0)) != kNoError) return code;
    read.ApplyHeader(header);
    read.CollectPorts();
    if ((code = read.CheckPorts(in)) != kNoError) return code;
    read.NumberPortsByPlace();
    cursor = EmptyCursor();
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    if (StreamFailed(in)) return SetReadError(in, kIoError, nullptr);

    const int oldWidth = GetWidth();
    const int oldHeight = GetHeight();
    TakeContents(read);
    ApplyHeader(header);
    // A placed macro (an element file loaded into it) may have changed its size; one being read
    // as part of a body is drawn by that body's reader.
    Architecture* holder = GetOwner();
    if (holder != nullptr && holder->GetElements().Find(this) >= 0) {
        GetElementUi().Redraw(holder, 1, GetX(), GetY(), GetX() + std::max(oldWidth, GetWidth()),
                              GetY() + std::max(oldHeight, GetHeight()));
    }
    return kNoError;
}

void AMacroElem::TakeContents(AMacroElem& read) {
    DeleteContents();
    PtrArray<AElement>& elements = read.GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        GetElements().Add(elements[i]);
    PtrArray<Connection>& connections = read.GetConnections();
    for (int i = 0; i < connections.GetCount(); i++)
        GetConnections().Add(connections[i]);
    elements.Reset();
    connections.Reset();
    macroInputs = read.macroInputs;
    macroOutputs = read.macroOutputs;
    read.macroInputs.Reset();
    read.macroOutputs.Reset();
    SetGridOptions(read.gridVisible, read.gridX, read.gridY, read.rasterize);
    BindContents();
    if (form != nullptr) {
        UpdatePaletteNumbers();
        DrawPalette();
        Redraw(1, 0, 0, 0, 0);
        UpdateOverview();
    }
}

void AMacroElem::BindContents() {
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        elements[i]->SetOwner(this);
    PtrArray<Connection>& connections = GetConnections();
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->SetArchitecture(this);
}

int AMacroElem::Write(std::ostream& out, int level, FileArgument*) {
    if (WriteHeader(out, level) != 0) return FinishWrite(out);
    Indent(out, level) << "LOGICAL_DATA {\n";
    const int code = WriteArchitectureBody(*this, out, level + 1, 0);
    if (code != kNoError) return code;
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

void AMacroElem::Simulate() {
    const int count = std::min(GetInputCount(), macroInputs.GetCount());
    for (int k = 0; k < count; k++) {
        AMacroInputElem* port = macroInputs[k];
        Matrix* into = port->GetOutputPlane(0);
        const Matrix* from = GetInputPlane(k);
        if (into != nullptr && from != nullptr) CopyPlane(*into, *from);
        port->Simulate();
    }
    AElement::Simulate();
}

void AMacroElem::ResetData() {
    ResetAll();
}

int AMacroElem::Propagate() {
    const SimTime now = GetLastSimulatedTime();
    for (int k = 0; k < macroInputs.GetCount(); k++) {
        AElement* successor = macroInputs[k]->GetOutputTarget(0);
        // Clocked elements inside wait for their own ticks.
        if (successor != nullptr && successor->GetClock() == 0) {
            GetElementUi().Schedule(now, successor);
        }
    }
    return 0;
}

int AMacroElem::IsModified() {
    const int own = AElement::IsModified();
    const int inside = Architecture::IsModified();
    return own || inside ? 1 : 0;
}

void AMacroElem::ClearModified() {
    AElement::ClearModified();
    Architecture::ClearModified();
}

void AMacroElem::OutputChanged(int) {
    RefreshShowDataWindows();
}

int AMacroElem::AddMacroInput(AElement* element) {
    auto* port = dynamic_cast<AMacroInputElem*>(element);
    if (port == nullptr || port->GetNumber() != macroInputs.GetCount()) return 0;
    if (!SetPinCount(GetInputCount() + 1, GetOutputCount(), 1)) return 0;
    SetInputPlaneSize(GetInputCount() - 1, port->GetOutputPlaneWidth(0),
                      port->GetOutputPlaneHeight(0));
    macroInputs.Add(port);
    SetModified();
    UpdatePaletteNumbers();
    DrawPalette();
    return 1;
}

int AMacroElem::AddMacroOutput(AElement* element) {
    auto* port = dynamic_cast<AMacroOutputElem*>(element);
    if (port == nullptr || port->GetNumber() != macroOutputs.GetCount()) return 0;
    if (!SetPinCount(GetInputCount(), GetOutputCount() + 1, 1)) return 0;
    SetOutputPlaneSize(GetOutputCount() - 1, port->GetInputPlaneWidth(0),
                       port->GetInputPlaneHeight(0));
    macroOutputs.Add(port);
    SetModified();
    UpdatePaletteNumbers();
    DrawPalette();
    return 1;
}

void AMacroElem::RemoveMacroIO(PtrArray<AElement>& removed) {
    const std::vector<int> inputs = PlacesOf(removed, macroInputs);
    const std::vector<int> outputs = PlacesOf(removed, macroOutputs);
    if (inputs.empty() && outputs.empty()) return;
    const int oldWidth = GetWidth();
    const int oldHeight = GetHeight();
    // The wires outside move to other pins: off the working area while their ends change.
    for (int j = 0; j < GetInputCount(); j++) {
        if (Connection* wire = GetInputConnection(j)) wire->Erase();
    }
    for (int j = 0; j < GetOutputCount(); j++) {
        if (Connection* wire = GetOutputConnection(j)) wire->Erase();
    }
    // Highest place first, so that the places still to come keep their pins.
    for (int place : inputs) {
        macroInputs.Remove(macroInputs[place]);
        if (place < GetInputCount()) RemovePin(InputPinCode(place));
    }
    for (int place : outputs) {
        macroOutputs.Remove(macroOutputs[place]);
        if (place < GetOutputCount()) RemovePin(OutputPinCode(place));
    }
    UpdateIcon();
    if (ElementView* all = GetShowDataWindow(0)) all->Rebuild();

    PtrArray<AElement> renumbered;
    for (int k = 0; k < macroInputs.GetCount(); k++) {
        if (macroInputs[k]->GetNumber() == k) continue;
        macroInputs[k]->SetNumber(k);
        renumbered.Add(macroInputs[k]);
    }
    for (int k = 0; k < macroOutputs.GetCount(); k++) {
        if (macroOutputs[k]->GetNumber() == k) continue;
        macroOutputs[k]->SetNumber(k);
        renumbered.Add(macroOutputs[k]);
    }
    if (renumbered.GetCount() > 0) RedrawElements(renumbered);
    RedrawConnections();
    GetElementUi().Redraw(GetOwner(), 1, GetX(), GetY(), GetX() + oldWidth, GetY() + oldHeight);
    SetModified();
    UpdatePaletteNumbers();
    DrawPalette();
}

void AMacroElem::UpdatePaletteNumbers() {
    if (paletteInput != nullptr) paletteInput->SetNumber(macroInputs.GetCount());
    if (paletteOutput != nullptr) paletteOutput->SetNumber(macroOutputs.GetCount());
}

void AMacroElem::DrawPalette() {
    if (paletteInput != nullptr) paletteInput->Draw();
    if (paletteOutput != nullptr) paletteOutput->Draw();
}

void AMacroElem::OpenModifyWindow() {
    if (form != nullptr) return;
    CreateMacroWindow();
    if (form == nullptr) return;
    SetToggle(kCommandGrid, gridVisible);
    SetToggle(kCommandOverview, 0);
    BindContents();
    CreatePopupMenus(*this);
    RegisterAreaDropSite(cadArea);
    connectionEnd = new AHelpElem(this);
    connectionEnd->SetOwner(this);
}

void AMacroElem::CreateMacroWindow() {
    auto* holder = dynamic_cast<ArchitectureWindow*>(GetOwner());
    Widget parent = holder != nullptr ? holder->GetShell() : nullptr;
    if (parent == nullptr) parent = GetTopLevelShell();
    if (parent == nullptr) {
        std::cerr << "AMacroElem::CreateMacroWindow: no shell to open the window on" << std::endl;
        return;
    }

    // The palette always shows the ports the next drops add.
    palette.Reset();
    paletteInput = new AMacroInputElem(this, kPaletteInputX, kPaletteY);
    paletteOutput = new AMacroOutputElem(this, 0, kPaletteY);
    paletteOutput->SetPosition(paletteInput->GetWidth() + kPaletteGap, kPaletteY);
    int planeWidth = 0, planeHeight = 0;
    GetDefaultPlaneSize(planeWidth, planeHeight);
    paletteInput->SetOutputPlaneSize(0, planeWidth, planeHeight);
    paletteOutput->SetInputPlaneSize(0, planeWidth, planeHeight);
    palette.Add(paletteInput);
    palette.Add(paletteOutput);

    macroShell = XtVaCreatePopupShell("MACRO", transientShellWidgetClass, parent, XmNtitle,
                                      "Modify - Macro", XmNdeleteResponse, XmDO_NOTHING, nullptr);
    windowShell = macroShell;
    XtAddEventHandler(macroShell, kShellCrossingMask, False, ShellCrossingEventHandler,
                      AsClient(this));
    const Atom deleteWindow =
        XmInternAtom(XtDisplay(macroShell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(macroShell, deleteWindow, CloseCallback, AsClient(this));
    // The shell hangs on the shell of the window that held the macro when it opened; should the
    // macro have been moved out of that window since, that shell may go first and take this one.
    XtAddCallback(macroShell, XmNdestroyCallback, ShellDestroyedCallback, AsClient(this));

    const FrameParts parts = BeginFrame(macroShell, 600, 500, kMacroMenuRows,
                                        static_cast<int>(XtNumber(kMacroMenuRows)), nullptr, 0);
    const int paletteWidth =
        paletteInput->GetWidth() + paletteOutput->GetWidth() + kPaletteExtraWidth;
    const int paletteHeight = paletteInput->GetHeight() + kPaletteExtraHeight;
    paletteArea = XtVaCreateManagedWidget(
        "footer_drawarea", xmDrawingAreaWidgetClass, parts.footerForm, XmNwidth,
        static_cast<Dimension>(paletteWidth), XmNheight, static_cast<Dimension>(paletteHeight),
        XmNbackground, GetLightGray(), XmNuserData, static_cast<XtPointer>(&palette), nullptr);
    XtAddCallback(paletteArea, XmNexposeCallback, PaletteExposeCallback, AsClient(this));
    XtAddEventHandler(paletteArea, kPaletteEventMask, False, PaletteDragStart, AsClient(this));
    FinishFrame(parts, paletteArea);
    XtRealizeWidget(macroShell);
    XtPopup(macroShell, XtGrabNone);

    paletteInput->SetOwner(this, WidgetTarget(paletteArea));
    paletteOutput->SetOwner(this, WidgetTarget(paletteArea));
    UpdatePaletteNumbers();
    CenterView();
}

void AMacroElem::FreeWindowResources() {
    if (cadArea == nullptr) return;
    Display* display = XtDisplay(cadArea);
    if (gridGC != nullptr) XFreeGC(display, gridGC);
    if (rubberBandGC != nullptr) XFreeGC(display, rubberBandGC);
    gridGC = nullptr;
    rubberBandGC = nullptr;
}

void AMacroElem::CloseModifyWindow() {
    if (form == nullptr) return;
    TearDownWindow(1);
}

void AMacroElem::ShellDestroyed() {
    // Closing destroys the shell itself, and forgets it first.
    if (macroShell == nullptr) return;
    TearDownWindow(0);
}

void AMacroElem::TearDownWindow(int destroyShell) {
    CloseOverview();
    // The options dialog lives on the macro shell.
    delete workingAreaOptionsDialog;
    workingAreaOptionsDialog = nullptr;
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        AElement* element = elements[i];
        // A macro inside closes its own window, which hangs on this one's shell.
        element->CloseWindows();
        // The windows only some types have hang on this shell too.
        element->CloseDimensionDialog();
        if (auto* logic = dynamic_cast<ALogicElem*>(element)) logic->CloseExternalDataWindow();
        ForgetPinHighlight(element);
        ForgetWorkingAreaElement(element);
    }
    for (int i = 0; i < selection.GetCount(); i++)
        selection[i]->Unmark();
    selection.Reset();
    DestroyPopupMenus(*this);
    if (connectionEnd != nullptr) {
        ForgetPinHighlight(connectionEnd);
        ForgetWorkingAreaElement(connectionEnd);
        delete connectionEnd;
        connectionEnd = nullptr;
    }
    palette.Reset();
    delete paletteInput;
    delete paletteOutput;
    paletteInput = nullptr;
    paletteOutput = nullptr;
    PtrArray<Connection>& connections = GetConnections();
    for (int i = 0; i < connections.GetCount(); i++)
        connections[i]->DrawHighlight();
    FreeWindowResources();
    if (destroyShell) DetachWindowCallbacks();

    Widget going = macroShell;
    macroShell = nullptr;
    windowShell = nullptr;
    form = nullptr;
    cadArea = nullptr;
    footerLabel = nullptr;
    horizontalScrollBar = nullptr;
    verticalScrollBar = nullptr;
    paletteArea = nullptr;
    for (auto& pair : commandWidgets) {
        pair[0] = nullptr;
        pair[1] = nullptr;
    }
    if (going != nullptr && destroyShell) XtDestroyWidget(going);
    HideFrame();
    // Nothing inside may draw on the working area that is gone.
    BindContents();
}

void AMacroElem::DetachWindowCallbacks() {
    if (macroShell == nullptr) return;
    const XtPointer client = AsClient(this);
    XtPopdown(macroShell);
    XtRemoveEventHandler(macroShell, kShellCrossingMask, False, ShellCrossingEventHandler, client);
    const Atom deleteWindow =
        XmInternAtom(XtDisplay(macroShell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmRemoveWMProtocolCallback(macroShell, deleteWindow, CloseCallback, client);
    XtRemoveCallback(macroShell, XmNdestroyCallback, ShellDestroyedCallback, client);
    if (paletteArea != nullptr) {
        XtRemoveCallback(paletteArea, XmNexposeCallback, PaletteExposeCallback, client);
        XtRemoveEventHandler(paletteArea, kPaletteEventMask, False, PaletteDragStart, client);
    }
    if (cadArea != nullptr) {
        XtRemoveCallback(cadArea, XmNexposeCallback, CadAreaExposeCallback, client);
        XtRemoveEventHandler(cadArea, XtAllEvents, True, CadAreaEventHandler, client);
        if (Widget clip = XtParent(cadArea)) {
            if (XtHasCallbacks(clip, XmNresizeCallback) == XtCallbackHasSome) {
                XtRemoveCallback(clip, XmNresizeCallback, ScrollCallback, client);
            }
        }
    }
    for (Widget bar : {horizontalScrollBar, verticalScrollBar}) {
        if (bar == nullptr) continue;
        for (const char* reason : kScrollReasons)
            XtRemoveCallback(bar, reason, ScrollCallback, client);
    }
}

void AMacroElem::CloseCallback(Widget, XtPointer client, XtPointer) {
    FromClient(client)->CloseModifyWindow();
}

void AMacroElem::ShellDestroyedCallback(Widget, XtPointer client, XtPointer) {
    FromClient(client)->ShellDestroyed();
}

void AMacroElem::PaletteExposeCallback(Widget, XtPointer client, XtPointer) {
    FromClient(client)->DrawPalette();
}

void AMacroElem::PaletteDragStart(Widget, XtPointer client, XEvent* event, Boolean*) {
    if (event != nullptr && event->type == ButtonPress && event->xbutton.button == Button1) {
        FromClient(client)->StartPaletteDrag(*event);
    }
}

void AMacroElem::ShellCrossingEventHandler(Widget, XtPointer client, XEvent* event, Boolean*) {
    if (event == nullptr || (event->type != EnterNotify && event->type != LeaveNotify)) return;
    // Moving between the shell and its own children is no crossing of the window.
    if (event->xcrossing.detail == NotifyInferior) return;
    FromClient(client)->PointerCrossed(event->type == EnterNotify ? 1 : 0);
}

void AMacroElem::PointerCrossed(int entered) {
    if (entered) {
        ShowFrame();
    } else {
        HideFrame();
    }
}

void AMacroElem::FollowPointer() {
    if (macroShell == nullptr || !XtIsRealized(macroShell)) return;
    Display* display = XtDisplay(macroShell);
    const Window root = RootWindowOfScreen(XtScreen(macroShell));
    Window pointerRoot = 0, top = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display, root, &pointerRoot, &top, &rootX, &rootY, &x, &y, &mask)) return;
    // The pointer is in the window when the top-level window under it holds the shell (a window
    // manager's frame does).
    bool inside = false;
    for (Window w = XtWindow(macroShell); w != 0 && w != root && top != 0 && !inside;) {
        inside = w == top;
        Window treeRoot = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, w, &treeRoot, &parent, &children, &count)) break;
        if (children != nullptr) XFree(children);
        w = parent;
    }
    PointerCrossed(inside ? 1 : 0);
}

void AMacroElem::StartPaletteDrag(XEvent& event) {
    if (paletteArea == nullptr || GetDragContext() != nullptr) return;
    const XButtonEvent& press = event.xbutton;
    AElement* port = nullptr;
    for (int i = 0; i < palette.GetCount() && port == nullptr; i++) {
        if (palette[i]->Contains(press.x, press.y)) port = palette[i];
    }
    if (port == nullptr) return;
    DragContext* context = NewDragContext();
    context->kind = kDragCopy;
    context->source = this;
    context->destination = this;
    context->startX = press.x;
    context->startY = press.y;
    context->elements->Add(AElement::Clone(*port));
    StartDrag(paletteArea, &event, *context, GetElementTargetAtom(), press.x, press.y, 1);
}
