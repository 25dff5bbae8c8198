// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ACModifyWindow.h"

#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "model/format/ParseError.h"
#include "model/simulation/ClientCompiler.h"
#include "model/simulation/PrivateDirectory.h"
#include "toolkit/OwnedXtString.h"

namespace {

// Inverts the plane.
const char kInvert[] = "for (int y = 0; y < DIMY; y++) {\n"
                       "    for (int x = 0; x < DIMX; x++) {\n"
                       "        out.SetBit(x, y, !in(x, y));\n"
                       "    }\n"
                       "}";
const char kSetAll[] = "out.SetAll();";
// An error on the first line of the code.
const char kBroken[] = "int x = ;\nout.SetAll();";

const char* GnuCompiler() {
    return "g++";
}

bool IsReaped(int pid) {
    return kill(pid, 0) == -1 && errno == ESRCH;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The main window's status words as the compile shows them.
class StatusUi : public TestElementUi {
public:
    void SetBusy(const char* word) override { words.push_back(word); }
    void SetReady() override { words.push_back("READY"); }
    std::vector<std::string> words;
};

class ACModifyWindowTest : public ::testing::Test {
protected:
    // Every temporary file of the suite goes to a folder of its own, so that what a window
    // leaves behind can be counted.
    static void SetUpTestSuite() {
        const char* old = std::getenv("TMPDIR");
        oldTmpDir = old != nullptr ? old : "";
        char folder[] = "/tmp/quiran-cwindowXXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        tmpDir = folder;
        setenv("TMPDIR", tmpDir.c_str(), 1);
        RemovePrivateDirectory();
        SetCompilerSettingsSource({GnuCompiler, nullptr, nullptr});
        ACElem::RegisterType();
        inverter = new D_CElem(nullptr);
        inverter->SetCode(kInvert);
        const char* messages = nullptr;
        ASSERT_EQ(inverter->Compile(messages), 1) << messages;
    }
    static void TearDownTestSuite() {
        delete inverter;
        inverter = nullptr;
        SetCompilerSettingsSource({nullptr, nullptr, nullptr});
        EXPECT_EQ(TemporaryFiles(), 0);
        RemovePrivateDirectory();
        rmdir(tmpDir.c_str());
        if (oldTmpDir.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", oldTmpDir.c_str(), 1);
        }
    }

    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        SetElementUi(&status);
        maker = std::make_unique<MakerScope>(kCElem, ACModifyWindow::Make);
        element = std::make_unique<ACElem>(nullptr, 0, 0);
        element->CreateData();
    }
    void TearDown() override {
        if (Editors().display == nullptr) return;
        RunInDispatch([&] { element.reset(); });
        maker.reset();
        SetElementUi(&Ui());
        Flush();
    }

    // The files in the folder, and in the folders in it (the process's private folder).
    static int TemporaryFiles(const std::string& folder = tmpDir) {
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) return -1;
        int count = 0;
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const int inside = folder == tmpDir ? TemporaryFiles(folder + "/" + name) : -1;
            count += inside >= 0 ? inside : 1;
        }
        closedir(dir);
        return count;
    }

    // The element runs the inverter's executable, copied: no compile of its own.
    void RunInverter() {
        element->GetData().Assign(*inverter);
        ASSERT_GT(element->GetData().CreateProcess(), 0);
    }

    ACModifyWindow* Open() {
        element->OpenModifyWindow();
        Flush();
        return dynamic_cast<ACModifyWindow*>(element->GetModifyWindow());
    }

    Widget Icon(ACModifyWindow* window, int index) {
        WidgetList children = nullptr;
        Cardinal count = 0;
        Widget footer = Child(window->GetShell(), "form.data_frame.data_form.footer_rowcol");
        XtVaGetValues(footer, XmNchildren, &children, XmNnumChildren, &count, nullptr);
        return static_cast<Cardinal>(index) < count ? children[index] : nullptr;
    }

    static std::string Text(Widget text) {
        OwnedXtString value(XmTextGetString(text));
        return value.Get() != nullptr ? value.Get() : "";
    }

    // Bit (x, y) of the output after one step with only (1, 2) set at the input.
    int StepBit(int x, int y) {
        element->GetInputPlane(0)->UnsetAll();
        element->GetInputPlane(0)->SetBit(1, 2, 1);
        element->GetOutputPlane(0)->UnsetAll();
        element->Simulate();
        return element->GetOutputPlane(0)->GetBit(x, y);
    }

    std::string Saved() {
        std::ostringstream out;
        EXPECT_EQ(element->Write(out, 0, nullptr), 0);
        return out.str();
    }

    inline static std::string tmpDir;
    inline static std::string oldTmpDir;
    inline static D_CElem* inverter = nullptr;
    StatusUi status;
    std::unique_ptr<MakerScope> maker;
    std::unique_ptr<ACElem> element;
};

} // namespace

