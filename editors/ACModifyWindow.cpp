#include "editors/ACModifyWindow.h"

#include <X11/xpm.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/PanedW.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "editors/ACModifyWindowIcons.h"
#include "editors/ElementChange.h"
#include "model/simulation/ClientCompiler.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Colors.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXtString.h"

namespace {

const int kMinimumWidth = 200;

// The compiler's messages are at most this long: its output and the closing "Success".
const size_t kMessagesLength = kCompilerOutputSize + sizeof("Success") - 1;

const char kHelpText[] =
    "INPUT AND OUTPUT PLANES:\n"
    "The optical input and output planes are represented by two C++ objects,\n"
    "'in' and 'out'.\n"
    "\n"
    "MEMBER FUNCTIONS AND CONSTANTS:\n"
    "const int DIMX                         dimension of the input and output plane in x\n"
    "const int DIMY                         dimension of the input and output plane in y\n"
    "int operator() (int x, int y)          reads a pixel, e.g. in(2,4)\n"
    "void SetBit(int x, int y, int value)   sets a pixel, e.g. out.SetBit(2,4,0)\n"
    "void SetAll()                          sets the whole plane\n"
    "void UnsetAll()                        unsets the whole plane\n"
    "Matrix& operator= (const Matrix&)      copies a plane into another, e.g. out=in\n"
    "\n"
    "EXAMPLE:\n"
    "// inverts the input plane\n"
    "for (int x = 0; x < DIMX; x++) {\n"
    "    for (int y = 0; y < DIMY; y++) {\n"
    "        out.SetBit(x,y,!in(x,y));\n"
    "    }\n"
    "}\n"
    "\n"
    "The output plane is cleared before your code runs.\n"
    "For more detail see README.md at the top of QUIRAN's source folder.\n";

const char kUnbalancedBraces[] =
    "Error: The braces { and } of the code do not pair up.\n"
    "Braces in comments, strings and characters count too: a file with this code\n"
    "could not be read back. Write them as \\x7b and \\x7d in strings and characters.";

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ACModifyWindow*>(self)->Ok();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ACModifyWindow*>(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ACModifyWindow*>(self)->Cancel();
}

void CompileCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ACModifyWindow*>(self)->Compile();
}

void HelpCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ACModifyWindow*>(self)->ShowHelp();
}

void MotionVerifyCallback(Widget, XtPointer self, XtPointer call) {
    const XmTextVerifyCallbackStruct* verify = static_cast<XmTextVerifyCallbackStruct*>(call);
    if (verify->reason != XmCR_MOVING_INSERT_CURSOR) return;
    static_cast<ACModifyWindow*>(self)->CursorMoved(static_cast<long>(verify->newInsert));
}

// A button's pixmap goes with the button.
void FreePixmapCallback(Widget button, XtPointer pixmap, XtPointer) {
    XFreePixmap(XtDisplay(button), static_cast<Pixmap>(reinterpret_cast<uintptr_t>(pixmap)));
}

} // namespace

int LineOfPosition(const char* text, long position) {
    if (text == nullptr || position < 0) return kNoLine;
    const size_t length = std::strlen(text);
    if (static_cast<unsigned long>(position) > length) return kNoLine;
    int line = 1;
    for (long i = 0; i < position; i++) {
        if (text[i] == '\n') line++;
    }
    return line;
}

std::string PlainQuotes(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        // U+2018, U+2019, U+201C and U+201D in UTF-8: E2 80 98, 99, 9C, 9D.
        if (i + 2 < text.size() && text[i] == '\xe2' && text[i + 1] == '\x80') {
            const char last = text[i + 2];
            if (last == '\x98' || last == '\x99') {
                plain += '\'';
                i += 2;
                continue;
            }
            if (last == '\x9c' || last == '\x9d') {
                plain += '"';
                i += 2;
                continue;
            }
        }
        plain += text[i];
    }
    return plain;
}

std::string LineLabel(int line) {
    char text[32];
    std::snprintf(text, sizeof(text), line == kNoLine ? "%d" : "Line: %d", line);
    return text;
}

