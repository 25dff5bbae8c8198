#include "model/simulation/ClientCompiler.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "client/ClientProgram.h"
#include "model/elements/ElementUi.h"
#include "model/simulation/PrivateDirectory.h"

namespace {

const char* GnuCompiler() {
    return "g++";
}

const char* NoSuchCompiler() {
    return "quiran-no-such-compiler";
}

// Records the status words the compile shows.
class StatusUi : public NullElementUi {
public:
    StatusUi() { SetElementUi(this); }
    ~StatusUi() override { SetElementUi(nullptr); }
    void SetBusy(const char* word) override { words += std::string(word) + " "; }
    void SetReady() override { words += "READY"; }
    std::string words;
};

struct RenumberCase {
    const char* line;
    int prologueLines;
    const char* expected;
};

const RenumberCase kRenumberCases[] = {
    {"/tmp/s.cc:260:5: error: x\n", 256, "4:5: error: x\n"},
    {"/tmp/s.cc:257:1: error: x\n", 256, "1:1: error: x\n"},
    {"/tmp/s.cc:256:1: note\n", 256, "0:1: note\n"},  // the function line
    {"/tmp/s.cc:12: warning\n", 256, "0: warning\n"}, // inside the prologue
    {"/tmp/s.cc: In function 'x':\n", 256, "In function 'x':\n"},
    {"/tmp/s.cc:\n", 256, "\n"},
    {"/tmp/s.cc 300\n", 256, "44\n"},       // no colon, one blank
    {"/tmp/s.ccx:300:\n", 256, "x:300:\n"}, // not a number right after the path
    {"In file included from /tmp/s.cc:3:\n", 256, "In file included from /tmp/s.cc:3:\n"},
    {"/tmp/other.cc:300: error\n", 256, "/tmp/other.cc:300: error\n"},
};

// A directory for a test's temporary files, given to the compile as TMPDIR.
class TemporaryDirectory {
public:
    explicit TemporaryDirectory(const char* pattern) {
        std::snprintf(path, sizeof(path), "/tmp/%s", pattern);
        EXPECT_NE(mkdtemp(path), nullptr);
        // The private folder is made anew inside this one.
        RemovePrivateDirectory();
        const char* old = std::getenv("TMPDIR");
        if (old != nullptr) saved = old;
        hadOld = old != nullptr;
        setenv("TMPDIR", path, 1);
    }
    ~TemporaryDirectory() {
        if (hadOld) {
            setenv("TMPDIR", saved.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
        RemovePrivateDirectory();
        rmdir(path);
    }
    // The process's private folder, made in this directory.
    std::string Private() const {
        const char* folder = PrivateDirectory();
        EXPECT_NE(folder, nullptr);
        if (folder == nullptr) return "";
        EXPECT_EQ(std::string(folder).find(std::string(path) + "/quiran-"), 0u) << folder;
        return folder;
    }
    // The names in the private folder.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        const std::string command = "ls -A " + ShellQuote(Private().c_str());
        FILE* list = popen(command.c_str(), "r");
        char line[400];
        while (list != nullptr && std::fgets(line, sizeof(line), list) != nullptr) {
            names.push_back(std::string(line, std::strcspn(line, "\n")));
        }
        if (list != nullptr) pclose(list);
        return names;
    }

    char path[200];
    std::string saved;
    bool hadOld = false;
};

class ClientCompilerRun : public ::testing::Test {
protected:
    ClientCompilerRun() : directory("quiran test 'dir' XXXXXX") {
        SetCompilerSettingsSource({GnuCompiler, nullptr, nullptr});
        const int fd = MakeTemporaryFile(executable, "");
        EXPECT_GE(fd, 0);
        close(fd);
    }
    ~ClientCompilerRun() override {
        unlink(executable);
        SetCompilerSettingsSource({nullptr, nullptr, nullptr});
    }

