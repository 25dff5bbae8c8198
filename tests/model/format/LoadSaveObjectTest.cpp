#include "model/format/LoadSaveObject.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Stub : public LoadSaveObject {
public:
    int Read(std::istream&, FileArgument*) override { return 0; }
    int Write(std::ostream&, int, FileArgument*) override { return 0; }
};

class CountingCloser : public FileDialogCloser {
public:
    void CloseFileDialog(const LoadSaveObject& destroyed) override {
        ++calls;
        last = &destroyed;
    }
    int calls = 0;
    const LoadSaveObject* last = nullptr;
};

TEST(LoadSaveObject, HasNoFileNameUntilOneIsSet) {
    Stub object;
    EXPECT_EQ(object.GetFileName(), nullptr);
    object.SetFileName("/tmp/a.arc");
    EXPECT_STREQ(object.GetFileName(), "/tmp/a.arc");
    object.SetFileName(nullptr);
    EXPECT_EQ(object.GetFileName(), nullptr);
}

TEST(LoadSaveObject, ACopyHasNoFileName) {
    Stub object;
    object.SetFileName("a.arc");
    Stub copy(object);
    EXPECT_EQ(copy.GetFileName(), nullptr);
    Stub other;
    other.SetFileName("b.arc");
    other = object;
    EXPECT_STREQ(other.GetFileName(), "b.arc");
}

TEST(LoadSaveObject, DestructionClosesTheFileDialog) {
    CountingCloser closer;
    SetFileDialogCloser(&closer);
    const LoadSaveObject* address;
    {
        Stub object;
        address = &object;
    }
    SetFileDialogCloser(nullptr);
    EXPECT_EQ(closer.calls, 1);
    EXPECT_EQ(closer.last, address);
}

TEST(LoadSaveObject, FileExistsForFilesAndDirectoriesAndCreatesNothing) {
    const std::string missing =
        std::string(::testing::TempDir()) + "quiran-missing-" + std::to_string(getpid());
    EXPECT_FALSE(FileExists(missing.c_str()));
    EXPECT_NE(access(missing.c_str(), F_OK), 0);
    EXPECT_TRUE(FileExists(::testing::TempDir().c_str()));
    EXPECT_FALSE(FileExists(nullptr));

    const std::string file = missing + ".arc";
    std::FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(FileExists(file.c_str()));
    std::remove(file.c_str());
}

TEST(LoadSaveObject, PathKindsAreToldWithoutOpeningThePath) {
    const std::string base =
        std::string(::testing::TempDir()) + "quiran-kinds-" + std::to_string(getpid());
    const std::string file = base + ".arc", fifo = base + ".fifo", directory = base + ".dir";
    std::FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkdir(directory.c_str(), 0700), 0);
    struct Case {
        std::string path;
        bool exists, file, directory;
    };
    const Case cases[] = {{base + ".missing", false, false, false},
                          {file, true, true, false},
                          {fifo, true, false, false},
                          {directory, true, false, true}};
    // Opening the FIFO would wait for a writer for ever: the alarm ends the test instead.
    alarm(30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileExists(c.path.c_str()), c.exists);
        EXPECT_EQ(IsReadableFile(c.path.c_str()), c.file);
        EXPECT_EQ(IsReadableDirectory(c.path.c_str()), c.directory);
    }
    alarm(0);
    EXPECT_FALSE(IsReadableFile(nullptr));
    EXPECT_FALSE(IsReadableDirectory(nullptr));
    std::remove(file.c_str());
    std::remove(fifo.c_str());
    rmdir(directory.c_str());
}

} // namespace
