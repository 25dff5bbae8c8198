#include "model/simulation/PrivateDirectory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

struct OwnerCase {
    const char* name;
    int pid;
};

const OwnerCase kOwners[] = {
    {"quiran-1234-a1B2c3", 1234}, {"quiran-7-XXXXXX", 7},   {"quiran-1234-a1B2c", 0},
    {"quiran-1234-a1B2c3d", 0},   {"quiran--a1B2c3", 0},    {"quiranXXXXXX", 0},
    {"quiran-12a-a1B2c3", 0},     {"other-1234-a1B2c3", 0}, {"quiran-999999999999-abcdef", 0},
};

TEST(PrivateDirectory, TheNameTellsWhoseItIs) {
    for (const OwnerCase& c : kOwners) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PrivateDirectoryOwner(c.name), c.pid);
    }
}

// The pid of a process that has ended and been reaped.
int DeadPid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status;
    waitpid(child, &status, 0);
    return static_cast<int>(child);
}

bool IsFolder(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(PrivateDirectory, AStartRemovesOnlyTheFoldersOfEndedProcesses) {
    char parent[] = "/tmp/quiran-stale-testXXXXXX";
    ASSERT_NE(mkdtemp(parent), nullptr);
    const std::string base = parent;
    const std::string dead = "quiran-" + std::to_string(DeadPid()) + "-abcdef";
    const std::string self = "quiran-" + std::to_string(getpid()) + "-abcdef";
    const std::string living = "quiran-1-abcdef"; // init is always there
    const std::string other = "quiran-" + std::to_string(DeadPid()) + "-notours";
    for (const std::string& name : {dead, self, living, other}) {
        ASSERT_EQ(mkdir((base + "/" + name).c_str(), 0700), 0);
        std::ofstream(base + "/" + name + "/client") << "x";
    }
    // A plain file and a link of the same form are never touched.
    const std::string file = "quiran-" + std::to_string(DeadPid()) + "-file00";
    std::ofstream(base + "/" + file) << "x";
    const std::string link = "quiran-" + std::to_string(DeadPid()) + "-link00";
    ASSERT_EQ(symlink((base + "/" + self).c_str(), (base + "/" + link).c_str()), 0);

    EXPECT_EQ(RemoveStalePrivateDirectories(parent), 1);
    EXPECT_FALSE(IsFolder(base + "/" + dead));
    EXPECT_TRUE(IsFolder(base + "/" + self));
    EXPECT_TRUE(IsFolder(base + "/" + living));
    EXPECT_TRUE(IsFolder(base + "/" + other)); // not a name of the form
    EXPECT_EQ(access((base + "/" + file).c_str(), F_OK), 0);
    EXPECT_EQ(access((base + "/" + self + "/client").c_str(), F_OK), 0);

    const std::string command = "rm -rf '" + base + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

TEST(PrivateDirectory, IsMadeOnceAndRemovedWithItsFiles) {
    char parent[] = "/tmp/quiran-private-testXXXXXX";
    ASSERT_NE(mkdtemp(parent), nullptr);
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old != nullptr ? old : "";
    setenv("TMPDIR", parent, 1);
    RemovePrivateDirectory();

    const std::string folder = PrivateDirectory() != nullptr ? PrivateDirectory() : "";
    ASSERT_EQ(folder.find(std::string(parent) + "/quiran-" + std::to_string(getpid()) + "-"), 0u);
    EXPECT_EQ(PrivateDirectory(), folder);
    std::ofstream(folder + "/executable") << "x";
    RemovePrivateDirectory();
    EXPECT_FALSE(IsFolder(folder));
    EXPECT_EQ(rmdir(parent), 0); // nothing else was left

    if (old != nullptr) {
        setenv("TMPDIR", saved.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

} // namespace
