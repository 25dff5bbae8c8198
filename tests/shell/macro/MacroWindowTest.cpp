// The macro window of a MACRO element on a real main window: its widgets and menus, the port
// palette and its drops, Close from the menu and from the window manager, the working-area
// options it opens, the frame it draws around its element, and its teardown with the element.

// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/AMacroElem.h"

#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <cstdlib>
#include <string>

#include "model/elements/AHelpElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ElementType.h"
#include "shell/MenuCommand.h"
#include "shell/OverviewWindow.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "tests/shell/macro/MacroGui.h"
#include "tests/support/screenshot/Screenshot.h"

namespace {

// A macro on the main working area with its window open and shown.
class MacroWindowFixture : public MacroFixture {
protected:
    AMacroElem* OpenMacro(int x = 300, int y = 150) {
        AMacroElem* macro = PlaceMacro(x, y);
        macro->OpenModifyWindow();
        EXPECT_TRUE(ProcessUntil([macro] { return IsShown(macro->GetCadArea()); }));
        Process(100);
        return macro;
    }
    // The widget below the macro shell, by its resource path ("*cad_area").
    Widget Find(AMacroElem& macro, const char* path) {
        return macro.GetShell() != nullptr ? XtNameToWidget(macro.GetShell(), path) : nullptr;
    }
    // Activates a push entry of the macro window's menu bar as a click on it would.
    void Choose(AMacroElem& macro, const char* entry) {
        const std::string path = std::string("*MenuBar*") + entry;
        Widget button = Find(macro, path.c_str());
        ASSERT_NE(button, nullptr) << entry;
        XtCallCallbacks(button, XmNactivateCallback, nullptr);
    }
    // Drops a copy of a palette port at (x, y) of the window as the palette's drag and the
    // working area's drop procedure do; dropping elsewhere names another window.
    void DropPaletteCopy(AMacroElem& macro, AElement& port, ArchitectureWindow& into, int x,
                         int y) {
        DragContext* context = NewDragContext();
        context->kind = kDragCopy;
        context->source = &macro;
        context->destination = &macro;
        context->startX = port.GetX() + 5;
        context->startY = port.GetY() + 5;
        AElement* clone = AElement::Clone(port);
        clone->SetGrabOffset(context->startX, context->startY);
        context->elements->Add(clone);
        if (AcceptAreaDrop(*context, into, x, y)) TransferToArea(*context, {&into, x, y});
        FinishDrag(*context);
        FreeDragContext();
    }
    XCrossingEvent Crossing(AMacroElem& macro, int type, int detail) {
        XCrossingEvent event = {};
        event.type = type;
        event.display = XtDisplay(macro.GetShell());
        event.window = XtWindow(macro.GetShell());
        event.detail = detail;
        return event;
    }
};

using MacroWindow = MacroWindowFixture;

// The action button of a dialog with the label.
Widget ActionButton(Widget shell, const char* label) {
    Widget area = XtNameToWidget(shell, "*action_area");
    if (area == nullptr) return nullptr;
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(area, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; i++) {
        XmString string = nullptr;
        XtVaGetValues(children[i], XmNlabelString, &string, nullptr);
        char* text = nullptr;
        const bool same =
            string != nullptr &&
            XmStringGetLtoR(string, const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &text) &&
            text != nullptr && std::string(text) == label;
        if (text != nullptr) XtFree(text);
        if (string != nullptr) XmStringFree(string);
        if (same) return children[i];
    }
    return nullptr;
}

int ToggleState(Widget toggle) {
    Boolean set = False;
    XtVaGetValues(toggle, XmNset, &set, nullptr);
    return set ? 1 : 0;
}

} // namespace

TEST_F(MacroWindow, FramesHangTheWorkingAreaBetweenTheBarsAndTheFooter) {
    AMacroElem* macro = OpenMacro();
    struct Case {
        ArchitectureWindow* window;
        const char* above; // the bar the working area hangs below
        Widget right;      // the footer's right-hand widget
    };
    const Case cases[] = {
        {&main(), "footer_rowcol", main().GetStatusLabel()}, // the tool bar
        {macro, "MenuBar", macro->GetPaletteArea()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.above);
        Widget form = c.window->GetForm();
        Widget scrolled = XtNameToWidget(form, "ScrolledWindow");
        ASSERT_NE(scrolled, nullptr);
        Widget top = nullptr, bottom = nullptr;
        XtVaGetValues(scrolled, XmNtopWidget, &top, XmNbottomWidget, &bottom, nullptr);
        ASSERT_NE(top, nullptr);
        EXPECT_STREQ(XtName(top), c.above);
        EXPECT_EQ(XtNameToWidget(form, c.above), top); // the first child of that name
        EXPECT_NE(top, bottom);
        ASSERT_NE(bottom, nullptr);
        EXPECT_EQ(XtParent(XtParent(XtParent(c.right))), bottom); // footer, frame, form
        Widget separator = XtNameToWidget(bottom, "*footer_separator");
        Widget right = nullptr;
        XtVaGetValues(separator, XmNrightWidget, &right, nullptr);
        EXPECT_EQ(right, c.right);
        EXPECT_EQ(XtParent(XtParent(c.window->GetCadArea())), scrolled); // through the clip
    }
}

