// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/SafeFileWriter.h"

#include "tests/shell/SmallFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class SafeFileWriterFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quiran-safe-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

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
    // Every entry of the folder but "." and "..": no temporary may be left behind.
    int EntryCount() const {
        int count = 0;
        DIR* folder = opendir(dir.c_str());
        while (dirent* entry = readdir(folder)) {
            if (entry->d_name[0] != '.' || (entry->d_name[1] != '\0' && entry->d_name[1] != '.'))
                ++count;
        }
        closedir(folder);
        return count;
    }

    std::string dir;
};

TEST_F(SafeFileWriterFixture, ReplacesAnExistingFileAndKeepsItsMode) {
    const std::string path = Path("a.arc");
    WriteText(path, "old text that is longer than the new one\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    SafeFileWriter writer;
    ASSERT_EQ(writer.Open(path.c_str(), SafeFileWriter::kExistingFile), 0);
    writer.Stream() << "new\n";
    EXPECT_EQ(ReadAll(path), "old text that is longer than the new one\n"); // not yet
    ASSERT_EQ(writer.Commit(), 0);

    EXPECT_EQ(ReadAll(path), "new\n");
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(SafeFileWriterFixture, WritesLongTextsWhole) {
    const std::string path = Path("long.arc");
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "0110100111010010 row " + std::to_string(i) + "\n";
    SafeFileWriter writer;
    ASSERT_EQ(writer.Open(path.c_str(), SafeFileWriter::kNewFile), 0);
    for (char c : text.substr(0, 100))
        writer.Stream().put(c); // one character at a time, too
    writer.Stream() << text.substr(100);
    ASSERT_EQ(writer.Commit(), 0);
    EXPECT_EQ(ReadAll(path), text);
}

TEST_F(SafeFileWriterFixture, RefusesTargetsThatDoNotFit) {
    const std::string existing = Path("there.arc");
    WriteText(existing, "x");
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0755), 0);
    struct Case {
        std::string path;
        SafeFileWriter::Target target;
        int error;
    };
    const Case cases[] = {
        {Path("missing.arc"), SafeFileWriter::kExistingFile, ENOENT}, // Save never creates
        {existing, SafeFileWriter::kNewFile, EEXIST},
        {Path("folder"), SafeFileWriter::kExistingFile, EISDIR},
        {Path("nowhere/a.arc"), SafeFileWriter::kNewFile, ENOENT},
        {"", SafeFileWriter::kNewFile, ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SafeFileWriter writer;
        EXPECT_EQ(writer.Open(c.path.c_str(), c.target), c.error);
    }
    EXPECT_EQ(ReadAll(existing), "x");
    EXPECT_EQ(EntryCount(), 2);
}

// A target that is there (or may be made) but whose new file cannot be: the failure is one of
// writing, which Commit gives, not one of the target, which Open gives.
TEST(SafeFileWriterOnAReadOnlyDisk, OpensTheTargetAndFailsOnCommit) {
    SmallFileSystem disk("/tmp/quiran-ro-XXXXXX", 64);
    if (!disk.Ok()) GTEST_SKIP() << disk.Error();
    const std::string existing = disk.Path("a.arc");
    std::ofstream(existing, std::ios::binary) << "old\n";
    ASSERT_TRUE(disk.MakeReadOnly()) << std::strerror(errno);
    struct Case {
        std::string path;
        SafeFileWriter::Target target;
    };
    const Case cases[] = {
        {existing, SafeFileWriter::kExistingFile},
        {existing, SafeFileWriter::kAnyFile},
        {disk.Path("new.arc"), SafeFileWriter::kNewFile},
        {disk.Path("new.arc"), SafeFileWriter::kAnyFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " as target " + std::to_string(c.target));
        SafeFileWriter writer;
        EXPECT_EQ(writer.Open(c.path.c_str(), c.target), 0);
        writer.Stream() << "new\n";
        EXPECT_TRUE(writer.Stream().fail());
        EXPECT_EQ(writer.Commit(), EROFS);
    }
    std::ifstream in(existing, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "old\n");
    EXPECT_NE(access(disk.Path("new.arc").c_str(), F_OK), 0);
    // The file system is read-only: the destructor cannot remove the file, the mount goes with
    // the process.
    unlink(existing.c_str());
}

TEST_F(SafeFileWriterFixture, LeavesTheTargetWhenNotCommitted) {
    const std::string path = Path("a.arc");
    WriteText(path, "old\n");
    {
        SafeFileWriter writer;
        ASSERT_EQ(writer.Open(path.c_str(), SafeFileWriter::kExistingFile), 0);
        writer.Stream() << "partial";
    }
    EXPECT_EQ(ReadAll(path), "old\n");
    EXPECT_EQ(EntryCount(), 1);
}

// The settings files are made on their first save and replaced on later ones.
TEST_F(SafeFileWriterFixture, AnyFileIsMadeOrReplacedButNeverAnythingElse) {
    const std::string path = Path(".quiran");
    for (const char* text : {"first\n", "second\n"}) {
        SafeFileWriter writer;
        ASSERT_EQ(writer.Open(path.c_str(), SafeFileWriter::kAnyFile), 0);
        writer.Stream() << text;
        ASSERT_EQ(writer.Commit(), 0);
        EXPECT_EQ(ReadAll(path), text);
    }
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
    SafeFileWriter writer;
    EXPECT_EQ(writer.Open(Path("fifo").c_str(), SafeFileWriter::kAnyFile), EISDIR);
    EXPECT_EQ(EntryCount(), 2);
}

// A failed save reports after Discard: its partial copy is gone by then.
TEST_F(SafeFileWriterFixture, DiscardRemovesTheNewFileAtOnce) {
    const std::string path = Path("a.arc");
    WriteText(path, "old\n");
    SafeFileWriter writer;
    ASSERT_EQ(writer.Open(path.c_str(), SafeFileWriter::kExistingFile), 0);
    writer.Stream() << "partial" << std::flush;
    EXPECT_EQ(EntryCount(), 2);
    writer.Discard();
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(ReadAll(path), "old\n");
    EXPECT_NE(writer.Commit(), 0);
    EXPECT_EQ(ReadAll(path), "old\n");
}

TEST_F(SafeFileWriterFixture, FailedStreamOrRenameKeepsTheOldFile) {
    const std::string path = Path("a.arc");
    WriteText(path, "old\n");
    {
        SafeFileWriter writer;
        ASSERT_EQ(writer.Open(path.c_str(), SafeFileWriter::kExistingFile), 0);
        writer.Stream() << "half";
        writer.Stream().setstate(std::ios::failbit); // a writer that recorded an error
        EXPECT_EQ(writer.Commit(), EIO);
    }
    EXPECT_EQ(ReadAll(path), "old\n");

    // The folder goes away between opening and committing: the rename fails.
    const std::string sub = Path("sub");
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    SafeFileWriter writer;
    ASSERT_EQ(writer.Open((sub + "/b.arc").c_str(), SafeFileWriter::kNewFile), 0);
    ASSERT_EQ(rename(sub.c_str(), Path("moved").c_str()), 0);
    writer.Stream() << "text\n";
    EXPECT_NE(writer.Commit(), 0);
    EXPECT_NE(access((Path("moved") + "/b.arc").c_str(), F_OK), 0);
}

TEST_F(SafeFileWriterFixture, NewFileAppearingMeanwhileIsNotReplaced) {
    const std::string path = Path("new.arc");
    SafeFileWriter writer;
    ASSERT_EQ(writer.Open(path.c_str(), SafeFileWriter::kNewFile), 0);
    WriteText(path, "someone else's\n");
    writer.Stream() << "mine\n";
    EXPECT_EQ(writer.Commit(), EEXIST);
    EXPECT_EQ(ReadAll(path), "someone else's\n");
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(SafeFileWriterFixture, ReplacesTheFileBehindALink) {
    const std::string path = Path("real.arc");
    const std::string link = Path("link.arc");
    WriteText(path, "old\n");
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    SafeFileWriter writer;
    ASSERT_EQ(writer.Open(link.c_str(), SafeFileWriter::kExistingFile), 0);
    writer.Stream() << "new\n";
    ASSERT_EQ(writer.Commit(), 0);
    EXPECT_EQ(ReadAll(path), "new\n");
    struct stat status;
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
}

} // namespace
