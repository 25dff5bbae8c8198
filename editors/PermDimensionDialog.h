#pragma once

// The "Change Dimension - Perm" dialog: the sizes of a PERM element's input planes and of its
// output planes, which may differ, as four numbers (1 .. 65536). OK asks whether all data of the
// element may be lost and, on Yes, gives every input and output plane its new size and throws
// away the element's connections and its connection table. The element holds the one open dialog
// as a view; the dialog owns its shell, over the top-level shell, and its destructor destroys the
// shell and detaches the dialog from the element. When the shell goes with its
// parent, the dialog goes with it.

#include <X11/Intrinsic.h>

#include "model/elements/ElementUi.h"
#include "model/elements/ElementView.h"

class APermElem;

class PermDimensionDialog : public ElementView {
public:
    // Builds and shows the dialog with the sizes of input plane 0 and output plane 0.
    explicit PermDimensionDialog(APermElem* element);
    // The view maker of the PERM type: the dialog over the top-level shell.
    static ElementView* Make(AElement& element, const ViewRequest& request);
    ~PermDimensionDialog() override;
    PermDimensionDialog(const PermDimensionDialog&) = delete;
    PermDimensionDialog& operator=(const PermDimensionDialog&) = delete;

    // "OK" and Return in a field: with four valid values, the question, the new sizes on Yes, and
    // the dialog deleted on Yes and No; else nothing.
    void Ok();
    // "Cancel" and the window-manager close: deletes the dialog, the element is unchanged.
    void Cancel();

    Widget GetShell() const { return shell; }
    Widget GetInputXField() const { return inputX; }
    Widget GetInputYField() const { return inputY; }
    Widget GetOutputXField() const { return outputX; }
    Widget GetOutputYField() const { return outputY; }

private:
    void BuildWidgets(Widget parent);
    static void ShellDestroyedCallback(Widget, XtPointer self, XtPointer);

    Widget shell;
    Widget inputX; // ReadInt forms
    Widget inputY;
    Widget outputX;
    Widget outputY;
    APermElem* element; // not owned
    // While the question waits, the place that learns that the dialog was deleted meanwhile (its
    // element went, or its shell), so that OK touches nothing afterwards.
    bool* deletedFlag;
};
