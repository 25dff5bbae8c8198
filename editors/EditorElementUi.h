#pragma once

// The editors' half of the model's window interface: the element's modify window (made by the
// maker its type registered), its show-data windows, its Set Name dialog and its "Change
// Dimension" dialog, all made, raised, refreshed and deleted here. The shell's implementation
// derives from this class and adds the rest (scheduler, status words, questions, working areas,
// drawing resources); tests use it as it is.
//
// Parents come from the installed EditorHost: an element's windows and its Set Name dialog go
// over the shell of its owner window, the dimension dialog over the top-level shell.

#include <cstdint>

#include "model/elements/ALogicElem.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PlaneWindowUi.h"

// Makes the modify window of one element type for (element, its data object, the element's
// modify-window slot); the window shows itself and stores itself in the slot.
using ModifyWindowMaker = void (*)(AElement& element, FileArgument* data,
                                   AElementModifyWindow** slot);

// The type's maker (null removes it); types without one open no modify window.
void RegisterModifyWindowMaker(uint32_t type, ModifyWindowMaker maker);

// It is also the INPUT and OUTPUT elements' way to their open plane window: the last one made is
// installed as the model's PlaneWindowUi until it goes; and the LOGIC elements' way to their
// external-data window.
class EditorElementUi : public NullElementUi, public PlaneWindowUi, public LogicElementUi {
public:
    EditorElementUi();
    ~EditorElementUi() override;

    void CreateModifyWindow(AElement& element, FileArgument* data,
                            AElementModifyWindow** slot) override;
    void PopupModifyWindow(AElementModifyWindow* window) override;
    void DeleteModifyWindow(AElementModifyWindow* window) override;
    void RefreshModifyWindow(AElementModifyWindow* window) override;
    void Refresh(AElementModifyWindow* window) override;

    void CreateShowDataWindow(AElement& element, AElementWindow** slot, int index, short* width,
                              short* heights, int* zoom) override;
    void PopupWindow(AElementWindow* window) override;
    void DeleteWindow(AElementWindow* window) override;
    void RefreshShowDataWindow(AElementWindow* window) override;
    void RebuildShowDataWindow(AElementWindow* window) override;

    void OpenSetNameDialog(AElement& element) override;
    void DeleteSetNameDialog(SetNameDialog* dialog) override;
    ModifyTwoValuesDialog* OpenTwoValuesDialog(const char* title, const char* label1, int value1,
                                               int min1, int max1, const char* label2, int value2,
                                               int min2, int max2, TwoValuesCallback callback,
                                               void* client) override;
    void DeleteTwoValuesDialog(ModifyTwoValuesDialog* dialog) override;
    void OpenPermDimensionDialog(APermElem& element) override;
    void DeletePermDimensionDialog(PermDimensionDialog* dialog) override;

    void RecordPlane(AElementModifyWindow* window) override;
    void ShowPlane(AElementModifyWindow* window, int quiet) override;
    void ReloadStack(AElementModifyWindow* window) override;

    void CreateExternalDataWindow(ALogicElem& element, Matrix* externalData) override;
    void DeleteExternalDataWindow(ExternalDataWindow* window) override;
    void SetExternalData(ExternalDataWindow* window, Matrix* externalData,
                         const std::vector<int>& columns) override;
};
