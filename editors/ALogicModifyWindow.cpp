#include "editors/ALogicModifyWindow.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <cstring>
#include <iostream>
#include <numeric>

#include "editors/ModifyTwoValuesDialog.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Bell.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/WidgetHelpers.h"

namespace {

const int kRenameLength = 30; // the longest name, characters
const char* const kTooLong = "Sorry, equation would be to long !";

ALogicModifyWindow* Self(XtPointer self) {
    return static_cast<ALogicModifyWindow*>(self);
}

void AddExtCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->AddName(Self(self)->GetExtList());
}

void DelExtCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->DeleteName(Self(self)->GetExtList());
}

void AddIntCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->AddName(Self(self)->GetIntList());
}

void DelIntCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->DeleteName(Self(self)->GetIntList());
}

void ChangeDimensionCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->ChangeDimension();
}

void NameListCallback(Widget list, XtPointer self, XtPointer call) {
    const XmListCallbackStruct* cbs = static_cast<XmListCallbackStruct*>(call);
    Self(self)->NameSelected(list, cbs->item_position, cbs->reason == XmCR_DEFAULT_ACTION);
}

void EquationListCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->EquationSelected(static_cast<XmListCallbackStruct*>(call)->item_position);
}

void AddEquationCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->AddEquation();
}

void DelEquationCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->DeleteEquation();
}

void UpCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->MoveEquationUp();
}

void DownCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->MoveEquationDown();
}

void ParallelCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->ParallelChanged(static_cast<XmToggleButtonCallbackStruct*>(call)->set ? 1 : 0);
}

void RenameCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Rename();
}

void RenameVerifyCallback(Widget field, XtPointer self, XtPointer call) {
    XmTextVerifyCallbackStruct* verify = static_cast<XmTextVerifyCallbackStruct*>(call);
    if (Self(self)->IsSettingText()) return;
    if (!XtIsSensitive(field)) {
        verify->doit = False;
        return;
    }
    const bool insertion = verify->startPos == verify->endPos && verify->text != nullptr &&
                           verify->text->length > 0 && verify->text->ptr != nullptr;
    if (insertion && !ALogicModifyWindow::RenameAccepts(verify->text->ptr[0])) {
        verify->doit = False;
        RingBell(XtDisplay(field));
    }
}

void EditCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->EditEntered();
}

void OkCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->OkPressed();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->ApplyPressed();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Cancel();
}

void DimensionResultCallback(int cancelled, int x, int y, void* self) {
    Self(self)->DimensionResult(cancelled, x, y);
}

void SetLabel(Widget label, const std::string& text) {
    OwnedXmString string(text.c_str());
    XtVaSetValues(label, XmNlabelString, string.Get(), nullptr);
}

Widget CreateLabel(Widget parent, const char* text) {
    OwnedXmString string(text);
    return XtVaCreateManagedWidget(text, xmLabelGadgetClass, parent, XmNlabelString, string.Get(),
                                   XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
}

Widget CreateButton(Widget parent, const char* text, XtCallbackProc callback, XtPointer self) {
    OwnedXmString label(text);
    Widget button = XtVaCreateManagedWidget("DialogButton", xmPushButtonWidgetClass, parent,
                                            XmNlabelString, label.Get(), nullptr);
    XtAddCallback(button, XmNactivateCallback, callback, self);
    return button;
}

Widget CreateList(Widget parent, const char* name) {
    Arg args[3];
    XtSetArg(args[0], XmNlistSizePolicy, XmCONSTANT);
    XtSetArg(args[1], XmNselectionPolicy, XmSINGLE_SELECT);
    XtSetArg(args[2], XmNscrollBarDisplayPolicy, XmSTATIC);
    Widget list = XmCreateScrolledList(parent, const_cast<char*>(name), args, XtNumber(args));
    XtManageChild(list);
    return list;
}

std::string ItemText(XmString item) {
    OwnedXtString text(static_cast<char*>(
        XmStringUnparse(item, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL)));
    return text.Get() != nullptr ? text.Get() : "";
}

int ItemCount(Widget list) {
    int count = 0;
    XtVaGetValues(list, XmNitemCount, &count, nullptr);
    return count;
}

std::vector<std::string> Items(Widget list) {
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(list, XmNitems, &items, XmNitemCount, &count, nullptr);
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++)
        texts.push_back(ItemText(items[i]));
    return texts;
}

// The item at a 1-based position; empty outside the list.
std::string ItemAt(Widget list, int position) {
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(list, XmNitems, &items, XmNitemCount, &count, nullptr);
    if (position < 1 || position > count) return "";
    return ItemText(items[position - 1]);
}

