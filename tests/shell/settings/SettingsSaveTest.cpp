// "Save as Default" never leaves a settings file cut: on a full disk, after a kill at any point of
// the save, and with two programs saving at once, each file is its old text byte for byte or the
// new one whole.

#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/elements/ElementType.h"
#include "model/format/FileKind.h"
#include "model/format/ParseError.h"
#include "tests/shell/SmallFileSystem.h"
#include "tests/support/program/ProgramDriver.h"

namespace {

using Warnings = std::vector<std::pair<std::string, std::string>>; // title, text

class QuietHost : public SettingsHost {
public:
    void GetGridOptions(GridOptions& out) override { out = GridOptions{1, 15, 15, 1}; }
    void SetGridOptions(const GridOptions&) override {}
    void Warn(const char* title, const char* text) override { warnings.emplace_back(title, text); }

    Warnings warnings;
};

using e2e::ReadAll;
using e2e::WriteText;

// The names in the folder but "." and "..".
std::set<std::string> Entries(const std::string& dir) {
    std::set<std::string> names;
    DIR* folder = opendir(dir.c_str());
    if (folder == nullptr) return names;
    while (dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.insert(name);
    }
    closedir(folder);
    return names;
}

class SettingsSave : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("HOME");
        hadHome = old != nullptr;
        if (hadHome) oldHome = old;
        ResetSettings();
        ClearParseError();
    }
    void TearDown() override {
        if (!scratch.empty()) {
            for (const std::string& name : Entries(scratch))
                unlink((scratch + "/" + name).c_str());
            rmdir(scratch.c_str());
        }
        if (hadHome) {
            setenv("HOME", oldHome.c_str(), 1);
        } else {
            unsetenv("HOME");
        }
        ResetSettings();
    }

    // A fresh HOME below /tmp, removed with what it holds when the test ends.
    void UseScratchHome(const char* pattern) {
        std::string dir = pattern;
        ASSERT_NE(mkdtemp(&dir[0]), nullptr);
        scratch = dir;
        UseHome(dir);
    }
    void UseHome(const std::string& dir) {
        home = dir;
        setenv("HOME", home.c_str(), 1);
    }
    std::string Options() const { return ReadAll(home + "/.quiran"); }
    std::string Times() const { return ReadAll(home + "/.quiran_times"); }

    // The two texts a save writes with the settings as they are now.
    std::pair<std::string, std::string> SavedTexts() {
        QuietHost host;
        SaveOptions(host);
        EXPECT_TRUE(host.warnings.empty());
        return {Options(), Times()};
    }

    // Settings whose .quiran needs more than one page, so that a file cut at a page shows.
    static void ChangeSettings(const char* compiler) {
        SetCompilerSetting(kCompilerSetting, compiler);
        SetDefaultTime(kMask, 7);
        for (int kind = 0; kind < kFileKindCount; ++kind)
            SetFilterPattern(("*." + std::string(300, 'a' + kind)).c_str(), FileKind(kind));
    }

    std::string home;
    std::string scratch;
    std::string oldHome;
    bool hadHome = false;
};

TEST_F(SettingsSave, FullDiskKeepsBothOldFilesAndSaysSo) {
    SmallFileSystem disk("/tmp/quiran-full-XXXXXX", 64);
    if (!disk.Ok()) GTEST_SKIP() << disk.Error();
    UseHome(disk.Get());
    const auto [oldOptions, oldTimes] = SavedTexts();
    ASSERT_EQ(chmod((home + "/.quiran").c_str(), 0600), 0);
    ChangeSettings("cc-new");
    ASSERT_TRUE(disk.Fill("filler"));

    QuietHost host;
    SaveOptions(host);
    const Warnings expected = {{"Error", "Can't save the options!"},
                               {"Error", "Can't save the default times!"}};
    EXPECT_EQ(host.warnings, expected);
    EXPECT_TRUE(Options() == oldOptions) << Options().size() << " bytes";
    EXPECT_TRUE(Times() == oldTimes) << Times().size() << " bytes";
    EXPECT_EQ(Entries(home), (std::set<std::string>{".quiran", ".quiran_times", "filler"}));

    // With room again the new texts go in whole, and .quiran keeps its mode.
    ASSERT_EQ(unlink(disk.Path("filler").c_str()), 0);
    const auto [newOptions, newTimes] = SavedTexts();
    EXPECT_GT(newOptions.size(), 4096u);
    EXPECT_NE(newOptions.find("CC:       cc-new\n"), std::string::npos);
    EXPECT_NE(newTimes, oldTimes);
    struct stat info;
    ASSERT_EQ(stat((home + "/.quiran").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(Entries(home), (std::set<std::string>{".quiran", ".quiran_times"}));
}

// Runs a save in a child that is killed when it stops at its n-th system call (entering or
// leaving it); false when the save finished before.
bool SaveKilledAtSystemCall(int n) {
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(2);
        raise(SIGSTOP);
        QuietHost host;
        SaveOptions(host);
        _exit(0);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status)) return false;
    ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int stops = 0;
    int signal = 0;
    for (;;) {
        if (ptrace(PTRACE_SYSCALL, pid, nullptr, signal) != 0) break;
        signal = 0;
        if (waitpid(pid, &status, 0) != pid) break;
        if (WIFEXITED(status) || WIFSIGNALED(status)) return false;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status);
            continue;
        }
        if (++stops == n) break;
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return true;
}