TEST(ACModifyWindow, CountsLinesUpToThePosition) {
    struct LineCase {
        const char* text;
        long position;
        int line;
    };
    const LineCase cases[] = {
        {"", 0, 1},     {"ab\ncd\nef", 2, 1}, {"ab\ncd\nef", 3, 2}, {"ab\ncd\nef", 8, 3},
        {"ab\n", 3, 2}, {"ab\n", 4, kNoLine}, {"ab", -1, kNoLine},  {nullptr, 0, kNoLine},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(LineOfPosition(c.text, c.position), c.line);
    }
    EXPECT_EQ(LineLabel(3), "Line: 3");
    EXPECT_EQ(LineLabel(kNoLine), "30000");
}

TEST(ACModifyWindow, ShowsTypographicQuotesAsPlainOnes) {
    // A cut-off sequence stays as it is.
    EXPECT_EQ(PlainQuotes("\xe2\x80\x98x\xe2\x80\x99 \xe2\x80\x9cy\xe2\x80\x9d \xe2\x80"),
              "'x' \"y\" \xe2\x80");
}

TEST_F(ACModifyWindowTest, BuildsItsWidgetsWithTheirNamesSizesAndTexts) {
    element->GetData().SetCode(kSetAll);
    ACModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget shell = window->GetShell();
    char* title = nullptr;
    Dimension width = 0, height = 0;
    int minWidth = 0;
    XtVaGetValues(shell, XmNtitle, &title, XmNwidth, &width, XmNheight, &height, XmNminWidth,
                  &minWidth, nullptr);
    EXPECT_STREQ(title, "Modify C++");
    EXPECT_EQ(width, 502);
    EXPECT_EQ(height, 602);
    EXPECT_EQ(minWidth, 200);

    const char* const data = "form.data_frame.data_form.";
    Widget code = Child(shell, (std::string(data) + "data_paned.CodeSWSW.CodeSW").c_str());
    Widget messages =
        Child(shell, (std::string(data) + "data_paned.MessageSWSW.MessageSW").c_str());
    Widget pos = Child(shell, (std::string(data) + "pos_label").c_str());
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code, window->GetCodeText());
    EXPECT_EQ(messages, window->GetMessageText());
    EXPECT_EQ(pos, window->GetLineLabel());
    EXPECT_EQ(Text(code), kSetAll);
    EXPECT_EQ(Text(messages), "");
    EXPECT_EQ(GetText(pos), "Line: 1");

    Boolean editable = False, traversal = False;
    XtVaGetValues(code, XmNeditable, &editable, XmNtraversalOn, &traversal, nullptr);
    EXPECT_TRUE(editable && traversal);
    XtVaGetValues(messages, XmNeditable, &editable, XmNtraversalOn, &traversal, nullptr);
    EXPECT_FALSE(editable || traversal);
    short columns = 0;
    XtVaGetValues(pos, XmNcolumns, &columns, XmNeditable, &editable, XmNtraversalOn, &traversal,
                  nullptr);
    EXPECT_EQ(columns, 10);
    EXPECT_FALSE(editable || traversal);

    // The compile button, a blank label and the help button, the buttons with 22 x 22 pictures.
    for (int i : {0, 2}) {
        SCOPED_TRACE(i);
        Widget icon = Icon(window, i);
        ASSERT_NE(icon, nullptr);
        EXPECT_STREQ(XtName(icon), "Icon");
        unsigned char type = 0;
        Pixmap pixmap = 0;
        XtVaGetValues(icon, XmNlabelType, &type, XmNlabelPixmap, &pixmap, nullptr);
        EXPECT_EQ(type, XmPIXMAP);
        Window root;
        int x, y;
        unsigned int w = 0, h = 0, border, depth;
        ASSERT_TRUE(XGetGeometry(XtDisplay(icon), pixmap, &root, &x, &y, &w, &h, &border, &depth));
        EXPECT_EQ(w, 22u);
        EXPECT_EQ(h, 22u);
    }
    EXPECT_STREQ(XtName(Icon(window, 1)), " ");
    for (const char* label : {"OK", "Apply", "Cancel"}) {
        EXPECT_NE(ButtonLabelled(Child(shell, "form"), label), nullptr) << label;
    }
    Click(Icon(window, 2));
    SaveScreenshot(shell, "c-code-window");

    // Without a stored size the texts have the size they ask for; the window's 502 pixels
    // would narrow them.
    Click(ButtonLabelled(shell, "Cancel"));
    element->SetModifyWindowSize(0, 0);
    window = Open();
    const struct {
        Widget text;
        short rows;
    } texts[] = {{window->GetCodeText(), 25}, {window->GetMessageText(), 50}};
    for (const auto& t : texts) {
        SCOPED_TRACE(XtName(t.text));
        short rows = 0;
        XtVaGetValues(t.text, XmNrows, &rows, XmNcolumns, &columns, nullptr);
        EXPECT_EQ(rows, t.rows);
        EXPECT_EQ(columns, 80);
    }
}

