#include "model/format/FileKind.h"

#include <gtest/gtest.h>

namespace {

class FileKindStore : public ::testing::Test {
protected:
    void SetUp() override { ResetFileKinds(); }
    void TearDown() override { ResetFileKinds(); }
};

TEST_F(FileKindStore, StartsWithDefaultFiltersAndTheCurrentDirectory) {
    EXPECT_STREQ(GetFilterPattern(kMaskFile), "*.mask");
    EXPECT_STREQ(GetFilterPattern(kCElemFile), "*.celem");
    EXPECT_STREQ(GetFilterPattern(kArchitectureFile), "*.arc");
    EXPECT_STREQ(GetFilterPattern(kMatrixFile), "*.matrix");
    EXPECT_STREQ(FileKindLabel(kSSeedFile), "S-SEED: ");
    EXPECT_STREQ(FileKindLabel(kLibraryFile), "Library: ");
    for (int k = 0; k < kFileKindCount; ++k)
        EXPECT_STREQ(GetDirectory(FileKind(k)), "");
}

TEST_F(FileKindStore, ListsKindsInTheDialogOrder) {
    const FileKind expected[] = {kArchitectureFile, kLibraryFile, kMatrixFile, kMaskFile,
                                 kRuleFile,         kPermFile,    kLogicFile,  kSSeedFile,
                                 kCElemFile,        kSplitFile,   kJoinFile,   kInputFile,
                                 kOutputFile,       kMacroFile};
    for (int i = 0; i < kFileKindCount; ++i)
        EXPECT_EQ(kFileKindListOrder[i], expected[i]);
}

TEST_F(FileKindStore, SetReplacesAndNullClears) {
    SetDirectory("/data", kMaskFile);
    SetFilterPattern("*.m", kMaskFile);
    EXPECT_STREQ(GetDirectory(kMaskFile), "/data");
    EXPECT_STREQ(GetFilterPattern(kMaskFile), "*.m");
    SetDirectory(nullptr, kMaskFile);
    EXPECT_STREQ(GetDirectory(kMaskFile), "");
    SetDirectory("/x", FileKind(14)); // outside the table: ignored
    EXPECT_STREQ(GetDirectory(FileKind(14)), "");
}

struct MaskCase {
    const char* directory;
    const char* fileName;
    const char* mask;
};

const MaskCase kMasks[] = {
    {"", "/home/u/arch/a.arc", "/home/u/arch/*.arc"},
    {"", nullptr, "*.arc"},
    {"", "a.arc", "*.arc"},
    {"/data", "/a.arc", "/data/*.arc"},
    {"/data/", nullptr, "/data/*.arc"},
    {"/data", "", "/data/*.arc"},
    {"", "x/y/a.arc", "x/y/*.arc"},
};

TEST_F(FileKindStore, MakeDirMaskUsesTheFilesFolderOrTheKindsDirectory) {
    for (const MaskCase& c : kMasks) {
        SCOPED_TRACE(c.fileName ? c.fileName : "(none)");
        SetDirectory(c.directory, kArchitectureFile);
        EXPECT_EQ(MakeDirMask(kArchitectureFile, c.fileName), c.mask);
    }
}

} // namespace
