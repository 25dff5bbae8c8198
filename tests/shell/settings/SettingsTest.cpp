#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/elements/ElementType.h"
#include "model/format/FileKind.h"
#include "model/format/ParseError.h"
#include "tests/support/program/SettingsText.h"

namespace {

using Warnings = std::vector<std::pair<std::string, std::string>>; // title, text

class FakeHost : public SettingsHost {
public:
    void GetGridOptions(GridOptions& out) override { out = grid; }
    void SetGridOptions(const GridOptions& in) override {
        grid = in;
        ++gridSets;
    }
    void Warn(const char* title, const char* text) override { warnings.emplace_back(title, text); }

    GridOptions grid{1, 15, 15, 1};
    int gridSets = 0;
    Warnings warnings;
};

const char* const kHeader = "# QUIRAN Pro settings\n"
                            "# Written by Options > Save as Default, read when QUIRAN starts.\n"
                            "# Lines that begin with '#' are comments.\n"
                            "\n";

// What "Save as Default" writes with every setting at its default (grid 15 by 15, shown, snapped).
const std::string kDefaultOptions = std::string(kHeader) + R"(DIRECTORIES {
  ARCHITECTURE: NOT_DEFINED
  LIBRARY:      NOT_DEFINED
  MATRIX:       NOT_DEFINED
  MASK:         NOT_DEFINED
  RULE:         NOT_DEFINED
  PERM:         NOT_DEFINED
  LOGIC:        NOT_DEFINED
  S-SEED:       NOT_DEFINED
  C++:          NOT_DEFINED
  SPLIT:        NOT_DEFINED
  JOIN:         NOT_DEFINED
  INPUT:        NOT_DEFINED
  OUTPUT:       NOT_DEFINED
  MACRO:        NOT_DEFINED
}
FILTER {
  ARCHITECTURE: *.arc
  LIBRARY:      *.lib
  MATRIX:       *.matrix
  MASK:         *.mask
  RULE:         *.rule
  PERM:         *.perm
  LOGIC:        *.logic
  S-SEED:       *.sseed
  C++:          *.celem
  SPLIT:        *.split
  JOIN:         *.join
  INPUT:        *.input
  OUTPUT:       *.output
  MACRO:        *.macro
}
GRID {
  VISIBLE:   ON
  DIMENSION: (15,15)
  RASTERIZE: ON
}
STARTUP {
  DIMENSION:       (16,16)
  ELEMENT_WINDOW:  OFF
  OVERVIEW_WINDOW: OFF
  SIMULATION_BOX:  OFF
  LIBRARY:         NOT_DEFINED
}
COMPILER {
  CC:       gcc
  CC_FLAGS: 
  LD_FLAGS: 
}

)";