TEST_F(ACModifyWindowTest, HelpShowsThePlanesTheMembersAndAnExample) {
    ACModifyWindow* window = Open();
    Click(Icon(window, 2));
    const std::string help = Text(window->GetMessageText());
    size_t at = 0;
    for (const char* part :
         {"INPUT AND OUTPUT PLANES:", "'in'", "'out'",
          "MEMBER FUNCTIONS AND CONSTANTS:", "const int DIMX", "const int DIMY",
          "int operator() (int x, int y)", "void SetBit(int x, int y, int value)", "void SetAll()",
          "void UnsetAll()", "Matrix& operator= (const Matrix&)",
          "EXAMPLE:", "out.SetBit(x,y,!in(x,y))", "README.md"}) {
        SCOPED_TRACE(part);
        const size_t found = help.find(part, at);
        ASSERT_NE(found, std::string::npos);
        at = found;
    }
    // It points to what exists, and that says what opening a file does with its code.
    EXPECT_EQ(help.find("http"), std::string::npos);
    std::ifstream readme(QUIRAN_SOURCE_DIR "/README.md");
    std::stringstream text;
    text << readme.rdbuf();
    EXPECT_NE(text.str().find("Opening a file compiles and runs the C++ code"), std::string::npos);
}

TEST_F(ACModifyWindowTest, LineIndicatorFollowsTheInsertionCursor) {
    ACModifyWindow* window = Open();
    Widget code = window->GetCodeText();
    XmTextSetString(code, const_cast<char*>("first\nsecond\nthird line\n"));
    XmTextSetInsertionPosition(code, 15);
    EXPECT_EQ(GetText(window->GetLineLabel()), "Line: 3");
    XmTextSetInsertionPosition(code, 6);
    EXPECT_EQ(GetText(window->GetLineLabel()), "Line: 2");

    // A position the widget knows no line of shows the bare number; other reasons change nothing.
    XmTextVerifyCallbackStruct verify{};
    verify.reason = XmCR_MOVING_INSERT_CURSOR;
    verify.newInsert = 1000;
    XtCallCallbacks(code, XmNmotionVerifyCallback, &verify);
    EXPECT_EQ(GetText(window->GetLineLabel()), "30000");
    verify.reason = XmCR_MODIFYING_TEXT_VALUE;
    verify.newInsert = 0;
    XtCallCallbacks(code, XmNmotionVerifyCallback, &verify);
    EXPECT_EQ(GetText(window->GetLineLabel()), "30000");
}

