// The questions that guard unsaved work, answered from the keyboard as a new user does: Escape on
// "Do you want to save it ?" (Yes, No, Cancel) must change nothing. The real quiran under the X
// server of DISPLAY, a real Escape key through xdotool, for the main window's quit, new and open
// and for the library window's open and the library's question at quit.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"

namespace {

using e2e::Command;
using e2e::Point;
using e2e::ReadAll;
using e2e::SleepScaledMs;
using e2e::WaitFor;
using e2e::WriteText;

const char* const kExample = QUIRAN_SOURCE_DIR "/examples/pipeline.arc";
const char* const kArchitectureQuestion =
    "question\nArchitecture has been modified!\nDo you want to save it ?";
const char* const kLibraryQuestion =
    "question\nLibrary has been modified!\nDo you want to save it ?";

std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(window));
    return text;
}

void Keys(Window window, const std::string& keys) {
    e2e::TypeKeys(Hex(window), keys, 30);
}

void ClickAt(Point p, int button = 1) {
    Command("xdotool mousemove --sync " + std::to_string(p.x) + " " + std::to_string(p.y) +
            " click " + std::to_string(button) + " 2>&1");
}

// The example as a library: the same body without the global data.
std::string ExampleLibrary() {
    std::string text = ReadAll(kExample);
    const size_t from = text.find("GLOBAL_ARCHITECTURE_DATA {");
    const size_t to = text.find("ARCHITECTURE_ELEMENTS {");
    if (from != std::string::npos && to != std::string::npos) text.erase(from, to - from);
    return text;
}

// The options file with every entry at its default but the element list shown at start and the
// start-up library.
std::string OptionsWithLibrary(const std::string& library) {
    const char* const kinds[] = {"ARCHITECTURE", "LIBRARY", "MATRIX", "MASK", "RULE",
                                 "PERM",         "LOGIC",   "S-SEED", "C++",  "SPLIT",
                                 "JOIN",         "INPUT",   "OUTPUT", "MACRO"};
    std::string text = "DIRECTORIES {\n";
    for (const char* kind : kinds)
        text += std::string("  ") + kind + ": NOT_DEFINED\n";
    text += "}\nFILTER {\n";
    for (const char* kind : kinds)
        text += std::string("  ") + kind + ": *\n";
    return text +
           "}\nGRID {\n  VISIBLE: ON\n  DIMENSION: (15,15)\n  RASTERIZE: ON\n}\n"
           "STARTUP {\n  DIMENSION: (16,16)\n  ELEMENT_WINDOW: ON\n"
           "  OVERVIEW_WINDOW: OFF\n  SIMULATION_BOX: OFF\n  LIBRARY: " +
           library + "\n}\nCOMPILER {\n  CC: c++\n  CC_FLAGS: \n  LD_FLAGS: \n}\n";
}

const char* const kMainTitle = "QUIRAN Pro  a.arc";

