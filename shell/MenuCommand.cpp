#include "shell/MenuCommand.h"

#include <X11/xpm.h>
#include <Xm/CascadeB.h>
#include <Xm/LabelG.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/SeparatoG.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <iostream>
#include <string>

#include "shell/ArchitectureWindow.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "toolkit/OwnedXmString.h"

namespace {

// The window whose menu or tool bar holds the entry: the userData of the entry's parent.
ArchitectureWindow* EntryWindow(Widget widget) {
    Widget parent = XtParent(widget);
    if (parent == nullptr) return nullptr;
    XtPointer data = nullptr;
    XtVaGetValues(parent, XmNuserData, &data, nullptr);
    return static_cast<ArchitectureWindow*>(data);
}

// The widget name of a menu entry: its label without the trailing dots.
std::string EntryName(const char* label) {
    std::string name(label != nullptr ? label : "");
    while (!name.empty() && name.back() == '.')
        name.pop_back();
    return name;
}

KeySym Mnemonic(const char* mnemonic) {
    if (mnemonic == nullptr || mnemonic[0] == '\0') return NoSymbol;
    return static_cast<KeySym>(static_cast<unsigned char>(mnemonic[0]));
}

// The client data of an entry's callback: its row's command.
XtPointer RunData(const CommandHandler& run) {
    return const_cast<XtPointer>(static_cast<const void*>(&run));
}

} // namespace

Widget CreateMenuBar(Widget parent, const MenuRow* rows, int count, ArchitectureWindow* window,
                     ToggleWidgets& toggles) {
    Arg args[2];
    XtSetArg(args[0], XmNuserData, static_cast<XtPointer>(window));
    Widget menuBar = XmCreateMenuBar(parent, const_cast<char*>("MenuBar"), args, 1);
    Widget pulldown = nullptr;
    Widget lastCascade = nullptr;
    std::string lastCascadeName;
    for (int i = 0; i < count; i++) {
        const MenuRow& row = rows[i];
        const std::string name = EntryName(row.label);
        if (row.kind == kMenuCascade) {
            pulldown = XmCreatePulldownMenu(menuBar, const_cast<char*>("pulldown"), args, 1);
            OwnedXmString label(row.label);
            lastCascade = XtVaCreateManagedWidget(
                name.c_str(), xmCascadeButtonWidgetClass, menuBar, XmNsubMenuId, pulldown,
                XmNlabelString, label.Get(), XmNmnemonic, Mnemonic(row.mnemonic), nullptr);
            lastCascadeName = name;
            continue;
        }
        if (pulldown == nullptr) {
            std::cerr << "CreateMenuBar: entry " << i << " before any menu" << std::endl;
            continue;
        }
        switch (row.kind) {
            case kMenuPush: {
                OwnedXmString label(row.label);
                Widget entry = XtVaCreateManagedWidget(
                    name.c_str(), xmPushButtonGadgetClass, pulldown, XmNlabelString, label.Get(),
                    XmNmnemonic, Mnemonic(row.mnemonic), nullptr);
                XtAddCallback(entry, XmNactivateCallback, MenuCommandCallback, RunData(row.run));
                break;
            }
            case kMenuToggle: {
                OwnedXmString label(row.label);
                Widget entry = XtVaCreateManagedWidget(
                    name.c_str(), xmToggleButtonGadgetClass, pulldown, XmNlabelString, label.Get(),
                    XmNmnemonic, Mnemonic(row.mnemonic), nullptr);
                XtAddCallback(entry, XmNvalueChangedCallback, MenuCommandCallback,
                              RunData(row.run));
                if (row.toggle > kNoToggle && row.toggle < kToggleLimit) {
                    toggles[row.toggle][0] = entry;
                }
                break;
            }
            case kMenuSeparator:
                XtVaCreateManagedWidget("Separator", xmSeparatorGadgetClass, pulldown, nullptr);
                break;
            default:
                std::cerr << "CreateMenuBar: row " << i << " has kind " << row.kind << std::endl;
                break;
        }
    }
    // Motif puts the help cascade at the right end.
    if (lastCascade != nullptr && lastCascadeName == "Help") {
        XtVaSetValues(menuBar, XmNmenuHelpWidget, lastCascade, nullptr);
    }
    XtManageChild(menuBar);
    return menuBar;
}

