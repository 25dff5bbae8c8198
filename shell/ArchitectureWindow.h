#pragma once

// The common base of every window that shows an architecture on a working area: the main window,
// the element library window and every macro element's window. It joins the element and
// connection container with a file object and adds the working area: the drawing area
// "cad_area" in a scrolled window, with grid, selection, pin highlighting, rubber band, the
// per-window menu toggles and tool buttons, the overview hook and the footer text. It owns its
// selection and drag-connection lists (not their elements), its working-area options dialog and
// its overview window; it never owns its widgets' lifetime beyond the derived class's shell.
//
// The file body (REMARKS, OPTIONS, optional GLOBAL_ARCHITECTURE_DATA, ARCHITECTURE_ELEMENTS) is
// read and written by ReadArchitectureBody and WriteArchitectureBody (ArchitectureFile.h).

#include <X11/Intrinsic.h>

#include <iosfwd>

#include "model/data/Architecture.h"
#include "model/data/PtrArray.h"
#include "model/elements/ElementType.h"
#include "model/elements/MessageKind.h"
#include "model/format/FileKind.h"
#include "model/format/LoadSaveObject.h"
#include "shell/MenuCommand.h"
#include "shell/PopupMenus.h"

class AElement;
class AHelpElem;
class Connection;
class OverviewWindow;
class WorkingAreaOptionsDialog;

enum WindowKind : int {
    kMainWindowKind = 0,
    kLibraryWindowKind = 1,
    kMacroWindowKind = 2,
};

// The working area's size in pixels and its default grid step.
const int kAreaWidth = 1500;
const int kAreaHeight = 1000;
const int kDefaultGridStep = 15;

class ArchitectureWindow : public Architecture, public LoadSaveObject {
public:
    ArchitectureWindow();
    // A deep copy of the architecture (a macro element being copied): a fresh file object without
    // a name, the window kind and the grid options copied, no widgets; every copied element is
    // given this window as its owner.
    ArchitectureWindow(const ArchitectureWindow& source);
    ArchitectureWindow& operator=(const ArchitectureWindow&) = delete;
    ~ArchitectureWindow() override;

    // Redraws a rectangle of the working area (x2 == 0: the visible part); nothing before the
    // working area exists.
    virtual void Redraw(int clear, int x1, int y1, int x2, int y2);
    // The shell that parents the window's dialogs and its elements' windows.
    virtual Widget GetShell() = 0;
    // Whether the architecture may be cleared, clearing it when it may: 1 cleared, 0 refused. A
    // modified architecture asks first; Yes saves and refuses, so that the request that asked is
    // repeated by the user after saving.
    virtual int QueryClear();
    // The question half of QueryClear: 1 when the architecture may be cleared (not modified, or
    // the user said No), 0 when it must stay. Nothing is cleared here.
    virtual int AskClear();
    // Deletes every element, redraws and forgets the modified flag and the file name, so that a
    // later Save can never overwrite the old file with what a failed load left behind.
    virtual void Clear();

    // The file-object operations of a library-style file: the header comment and the body
    // without global data. Read also tells whether it really read (see DidRead).
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // 1 when the last Read cleared the window and read the file, 0 when it refused to be cleared
    // and read nothing; the load flow keeps the file name and title in that case.
    int DidRead() const { return didRead; }

    // The GLOBAL_ARCHITECTURE_DATA block of a body read or written with it: the main window's
    // own (MainWindow overrides these). A window that reads whole files without a display
    // overrides them to keep the block itself.
    virtual int ReadGlobalData(std::istream& in);
    virtual int WriteGlobalData(std::ostream& out, int level);

    // The frame of a window that shows a working area, built in two steps. BeginFrame makes the
    // form (width by height pixels) in the shell with the menu bar, the tool bar when tools is
    // not null, the scrolled window and the footer with its text label; the caller then makes
    // its footer's right-hand widget in parts.footerForm and hands it to FinishFrame, which makes
    // the working area "cad_area", its callbacks and contexts, attaches everything and manages
    // the form.
    struct FrameParts {
        Widget menuBar;
        Widget toolBar; // null without tools
        Widget scrolled;
        Widget footer;
        Widget footerForm;
        Widget separator;
    };
    FrameParts BeginFrame(Widget shell, Dimension width, Dimension height, const MenuRow* menu,
                          int menuCount, const ToolRow* tools, int toolCount);
    void FinishFrame(const FrameParts& parts, Widget footerRight);

