#include "shell/LibraryWindow.h"

#include <Xm/AtomMgr.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/PanedW.h>
#include <Xm/Protocols.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/elements/LibraryColumn.h"
#include "model/format/FileKind.h"
#include "model/format/ParseError.h"
#include "shell/ArchitectureFile.h"
#include "shell/DragContext.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/MenuCommand.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WorkingAreaInput.h"
#include "toolkit/Colors.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/WindowManagerHints.h"

namespace {

const CommandHandler OpenLibraryFile = OpenFileCommand<kLibraryFile>;
const CommandHandler SaveLibraryFile = SaveFileCommand<kLibraryFile>;
const CommandHandler SaveLibraryFileAs = SaveFileAsCommand<kLibraryFile>;

// The rows are given to the library window's bar alone.
void CloseLibraryWindow(ArchitectureWindow& window) {
    static_cast<LibraryWindow&>(window).Hide();
}

const MenuRow kLibraryMenuRows[] = {
    {kMenuCascade, "Library", "L", nullptr, kNoToggle},
    {kMenuPush, "Open...", "O", OpenLibraryFile, kNoToggle},
    {kMenuPush, "Save...", "S", SaveLibraryFile, kNoToggle},
    {kMenuPush, "Save As...", "A", SaveLibraryFileAs, kNoToggle},
    {kMenuSeparator, "", "", nullptr, kNoToggle},
    {kMenuPush, "Close", "C", CloseLibraryWindow, kNoToggle},
};

enum ElementPopupItem { kPopupModify = 0, kPopupSetName = 1, kPopupDelete = 2 };

// A mnemonic as the simple-menu builders read it from their variable arguments.
KeySym Key(char c) {
    return static_cast<KeySym>(static_cast<unsigned char>(c));
}

XtPointer MenuUserData(Widget button) {
    XtPointer data = nullptr;
    Widget menu = XtParent(button);
    if (menu != nullptr) XtVaGetValues(menu, XmNuserData, &data, nullptr);
    return data;
}

void LibraryPopupCallback(Widget button, XtPointer item, XtPointer) {
    // The window's commands of the entries, in menu order.
    static const CommandHandler kEntryCommands[] = {OpenLibraryFile, SaveLibraryFile,
                                                    SaveLibraryFileAs};
    auto* library = static_cast<LibraryWindow*>(MenuUserData(button));
    const intptr_t entry = reinterpret_cast<intptr_t>(item);
    if (library == nullptr || entry < 0 || entry >= static_cast<intptr_t>(XtNumber(kEntryCommands)))
        return;
    RunWindowCommand(*library, kEntryCommands[entry]);
}

void ElementPopupCallback(Widget button, XtPointer item, XtPointer) {
    auto* element = static_cast<AElement*>(MenuUserData(button));
    if (element == nullptr) return;
    switch (static_cast<int>(reinterpret_cast<intptr_t>(item))) {
        case kPopupModify:
            element->OpenModifyWindow();
            break;
        case kPopupSetName:
            element->OpenSetNameDialog();
            break;
        case kPopupDelete:
            if (auto* library = dynamic_cast<LibraryWindow*>(element->GetOwner())) {
                library->RemoveFromLibrary(element);
            }
            break;
        default:
            break;
    }
}

void AreaExposeCallback(Widget, XtPointer window, XtPointer callData) {
    auto* data = static_cast<XmDrawingAreaCallbackStruct*>(callData);
    // Only the last exposure of a series redraws.
    if (data != nullptr && data->event != nullptr && data->event->type == Expose &&
        data->event->xexpose.count != 0) {
        return;
    }
    static_cast<LibraryWindow*>(window)->RedrawContents(0);
}

void AreaEventHandler(Widget area, XtPointer window, XEvent* event, Boolean*) {
    if (event != nullptr) static_cast<LibraryWindow*>(window)->HandleAreaEvent(area, *event);
}

void ClipResizeCallback(Widget clip, XtPointer window, XtPointer) {
    Dimension width = 0, height = 0;
    XtVaGetValues(clip, XmNwidth, &width, XmNheight, &height, nullptr);
    static_cast<LibraryWindow*>(window)->ResizeArea(width, height);
}

void CloseCallback(Widget, XtPointer window, XtPointer) {
    static_cast<LibraryWindow*>(window)->Hide();
}

void SetLightGrayClip(Widget scrolled) {
    Widget clip = nullptr;
    XtVaGetValues(scrolled, XmNclipWindow, &clip, nullptr);
    if (clip != nullptr) XtVaSetValues(clip, XmNbackground, GetLightGray(), nullptr);
}

AElement* PaletteElementAt(PtrArray<AElement>& palette, int x, int y) {
    for (int i = 0; i < palette.GetCount(); i++) {
        if (palette[i]->Contains(x, y)) return palette[i];
    }
    return nullptr;
}

// Every plane of the element becomes width by height, with fresh stock data for that size.
void SetPlanesAndData(AElement& element, int width, int height) {
    for (int i = 0; i < element.GetInputCount(); i++)
        element.SetInputPlaneSize(i, width, height);
    for (int i = 0; i < element.GetOutputCount(); i++)
        element.SetOutputPlaneSize(i, width, height);
    element.CreateData();
}

} // namespace

