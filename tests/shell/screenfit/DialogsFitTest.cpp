// Every kind of dialog and window the program opens, at its default size, on a screen of
// 800 x 600, bare and under mwm: its frame lies on the screen, and so does every button of its
// button row, whole and inside its window. The process has an X server of that size of its own.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editors/ModifyTwoValuesDialog.h"
#include "editors/ModifyValueDialog.h"
#include "model/elements/ACElem.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ASplitElem.h"
#include "model/format/FileKind.h"
#include "shell/AMacroElem.h"
#include "shell/AboutWindow.h"
#include "shell/ClocksWindow.h"
#include "shell/CompilerSettingsDialog.h"
#include "shell/DefaultTimesDialog.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/SimulationBoxWindow.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "tests/support/gui/ShellGui.h"
#include "tests/support/program/PrivateServer.h"
#include "tests/support/program/Screen.h"
#include "tests/support/program/WindowManager.h"
#include "tests/support/screenshot/Screenshot.h"

namespace {

const int kScreenWidth = 800;
const int kScreenHeight = 600;

// The small server, started before the first test opens the display and stopped after the last.
class SmallScreen : public ::testing::Environment {
public:
    void SetUp() override {
        server = std::make_unique<e2e::PrivateServer>("800x600x24");
        if (!server->Name().empty()) setenv("DISPLAY", server->Name().c_str(), 1);
    }
    void TearDown() override { server.reset(); }
    static bool Up() { return server != nullptr && !server->Name().empty(); }

private:
    static std::unique_ptr<e2e::PrivateServer> server;
};
std::unique_ptr<e2e::PrivateServer> SmallScreen::server;
::testing::Environment* const kSmallScreen = ::testing::AddGlobalTestEnvironment(new SmallScreen);

using testgui::AddElement;

template <typename T> void ModifyWindowOf(MainWindow* main) {
    AddElement<T>(main, 60, 60)->OpenModifyWindow();
}
template <typename T> void ShowDataWindowOf(MainWindow* main) {
    AddElement<T>(main, 60, 60)->OpenShowDataWindow(0);
}
void MacroWindow(MainWindow* main) {
    auto* macro = new AMacroElem(main, 60, 60);
    main->GetElements().Add(macro);
    macro->OpenModifyWindow();
}
void IgnoreValue(int, int, void*) {}
void IgnoreValues(int, int, int, void*) {}

struct DialogCase {
    const char* name;
    void (*open)(MainWindow* main);
};

const DialogCase kDialogs[] = {
    {"Compiler Settings", [](MainWindow* m) { new CompilerSettingsDialog(m); }},
    {"Default Times", [](MainWindow* m) { new DefaultTimesDialog(m); }},
    {"Working Area - Options", [](MainWindow* m) { new WorkingAreaOptionsDialog(m); }},
    {"Directories/Filter - Options", [](MainWindow* m) { new DirectoriesOptionsDialog(m); }},
    {"Startup - Options", [](MainWindow* m) { new StartupOptionsDialog(m); }},
    {"Clocks", [](MainWindow* m) { m->GetClocksWindow()->Show(); }},
    {"Simulate", [](MainWindow* m) { m->GetSimulationBox()->Show(); }},
    {"About", [](MainWindow*) { ShowAbout(); }},
    {"Open", [](MainWindow* m) { OpenDialog(*m, kArchitectureFile, nullptr); }},
    {"one-value dialog",
     [](MainWindow* m) {
         new ModifyValueDialog(m->GetShell(), "Value", "Time:", 1, 1, 999999, IgnoreValue, nullptr);
     }},
    {"two-value dialog",
     [](MainWindow* m) {
         new ModifyTwoValuesDialog(m->GetShell(), "Add Clock", "Time:", 1, 1, 999999, "Offset:", 0,
                                   0, 999999, IgnoreValues, nullptr, 0);
     }},
    {"Set Name", [](MainWindow* m) { AddElement<AMaskElem>(m, 60, 60)->OpenSetNameDialog(); }},
    {"PERM dimension",
     [](MainWindow* m) { AddElement<APermElem>(m, 60, 60)->OpenDimensionDialog(); }},
    {"MASK modify", ModifyWindowOf<AMaskElem>},
    {"RULE modify", ModifyWindowOf<ARuleElem>},
    {"PERM modify", ModifyWindowOf<APermElem>},
    {"LOGIC modify", ModifyWindowOf<ALogicElem>},
    {"S-SEED modify", ModifyWindowOf<ASSeedElem>},
    {"JOIN modify", ModifyWindowOf<AJoinElem>},
    {"INPUT modify", ModifyWindowOf<AInputElem>},
    {"OUTPUT modify", ModifyWindowOf<AOutputElem>},
    {"C++ modify", ModifyWindowOf<ACElem>},
    {"MACRO window", MacroWindow},
    {"MASK show data", ShowDataWindowOf<AMaskElem>},
    {"LOGIC show data", ShowDataWindowOf<ALogicElem>},
    {"INPUT show data", ShowDataWindowOf<AInputElem>},
    {"RULE show data", ShowDataWindowOf<ARuleElem>},
    {"PERM show data", ShowDataWindowOf<APermElem>},
    {"S-SEED show data", ShowDataWindowOf<ASSeedElem>},
    {"SPLIT show data", ShowDataWindowOf<ASplitElem>},
    {"JOIN show data", ShowDataWindowOf<AJoinElem>},
    {"OUTPUT show data", ShowDataWindowOf<AOutputElem>},
    {"C++ show data", ShowDataWindowOf<ACElem>},
};

class DialogsFit : public ::testing::TestWithParam<e2e::Desktop> {
protected:
    void SetUp() override {
        if (!SmallScreen::Up()) GTEST_SKIP() << "Xvfb could not be started";
        screen = std::make_unique<e2e::Screen>();
        ASSERT_TRUE(screen->Ok());
        ASSERT_TRUE(windowManager.StartFor(GetParam())) << windowManager.Error();
        main = testgui::CleanMainWindow();
        ASSERT_NE(main, nullptr);
        // Under mwm the main window is framed and placed anew.
        testgui::RunUntil([&] { return Settled(TopWindows()); }, 5000);
    }

