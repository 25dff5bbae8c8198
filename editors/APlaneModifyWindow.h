#pragma once

// The modify window of an INPUT or OUTPUT element: its stack of planes seen as a block of cells
// (x to the right, y upwards, z the plane number counted from the stack's current plane), shown
// one slice at a time: an XY-plane (one plane), an XZ-plane (one row through all planes) or a
// YZ-plane (one column through all planes). In the slice the user reads and writes numbers coded
// along a line of cells (PlaneCodec.h), edits cells (INPUT), adds and deletes planes, and saves
// the slice as a matrix file or loads one into it (INPUT). The simulation keeps an open window in
// step with the element's stack (RecordPlane, ShowPlane, ReloadStack).
//
// The window owns a working copy of the element's stack and the shown slice; edits of the slice
// reach the copy when it is stored back (a position or view change, Add, Delete, OK, Apply), and
// OK and Apply commit the copy to the element. The element's stack is always reached through the
// element, never through a pointer kept from construction. The number dialog and the file dialog
// the window opens go with it: the number dialog is parented to the window's shell and deleted
// with the window, and the file dialog serves the shown slice, whose destruction closes it.
//
// AInputModifyWindow and AOutputModifyWindow differ in their commit and in the widgets: the OUTPUT
// window has no Apply, no Set All, Unset All or Load As Matrix, an insensitive Value field and
// ignores clicks on cells.

#include <X11/Intrinsic.h>

#include <cstdint>
#include <memory>

#include "editors/AElementModifyWindow.h"
#include "editors/MatrixGridView.h"
#include "editors/PlaneCodec.h"
#include "model/data/Matrix.h"

class AIOElem;
class D_IOElem;
class ModifyTwoValuesDialog;

enum PlaneView : int32_t {
    kXYPlane = 0,
    kXZPlane = 1,
    kYZPlane = 2,
};

// Characters of the Value field: the digits of the largest 32-bit number and one for the sign.
int StaticInitDigits();

// The quarter (0..3) of the stack's extent that a position lies in, for the view icon: 0 at the
// start, 3 at the last index, 2 beyond the middle, else 1.
int ViewIconQuarter(int position, int size);

class APlaneModifyWindow : public AElementModifyWindow {
public:
    // Stores the eight view settings into the element, frees the pixmaps and the stack.
    ~APlaneModifyWindow() override;

    // The element's data was read under the window: position 0 and everything drawn again.
    void RefreshModifyWindow() override;
    // A matrix was loaded into the shown slice: drawn again.
    void Refresh() override;
    // The window's commit; hides the base's, which knows no plane windows.
    virtual void Ok() = 0;
    // The INPUT window's commit that keeps the window; the OUTPUT window has no Apply button.
    virtual void Apply() {}

    // Entry points of the element model. RecordPlane pushes the element's input plane 0 into the
    // window's stack, as the step did into the element's; ShowPlane shows the slice again from
    // the stack (quiet leaves the dimensions and the view icon alone); ReloadStack takes the
    // element's stack again after a reset.
    void RecordPlane() override;
    void ShowPlane(int quiet) override;
    void ReloadStack() override;

    // The value coding on the shown slice.
    int CellCount() const;
    void UpdateLimits();
    int32_t ReadValue();
    void EraseValueMarks();
    void WriteValue(int32_t value);
    int GetValueCell(int x, int y) const;
    void SetValueCell(int x, int y);
    void ClearValueCell(int x, int y);

    // The user's actions, as the controls report them.
    void PositionChanged(int32_t value);
    void LineChanged(int32_t value);
    void InterleaveChanged(int32_t value);
    void OffsetChanged(int32_t value);
    void ValueChanged(int32_t value);
    void ViewChanged(int index);
    void DirectionChanged(int index);
    void SignChanged(int index);
    void CodingChanged(int index);
    void ZoomChanged(int value);
    void SetAll();
    void UnsetAll();
    void SaveAsMatrix();
    void LoadAsMatrix();
    void AddPlanes();
    void DeletePlanes();
    void AddPlanesResult(int cancelled, int zPosition, int number);
    void DeletePlanesResult(int cancelled, int zPosition, int number);
    void PointerEvent(XEvent* event);
    void PlaneExposed(XEvent* event);
    void ViewIconExposed(XEvent* event);