LibraryWindow::LibraryWindow(MainWindow* mainWindow)
    : owner(mainWindow), shell(nullptr), paletteScroll(nullptr), libraryScroll(nullptr),
      paletteArea(nullptr), libraryPopup(nullptr), elementPopup(nullptr), paletteWidth(0),
      paletteHeight(0), shown(0), attached(false), lastUnderPointer(nullptr) {
    windowKind = kLibraryWindowKind;
    SetTitleWord("Elements");
    CreateWidgets();
    CreatePalette();
    CreatePopupMenus();
    RegisterLibraryDropSite(cadArea);
}

LibraryWindow::~LibraryWindow() {
    if (libraryPopup != nullptr) XtDestroyWidget(libraryPopup);
    if (elementPopup != nullptr) XtDestroyWidget(elementPopup);
    DeletePalette();
    if (shell != nullptr) XtDestroyWidget(shell);
    cadArea = nullptr;
    form = nullptr;
}

void LibraryWindow::CreateWidgets() {
    Widget top = owner != nullptr ? owner->GetShell() : GetTopLevelShell();
    if (top == nullptr) return;
    shell = XtVaCreatePopupShell("ElementList", transientShellWidgetClass, top, XmNtitle,
                                 "Elements", XmNmwmDecorations, kWindowDecorations, XmNmwmFunctions,
                                 kWindowFunctions, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    windowShell = shell;
    const Atom deleteWindow =
        XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, deleteWindow, CloseCallback, this);
    form = XtVaCreateWidget("form", xmFormWidgetClass, shell, nullptr);
    Widget menuBar =
        CreateMenuBar(form, kLibraryMenuRows, XtNumber(kLibraryMenuRows), this, commandWidgets);
    Attach(menuBar).Top(ToForm()).Left(ToForm()).Right(ToForm());
    Widget paned = XtVaCreateManagedWidget(
        "panedw", xmPanedWindowWidgetClass, form, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget,
        menuBar, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM, nullptr);
    paletteScroll = XtVaCreateManagedWidget(
        "e_scrollw", xmScrolledWindowWidgetClass, paned, XmNheight, 430, XmNwidth, 103,
        XmNscrollingPolicy, XmAUTOMATIC, XmNscrollBarDisplayPolicy, XmSTATIC, nullptr);
    SetLightGrayClip(paletteScroll);
    paletteArea =
        XtVaCreateManagedWidget("draw_elem", xmDrawingAreaWidgetClass, paletteScroll, XmNbackground,
                                GetLightGray(), XmNuserData, static_cast<XtPointer>(this), nullptr);
    libraryScroll = XtVaCreateManagedWidget("m_scrollw", xmScrolledWindowWidgetClass, paned,
                                            XmNheight, 200, XmNscrollingPolicy, XmAUTOMATIC,
                                            XmNscrollBarDisplayPolicy, XmSTATIC, nullptr);
    SetLightGrayClip(libraryScroll);
    Widget clip = nullptr;
    XtVaGetValues(libraryScroll, XmNclipWindow, &clip, nullptr);
    if (clip != nullptr && XtHasCallbacks(clip, XmNresizeCallback) != XtCallbackNoList) {
        XtAddCallback(clip, XmNresizeCallback, ClipResizeCallback, this);
    }
    cadArea = XtVaCreateManagedWidget("draw_makro", xmDrawingAreaWidgetClass, libraryScroll,
                                      XmNwidth, 200, XmNheight, 200, XmNbackground, GetLightGray(),
                                      XmNuserData, static_cast<XtPointer>(this), nullptr);
    for (Widget area : {paletteArea, cadArea}) {
        XtAddCallback(area, XmNexposeCallback, AreaExposeCallback, this);
        XtAddEventHandler(area, ButtonPressMask | PointerMotionMask | ButtonMotionMask, False,
                          AreaEventHandler, this);
    }
    XtManageChild(form);
}