TEST_F(MacroWindow, OpensWithItsWidgetsMenusAndAPaletteOfTheNextPorts) {
    AMacroElem* macro = OpenMacro();
    Widget shell = macro->GetShell();
    ASSERT_NE(shell, nullptr);
    EXPECT_STREQ(XtName(shell), "MACRO");
    EXPECT_EQ(XtParent(shell), main().GetShell());
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Modify - Macro");
    EXPECT_STREQ(macro->GetTitle(), "Modify Macro");
    EXPECT_EQ(macro->GetWindowKind(), kMacroWindowKind);
    EXPECT_EQ(Find(*macro, "*ScrolledWindow*cad_area"), macro->GetCadArea());
    Widget palette = Find(*macro, "*footer_rowcol*FooterFrame*footer_form*footer_drawarea");
    ASSERT_EQ(palette, macro->GetPaletteArea());
    Dimension width = 0, height = 0;
    XtVaGetValues(palette, XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 63); // two 25-pixel ports and 13
    EXPECT_EQ(height, 25);
    EXPECT_NE(Find(*macro, "*footer_label_l"), nullptr);
    EXPECT_NE(Find(*macro, "*footer_separator"), nullptr);
    Dimension areaWidth = 0, areaHeight = 0;
    XtVaGetValues(macro->GetCadArea(), XmNwidth, &areaWidth, XmNheight, &areaHeight, nullptr);
    EXPECT_EQ(areaWidth, 1500);
    EXPECT_EQ(areaHeight, 1000);
    for (const char* entry : {"Import Architecture", "Export Architecture", "Close", "Delete",
                              "Overview", "Grid", "Working Area"}) {
        EXPECT_NE(Find(*macro, (std::string("*MenuBar*") + entry).c_str()), nullptr) << entry;
    }
    EXPECT_EQ(ToggleState(macro->GetCommandMenuToggle(kCommandGrid)), 1);
    EXPECT_EQ(ToggleState(macro->GetCommandMenuToggle(kCommandOverview)), 0);

    // The palette shows the numbers the next ports get, at its two places.
    ASSERT_NE(macro->GetPaletteInput(), nullptr);
    EXPECT_EQ(macro->GetPaletteInput()->GetNumber(), 0);
    EXPECT_EQ(macro->GetPaletteOutput()->GetNumber(), 0);
    EXPECT_EQ(macro->GetPaletteInput()->GetX(), 4);
    EXPECT_EQ(macro->GetPaletteOutput()->GetX(), 33);
    EXPECT_EQ(macro->GetPaletteOutput()->GetY(), 3);
    EXPECT_EQ(macro->GetPaletteInput()->GetWindow(), XtWindow(palette));

    // Popup menus for every type but HELP_ELEMENT; only "Working Area..." in the background one.
    for (int type = 0; type <= static_cast<int>(kMacroOutput); type++)
        EXPECT_NE(macro->GetPopupMenus().ForType(type), nullptr) << type;
    Widget options = macro->GetPopupMenus().background;
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(XtIsSensitive(XtNameToWidget(options, "button_0")));
    EXPECT_FALSE(XtIsSensitive(XtNameToWidget(options, "button_1")));
    EXPECT_FALSE(XtIsSensitive(XtNameToWidget(options, "button_2")));
    ASSERT_NE(macro->GetConnectionEnd(), nullptr);
    EXPECT_EQ(macro->GetConnectionEnd()->GetOwner(), static_cast<Architecture*>(macro));

    // Opening it again does nothing.
    macro->OpenModifyWindow();
    EXPECT_EQ(macro->GetShell(), shell);
    Choose(*macro, "Close");
}