bool HasItem(Widget list, const std::string& text) {
    for (const std::string& item : Items(list)) {
        if (item == text) return true;
    }
    return false;
}

void SetItems(Widget list, const std::vector<std::string>& texts) {
    XmListDeleteAllItems(list);
    std::vector<OwnedXmString> owned;
    std::vector<XmString> items;
    owned.reserve(texts.size());
    items.reserve(texts.size());
    for (const std::string& text : texts) {
        owned.emplace_back(text.c_str());
        items.push_back(owned.back().Get());
    }
    if (!items.empty()) XmListAddItems(list, items.data(), static_cast<int>(items.size()), 0);
}

void AppendItem(Widget list, const std::string& text) {
    OwnedXmString item(text.c_str());
    XmListAddItemUnselected(list, item.Get(), 0);
}

void ReplaceItem(Widget list, int position, const std::string& text) {
    OwnedXmString item(text.c_str());
    XmString items[] = {item.Get()};
    XmListReplaceItemsPos(list, items, 1, position);
}

// The 1-based selected position, 0 for none.
int SelectedPosition(Widget list) {
    int* positions = nullptr;
    int count = 0;
    if (!XmListGetSelectedPos(list, &positions, &count)) return 0;
    const int position = count > 0 ? positions[0] : 0;
    XtFree(reinterpret_cast<char*>(positions));
    return position;
}

void SelectQuietly(Widget list, int position) {
    if (position < 1 || position > ItemCount(list)) return;
    // The lists have one selection: a replaced item keeps the mark it had, so clear them all.
    XmListDeselectAllItems(list);
    XmListSelectPos(list, position, False);
}

// Scrolls the list just so far that the position is visible.
void ShowPosition(Widget list, int position) {
    const int count = ItemCount(list);
    if (position < 1 || position > count) return;
    int top = 1;
    int visible = 1;
    XtVaGetValues(list, XmNtopItemPosition, &top, XmNvisibleItemCount, &visible, nullptr);
    if (position < top) {
        XmListSetPos(list, position);
    } else if (visible > 0 && position >= top + visible) {
        XmListSetBottomPos(list, position);
    }
}

void ScrollLeft(Widget list) {
    XmListSetHorizPos(list, 0);
}

std::string TextOf(Widget field) {
    OwnedXtString text(XmTextFieldGetString(field));
    return text.Get() != nullptr ? text.Get() : "";
}

void Focus(Widget widget) {
    XmProcessTraversal(widget, XmTRAVERSE_CURRENT);
}

} // namespace

ALogicModifyWindow::ALogicModifyWindow(D_LogicElem* data, AElement* owner)
    : AElementModifyWindow(owner), logicData(data),
      workingCopy(std::make_unique<D_LogicElem>(*data)), baseIsElements(true), ext_list(nullptr),
      int_list(nullptr), dat_list(nullptr), equ_list(nullptr), extAdd(nullptr), extDel(nullptr),
      intAdd(nullptr), intDel(nullptr), changeDimension(nullptr), equAdd(nullptr),
      upButton(nullptr), downButton(nullptr), parallelToggle(nullptr), renameLabel(nullptr),
      renameField(nullptr), equDel(nullptr), editField(nullptr), okButton(nullptr),
      applyButton(nullptr), cancelButton(nullptr), footerLabel(nullptr), equScrolled(nullptr),
      peDialog(nullptr), renameList(nullptr), currentEquation(0), renamePosition(0), lastExt(0),
      lastInt(0), lastDat(0), peDimX(0), peDimY(0), settingText(false) {
    workingCopy->SetErrorSink(this);
    if (const Matrix* external = data->GetExternalData()) {
        externalSnapshot = std::make_unique<Matrix>(*external);
    }
    BuildWidgets();
    if (workingCopy->GetPEX() != 0 && workingCopy->GetPEY() != 0 &&
        workingCopy->GetEquationCount() > 0) {
        Load();
    } else {
        OpenDimensionDialog(true);
    }
}

ALogicModifyWindow::~ALogicModifyWindow() {
    // A dialog still asking would answer a window that is gone.
    if (peDialog != nullptr) {
        ModifyTwoValuesDialog* dialog = peDialog;
        ForgetDimensionDialog();
        delete dialog;
    }
    workingCopy.reset();
}