    TemporaryDirectory directory;
    StatusUi ui;
    char executable[kTemporaryPathLength + 1];
};

} // namespace

TEST(ClientCompiler, RenumbersLinesThatBeginWithTheSourcePath) {
    for (const RenumberCase& c : kRenumberCases) {
        SCOPED_TRACE(c.line);
        char line[200];
        std::strcpy(line, c.line);
        RenumberCompilerLine(line, "/tmp/s.cc", c.prologueLines);
        EXPECT_STREQ(line, c.expected);
    }
}

struct QuoteCase {
    const char* text;
    const char* plain;
};

const QuoteCase kQuotes[] = {
    {"\xe2\x80\x98x\xe2\x80\x99 was not declared", "'x' was not declared"},
    {"\xe2\x80\x9cs\xe2\x80\x9d", "\"s\""},
    {"\xe2\x80\x94 \xe2\x80", "\xe2\x80\x94 \xe2\x80"}, // other characters, a cut-off one
    {"", ""},
};

TEST(ClientCompiler, MakesTheCompilersQuotesPlain) {
    for (const QuoteCase& c : kQuotes) {
        SCOPED_TRACE(c.plain);
        char text[64];
        std::strcpy(text, c.text);
        PlainCompilerQuotes(text);
        EXPECT_STREQ(text, c.plain);
    }
}

TEST(ClientCompiler, QuotesForTheShell) {
    EXPECT_EQ(ShellQuote("/tmp/a b"), "'/tmp/a b'");
    EXPECT_EQ(ShellQuote("it's"), "'it'\\''s'");
    EXPECT_EQ(ShellQuote(""), "''");
}

TEST(ClientCompiler, MakesDistinctPrivateTemporaryFiles) {
    TemporaryDirectory directory("quiranXXXXXX");
    char a[kTemporaryPathLength + 1];
    char b[kTemporaryPathLength + 1];
    const int fa = MakeTemporaryFile(a, ".cc");
    const int fb = MakeTemporaryFile(b, "");
    ASSERT_GE(fa, 0);
    ASSERT_GE(fb, 0);
    close(fa);
    close(fb);
    EXPECT_STRNE(a, b);
    EXPECT_EQ(std::string(a).rfind(".cc"), std::strlen(a) - 3);
    // Both in the one private folder of the process, which only the user may enter.
    const std::string folder = directory.Private();
    EXPECT_EQ(std::string(a).find(folder + "/"), 0u);
    EXPECT_EQ(std::string(b).find(folder + "/"), 0u);
    struct stat info;
    ASSERT_EQ(stat(a, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    const std::string name = folder.substr(folder.rfind('/') + 1);
    EXPECT_EQ(PrivateDirectoryOwner(name.c_str()), static_cast<int>(getpid()));
    unlink(a);
    unlink(b);

    // A directory name so long that the path would not fit gives no file.
    RemovePrivateDirectory();
    const std::string deep(kTemporaryPathLength, 'd');
    setenv("TMPDIR", deep.c_str(), 1);
    EXPECT_EQ(MakeTemporaryFile(a, ".cc"), -1);
    EXPECT_STREQ(a, "");
}

TEST_F(ClientCompilerRun, CompilesIntoTheExecutableAndRemovesTheSource) {
    const char* messages = nullptr;
    EXPECT_EQ(CompileClient("out = in;", executable, messages), 1);
    EXPECT_STREQ(messages, "Success");
    EXPECT_EQ(ui.words, "COMPILING READY");
    EXPECT_EQ(access(executable, X_OK), 0);
    // Only the executable is left in the directory.
    const std::vector<std::string> files = directory.Files();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(directory.Private() + "/" + files[0], executable);
}

TEST_F(ClientCompilerRun, TheDefaultCompilerLinksTheClient) {
    SetCompilerSettingsSource({nullptr, nullptr, nullptr}); // "gcc", no options
    const char* messages = nullptr;
    EXPECT_EQ(CompileClient("out = in;", executable, messages), 1) << messages;
    EXPECT_EQ(access(executable, X_OK), 0);
}

TEST_F(ClientCompilerRun, CountsMessageLinesFromTheCodesFirstLine) {
    const char* messages = nullptr;
    EXPECT_EQ(CompileClient("int a = 1;\nundeclared_name = 2;", executable, messages), 0);
    const std::string text = messages;
    EXPECT_NE(text.find("2:1: error:"), std::string::npos) << text;
    EXPECT_EQ(text.find(directory.path), std::string::npos) << text;
    EXPECT_EQ(text.find("Success"), std::string::npos);

    EXPECT_EQ(CompileClient("undeclared_name = 2;", executable, messages), 0);
    EXPECT_NE(std::string(messages).find("1:1: error:"), std::string::npos) << messages;
    EXPECT_EQ(ui.words, "COMPILING READYCOMPILING READY");
}

TEST_F(ClientCompilerRun, KeepsAtMostTheBufferOfMessagesAndStillReportsTheStatus) {
    // Thousands of lines of warnings: far more than the buffer holds, and the compile succeeds.
    SetCompilerSettingsSource({GnuCompiler, [] { return "-Wall -Wextra"; }, nullptr});
    std::string code;
    for (int i = 0; i < 200; i++)
        code += "{ int unused" + std::to_string(i) + "; }\n";
    const char* messages = nullptr;
    EXPECT_EQ(CompileClient(code.c_str(), executable, messages), 1);
    const size_t length = std::strlen(messages);
    EXPECT_LT(length, static_cast<size_t>(kCompilerOutputSize) + 8);
    EXPECT_GT(length, static_cast<size_t>(kCompilerOutputSize) - 400);
    EXPECT_EQ(std::string(messages).substr(length - 7), "Success");
}

TEST_F(ClientCompilerRun, ReportsACompilerThatCannotRun) {
    SetCompilerSettingsSource({NoSuchCompiler, nullptr, nullptr});
    const char* messages = nullptr;
    EXPECT_EQ(CompileClient("", executable, messages), 0);
    EXPECT_NE(std::string(messages).find("quiran-no-such-compiler"), std::string::npos);
    EXPECT_EQ(directory.Files().size(), 1u); // the source is gone

    EXPECT_EQ(CompileClient("", "", messages), 0);
    EXPECT_STREQ(messages, "Error: Cannot create temporary file!");
    EXPECT_EQ(ui.words, "COMPILING READYCOMPILING READY");
}

TEST(ClientCompiler, CopiesContentsAndPermissions) {
    TemporaryDirectory directory("quiranXXXXXX");
    const std::string from = std::string(directory.path) + "/from";
    const std::string to = std::string(directory.path) + "/to";
    {
        std::ofstream out(from);
        out << "#!/bin/sh\nexit 0\n";
        std::ofstream existing(to);
        existing << "longer old contents that must go\n";
    }
    chmod(from.c_str(), 0750);
    chmod(to.c_str(), 0600);
    ASSERT_TRUE(CopyFile(from.c_str(), to.c_str()));
    std::ifstream in(to);
    std::stringstream copied;
    copied << in.rdbuf();
    EXPECT_EQ(copied.str(), "#!/bin/sh\nexit 0\n");
    struct stat info;
    ASSERT_EQ(stat(to.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0750u);

    EXPECT_FALSE(CopyFile((from + "-missing").c_str(), to.c_str()));
    EXPECT_FALSE(CopyFile(from.c_str(), ""));
    unlink(from.c_str());
    unlink(to.c_str());
}