TEST_F(MacroWindow, APaletteDropAddsTheNextPortAndOnlyThat) {
    AMacroElem* macro = OpenMacro();
    AMacroInputElem* paletteInput = macro->GetPaletteInput();
    AMacroOutputElem* paletteOutput = macro->GetPaletteOutput();
    DropPaletteCopy(*macro, *paletteInput, *macro, 100, 100);
    ASSERT_EQ(macro->GetMacroInputs().GetCount(), 1);
    AMacroInputElem* first = macro->GetMacroInputs()[0];
    EXPECT_EQ(macro->GetElements().Find(first), 0);
    EXPECT_EQ(first->GetOwner(), static_cast<Architecture*>(macro));
    EXPECT_EQ(first->GetWindow(), XtWindow(macro->GetCadArea()));
    EXPECT_EQ(first->GetNumber(), 0);
    EXPECT_EQ(paletteInput->GetNumber(), 1);
    EXPECT_EQ(macro->GetInputCount(), 1);

    // A port whose number is no longer the next free one is discarded.
    AElement* stale = AElement::Clone(*paletteInput);
    DropPaletteCopy(*macro, *paletteInput, *macro, 100, 200);
    EXPECT_EQ(macro->GetMacroInputs().GetCount(), 2);
    DragContext* context = NewDragContext();
    context->kind = kDragCopy;
    context->source = context->destination = macro;
    stale->SetGrabOffset(stale->GetX() + 5, stale->GetY() + 5);
    context->elements->Add(stale);
    ASSERT_TRUE(AcceptAreaDrop(*context, *macro, 100, 300));
    TransferToArea(*context, {macro, 100, 300});
    EXPECT_EQ(context->elements->GetCount(), 0);
    FinishDrag(*context);
    FreeDragContext();
    EXPECT_EQ(macro->GetMacroInputs().GetCount(), 2);
    EXPECT_EQ(macro->GetElements().GetCount(), 2);
    EXPECT_EQ(paletteInput->GetNumber(), 2);

    // Into the main window a port goes nowhere.
    DropPaletteCopy(*macro, *paletteOutput, main(), 600, 600);
    EXPECT_EQ(main().GetElements().GetCount(), 1);
    EXPECT_EQ(macro->GetOutputCount(), 0);
    DropPaletteCopy(*macro, *paletteOutput, *macro, 300, 100);
    EXPECT_EQ(macro->GetOutputCount(), 1);
    EXPECT_EQ(paletteOutput->GetNumber(), 1);
    EXPECT_EQ(macro->GetHeight(), 45);
    EXPECT_EQ(macro->IsModified(), 1);
    Choose(*macro, "Close");
}