ElementView* ALogicModifyWindow::Make(AElement& element, FileArgument* data) {
    D_LogicElem* logic = dynamic_cast<D_LogicElem*>(data);
    if (logic == nullptr) {
        std::cerr << "ALogicModifyWindow::Make: no LOGIC data" << std::endl;
        return nullptr;
    }
    return new ALogicModifyWindow(logic, &element);
}

Widget ALogicModifyWindow::CreateNameColumn(Widget parent, const char* formName,
                                            const char* listName, const char* title, int column,
                                            Widget bottom, Widget* add, XtCallbackProc addCallback,
                                            Widget* del, XtCallbackProc delCallback, Widget* list) {
    Widget form = XtVaCreateManagedWidget(
        formName, xmFormWidgetClass, parent, XmNleftAttachment, XmATTACH_POSITION, XmNleftPosition,
        column, XmNrightAttachment, XmATTACH_POSITION, XmNrightPosition, column + 1,
        XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget,
        bottom, XmNbottomOffset, 4, XmNleftOffset, column == 0 ? 0 : 2, XmNrightOffset,
        column == 2 ? 0 : 2, nullptr);
    Widget label = CreateLabel(form, title);
    Attach(label).Left(ToForm()).Top(ToForm());
    *add = CreateButton(form, del != nullptr ? " Add " : " Change Dimension ", addCallback, this);
    Attach(*add).Left(ToForm()).Top(ToWidget(label));
    if (del != nullptr) {
        *del = CreateButton(form, " Del ", delCallback, this);
        Attach(*del).Left(ToWidget(*add)).Top(ToWidget(label));
    }
    *list = CreateList(form, listName);
    Attach(XtParent(*list)).Left(ToForm()).Right(ToForm()).Top(ToWidget(*add)).Bottom(ToForm());
    XtAddCallback(*list, XmNsingleSelectionCallback, NameListCallback, this);
    XtAddCallback(*list, XmNdefaultActionCallback, NameListCallback, this);
    return form;
}

// The three name columns over the rename row.
void ALogicModifyWindow::BuildNameColumns(Widget dataFrame) {
    Widget dataForm = XtVaCreateManagedWidget("data_form", xmFormWidgetClass, dataFrame,
                                              XmNfractionBase, 3, nullptr);
    renameLabel = CreateLabel(dataForm, "Change Name: ");
    renameField = XtVaCreateManagedWidget("Text", xmTextFieldWidgetClass, dataForm, XmNmaxLength,
                                          kRenameLength, nullptr);
    Attach(renameLabel).Left(ToForm()).Top(ToOppositeWidget(renameField)).Bottom(ToForm());
    Attach(renameField).Left(ToWidget(renameLabel)).Right(ToForm()).Bottom(ToForm());
    XtAddCallback(renameField, XmNmodifyVerifyCallback, RenameVerifyCallback, this);
    XtAddCallback(renameField, XmNactivateCallback, RenameCallback, this);
    KeepReturnInField(renameField); // Return renames; it does not press OK
    CreateNameColumn(dataForm, "ext_form", "ext_list", "External Data:", 0, renameField, &extAdd,
                     AddExtCallback, &extDel, DelExtCallback, &ext_list);
    CreateNameColumn(dataForm, "int_form", "int_list", "Internal Data:", 1, renameField, &intAdd,
                     AddIntCallback, &intDel, DelIntCallback, &int_list);
    CreateNameColumn(dataForm, "dat_form", "dat_list", "Input/Output Data:", 2, renameField,
                     &changeDimension, ChangeDimensionCallback, nullptr, nullptr, &dat_list);
}

