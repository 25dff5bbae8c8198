// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/FileSelection.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "model/format/LoadSaveObject.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "shell/ArchitectureFile.h"
#include "shell/ArchitectureWindow.h"

namespace {

// A file object of one block "FAKE {" <word> "}" read with the common reader, so that its errors
// are real first errors with line and token.
class FakeFile : public LoadSaveObject {
public:
    int Read(std::istream& in, FileArgument*) override {
        ++readCalls;
        char* cursor = EmptyCursor();
        if (ExpectKeyword(in, cursor, "FAKE") != 0 || ExpectKeyword(in, cursor, "{") != 0)
            return GetParseError();
        if (ReadLine(in, cursor, true) != 0) return GetParseError();
        word = ReadRestOfLine(cursor);
        return ExpectKeyword(in, cursor, "}");
    }
    int Write(std::ostream& out, int, FileArgument*) override {
        out << "FAKE {\n" << word << "\n}\n";
        if (duringWrite) duringWrite(out);
        return FinishWrite(out);
    }

    std::string word = "hello";
    int readCalls = 0;
    std::function<void(std::ostream&)> duringWrite;
};

// A library-like window whose Read can refuse to be cleared, as a modified window whose user
// answered Cancel does.
class FakeWindow : public ArchitectureWindow {
public:
    FakeWindow() { windowKind = kLibraryWindowKind; }
    Widget GetShell() override { return nullptr; }
    int Read(std::istream& in, FileArgument* target) override {
        if (refuse) {
            // The save that the question asked for failed and reported its error.
            if (saveFailedWhenRefusing) {
                std::ostringstream full;
                SetWriteError(full, kIoError, nullptr);
            }
            didRead = 0;
            return 0;
        }
        return ArchitectureWindow::Read(in, target);
    }
    int Write(std::ostream& out, int level, FileArgument* source) override {
        const int result = ArchitectureWindow::Write(out, level, source);
        if (!failWrite) return result;
        out.setstate(std::ios::badbit); // the disk filled up
        return FinishWrite(out);
    }

    bool refuse = false;
    bool saveFailedWhenRefusing = false;
    bool failWrite = false;
};

// A macro element is read from an element file through its element part, which knows nothing
// of the window part's question.
class FakeMacro : public ArchitectureWindow {
public:
    FakeMacro() { windowKind = kMacroWindowKind; }
    Widget GetShell() override { return nullptr; }
    int Read(std::istream& in, FileArgument*) override {
        return ReadArchitectureBody(*this, in, 0);
    }
};

struct Shown {
    int kind;
    std::string title;
    std::string text;
};

std::vector<Shown> shown;
MessageResult answer = kResultYes;

MessageResult RecordMessage(Widget, MessageKind kind, const char* title, const char* text) {
    shown.push_back({kind, title, text});
    return answer;
}

class FileSelectionFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quiran-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        shown.clear();
        answer = kResultYes;
        SetFileMessageFunction(RecordMessage);
    }
    void TearDown() override {
        SetFileMessageFunction(nullptr);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    std::string Path(const char* name) const { return dir + "/" + name; }
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void WriteText(const std::string& path, const char* text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
    // The one box shown since the fixture started, or fails.
    static Shown OnlyBox() {
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? Shown{-1, "", ""} : shown.back();
    }

    std::string dir;
};

TEST_F(FileSelectionFixture, LoadFileReadsAndTakesThePath) {
    const std::string path = Path("a.fake");
    WriteText(path, "# comment\nFAKE {\nworld\n}\n");
    FakeFile file;
    EXPECT_EQ(LoadFile(file, path.c_str(), nullptr), 0);
    EXPECT_EQ(file.word, "world");
    EXPECT_STREQ(file.GetFileName(), path.c_str());
    EXPECT_TRUE(shown.empty());
}

TEST_F(FileSelectionFixture, LoadFileRefusesWhatIsNoRegularFile) {
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0755), 0);
    const std::string paths[] = {Path("missing.fake"), Path("folder"), dir + "/"};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        shown.clear();
        FakeFile file;
        file.SetFileName("old.fake");
        EXPECT_EQ(LoadFile(file, path.c_str(), nullptr), 1);
        EXPECT_EQ(file.readCalls, 0); // nothing cleared
        EXPECT_STREQ(file.GetFileName(), "old.fake");
        const Shown box = OnlyBox();
        EXPECT_EQ(box.kind, kMessageWarning);
        EXPECT_EQ(box.title, "Error");
        EXPECT_EQ(box.text, "Cannot open file!");
    }
}