void LibraryWindow::CreatePopupMenus() {
    if (cadArea == nullptr) {
        std::cerr << "LibraryWindow::CreatePopupMenus: no library area" << std::endl;
        std::exit(200);
    }
    OwnedXmString library("Library"), open("Open..."), save("Save..."), saveAs("Save As...");
    libraryPopup = XmVaCreateSimplePopupMenu(
        cadArea, const_cast<char*>("lib_popup"), LibraryPopupCallback, XmVaTITLE, library.Get(),
        XmVaDOUBLE_SEPARATOR, XmVaPUSHBUTTON, open.Get(), Key('O'), nullptr, nullptr,
        XmVaPUSHBUTTON, save.Get(), Key('S'), nullptr, nullptr, XmVaPUSHBUTTON, saveAs.Get(),
        Key('A'), nullptr, nullptr, nullptr);
    OwnedXmString item("Library-Item"), modify("Modify..."), name("Set Name..."), remove("Delete");
    elementPopup = XmVaCreateSimplePopupMenu(
        cadArea, const_cast<char*>("libelem_popup"), ElementPopupCallback, XmVaTITLE, item.Get(),
        XmVaDOUBLE_SEPARATOR, XmVaPUSHBUTTON, modify.Get(), Key('M'), nullptr, nullptr,
        XmVaPUSHBUTTON, name.Get(), Key('N'), nullptr, nullptr, XmVaSEPARATOR, XmVaPUSHBUTTON,
        remove.Get(), Key('D'), nullptr, nullptr, nullptr);
}

void LibraryWindow::Redraw(int clear, int, int, int, int) {
    RedrawContents(clear);
}

int LibraryWindow::AskClear() {
    return AskSaveModified(shell, "Library", "Library has been modified!\nDo you want to save it ?",
                           kLibraryFile, shell);
}

int LibraryWindow::Read(std::istream& in, FileArgument*) {
    if (!QueryClear()) {
        didRead = 0;
        return kNoError;
    }
    didRead = 1;
    const int result = ReadArchitectureBody(*this, in, 0);
    // Whatever was read, also before an error, is stacked by position and bound to the area, so
    // that no element is left without a place or a window to draw on.
    PtrArray<AElement> read = GetElements();
    SortByPosition(read);
    GetElements().Reset();
    for (int i = 0; i < read.GetCount(); i++)
        AddToLibrary(read[i]);
    RedrawContents(1);
    if (result == kNoError) ClearModified();
    return result;
}