// The equations: title, buttons and toggle, the list, the Edit row.
void ALogicModifyWindow::BuildEquations(Widget equFrame) {
    Widget equForm = XtVaCreateManagedWidget("equ_form", xmFormWidgetClass, equFrame, nullptr);
    Widget equTitle = CreateLabel(equForm, "Equations:");
    Attach(equTitle).Left(ToForm()).Top(ToForm());
    equAdd = CreateButton(equForm, " Add ", AddEquationCallback, this);
    equDel = CreateButton(equForm, " Del ", DelEquationCallback, this);
    upButton = CreateButton(equForm, " Up ", UpCallback, this);
    downButton = CreateButton(equForm, " Down ", DownCallback, this);
    Attach(equAdd).Left(ToForm()).Top(ToWidget(equTitle));
    Attach(equDel).Left(ToWidget(equAdd)).Top(ToWidget(equTitle));
    Attach(upButton).Left(ToWidget(equDel, 8)).Top(ToWidget(equTitle));
    Attach(downButton).Left(ToWidget(upButton)).Top(ToWidget(equTitle));
    OwnedXmString parallelText("Compute in parallel ");
    parallelToggle = XtVaCreateManagedWidget("Compute in parallel ", xmToggleButtonWidgetClass,
                                             equForm, XmNlabelString, parallelText.Get(), XmNset,
                                             workingCopy->GetComputeParallel() ? True : False,
                                             XmNtraversalOn, False, nullptr);
    Attach(parallelToggle).Right(ToForm()).Top(ToOppositeWidget(equAdd));
    XtAddCallback(parallelToggle, XmNvalueChangedCallback, ParallelCallback, this);

    Widget editLabel = CreateLabel(equForm, "Edit: ");
    editField = XtVaCreateManagedWidget("Text", xmTextFieldWidgetClass, equForm, XmNmaxLength,
                                        kMaxEquationLength, nullptr);
    Attach(editLabel).Left(ToForm()).Top(ToOppositeWidget(editField)).Bottom(ToForm());
    Attach(editField).Left(ToWidget(editLabel)).Right(ToForm()).Bottom(ToForm());
    XtAddCallback(editField, XmNactivateCallback, EditCallback, this);
    KeepReturnInField(editField); // Return takes the equation; it does not press OK

    equ_list = CreateList(equForm, "equ_list");
    equScrolled = XtParent(equ_list);
    // The list asks for the window's stored size; the form gives it what is left.
    if (width != 0) XtVaSetValues(equScrolled, XmNwidth, static_cast<Dimension>(width), nullptr);
    if (height != 0) {
        XtVaSetValues(equScrolled, XmNheight, static_cast<Dimension>(height), nullptr);
    }
    Attach(equScrolled)
        .Left(ToForm())
        .Right(ToForm())
        .Top(ToWidget(equAdd))
        .Bottom(ToWidget(editField, 4));
    XtAddCallback(equ_list, XmNsingleSelectionCallback, EquationListCallback, this);
    XtAddCallback(equ_list, XmNdefaultActionCallback, EquationListCallback, this);
}

void ALogicModifyWindow::BuildWidgets() {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);

    Widget footerFrame = XtVaCreateManagedWidget("FooterFrame", xmFrameWidgetClass, form, nullptr);
    OwnedXmString blank(" ");
    footerLabel = XtVaCreateManagedWidget("footer_label", xmLabelGadgetClass, footerFrame,
                                          XmNlabelString, blank.Get(), XmNalignment,
                                          XmALIGNMENT_BEGINNING, XmNmarginLeft, 8, nullptr);
    const ActionAreaRow rows[] = {
        {" OK ", OkCallback, this},
        {" Apply ", ApplyCallback, this},
        {" Cancel ", CancelCallback, this},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));
    WidgetList buttons = nullptr;
    XtVaGetValues(actionArea, XmNchildren, &buttons, nullptr);
    okButton = buttons[0];
    applyButton = buttons[1];
    cancelButton = buttons[2];

    Widget insertForm = XtVaCreateManagedWidget("insert_form", xmFormWidgetClass, form, nullptr);
    Widget dataFrame = XtVaCreateManagedWidget(
        "data_frame", xmFrameWidgetClass, insertForm, XmNmarginWidth, 6, XmNmarginHeight, 6,
        XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment,
        XmATTACH_FORM, XmNbottomAttachment, XmATTACH_POSITION, XmNbottomPosition, 55, nullptr);
    Widget equFrame = XtVaCreateManagedWidget(
        "equ_frame", xmFrameWidgetClass, insertForm, XmNmarginWidth, 6, XmNmarginHeight, 6,
        XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment,
        XmATTACH_POSITION, XmNtopPosition, 55, XmNbottomAttachment, XmATTACH_FORM, nullptr);

    BuildNameColumns(dataFrame);
    BuildEquations(equFrame);

    // Bottom up: the footer, the action area; the lists take the rest.
    Attach(footerFrame).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(footerFrame));
    Attach(insertForm).Left(ToForm()).Right(ToForm()).Top(ToForm()).Bottom(ToWidget(actionArea));

    EqualizeWidths({extAdd, extDel, intAdd, intDel, equAdd, equDel});
    EqualizeWidths({upButton, downButton});
    for (Widget off : {extDel, intDel, equDel, upButton, downButton, okButton, applyButton,
                       renameLabel, renameField}) {
        XtSetSensitive(off, False);
    }
    XtManageChild(form);
    Show();
}

void ALogicModifyWindow::SetFieldText(Widget field, const char* text) {
    settingText = true;
    XmTextFieldSetString(field, const_cast<char*>(text));
    settingText = false;
}

