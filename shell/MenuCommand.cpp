#include "shell/MenuCommand.h"

#include <Xm/Xm.h>

#include <iostream>

#include "shell/ArchitectureWindow.h"
#include "shell/MainWindow.h"

namespace {

// The window whose menu or tool bar holds the entry: the userData of the entry's parent.
ArchitectureWindow* EntryWindow(Widget widget) {
    Widget parent = XtParent(widget);
    if (parent == nullptr) return nullptr;
    XtPointer data = nullptr;
    XtVaGetValues(parent, XmNuserData, &data, nullptr);
    return static_cast<ArchitectureWindow*>(data);
}

} // namespace

void DeleteCommand(ArchitectureWindow& window) {
    window.DeleteSelection();
}

void OverviewCommand(ArchitectureWindow& window) {
    window.ToggleOverview();
}

void GridCommand(ArchitectureWindow& window) {
    window.ToggleGrid();
}

void WorkingAreaCommand(ArchitectureWindow& window) {
    window.OpenWorkingAreaOptions();
}

void RunWindowCommand(ArchitectureWindow& window, CommandHandler run) {
    if (GetMainWindow() == nullptr) {
        std::cerr << "RunWindowCommand: no main window" << std::endl;
        return;
    }
    if (run != nullptr) run(window);
}

void MenuCommandCallback(Widget widget, XtPointer run, XtPointer) {
    ArchitectureWindow* window = EntryWindow(widget);
    if (window == nullptr || run == nullptr) {
        std::cerr << "MenuCommandCallback: no window for the entry" << std::endl;
        return;
    }
    RunWindowCommand(*window, *static_cast<const CommandHandler*>(run));
}

void ToolButtonCrossingHandler(Widget widget, XtPointer helpText, XEvent* event, Boolean*) {
    ArchitectureWindow* window = EntryWindow(widget);
    if (window == nullptr || event == nullptr) return;
    if (event->type == EnterNotify) {
        window->SetFooterText(static_cast<const char*>(helpText));
    } else if (event->type == LeaveNotify) {
        window->SetFooterText("");
    }
}