TEST_F(ACModifyWindowTest, CompilesTheEditedCodeInTheCopyOnly) {
    ACModifyWindow* window = Open();
    XmTextSetString(window->GetCodeText(), const_cast<char*>(kInvert));
    Click(Icon(window, 0));
    const std::string messages = Text(window->GetMessageText());
    EXPECT_EQ(messages.substr(messages.size() - 7), "Success") << messages;
    EXPECT_EQ(status.words, (std::vector<std::string>{"COMPILING", "READY"}));
    EXPECT_STREQ(window->GetWorkingCopy().GetCode(), kInvert);
    EXPECT_EQ(window->GetWorkingCopy().IsCompiled(), 1);
    EXPECT_EQ(window->GetWorkingCopy().GetPid(), 0);
    EXPECT_STREQ(element->GetData().GetCode(), "");
    EXPECT_EQ(element->GetData().IsCompiled(), 0);
    EXPECT_EQ(element->GetData().GetPid(), 0);
    EXPECT_FALSE(element->IsModified());
}

TEST_F(ACModifyWindowTest, BrokenCodeShowsTheMessagesAndLeavesTheElement) {
    RunInverter();
    const int pid = element->GetData().GetPid();
    ACModifyWindow* window = Open();
    // The copy has the element's executable but no client of its own.
    EXPECT_EQ(window->GetWorkingCopy().IsCompiled(), 1);
    EXPECT_EQ(window->GetWorkingCopy().GetPid(), 0);
    EXPECT_EQ(element->GetData().GetPid(), pid);

    XmTextSetString(window->GetCodeText(), const_cast<char*>(kBroken));
    Click(Icon(window, 0));
    const std::string messages = Text(window->GetMessageText());
    // Counted from the code's first line.
    EXPECT_TRUE(Contains(messages, "\n1:") || messages.rfind("1:", 0) == 0) << messages;
    EXPECT_TRUE(Contains(messages, "error")) << messages;
    EXPECT_FALSE(Contains(messages, "\xe2\x80")) << messages;
    EXPECT_FALSE(Contains(messages, "Success")) << messages;
    SaveScreenshot(window->GetShell(), "c-code-window-errors");

    for (const char* button : {"Apply", "OK"}) {
        SCOPED_TRACE(button);
        Click(ButtonLabelled(window->GetShell(), button));
        EXPECT_EQ(element->GetModifyWindow(), window);
        EXPECT_EQ(Text(window->GetMessageText()), messages);
        EXPECT_STREQ(element->GetData().GetCode(), kInvert);
        EXPECT_EQ(element->GetData().IsCompiled(), 1);
        EXPECT_EQ(element->GetData().GetPid(), pid);
        EXPECT_FALSE(element->IsModified());
    }
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(StepBit(0, 0), 1);
    EXPECT_EQ(StepBit(1, 2), 0);
}

// Code that compiles but that a saved file could not give back: Apply and OK say why and change
// nothing.
TEST_F(ACModifyWindowTest, CodeWhoseBracesDoNotPairUpIsRefused) {
    RunInverter();
    const int pid = element->GetData().GetPid();
    ACModifyWindow* window = Open();
    XmTextSetString(window->GetCodeText(), const_cast<char*>("out.SetBit(0, 0, '{' != 0);"));
    for (const char* button : {"Apply", "OK"}) {
        SCOPED_TRACE(button);
        Click(ButtonLabelled(window->GetShell(), button));
        EXPECT_EQ(element->GetModifyWindow(), window);
        EXPECT_TRUE(Contains(Text(window->GetMessageText()), "do not pair up"));
        EXPECT_STREQ(element->GetData().GetCode(), kInvert);
        EXPECT_EQ(element->GetData().GetPid(), pid);
        EXPECT_FALSE(element->IsModified());
    }
    SendClose(window->GetShell());
}

TEST_F(ACModifyWindowTest, BoundsALongCompilerOutput) {
    ACModifyWindow* window = Open();
    std::string flood;
    for (int i = 0; i < 300; i++)
        flood += "int x" + std::to_string(i) + " = ;\n";
    XmTextSetString(window->GetCodeText(), const_cast<char*>(flood.c_str()));
    EXPECT_EQ(window->Compile(), 0);
    const std::string messages = Text(window->GetMessageText());
    EXPECT_GT(messages.size(), static_cast<size_t>(kCompilerOutputSize) - 300);
    EXPECT_LE(messages.size(), static_cast<size_t>(kCompilerOutputSize));
}

