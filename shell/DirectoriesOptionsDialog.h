#pragma once

// The "Directories/Filter - Options" dialog: edits the directory and the filter pattern with
// which the file selection dialog opens for each file kind. The main window opens at most one
// and keeps a pointer to it; the dialog deletes itself on OK (when every directory exists) and
// Cancel and clears that pointer. It owns its shell; its fourteen rows live in one table held
// once for the program.

#include <X11/Intrinsic.h>

#include "model/format/FileKind.h"

class MainWindow;

class DirectoriesOptionsDialog {
public:
    // Builds and shows the dialog.
    explicit DirectoriesOptionsDialog(MainWindow* mainWindow);
    ~DirectoriesOptionsDialog();
    DirectoriesOptionsDialog(const DirectoriesOptionsDialog&) = delete;
    DirectoriesOptionsDialog& operator=(const DirectoriesOptionsDialog&) = delete;

    // Applies the rows in order; a directory that does not exist stops with the focus in its
    // field and a warning, the rows before it applied, the dialog open.
    void Ok();
    void Cancel();

    Widget GetShell() const { return shell; }
    // The text fields of a row (0..13, the order of kFileKindListOrder).
    static Widget GetDirectoryField(int row);
    static Widget GetFilterField(int row);

private:
    Widget shell;
    MainWindow* mainWindow;
};
