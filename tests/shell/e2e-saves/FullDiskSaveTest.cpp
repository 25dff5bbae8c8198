// Ctrl-S on a full disk through the real program: the "IO Error" box comes, the old file stays
// byte for byte, and no partial copy is left, neither while the box is up nor after a SIGTERM
// that then ends the program (which still writes core.arc where there is room).

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/shell/ExampleInView.h"
#include "tests/shell/SmallFileSystem.h"
#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"

namespace {

using e2e::ReadAll;
using e2e::SleepMs;
using e2e::WaitFor;

// The example with its first element where the view shows it, and with 100 more pictures in that
// INPUT element: the text is larger than what the writer buffers, so writing it fails before the
// end.
std::string Architecture() {
    std::string text = ExampleWithTheFirstElementInView();
    const auto replace = [&](const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        if (at != std::string::npos) text.replace(at, from.size(), to);
    };
    const std::string planes = "NUMBER: 3\n          PLANES {\n";
    const size_t begin = text.find(planes) + planes.size();
    const std::string end = "\n            }\n";
    const std::string picture = text.substr(begin, text.find(end, begin) + end.size() - begin);
    std::string more;
    for (int k = 0; k < 100; k++)
        more += picture;
    replace(planes, "NUMBER: 103\n          PLANES {\n" + more);
    return text;
}

// The names in a folder that a save's new file has: "." the target's name ".XXXXXX".
std::vector<std::string> NewFiles(const std::string& dir) {
    std::vector<std::string> found;
    DIR* folder = opendir(dir.c_str());
    if (folder == nullptr) return found;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.rfind(".a.arc.", 0) == 0 || name.rfind(".core.arc.", 0) == 0) {
            found.push_back(name);
        }
    }
    closedir(folder);
    return found;
}

std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(window));
    return text;
}

struct DiskCase {
    const char* name;
    bool workingFolderOnDisk; // then core.arc cannot be written either
};

void PrintTo(const DiskCase& c, std::ostream* os) {
    *os << c.name;
}

const DiskCase kCases[] = {{"CoreArcBesideTheDisk", false}, {"CoreArcOnTheFullDisk", true}};

class FullDiskSave : public ::testing::TestWithParam<DiskCase> {
protected:
    FullDiskSave() : folder("/tmp/quiran-full-save-XXXXXX") {}

    e2e::ScratchFolder folder; // goes after the run, which is killed first
    e2e::ProgramRun program;
};

TEST_P(FullDiskSave, LeavesNoNewFileWhileTheBoxIsUpNorAfterASigterm) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    const DiskCase& c = GetParam();
    SmallFileSystem disk("/tmp/quiran-disk-XXXXXX", 256);
    if (!disk.Ok()) GTEST_SKIP() << disk.Error();
    e2e::Screen screen;
    ASSERT_TRUE(screen.Ok());

    const std::string original = Architecture();
    ASSERT_GT(original.size(), 40000u);
    e2e::WriteText(disk.Path("a.arc"), original);
    ASSERT_TRUE(disk.Fill("filler"));
    const std::string work = c.workingFolderOnDisk ? disk.Get() : folder.Get();
    const std::string temporary = folder.Path("tmp");
    ASSERT_EQ(mkdir(temporary.c_str(), 0700), 0);

    e2e::ProgramSetup setup;
    setup.home = work;
    setup.workingFolder = work;
    setup.stderrPath = folder.Path("stderr.txt");
    setup.environment.push_back({"TMPDIR", temporary});
    e2e::LogMessages(setup, folder.Path("messages.log"), QUIRAN_MESSAGE_LOG_LIBRARY);
    ASSERT_TRUE(program.Start(QUIRAN_PROGRAM, {QUIRAN_PROGRAM, disk.Path("a.arc")}, setup));
    const Window main = screen.WaitForWindow("QUIRAN Pro  ", true);
    ASSERT_NE(main, 0u) << ReadAll(folder.Path("stderr.txt"));
    SleepMs(300); // the main loop is reached right after the title is set
    EXPECT_EQ(ReadAll(folder.Path("messages.log")), "");
    // The first element goes 60 pixels down: the architecture is modified.
    ASSERT_TRUE(screen.DragDownOnWorkingArea(kFirstX + 12, kFirstY + 12));

    e2e::TypeKeys(Hex(main), "ctrl+s", 30);
    ASSERT_NE(screen.WaitForWindow("Error"), 0u) << ReadAll(folder.Path("stderr.txt"));
    EXPECT_EQ(ReadAll(folder.Path("messages.log")), "warning\nIO Error\f");
    EXPECT_EQ(NewFiles(disk.Get()), std::vector<std::string>{}) << "while the box is up";
    EXPECT_TRUE(ReadAll(disk.Path("a.arc")) == original);

    ASSERT_EQ(kill(program.Pid(), SIGTERM), 0);
    const int status = program.Wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(NewFiles(disk.Get()), std::vector<std::string>{}) << "after the SIGTERM";
    EXPECT_EQ(NewFiles(work), std::vector<std::string>{});
    EXPECT_TRUE(ReadAll(disk.Path("a.arc")) == original);
    // The modified architecture went into core.arc where there was room, moved by the drag.
    const std::string core = ReadAll(work + "/core.arc");
    if (c.workingFolderOnDisk) {
        EXPECT_FALSE(e2e::Exists(work + "/core.arc"));
    } else {
        EXPECT_NE(core.find("POS:  (630,540)"), std::string::npos) << core;
        unlink((work + "/core.arc").c_str());
    }
    unlink(disk.Path("a.arc").c_str());
    unlink(disk.Path("filler").c_str());
}