bool ALogicModifyWindow::RenameAccepts(char first) {
    return std::strchr(" !&()=^{|}~", first) == nullptr || first == '\0';
}

void ALogicModifyWindow::ShowDimension() {
    SetLabel(footerLabel, "Dimension: " + std::to_string(peDimX) + "x" + std::to_string(peDimY));
}

void ALogicModifyWindow::ShowCoordinates(Widget list, int position) {
    if (position < 1) {
        ShowDimension();
        return;
    }
    std::string text = "Dimension: " + std::to_string(peDimX) + "x" + std::to_string(peDimY) +
                       "   Coordinates of last selected element: ";
    if (list == dat_list) {
        const int y = peDimY > 0 ? peDimY : 1;
        text += std::to_string((position - 1) / y) + "," + std::to_string((position - 1) % y);
    } else {
        text += std::to_string(position - 1);
    }
    SetLabel(footerLabel, text);
}

Widget ALogicModifyWindow::DelButtonOf(Widget list) const {
    if (list == ext_list) return extDel;
    if (list == int_list) return intDel;
    return nullptr;
}

int* ALogicModifyWindow::LastSelectedOf(Widget list) {
    if (list == ext_list) return &lastExt;
    if (list == int_list) return &lastInt;
    return &lastDat;
}

void ALogicModifyWindow::UpdateUpDown() {
    const int count = ItemCount(equ_list);
    XtSetSensitive(upButton, currentEquation > 1 ? True : False);
    XtSetSensitive(downButton, currentEquation >= 1 && currentEquation < count ? True : False);
}

void ALogicModifyWindow::SelectEquation(int position) {
    SelectQuietly(equ_list, position);
}

void ALogicModifyWindow::DropRename() {
    SetFieldText(renameField, " ");
    XtSetSensitive(renameField, False);
    XtSetSensitive(renameLabel, False);
}

void ALogicModifyWindow::Load() {
    XtSetSensitive(okButton, True);
    XtSetSensitive(applyButton, True);
    XtSetSensitive(equDel, True);
    peDimX = workingCopy->GetPEX();
    peDimY = workingCopy->GetPEY();
    lastExt = workingCopy->GetExternalCount();
    lastInt = workingCopy->GetInternalCount();
    lastDat = workingCopy->GetPEDataCount();
    renameList = nullptr;
    renamePosition = 0;
    ResetExternalBase();
    const std::pair<Widget, const std::vector<std::string>*> names[] = {
        {ext_list, &workingCopy->GetExternalNames()},
        {int_list, &workingCopy->GetInternalNames()},
    };
    for (const auto& entry : names) {
        SetItems(entry.first, *entry.second);
        const int count = ItemCount(entry.first);
        if (count == 0) continue;
        XtSetSensitive(DelButtonOf(entry.first), True);
        SelectQuietly(entry.first, count);
        ShowPosition(entry.first, count);
    }
    SetItems(dat_list, workingCopy->GetPEDataNames());
    if (ItemCount(dat_list) > 0) XmListSetBottomPos(dat_list, 0);
    SetItems(equ_list, workingCopy->GetEquations());
    const int equations = ItemCount(equ_list);
    currentEquation = equations;
    if (equations > 0) {
        SelectEquation(equations);
        ShowPosition(equ_list, equations);
        XmTextFieldSetString(editField, const_cast<char*>(ItemAt(equ_list, equations).c_str()));
    }
    UpdateUpDown();
    XmToggleButtonSetState(parallelToggle, workingCopy->GetComputeParallel() ? True : False, False);
    ShowDimension();
}

void ALogicModifyWindow::ResetExternalBase() {
    const Matrix* external = workingCopy->GetExternalData();
    externalBase = external != nullptr ? std::make_unique<Matrix>(*external) : nullptr;
    extColumns.resize(static_cast<size_t>(workingCopy->GetExternalCount()));
    std::iota(extColumns.begin(), extColumns.end(), 0);
}

void ALogicModifyWindow::ClearAll() {
    for (Widget list : {ext_list, int_list, dat_list, equ_list})
        XmListDeleteAllItems(list);
    SetFieldText(renameField, " ");
    XmTextFieldSetString(editField, const_cast<char*>(" "));
    for (Widget off : {extDel, intDel, renameLabel, renameField, equDel, okButton, applyButton,
                       upButton, downButton}) {
        XtSetSensitive(off, False);
    }
    renameList = nullptr;
    renamePosition = 0;
    extColumns.clear();
    externalBase.reset();
    lastExt = lastInt = lastDat = 0;
    currentEquation = 0;
    SetLabel(footerLabel, " ");
}