const std::string kDefaultTimes = std::string(kHeader) + R"(DEFAULT_TIMES {
  MASK:   0
  RULE:   0
  PERM:   0
  LOGIC:  20
  C++:  10
  S-SEED: 5
  SPLIT:  0
  JOIN:   0
  INPUT:  10
  OUTPUT: 10
}

)";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("HOME");
        if (old != nullptr) oldHome = old;
        hadHome = old != nullptr;
        char pattern[] = "/tmp/quiran-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home = pattern;
        setenv("HOME", home.c_str(), 1);
        ResetSettings();
        ClearParseError();
    }

    void TearDown() override {
        for (const std::string& name : created)
            unlink(name.c_str());
        for (auto it = folders.rbegin(); it != folders.rend(); ++it)
            rmdir(it->c_str());
        unlink((home + "/.quiran").c_str());
        unlink((home + "/.quiran_times").c_str());
        rmdir(home.c_str());
        if (hadHome) {
            setenv("HOME", oldHome.c_str(), 1);
        } else {
            unsetenv("HOME");
        }
        ResetSettings();
    }

    std::string Folder(const char* name) {
        const std::string path = home + "/" + name;
        EXPECT_EQ(mkdir(path.c_str(), 0755), 0);
        folders.push_back(path);
        return path;
    }

    std::string File(const char* name) {
        const std::string path = home + "/" + name;
        std::ofstream(path) << "LIBRARY\n";
        created.push_back(path);
        return path;
    }

    void Put(const char* name, const std::string& text) {
        std::ofstream(home + "/" + name) << text;
    }

    std::string Get(const char* name) {
        std::ifstream in(home + "/" + name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string home;
    std::string oldHome;
    bool hadHome = false;
    std::vector<std::string> folders;
    std::vector<std::string> created;
    FakeHost host;
};

TEST_F(Settings, MissingFilesLeaveDefaultsSilently) {
    SetCompilerSetting(kCompilerSetting, "cc");
    SetDirectory("/tmp", kMaskFile);
    LoadOptions(host);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(host.gridSets, 0);
    EXPECT_STREQ(GetCompiler(), "cc"); // loading touches only what a file gives
    for (int kind = 0; kind < kFileKindCount; ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_STREQ(GetDirectory(FileKind(kind)), "");
        EXPECT_STREQ(GetFilterPattern(FileKind(kind)), DefaultFilterPattern(FileKind(kind)));
    }
}

TEST_F(Settings, DefaultsAreWrittenAsTheirText) {
    SaveOptions(host);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(Get(".quiran"), kDefaultOptions);
    EXPECT_EQ(Get(".quiran_times"), kDefaultTimes);
    struct stat info;
    ASSERT_EQ(stat((home + "/.quiran").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0002, 0u); // never world-writable
}

// The end-to-end tests build the options they expect with the shared helper.
TEST(SettingsText, TheSharedTextsAreTheDefaultsTexts) {
    EXPECT_EQ(e2e::SettingsHeader(), kHeader);
    EXPECT_EQ(e2e::OptionsText("(16,16)", false, "gcc"), kDefaultOptions);
    EXPECT_EQ(e2e::DefaultTimesText(), kDefaultTimes);
}

TEST_F(Settings, SavedSettingsReadBackTheSame) {
    const std::string arcs = Folder("arcs");
    const std::string masks = Folder("masks");
    const std::string library = File("std.lib");
    SetDirectory(arcs.c_str(), kArchitectureFile);
    SetDirectory(masks.c_str(), kMaskFile);
    SetFilterPattern("*.a", kArchitectureFile);
    SetFilterPattern("", kMacroFile);
    host.grid = {0, 20, 7, 0};
    SetStartupOptions(1, 1, 0, 20, 30, library.c_str());
    SetCompilerSetting(kCompilerSetting, "g++");
    SetCompilerSetting(kCompilerFlagsSetting, "-O2 -I/usr/X11  ");
    SetCompilerSetting(kLoaderFlagsSetting, "-lm");
    SetDefaultTime(kMask, 7);
    SetDefaultTime(kCElem, 2147483647);
    SetDefaultTime(kOutput, 0);
    SaveOptions(host);
    ASSERT_TRUE(host.warnings.empty());

    std::string options = kDefaultOptions;
    options = Replace(options, "ARCHITECTURE: NOT_DEFINED", "ARCHITECTURE: " + arcs);
    options = Replace(options, "MASK:         NOT_DEFINED", "MASK:         " + masks);
    options = Replace(options, "ARCHITECTURE: *.arc", "ARCHITECTURE: *.a");
    options = Replace(options, "MACRO:        *.macro", "MACRO:        NOT_DEFINED");
    options = Replace(options, "VISIBLE:   ON\n  DIMENSION: (15,15)\n  RASTERIZE: ON",
                      "VISIBLE:   OFF\n  DIMENSION: (20,7)\n  RASTERIZE: OFF");
    options = Replace(options, "(16,16)\n  ELEMENT_WINDOW:  OFF\n  OVERVIEW_WINDOW: OFF",
                      "(20,30)\n  ELEMENT_WINDOW:  ON\n  OVERVIEW_WINDOW: ON");
    options = Replace(options, "LIBRARY:         NOT_DEFINED", "LIBRARY:         " + library);
    options = Replace(options, "CC:       gcc\n  CC_FLAGS: \n  LD_FLAGS: \n",
                      "CC:       g++\n  CC_FLAGS: -O2 -I/usr/X11  \n  LD_FLAGS: -lm\n");
    EXPECT_EQ(Get(".quiran"), options);
    std::string times = kDefaultTimes;
    times = Replace(times, "MASK:   0", "MASK:   7");
    times = Replace(times, "C++:  10", "C++:  2147483647");
    times = Replace(times, "OUTPUT: 10", "OUTPUT: 0");
    EXPECT_EQ(Get(".quiran_times"), times);

    ResetSettings();
    host.grid = {1, 15, 15, 1};
    LoadOptions(host);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_STREQ(GetDirectory(kArchitectureFile), arcs.c_str());
    EXPECT_STREQ(GetDirectory(kMaskFile), masks.c_str());
    EXPECT_STREQ(GetDirectory(kRuleFile), "");
    EXPECT_STREQ(GetFilterPattern(kArchitectureFile), "*.a");
    EXPECT_STREQ(GetFilterPattern(kMacroFile), "*.macro"); // NOT_DEFINED keeps the default
    EXPECT_EQ(host.gridSets, 1);
    EXPECT_EQ(host.grid.visible, 0);
    EXPECT_EQ(host.grid.x, 20);
    EXPECT_EQ(host.grid.y, 7);
    EXPECT_EQ(host.grid.rasterize, 0);
    int width = 0, height = 0;
    GetStartupDimension(width, height);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(GetStartupElementWindow(), 1);
    EXPECT_EQ(GetStartupOverviewWindow(), 1);
    EXPECT_EQ(GetStartupSimulationBox(), 0);
    EXPECT_STREQ(GetStartupLibrary(), library.c_str());
    EXPECT_STREQ(GetCompiler(), "g++");
    EXPECT_STREQ(GetCompilerFlags(), "-O2 -I/usr/X11  ");
    EXPECT_STREQ(GetLoaderFlags(), "-lm");
    EXPECT_EQ(GetDefaultTime(kMask), 7u);
    EXPECT_EQ(GetDefaultTime(kCElem), 2147483647u);
    EXPECT_EQ(GetDefaultTime(kOutput), 0u);
    EXPECT_EQ(GetDefaultTime(kLogic), 20u);

    // Saving what was read gives the same bytes again, but for the empty filter, which read back
    // as its default.
    SaveOptions(host);
    EXPECT_EQ(Get(".quiran"), Replace(options, "MACRO:        NOT_DEFINED\n}\nGRID",
                                      "MACRO:        *.macro\n}\nGRID"));
    EXPECT_EQ(Get(".quiran_times"), times);
}

// A broken .quiran: what is shown, and what the settings are afterwards.
struct BrokenOptionsCase {
    const char* name;
    const char* from; // replaced in the default file
    const char* to;
    const char* warning; // "" for none
    int gridX, gridY;
    int startupWidth, startupHeight;
    const char* compiler;
};

const BrokenOptionsCase kBrokenOptions[] = {
    // A missing directory costs its own entry only; reading goes on.
    {"missing directory", "RULE:         NOT_DEFINED", "RULE:         /no/such/dir",
     "Line: 10\nDirectory does not exist", 8, 9, 20, 30, "cc"},
    {"grid step zero", "DIMENSION: (8,9)", "DIMENSION: (0,20)", "", 15, 20, 20, 30, "cc"},
    {"grid steps beyond the dialog", "DIMENSION: (8,9)", "DIMENSION: (1,101)", "", 15, 15, 20, 30,
     "cc"},
    {"start-up size beyond the dialog", "(20,30)", "(0,65537)", "", 8, 9, 16, 16, "cc"},
    {"start-up size at the limits", "(20,30)", "(1,65536)", "", 8, 9, 1, 65536, "cc"},
    {"misspelt keyword", "VISIBLE:", "VISIBEL:", "Line: 38\n'VISIBLE:' expected", 15, 15, 16, 16,
     "gcc"},
    {"bad switch", "ELEMENT_WINDOW:  OFF", "ELEMENT_WINDOW:  YES", "Line: 44\nUnexpected char", 8,
     9, 16, 16, "gcc"},
    {"open pair", "(20,30)", "(20,30", "Line: 43\nUnexpected EOL", 8, 9, 16, 16, "gcc"},
    {"undefined pair", "(8,9)", "(-,9)", "Line: 39\nNot defined", 15, 15, 16, 16, "gcc"},
    {"cut short", "  CC:       cc\n  CC_FLAGS: \n  LD_FLAGS: \n}\n\n", "  CC:       cc\n",
     "Line: 50\nUnexpected EOF", 8, 9, 20, 30, "cc"},
    {"no closing brace", "  LD_FLAGS: \n}\n\n", "  LD_FLAGS: \n", "Line: 52\nUnexpected EOF", 8, 9,
     20, 30, "cc"},
};

// An empty filter is written as NOT_DEFINED, so it is read as that too (the filter stays): a line
// with nothing before its end or a NUL byte reads back the same after a save.
TEST_F(Settings, EmptyFilterIsReadAsNotDefined) {
    const std::string splits = "  SPLIT:        *.split\n";
    const std::string lines[] = {"  SPLIT:\n", "  SPLIT:        \n",
                                 std::string("  SPLIT:      ") + '\0' + " *.split\n"};
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        ResetSettings();
        SetFilterPattern("*.s", kSplitFile);
        std::istringstream in(Replace(kDefaultOptions, splits, line));
        ClearParseError();
        ASSERT_EQ(ReadDirectoriesOptions(in), kNoError);
        EXPECT_STREQ(GetFilterPattern(kSplitFile), "*.s");
        std::ostringstream out;
        ASSERT_EQ(WriteDirectoriesOptions(out), kNoError);
        EXPECT_NE(out.str().find("  SPLIT:        *.s\n"), std::string::npos);
    }
}

TEST_F(Settings, BrokenOptionsFileWarnsAndKeepsTheRest) {
    std::string good = kDefaultOptions;
    good = Replace(good, "(15,15)", "(8,9)");
    good = Replace(good, "(16,16)", "(20,30)");
    good = Replace(good, "CC:       gcc", "CC:       cc");
    for (const BrokenOptionsCase& c : kBrokenOptions) {
        SCOPED_TRACE(c.name);
        ResetSettings();
        host = FakeHost();
        Put(".quiran", Replace(good, c.from, c.to));
        LoadOptions(host);
        if (c.warning[0] == '\0') {
            EXPECT_TRUE(host.warnings.empty());
        } else {
            ASSERT_EQ(host.warnings.size(), 1u);
            EXPECT_EQ(host.warnings[0].first, ".quiran");
            EXPECT_EQ(host.warnings[0].second, c.warning);
        }
        EXPECT_EQ(host.grid.x, c.gridX);
        EXPECT_EQ(host.grid.y, c.gridY);
        int width = 0, height = 0;
        GetStartupDimension(width, height);
        EXPECT_EQ(width, c.startupWidth);
        EXPECT_EQ(height, c.startupHeight);
        EXPECT_STREQ(GetCompiler(), c.compiler);
    }
}

TEST_F(Settings, MissingLibraryIsDroppedAndTheOtherStartupOptionsRead) {
    const std::string masks = Folder("masks");
    std::string text = kDefaultOptions;
    text = Replace(text, "MASK:         NOT_DEFINED", "MASK:         " + masks);
    text = Replace(text, "PERM:         NOT_DEFINED", "PERM:         /gone/one");
    text = Replace(text, "LOGIC:        NOT_DEFINED", "LOGIC:        /gone/two");
    text = Replace(text, "ELEMENT_WINDOW:  OFF", "ELEMENT_WINDOW:  ON");
    text = Replace(text, "LIBRARY:         NOT_DEFINED", "LIBRARY:         /gone/std.lib");
    Put(".quiran", text);
    LoadOptions(host);
    // Only the first skipped entry of the file is shown.
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0].second, "Line: 11\nDirectory does not exist");
    EXPECT_STREQ(GetDirectory(kMaskFile), masks.c_str());
    EXPECT_STREQ(GetDirectory(kPermFile), "");
    EXPECT_EQ(GetStartupElementWindow(), 1);
    EXPECT_EQ(GetStartupLibrary(), nullptr);

    host = FakeHost();
    Put(".quiran",
        Replace(kDefaultOptions, "LIBRARY:         NOT_DEFINED", "LIBRARY:         /gone/std.lib"));
    LoadOptions(host);
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0].second, "Line: 47\nDirectory does not exist");
}