TEST_F(SettingsSave, KillAtAnyStepLeavesEachFileOldOrNewWhole) {
    UseScratchHome("/tmp/quiran-kill-XXXXXX");
    const auto [oldOptions, oldTimes] = SavedTexts();
    ChangeSettings("cc-new");
    const auto [newOptions, newTimes] = SavedTexts();
    ASSERT_NE(newOptions, oldOptions);
    ASSERT_NE(newTimes, oldTimes);

    std::set<std::pair<bool, bool>> seen; // (.quiran new, .quiran_times new) after a kill
    int n = 1;
    for (;; ++n) {
        ASSERT_LT(n, 5000) << "the save never finished";
        for (const std::string& name : Entries(home))
            unlink((home + "/" + name).c_str());
        WriteText(home + "/.quiran", oldOptions);
        WriteText(home + "/.quiran_times", oldTimes);
        const bool killed = SaveKilledAtSystemCall(n);
        SCOPED_TRACE("system call stop " + std::to_string(n));
        const std::string options = Options();
        const std::string times = Times();
        ASSERT_TRUE(options == oldOptions || options == newOptions) << options.size();
        ASSERT_TRUE(times == oldTimes || times == newTimes) << times.size();
        if (!killed) break;
        seen.insert({options == newOptions, times == newTimes});
    }
    // The kills fell before, between and after the two replacements.
    EXPECT_EQ(seen, (std::set<std::pair<bool, bool>>{{false, false}, {true, false}, {true, true}}));
    EXPECT_TRUE(Options() == newOptions);
    EXPECT_EQ(Entries(home), (std::set<std::string>{".quiran", ".quiran_times"}));
}

TEST_F(SettingsSave, TwoProgramsSavingAtOnceLeaveOneWholeText) {
    UseScratchHome("/tmp/quiran-two-XXXXXX");
    ChangeSettings("cc-first");
    const std::string first = SavedTexts().first;
    ChangeSettings("cc-second");
    const std::string second = SavedTexts().first;

    const int kSaves = 100;
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            ChangeSettings(i == 0 ? "cc-first" : "cc-second");
            QuietHost host;
            for (int k = 0; k < kSaves; ++k)
                SaveOptions(host);
            _exit(host.warnings.empty() ? 0 : 1);
        }
    }
    // A reader meanwhile only ever finds one of the two texts whole.
    int running = 2;
    int reads = 0;
    while (running > 0) {
        const std::string options = Options();
        ++reads;
        EXPECT_TRUE(options == first || options == second) << options.size();
        if (options != first && options != second) break;
        for (pid_t& child : children) {
            int status = 0;
            if (child != 0 && waitpid(child, &status, WNOHANG) == child) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
                child = 0;
                --running;
            }
        }
    }
    for (pid_t child : children)
        if (child != 0) waitpid(child, nullptr, 0);
    EXPECT_GT(reads, 1);
    const std::string last = Options();
    EXPECT_TRUE(last == first || last == second);
    EXPECT_EQ(Entries(home), (std::set<std::string>{".quiran", ".quiran_times"}));
}

} // namespace