void LibraryWindow::Show() {
    shown = 1;
    if (shell != nullptr) {
        XtManageChild(form);
        XtPopup(shell, XtGrabNone);
    }
    if (owner != nullptr) owner->SetToggle(kCommandElementList, 1);
}

void LibraryWindow::Hide() {
    shown = 0;
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        elements[i]->CloseModifyWindow();
    if (shell != nullptr) XtPopdown(shell);
    if (owner != nullptr) owner->SetToggle(kCommandElementList, 0);
}

int LibraryWindow::AddToLibrary(AElement* element) {
    if (element == nullptr) return 1;
    for (int i = 0; i <= element->GetOutputCount(); i++)
        element->CloseShowDataWindow(i);
    element->CloseModifyWindow();
    InsertIntoColumn(GetElements(), *element);
    element->SetOwner(this);
    ResizeToContents();
    SetModified();
    RedrawContents(0);
    return 1;
}

void LibraryWindow::RemoveFromLibrary(AElement* element) {
    if (element == nullptr || GetElements().Find(element) < 0) return;
    ForgetWorkingAreaElement(element);
    if (lastUnderPointer == element) lastUnderPointer = nullptr;
    GetElements().Remove(element);
    delete element;
    RestackColumn(GetElements());
    ResizeToContents();
    SetModified();
    RedrawContents(1);
}

void LibraryWindow::CreatePalette() {
    palette.Reset();
    // Stock elements stand for their types only: built at one cell, their planes and stock data
    // (an all-ones MASK, RULE and S-SEED states) cost nothing whatever the default plane size.
    // Constructors build planes at the default size, so it is one cell while they run.
    int width, height;
    AElement::GetDefaultPlaneSize(width, height);
    AElement::SetDefaultPlaneSize(1, 1);
    int y = kColumnGap;
    int right = 0;
    // One element of each type the palette offers, in list order.
    for (const ElementRow& row : ElementRows()) {
        // A type whose element class is not part of the program has no palette entry.
        if (!row.inPalette || row.make == nullptr) continue;
        AElement* element = row.make(this, 0, 0);
        SetPlanesAndData(*element, 1, 1);
        element->SetPosition(kColumnX, y);
        y += element->GetHeight() + kColumnGap;
        right = std::max(right, element->GetX() + element->GetWidth());
        palette.Add(element);
    }
    AElement::SetDefaultPlaneSize(width, height);
    paletteWidth = right + kColumnGap;
    paletteHeight = y;
    if (paletteArea != nullptr) {
        XtVaSetValues(paletteArea, XmNwidth, static_cast<Dimension>(paletteWidth), XmNheight,
                      static_cast<Dimension>(paletteHeight), nullptr);
    }
    if (attached) {
        for (int i = 0; i < palette.GetCount(); i++)
            palette[i]->SetOwner(this, WidgetTarget(paletteArea));
    }
}

void LibraryWindow::DeletePalette() {
    while (palette.GetCount() > 0) {
        AElement* element = palette[0];
        palette.Remove(element);
        ForgetWorkingAreaElement(element);
        if (lastUnderPointer == element) lastUnderPointer = nullptr;
        delete element;
    }
}

void LibraryWindow::RebuildPalette() {
    DeletePalette();
    CreatePalette();
    for (int i = 0; i < palette.GetCount(); i++)
        palette[i]->SetOwner(this, WidgetTarget(paletteArea));
    RedrawContents(1);
}

AElement* LibraryWindow::TakeFromPalette(AElement& stock) {
    AElement* element = AElement::Clone(stock);
    // HELP is never copied, and it has no planes.
    if (element == &stock) return element;
    int width, height;
    AElement::GetDefaultPlaneSize(width, height);
    SetPlanesAndData(*element, width, height);
    return element;
}

void LibraryWindow::ApplyDefaultTimes() {
    for (int i = 0; i < palette.GetCount(); i++) {
        palette[i]->SetTime(GetDefaultTime(palette[i]->GetType()));
    }
}