TEST_F(Settings, SkippedEntryAndLaterErrorAreBothShownInOrder) {
    std::string text = Replace(kDefaultOptions, "JOIN:         NOT_DEFINED", "JOIN:         /x");
    text = Replace(text, "RASTERIZE: ON", "RASTERIZE ON");
    Put(".quiran", text);
    LoadOptions(host);
    ASSERT_EQ(host.warnings.size(), 2u);
    EXPECT_EQ(host.warnings[0].second, "Line: 16\nDirectory does not exist");
    EXPECT_EQ(host.warnings[1].second, "Line: 40\n'RASTERIZE:' expected");
    EXPECT_EQ(host.gridSets, 0);
}

struct BrokenTimesCase {
    const char* from;
    const char* to;
    const char* warning;
    uint32_t mask; // MASK's time afterwards
    uint32_t logic;
};

const BrokenTimesCase kBrokenTimes[] = {
    {"MASK:   3", "MASK:   -1", "Line: 6\nNumber out of range", 20, 20},
    {"LOGIC:  20", "LOGIC:  2147483648", "Line: 9\nNumber out of range", 3, 20},
    {"LOGIC:  20", "LOGIC:", "Line: 9\nUnexpected EOL", 3, 20},
    {"LOGIC:  20", "LOGIC:  x", "Line: 9\nUnexpected char", 3, 20},
    {"LOGIC:  20", "LOGIC:  7x", "Line: 9\n'C++:' expected", 3, 7},
    {"DEFAULT_TIMES {", "DEFAULT_TIMES", "Line: 6\n'{' expected", 20, 20},
};

