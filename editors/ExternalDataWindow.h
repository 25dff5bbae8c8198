#pragma once

// The "Modify - External Data" window of a LOGIC element: its external data matrix (one column
// per external name, one row per clock cycle, cycle 1 at the bottom) as a grid of cells that a
// click or a drag toggles, with a zoom scale and a " Cycles " button that sets the number of
// rows. It edits a copy that it owns; OK and Apply write the copy into the element's matrix.
//
// The element holds the window as its external-data view (the window detaches itself when it
// goes) and remembers the viewport size and the zoom, which the window
// writes back when it closes. The window never outlives the element's matrix: the element
// deletes it when it deletes or replaces the data, and hands it the new matrix (SetData) when
// the modify window stores new external names. The "External-Cycles" dialog goes with the
// window, without calling back.

#include <X11/Intrinsic.h>

#include <vector>

#include "editors/MatrixGridView.h"
#include "model/data/Matrix.h"
#include "model/elements/ElementUi.h"
#include "model/elements/ElementView.h"

class ALogicElem;
class ModifyValueDialog;

class ExternalDataWindow : public ElementView {
public:
    // Copies externalData (the element's own matrix), builds the window and shows it.
    ExternalDataWindow(Matrix* externalData, ALogicElem* element);
    // The view maker of the LOGIC type: the window on the element's external data; null while
    // it has none.
    static ElementView* Make(AElement& element, const ViewRequest& request);
    // Stores the viewport size and the zoom into the element, detaches from it, destroys the
    // shell.
    ~ExternalDataWindow() override;
    ExternalDataWindow(const ExternalDataWindow&) = delete;
    ExternalDataWindow& operator=(const ExternalDataWindow&) = delete;

    // The element's new matrix after its names changed: the copy takes its number of columns and
    // keeps its own rows; column k keeps the edits not yet applied of its old column columns[k]
    // (-1: a new name, all 0), so that they stay with their names.
    void SetData(Matrix* newData, const std::vector<int>& columns);
    void SetExternalData(Matrix* newData, const std::vector<int>& columns) override {
        SetData(newData, columns);
    }

    // The buttons.
    void Ok();
    void Apply();
    void Cancel();
    void AskCycles();
    // The answer of the "External-Cycles" dialog.
    void CyclesResult(int cancelled, int cycles);

    void ZoomChanged(int value);
    void PointerEvent(XEvent* event);
    void Exposed(XEvent* event);

    const Matrix& GetCopy() const { return copy; }
    int GetZoom() const { return zoom; }
    Widget GetShell() const { return shell; }
    Widget GetDrawWindow() const { return draw_window; }
    Widget GetDrawArea() const { return draw; }
    Widget GetCycleLabel() const { return cycle_label; }
    Widget GetNameLabel() const { return name_label; }
    Widget GetZoomScale() const { return zoomScale; }
    ModifyValueDialog* GetCyclesDialog() const { return cyclesDialog; }

private:
    void BuildWidgets();
    void ResizeDrawArea();
    void DrawCopy(int clear);
    void ForgetCyclesDialog();
    static void ShellDestroyedCallback(Widget, XtPointer self, XtPointer);
    static void DialogDestroyedCallback(Widget, XtPointer self, XtPointer);

    Matrix* externalData; // the element's, not owned
    Matrix copy;          // all editing changes only this
    Widget shell;         // null once destroyed from outside
    Widget draw_window;
    Widget draw;
    Widget cycle_label;
    Widget name_label;
    Widget zoomScale;
    GridPointer pointer; // labels shown and the last cell
    int zoom;
    ALogicElem* element;             // not owned
    ModifyValueDialog* cyclesDialog; // the open "External-Cycles" dialog, not owned
};
