#pragma once

// The clocks window: edits the global clock table, the list of clocks (period T, offset O) to which
// elements refer by their 1-based clock number. Add and Modify change a working copy that Apply
// and OK commit; Delete takes effect at once, together with every change made before it. The main
// window creates the one clocks window hidden and keeps it for its lifetime; the window owns its
// working copy and its shell.

#include <X11/Intrinsic.h>

#include "model/data/ClockList.h"

class Architecture;
class MainWindow;

// After clock number removed (1-based) is deleted: every element on it goes to clock 1 and every
// element on a higher clock to the number that clock has afterwards, so that every element keeps
// its clock. count is the number of clocks before the deletion.
void RenumberClocksAfterRemoval(Architecture& architecture, int removed, int count);

class ClocksWindow {
public:
    // Creates the widgets and an empty working copy; the window is not shown.
    explicit ClocksWindow(MainWindow* mainWindow);
    ~ClocksWindow();
    ClocksWindow(const ClocksWindow&) = delete;
    ClocksWindow& operator=(const ClocksWindow&) = delete;

    // The first showing centres the window over the main window; every showing starts from the
    // global clock table.
    void Show();
    void Hide();
    // Working copy := the global clock table; the list shows it.
    void Refresh();
    // The global clock table := the working copy; the simulation box rebuilds its clock menu.
    void Commit();
    void FillList();
    // The 1-based position of the selected item, or 0.
    int GetSelected();

    // The buttons.
    void Add();
    void Delete();
    void Modify();
    void Ok();
    void Apply();

    // Results of the "Add Clock" and "Modify Clock" dialogs.
    void Added(int cancelled, int period, int offset);
    void Modified(int cancelled, int period, int offset);

    const ClockList& GetWorkingCopy() const { return workingCopy; }
    Widget GetShell() const { return shell; }
    Widget GetList() const { return clockList; }
    Widget GetAddButton() const { return addButton; }

private:
    void CreateWidgets();

    MainWindow* mainWindow;
    ClockList workingCopy;
    Widget shell;
    Widget clockList;
    Widget addButton;
    int modifyIndex; // the working copy's index the open "Modify Clock" dialog edits
};
