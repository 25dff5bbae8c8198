// The program as a user meets it: the real quiran started under the X server of DISPLAY, driven
// with xdotool and with the client messages a window manager sends, its titles read with xprop,
// every file it writes compared byte for byte, and its exit statuses checked.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/ArchitectureText.h"
#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"
#include "tests/support/program/WindowManager.h"
#include "tests/support/screenshot/Screenshot.h"

namespace {

using e2e::Command;
using e2e::Exists;
using e2e::kTimeoutMs;
using e2e::ReadAll;
using e2e::SleepMs;
using e2e::WaitFor;
using e2e::WaitIdle;
using e2e::WriteText;

const char* const kExample = QUIRAN_SOURCE_DIR "/examples/pipeline.arc";

std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(window));
    return text;
}

// The example with a comment and empty lines that the program's writer does not produce, so
// that a save that really wrote is seen.
std::string UntidyExample() {
    std::string text = ReadAll(kExample);
    const std::string anchor = "REMARKS {\n";
    text.insert(text.find(anchor), "# saved by hand\n\n\n");
    return text;
}

// One run of the program in a folder of its own, which is also its HOME: the settings files are
// not there, and titles show the folder as "~".
class Program {
public:
    Program() : folder("/tmp/quiran-e2e-XXXXXX") {}

    std::string Path(const std::string& name) const { return folder.Path(name); }

    // Starts quiran with the arguments; addressLimit bounds its address space (0: none), limits
    // are more resource limits.
    void Start(const std::vector<std::string>& args, const char* display = nullptr,
               rlim_t addressLimit = 0, const std::vector<std::pair<int, rlim_t>>& limits = {}) {
        e2e::ProgramSetup setup = e2e::SetupIn(folder);
        e2e::LogMessages(setup, Path("messages.log"), QUIRAN_MESSAGE_LOG_LIBRARY);
        if (display != nullptr) setup.environment.push_back({"DISPLAY", display});
        setup.addressLimit = addressLimit;
        setup.limits = limits;
        run.Start(QUIRAN_PROGRAM, e2e::ArgvOf(QUIRAN_PROGRAM, args), setup);
    }

    // Waits for the process to end; returns its wait status, or -1 when it is still running.
    int Wait(int timeoutMs = kTimeoutMs) { return run.Wait(timeoutMs); }
    // Waits for the process to end; a failure unless it exited with code.
    ::testing::AssertionResult Exits(int code) {
        const int status = Wait();
        if (!WIFEXITED(status)) return ::testing::AssertionFailure() << "wait status " << status;
        if (WEXITSTATUS(status) != code)
            return ::testing::AssertionFailure() << "exit code " << WEXITSTATUS(status);
        return ::testing::AssertionSuccess();
    }
    bool Running() { return run.Running(); }
    pid_t Pid() const { return run.Pid(); }

    // The texts of the message boxes created so far, as "kind\ntext".
    std::vector<std::string> Messages() const {
        std::vector<std::string> result;
        std::string all = ReadAll(Path("messages.log"));
        size_t start = 0;
        for (size_t end; (end = all.find('\f', start)) != std::string::npos; start = end + 1)
            result.push_back(all.substr(start, end - start));
        return result;
    }
    std::string Stderr() const { return ReadAll(Path("stderr.txt")); }

private:
    e2e::ScratchFolder folder; // goes after the run, which is killed first
    e2e::ProgramRun run;
};

using e2e::Screen;

// The window's title as xprop reads it.
std::string Title(Window window) {
    const std::string line = Command("xprop -id " + Hex(window) + " WM_NAME");
    const size_t open = line.find('"');
    const size_t close = line.rfind('"');
    if (open == std::string::npos || close == open) return "<" + line + ">";
    return line.substr(open + 1, close - open - 1);
}

// Keys typed into the window (xdotool key names, such as "ctrl+s" or "Return").
void Keys(Window window, const std::string& keys) {
    e2e::TypeKeys(Hex(window), keys, 30);
}

// A click of button 1 at (x, y) of the window.
void Click(Window window, int x, int y) {
    Command("xdotool mousemove --sync --window " + Hex(window) + " " + std::to_string(x) + " " +
            std::to_string(y) + " click 1 2>&1");
}

// Chooses an entry of the main window's File menu by its mnemonic: the menu bar's first cascade
// is opened with the pointer, the entry with its key once the menu is up.
void FileMenu(Screen& screen, Window main, const std::string& mnemonic) {
    Window file = 0;
    ASSERT_TRUE(WaitFor([&] { return (file = screen.MenuBarEntry(main, 0)) != 0; }));
    const e2e::Point at = screen.Middle(file);
    Command("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) +
            " click 1 2>&1");
    ASSERT_TRUE(WaitFor([&] { return screen.PoppedMenu() != 0; })) << "no File menu";
    Command("xdotool key " + mnemonic);
}

// Answers the box titled title with a key, once it is up, and waits until it is gone.
bool Answer(Screen& screen, const std::string& title, const std::string& key) {
    const Window box = screen.WaitForWindow(title);
    if (box == 0) return false;
    SleepMs(200);
    Keys(box, key);
    return screen.WaitGone(title);
}

const char* const kMainTitle = "QUIRAN Pro";

class QuiranFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr || !screen.Ok()) GTEST_SKIP() << "no X server";
    }

    // Starts the program on file and waits for its main window with the title of that file.
    Window StartOn(const std::string& file, const std::string& title) {
        program.Start({file});
        const Window main = screen.WaitForWindow(std::string(kMainTitle) + "  " + title);
        EXPECT_NE(main, 0u) << "stderr: " << program.Stderr();
        SleepMs(300); // the main loop is reached right after the title is set
        AwaitSplash();
        return main;
    }

    // Under a window manager the splash keeps the main window from input while it is up.
    void AwaitSplash() {
        if (windowManager.Running()) {
            EXPECT_TRUE(screen.WaitGone("Welcome"));
        }
    }

    // Types a path into the shown file dialog titled title, replacing what it holds, and
    // presses OK with Return.
    void ChooseInDialog(const std::string& title, const std::string& path) {
        const Window dialog = screen.WaitForWindow(title);
        ASSERT_NE(dialog, 0u);
        SleepMs(300);
        const Window field = screen.SelectionField(dialog);
        ASSERT_NE(field, 0u);
        Command("xdotool windowfocus --sync " + Hex(dialog));
        Click(field, 10, 10);
        Command("xdotool key End key --repeat 300 --delay 1 BackSpace");
        Command("xdotool type --delay 5 '" + path + "'");
        Command("xdotool key Return");
    }

    e2e::WindowManager windowManager; // stopped after the program is gone
    Program program;
    Screen screen;
};

using e2e::Desktop;

class QuiranDesktop : public QuiranFixture, public ::testing::WithParamInterface<Desktop> {
protected:
    void SetUp() override {
        QuiranFixture::SetUp();
        if (IsSkipped()) return;
        // Under mwm every window is framed and placed by the window manager.
        ASSERT_TRUE(windowManager.StartFor(GetParam())) << windowManager.Error();
    }
};

INSTANTIATE_TEST_SUITE_P(On, QuiranDesktop, ::testing::Values(Desktop::kBare, Desktop::kMwm),
                         [](const ::testing::TestParamInfo<Desktop>& info) {
                             return e2e::DesktopName(info.param);
                         });

// How far the middles of two windows may lie apart and still count as one over the other: the
// frames a window manager puts around a dialog and around the main window differ by a few pixels.
const int kCentreSlack = 8;

// Whether window lies centred over main, as their real windows show, on each axis where its frame
// fits the screen; on an axis where it does not, it lies at the edge of the screen, moved as little
// as needed. What they show goes to where.
bool CentredOver(Screen& screen, Window window, Window main, std::string* where) {
    const e2e::Point a = screen.Middle(window);
    const e2e::Point b = screen.Middle(main);
    e2e::Point frame = {0, 0}, frameSize = {0, 0};
    screen.Frame(window, &frame, &frameSize);
    const e2e::Point room = screen.ScreenSize();
    *where = "middle " + std::to_string(a.x) + "," + std::to_string(a.y) + " over " +
             std::to_string(b.x) + "," + std::to_string(b.y) + ", frame at " +
             std::to_string(frame.x) + "," + std::to_string(frame.y);
    const auto axis = [](int middle, int over, int start, int length, int screenLength) {
        if (start < 0 || start + length > screenLength) return false;
        return std::abs(middle - over) <= kCentreSlack || start == 0 ||
               start + length == screenLength;
    };
    return axis(a.x, b.x, frame.x, frameSize.x, room.x) &&
           axis(a.y, b.y, frame.y, frameSize.y, room.y);
}

// Whether the main window's File menu opens when its entry is clicked; an open menu is closed
// again.
bool FileMenuOpens(Screen& screen, Window main, int ms) {
    const Window file = screen.MenuBarEntry(main, 0);
    if (file == 0) return false;
    const e2e::Point at = screen.Middle(file);
    // Without --sync: xdotool waits for a move that never comes when the pointer is there already.
    Command("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) +
            " click 1 2>&1");
    if (!WaitFor([&] { return screen.PoppedMenu() != 0; }, ms)) return false;
    Command("xdotool key Escape");
    WaitFor([&] { return screen.PoppedMenu() == 0; });
    return true;
}

TEST_P(QuiranDesktop, SavesWithCtrlSAndSaveAsAndQuitsWithCtrlQ) {
    const std::string original = ReadAll(kExample);
    WriteText(program.Path("a.arc"), UntidyExample());
    Window main = StartOn("a.arc", "a.arc");
    ASSERT_NE(main, 0u);
    EXPECT_EQ(Title(main), "QUIRAN Pro  a.arc");
    EXPECT_TRUE(program.Messages().empty());

    Keys(main, "ctrl+s");
    ASSERT_TRUE(WaitFor([&] { return ReadAll(program.Path("a.arc")) == original; }))
        << ReadAll(program.Path("a.arc"));
    EXPECT_EQ(Title(main), "QUIRAN Pro  a.arc");

    // Save As through the dialog, into a new file given by its full path.
    const std::string copy = program.Path("copy.arc");
    FileMenu(screen, main, "a");
    ChooseInDialog("Save As", copy);
    ASSERT_TRUE(WaitFor([&] { return ReadAll(copy) == original; })) << ReadAll(copy);
    EXPECT_TRUE(screen.WaitGone("Save As"));
    EXPECT_EQ(Title(main), "QUIRAN Pro  ~/copy.arc");

    // Save As onto an existing file asks first; No keeps it, Yes replaces it.
    WriteText(program.Path("old.arc"), "old\n");
    FileMenu(screen, main, "a");
    ChooseInDialog("Save As", program.Path("old.arc"));
    ASSERT_TRUE(Answer(screen, "Error", "Escape"));
    EXPECT_EQ(ReadAll(program.Path("old.arc")), "old\n");
    ASSERT_NE(screen.Find("Save As"), 0u); // the dialog stays up
    Keys(screen.Find("Save As"), "Return");
    ASSERT_TRUE(Answer(screen, "Error", "Return"));
    ASSERT_TRUE(WaitFor([&] { return ReadAll(program.Path("old.arc")) == original; }));
    EXPECT_EQ(Title(main), "QUIRAN Pro  ~/old.arc");
    const std::vector<std::string> messages = program.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "question\nFile already exists!\nOverwrite?");

    Keys(main, "ctrl+q");
    ASSERT_TRUE(program.Exits(0));
    EXPECT_EQ(ReadAll(program.Path("a.arc")), original);
}