    // The viewable windows at the top of the screen's tree (frames under mwm) but menus.
    std::set<Window> TopWindows() {
        Display* display = screen->GetDisplay();
        XSync(display, False);
        std::set<Window> found;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
            return found;
        for (unsigned int i = 0; i < count; i++) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable &&
                !a.override_redirect)
                found.insert(children[i]);
        }
        if (children != nullptr) XFree(children);
        return found;
    }

    // True once the windows have kept their places since the last look.
    bool Settled(const std::set<Window>& windows) {
        std::vector<int> places;
        for (Window w : windows) {
            e2e::Point at = {0, 0}, size = {0, 0};
            screen->Frame(w, &at, &size);
            places.insert(places.end(), {at.x, at.y, size.x, size.y});
        }
        const bool same = places == lastPlaces;
        lastPlaces = places;
        return same;
    }

    // The application's shell in the top window (itself, or the client mwm framed).
    Widget ShellIn(Window top) {
        Display* display = testgui::TheShellGui().display;
        std::vector<Window> level = {top};
        for (int depth = 0; depth < 3 && !level.empty(); depth++) {
            std::vector<Window> next;
            for (Window w : level) {
                Widget widget = XtWindowToWidget(display, w);
                if (widget != nullptr && XtIsShell(widget)) return widget;
                Window root = 0, parent = 0, *children = nullptr;
                unsigned int count = 0;
                if (!XQueryTree(screen->GetDisplay(), w, &root, &parent, &children, &count))
                    continue;
                next.insert(next.end(), children, children + count);
                if (children != nullptr) XFree(children);
            }
            level = next;
        }
        return nullptr;
    }

    static Widget ShellOf(Widget widget) {
        while (widget != nullptr && !XtIsShell(widget))
            widget = XtParent(widget);
        return widget;
    }

    void ExpectFits(Window top) {
        e2e::Point at = {0, 0}, size = {0, 0};
        screen->Frame(top, &at, &size);
        EXPECT_GE(at.x, 0);
        EXPECT_GE(at.y, 0);
        EXPECT_LE(at.x + size.x, kScreenWidth) << "frame " << size.x << " x " << size.y;
        EXPECT_LE(at.y + size.y, kScreenHeight) << "frame " << size.x << " x " << size.y;
        Widget shell = ShellIn(top);
        ASSERT_NE(shell, nullptr);
        Position shellX = 0, shellY = 0;
        XtTranslateCoords(shell, 0, 0, &shellX, &shellY);
        Dimension shellWidth = 0, shellHeight = 0;
        XtVaGetValues(shell, XmNwidth, &shellWidth, XmNheight, &shellHeight, nullptr);
        for (Widget button : testgui::FindAll(shell, "ActionButton")) {
            if (!XtIsManaged(button) || ShellOf(button) != shell) continue; // not a sub-dialog's
            Position x = 0, y = 0;
            XtTranslateCoords(button, 0, 0, &x, &y);
            Dimension width = 0, height = 0;
            XtVaGetValues(button, XmNwidth, &width, XmNheight, &height, nullptr);
            EXPECT_GE(y, shellY) << XtName(button);
            EXPECT_LE(y + height, shellY + shellHeight) << "button below its window";
            EXPECT_LE(x + width, shellX + shellWidth) << "button right of its window";
            EXPECT_LE(y + height, kScreenHeight) << "button below the screen";
            EXPECT_LE(x + width, kScreenWidth) << "button right of the screen";
        }
    }

    std::unique_ptr<e2e::Screen> screen;
    e2e::WindowManager windowManager;
    MainWindow* main = nullptr;
    std::vector<int> lastPlaces;
};