TEST_F(ACModifyWindowTest, OkApplyCancelAndCloseFollowTheProtocol) {
    const int files = TemporaryFiles();
    // Cancel and the window-manager close discard the edits, and leave no file behind.
    ACModifyWindow* window = Open();
    XmTextSetString(window->GetCodeText(), const_cast<char*>(kInvert));
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    window = Open();
    XmTextSetString(window->GetCodeText(), const_cast<char*>(kInvert));
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_STREQ(element->GetData().GetCode(), "");
    EXPECT_FALSE(element->IsModified());
    EXPECT_EQ(TemporaryFiles(), files);

    // Apply compiles what is not compiled, gives it to the element and starts its client.
    window = Open();
    XmTextSetString(window->GetCodeText(), const_cast<char*>(kInvert));
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(element->GetModifyWindow(), window);
    EXPECT_EQ(status.words, (std::vector<std::string>{"COMPILING", "READY"}));
    EXPECT_STREQ(element->GetData().GetCode(), kInvert);
    EXPECT_TRUE(element->IsModified());
    const int pid = element->GetData().GetPid();
    EXPECT_GT(pid, 0);
    EXPECT_EQ(window->GetWorkingCopy().GetPid(), 0);
    EXPECT_TRUE(Contains(Saved(), std::string("LISTING:\n") + kInvert + "\n}\n")) << Saved();
    EXPECT_EQ(StepBit(0, 0), 1);
    EXPECT_EQ(StepBit(1, 2), 0);

    // Unchanged compiled code compiles nothing and restarts the client.
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(status.words.size(), 2u);
    EXPECT_GT(element->GetData().GetPid(), 0);
    EXPECT_NE(element->GetData().GetPid(), pid);
    EXPECT_TRUE(IsReaped(pid));

    // Cancel after a successful compile leaves the element's code and client as they were.
    const int running = element->GetData().GetPid();
    XmTextSetString(window->GetCodeText(), const_cast<char*>(kSetAll));
    EXPECT_EQ(window->Compile(), 1);
    const std::string copyExecutable = window->GetWorkingCopy().GetExecutablePath();
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_NE(access(copyExecutable.c_str(), F_OK), 0);
    EXPECT_STREQ(element->GetData().GetCode(), kInvert);
    EXPECT_EQ(element->GetData().GetPid(), running);
    EXPECT_EQ(TemporaryFiles(), files);

    // OK gives the element the code and goes.
    window = Open();
    XmTextSetString(window->GetCodeText(), const_cast<char*>(kSetAll));
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_STREQ(element->GetData().GetCode(), kSetAll);
    EXPECT_TRUE(IsReaped(running));
    EXPECT_TRUE(Contains(Saved(), std::string("LISTING:\n") + kSetAll + "\n}\n")) << Saved();
    EXPECT_EQ(StepBit(1, 2), 1);
    EXPECT_EQ(StepBit(5, 5), 1);
    EXPECT_EQ(TemporaryFiles(), files);
}

TEST_F(ACModifyWindowTest, GoesWithANewDimensionALoadAndTheElement) {
    RunInverter();
    const int files = TemporaryFiles();
    ACModifyWindow* window = Open();
    std::string copyExecutable = window->GetWorkingCopy().GetExecutablePath();
    EXPECT_EQ(access(copyExecutable.c_str(), F_OK), 0);
    RunInDispatch([&] {
        element->SetInputPlaneSize(0, 5, 4);
        element->SetOutputPlaneSize(0, 5, 4);
        element->DimensionChanged();
    });
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_NE(access(copyExecutable.c_str(), F_OK), 0);
    EXPECT_GT(element->GetData().GetPid(), 0);

    // A load replaces the element's data: the window goes with the data it copied.
    const std::string block = Saved();
    Open();
    RunInDispatch([&] {
        ClearParseError();
        std::istringstream in(block);
        EXPECT_EQ(element->Read(in, nullptr), 0);
    });
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_STREQ(element->GetData().GetCode(), kInvert);
    EXPECT_EQ(TemporaryFiles(), files);

    // Deleting the element with its window open stops its client and removes every file.
    window = Open();
    XmTextSetString(window->GetCodeText(), const_cast<char*>(kSetAll));
    EXPECT_EQ(window->Compile(), 1);
    const int pid = element->GetData().GetPid();
    RunInDispatch([&] { element.reset(); });
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
    EXPECT_TRUE(IsReaped(pid));
    EXPECT_EQ(TemporaryFiles(), files - 1);
    EXPECT_EQ(D_CElem::Instances.GetCount(), 1); // the suite's inverter
}