TEST_P(QuiranDesktop, FileDialogHoldsTheMainWindowOff) {
    const std::string original = ReadAll(kExample);
    WriteText(program.Path("a.arc"), original);
    const Window main = StartOn("a.arc", "a.arc");
    ASSERT_NE(main, 0u);
    Keys(main, "ctrl+o");
    const Window dialog = screen.WaitForWindow("Open");
    ASSERT_NE(dialog, 0u);
    SleepMs(300);

    // While the dialog is up, the main window's Ctrl-S does nothing.
    WriteText(program.Path("a.arc"), "touched\n");
    Keys(main, "ctrl+s");
    SleepMs(700);
    EXPECT_EQ(ReadAll(program.Path("a.arc")), "touched\n");

    Keys(dialog, "Escape");
    ASSERT_TRUE(screen.WaitGone("Open"));
    Keys(main, "ctrl+s");
    EXPECT_TRUE(WaitFor([&] { return ReadAll(program.Path("a.arc")) == original; }));
    screen.SendDeleteWindow(main);
    ASSERT_TRUE(program.Exits(0));
}

// Every use of the file dialog in one run, the first of a fresh process included: it comes up at
// its laid-out size, centred over the main window, and the main window's menus take no input until
// Escape, Cancel or the window manager's close takes it down; then they take input again.
TEST_P(QuiranDesktop, FileDialogComesUpWholeCentredAndHoldingTheMenusEveryTime) {
    WriteText(program.Path("a.arc"), ReadAll(kExample));
    const Window main = StartOn("a.arc", "a.arc");
    ASSERT_NE(main, 0u);
    struct Use {
        const char* keys; // that show the dialog; null: the File menu's Save As
        const char* title;
        const char* close; // "Escape", "Cancel" or "window manager"
    };
    const Use uses[] = {
        {"ctrl+o", "Open", "Escape"},
        {"ctrl+o", "Open", "Cancel"},
        {nullptr, "Save As", "window manager"}, // File > Save As...
    };
    for (const Use& use : uses) {
        SCOPED_TRACE(std::string(use.title) + " closed by " + use.close);
        if (use.keys != nullptr) {
            Keys(main, use.keys);
        } else {
            FileMenu(screen, main, "a");
        }
        const Window dialog = screen.WaitForWindow(use.title);
        ASSERT_NE(dialog, 0u);
        e2e::Point size = {0, 0};
        EXPECT_TRUE(WaitFor([&] {
            size = screen.Size(dialog);
            return size.x >= 150 && size.y >= 150;
        })) << size.x
            << " x " << size.y;
        std::string where;
        EXPECT_TRUE(WaitFor([&] { return CentredOver(screen, dialog, main, &where); }, 2000))
            << where;

        EXPECT_FALSE(FileMenuOpens(screen, main, 700));
        if (use.close == std::string("Escape")) {
            Keys(dialog, "Escape");
        } else if (use.close == std::string("Cancel")) {
            // The action area's buttons are gadgets: Cancel is the rightmost of the three in the
            // dialog's lowest row, below the selection field.
            const Window field = screen.SelectionField(dialog);
            ASSERT_NE(field, 0u);
            const int fieldBottom = screen.RootOf(field).y + screen.Size(field).y;
            const e2e::Point at = screen.RootOf(dialog);
            const int bottom = at.y + screen.Size(dialog).y;
            Command("xdotool mousemove --sync " + std::to_string(at.x + size.x * 5 / 6) + " " +
                    std::to_string((fieldBottom + bottom) / 2) + " click 1 2>&1");
        } else {
            screen.SendDeleteWindow(dialog);
        }
        ASSERT_TRUE(screen.WaitGone(use.title));
        EXPECT_TRUE(FileMenuOpens(screen, main, kTimeoutMs));
    }
    EXPECT_TRUE(program.Messages().empty());
    Keys(main, "ctrl+q");
    ASSERT_TRUE(program.Exits(0));
}

