#pragma once

// The modify window of a C++ element: a text editor for the element's code ("CodeSW") with a
// message pane below it ("MessageSW"), a compile button, a help button, a line indicator and
// OK / Apply / Cancel.
//
// The window owns a working copy of the element's data object, made with its copy constructor
// and stopped at once: it holds the code, a compiled executable of its own and the compiled flag,
// but never runs a client. Compiling from the window changes only the copy; the element changes
// through Apply and OK, which compile first when the copy is not compiled and leave the element
// as it was when that fails. Deleting the window deletes the copy, which removes its executable.

#include <X11/Intrinsic.h>

#include <memory>
#include <string>

#include "editors/AElementModifyWindow.h"
#include "model/elements/ACElem.h"

// What the text widget answers for a position it knows no line of.
constexpr int kNoLine = 30000;

// The 1-based line of a position in text (a character offset), kNoLine when the position lies
// outside it.
int LineOfPosition(const char* text, long position);
// The compiler's typographic quotes as plain ones: the text widgets show Latin-1, and a compiler
// in a UTF-8 locale quotes names with U+2018 and U+2019.
std::string PlainQuotes(const std::string& text);
// The line indicator's text: "Line: <line>", or the bare number for kNoLine.
std::string LineLabel(int line);

class ACModifyWindow : public AElementModifyWindow {
public:
    // Edits a copy of data, the element's data object, and shows itself.
    ACModifyWindow(D_CElem* data, ACElem* element);
    // Deletes the working copy (its executable goes with it), then the base.
    ~ACModifyWindow() override;

    // The maker the editors register for C++ elements: data is the element's D_CElem.
    static ElementView* Make(AElement& element, FileArgument* data);

    // CodeSW := the working copy's code.
    void RefreshModifyWindow() override;

    // CodeSW's text becomes the working copy's code (an unchanged text keeps it compiled).
    void StoreCode();
    // The working copy's code goes to CodeSW.
    void LoadCode();
    // Compiles the code of CodeSW in the working copy and shows the compiler's messages; 1 when
    // it compiled.
    int Compile();
    void ShowHelp();
    // Stores the code, compiles it when it is not compiled, and then gives it to the element,
    // whose client starts, and marks the element modified. 0, with the element unchanged and the
    // messages shown, when the code does not compile.
    int Apply();
    // Apply, and the window goes when it succeeded.
    void Ok();
    // CodeSW's insertion cursor moves to position: the line indicator follows.
    void CursorMoved(long position);

    const D_CElem& GetWorkingCopy() const { return *workingCopy; }
    Widget GetCodeText() const { return codeText; }
    Widget GetMessageText() const { return messageText; }
    Widget GetLineLabel() const { return posLabel; }

protected:
    void StoreCopy() override;

private:
    void BuildWidgets();
    Widget CreateIconButton(Widget parent, const char* const* icon);
    void ShowMessages(const char* text);
    // The element's input plane 0, which may have been replaced by a reading of the element.
    void BindPlane();

    std::unique_ptr<D_CElem> workingCopy;
    Widget codeText;    // "CodeSW"
    Widget messageText; // "MessageSW"
    Widget posLabel;    // "pos_label"
};