void LibraryWindow::ResizeArea(int width, int height) {
    if (cadArea == nullptr) return;
    const int w = std::max(MaxRight(*this) + kColumnGap, width);
    const int h = std::max(MaxBottom(*this) + kColumnGap, height);
    XtVaSetValues(cadArea, XmNwidth, static_cast<Dimension>(std::clamp(w, 1, 32767)), XmNheight,
                  static_cast<Dimension>(std::clamp(h, 1, 32767)), nullptr);
}

void LibraryWindow::ResizeToContents() {
    Dimension width = 0, height = 0;
    Widget clip = nullptr;
    if (libraryScroll != nullptr) XtVaGetValues(libraryScroll, XmNclipWindow, &clip, nullptr);
    if (clip != nullptr) XtVaGetValues(clip, XmNwidth, &width, XmNheight, &height, nullptr);
    // NOTE: the area keeps at least the clip window's width, so that a drop beside the column
    // still lands on the library.
    ResizeArea(width, height);
}

void LibraryWindow::AttachAll() {
    for (int i = 0; i < palette.GetCount(); i++)
        palette[i]->SetOwner(this, WidgetTarget(paletteArea));
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        elements[i]->SetOwner(this);
    attached = true;
}

void LibraryWindow::RedrawContents(int clear) {
    if (!shown || cadArea == nullptr || XtWindow(cadArea) == 0) return;
    if (!attached) AttachAll();
    if (clear) {
        XClearArea(XtDisplay(cadArea), XtWindow(cadArea), 0, 0, 0, 0, False);
        if (paletteArea != nullptr && XtWindow(paletteArea) != 0) {
            XClearArea(XtDisplay(paletteArea), XtWindow(paletteArea), 0, 0, 0, 0, False);
        }
    }
    for (int i = 0; i < palette.GetCount(); i++)
        palette[i]->Draw();
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++)
        elements[i]->Draw();
    XFlush(XtDisplay(cadArea));
}

void LibraryWindow::HandleAreaEvent(Widget area, XEvent& event) {
    const bool isPalette = area == paletteArea;
    if (event.type == ButtonPress) {
        XButtonEvent& press = event.xbutton;
        AElement* element = isPalette ? PaletteElementAt(palette, press.x, press.y)
                                      : ElementAt(*this, press.x, press.y);
        if (press.button == Button1) {
            if (element == nullptr || GetDragContext() != nullptr) return;
            DragContext* context = NewDragContext();
            context->kind = kDragCopy;
            context->source = this;
            context->destination = this;
            context->startX = press.x;
            context->startY = press.y;
            context->elements->Add(isPalette ? TakeFromPalette(*element)
                                             : AElement::Clone(*element));
            StartDrag(area, &event, *context, GetElementTargetAtom(), press.x, press.y, 1);
            return;
        }
        // The wheel scrolls; it opens no menu.
        if (isPalette || press.button == Button4 || press.button == Button5) return;
        Widget menu = element != nullptr ? elementPopup : libraryPopup;
        if (menu == nullptr) return;
        XtVaSetValues(menu, XmNuserData,
                      element != nullptr ? static_cast<XtPointer>(element)
                                         : static_cast<XtPointer>(this),
                      nullptr);
        XmMenuPosition(menu, &press);
        XtManageChild(menu);
        return;
    }
    if (event.type != MotionNotify) return;
    AElement* element = isPalette ? PaletteElementAt(palette, event.xmotion.x, event.xmotion.y)
                                  : ElementAt(*this, event.xmotion.x, event.xmotion.y);
    if (element == lastUnderPointer) return;
    lastUnderPointer = element;
    ArchitectureWindow* footer = owner != nullptr ? static_cast<ArchitectureWindow*>(owner) : this;
    footer->SetFooterText(element != nullptr ? ElementFooterText(*element).c_str() : " ");
}
