#pragma once

// The "Default Times" dialog: edits the TIME that new elements of the types MASK to C++ start
// with. The main window opens at most one and keeps a pointer to it; the dialog deletes itself on
// OK and Cancel and clears that pointer. It owns its shell.

#include <X11/Intrinsic.h>

class MainWindow;

class DefaultTimesDialog {
public:
    static const int kFieldCount = 10; // element types 0..9

    // Builds and shows the dialog.
    explicit DefaultTimesDialog(MainWindow* mainWindow);
    ~DefaultTimesDialog();
    DefaultTimesDialog(const DefaultTimesDialog&) = delete;
    DefaultTimesDialog& operator=(const DefaultTimesDialog&) = delete;

    // The ten fields into the default times, then the library's palette takes them. A field
    // without a valid number changes nothing at all; 1 when applied.
    int Apply();
    // Apply; the dialog goes when it applied.
    void Ok();
    void Cancel();

    Widget GetShell() const { return shell; }
    Widget GetField(int type) const;

private:
    Widget shell;
    Widget fields[kFieldCount]; // ReadInt forms in element type order
    MainWindow* mainWindow;
};
