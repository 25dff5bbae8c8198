#pragma once

// The element library window "ElementList" (title "Elements"): where new elements come from and
// where finished ones are stored. Its palette shows one stock element of each type from MASK to
// MACRO; its library area is a column of elements the user dropped there or loaded from a
// library file (*.lib). Dragging with button 1 from either area drags a copy. The library is an
// architecture window of kind 1 whose element list is the column (kept in column order); its
// drawing widget is the library area "draw_makro". It owns the palette elements, the shell and
// the two popup menus; the main window owns it.

#include <X11/Intrinsic.h>

#include <iosfwd>

#include "model/data/PtrArray.h"
#include "shell/ArchitectureWindow.h"

class AElement;
class MainWindow;

class LibraryWindow : public ArchitectureWindow {
public:
    // Builds the shell (hidden), the menu bar, both areas, the palette, the popup menus and the
    // drop site.
    explicit LibraryWindow(MainWindow* owner);
    ~LibraryWindow() override;

    // Both areas; the rectangle is not used.
    void Redraw(int clear, int x1, int y1, int x2, int y2) override;
    Widget GetShell() override { return shell; }
    // "Library has been modified!\nDo you want to save it ?" (title "Library"): Yes saves and
    // refuses, No agrees, Cancel refuses; an unmodified library agrees.
    int AskClear() override;
    // Asks, then reads the body and stacks the elements read by their positions. Reading
    // nothing after a refusal is reported through DidRead.
    int Read(std::istream& in, FileArgument* target) override;

    void Show();
    // Also closes the modify window of every library element.
    void Hide();
    int IsShown() const { return shown; }

    // Closes the element's windows and puts it into the column by its y; 1.
    int AddToLibrary(AElement* element);
    // Deletes the element and closes the gap; the others keep their order.
    void RemoveFromLibrary(AElement* element);

    void CreatePalette();
    void DeletePalette();
    // New palette elements for a new default plane size.
    void RebuildPalette();
    // A new element of the stock element's type, as a drag from the palette takes it.
    static AElement* TakeFromPalette(AElement& stock);
    // Every palette element's TIME becomes its type's default time.
    void ApplyDefaultTimes();
    // The library area becomes at least width by height and covers every element + 10.
    void ResizeArea(int width, int height);
    // Nothing while hidden; attaches the elements to their areas on the first call.
    void RedrawContents(int clear);

    Widget GetPaletteArea() const { return paletteArea; }
    Widget GetElementPopup() const { return elementPopup; }
    Widget GetLibraryPopup() const { return libraryPopup; }
    PtrArray<AElement>& GetPalette() { return palette; }

    // The input of both areas (button presses and motion); client data is the window.
    void HandleAreaEvent(Widget area, XEvent& event);

private:
    void CreateWidgets();
    void CreatePopupMenus();
    void ResizeToContents();
    void AttachAll();

    MainWindow* owner;
    PtrArray<AElement> palette; // MASK .. MACRO in type order
    Widget shell;
    Widget paletteScroll; // "e_scrollw"
    Widget libraryScroll; // "m_scrollw"
    Widget paletteArea;   // "draw_elem"
    Widget libraryPopup;  // "lib_popup"
    Widget elementPopup;  // "libelem_popup"
    int paletteWidth;     // pixels
    int paletteHeight;
    int shown;
    bool attached; // the first redraw has bound the elements to the areas
    AElement* lastUnderPointer;
};