ACModifyWindow::ACModifyWindow(D_CElem* data, ACElem* owner)
    : AElementModifyWindow(owner), workingCopy(std::make_unique<D_CElem>(*data)), codeText(nullptr),
      messageText(nullptr), posLabel(nullptr) {
    // The copy constructor starts a client when the element's runs; the copy never needs one.
    workingCopy->StopProcess();
    BuildWidgets();
    LoadCode();
}

ACModifyWindow::~ACModifyWindow() {
    workingCopy.reset();
}

ElementView* ACModifyWindow::Make(AElement& element, FileArgument* data) {
    D_CElem* code = dynamic_cast<D_CElem*>(data);
    ACElem* owner = dynamic_cast<ACElem*>(&element);
    if (code == nullptr || owner == nullptr) {
        std::cerr << "ACModifyWindow::Make: no C++ element" << std::endl;
        return nullptr;
    }
    return new ACModifyWindow(code, owner);
}

Widget ACModifyWindow::CreateIconButton(Widget parent, const char* const* icon) {
    Widget button =
        XtVaCreateManagedWidget("Icon", xmPushButtonWidgetClass, parent, XmNlabelType, XmPIXMAP,
                                XmNshadowThickness, 1, XmNhighlightThickness, 0, nullptr);
    // The transparent colour of the icon takes the button's background.
    Pixel background = 0;
    XtVaGetValues(button, XmNbackground, &background, nullptr);
    XpmColorSymbol none = {nullptr, const_cast<char*>("None"), background};
    XpmAttributes attributes;
    attributes.valuemask = XpmColorSymbols;
    attributes.colorsymbols = &none;
    attributes.numsymbols = 1;
    Display* display = XtDisplay(parent);
    Pixmap pixmap = 0;
    Pixmap mask = 0;
    const int status =
        XpmCreatePixmapFromData(display, RootWindowOfScreen(XtScreen(parent)),
                                const_cast<char**>(icon), &pixmap, &mask, &attributes);
    if (status != XpmSuccess) {
        std::cerr << "ACModifyWindow::CreateIconButton: " << XpmGetErrorString(status) << std::endl;
        pixmap = 0;
    }
    if (mask != 0) XFreePixmap(display, mask);
    XpmFreeAttributes(&attributes);
    if (pixmap != 0) {
        XtVaSetValues(button, XmNlabelPixmap, pixmap, nullptr);
        XtAddCallback(button, XmNdestroyCallback, FreePixmapCallback,
                      reinterpret_cast<XtPointer>(static_cast<uintptr_t>(pixmap)));
    }
    return button;
}