// Each option dialog comes up centred over the main window and keeps the main window's menus from
// input until Cancel or the window manager's close takes it down.
TEST_P(QuiranDesktop, OptionDialogsComeUpCentredAndHoldTheMenusOff) {
    WriteText(program.Path("a.arc"), ReadAll(kExample));
    const Window main = StartOn("a.arc", "a.arc");
    ASSERT_NE(main, 0u);
    struct Case {
        const char* mnemonic; // in the Options menu
        const char* title;
    };
    const Case cases[] = {
        {"t", "Default Times"},          {"c", "Compiler Settings"},
        {"w", "Working Area - Options"}, {"d", "Directories/Filter - Options"},
        {"u", "Startup - Options"},
    };
    for (const Case& c : cases) {
        for (const bool byWindowManager : {false, true}) {
            SCOPED_TRACE(std::string(c.title) +
                         (byWindowManager ? " closed by the window manager" : " closed by Cancel"));
            Window options = 0;
            ASSERT_TRUE(WaitFor([&] { return (options = screen.MenuBarEntry(main, 4)) != 0; }));
            const e2e::Point entry = screen.Middle(options);
            Command("xdotool mousemove " + std::to_string(entry.x) + " " + std::to_string(entry.y) +
                    " click 1 2>&1");
            ASSERT_TRUE(WaitFor([&] { return screen.PoppedMenu() != 0; })) << "no Options menu";
            Command(std::string("xdotool key ") + c.mnemonic);
            const Window dialog = screen.WaitForWindow(c.title);
            ASSERT_NE(dialog, 0u);
            std::string where;
            EXPECT_TRUE(WaitFor([&] { return CentredOver(screen, dialog, main, &where); }, 2000))
                << where;
            EXPECT_FALSE(FileMenuOpens(screen, main, 700));
            if (byWindowManager) {
                screen.SendDeleteWindow(dialog);
            } else {
                e2e::Point cancel{-1, -1};
                ASSERT_TRUE(WaitFor([&] {
                    cancel = screen.ButtonInLowestRow(dialog, 0, 300);
                    return cancel.x >= 0;
                }));
                Command("xdotool mousemove " + std::to_string(cancel.x) + " " +
                        std::to_string(cancel.y) + " click 1 2>&1");
            }
            ASSERT_TRUE(screen.WaitGone(c.title));
            EXPECT_TRUE(FileMenuOpens(screen, main, kTimeoutMs));
        }
    }
    EXPECT_TRUE(program.Messages().empty());
    Keys(main, "ctrl+q");
    ASSERT_TRUE(program.Exits(0));
}

// The splash comes up centred over the main window where it really is, also where a window
// manager has placed it.
TEST_P(QuiranDesktop, SplashIsCentredOverThePlacedMainWindow) {
    program.Start({});
    const Window main = screen.WaitForWindow(kMainTitle, true);
    ASSERT_NE(main, 0u) << program.Stderr();
    const Window splash = screen.WaitForWindow("Welcome");
    ASSERT_NE(splash, 0u);
    std::string where;
    EXPECT_TRUE(CentredOver(screen, splash, main, &where)) << where;
    EXPECT_EQ(screen.Size(splash).x, 400);
    EXPECT_EQ(screen.Size(splash).y, 265);
    ASSERT_TRUE(screen.WaitGone("Welcome"));
    Keys(main, "ctrl+q");
    ASSERT_TRUE(program.Exits(0));
}

// The dialog offers the file named relative to the working folder on the command line so that OK
// on it means that file, not one of the same name below the dialog's directory; a name typed
// relative is joined to the dialog's directory.
TEST_P(QuiranDesktop, FileDialogOffersTheCurrentFileNamedRelative) {
    const std::string original = ReadAll(kExample);
    struct Case {
        const char* mnemonic; // of the File menu entry
        const char* dialog;
        const char* typed;   // replaces the offered name; null: OK on the offered name
        const char* written; // the file holding the architecture as the program writes it
    };
    const Case cases[] = {
        {"o", "Open", nullptr, nullptr},
        {"a", "Save As", nullptr, "work/saved1.arc"},
        {"a", "Save As", "typed.arc", "work/typed.arc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + " " + (c.typed != nullptr ? c.typed : "offered"));
        Program run;
        ASSERT_EQ(mkdir(run.Path("work").c_str(), 0755), 0);
        ASSERT_EQ(mkdir(run.Path("work/work").c_str(), 0755), 0);
        WriteText(run.Path("work/saved1.arc"), UntidyExample());
        WriteText(run.Path("work/work/saved1.arc"), "another file\n");
        run.Start({"work/saved1.arc"});
        const Window main = screen.WaitForWindow("QUIRAN Pro  work/saved1.arc");
        ASSERT_NE(main, 0u) << run.Stderr();
        SleepMs(300);
        AwaitSplash();

        FileMenu(screen, main, c.mnemonic);
        if (c.typed != nullptr) {
            ChooseInDialog(c.dialog, c.typed);
        } else {
            const Window dialog = screen.WaitForWindow(c.dialog);
            ASSERT_NE(dialog, 0u);
            SleepMs(300);
            const Window field = screen.SelectionField(dialog);
            ASSERT_NE(field, 0u);
            Command("xdotool windowfocus --sync " + Hex(dialog));
            Click(field, 10, 10);
            Command("xdotool key Return");
        }
        const bool replaces = c.mnemonic[0] == 'a' && c.typed == nullptr;
        if (replaces) {
            ASSERT_TRUE(Answer(screen, "Error", "Return"));
        }
        ASSERT_TRUE(screen.WaitGone(c.dialog));
        if (c.written != nullptr) {
            EXPECT_TRUE(WaitFor([&] { return ReadAll(run.Path(c.written)) == original; }));
        }
        const std::string shown = c.written != nullptr ? c.written : "work/saved1.arc";
        EXPECT_TRUE(WaitFor([&] { return Title(main) == "QUIRAN Pro  ~/" + shown; }))
            << Title(main);

        // Nothing below the dialog's directory was read or written.
        EXPECT_EQ(ReadAll(run.Path("work/work/saved1.arc")), "another file\n");
        EXPECT_FALSE(Exists(run.Path("work/work/typed.arc")));
        const std::vector<std::string> messages = run.Messages();
        ASSERT_EQ(messages.size(), replaces ? 1u : 0u);
        if (replaces) {
            EXPECT_EQ(messages[0], "question\nFile already exists!\nOverwrite?");
        }
        Keys(main, "ctrl+q");
        ASSERT_TRUE(run.Exits(0));
    }
}

TEST_F(QuiranFixture, ShowsTheExampleOnTheWorkingArea) {
    WriteText(program.Path("a.arc"), ReadAll(kExample));
    const Window main = StartOn("a.arc", "a.arc");
    ASSERT_NE(main, 0u);
    // The welcome splash covers the working area until its timeout; what it covered is drawn
    // again when the program has taken the exposure: polled, not waited for.
    EXPECT_TRUE(screen.WaitGone("Welcome"));

    // The working area is white with black grid points, icons outlined in black and blue wires.
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    long white = 0, black = 0, blue = 0;
    const auto count = [&] {
        white = black = blue = 0;
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, main, &attributes)) return false;
        XImage* image =
            XGetImage(display, main, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (image == nullptr) return false;
        for (int y = 0; y < image->height; ++y) {
            for (int x = 0; x < image->width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                const unsigned long r = (pixel >> 16) & 0xff, g = (pixel >> 8) & 0xff,
                                    b = pixel & 0xff;
                if (r == 255 && g == 255 && b == 255) ++white;
                if (r == 0 && g == 0 && b == 0) ++black;
                if (b > 150 && r < 100 && g < 100) ++blue;
            }
        }
        XDestroyImage(image);
        return white > 100000 && black > 1500 && blue > 300;
    };
    WaitFor(count);
    EXPECT_TRUE(testshot::Save(display, main, "pipeline-main-window"));
    XCloseDisplay(display);
    EXPECT_GT(white, 100000);
    EXPECT_GT(black, 1500); // more than the grid points alone
    EXPECT_GT(blue, 300);   // six wires
    screen.SendDeleteWindow(main);
    EXPECT_TRUE(WIFEXITED(program.Wait()));
}