INSTANTIATE_TEST_SUITE_P(On, DialogsFit, ::testing::Values(e2e::Desktop::kBare, e2e::Desktop::kMwm),
                         [](const ::testing::TestParamInfo<e2e::Desktop>& info) {
                             return e2e::DesktopName(info.param);
                         });

// Each window stays open while the next comes, so what a row opens is what is new on the screen.
TEST_P(DialogsFit, EveryDialogFitsTheScreenWithItsButtons) {
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.name);
        const std::set<Window> before = TopWindows();
        c.open(main);
        std::set<Window> opened;
        const bool came = testgui::RunUntil(
            [&] {
                opened.clear();
                for (Window w : TopWindows())
                    if (before.count(w) == 0) opened.insert(w);
                return !opened.empty() && Settled(opened);
            },
            10000);
        ASSERT_TRUE(came) << "no window came";
        for (Window w : opened)
            ExpectFits(w);
        testgui::RunFor(300); // drawn for the picture
        const std::string picture = std::string("fit-") + e2e::DesktopName(GetParam()) + "-" +
                                    std::to_string(&c - kDialogs);
        EXPECT_TRUE(testshot::SaveScreen(screen->GetDisplay(), picture.c_str()));
    }
    testgui::CleanMainWindow();
}

// The C++ window's default size is taller than the screen: it is shown smaller, and closing it
// unresized keeps the size the element stores (and its file holds).
TEST_P(DialogsFit, AModifyWindowMadeSmallerForTheScreenKeepsItsStoredSize) {
    ACElem* element = AddElement<ACElem>(main, 60, 60);
    int storedWidth = 0, storedHeight = 0;
    element->GetModifyWindowSize(storedWidth, storedHeight);
    ASSERT_GT(storedHeight, kScreenHeight);
    const std::set<Window> before = TopWindows();
    element->OpenModifyWindow();
    std::set<Window> opened;
    ASSERT_TRUE(testgui::RunUntil(
        [&] {
            opened.clear();
            for (Window w : TopWindows())
                if (before.count(w) == 0) opened.insert(w);
            return opened.size() == 1 && Settled(opened);
        },
        10000));
    ExpectFits(*opened.begin());
    element->CloseModifyWindow();
    testgui::Flush();
    int width = 0, height = 0;
    element->GetModifyWindowSize(width, height);
    EXPECT_EQ(width, storedWidth);
    EXPECT_EQ(height, storedHeight);
    testgui::CleanMainWindow();
}

// In the Directories dialog, which scrolls on this screen, the focus moving to the last row
// brings that row into view whole.
TEST_P(DialogsFit, TheFocusScrollsItsFieldIntoView) {
    auto* dialog = new DirectoriesOptionsDialog(main);
    testgui::Flush();
    Widget field = dialog->GetDirectoryField(kFileKindCount - 1);
    ASSERT_NE(field, nullptr);
    Widget view = nullptr; // the scrolled body's clip window
    for (Widget w = field; w != nullptr && view == nullptr; w = XtParent(w)) {
        if (std::string(XtName(w)) == "body") XtVaGetValues(w, XmNclipWindow, &view, nullptr);
    }
    ASSERT_NE(view, nullptr);
    XmProcessTraversal(field, XmTRAVERSE_CURRENT);
    testgui::Flush();
    Position fieldX = 0, fieldY = 0, viewX = 0, viewY = 0;
    XtTranslateCoords(field, 0, 0, &fieldX, &fieldY);
    XtTranslateCoords(view, 0, 0, &viewX, &viewY);
    Dimension fieldHeight = 0, viewHeight = 0;
    XtVaGetValues(field, XmNheight, &fieldHeight, nullptr);
    XtVaGetValues(view, XmNheight, &viewHeight, nullptr);
    EXPECT_GE(fieldY, viewY);
    EXPECT_LE(fieldY + fieldHeight, viewY + viewHeight);
    dialog->Cancel();
    testgui::Flush();
}

} // namespace