void ACModifyWindow::BuildWidgets() {
    XtVaSetValues(shell, XmNminWidth, kMinimumWidth, nullptr);
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame = XtVaCreateManagedWidget("data_frame", xmFrameWidgetClass, form, nullptr);
    Widget dataForm = XtVaCreateWidget("data_form", xmFormWidgetClass, frame, nullptr);

    Widget footer = XtVaCreateWidget(
        "footer_rowcol", xmRowColumnWidgetClass, dataForm, XmNorientation, XmHORIZONTAL,
        XmNmarginWidth, 3, XmNmarginHeight, 2, XmNspacing, 0, XmNtraversalOn, False,
        XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, nullptr);
    Widget compile = CreateIconButton(footer, kCompileIcon);
    XtAddCallback(compile, XmNactivateCallback, CompileCallback, this);
    XtVaCreateManagedWidget(" ", xmLabelGadgetClass, footer, nullptr);
    Widget help = CreateIconButton(footer, kHelpIcon);
    XtAddCallback(help, XmNactivateCallback, HelpCallback, this);
    XtManageChild(footer);

    posLabel = XtVaCreateManagedWidget(
        "pos_label", xmTextFieldWidgetClass, dataForm, XmNeditable, False, XmNcursorPositionVisible,
        False, XmNcolumns, 10, XmNmarginHeight, 0, XmNshadowThickness, 0, XmNtraversalOn, False,
        XmNvalue, "Line: 1", XmNrightAttachment, XmATTACH_FORM, nullptr);

    Widget paned = XtVaCreateWidget("data_paned", xmPanedWindowWidgetClass, dataForm,
                                    XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, footer,
                                    XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment,
                                    XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Attach(posLabel).Bottom(ToWidget(paned));

    Arg args[8];
    int n = 0;
    XtSetArg(args[n], XmNeditMode, XmMULTI_LINE_EDIT), n++;
    XtSetArg(args[n], XmNrows, 25), n++;
    XtSetArg(args[n], XmNcolumns, 80), n++;
    XtSetArg(args[n], XmNbackground, GetWhite()), n++;
    XtSetArg(args[n], XmNtraversalOn, True), n++;
    codeText = XmCreateScrolledText(paned, const_cast<char*>("CodeSW"), args, n);
    XtAddCallback(codeText, XmNmotionVerifyCallback, MotionVerifyCallback, this);
    XtManageChild(codeText);

    n = 0;
    XtSetArg(args[n], XmNeditMode, XmMULTI_LINE_EDIT), n++;
    XtSetArg(args[n], XmNrows, 50), n++;
    XtSetArg(args[n], XmNcolumns, 80), n++;
    XtSetArg(args[n], XmNeditable, False), n++;
    XtSetArg(args[n], XmNcursorPositionVisible, False), n++;
    XtSetArg(args[n], XmNtraversalOn, False), n++;
    messageText = XmCreateScrolledText(paned, const_cast<char*>("MessageSW"), args, n);
    XtManageChild(messageText);
    XtManageChild(paned);
    XtManageChild(dataForm);

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", CancelCallback, this},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));
    Attach(frame).Top(ToForm()).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    XtManageChild(form);
    Show();
}

void ACModifyWindow::BindPlane() {
    workingCopy->SetPlane(element->GetInputPlane(0));
}

void ACModifyWindow::RefreshModifyWindow() {
    BindPlane();
    LoadCode();
}

void ACModifyWindow::StoreCode() {
    OwnedXtString text(XmTextGetString(codeText));
    workingCopy->SetCode(text.Get() != nullptr ? text.Get() : "");
}

void ACModifyWindow::LoadCode() {
    XmTextSetString(codeText, const_cast<char*>(workingCopy->GetCode()));
}

void ACModifyWindow::ShowMessages(const char* text) {
    // The compiler's output is bounded; so is what is shown of any text.
    const std::string shown = PlainQuotes(std::string(text, strnlen(text, kMessagesLength)));
    XmTextSetString(messageText, const_cast<char*>(shown.c_str()));
}

int ACModifyWindow::Compile() {
    StoreCode();
    ShowMessages("Compiling ...");
    // The compiler blocks the event loop: the words are shown before it starts.
    XmUpdateDisplay(shell);
    const char* messages = nullptr;
    const int compiled = workingCopy->Compile(messages);
    ShowMessages(messages != nullptr ? messages : "");
    return compiled;
}

void ACModifyWindow::ShowHelp() {
    ShowMessages(kHelpText);
}

int ACModifyWindow::Apply() {
    StoreCode();
    // Such code may well compile, but the element's file could not be read back.
    if (!D_CElem::ListingReadsBack(workingCopy->GetCode())) {
        ShowMessages(kUnbalancedBraces);
        return 0;
    }
    if (!workingCopy->IsCompiled() && !Compile()) return 0;
    StoreAndMarkChanged(*element, [this] { StoreCopy(); });
    return 1;
}

void ACModifyWindow::Ok() {
    if (Apply()) delete this;
}

void ACModifyWindow::StoreCopy() {
    // Through the element: a reading of the element may have replaced its data object.
    ACElem* owner = dynamic_cast<ACElem*>(element);
    if (owner == nullptr) {
        std::cerr << "ACModifyWindow::StoreCopy: no C++ element" << std::endl;
        return;
    }
    D_CElem& data = owner->GetData();
    data.Assign(*workingCopy);
    data.CreateProcess();
}

void ACModifyWindow::CursorMoved(long position) {
    OwnedXtString text(XmTextGetString(codeText));
    const std::string label = LineLabel(LineOfPosition(text.Get(), position));
    XmTextFieldSetString(posLabel, const_cast<char*>(label.c_str()));
}