TEST_F(Settings, BrokenTimesFileKeepsTheTimesReadBefore) {
    const std::string good = Replace(kDefaultTimes, "MASK:   0", "MASK:   3");
    for (const BrokenTimesCase& c : kBrokenTimes) {
        SCOPED_TRACE(c.to);
        ResetSettings();
        SetDefaultTime(kMask, 20);
        host = FakeHost();
        Put(".quiran_times", Replace(good, c.from, c.to));
        LoadOptions(host);
        ASSERT_EQ(host.warnings.size(), 1u);
        EXPECT_EQ(host.warnings[0].first, ".quiran_times");
        EXPECT_EQ(host.warnings[0].second, c.warning);
        EXPECT_EQ(GetDefaultTime(kMask), c.mask);
        EXPECT_EQ(GetDefaultTime(kLogic), c.logic);
    }
}

TEST_F(Settings, OptionsErrorWithMissingTimesShowsOneWarning) {
    Put(".quiran", "GARBAGE\n");
    LoadOptions(host);
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0].first, ".quiran");
    EXPECT_EQ(host.warnings[0].second, "Line: 1\n'DIRECTORIES' expected");
}

TEST_F(Settings, NoHomeIsReportedOnLoadAndSave) {
    for (const bool empty : {false, true}) {
        SCOPED_TRACE(empty);
        if (empty) {
            setenv("HOME", "", 1);
        } else {
            unsetenv("HOME");
        }
        host = FakeHost();
        SetCompilerSetting(kCompilerSetting, "cc");
        LoadOptions(host);
        SaveOptions(host);
        const Warnings expected = {{"Error", "Can't detect your home directory!"},
                                   {"Error", "Can't detect your home directory!"}};
        EXPECT_EQ(host.warnings, expected);
        EXPECT_STREQ(GetCompiler(), "cc");
    }
}

