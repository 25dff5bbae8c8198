#pragma once

// The permutation editor: the modify window of a PERM element. It shows two grids side by side,
// the transmitter (the input plane) on the left, where a click selects one cell, and the receiver
// (the output plane) on the right, which shows the cells the selected transmitter cell sends to
// and where a click makes or removes that connection. Its two dialogs, "Perm - Vector" and
// "Perm - Matrix", make or remove many connections at once by the methods of PermMethods.h.
//
// The window owns a working copy of the element's connection table, the two views (a plane with
// only the selected cell set, and a plane of its targets) and both dialogs, which are parented to
// its shell and live as long as it does, popped up and down. OK and Apply store the copy into the
// element's table, reached through the element.

#include <X11/Intrinsic.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>

#include "editors/AElementModifyWindow.h"
#include "editors/MatrixGridView.h"
#include "model/data/Matrix.h"
#include "model/elements/APermElem.h"

class APermModifyWindow;

// What a radio toggle or a method button stands for: its group and its index in that group.
enum PermChoiceGroup : int {
    kVectorTransmitterGroup, // Row, Column
    kVectorReceiverGroup,    // Row, Column
    kVectorMethodGroup,      // None .. Bit Reversed
    kVectorModeGroup,        // Define, Delete
    kMatrixDirectionGroup,   // Row, Column
    kMatrixMethodGroup,      // None .. Bit Reversed
    kMatrixModeGroup,        // Define, Delete
};

// The widget names of one end of the vector dialog, the transmitter ("t_...") or the receiver.
struct VectorEndNames {
    const char* frame;
    const char* rowColumn;
    const char* label;
    const char* form;
    const char* direction;
    const char* radioFrame;
    const char* radioBox;
    const char* number;
};

struct PermChoice {
    APermModifyWindow* window;
    int group; // PermChoiceGroup
    int index;
};

class APermModifyWindow : public AElementModifyWindow {
public:
    // Edits a copy of permData for element; selects transmitter cell (0, 0) and shows itself
    // with both dialogs made and hidden.
    APermModifyWindow(D_PermElem* permData, APermElem* element);
    ~APermModifyWindow() override;

    // The maker the editors register for PERM elements: data is the element's D_PermElem.
    static ElementView* Make(AElement& element, FileArgument* data);

    // Shows the working copy anew: transmitter cell (0, 0) selected, both views redrawn.
    void RefreshModifyWindow() override;

    // The zoom scale and the drawing areas' events.
    void ZoomChanged(int value);
    void TransmitterEvent(XEvent* event);
    void ReceiverEvent(XEvent* event);
    void Exposed(Widget area, XEvent* event);

    // " Vector " and " Matrix ": pop the dialog up, the button insensitive until it goes.
    void ShowVectorDialog();
    void ShowMatrixDialog();

    // The dialogs' buttons; OK closes its dialog when its apply succeeded.
    void VectorOk();
    void VectorCancel();
    void MatrixOk();
    void MatrixCancel();
    // A set toggle or a chosen method button.
    void Choose(const PermChoice& choice);

    // Apply of each dialog: 0 done, 1 a field was empty or out of range (nothing changed).
    int ApplyVector();
    int ApplyMatrix();

