#pragma once

// The "Default Times" dialog: edits the TIME that new elements start with, one field for each
// type with a line in the settings' DEFAULT_TIMES block (MASK to C++), in list order. The main
// window opens at most one and keeps a pointer to it; the dialog deletes itself on OK and Cancel
// and clears that pointer. It owns its shell.

#include <X11/Intrinsic.h>

#include "model/elements/ElementType.h"

class MainWindow;

class DefaultTimesDialog {
public:
    // Builds and shows the dialog.
    explicit DefaultTimesDialog(MainWindow* mainWindow);
    ~DefaultTimesDialog();
    DefaultTimesDialog(const DefaultTimesDialog&) = delete;
    DefaultTimesDialog& operator=(const DefaultTimesDialog&) = delete;

    // The fields into the default times, then the library's palette takes them. A field
    // without a valid number changes nothing at all; 1 when applied.
    int Apply();
    // Apply; the dialog goes when it applied.
    void Ok();
    void Cancel();

    Widget GetShell() const { return shell; }
    Widget GetField(int type) const;

private:
    Widget shell;
    Widget fields[kElementTypeCount]; // ReadInt forms by type code; null for a type without one
    MainWindow* mainWindow;
};
