#pragma once

// The "Compiler Settings" dialog: edits the compiler, its options and the loader options with
// which C++ elements are compiled. The main window opens at most one and keeps a pointer to it;
// the dialog deletes itself on OK and Cancel and clears that pointer. It owns its shell.

#include <X11/Intrinsic.h>

#include "shell/Settings.h"

class MainWindow;

class CompilerSettingsDialog {
public:
    // Builds and shows the dialog.
    explicit CompilerSettingsDialog(MainWindow* mainWindow);
    ~CompilerSettingsDialog();
    CompilerSettingsDialog(const CompilerSettingsDialog&) = delete;
    CompilerSettingsDialog& operator=(const CompilerSettingsDialog&) = delete;

    // The three texts into the settings, each cut to its first 99 characters; false, with a
    // warning and nothing taken, when one cannot be kept in the settings file.
    bool Apply();
    // Apply, then the dialog goes when it took the texts.
    void Ok();
    void Cancel();

    Widget GetShell() const { return shell; }
    Widget GetText(int index) const;

private:
    Widget shell;
    MainWindow* mainWindow;
    Widget texts[kCompilerSettingCount];
};
