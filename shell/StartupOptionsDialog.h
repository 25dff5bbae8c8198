#pragma once

// The "Startup - Options" dialog: edits the start-up options (the plane size of new elements and
// architectures, which windows open at start-up, the library loaded at start-up), which take
// effect at the next start. The main window opens at most one and keeps a pointer to it; the
// dialog deletes itself on OK (when its values pass) and Cancel and clears that pointer. It owns
// its shell.

#include <X11/Intrinsic.h>

class MainWindow;

class StartupOptionsDialog {
public:
    // Builds and shows the dialog.
    explicit StartupOptionsDialog(MainWindow* mainWindow);
    ~StartupOptionsDialog();
    StartupOptionsDialog(const StartupOptionsDialog&) = delete;
    StartupOptionsDialog& operator=(const StartupOptionsDialog&) = delete;

    // Sets all six options, the library path as typed, and closes; stays open while a size is
    // invalid or the library does not exist or cannot be kept in the settings file (with a
    // warning and the focus in the library field).
    void Ok();
    void Cancel();

    Widget GetShell() const { return shell; }
    Widget GetWidthField() const { return widthField; }
    Widget GetHeightField() const { return heightField; }
    Widget GetElementListToggle() const { return elementListToggle; }
    Widget GetOverviewToggle() const { return overviewToggle; }
    Widget GetSimulationBoxToggle() const { return simulationBoxToggle; }
    Widget GetLibraryField() const { return libraryField; }

private:
    Widget shell;
    Widget widthField; // ReadInt forms
    Widget heightField;
    Widget elementListToggle;
    Widget overviewToggle;
    Widget simulationBoxToggle;
    Widget libraryField;
    MainWindow* mainWindow;
};