void ALogicModifyWindow::RefreshModifyWindow() {
    // The copy was read anew: its names are no longer the element's.
    baseIsElements = false;
    ClearAll();
    if (workingCopy->GetPEX() != 0 && workingCopy->GetPEY() != 0 &&
        workingCopy->GetEquationCount() > 0) {
        Load();
    } else {
        OpenDimensionDialog(true);
    }
}

void ALogicModifyWindow::ChangeDimension() {
    OpenDimensionDialog(workingCopy->GetPEX() == 0 || workingCopy->GetPEY() == 0);
}

void ALogicModifyWindow::OpenDimensionDialog(bool first) {
    // One question at a time.
    if (peDialog != nullptr) return;
    peDialog = new ModifyTwoValuesDialog(
        shell, first ? "PE-Dimension" : "Alter PE-Dimension", "X-Dimension:", first ? 0 : peDimX, 1,
        workingCopy->GetWidth(), "Y-Dimension:", first ? 0 : peDimY, 1, workingCopy->GetHeight(),
        DimensionResultCallback, this, 1);
    if (peDialog->GetShell() != nullptr) {
        XtAddCallback(peDialog->GetShell(), XmNdestroyCallback, DialogDestroyedCallback, this);
    }
}

void ALogicModifyWindow::ForgetDimensionDialog() {
    if (peDialog != nullptr && peDialog->GetShell() != nullptr) {
        XtRemoveCallback(peDialog->GetShell(), XmNdestroyCallback, DialogDestroyedCallback, this);
    }
    peDialog = nullptr;
}

void ALogicModifyWindow::DialogDestroyedCallback(Widget, XtPointer self, XtPointer) {
    // The dialog went with its shell; it deletes itself.
    Self(self)->peDialog = nullptr;
}

void ALogicModifyWindow::DimensionResult(int cancelled, int x, int y) {
    // The dialog deletes itself after this answer.
    ForgetDimensionDialog();
    if (cancelled) {
        // Without a PE dimension there is nothing to edit.
        if (ItemCount(dat_list) == 0) delete this;
        return;
    }
    peDimX = x;
    peDimY = y;
    RebuildPEData();
}

void ALogicModifyWindow::RebuildPEData() {
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(peDimX) * static_cast<size_t>(peDimY));
    for (int x = 0; x < peDimX; x++) {
        for (int y = 0; y < peDimY; y++)
            names.push_back("d[" + std::to_string(x) + "," + std::to_string(y) + "]");
    }
    XtSetSensitive(renameLabel, False);
    XtSetSensitive(renameField, False);
    XtSetSensitive(extDel, ItemCount(ext_list) > 0 ? True : False);
    XtSetSensitive(intDel, ItemCount(int_list) > 0 ? True : False);
    if (renameList == dat_list) SetFieldText(renameField, " ");
    SetItems(dat_list, names);
    const int count = ItemCount(dat_list);
    if (count > 0) {
        // Offered for renaming as by a click.
        XmListSelectPos(dat_list, count, True);
        ShowPosition(dat_list, count);
    }
    ShowDimension();
}

void ALogicModifyWindow::AddName(Widget list) {
    const int count = ItemCount(list);
    if (count == 0) XtSetSensitive(DelButtonOf(list), True);
    const char* prefix = list == ext_list ? "e[" : "i[";
    std::string name;
    for (long n = count;; n++) {
        name = prefix + std::to_string(n) + "]";
        if (!HasItem(list, name)) break;
    }
    AppendItem(list, name);
    if (list == ext_list) extColumns.push_back(-1);
    // Offered for renaming as by a click.
    XmListSelectPos(list, count + 1, True);
    ShowPosition(list, count + 1);
}

void ALogicModifyWindow::DeleteName(Widget list) {
    const int p = SelectedPosition(list);
    if (p == 0) return;
    const int count = ItemCount(list);
    const int q = p == 1 ? count - 1 : p - 1;
    XmListDeletePos(list, p);
    if (list == ext_list && static_cast<size_t>(p) <= extColumns.size()) {
        extColumns.erase(extColumns.begin() + (p - 1));
    }
    SelectQuietly(list, q);
    ScrollLeft(list);
    // An open rename of any list is dropped: the field would otherwise rename item q of this
    // list with the text of another item.
    DropRename();
    renameList = list;
    renamePosition = q;
    *LastSelectedOf(list) = q;
    ShowCoordinates(list, q);
    if (q == 0) {
        if (Widget del = DelButtonOf(list)) XtSetSensitive(del, False);
    } else {
        ShowPosition(list, q);
    }
}