TEST_F(FileSelectionFixture, LoadFileReportsTheFirstErrorAndKeepsTheName) {
    const std::string path = Path("broken.fake");
    WriteText(path, "FAKE {\nworld\n]\n");
    FakeFile file;
    file.SetFileName("old.fake");
    EXPECT_EQ(LoadFile(file, path.c_str(), nullptr), 1);
    EXPECT_STREQ(file.GetFileName(), "old.fake");
    const Shown box = OnlyBox();
    EXPECT_EQ(box.kind, kMessageWarning);
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.text, "Line: 3\n'}' expected");
}

TEST_F(FileSelectionFixture, LoadFileIntoARefusingWindowKeepsItsName) {
    const std::string path = Path("a.lib");
    WriteText(path, "anything\n");
    for (bool saveFailed : {false, true}) {
        SCOPED_TRACE(saveFailed);
        shown.clear();
        FakeWindow window;
        window.SetFileName("old.lib");
        window.refuse = true;
        window.saveFailedWhenRefusing = saveFailed;
        EXPECT_EQ(LoadFile(window, path.c_str(), nullptr), 1);
        EXPECT_STREQ(window.GetFileName(), "old.lib");
        // Nothing was read, so there is no reading error to report a second time.
        EXPECT_TRUE(shown.empty());
    }
}

TEST_F(FileSelectionFixture, LoadFileIntoAMacroTakesThePathAndReportsErrors) {
    std::ostringstream body;
    FakeWindow empty;
    ASSERT_EQ(empty.Write(body, 0, nullptr), 0);
    const std::string good = Path("good.macro");
    const std::string broken = Path("broken.macro");
    WriteText(good, body.str().c_str());
    WriteText(broken, "REMARKS {\nhello\n}\n");
    FakeMacro macro;
    EXPECT_EQ(LoadFile(macro, good.c_str(), nullptr), 0);
    EXPECT_STREQ(macro.GetFileName(), good.c_str());
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(LoadFile(macro, broken.c_str(), nullptr), 1);
    EXPECT_STREQ(macro.GetFileName(), good.c_str());
    EXPECT_EQ(OnlyBox().text, "Line: 2\n'}' expected");
}

TEST_F(FileSelectionFixture, SaveFileReplacesButNeverCreates) {
    const std::string path = Path("a.fake");
    FakeFile file;
    EXPECT_EQ(SaveFile(file, path.c_str()), 1);
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(OnlyBox().text, "Cannot open file!");

    shown.clear();
    WriteText(path, "FAKE {\nsomething much longer than hello\n}\n");
    file.SetFileName("kept.fake");
    EXPECT_EQ(SaveFile(file, path.c_str()), 0);
    EXPECT_EQ(ReadAll(path), "FAKE {\nhello\n}\n");
    EXPECT_STREQ(file.GetFileName(), "kept.fake");
    EXPECT_TRUE(shown.empty());
}

TEST_F(FileSelectionFixture, SaveFileAsAsksBeforeReplacing) {
    const std::string path = Path("a.fake");
    WriteText(path, "old\n");
    FakeFile file;

    answer = kResultNo;
    EXPECT_EQ(SaveFileAs(file, path.c_str(), nullptr, 0), 1);
    EXPECT_EQ(ReadAll(path), "old\n");
    EXPECT_EQ(file.GetFileName(), nullptr);
    Shown box = OnlyBox();
    EXPECT_EQ(box.kind, kMessageYesNo);
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.text, "File already exists!\nOverwrite?");

    shown.clear();
    answer = kResultYes;
    EXPECT_EQ(SaveFileAs(file, path.c_str(), nullptr, 0), 0);
    EXPECT_EQ(ReadAll(path), "FAKE {\nhello\n}\n");
    EXPECT_STREQ(file.GetFileName(), path.c_str());
    EXPECT_EQ(shown.size(), 1u);

    // A new file is made without asking.
    shown.clear();
    const std::string other = Path("b.fake");
    EXPECT_EQ(SaveFileAs(file, other.c_str(), nullptr, 0), 0);
    EXPECT_EQ(ReadAll(other), "FAKE {\nhello\n}\n");
    EXPECT_STREQ(file.GetFileName(), other.c_str());
    EXPECT_TRUE(shown.empty());
}

