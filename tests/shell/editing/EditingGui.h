#pragma once

// The one main window of an editing test process (tests/support/gui/ShellGui.h), with message
// boxes answered by the test, and the fixture that gives every test an empty main architecture
// and library.

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
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WindowMessage.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/ShellGui.h"
#include "toolkit/Colors.h"
#include "toolkit/MessageDialog.h"

using EditingGui = testgui::ShellGui;

using testgui::ProcessFor;

// The boxes shown, "title|text", and the answer they all get.
inline std::vector<std::string>& Asked() {
    return testgui::Messages();
}

inline MessageResult& Answer() {
    return testgui::FallbackAnswer();
}

inline EditingGui& TheEditingGui() {
    return testgui::TheShellGui();
}

// A fresh main architecture and library for every test.
class EditingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gui = &TheEditingGui();
        if (gui->main == nullptr) GTEST_SKIP() << "no X display";
        SetWindowMessageFunction(testgui::RecordMessage);
        Asked().clear();
        testgui::QueuedAnswers().clear();
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
        AElement* element = LibraryWindow::TakeFromPalette(*library().GetPalette()[0]);
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