// The accelerators are fallback resources: without them Ctrl-S saves nothing.
TEST_F(QuiranFixture, OriginalMotifLeavesOutTheFallbackResources) {
    const std::string original = ReadAll(kExample);
    struct Case {
        const char* option;
        bool saves;
    };
    const Case cases[] = {{"--original_motif", false}, {"--original_motifs", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        Program run;
        WriteText(run.Path("a.arc"), UntidyExample());
        run.Start({c.option, run.Path("a.arc")});
        const Window main = screen.WaitForWindow("QUIRAN Pro  ~/a.arc");
        ASSERT_NE(main, 0u) << run.Stderr();
        SleepMs(300);
        Keys(main, "ctrl+s");
        EXPECT_EQ(WaitFor([&] { return ReadAll(run.Path("a.arc")) == original; }, 1500), c.saves);
        screen.SendDeleteWindow(main);
        ASSERT_TRUE(run.Exits(0));
    }
}

TEST_P(QuiranDesktop, QuitsWhenTheWindowManagerClosesIt) {
    WriteText(program.Path("a.arc"), ReadAll(kExample));
    const Window main = StartOn(program.Path("a.arc"), "~/a.arc");
    ASSERT_NE(main, 0u);
    screen.SendDeleteWindow(main);
    ASSERT_TRUE(program.Exits(0));
    EXPECT_TRUE(program.Messages().empty());
}

TEST_P(QuiranDesktop, BrokenFileShowsTheLineAndNeverOverwritesThePreviousFile) {
    const std::string good = UntidyExample();
    WriteText(program.Path("a.arc"), good);
    // The fourth element's position line lacks its colon.
    std::string broken = ReadAll(kExample);
    const size_t at = broken.find("        POS:  (690,495)");
    ASSERT_NE(at, std::string::npos);
    broken.replace(at, 23, "        POS   (690,495)");
    const int line = 1 + static_cast<int>(std::count(broken.begin(), broken.begin() + at, '\n'));
    WriteText(program.Path("b.arc"), broken);

    const Window main = StartOn("a.arc", "a.arc");
    ASSERT_NE(main, 0u);
    Keys(main, "ctrl+o");
    ChooseInDialog("Open", program.Path("b.arc"));
    ASSERT_NE(screen.WaitForWindow("Error"), 0u);
    std::vector<std::string> messages = program.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "warning\nLine: " + std::to_string(line) + "\n'POS:' expected");
    ASSERT_TRUE(Answer(screen, "Error", "Return"));

    // The window was cleared before the read: it has no file any more.
    EXPECT_EQ(Title(main), "QUIRAN Pro   ");
    Keys(main, "ctrl+s");
    ASSERT_NE(screen.WaitForWindow("Save As"), 0u);
    Keys(screen.Find("Save As"), "Escape");
    EXPECT_TRUE(screen.WaitGone("Save As"));
    EXPECT_EQ(ReadAll(program.Path("a.arc")), good);
    EXPECT_EQ(ReadAll(program.Path("b.arc")), broken);

    screen.SendDeleteWindow(main);
    // What the failed read left may count as modified: then the question comes, and No quits.
    if (screen.WaitForWindow(" ", false, 2000) != 0) {
        messages = program.Messages();
        EXPECT_EQ(messages.back(),
                  "question\nArchitecture has been modified!\nDo you want to save it ?");
        Answer(screen, " ", "Right space"); // " No ", right of the focused " Yes "
    }
    ASSERT_TRUE(program.Exits(0));
    EXPECT_EQ(ReadAll(program.Path("a.arc")), good);
}