Widget CreateToolBar(Widget parent, const ToolRow* rows, int count, ArchitectureWindow* window,
                     ToggleWidgets& toggles) {
    Widget bar = XtVaCreateWidget("footer_rowcol", xmRowColumnWidgetClass, parent, XmNorientation,
                                  XmHORIZONTAL, XmNmarginWidth, 0, XmNmarginHeight, 1, XmNspacing,
                                  0, XmNtraversalOn, False, XmNuserData,
                                  static_cast<XtPointer>(window), nullptr);
    Display* display = XtDisplay(parent);
    Window root = RootWindowOfScreen(XtScreen(parent));
    Pixel background = 0;
    XtVaGetValues(bar, XmNbackground, &background, nullptr);
    for (int i = 0; i < count; i++) {
        const ToolRow& row = rows[i];
        if (row.kind == kToolGap) {
            XtVaCreateManagedWidget("", xmLabelGadgetClass, bar, nullptr);
            continue;
        }
        if (row.kind != kToolPush && row.kind != kToolToggle) {
            std::cerr << "CreateToolBar: row " << i << " has kind " << row.kind << std::endl;
            continue;
        }
        // The transparent colour of an icon takes the tool bar's background.
        XpmColorSymbol none = {nullptr, const_cast<char*>("None"), background};
        XpmAttributes attributes;
        attributes.valuemask = XpmColorSymbols;
        attributes.colorsymbols = &none;
        attributes.numsymbols = 1;
        Pixmap pixmap = 0;
        Pixmap mask = 0;
        int status = XpmCreatePixmapFromData(display, root, const_cast<char**>(row.icon), &pixmap,
                                             &mask, &attributes);
        if (status != XpmSuccess) {
            std::cerr << "CreateToolBar: icon " << i << ": " << XpmGetErrorString(status)
                      << std::endl;
            pixmap = 0;
        }
        if (mask != 0) XFreePixmap(display, mask);
        XpmFreeAttributes(&attributes);
        Widget button;
        if (row.kind == kToolPush) {
            button = XtVaCreateManagedWidget("Icon", xmPushButtonWidgetClass, bar, XmNlabelType,
                                             XmPIXMAP, XmNlabelPixmap, pixmap, XmNshadowThickness,
                                             1, XmNhighlightThickness, 0, nullptr);
            XtAddCallback(button, XmNactivateCallback, MenuCommandCallback, RunData(row.run));
        } else {
            button =
                XtVaCreateManagedWidget("Icon", xmToggleButtonWidgetClass, bar, XmNlabelType,
                                        XmPIXMAP, XmNlabelPixmap, pixmap, XmNindicatorOn, False,
                                        XmNshadowThickness, 1, XmNhighlightThickness, 0, nullptr);
            XtAddCallback(button, XmNvalueChangedCallback, MenuCommandCallback, RunData(row.run));
            if (row.toggle > kNoToggle && row.toggle < kToggleLimit) {
                toggles[row.toggle][1] = button;
            }
        }
        XtAddEventHandler(button, EnterWindowMask | LeaveWindowMask, False,
                          ToolButtonCrossingHandler,
                          const_cast<XtPointer>(static_cast<const void*>(row.help)));
    }
    XtManageChild(bar);
    return bar;
}

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

template <FileKind kind> void OpenFileCommand(ArchitectureWindow& window) {
    OpenDialog(window, kind, nullptr);
}

template <FileKind kind> void SaveFileCommand(ArchitectureWindow& window) {
    Save(window, kind, nullptr);
}

template <FileKind kind> void SaveFileAsCommand(ArchitectureWindow& window) {
    SaveAsDialog(window, kind, nullptr);
}

template void OpenFileCommand<kArchitectureFile>(ArchitectureWindow&);
template void SaveFileCommand<kArchitectureFile>(ArchitectureWindow&);
template void SaveFileAsCommand<kArchitectureFile>(ArchitectureWindow&);
template void OpenFileCommand<kLibraryFile>(ArchitectureWindow&);
template void SaveFileCommand<kLibraryFile>(ArchitectureWindow&);
template void SaveFileAsCommand<kLibraryFile>(ArchitectureWindow&);

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