void ALogicModifyWindow::NameSelected(Widget list, int position, bool doubleClick) {
    ScrollLeft(list);
    // A click on the selected item keeps it selected.
    SelectQuietly(list, position);
    renameList = list;
    renamePosition = position;
    *LastSelectedOf(list) = position;
    const std::string name = ItemAt(list, position);
    SetFieldText(renameField, name.c_str());
    XtSetSensitive(renameField, True);
    XtSetSensitive(renameLabel, True);
    bool tooLong = false;
    if (doubleClick) {
        const std::string text = TextOf(editField);
        if (text.size() + name.size() <= static_cast<size_t>(kMaxEquationLength)) {
            XmTextFieldSetString(editField, const_cast<char*>((text + name).c_str()));
            XmTextFieldSetInsertionPosition(editField, XmTextFieldGetLastPosition(editField));
            Focus(editField);
        } else {
            SetLabel(footerLabel, kTooLong);
            tooLong = true;
        }
    } else {
        Focus(renameField);
    }
    if (!tooLong) ShowCoordinates(list, position);
}

void ALogicModifyWindow::Rename() {
    std::string name = TextOf(renameField);
    RemoveBlanks(name);
    if (name.empty()) return;
    const int count = renameList != nullptr ? ItemCount(renameList) : 0;
    const bool taken =
        HasItem(ext_list, name) || HasItem(int_list, name) || HasItem(dat_list, name);
    if (renamePosition < 1 || renamePosition > count || taken ||
        !D_LogicElem::IsValidName(name.c_str())) {
        RingBell(XtDisplay(renameField));
        return;
    }
    ReplaceItem(renameList, renamePosition, name);
    SelectQuietly(renameList, renamePosition);
    DropRename();
}

void ALogicModifyWindow::EquationSelected(int position) {
    ScrollLeft(equ_list);
    // A click on the current equation keeps it selected.
    SelectEquation(position);
    currentEquation = position;
    UpdateUpDown();
    XmTextFieldSetString(editField, const_cast<char*>(ItemAt(equ_list, position).c_str()));
    Focus(editField);
    ShowDimension();
}

void ALogicModifyWindow::AddEquation() {
    const std::string text = TextOf(editField);
    std::string stripped = text;
    RemoveBlanks(stripped);
    if (stripped.empty()) return;
    if (text.size() > static_cast<size_t>(kMaxEquationLength)) {
        RingBell(XtDisplay(editField));
        return;
    }
    const int count = ItemCount(equ_list);
    if (count == 0) {
        XtSetSensitive(equDel, True);
        XtSetSensitive(okButton, True);
        XtSetSensitive(applyButton, True);
    }
    if (HasItem(equ_list, text)) {
        RingBell(XtDisplay(editField));
    } else {
        // New equations go at the end, as new names do.
        AppendItem(equ_list, text);
        currentEquation = count + 1;
        SelectEquation(currentEquation);
    }
    ShowPosition(equ_list, currentEquation);
    Focus(editField);
    UpdateUpDown();
}

void ALogicModifyWindow::DeleteEquation() {
    const int p = SelectedPosition(equ_list);
    if (p == 0) return;
    const int count = ItemCount(equ_list);
    currentEquation = p == 1 ? count - 1 : p - 1;
    XmListDeletePos(equ_list, p);
    SelectEquation(currentEquation);
    ScrollLeft(equ_list);
    UpdateUpDown();
    if (count - 1 == 0) {
        XtSetSensitive(equDel, False);
        XtSetSensitive(okButton, False);
        XtSetSensitive(applyButton, False);
    } else {
        ShowPosition(equ_list, currentEquation);
    }
    Focus(editField);
}

void ALogicModifyWindow::MoveEquationUp() {
    const int count = ItemCount(equ_list);
    if (currentEquation <= 1 || currentEquation > count) return;
    const std::string above = ItemAt(equ_list, currentEquation - 1);
    const std::string moved = ItemAt(equ_list, currentEquation);
    ReplaceItem(equ_list, currentEquation - 1, moved);
    ReplaceItem(equ_list, currentEquation, above);
    currentEquation--;
    SelectEquation(currentEquation);
    UpdateUpDown();
    ShowPosition(equ_list, currentEquation);
}