TEST_F(FileSelectionFixture, ForcedSavesAskAndShowNothing) {
    const std::string path = Path("core.arc");
    WriteText(path, "old\n");
    FakeFile file;
    EXPECT_EQ(SaveFileAs(file, path.c_str(), nullptr, 1), 0);
    EXPECT_EQ(ReadAll(path), "FAKE {\nhello\n}\n");

    file.duringWrite = [](std::ostream& out) { out.setstate(std::ios::badbit); };
    EXPECT_EQ(SaveFileAs(file, path.c_str(), nullptr, 1), 1);
    EXPECT_EQ(SaveFileAs(file, Path("nowhere/core.arc").c_str(), nullptr, 1), 1);
    EXPECT_EQ(ReadAll(path), "FAKE {\nhello\n}\n");
    EXPECT_TRUE(shown.empty());
}

TEST_F(FileSelectionFixture, FailedWriteKeepsTheOldFileAndTheModifiedFlag) {
    const std::string path = Path("a.lib");
    WriteText(path, "the old library\n");
    FakeWindow window;
    window.SetFileName(path.c_str());
    window.SetModified();
    window.failWrite = true;

    EXPECT_EQ(SaveFile(window, path.c_str()), 1);
    EXPECT_EQ(ReadAll(path), "the old library\n");
    EXPECT_TRUE(window.IsModified());
    const Shown box = OnlyBox();
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.text, "IO Error");

    shown.clear();
    window.failWrite = false;
    EXPECT_EQ(SaveFile(window, path.c_str()), 0);
    EXPECT_FALSE(window.IsModified());
    EXPECT_NE(ReadAll(path), "the old library\n");
    EXPECT_TRUE(shown.empty());

    // What was saved reads back into the window.
    window.SetFileName(nullptr);
    EXPECT_EQ(LoadFile(window, path.c_str(), nullptr), 0);
    EXPECT_STREQ(window.GetFileName(), path.c_str());
}

TEST_F(FileSelectionFixture, SaveAsDirectoryIsRefused) {
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0755), 0);
    FakeFile file;
    EXPECT_EQ(SaveFileAs(file, Path("folder").c_str(), nullptr, 0), 1);
    EXPECT_EQ(OnlyBox().text, "Cannot open file!");
}

struct ErrorCase {
    int code;
    int line;
    const char* token;
    const char* text;
};
const ErrorCase kErrors[] = {
    {4, 12, "OPTIONS", "Line: 12\n'OPTIONS' expected"},
    {5, 3, nullptr, "Line: 3\nNumber out of range"},
    {1, 0, nullptr, "IO Error"},
    {32, 0, "gcc: not found", "'gcc: not found' Compiler error"},
};

TEST(FileSelection, ComposesTheErrorReport) {
    for (const ErrorCase& c : kErrors) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ComposeParseError(c.code, c.line, c.token), c.text);
    }
}

struct PathCase {
    const char* directory;
    const char* value;
    const char* path;
};
const PathCase kPaths[] = {
    {"/home/u/arch/", "a.arc", "/home/u/arch/a.arc"},
    {"/home/u/arch", "a.arc", "/home/u/arch/a.arc"},
    {"/home/u/arch/", "/tmp/b.arc", "/tmp/b.arc"},
    {"/", "c.arc", "/c.arc"},
    {"/home/u/", "", "/home/u/"},
};

TEST(FileSelection, ResolvesRelativeNamesAgainstTheDirectory) {
    for (const PathCase& c : kPaths) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ResolveDialogPath(c.directory, c.value), c.path);
    }
}

} // namespace