TEST_P(QuiranDesktop, MissingCommandLineFileIsReportedAndTheProgramStarts) {
    program.Start({"-xrm", "*x: y", "nothing.arc", "second.arc"});
    ASSERT_NE(screen.WaitForWindow(" "), 0u) << program.Stderr();
    std::vector<std::string> messages = program.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "information\nCan't open nothing.arc\nNo such file or directory.");
    ASSERT_TRUE(Answer(screen, " ", "Return"));
    const Window main = screen.WaitForWindow(kMainTitle, true);
    ASSERT_NE(main, 0u);
    EXPECT_EQ(Title(main), "QUIRAN Pro   ");
    Keys(main, "ctrl+q");
    ASSERT_TRUE(program.Exits(0));
}

// The options file with every entry at its default but the ARCHITECTURE folder and the start-up
// library.
std::string OptionsFile(const std::string& architectureFolder, const std::string& library) {
    const char* const kinds[] = {"ARCHITECTURE", "LIBRARY", "MATRIX", "MASK", "RULE",
                                 "PERM",         "LOGIC",   "S-SEED", "C++",  "SPLIT",
                                 "JOIN",         "INPUT",   "OUTPUT", "MACRO"};
    std::string text = "DIRECTORIES {\n";
    for (const char* kind : kinds)
        text += std::string("  ") + kind + ": " +
                (kind == kinds[0] ? architectureFolder : std::string("NOT_DEFINED")) + "\n";
    text += "}\nFILTER {\n";
    for (const char* kind : kinds)
        text += std::string("  ") + kind + ": *\n";
    return text +
           "}\nGRID {\n  VISIBLE: ON\n  DIMENSION: (15,15)\n  RASTERIZE: ON\n}\n"
           "STARTUP {\n  DIMENSION: (16,16)\n  ELEMENT_WINDOW: OFF\n"
           "  OVERVIEW_WINDOW: OFF\n  SIMULATION_BOX: OFF\n  LIBRARY: " +
           library + "\n}\nCOMPILER {\n  CC: c++\n  CC_FLAGS: \n  LD_FLAGS: \n}\n";
}

// A FIFO where a file or a folder is expected is refused at once: opening it would wait for a
// writer for ever.
TEST_F(QuiranFixture, FifosAreRefusedWithoutWaiting) {
    struct Case {
        const char* what;
        bool onCommandLine;
        const char* folder; // the ARCHITECTURE folder and start-up library ("pipe": the FIFO)
        const char* library;
        const char* title; // of the box that refuses it
        const char* message;
    };
    const Case cases[] = {
        {"command line", true, "NOT_DEFINED", "NOT_DEFINED", "Error", "warning\nCannot open file!"},
        {"start-up library", false, "NOT_DEFINED", "pipe", ".quiran", "warning\nLine: "},
        {"folder entry", false, "pipe", "NOT_DEFINED", ".quiran", "warning\nLine: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program run;
        const std::string fifo = run.Path("pipe");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const auto value = [&](const char* v) { return std::string(v) == "pipe" ? fifo : v; };
        WriteText(run.Path(".quiran"), OptionsFile(value(c.folder), value(c.library)));
        run.Start(c.onCommandLine ? std::vector<std::string>{"pipe"} : std::vector<std::string>{});
        ASSERT_TRUE(Answer(screen, c.title, "Return")) << run.Stderr();
        const std::vector<std::string> messages = run.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
        const Window main = screen.WaitForWindow(kMainTitle, true);
        ASSERT_NE(main, 0u);
        EXPECT_EQ(Title(main), "QUIRAN Pro   ");
        SleepMs(300);
        Keys(main, "ctrl+q");
        ASSERT_TRUE(run.Exits(0));
    }
}

// Saving beyond the file-size limit fails like any other write: the program lives on, the file
// keeps its old text and no temporary file is left.
TEST_F(QuiranFixture, SaveBeyondTheFileSizeLimitIsAnIoError) {
    const std::string untidy = UntidyExample();
    WriteText(program.Path("a.arc"), untidy);
    program.Start({"a.arc"}, nullptr, 0, {{RLIMIT_FSIZE, 2048}});
    const Window main = screen.WaitForWindow(std::string(kMainTitle) + "  a.arc");
    ASSERT_NE(main, 0u) << program.Stderr();
    SleepMs(300);
    Keys(main, "ctrl+s");
    ASSERT_TRUE(Answer(screen, "Error", "Return")) << program.Stderr();
    const std::vector<std::string> messages = program.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "warning\nIO Error");
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(ReadAll(program.Path("a.arc")), untidy);
    EXPECT_EQ(Command("ls -A " + program.Path("") + " | grep -c '^\\.a\\.arc\\.'"), "0\n");

    screen.SendDeleteWindow(main);
    if (screen.WaitForWindow(" ", false, 2000) != 0) Answer(screen, " ", "Right space"); // No
    ASSERT_TRUE(program.Exits(0));
    EXPECT_EQ(ReadAll(program.Path("a.arc")), untidy);
}

