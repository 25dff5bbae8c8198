#pragma once

// The one main window of a macro test process (tests/support/gui/ShellGui.h), with message boxes
// answered by the test; and the fixture that gives every test an empty main architecture and
// places macros and ports on it.

// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "model/data/Connection.h"
#include "model/elements/AElement.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMacroOutputElem.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "shell/AMacroElem.h"
#include "shell/ArchitectureFile.h"
#include "shell/DragContext.h"
#include "shell/DragDisplay.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/SimulationBoxWindow.h"
#include "shell/Startup.h"
#include "shell/WindowMessage.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "tests/support/gui/ShellGui.h"
#include "toolkit/Colors.h"
#include "toolkit/MessageDialog.h"

using MacroGui = testgui::ShellGui;

using testgui::IsShown;
using testgui::ProcessFor;

// The boxes shown, "title|text", and the answer they all get.
inline std::vector<std::string>& Asked() {
    return testgui::Messages();
}

inline MessageResult& Answer() {
    return testgui::FallbackAnswer();
}

inline MacroGui& TheMacroGui() {
    return testgui::TheShellGui();
}

// Planes of 4 x 2 cells; a fresh main architecture and library for every test.
class MacroFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gui = &TheMacroGui();
        if (gui->main == nullptr) GTEST_SKIP() << "no X display";
        SetWindowMessageFunction(testgui::RecordMessage);
        Asked().clear();
        testgui::QueuedAnswers().clear();
        Answer() = kResultNo;
        AElement::SetDefaultPlaneSize(4, 2);
        Reset();
    }
    void TearDown() override {
        if (gui->main == nullptr) return;
        Reset();
        AElement::SetDefaultPlaneSize(16, 16);
        SetWindowMessageFunction(nullptr);
    }
    void Reset() {
        main().ClearModified();
        main().Clear();
        main().GetEventQueue().Clear();
        Process(50);
    }
    void Process(int ms = 100) { ProcessFor(gui->app, ms); }
    bool ProcessUntil(const std::function<bool()>& done, int ms = 3000) {
        ProcessFor(gui->app, ms, done);
        return done();
    }

    MainWindow& main() { return *gui->main; }
    // Runs the queue up to the limit without the simulation box, which breaks every run it did
    // not start.
    void Run(SimTime limit) {
        EventQueue& queue = main().GetEventQueue();
        queue.SetSimulationBox(nullptr);
        queue.RunUntil(limit);
        queue.SetSimulationBox(main().GetSimulationBox());
    }

    // An empty macro on the main working area.
    AMacroElem* PlaceMacro(int x, int y) {
        auto* macro = new AMacroElem(&main(), x, y);
        macro->SetOwner(&main());
        main().GetElements().Add(macro);
        return macro;
    }
    // An element of the type on a window's working area, its planes of the default size.
    AElement* Place(ArchitectureWindow& window, const char* type, int x, int y) {
        AElement* element = CreateElement(type, &window);
        int width, height;
        AElement::GetDefaultPlaneSize(width, height);
        for (int i = 0; i < element->GetInputCount(); i++)
            element->SetInputPlaneSize(i, width, height);
        for (int i = 0; i < element->GetOutputCount(); i++)
            element->SetOutputPlaneSize(i, width, height);
        element->CreateData();
        element->SetPosition(x, y);
        element->SetOwner(&window);
        window.GetElements().Add(element);
        return element;
    }
    // The macro's next input or output, added as a port dropped from its palette is.
    AMacroInputElem* AddInput(AMacroElem& macro, int x, int y) {
        auto* port = new AMacroInputElem(&macro, x, y);
        port->SetNumber(macro.GetMacroInputs().GetCount());
        if (!macro.AddMacroInput(port)) {
            delete port;
            return nullptr;
        }
        port->SetOwner(&macro);
        macro.GetElements().Add(port);
        return port;
    }
    AMacroOutputElem* AddOutput(AMacroElem& macro, int x, int y) {
        auto* port = new AMacroOutputElem(&macro, x, y);
        port->SetNumber(macro.GetMacroOutputs().GetCount());
        if (!macro.AddMacroOutput(port)) {
            delete port;
            return nullptr;
        }
        port->SetOwner(&macro);
        macro.GetElements().Add(port);
        return port;
    }
    // From an output pin of one element to an input pin of another, in the window.
    Connection* Connect(ArchitectureWindow& window, AElement* from, int outputPin, AElement* to,
                        int inputPin) {
        auto* wire = new Connection(&window, from, outputPin, to, inputPin, 1);
        window.GetConnections().Add(wire);
        return wire;
    }

    MacroGui* gui = nullptr;
};

// Test texts mark a trailing blank with '$', which editors would strip.
inline std::string Text(const std::string& marked) {
    std::string text = marked;
    for (size_t at = text.find("$\n"); at != std::string::npos; at = text.find("$\n", at))
        text.erase(at, 1);
    return text;
}

inline std::string WriteElement(AElement& element, int level = 0) {
    std::ostringstream out;
    EXPECT_EQ(element.Write(out, level, nullptr), 0);
    return out.str();
}

inline int ReadElement(AElement& element, const std::string& text) {
    ClearParseError();
    std::istringstream in(text);
    return element.Read(in, nullptr);
}