TEST_F(MacroWindow, APortDraggedFromThePaletteWithThePointerIsAdded) {
    if (std::system("xdotool version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
    AMacroElem* macro = OpenMacro();
    Widget palette = macro->GetPaletteArea();
    Widget area = macro->GetCadArea();
    Window child;
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    Display* display = XtDisplay(area);
    const Window root = DefaultRootWindow(display);
    XTranslateCoordinates(display, XtWindow(palette), root, macro->GetPaletteInput()->GetX() + 8,
                          macro->GetPaletteInput()->GetY() + 8, &fromX, &fromY, &child);
    int x1, y1, x2, y2;
    macro->GetVisibleRect(x1, y1, x2, y2);
    XTranslateCoordinates(display, XtWindow(area), root, x1 + 100, y1 + 100, &toX, &toY, &child);
    const std::string drag =
        "xdotool mousemove " + std::to_string(fromX) + " " + std::to_string(fromY) +
        " sleep 0.3 mousedown 1 sleep 0.3 " + "mousemove " + std::to_string(fromX + 10) + " " +
        std::to_string(fromY - 10) + " sleep 0.3 mousemove " + std::to_string(toX) + " " +
        std::to_string(toY) + " sleep 0.3 mouseup 1 &";
    ASSERT_EQ(std::system(drag.c_str()), 0);
    EXPECT_TRUE(ProcessUntil([macro] { return macro->GetMacroInputs().GetCount() == 1; }, 8000));
    Process(300);
    EXPECT_EQ(GetDragContext(), nullptr);
    EXPECT_EQ(macro->GetPaletteInput()->GetNumber(), 1);
    EXPECT_EQ(macro->GetInputCount(), 1);

    // Macro > Close clicked with the pointer.
    Widget cascade = Find(*macro, "*MenuBar.Macro");
    ASSERT_NE(cascade, nullptr);
    int mx = 0, my = 0;
    XTranslateCoordinates(display, XtWindow(cascade), root, 10, 8, &mx, &my, &child);
    const std::string open =
        "xdotool mousemove " + std::to_string(mx) + " " + std::to_string(my) + " click 1 &";
    ASSERT_EQ(std::system(open.c_str()), 0);
    Widget close = Find(*macro, "*MenuBar*Close");
    ASSERT_NE(close, nullptr);
    ASSERT_TRUE(ProcessUntil([close] { return IsShown(XtParent(close)); }, 5000));
    Process(200);
    int cx = 0, cy = 0;
    Position gx = 0, gy = 0;
    XtVaGetValues(close, XmNx, &gx, XmNy, &gy, nullptr);
    XTranslateCoordinates(display, XtWindow(XtParent(close)), root, gx + 10, gy + 5, &cx, &cy,
                          &child);
    const std::string click =
        "xdotool mousemove " + std::to_string(cx) + " " + std::to_string(cy) + " click 1 &";
    ASSERT_EQ(std::system(click.c_str()), 0);
    EXPECT_TRUE(ProcessUntil([macro] { return macro->GetShell() == nullptr; }, 5000));
    Process(200);
    EXPECT_EQ(macro->GetElements().GetCount(), 1);
}

// A port dragged out of the macro window and dropped on the main working area: the drag held the
// pointer, so the window saw no leaving, yet the frame around the macro goes with the drop.
TEST_F(MacroWindow, APortDraggedOutOfTheWindowTakesTheFrameAway) {
    if (std::system("xdotool version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
    AMacroElem* macro = OpenMacro();
    Display* display = XtDisplay(macro->GetShell());
    const Window root = DefaultRootWindow(display);
    Window child;
    int fromX = 0, fromY = 0;
    XTranslateCoordinates(display, XtWindow(macro->GetPaletteArea()), root,
                          macro->GetPaletteInput()->GetX() + 8,
                          macro->GetPaletteInput()->GetY() + 8, &fromX, &fromY, &child);
    // A point of the main working area that the macro window does not cover.
    int shellX = 0, shellY = 0;
    XTranslateCoordinates(display, XtWindow(macro->GetShell()), root, 0, 0, &shellX, &shellY,
                          &child);
    Dimension shellWidth = 0, shellHeight = 0;
    XtVaGetValues(macro->GetShell(), XmNwidth, &shellWidth, XmNheight, &shellHeight, nullptr);
    int x1, y1, x2, y2;
    main().GetVisibleRect(x1, y1, x2, y2);
    int toX = -1, toY = -1;
    for (int corner = 0; corner < 4 && toX < 0; corner++) {
        int x = 0, y = 0;
        XTranslateCoordinates(display, XtWindow(main().GetCadArea()), root,
                              corner % 2 == 0 ? x1 + 30 : x2 - 30,
                              corner / 2 == 0 ? y1 + 30 : y2 - 30, &x, &y, &child);
        const bool covered =
            x >= shellX && x < shellX + shellWidth && y >= shellY && y < shellY + shellHeight;
        if (!covered) {
            toX = x;
            toY = y;
        }
    }
    ASSERT_GE(toX, 0) << "the macro window covers the main working area";

    const std::string enter = "xdotool mousemove " + std::to_string(fromX) + " " +
                              std::to_string(fromY) + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(enter.c_str()), 0);
    ASSERT_TRUE(ProcessUntil([macro] { return macro->IsFrameShown() == 1; }));
    const std::string drag = "xdotool mousedown 1 sleep 0.3 mousemove " +
                             std::to_string(fromX + 10) + " " + std::to_string(fromY - 10) +
                             " sleep 0.3 mousemove " + std::to_string(toX) + " " +
                             std::to_string(toY) + " sleep 0.3 mouseup 1 > /dev/null 2>&1 &";
    ASSERT_EQ(std::system(drag.c_str()), 0);
    ASSERT_TRUE(ProcessUntil([] { return GetDragContext() != nullptr; }, 5000));
    EXPECT_TRUE(ProcessUntil([] { return GetDragContext() == nullptr; }, 8000));
    Process(300);
    EXPECT_EQ(macro->IsFrameShown(), 0);
    EXPECT_EQ(macro->GetMacroInputs().GetCount(), 0); // dropped elsewhere: discarded
    EXPECT_EQ(main().GetElements().GetCount(), 1);
}

TEST_F(MacroWindow, CloseClosesTheWindowsInsideAndKeepsTheSubArchitecture) {
    AMacroElem* macro = OpenMacro();
    AMacroInputElem* in = AddInput(*macro, 30, 45);
    AElement* mask = Place(*macro, "MASK", 120, 45);
    AMacroOutputElem* out = AddOutput(*macro, 240, 45);
    Connect(*macro, in, 3, mask, 2);
    Connect(*macro, mask, 3, out, 2);
    mask->OpenShowDataWindow(0);
    mask->OpenModifyWindow();
    in->OpenSetNameDialog();
    auto* logic = static_cast<ALogicElem*>(Place(*macro, "LOGIC", 120, 150));
    logic->GetData().SetExternalNames({"ext0"});
    logic->OpenExternalDataWindow();
    auto* perm = static_cast<APermElem*>(Place(*macro, "PERM", 240, 150));
    perm->OpenDimensionDialog();
    Choose(*macro, "Working Area");
    macro->ToggleOverview();
    Process(200);
    ASSERT_NE(logic->GetExternalDataWindow(), nullptr);
    ASSERT_NE(perm->GetPermDimensionDialog(), nullptr);
    ASSERT_NE(mask->GetShowDataWindow(0), nullptr);
    ASSERT_NE(mask->GetModifyWindow(), nullptr);
    ASSERT_NE(macro->GetWorkingAreaOptionsDialog(), nullptr);
    ASSERT_NE(macro->GetOverview(), nullptr);
    EXPECT_EQ(ToggleState(macro->GetCommandMenuToggle(kCommandOverview)), 1);

    Choose(*macro, "Close");
    Process(100);
    EXPECT_EQ(macro->GetShell(), nullptr);
    EXPECT_EQ(macro->GetCadArea(), nullptr);
    EXPECT_EQ(macro->GetPaletteInput(), nullptr);
    EXPECT_EQ(macro->GetConnectionEnd(), nullptr);
    EXPECT_EQ(macro->GetPopupMenus().background, nullptr);
    EXPECT_EQ(macro->GetCommandMenuToggle(kCommandGrid), nullptr);
    EXPECT_EQ(mask->GetShowDataWindow(0), nullptr);
    EXPECT_EQ(mask->GetModifyWindow(), nullptr);
    EXPECT_EQ(in->GetSetNameDialog(), nullptr);
    EXPECT_EQ(macro->GetWorkingAreaOptionsDialog(), nullptr);
    EXPECT_EQ(macro->GetOverview(), nullptr);
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    // Everything inside stays, drawing nowhere.
    macro->GetElements().Remove(logic);
    macro->GetElements().Remove(perm);
    delete logic;
    delete perm;
    ASSERT_EQ(macro->GetElements().GetCount(), 3);
    EXPECT_EQ(macro->GetConnections().GetCount(), 2);
    EXPECT_EQ(macro->GetMacroInputs()[0], in);
    EXPECT_EQ(mask->GetWindow(), 0u);
    EXPECT_EQ(macro->GetConnections()[0]->IsDrawn(), 0);
    EXPECT_EQ(macro->IsFrameShown(), 0);

    // Opened again it shows the same sub-architecture on the new working area.
    macro->OpenModifyWindow();
    ASSERT_TRUE(ProcessUntil([macro] { return IsShown(macro->GetCadArea()); }));
    EXPECT_EQ(mask->GetWindow(), XtWindow(macro->GetCadArea()));
    EXPECT_EQ(macro->GetPaletteInput()->GetNumber(), 1);
    EXPECT_EQ(macro->GetPaletteOutput()->GetNumber(), 1);
    // The window manager's close closes it as well.
    AMacroElem::CloseCallback(macro->GetShell(), static_cast<ArchitectureWindow*>(macro), nullptr);
    Process(100);
    EXPECT_EQ(macro->GetShell(), nullptr);
    EXPECT_EQ(macro->GetElements().GetCount(), 3);
}

TEST_F(MacroWindow, WorkingAreaOptionsApplyToTheMacroOnOkAndNotOnCancel) {
    AMacroElem* macro = OpenMacro();
    Choose(*macro, "Working Area");
    WorkingAreaOptionsDialog* dialog = macro->GetWorkingAreaOptionsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(XtParent(dialog->GetShell()), macro->GetShell());
    // A second request while it is open opens nothing.
    Choose(*macro, "Working Area");
    EXPECT_EQ(macro->GetWorkingAreaOptionsDialog(), dialog);
    XmToggleButtonSetState(dialog->GetGridToggle(), False, True);
    Widget cancel = ActionButton(dialog->GetShell(), "Cancel");
    ASSERT_NE(cancel, nullptr);
    XtCallCallbacks(cancel, XmNactivateCallback, nullptr);
    Process(100);
    EXPECT_EQ(macro->GetWorkingAreaOptionsDialog(), nullptr);
    EXPECT_EQ(macro->GetGridVisible(), 1);

    Choose(*macro, "Working Area");
    dialog = macro->GetWorkingAreaOptionsDialog();
    ASSERT_NE(dialog, nullptr);
    XmToggleButtonSetState(dialog->GetGridToggle(), False, True);
    Widget ok = ActionButton(dialog->GetShell(), "OK");
    ASSERT_NE(ok, nullptr);
    XtCallCallbacks(ok, XmNactivateCallback, nullptr);
    Process(100);
    EXPECT_EQ(macro->GetWorkingAreaOptionsDialog(), nullptr);
    EXPECT_EQ(macro->GetGridVisible(), 0);
    EXPECT_EQ(ToggleState(macro->GetCommandMenuToggle(kCommandGrid)), 0);
    EXPECT_EQ(main().GetGridVisible(), 1);
    Choose(*macro, "Close");
}

TEST_F(MacroWindow, ANewPortPlaneSizeReachesTheMacroOnlyWhenConfirmed) {
    AMacroElem* macro = OpenMacro();
    AMacroInputElem* in = AddInput(*macro, 30, 45);
    AElement* feeder = Place(main(), "MASK", 150, 150);
    Connect(main(), feeder, 3, macro, 2);
    // Cancelled, or No to the question: nothing changes.
    AElement::DimensionDialogCallback(1, 8, 3, in);
    Answer() = kResultNo;
    AElement::DimensionDialogCallback(0, 8, 3, in);
    ASSERT_EQ(Asked().size(), 1u);
    EXPECT_EQ(Asked()[0], "Warning|All data of the element will be lost!\nContinue?");
    EXPECT_EQ(macro->GetInputPlaneWidth(0), 4);
    EXPECT_NE(macro->GetInputConnection(0), nullptr);
    // Yes: the port and the macro's input take the size; the wire outside no longer fits.
    Answer() = kResultYes;
    AElement::DimensionDialogCallback(0, 8, 3, in);
    EXPECT_EQ(in->GetOutputPlaneWidth(0), 8);
    EXPECT_EQ(macro->GetInputPlaneWidth(0), 8);
    EXPECT_EQ(macro->GetInputPlaneHeight(0), 3);
    EXPECT_EQ(macro->GetInputConnection(0), nullptr);
    EXPECT_EQ(main().GetConnections().GetCount(), 0);
    Choose(*macro, "Close");
}

TEST_F(MacroWindow, DeleteFromTheMenuTakesThePortsPinAndTheNextNumber) {
    AMacroElem* macro = OpenMacro();
    AMacroInputElem* first = AddInput(*macro, 30, 45);
    AMacroInputElem* second = AddInput(*macro, 30, 90);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(macro->GetPaletteInput()->GetNumber(), 2);
    macro->GetSelection().Add(first);
    Choose(*macro, "Delete");
    EXPECT_EQ(macro->GetInputCount(), 1);
    EXPECT_EQ(second->GetNumber(), 0);
    EXPECT_EQ(macro->GetPaletteInput()->GetNumber(), 1);
    EXPECT_EQ(macro->GetElements().GetCount(), 1);
    Choose(*macro, "Close");
}

TEST_F(MacroWindow, ThePointerInTheWindowFramesItsElement) {
    AMacroElem* macro = OpenMacro();
    XCrossingEvent enter = Crossing(*macro, EnterNotify, NotifyVirtual);
    XCrossingEvent leave = Crossing(*macro, LeaveNotify, NotifyVirtual);
    XCrossingEvent inside = Crossing(*macro, LeaveNotify, NotifyInferior);
    Boolean go = True;
    XtPointer client = static_cast<ArchitectureWindow*>(macro);
    AMacroElem::ShellCrossingEventHandler(macro->GetShell(), client,
                                          reinterpret_cast<XEvent*>(&enter), &go);
    EXPECT_EQ(macro->IsFrameShown(), 1);
    AMacroElem::ShellCrossingEventHandler(macro->GetShell(), client,
                                          reinterpret_cast<XEvent*>(&inside), &go);
    EXPECT_EQ(macro->IsFrameShown(), 1);
    AMacroElem::ShellCrossingEventHandler(macro->GetShell(), client,
                                          reinterpret_cast<XEvent*>(&leave), &go);
    EXPECT_EQ(macro->IsFrameShown(), 0);
    AMacroElem::ShellCrossingEventHandler(macro->GetShell(), client,
                                          reinterpret_cast<XEvent*>(&enter), &go);
    // Closing erases the frame.
    Choose(*macro, "Close");
    EXPECT_EQ(macro->IsFrameShown(), 0);
}

TEST_F(MacroWindow, DeletingAMacroTakesItsWindowsAndEverythingInside) {
    AMacroElem* outer = OpenMacro();
    AMacroInputElem* in = AddInput(*outer, 30, 45);
    auto* inner = new AMacroElem(outer, 120, 45);
    inner->SetOwner(outer);
    outer->GetElements().Add(inner);
    AMacroInputElem* innerIn = AddInput(*inner, 30, 45);
    ASSERT_NE(innerIn, nullptr);
    Connect(*outer, in, 3, inner, 2);
    inner->OpenModifyWindow();
    ASSERT_TRUE(ProcessUntil([inner] { return IsShown(inner->GetCadArea()); }));
    EXPECT_EQ(XtParent(inner->GetShell()), outer->GetShell());
    AElement* mask = Place(*inner, "MASK", 60, 60);
    mask->OpenShowDataWindow(0);
    mask->OpenModifyWindow();
    inner->OpenShowDataWindow(0);
    Choose(*outer, "Working Area");
    outer->ToggleOverview();
    inner->ToggleOverview();
    Process(200);
    main().GetSelection().Add(outer);
    main().DeleteSelection();
    Process(200);
    EXPECT_EQ(main().GetElements().GetCount(), 0);
    EXPECT_EQ(main().GetConnections().GetCount(), 0);
}

// The toolkit destroys the widgets of a window closed during an event's dispatch only when that
// dispatch ends; events dispatched before then (a message box's own loop, an expose handled
// meanwhile) must not reach the macro that is gone.
struct DeleteDuringDispatch {
    MainWindow* main;
    AMacroElem* macro;
    int left; // callbacks of the gone window's widgets that are still there
};

void DeleteMacroInDispatch(Widget, XtPointer client, XEvent* event, Boolean*) {
    auto* job = static_cast<DeleteDuringDispatch*>(client);
    if (event->type != ClientMessage || job->macro == nullptr) return;
    Widget area = job->macro->GetCadArea();
    Widget palette = job->macro->GetPaletteArea();
    Widget shell = job->macro->GetShell();
    job->main->GetSelection().Add(job->macro);
    job->main->DeleteSelection();
    job->macro = nullptr;
    XEvent later[3] = {};
    for (XEvent& e : later) {
        e.xany.display = XtDisplay(shell);
        e.xany.send_event = True;
    }
    later[0].xexpose.type = Expose;
    later[0].xexpose.window = XtWindow(area);
    later[0].xexpose.width = later[0].xexpose.height = 100;
    later[1].xexpose.type = Expose;
    later[1].xexpose.window = XtWindow(palette);
    later[1].xexpose.width = later[1].xexpose.height = 20;
    later[2].xcrossing.type = EnterNotify;
    later[2].xcrossing.window = XtWindow(shell);
    later[2].xcrossing.detail = NotifyVirtual;
    for (Widget widget : {area, palette}) {
        if (XtHasCallbacks(widget, XmNexposeCallback) == XtCallbackHasSome) job->left++;
    }
    // Reaching the macro would read freed memory (seen by the address sanitizer).
    for (XEvent& e : later)
        XtDispatchEvent(&e);
}

TEST_F(MacroWindow, AMacroDeletedDuringAnEventIsNotCalledByWhatItsWindowStillGets) {
    AMacroElem* macro = OpenMacro();
    AddInput(*macro, 30, 45);
    DeleteDuringDispatch job = {&main(), macro, 0};
    Widget top = gui->topLevel;
    XtAddEventHandler(top, NoEventMask, True, DeleteMacroInDispatch, &job);
    XEvent message = {};
    message.xclient.type = ClientMessage;
    message.xclient.display = XtDisplay(top);
    message.xclient.window = XtWindow(top);
    message.xclient.format = 32;
    XtDispatchEvent(&message);
    XtRemoveEventHandler(top, NoEventMask, True, DeleteMacroInDispatch, &job);
    EXPECT_EQ(job.macro, nullptr);
    EXPECT_EQ(job.left, 0);
    Process(100);
    EXPECT_EQ(main().GetElements().GetCount(), 0);
}

TEST_F(MacroWindow, AMacroMovedOutOfAWindowLosesItsOwnWhenThatOneCloses) {
    // The inner macro's window hangs on the outer one's shell; the inner macro is then moved out
    // into the main window, and the outer window closes (or its macro goes) under it.
    for (bool deleteOuter : {false, true}) {
        SCOPED_TRACE(deleteOuter ? "outer deleted" : "outer closed");
        AMacroElem* outer = OpenMacro();
        auto* inner = new AMacroElem(outer, 120, 45);
        inner->SetOwner(outer);
        outer->GetElements().Add(inner);
        inner->OpenModifyWindow();
        ASSERT_TRUE(ProcessUntil([inner] { return IsShown(inner->GetCadArea()); }));
        AElement* mask = Place(*inner, "MASK", 60, 60);
        mask->OpenModifyWindow();
        inner->ToggleOverview();
        Choose(*inner, "Working Area");
        Process(100);

        DragContext* context = NewDragContext();
        context->kind = kDragMove;
        context->source = context->destination = outer;
        context->startX = 125;
        context->startY = 50;
        inner->SetGrabOffset(125, 50);
        outer->GetElements().Remove(inner);
        context->elements->Add(inner);
        ASSERT_TRUE(AcceptAreaDrop(*context, main(), 600, 600));
        TransferToArea(*context, {&main(), 600, 600});
        FinishDrag(*context);
        FreeDragContext();
        ASSERT_EQ(inner->GetOwner(), static_cast<Architecture*>(&main()));

        if (deleteOuter) {
            main().GetSelection().Add(outer);
            main().DeleteSelection();
        } else {
            Choose(*outer, "Close");
        }
        Process(100);
        EXPECT_EQ(inner->GetShell(), nullptr);
        EXPECT_EQ(inner->GetForm(), nullptr);
        EXPECT_EQ(inner->GetCadArea(), nullptr);
        EXPECT_EQ(inner->GetPaletteInput(), nullptr);
        EXPECT_EQ(inner->GetConnectionEnd(), nullptr);
        EXPECT_EQ(inner->GetOverview(), nullptr);
        EXPECT_EQ(inner->GetWorkingAreaOptionsDialog(), nullptr);
        EXPECT_EQ(mask->GetModifyWindow(), nullptr);
        EXPECT_EQ(mask->GetWindow(), 0u);
        // Opened again it hangs on the window that holds it now.
        inner->OpenModifyWindow();
        ASSERT_TRUE(ProcessUntil([inner] { return IsShown(inner->GetCadArea()); }));
        EXPECT_EQ(XtParent(inner->GetShell()), main().GetShell());
        EXPECT_EQ(mask->GetWindow(), XtWindow(inner->GetCadArea()));
        Choose(*inner, "Close");
        Reset();
    }
}

TEST_F(MacroWindow, AMacroIsNeverDroppedIntoItselfNorIntoAMacroInsideIt) {
    AMacroElem* outer = OpenMacro();
    auto* inner = new AMacroElem(outer, 700, 450);
    inner->SetOwner(outer);
    outer->GetElements().Add(inner);
    inner->OpenModifyWindow();
    ASSERT_TRUE(ProcessUntil([inner] { return IsShown(inner->GetCadArea()); }));
    struct Case {
        ArchitectureWindow* destination;
        bool copy;
        bool accepted;
    };
    // A copy is another macro, which a macro may hold.
    const Case cases[] = {{outer, false, false}, {inner, false, false}, {inner, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copy ? "copy" : "move");
        DragContext* context = NewDragContext();
        context->kind = c.copy ? kDragCopy : kDragMove;
        context->source = context->destination = &main();
        context->startX = 310;
        context->startY = 160;
        AElement* dragged = c.copy ? AElement::Clone(*outer) : outer;
        dragged->SetGrabOffset(310, 160);
        if (!c.copy) main().GetElements().Remove(outer);
        context->elements->Add(dragged);
        EXPECT_EQ(AcceptAreaDrop(*context, *c.destination, 200, 200), c.accepted ? 1 : 0);
        FinishDrag(*context);
        FreeDragContext();
        EXPECT_EQ(main().GetElements().Find(outer), 0);
        EXPECT_EQ(outer->GetX(), 300);
        EXPECT_EQ(outer->GetElements().GetCount(), 1);
        EXPECT_EQ(inner->GetElements().GetCount(), 0);
    }
    Choose(*outer, "Close");
    EXPECT_EQ(inner->GetShell(), nullptr);
}

TEST_F(MacroWindow, Screenshot) {
    AMacroElem* macro = OpenMacro(300, 150);
    AMacroInputElem* in = AddInput(*macro, 705, 450);
    AElement* mask = Place(*macro, "MASK", 780, 435);
    AMacroOutputElem* out = AddOutput(*macro, 900, 450);
    Connect(*macro, in, 3, mask, 2);
    Connect(*macro, mask, 3, out, 2);
    AddInput(*macro, 705, 510);
    // Beside the main window, whose working area shows the framed macro element.
    XMoveWindow(XtDisplay(macro->GetShell()), XtWindow(macro->GetShell()), 560, 300);
    main().ScrollTo(0, 0);
    Process(300);
    macro->Redraw(1, 0, 0, 0, 0);
    main().Redraw(1, 0, 0, 0, 0);
    macro->PointerCrossed(1);
    Process(300);
    EXPECT_TRUE(testshot::SaveScreen(XtDisplay(macro->GetShell()), "macro-window"));
    Choose(*macro, "Close");
}
