#pragma once

// The window that shows an element's output planes as they are after its last simulation step:
// all outputs (output number 0) or one output k alone, each in a scrolled drawing area of a paned
// window, with a zoom scale, the cell under the pointer, the time of the last step, an "Update"
// switch that freezes the display, Close, and Save of a plane as a matrix file. It owns the frozen
// copies of the planes while the display is frozen; the planes themselves are the element's and
// are fetched from it at every drawing, so a plane the element replaces is never drawn stale.
// The element's stored viewport width, heights and zoom carry size and zoom to its next window.
//
// The virtual operations are the hooks of the LOGIC element's window, which adds the grid of its
// processing elements and their internal data.

#include <X11/Intrinsic.h>

#include <memory>
#include <string>
#include <vector>

#include "editors/AElementWindow.h"
#include "model/data/Matrix.h"
#include "model/data/SimTime.h"
#include "model/elements/ShowDataGeometry.h"

// The text after " Last simulated: ": " " for an element never simulated, else the span from the
// time its step began (time - delay) to the time; only the time when the delay exceeds it.
std::string SimLabelText(SimTime last, uint32_t delay);

// Pixels of a drawing area along one side of a plane of that many cells: (zoom / 4) * cells + 21.
int ShowDataAreaSize(int zoom, int cells);

class ShowDataWindow : public AElementWindow {
public:
    // output 0 shows every output, k output k alone. geometry is the element's, which the window
    // starts from and keeps up to date (a zoom of 0 becomes 100).
    ShowDataWindow(AElement* element, int output, ShowDataGeometry& geometry);
    // Stores the viewport sizes back into the element.
    ~ShowDataWindow() override;

    // The element's number of outputs changed: the panes follow it.
    void Rebuild() override;
    // A window of one output follows it to its new number; its pane stays as it is.
    void MoveToOutput(int output) override;
    // Draws output index (-1: every shown output), from the element's planes while updating,
    // else from the frozen copies.
    virtual void Redraw(int index, int clear);
    virtual void ResizeDrawAreas();
    virtual void CreateExtraWidgets() {}
    virtual void LayoutExtra() {}
    // The pointer moved onto cell (x, y) of an output's plane (inside 1), or off the cells.
    virtual void PointerMoved(Widget, int, int, int) {}

    // Builds the widgets and shows the window; the element calls it right after construction.
    void CreateWidgets();
    void UpdateSimLabel();
    // 0 freezes the display (copies of the shown planes), 1 shows the element's planes again.
    void SetUpdate(int flag);
    // Saves the shown plane (with several outputs the one the number field names) as a matrix.
    void Save();
    // What a simulation step asks of the window: while updating, Redraw and UpdateSimLabel.
    void RefreshIfUpdating();
    void Refresh() override { RefreshIfUpdating(); }
    void ZoomChanged(int value);
    void Exposed(Widget area, XEvent* event);
    void PointerEvent(Widget area, XEvent* event);
    void Close();

    int GetZoom() const { return geometry.zoom; }
    int GetOutputNumber() const { return outputNumber; }
    int GetUpdate() const { return update; }
    int GetFirstIndex() const { return firstIndex; }
    int GetLastIndex() const { return lastIndex; }
    const char* GetTitle() const { return title.c_str(); }
    Widget GetDrawArea(int index) const;
    Widget GetScrolledWindow(int index) const;
    Widget GetSimLabel() const { return simLabel; }
    Widget GetPosLabel() const { return posLabel; }
    Widget GetOutLabel() const { return outLabel; }
    Widget GetUpdateToggle() const { return updateToggle; }
    Widget GetZoomScale() const { return zoomScale; }
    Widget GetOutputField() const { return outputField; }
    Widget GetCloseButton() const { return closeButton; }
    Widget GetSaveButton() const { return saveButton; }

protected:
    // The plane drawn for an output index: the element's, or its frozen copy; null for none.
    const Matrix* ShownPlane(int index) const;
    void CreatePane(int index, bool initialSize);
    // Realizes the shell no larger than the screen lets it be.
    void FitScreen();
    // Sizes the output's drawing area for its plane at the zoom, when it is not so already.
    void FitArea(int index);
    static void SetLabel(Widget label, const char* text);
    // Every label shows its whole text: the output label, which has a width of its own, grows;
    // the labels stretched between their neighbours grow with the window.
    virtual void FitLabels();
    // Widens the window by that many pixels.
    void Widen(int pixels);

    int outputNumber;
    int firstIndex;
    int lastIndex;
    int shownCount;
    int update;
    std::string simText;                         // what "sim_label" shows
    std::vector<std::unique_ptr<Matrix>> frozen; // by output index, only while not updating
    ShowDataGeometry& geometry;                  // the element's
    std::string title;
    Widget form;
    Widget panedWindow;
    Widget positionTitle; // " Position: "
    Widget outputTitle;   // "Output: "
    Widget simLabel;
    Widget updateToggle;
    Widget posLabel;
    Widget outLabel;
    Widget outputField; // only with several outputs
    Widget closeButton;
    Widget saveButton;
    Widget zoomScale;
    Widget upperForm; // the two "form_above_outputs"
    Widget lowerForm;
    std::vector<Widget> drawAreas; // by output index
    std::vector<Widget> scrolledWindows;

private:
    Widget CreateZoomFrame();
    Widget CreateActionRow();
    // The labels and the hooks for one pointer event on an output's area.
    void TrackPointer(Widget area, XEvent* event);
};
