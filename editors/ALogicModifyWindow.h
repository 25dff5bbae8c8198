#pragma once

// The modify window of a LOGIC element: its three name lists (external data, internal data and
// the PE data, shown as "Input/Output Data:"), its PE dimension, its equations and its
// COMPUTE_PARALLEL flag, which the user adds, deletes, renames and reorders. It owns a working
// copy of the element's data whose compiler messages come back to this window; OK and Apply write
// the lists into the copy, compile it and, only when that succeeds, store it into the element.
//
// While the element has no PE dimension or no equation the window asks for the PE dimension at
// once; cancelling that first question closes the window. The PE-dimension dialog never outlives
// the window: its destructor deletes it first, without a callback.

#include <X11/Intrinsic.h>

#include <memory>
#include <string>
#include <vector>

#include "editors/AElementModifyWindow.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/LogicCompiler.h"

class ModifyTwoValuesDialog;

class ALogicModifyWindow : public AElementModifyWindow, public LogicErrorSink {
public:
    // Edits a copy of logicData for element and shows itself.
    ALogicModifyWindow(D_LogicElem* logicData, AElement* element);
    // Deletes the open PE-dimension dialog, then the working copy.
    ~ALogicModifyWindow() override;

    // The maker the editors register for LOGIC elements: data is the element's D_LogicElem.
    static ElementView* Make(AElement& element, FileArgument* data);

    // The working copy was read anew: the lists show it, or the PE dimension is asked for.
    void RefreshModifyWindow() override;
    // The compiler's first message: the equation (0-based) is selected and in the Edit field with
    // the cursor at position, the message in the footer.
    void ShowEquationError(const char* message, int equation, int position) override;

    // The buttons, the toggle and the text fields.
    void AddName(Widget list);
    void DeleteName(Widget list);
    void NameSelected(Widget list, int position, bool doubleClick);
    void ChangeDimension();
    // The answer of a PE-dimension dialog; cancelled before any dimension was chosen, the window
    // goes.
    void DimensionResult(int cancelled, int x, int y);
    void Rename();
    // Whether the rename field takes an insertion beginning with that character.
    static bool RenameAccepts(char first);
    void AddEquation();
    void DeleteEquation();
    void EquationSelected(int position);
    void MoveEquationUp();
    void MoveEquationDown();
    void EditEntered();
    void ParallelChanged(int set);
    // OK and Apply: store, compile and, when it compiles, commit; OK then closes the window.
    void OkPressed();
    void ApplyPressed();

    const D_LogicElem& GetWorkingCopy() const { return *workingCopy; }
    Widget GetExtList() const { return ext_list; }
    Widget GetIntList() const { return int_list; }
    Widget GetDatList() const { return dat_list; }
    Widget GetEquList() const { return equ_list; }
    Widget GetExtAdd() const { return extAdd; }
    Widget GetExtDel() const { return extDel; }
    Widget GetIntAdd() const { return intAdd; }
    Widget GetIntDel() const { return intDel; }
    Widget GetChangeDimension() const { return changeDimension; }
    Widget GetEquAdd() const { return equAdd; }
    Widget GetEquDel() const { return equDel; }
    Widget GetUp() const { return upButton; }
    Widget GetDown() const { return downButton; }
    Widget GetParallelToggle() const { return parallelToggle; }
    Widget GetRenameLabel() const { return renameLabel; }
    Widget GetRenameField() const { return renameField; }
    Widget GetEditField() const { return editField; }
    Widget GetOkButton() const { return okButton; }
    Widget GetApplyButton() const { return applyButton; }
    Widget GetCancelButton() const { return cancelButton; }
    Widget GetFooterLabel() const { return footerLabel; }
    ModifyTwoValuesDialog* GetDimensionDialog() const { return peDialog; }
    int GetCurrentEquation() const { return currentEquation; }
    int GetRenamePosition() const { return renamePosition; }
    Widget GetRenameList() const { return renameList; }
    void GetPEDimension(int& x, int& y) const {
        x = peDimX;
        y = peDimY;
    }
    // A programmatic change of a text field, which the rename field's filter lets through.
    void SetFieldText(Widget field, const char* text);
    bool IsSettingText() const { return settingText; }

protected:
    // Assigns the compiled working copy to the element's data.
    void StoreCopy() override;

private:
    void BuildWidgets();
    void BuildNameColumns(Widget dataFrame);
    void BuildEquations(Widget equFrame);
    // One column of data_form: its title, its buttons and its list.
    Widget CreateNameColumn(Widget parent, const char* formName, const char* listName,
                            const char* title, int column, Widget bottom, Widget* add,
                            XtCallbackProc addCallback, Widget* del, XtCallbackProc delCallback,
                            Widget* list);
    void Load();
    // The base := the working copy's external bits, every name on its own column.
    void ResetExternalBase();
    void ClearAll();
    // first: the question of a window with nothing to edit yet, "PE-Dimension" from 0 x 0.
    void OpenDimensionDialog(bool first);
    void ForgetDimensionDialog();
    void RebuildPEData();
    // Lists into the working copy; false when the PE dimension cannot be stored.
    bool Store();
    // Store and compile; true when the working copy may be committed.
    bool Prepare();
    void DropRename();
    void ShowDimension();
    void ShowCoordinates(Widget list, int position);
    void UpdateUpDown();
    void SelectEquation(int position);
    Widget DelButtonOf(Widget list) const;
    int* LastSelectedOf(Widget list);
    static void DialogDestroyedCallback(Widget, XtPointer self, XtPointer);

    D_LogicElem* logicData;                   // the element's, not owned: OK reaches it anew
    std::unique_ptr<D_LogicElem> workingCopy; // all editing changes only this
    // The element's external data as the working copy took it: edits the external-data window
    // applied since then are kept when the names are stored.
    std::unique_ptr<Matrix> externalSnapshot;
    // The external bits as the name list was loaded or last committed, and for each item of
    // ext_list the column of it that holds its bits (-1 for a name added since): a name keeps
    // its own column when others are deleted, added or renamed.
    std::unique_ptr<Matrix> externalBase;
    std::vector<int> extColumns;
    // The base holds the element's own columns (not data read into the copy), so what the
    // external-data window applies to the element belongs to it.
    bool baseIsElements;
    Widget ext_list;
    Widget int_list;
    Widget dat_list;
    Widget equ_list;
    Widget extAdd;
    Widget extDel;
    Widget intAdd;
    Widget intDel;
    Widget changeDimension;
    Widget equAdd;
    Widget upButton;
    Widget downButton;
    Widget parallelToggle;
    Widget renameLabel;
    Widget renameField;
    Widget equDel;
    Widget editField;
    Widget okButton;
    Widget applyButton;
    Widget cancelButton;
    Widget footerLabel;
    Widget equScrolled;
    ModifyTwoValuesDialog* peDialog; // the open PE-dimension dialog, not owned
    Widget renameList;               // the list whose item the rename field edits, or null
    int currentEquation;             // 1-based position in equ_list, 0 = none
    int renamePosition;              // 1-based, 0 = none
    int lastExt;                     // last selected positions of the name lists
    int lastInt;
    int lastDat;
    int peDimX; // the window's PE dimension, 0 until chosen
    int peDimY;
    bool settingText;
};