class QuestionKeys : public ::testing::Test {
protected:
    QuestionKeys() : folder("/tmp/quiran-e2e-keys-XXXXXX") {}

    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr || !screen.Ok()) GTEST_SKIP() << "no X server";
        ASSERT_FALSE(folder.Get().empty());
        WriteText(Path("a.arc"), ReadAll(kExample));
        WriteText(Path("b.arc"), ReadAll(kExample));
    }

    std::string Path(const std::string& name) const { return folder.Path(name); }
    std::string Stderr() const { return ReadAll(Path("stderr.txt")); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> result;
        const std::string all = ReadAll(Path("messages.log"));
        size_t start = 0;
        for (size_t end; (end = all.find('\f', start)) != std::string::npos; start = end + 1)
            result.push_back(all.substr(start, end - start));
        return result;
    }

    // Starts quiran on a.arc and waits until the main window is up and the splash has gone.
    Window Start() {
        e2e::ProgramSetup setup = e2e::SetupIn(folder);
        e2e::LogMessages(setup, Path("messages.log"), QUIRAN_MESSAGE_LOG_LIBRARY);
        EXPECT_TRUE(run.Start(QUIRAN_PROGRAM, {QUIRAN_PROGRAM, "a.arc"}, setup));
        const Window main = screen.WaitForWindow(kMainTitle);
        EXPECT_NE(main, 0u) << Stderr();
        EXPECT_TRUE(screen.WaitGone("Welcome"));
        SleepScaledMs(300);
        return main;
    }

    // Opens the element list's Library menu, the one entry of its menu bar, with the pointer
    // and chooses its entry by the mnemonic.
    void ChooseFromLibraryMenu(Window elements, const std::string& mnemonic) {
        const Point origin = screen.RootOf(elements);
        ClickAt({origin.x + 30, origin.y + 14});
        ASSERT_TRUE(WaitFor([&] { return screen.PoppedMenu() != 0; })) << "no menu";
        Command("xdotool key " + mnemonic);
    }

    // Types path into the file dialog titled title and presses its OK with Return.
    void ChooseInDialog(const std::string& title, const std::string& path) {
        const Window dialog = screen.WaitForWindow(title);
        ASSERT_NE(dialog, 0u);
        SleepScaledMs(300);
        const Window field = screen.SelectionField(dialog);
        ASSERT_NE(field, 0u);
        Command("xdotool windowfocus --sync " + Hex(dialog));
        ClickAt(screen.Middle(field));
        Command("xdotool key End key --repeat 300 --delay 1 BackSpace");
        Command("xdotool type --delay 5 '" + path + "'");
        Command("xdotool key Return");
    }

    // Does ask, waits for the question titled title that it brings, checks its text, presses
    // Escape on it and waits until it has gone; the program must then still run.
    void EscapeOnQuestion(const std::function<void()>& ask, const std::string& title,
                          const char* text) {
        const size_t before = Messages().size();
        ask();
        ASSERT_TRUE(WaitFor([&] { return Messages().size() > before; })) << Stderr();
        EXPECT_EQ(Messages().back(), text);
        const Window box = screen.WaitForWindow(title);
        ASSERT_NE(box, 0u);
        SleepScaledMs(200);
        Keys(box, "Escape");
        ASSERT_TRUE(screen.WaitGone(title)) << "Escape left the question up";
        SleepScaledMs(500);
        ASSERT_TRUE(run.Running()) << "Escape ended the program";
        EXPECT_EQ(Messages().size(), before + 1);
    }

    // Selects the element whose icon's top left corner lies at (x, y) of the working area and
    // deletes it with the tool bar: the architecture is then modified.
    void DeleteElementAt(Window main, int x, int y) {
        const Window area = screen.FindBySize(main, 1500, 1000);
        ASSERT_NE(area, 0u);
        const Point origin = screen.RootOf(area);
        // Shift-click adds to the selection, and a plain click would let go again.
        Command("xdotool mousemove --sync " + std::to_string(origin.x + x + 20) + " " +
                std::to_string(origin.y + y + 10) + " keydown shift click 1 keyup shift 2>&1");
        SleepScaledMs(300);
        const Point tool = screen.WaitForToolButton(main, e2e::Tool::kDelete);
        ASSERT_GE(tool.x, 0);
        ClickAt(tool);
        SleepScaledMs(300);
    }

    // The library's drawing area in the element list: the lowest window at least 60 by 100
    // pixels (the palette is above it, scroll bars are narrower), the deepest of those that
    // start there.
    Window LibraryArea(Window elements) {
        Window found = 0;
        int lowest = -1;
        screen.Walk(elements, [&](Window w, const XWindowAttributes& a) {
            if (a.width < 60 || a.height < 100) return;
            const int top = screen.RootOf(w).y;
            if (top >= lowest) {
                lowest = top;
                found = w;
            }
        });
        return found;
    }

    // Deletes the first element of the library through its popup menu.
    void DeleteFirstLibraryElement(Window elements) {
        Window area = 0;
        ASSERT_TRUE(WaitFor([&] { return (area = LibraryArea(elements)) != 0; }));
        const Point origin = screen.RootOf(area);
        ClickAt({origin.x + 10 + 20, origin.y + 10 + 10}, 3);
        ASSERT_TRUE(WaitFor([&] { return screen.PoppedMenu() != 0; })) << "no popup menu";
        SleepScaledMs(200);
        Command("xdotool key d");
        ASSERT_TRUE(WaitFor([&] { return screen.PoppedMenu() == 0; }));
        SleepScaledMs(300);
    }

    // Ends the run with Ctrl-Q, answering the question titled title (if not empty) with its
    // " No ", right of the focused " Yes ".
    void QuitWithoutSaving(Window main, const std::string& title) {
        Keys(main, "ctrl+q");
        if (!title.empty()) {
            const Window box = screen.WaitForWindow(title);
            ASSERT_NE(box, 0u);
            SleepScaledMs(200);
            Keys(box, "Right space");
        }
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    e2e::ScratchFolder folder;
    e2e::ProgramRun run;
    e2e::Screen screen;
};

