#pragma once

// The rule editor: the modify window of a RULE element. It owns a working copy of the element's
// rule data and shows its search pattern on the left and its substitution pattern on the right,
// each a zoomable grid whose cells a click or a drag toggles, with one zoom for both. It sets or
// clears each pattern as a whole, asks for the pattern size in a "Pattern-Dimension" or "Alter
// Pattern-Dimension" dialog, and opens the mask editor on the working copy's mask.
//
// While a pattern is missing the window asks for the size at once; cancelling that question
// closes the window. The mask window and an open dimension dialog never outlive the window: its
// destructor deletes both first.

#include <X11/Intrinsic.h>

#include <memory>

#include "editors/AElementModifyWindow.h"
#include "editors/AMaskModifyWindow.h"
#include "model/elements/ARuleElem.h"

class ModifyTwoValuesDialog;

class ARuleModifyWindow : public AElementModifyWindow {
public:
    // Edits a copy of ruleData for element and shows itself.
    ARuleModifyWindow(D_RuleElem* ruleData, AElement* element);
    // Deletes the open mask window and dimension dialog, then the working copy.
    ~ARuleModifyWindow() override;

    // The maker the editors register for RULE elements: data is the element's D_RuleElem.
    static ElementView* Make(AElement& element, FileArgument* data);

    // Both patterns drawn anew, or the "Pattern-Dimension" question while one is missing.
    void RefreshModifyWindow() override;

    void DrawSearch(int clear);
    void DrawSubstitution(int clear);
    void ToggleSearchCell(int x, int y);
    void ToggleSubstitutionCell(int x, int y);
    void ResizeDrawAreas();
    // The answer of a dimension dialog: new patterns of x by y cells keeping the cells both
    // sizes share; cancelled while a pattern is missing, the window goes.
    void DimensionResult(int cancelled, int x, int y);
    // The dimension dialog's shell was destroyed without an answer.
    void DimensionDialogGone();

    // The buttons and the zoom scale.
    void SetAllSearch();
    void UnsetAllSearch();
    void SetAllSubstitution();
    void UnsetAllSubstitution();
    void AlterDimension();
    void OpenMask();
    void ZoomChanged(int value);

    // Events of either drawing area.
    void PointerEvent(Widget area, XEvent* event);
    void Exposed(Widget area, XEvent* event);

    const D_RuleElem& GetWorkingCopy() const { return *workingCopy; }
    Widget GetDrawArea(bool left) const { return left ? drawL : drawR; }
    Widget GetPosLabel(bool left) const { return left ? pos_labelL : pos_labelR; }
    Widget GetZoomScale() const { return zoomScale; }
    ModifyTwoValuesDialog* GetDimensionDialog() const { return dimensionDialog; }
    AMaskModifyWindow* GetMaskWindow() const;

protected:
    void StoreCopy() override;

private:
    void BuildWidgets();
    void CreateSide(Widget form, bool left);
    void OpenDimensionDialog(const char* title, int width, int height);
    // Drops the pointer to the dimension dialog and its destroy callback.
    void ForgetDimensionDialog();
    bool HasPatterns() const;

    // OK and Apply write the element's rule data, reached through the element.
    std::unique_ptr<D_RuleElem> workingCopy; // all editing changes only this
    Widget draw_windowL;
    Widget draw_windowR;
    Widget drawL; // search pattern
    Widget drawR; // substitution pattern
    Widget pos_labelL;
    Widget pos_labelR;
    Widget zoomScale;
    GridPointer pointerL;
    GridPointer pointerR;
    ModifyTwoValuesDialog* dimensionDialog; // the open dimension dialog, not owned
    AElementModifyWindow* maskWindow;       // the mask window clears it when it goes
};