// Ctrl-S onto a file of a read-only mount: the file is there, only its new copy cannot be made, so
// the save is a failed write ("IO Error"), not a file that cannot be opened. The old file stays
// and the architecture stays modified, which the SIGTERM's core.arc shows.
TEST(ReadOnlyDiskSave, SaysIoErrorAndKeepsTheFileAndTheChange) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    e2e::ScratchFolder folder("/tmp/quiran-ro-save-XXXXXX");
    SmallFileSystem disk("/tmp/quiran-ro-disk-XXXXXX", 256);
    if (!disk.Ok()) GTEST_SKIP() << disk.Error();
    e2e::Screen screen;
    ASSERT_TRUE(screen.Ok());
    const std::string original = Architecture();
    e2e::WriteText(disk.Path("a.arc"), original);
    ASSERT_TRUE(disk.MakeReadOnly()) << "cannot remount the tmpfs read-only";

    e2e::ProgramRun program;
    e2e::ProgramSetup setup;
    setup.home = folder.Get();
    setup.workingFolder = folder.Get();
    setup.stderrPath = folder.Path("stderr.txt");
    e2e::LogMessages(setup, folder.Path("messages.log"), QUIRAN_MESSAGE_LOG_LIBRARY);
    ASSERT_TRUE(program.Start(QUIRAN_PROGRAM, {QUIRAN_PROGRAM, disk.Path("a.arc")}, setup));
    const Window main = screen.WaitForWindow("QUIRAN Pro  ", true);
    ASSERT_NE(main, 0u) << ReadAll(folder.Path("stderr.txt"));
    SleepMs(300); // the main loop is reached right after the title is set
    ASSERT_TRUE(screen.DragDownOnWorkingArea(kFirstX + 12, kFirstY + 12));

    e2e::TypeKeys(Hex(main), "ctrl+s", 30);
    ASSERT_NE(screen.WaitForWindow("Error"), 0u) << ReadAll(folder.Path("stderr.txt"));
    EXPECT_EQ(ReadAll(folder.Path("messages.log")), "warning\nIO Error\f");
    EXPECT_TRUE(ReadAll(disk.Path("a.arc")) == original);

    ASSERT_EQ(kill(program.Pid(), SIGTERM), 0);
    const int status = program.Wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(ReadAll(disk.Path("a.arc")) == original);
    const std::string core = ReadAll(folder.Path("core.arc"));
    EXPECT_NE(core.find("POS:  (630,540)"), std::string::npos) << "not modified any more";
    unlink(folder.Path("core.arc").c_str());
}

INSTANTIATE_TEST_SUITE_P(Disks, FullDiskSave, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DiskCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