// The example with the given number of clocks.
std::string ExampleWithClocks(int count) {
    std::string text = ReadAll(kExample);
    const std::string one =
        "    NUMBER: 1\n    CLOCK {\n      TIME:   100\n      OFFSET: 0\n    }\n";
    std::string many = "    NUMBER: " + std::to_string(count) + "\n";
    for (int k = 0; k < count; k++)
        many +=
            "    CLOCK {\n      TIME:   " + std::to_string(100 + k) + "\n      OFFSET: 0\n    }\n";
    const size_t at = text.find(one);
    if (at != std::string::npos) text.replace(at, one.size(), many);
    return text;
}

// Opening many clocks is linear: with a CPU budget far above what ten thousand need, the
// program opens them and lives on (a build of the clock menu item by item took seconds per
// thousand).
TEST_F(QuiranFixture, TenThousandClocksOpenWithinACpuBudget) {
    WriteText(program.Path("a.arc"), ExampleWithClocks(10000));
    program.Start({"a.arc"}, nullptr, 0, {{RLIMIT_CPU, 8}});
    const Window main = screen.WaitForWindow(std::string(kMainTitle) + "  a.arc");
    ASSERT_NE(main, 0u) << program.Stderr();
    SleepMs(300);
    EXPECT_TRUE(program.Messages().empty());
    Keys(main, "ctrl+s");
    ASSERT_TRUE(
        WaitFor([&] { return ReadAll(program.Path("a.arc")) == ExampleWithClocks(10000); }));
    screen.SendDeleteWindow(main);
    ASSERT_TRUE(program.Exits(0));
}

TEST_P(QuiranDesktop, SegmentationFaultSavesCoreArcAndExitsWith1000) {
    const std::string original = ReadAll(kExample);
    WriteText(program.Path("a.arc"), UntidyExample());
    const Window main = StartOn("a.arc", "a.arc");
    ASSERT_NE(main, 0u);
    // The fault comes while the program waits for the user, as one in a command would.
    ASSERT_TRUE(WaitIdle(program.Pid()));
    ASSERT_EQ(kill(program.Pid(), SIGSEGV), 0);

    ASSERT_NE(screen.WaitForWindow("Internal Error"), 0u)
        << "running: " << program.Running() << ", stderr: " << program.Stderr();
    std::vector<std::string> messages = program.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(
        messages[0].rfind("information\nOops ...\n\n    You have found a bug in QUIRAN Pro.", 0),
        0u);
    ASSERT_TRUE(Answer(screen, "Internal Error", "Return"));
    ASSERT_NE(screen.WaitForWindow("core.arc"), 0u);
    messages = program.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "information\nTrying to save the current\narchitecture in 'core.arc'");
    Keys(screen.Find("core.arc"), "Return");

    const int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 1000 % 256);
    EXPECT_EQ(ReadAll(program.Path("core.arc")), original);
    EXPECT_EQ(ReadAll(program.Path("a.arc")), UntidyExample());

    // core.arc loads again, without an error.
    Program second;
    WriteText(second.Path("core.arc"), ReadAll(program.Path("core.arc")));
    second.Start({"core.arc"});
    const Window again = screen.WaitForWindow("QUIRAN Pro  core.arc");
    ASSERT_NE(again, 0u) << second.Stderr();
    SleepMs(300);
    EXPECT_TRUE(second.Messages().empty());
    screen.SendDeleteWindow(again);
    const int secondStatus = second.Wait();
    ASSERT_TRUE(WIFEXITED(secondStatus));
    EXPECT_EQ(WEXITSTATUS(secondStatus), 0);
}

TEST_F(QuiranFixture, RunningOutOfMemorySavesCoreArcAndExitsWith2000) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#endif
    // An input plane of 99999 by 99999 cells needs more than a gigabyte.
    std::string huge = ReadAll(kExample);
    const std::string from = "        INPUT_DIM:  (16,16)\n        OUTPUT_DIM: (16,16)\n        "
                             "CLOCK:      1\n        TIME:       10";
    const size_t at = huge.rfind(from);
    ASSERT_NE(at, std::string::npos);
    huge.replace(at, std::strlen("        INPUT_DIM:  (16,16)"),
                 "        INPUT_DIM:  (99999,99999)");
    WriteText(program.Path("huge.arc"), huge);
    program.Start({"huge.arc"}, nullptr, static_cast<rlim_t>(1) << 30);
    ASSERT_TRUE(program.Exits(2000 % 256));
    EXPECT_NE(program.Stderr().find("\nThere was not enough memory.\nQUIRAN Pro has tried to save "
                                    "the  \ncurrent architecture in 'core.arc'.  \n\n"),
              std::string::npos)
        << program.Stderr();
    EXPECT_TRUE(Exists(program.Path("core.arc")));
}