    const D_PermElem& GetWorkingCopy() const { return *workingCopy; }
    const Matrix& GetTransmitterView() const { return transmitterView; }
    const Matrix& GetReceiverView() const { return receiverView; }
    int GetSelectedX() const { return selectedX; }
    int GetSelectedY() const { return selectedY; }
    Widget GetDrawL() const { return drawL; }
    Widget GetDrawR() const { return drawR; }
    Widget GetPosLabelL() const { return pos_labelL; }
    Widget GetPosLabelR() const { return pos_labelR; }
    Widget GetZoomScale() const { return zoomScale; }
    Widget GetVectorButton() const { return vectorButton; }
    Widget GetMatrixButton() const { return matrixButton; }
    Widget GetVectorShell() const { return vectorShell; }
    Widget GetMatrixShell() const { return matrixShell; }
    Widget GetTransmitterField() const { return transmitterField; }
    Widget GetReceiverField() const { return receiverField; }
    Widget GetVectorBitField() const { return vectorBitField; }
    Widget GetVectorShiftField() const { return vectorShiftField; }
    Widget GetVectorMenu() const { return vectorMenu; }
    Widget GetVectorBitLabel() const { return vectorBitLabel; }
    Widget GetShiftLabel() const { return shiftLabel; }
    Widget GetMatrixBitField() const { return matrixBitField; }
    Widget GetHorizontalShiftField() const { return horizontalShiftField; }
    Widget GetVerticalShiftField() const { return verticalShiftField; }
    Widget GetMatrixMenu() const { return matrixMenu; }
    Widget GetMatrixBitLabel() const { return matrixBitLabel; }

protected:
    void StoreCopy() override;

private:
    void BuildWidgets();
    Widget BuildSide(Widget form, const char* formName, const char* labelName,
                     const char* windowName, const char* drawName, XtEventHandler pointer,
                     Widget* label, Widget* window);
    void BuildVectorDialog();
    void BuildMatrixDialog();
    // "Direction: " and right of it a framed one-column radio box of "Row" and "Column" in
    // parent; returns the frame.
    Widget BuildDirectionRow(Widget parent, const char* labelName, const char* frameName,
                             const char* boxName, int group, int first);
    // The transmitter's or the receiver's frame of the vector dialog: its title, its direction
    // row and "  Number: " with a field of 0 .. max, digits wide.
    Widget BuildVectorEnd(Widget form, const VectorEndNames& names, const char* title, int group,
                          int first, int16_t digits, int32_t max, Widget* field);
    // The method frame's layout: the menu at the top, below it one row per label and field, the
    // fields lined up right of alignLabel (the widest label).
    void StackMethodRows(Widget menu, Widget alignLabel,
                         std::initializer_list<std::pair<Widget, Widget>> rows);
    // The end of both dialogs: the mode frame "d_frame" ("Define", "Delete") below the frames
    // (top to bottom), then the action area.
    void FinishDialogForm(Widget form, std::initializer_list<Widget> frames, int modeGroup,
                          int firstMode, XtCallbackProc ok, XtCallbackProc apply,
                          XtCallbackProc cancel);
    // The method menu's first state; the dialog realized with its size fixed.
    void ShowDialogStart(Widget dialogShell, Widget menu, Widget none, Widget bitLabel,
                         Widget bitField, int* method);
    // An option menu "Method: " of the five methods; their records start at first.
    Widget BuildMethodMenu(Widget parent, const char* name, int group, Widget* none);
    Widget BuildRadioBox(Widget parent, const char* name, int columns, int group, int first);

    void SelectTransmitter(int x, int y);
    void ToggleReceiver(int x, int y);
    void ResizeDrawAreas();
    void DrawViews(int clear);
    // After a dialog's apply: the receiver view of the selected cell again.
    void ShowTargets();
    // Makes the views the working copy's sizes, (0, 0) selected, nothing remembered.
    void ResetViews();

    void VectorTransmitterChanged(int direction);
    void VectorReceiverChanged(int direction);
    void VectorMethodChanged(int method);
    // The length of the transmitter line the vector dialog's method walks.
    int VectorLineLength() const;
    void MatrixDirectionChanged(int direction);
    void MatrixMethodChanged(int method);
    // The method menu of a dialog stays available, or falls back to "None" and is made
    // insensitive; lineLength is the transmitter line a method walks.
    void SetMethodAvailable(bool available, Widget menu, Widget none, Widget bitLabel,
                            Widget bitField, int* method, int lineLength);
    void SetBitField(Widget bitLabel, Widget bitField, bool exchange, int lineLength);

    D_PermElem* permData;                    // the element's table when the window was made
    std::unique_ptr<D_PermElem> workingCopy; // all editing changes only this
    Widget drawL;
    Widget drawR;
    Widget draw_windowL;
    Widget pos_labelL;
    Widget pos_labelR;
    Widget zoomScale;
    Widget vectorButton;
    Widget matrixButton;
    GridPointer pointerL; // the transmitter's label and last cell
    GridPointer pointerR; // the receiver's
    int selectedX, selectedY;
    Matrix transmitterView; // only the selected cell set
    Matrix receiverView;    // the targets of the selected cell

    Widget vectorShell;
    Widget transmitterField; // ReadInt forms
    Widget receiverField;
    Widget vectorBitField;
    Widget vectorShiftField;
    Widget vectorMenu;
    Widget vectorPulldown;
    Widget vectorNone; // the menu's "None" button
    Widget shiftLabel;
    Widget vectorBitLabel;
    std::array<PermChoice, 20> choices; // every toggle and method button of both dialogs
    int transmitterDirection;
    int receiverDirection;
    int vectorMethod;
    int vectorMode;

    Widget matrixShell;
    Widget matrixBitField;
    Widget horizontalShiftField;
    Widget verticalShiftField;
    Widget matrixMenu;
    Widget matrixPulldown;
    Widget matrixNone;
    Widget matrixBitLabel;
    int matrixDirection;
    int matrixMethod;
    int matrixMode;
};