    // Redraws a rectangle, widened to whole grid cells: connections erased, optionally cleared,
    // grid, elements, connections. x2 == 0 stands for the visible part.
    void RedrawArea(int clear, int x1, int y1, int x2, int y2);
    // Clears and redraws the bounding box of the elements, then updates the overview.
    void RedrawElements(const PtrArray<AElement>& list);

    void SetToggle(int code, int state);
    int ToggleGrid();
    int ToggleOverview();
    void OpenOverview();
    void CloseOverview();
    void UpdateOverview();
    void OverviewScrolled();
    // Stores the options and updates the Grid toggle; does not redraw.
    void SetGridOptions(int visible, int x, int y, int rasterizeOn);

    void GetVisibleRect(int& x1, int& y1, int& x2, int& y2);
    void ScrollTo(int x, int y);
    void CenterView();

    // Ordered corners; drawing the same rectangle twice erases it.
    void DrawRubberBand(int x1, int y1, int x2, int y2);
    // Marks (unmark 0) or unmarks (unmark 1) and draws every selected element.
    void SetSelectionMarks(int unmark);
    void DeleteSelection();

    // Opens the window's working-area options dialog unless it is open.
    void OpenWorkingAreaOptions();

    // The footer's left label; the display is flushed.
    void SetFooterText(const char* text);

    int GetWindowKind() const { return windowKind; }
    Widget GetCadArea() const { return cadArea; }
    Widget GetForm() const { return form; }
    Widget GetCommandMenuToggle(int code) const;
    Widget GetCommandToolToggle(int code) const;
    int GetGridVisible() const { return gridVisible; }
    int GetGridX() const { return gridX; }
    int GetGridY() const { return gridY; }
    int GetRasterize() const { return rasterize; }
    int GetElementListShown() const { return elementListShown; }
    int GetOverviewShown() const { return overviewShown; }
    int GetSimulationBoxShown() const { return simulationBoxShown; }
    const char* GetTitle() const { return title; }
    AHelpElem* GetConnectionEnd() const { return connectionEnd; }
    PtrArray<AElement>& GetSelection() { return selection; }
    PtrArray<Connection>& GetDragConnections() { return dragConnections; }
    WorkingAreaOptionsDialog* GetWorkingAreaOptionsDialog() const {
        return workingAreaOptionsDialog;
    }
    void SetWorkingAreaOptionsDialog(WorkingAreaOptionsDialog* dialog) {
        workingAreaOptionsDialog = dialog;
    }
    OverviewWindow* GetOverview() const { return overview; }
    PopupMenus& GetPopupMenus() { return popupMenus; }

protected:
    // Called by DeleteSelection in a macro window before the elements are deleted, so that the
    // macro element updates its pins for removed macro inputs and outputs.
    virtual void RemoveMacroIO(PtrArray<AElement>& removed) { (void)removed; }
    // The question before a modified window is cleared, over parent: Yes saves as the kind and
    // refuses, No agrees, any other answer refuses; an unmodified window agrees without asking.
    // 1 agreed. The updated widget is brought up to date afterwards (the box may have covered it).
    int AskSaveModified(Widget parent, const char* title, const char* text, FileKind kind,
                        Widget updated);
    // Replaces the owned title word.
    void SetTitleWord(const char* word);

    int windowKind;
    int areaWidth;
    int areaHeight;
    GC gridGC;
    GC rubberBandGC;
    int gridVisible; // used as a byte
    int gridX;       // pixels
    int gridY;
    int rasterize; // positions snap to the grid when dropped
    int elementListShown;
    char overviewShown;
    int simulationBoxShown;
    char* title; // owned
    Widget windowShell;
    Widget cadArea;
    Widget form;
    Widget horizontalScrollBar;
    Widget verticalScrollBar;
    Widget footerLabel;
    PopupMenus popupMenus;
    ToggleWidgets commandWidgets;
    AHelpElem* connectionEnd;
    PtrArray<AElement> selection;
    PtrArray<Connection> dragConnections;
    WorkingAreaOptionsDialog* workingAreaOptionsDialog;
    OverviewWindow* overview;
    int didRead;
};