void ALogicModifyWindow::MoveEquationDown() {
    const int count = ItemCount(equ_list);
    if (currentEquation < 1 || currentEquation >= count) return;
    const std::string below = ItemAt(equ_list, currentEquation + 1);
    const std::string moved = ItemAt(equ_list, currentEquation);
    ReplaceItem(equ_list, currentEquation + 1, moved);
    ReplaceItem(equ_list, currentEquation, below);
    currentEquation++;
    SelectEquation(currentEquation);
    UpdateUpDown();
    ShowPosition(equ_list, currentEquation);
}

void ALogicModifyWindow::EditEntered() {
    const std::string text = TextOf(editField);
    if (text.empty()) return;
    if (text.size() > static_cast<size_t>(kMaxEquationLength)) {
        RingBell(XtDisplay(editField));
        return;
    }
    const int count = ItemCount(equ_list);
    if (count > 0) {
        if (HasItem(equ_list, text) || currentEquation < 1 || currentEquation > count) {
            RingBell(XtDisplay(editField));
        } else {
            ReplaceItem(equ_list, currentEquation, text);
        }
    } else {
        AppendItem(equ_list, text);
        currentEquation = 1;
        XtSetSensitive(equDel, True);
        XtSetSensitive(okButton, True);
        XtSetSensitive(applyButton, True);
    }
    SelectEquation(currentEquation);
    UpdateUpDown();
}

void ALogicModifyWindow::ParallelChanged(int set) {
    workingCopy->SetComputeParallel(set);
}

bool ALogicModifyWindow::Store() {
    if (!workingCopy->SetPEDimension(peDimX, peDimY)) return false;
    workingCopy->SetPEDataNames(Items(dat_list));
    // The bits are the external-data window's business: what it applied since the copy was
    // taken is kept. Each name keeps its own column.
    const Matrix* from = externalBase.get();
    ALogicElem* logic = dynamic_cast<ALogicElem*>(element);
    if (logic != nullptr && baseIsElements && from != nullptr) {
        const Matrix* current = logic->GetData().GetExternalData();
        if (current != nullptr && current->GetDimX() == from->GetDimX() &&
            (externalSnapshot == nullptr || *current != *externalSnapshot)) {
            from = current;
        }
    }
    workingCopy->SetExternalNames(Items(ext_list), from, extColumns);
    workingCopy->SetInternalNames(Items(int_list));
    workingCopy->SetEquations(Items(equ_list));
    return true;
}

bool ALogicModifyWindow::Prepare() {
    ShowDimension();
    if (ItemCount(equ_list) == 0) return false;
    if (!Store()) {
        RingBell(XtDisplay(shell));
        return false;
    }
    return workingCopy->CompileEquations() == kLogicCompiled;
}

void ALogicModifyWindow::OkPressed() {
    if (Prepare()) Ok();
}

void ALogicModifyWindow::ApplyPressed() {
    if (Prepare()) Apply();
}

void ALogicModifyWindow::StoreCopy() {
    // Reached through the element: a load may have replaced its data.
    ALogicElem* logic = dynamic_cast<ALogicElem*>(element);
    if (logic == nullptr) {
        if (logicData != nullptr) *logicData = *workingCopy;
        return;
    }
    logic->GetData() = *workingCopy;
    const Matrix* external = logic->GetData().GetExternalData();
    externalSnapshot = external != nullptr ? std::make_unique<Matrix>(*external) : nullptr;
    // The external-data window's columns are the element's old ones: its edits not yet applied
    // follow their names as the stored bits did. Names of data read into the copy have none.
    const std::vector<int> moved = baseIsElements ? extColumns : std::vector<int>();
    // The element now holds the list's names in list order.
    baseIsElements = true;
    ResetExternalBase();
    logic->UpdateExternalDataWindow(moved);
    logic->RedrawShowDataWindows();
}

void ALogicModifyWindow::ShowEquationError(const char* message, int equation, int position) {
    const int item = equation + 1;
    if (item >= 1 && item <= ItemCount(equ_list)) {
        SelectEquation(item);
        currentEquation = item;
        const std::vector<std::string>& equations = workingCopy->GetEquations();
        const char* text = equation < static_cast<int>(equations.size())
                               ? equations[static_cast<size_t>(equation)].c_str()
                               : "";
        XmTextFieldSetString(editField, const_cast<char*>(text));
        ShowPosition(equ_list, item);
        XmTextFieldSetInsertionPosition(editField, position);
        Focus(editField);
        UpdateUpDown();
    }
    SetLabel(footerLabel, message != nullptr ? message : " ");
}
