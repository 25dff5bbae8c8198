#pragma once

// The MACRO element: a whole sub-architecture packed into one element. It is an architecture
// window (window kind 2: the element and connection lists are the sub-architecture, edited in the
// macro window) and an element (placed, wired, saved and simulated like any other) at once. Its
// inputs and outputs are the MACRO_INPUT and MACRO_OUTPUT ports inside it: the port with number
// k stands for the macro's input or output k. It owns every element and connection of the
// sub-architecture, the two port lists (not their elements), and, while its window is open, the
// window's widgets, the two palette ports, the popup menus and the connection-end element.
//
// Invariants outside an edit: the input count equals the number of macro inputs and the output
// count that of macro outputs; input plane k has the size of output plane 0 of macro input k,
// output plane k that of input plane 0 of macro output k.
//
// The macro window is this element's modify window: "Modify ..." opens it, "Close", the window
// manager and the element's destruction close it. While it is closed the macro has no widgets,
// and nothing inside refers to a window.

#include <X11/Intrinsic.h>

#include <iosfwd>

#include "model/data/PtrArray.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/elements/MacroHost.h"
#include "shell/ArchitectureWindow.h"

class AMacroInputElem;
class AMacroOutputElem;

class AMacroElem : public ArchitectureWindow, public AElement, public MacroHost {
public:
    static const int kDefaultInputs = 0;
    static const int kDefaultOutputs = 0;
    // The deepest nesting of MACRO blocks a read takes (the outermost counts); a deeper one is
    // refused with 5 "Number out of range" and the token "MACRO".
    static const int kMaxNesting = 1000;

    // An empty sub-architecture, no pins, window closed.
    AMacroElem(Architecture* owner, int x, int y);
    // A deep copy of the sub-architecture and of the element; window closed; the copied ports
    // are collected and sorted by number.
    AMacroElem(const AMacroElem& other);
    AMacroElem& operator=(const AMacroElem&) = delete;
    // Closes the window, deletes every element and connection inside, then the element part.
    ~AMacroElem() override;

    // The architecture-window part.
    Widget GetShell() override { return macroShell; }
    int IsMacro() const override { return 1; }

    // The element block of both file-object parts: the header and a LOGICAL_DATA block holding
    // the sub-architecture's body one level deeper. A read goes into a fresh macro first and is
    // taken over only when it succeeded, so that a failed read leaves this one as it was. Reading
    // checks the ports against the header: 30, 31 for counts, 28, 29 for plane sizes.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;

    // The element part.
    void OpenModifyWindow() override;
    void CloseModifyWindow() override;
    // Hands input plane k to macro input k, which records the time; then the base tail.
    void Simulate() override;
    // Resets every element inside (clocked ones are scheduled at their offsets).
    void ResetData() override;
    // Schedules the unclocked elements fed by the macro inputs; never itself.
    int Propagate() override;
    // The element's own flag or the sub-architecture's.
    int IsModified() override;
    void SetModified() { AElement::SetModified(); }
    // Both flags, and those of every element inside.
    void ClearModified() override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override { return StockIconWidth(kMacro, kDefaultInputs, kDefaultOutputs); }
    int GetIconHeight() override {
        return StockIconHeight(kMacro, kDefaultInputs, kDefaultOutputs);
    }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(kMacro, kDefaultInputs, kDefaultOutputs);
    }
    AElement* Copy() const override { return new AMacroElem(*this); }

    // The ports' host.
    AElement& GetMacroElement() override { return *this; }
    // Refreshes the macro's show-data windows.
    void OutputChanged(int index) override;

    // A copied port dropped into the macro window: accepted (1) only when its number is the next
    // free one and the macro element can grow by one pin without overlapping a neighbour; the
    // new pin's plane takes the port's size. 0: the drop discards the port.
    int AddMacroInput(AElement* element);
    int AddMacroOutput(AElement* element);
    // Before the listed elements of the macro window are deleted: the macro loses the pins of
    // the ports among them, the others are renumbered, and the icon and the palette follow.
    void RemoveMacroIO(PtrArray<AElement>& removed) override;

    // Builds and shows the window's widgets and palette, the view centred.
    void CreateMacroWindow();
    // The two palette ports draw themselves.
    void DrawPalette();

    // Callbacks; client data is the macro as an ArchitectureWindow.
    static void CloseCallback(Widget widget, XtPointer client, XtPointer call);
    static void PaletteExposeCallback(Widget widget, XtPointer client, XtPointer call);
    static void PaletteDragStart(Widget widget, XtPointer client, XEvent* event, Boolean* go);
    static void ShellCrossingEventHandler(Widget widget, XtPointer client, XEvent* event,
                                          Boolean* go);
    // The shell was destroyed by its parent's destruction: the window closes without it.
    static void ShellDestroyedCallback(Widget widget, XtPointer client, XtPointer call);

    // Button 1 on a palette port starts a copy drag of a clone of it.
    void StartPaletteDrag(XEvent& event);
    // The pointer entered (1) or left (0) the macro window: the frame around the macro element in
    // the window that holds it shows which element the window edits.
    void PointerCrossed(int entered);
    // A drag holds the pointer, so the window sees no crossing while it lasts: when it ends, the
    // frame follows where the pointer is then.
    void FollowPointer();

    PtrArray<AMacroInputElem>& GetMacroInputs() { return macroInputs; }
    PtrArray<AMacroOutputElem>& GetMacroOutputs() { return macroOutputs; }
    AMacroInputElem* GetPaletteInput() const { return paletteInput; }
    AMacroOutputElem* GetPaletteOutput() const { return paletteOutput; }
    PtrArray<AElement>& GetPalette() { return palette; }
    Widget GetPaletteArea() const { return paletteArea; }

private:
    // Appends every port of the sub-architecture to its list, each list sorted by number.
    void CollectPorts();
    // The header's counts and plane sizes against the ports; 0 or the recorded code.
    int CheckPorts(std::istream& in) const;
    // A file may number ports twice or leave gaps (the reader only bounds the numbers): each
    // port takes its place in its list, as the pins and planes it stands for are counted, so
    // that what is saved later loads again.
    void NumberPortsByPlace();
    // Deletes every element and connection inside.
    void DeleteContents();
    // This macro's contents become those read into the fresh one, which is left empty.
    void TakeContents(AMacroElem& read);
    // Elements and connections inside are bound to the working area (none while closed).
    void BindContents();
    // The palette shows the numbers the next dropped ports get.
    void UpdatePaletteNumbers();
    void FreeWindowResources();
    // What closing the window does; the shell is destroyed only when it is not gone already.
    void TearDownWindow(int destroyShell);
    // The toolkit destroys the widgets only once the event being dispatched is done: until then
    // nothing they still get may reach this macro, which may be gone by then.
    void DetachWindowCallbacks();
    void ShellDestroyed();

    AMacroInputElem* paletteInput;           // only while the window is open
    AMacroOutputElem* paletteOutput;         // likewise
    PtrArray<AElement> palette;              // the two above
    PtrArray<AMacroInputElem> macroInputs;   // ordered by number: entry k has number k
    PtrArray<AMacroOutputElem> macroOutputs; // likewise
    Widget macroShell;                       // "MACRO"; null while closed
    Widget paletteArea;                      // "footer_drawarea"
};