TEST_F(Settings, UnwritableHomeReportsBothFiles) {
    setenv("HOME", (home + "/missing/").c_str(), 1);
    SaveOptions(host);
    const Warnings expected = {{"Error", "Can't save the options!"},
                               {"Error", "Can't save the default times!"}};
    EXPECT_EQ(host.warnings, expected);
}

TEST_F(Settings, HomeWithTrailingSlashGetsNoSecond) {
    setenv("HOME", (home + "/").c_str(), 1);
    SaveOptions(host);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(Get(".quiran"), kDefaultOptions);
}

TEST_F(Settings, CompilerTextsAreCutTo99Characters) {
    const std::string long120(120, 'x');
    SetCompilerSetting(kLoaderFlagsSetting, long120.c_str());
    EXPECT_EQ(std::string(GetLoaderFlags()), std::string(99, 'x'));
    Put(".quiran", Replace(kDefaultOptions, "CC:       gcc", "CC:       " + long120));
    LoadOptions(host);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(std::string(GetCompiler()), std::string(99, 'x'));
    EXPECT_STREQ(GetCompilerSettingLabel(kCompilerFlagsSetting), "Compiler Options:");
}

// A text typed into a settings field is kept as typed, or refused where the file could not give
// it back: a leading blank is skipped on reading, a line break ends the value, "NOT_DEFINED" and
// an empty filter read as no value.
TEST_F(Settings, TextsComeBackWholeOrAreRefused) {
    const struct {
        const char* text;
        SettingsTextKind kind;
        const char* refusal; // null: kept
    } cases[] = {
        {"lib a.lib", kPathText, nullptr},
        {"a.lib  ", kPathText, nullptr},
        {"", kPathText, nullptr},
        {" a.lib", kPathText, "The text cannot begin with a blank!"},
        {"NOT_DEFINED.lib", kPathText, "The text cannot begin with NOT_DEFINED!"},
        {"a\nb.lib", kPathText, "The text cannot hold a line break!"},
        {"*.a b", kFilterText, nullptr},
        {"", kFilterText, "The filter cannot be empty!"},
        {" *.arc", kFilterText, "The text cannot begin with a blank!"},
        {"NOT_DEFINED", kFilterText, "The text cannot begin with NOT_DEFINED!"},
        {"-O2  -g", kCompilerText, nullptr},
        {"NOT_DEFINED", kCompilerText, nullptr},
        {"", kCompilerText, nullptr},
        {" -O2", kCompilerText, "The text cannot begin with a blank!"},
        {"-O2\r", kCompilerText, "The text cannot hold a line break!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const char* refusal = SettingsTextRefusal(c.text, c.kind);
        EXPECT_EQ(refusal != nullptr ? std::string(refusal) : "<kept>",
                  c.refusal != nullptr ? std::string(c.refusal) : "<kept>");
    }

    // What is kept comes back whole after a save.
    const std::string library = File("lib a.lib  ");
    const std::string folder = Folder("arcs and libs");
    SetStartupOptions(0, 0, 0, 16, 16, library.c_str());
    SetDirectory(folder.c_str(), kLibraryFile);
    SetFilterPattern("*.a b", kArchitectureFile);
    SetCompilerSetting(kCompilerFlagsSetting, "NOT_DEFINED  -g");
    SaveOptions(host);
    ResetSettings();
    LoadOptions(host);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_STREQ(GetStartupLibrary(), library.c_str());
    EXPECT_STREQ(GetDirectory(kLibraryFile), folder.c_str());
    EXPECT_STREQ(GetFilterPattern(kArchitectureFile), "*.a b");
    EXPECT_STREQ(GetCompilerFlags(), "NOT_DEFINED  -g");
}

TEST_F(Settings, ErrorTextHasLineTokenAndMessage) {
    EXPECT_EQ(FormatSettingsError(kKeywordExpected, 3, "GRID"), "Line: 3\n'GRID' expected");
    EXPECT_EQ(FormatSettingsError(kIoError, 0, nullptr), "IO Error");
    EXPECT_EQ(FormatSettingsError(kUnexpectedEof, 0, ""), "'' Unexpected EOF");
}

} // namespace