    // For the tests and the element model.
    const D_IOElem& GetStack() const { return *stack; }
    const Matrix& GetShownPlane() const { return shownPlane; }
    int GetView() const { return view; }
    int GetPosition() const { return position; }
    int GetLastValue() const { return lastValue; }
    CodecSettings GetCodecSettings() const;
    bool IsInput() const { return input; }
    ModifyTwoValuesDialog* GetPlaneDialog() const { return planeDialog; }
    Widget GetDrawArea() const { return draw; }
    Widget GetDrawWindow() const { return draw_window; }
    Widget GetViewDrawArea() const { return view_draw; }
    Widget GetPosLabel() const { return pos_label; }
    Widget GetDimLabel() const { return dim_label; }
    Widget GetPositionField() const { return positionField; }
    Widget GetLineField() const { return lineField; }
    Widget GetInterleaveField() const { return interleaveField; }
    Widget GetOffsetField() const { return offsetField; }
    Widget GetValueField() const { return valueField; }
    Widget GetDeleteButton() const { return deleteButton; }
    Widget GetZoomScale() const { return zoomScale; }

protected:
    // Takes the stack copy over; input selects the INPUT window's widgets and pointer editing.
    APlaneModifyWindow(AIOElem* element, D_IOElem* stackCopy, bool input);

    // The element's stack that OK and Apply commit to.
    virtual D_IOElem& ElementData() = 0;

    // The slice at the position for the view: from the stack, back into it.
    void ExtractPlane();
    void StorePlane();
    void DrawPlane(int clear);
    void ResizeDrawArea();
    void ShowDimensions();
    void ShowPointerPosition(int a, int b);
    void ToggleCellAt(int x, int y);
    void DrawViewIcon();

    std::unique_ptr<D_IOElem> stack; // the window stack: the working copy
    // The user changed the window stack since it was taken or committed (a cell, Set All, Unset
    // All, a value, a matrix load, Add, Delete); what a run pushes into it is no edit.
    bool edited;

private:
    void BuildWidgets();
    Widget BuildViewFrame(Widget parent);
    Widget BuildDataFrame(Widget parent);
    Widget BuildLineFrame(Widget parent);
    Widget BuildPlaneButtons(Widget parent);
    Widget BuildActionArea(Widget parent);
    void CreateDirectionPixmaps(Widget box);
    // The dual and sign radio frames right of the wider of the line and value frames.
    void PlaceRadioFrames();
    // The size along the axis the view leaves out: planes (XY), height (XZ), width (YZ).
    int PositionExtent() const;
    // Rotates the window stack so that its current plane is array entry 0: the window's plane
    // numbers are then the indices the plane list inserts and removes at.
    void NormalizeStack();
    void UpdateDeleteButton();
    bool OnValueLine(int x, int y) const;
    void ForgetPlaneDialog();
    // An answer came: the dialog is forgotten (it deletes itself).
    void PlaneDialogAnswered();
    // After planes were added or deleted: dimensions, slice, limits, value and icon anew.
    void ShowChangedStack();
    // Position 0 of the view shown anew, scrolled to the bottom.
    void ShowFirstSlice();
    static void PlaneDialogGoneCallback(Widget, XtPointer self, XtPointer);

    Display* display; // kept for the pixmaps and the context, which outlive a destroyed shell
    Widget form;
    Widget draw_window;
    Widget draw;
    Widget pos_label;
    Widget dim_label;
    Widget positionField;
    Widget lineField;
    Widget interleaveField;
    Widget offsetField;
    Widget valueField;
    Widget view_draw;
    Widget deleteButton;
    Widget zoomScale;
    ModifyTwoValuesDialog* planeDialog; // the open "Add XY-Plane" or "Delete XY-Plane" dialog
    GridPointer pointer;                // the position label and the last cell
    int32_t position;
    int32_t line;
    int32_t interleave;
    int32_t offset;
    int32_t lastValue;
    int32_t view;
    int32_t direction;
    int32_t sign;
    int32_t coding;
    Pixmap directionPixmaps[4];
    Matrix shownPlane; // one object for the window's life: the file dialog may point at it
    GC iconGC;
    bool input;
};