// Quit, New and Open on a modified architecture: Escape keeps the program, the file and the
// change, which Ctrl-S then saves.
TEST_F(QuestionKeys, EscapeOnTheMainWindowsQuestionsKeepsTheWork) {
    const std::string original = ReadAll(kExample);
    const Window main = Start();
    ASSERT_NE(main, 0u);
    DeleteElementAt(main, 930, 435); // "Result"

    EscapeOnQuestion([&] { Keys(main, "ctrl+q"); }, " ", kArchitectureQuestion);

    ClickAt(screen.WaitForToolButton(main, e2e::Tool::kNew));
    const Window dimensions = screen.WaitForWindow("New Architecture");
    ASSERT_NE(dimensions, 0u);
    SleepScaledMs(300);
    EscapeOnQuestion([&] { Keys(dimensions, "Return"); }, " ", kArchitectureQuestion);

    Keys(main, "ctrl+o");
    EscapeOnQuestion([&] { ChooseInDialog("Open", Path("b.arc")); }, " ", kArchitectureQuestion);
    if (screen.Find("Open") != 0) Keys(screen.Find("Open"), "Escape");
    ASSERT_TRUE(screen.WaitGone("Open"));

    EXPECT_EQ(ReadAll(Path("a.arc")), original);
    EXPECT_EQ(screen.Find(kMainTitle), main);
    // The change is still there: saving writes the example without "Result".
    Keys(main, "ctrl+s");
    ASSERT_TRUE(WaitFor([&] { return ReadAll(Path("a.arc")) != original; }));
    EXPECT_EQ(ReadAll(Path("a.arc")).find("NAME:       Result"), std::string::npos);
    EXPECT_NE(ReadAll(Path("a.arc")).find("NAME:       JOIN"), std::string::npos);
    EXPECT_EQ(ReadAll(Path("b.arc")), original);
    QuitWithoutSaving(main, "");
}

// The library's question, from its own Open and from the main window's quit.
TEST_F(QuestionKeys, EscapeOnTheLibrarysQuestionsKeepsTheWork) {
    const std::string library = ExampleLibrary();
    WriteText(Path("a.lib"), library);
    WriteText(Path("b.lib"), library);
    WriteText(Path(".quiran"), OptionsWithLibrary(Path("a.lib")));
    const Window main = Start();
    ASSERT_NE(main, 0u);
    const Window elements = screen.WaitForWindow("Elements");
    ASSERT_NE(elements, 0u) << Stderr();
    ASSERT_TRUE(Messages().empty()) << Messages()[0];
    DeleteFirstLibraryElement(elements);

    ChooseFromLibraryMenu(elements, "o");
    EscapeOnQuestion([&] { ChooseInDialog("Open", Path("b.lib")); }, "Library", kLibraryQuestion);
    if (screen.Find("Open") != 0) Keys(screen.Find("Open"), "Escape");
    ASSERT_TRUE(screen.WaitGone("Open"));

    EscapeOnQuestion([&] { Keys(main, "ctrl+q"); }, "Library", kLibraryQuestion);

    EXPECT_EQ(ReadAll(Path("a.lib")), library);
    EXPECT_EQ(ReadAll(Path("b.lib")), library);
    EXPECT_EQ(ReadAll(Path("a.arc")), ReadAll(kExample));
    QuitWithoutSaving(main, "Library");
}

} // namespace