// The example with every plane of 99999 by 99999 cells (1.2 GB each), its 16-cell rows left as
// they are: the first row is refused with the error box, under an address-space bound that no
// such plane fits, and the program lives on.
TEST_F(QuiranFixture, PlanesLargerThanTheirRowsAreRefusedWithoutTheMemoryTheyDeclare) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#endif
    std::string huge = ReadAll(kExample);
    for (size_t at; (at = huge.find("(16,16)")) != std::string::npos;)
        huge.replace(at, std::strlen("(16,16)"), "(99999,99999)");
    const size_t row = huge.find('\n', huge.find(" DATA {")) + 1;
    const int line = 1 + static_cast<int>(std::count(huge.begin(), huge.begin() + row, '\n'));
    WriteText(program.Path("huge.arc"), huge);
    program.Start({"huge.arc"}, nullptr, static_cast<rlim_t>(256) << 20);
    ASSERT_NE(screen.WaitForWindow("Error"), 0u) << program.Stderr();
    const std::vector<std::string> messages = program.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "warning\nLine: " + std::to_string(line) + "\n'DATA' Unexpected char");
    ASSERT_TRUE(Answer(screen, "Error", "Return"));
    const Window main = screen.WaitForWindow(kMainTitle, true);
    ASSERT_NE(main, 0u);
    EXPECT_TRUE(program.Running());
    screen.SendDeleteWindow(main);
    // What the failed read left may count as modified: then the question comes, and No quits.
    if (screen.WaitForWindow(" ", false, 2000) != 0) Answer(screen, " ", "Right space");
    ASSERT_TRUE(program.Exits(0)) << program.Stderr();
    EXPECT_FALSE(Exists(program.Path("core.arc")));
}

// An architecture with the given default plane size and elements.
std::string Architecture(int dimension, int count, const std::string& elements) {
    return ArchitectureHead(dimension, 3) +
           "ARCHITECTURE_ELEMENTS {\n  NUMBER: " + std::to_string(count) + "\n  ELEMENTS {\n" +
           elements + "  }\n}\n";
}

// One PERM element of n by n cells with one connection.
std::string PermElement(int n) {
    const std::string size = "(" + std::to_string(n) + "," + std::to_string(n) + ")";
    return "    ARCHITECTURE_ELEMENT {\n      TYPE: PERM\n      INTERNAL_DATA {\n"
           "        NAME:       PERM\n        COMMENT:    \n        INPUTS:     1\n"
           "        OUTPUTS:    1\n        INPUT_DIM:  " +
           size + "\n        OUTPUT_DIM: " + size +
           "\n        CLOCK:      0\n        TIME:       0\n      }\n      LOGICAL_DATA {\n"
           "        CONNECTIONS {\n          (0,0) -> (1,1)\n        }\n      }\n"
           "      ARCHITECTURE_DATA {\n        ID:   0\n        PREV: [-,-]\n"
           "        NEXT: [-,-]\n        POS:  (30,30)\n      }\n    }\n";
}

// Planes that cannot all be had under the address-space bound: the program loads what costs
// nothing until written, and otherwise takes the low-memory path, whose core.arc has a clock and
// loads again where there is room.
TEST_F(QuiranFixture, HugePlanesLoadOrTakeTheLowMemoryPath) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#endif
    const rlim_t kMegabyte = static_cast<rlim_t>(1) << 20;
    struct Case {
        const char* what;
        std::string file;
        rlim_t limit; // of the address space
        bool loads;
        rlim_t roomForCore; // the bound under which core.arc must load again (0: not tried)
    };
    const Case cases[] = {
        {"30000 x 30000 PERM", Architecture(16, 1, PermElement(30000)), 768 * kMegabyte, true, 0},
        {"99999 x 99999 stock elements", Architecture(99999, 0, ""), 1024 * kMegabyte, true, 0},
        {"6000 x 6000 stock elements", Architecture(6000, 0, ""), 96 * kMegabyte, true, 0},
        {"30000 x 30000 PERM in too little room", Architecture(16, 1, PermElement(30000)),
         160 * kMegabyte, false, 768 * kMegabyte},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program run;
        WriteText(run.Path("a.arc"), c.file);
        run.Start({"a.arc"}, nullptr, c.limit);
        if (c.loads) {
            const Window main = screen.WaitForWindow(std::string(kMainTitle) + "  a.arc");
            ASSERT_NE(main, 0u) << run.Stderr();
            SleepMs(300);
            EXPECT_TRUE(run.Messages().empty());
            screen.SendDeleteWindow(main);
            ASSERT_TRUE(run.Exits(0));
            continue;
        }
        // The way out through the emergency save takes seconds on a busy machine.
        const int status = run.Wait(4 * kTimeoutMs);
        ASSERT_TRUE(WIFEXITED(status)) << status << run.Stderr();
        EXPECT_EQ(WEXITSTATUS(status), 2000 % 256);
        const std::string core = ReadAll(run.Path("core.arc"));
        EXPECT_NE(core.find("  CLOCKS {\n    NUMBER: 1\n    CLOCK {\n"), std::string::npos) << core;
        if (c.roomForCore == 0) continue;
        Program again;
        WriteText(again.Path("core.arc"), core);
        again.Start({"core.arc"}, nullptr, c.roomForCore);
        const Window main = screen.WaitForWindow(std::string(kMainTitle) + "  core.arc");
        ASSERT_NE(main, 0u) << again.Stderr();
        SleepMs(300);
        EXPECT_TRUE(again.Messages().empty());
        screen.SendDeleteWindow(main);
        const int againStatus = again.Wait();
        ASSERT_TRUE(WIFEXITED(againStatus)) << againStatus;
        EXPECT_EQ(WEXITSTATUS(againStatus), 0);
    }
}

TEST_F(QuiranFixture, NoXServerExitsWithOne) {
    program.Start({"a.arc"}, ":987");
    int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(program.Stderr(), "QUIRAN: cannot connect to X server :987\n");

    // The drag display follows a -display argument as the toolkit does.
    Program second;
    second.Start({"-display", ":986", "a.arc"});
    status = second.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(second.Stderr(), "QUIRAN: cannot connect to X server :986\n");
}

} // namespace
