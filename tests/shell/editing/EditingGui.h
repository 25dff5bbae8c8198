#pragma once

// The one main window of an editing test process, built as start-up builds it (fallback
// resources, colours, drag display and atoms, the shell's element interface), with HOME in a
// fresh folder and message boxes answered by the test.

// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "model/data/Connection.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementUi.h"
#include "shell/DragContext.h"
#include "shell/DragDisplay.h"
#include "shell/FallbackResources.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "toolkit/Colors.h"
#include "toolkit/MessageDialog.h"

struct EditingGui {
    XtAppContext app = nullptr;
    Widget topLevel = nullptr;
    MainWindow* main = nullptr;
};

inline void ProcessFor(XtAppContext app, int ms, const std::function<bool()>& done = nullptr) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (done && done()) return;
        if (XtAppPending(app)) {
            XtAppProcessEvent(app, XtIMAll);
        } else {
            usleep(2000);
        }
    }
}

inline std::vector<std::string>& Asked() {
    static std::vector<std::string> asked;
    return asked;
}

inline MessageResult& Answer() {
    static MessageResult answer = kResultNo;
    return answer;
}

inline MessageResult RecordMessage(Widget, MessageKind, const char* title, const char* text) {
    Asked().push_back(std::string(title) + "|" + text);
    return Answer();
}

inline EditingGui& TheEditingGui() {
    static EditingGui gui = [] {
        EditingGui g;
        if (getenv("DISPLAY") == nullptr) return g;
        static char home[] = "/tmp/quiran-editing-XXXXXX";
        if (mkdtemp(home) == nullptr) return g;
        setenv("HOME", home, 1);
        static char name[] = "quiran";
        static char* argv[] = {name, nullptr};
        OpenDragDisplay(1, argv);
        XtToolkitInitialize();
        g.app = XtCreateApplicationContext();
        XtAppSetFallbackResources(g.app, const_cast<String*>(kFallbackResources));
        int argc = 1;
        Display* display = XtOpenDisplay(g.app, nullptr, name, "QUIRAN", nullptr, 0, &argc, argv);
        if (display == nullptr) return g;
        g.topLevel = XtVaAppCreateShell(name, "QUIRAN", applicationShellWidgetClass, display, XmNx,
                                        0, XmNy, 0, nullptr);
        SetTopLevelShell(g.topLevel, g.app);
        CreateStippleBitmap(g.topLevel);
        InitColors(g.topLevel);
        static ShellElementUi ui(g.topLevel);
        SetElementUi(&ui);
        InitDragAndDrop();
        g.main = new MainWindow(g.topLevel);
        SetMainWindow(g.main);
        XtRealizeWidget(g.topLevel);
        Widget area = g.main->GetCadArea();
        ProcessFor(g.app, 3000, [area] {
            XWindowAttributes attributes;
            return XGetWindowAttributes(XtDisplay(area), XtWindow(area), &attributes) &&
                   attributes.map_state == IsViewable;
        });
        ProcessFor(g.app, 200);
        return g;
    }();
    return gui;
}

// A fresh main architecture and library for every test.
class EditingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gui = &TheEditingGui();
        if (gui->main == nullptr) GTEST_SKIP() << "no X display";
        SetWindowMessageFunction(RecordMessage);
        Asked().clear();
        Answer() = kResultNo;
        Reset();
    }
    void TearDown() override {
        if (gui->main == nullptr) return;
        Reset();
        SetWindowMessageFunction(nullptr);
    }
    void Reset() {
        main().ClearModified();
        main().Clear();
        library().ClearModified();
        library().Clear();
        main().GetEventQueue().Clear();
    }
    void Process(int ms = 100) { ProcessFor(gui->app, ms); }

    MainWindow& main() { return *gui->main; }
    LibraryWindow& library() { return *gui->main->GetLibraryWindow(); }
    // A MASK from the palette placed on the main working area.
    AElement* Place(int x, int y) {
        AElement* element = AElement::Clone(*library().GetPalette()[0]);
        element->SetPosition(x, y);
        element->SetOwner(&main());
        main().GetElements().Add(element);
        return element;
    }
    Connection* Connect(AElement* from, AElement* to) {
        auto* wire = new Connection(&main(), from, 3, to, 2, 1);
        main().GetConnections().Add(wire);
        return wire;
    }
    XEvent Event(int type, int x, int y, unsigned int button = Button1, unsigned int state = 0) {
        XEvent event = {};
        Widget area = main().GetCadArea();
        if (type == ButtonPress || type == ButtonRelease) {
            event.xbutton = {type, 0, True, XtDisplay(area), XtWindow(area), 0,   0, CurrentTime, x,
                             y,    x, y,    state,           button,         True};
        } else if (type == MotionNotify) {
            event.xmotion = {type, 0, True, XtDisplay(area), XtWindow(area), 0,   0, CurrentTime, x,
                             y,    x, y,    state,           NotifyNormal,   True};
        }
        return event;
    }

    EditingGui* gui = nullptr;
};
