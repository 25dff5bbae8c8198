#include "shell/Settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <istream>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "model/elements/ElementType.h"
#include "model/format/FileKind.h"
#include "model/format/LoadSaveObject.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "shell/SafeFileWriter.h"

namespace {

const char* const kOptionsFile = ".quiran";
const char* const kTimesFile = ".quiran_times";
const char* const kNotDefinedText = "NOT_DEFINED";

const char* const kHeaderLines =
    "# QUIRAN Pro settings\n"
    "# Written by Options > Save as Default, read when QUIRAN starts.\n"
    "# Lines that begin with '#' are comments.\n";

// A key of the settings file: a name and its colon.
const int kSettingsKeySize = 24;
void MakeKey(char (&key)[kSettingsKeySize], const char* name) {
    std::snprintf(key, sizeof key, "%s:", name);
}

// The rows of the DIRECTORIES and FILTER blocks, in the kinds' list order: the element file kinds
// are keyed by their type's name; key and blanks fill kDirectoryKeyWidth columns.
struct KindRow {
    char key[kSettingsKeySize];
    FileKind kind;
};
std::vector<KindRow> MakeKindRows() {
    std::vector<KindRow> rows;
    for (FileKind kind : kFileKindListOrder) {
        KindRow row{{}, kind};
        const char* name = kind == kArchitectureFile ? "ARCHITECTURE"
                           : kind == kLibraryFile    ? "LIBRARY"
                           : kind == kMatrixFile     ? "MATRIX"
                                                     : "";
        for (const ElementRow& type : ElementRows()) {
            if (type.fileKind == kind) name = type.name;
        }
        MakeKey(row.key, name);
        rows.push_back(row);
    }
    return rows;
}
const std::vector<KindRow> kKindRows = MakeKindRows();
const int kDirectoryKeyWidth = 14;

// The lines of DEFAULT_TIMES in file order, from the types' settings lines.
struct TimeRow {
    char key[kSettingsKeySize];
    int blanks;
    uint32_t type;
};
std::vector<TimeRow> MakeTimeRows() {
    std::vector<TimeRow> rows;
    for (const ElementRow& type : ElementRows()) {
        if (type.timesLine < 0) continue;
        if (rows.size() <= static_cast<size_t>(type.timesLine)) rows.resize(type.timesLine + 1);
        TimeRow& row = rows[type.timesLine];
        MakeKey(row.key, type.name);
        row.blanks = type.timesBlanks;
        row.type = type.type;
    }
    return rows;
}
const std::vector<TimeRow> kTimeRows = MakeTimeRows();

struct CompilerSettingRecord {
    const char* label;
    const char* key;
    int blanks;
    char text[kCompilerTextLength + 1];
};
CompilerSettingRecord gCompiler[kCompilerSettingCount] = {
    {"Compiler:", "CC:", 7, "gcc"},
    {"Compiler Options:", "CC_FLAGS:", 1, ""},
    {"Loader Options:", "LD_FLAGS:", 1, ""},
};

struct StartupOptions {
    int elementWindow = 0;
    int overviewWindow = 0;
    int simulationBox = 0;
    int width = kDefaultStartupDimension;
    int height = kDefaultStartupDimension;
    std::optional<std::string> library;
};
StartupOptions gStartup;

// The warning about the first entry skipped because its path is gone; empty when none.
std::string gSkipped;

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool InRange(int32_t value, int min, int max) {
    return value >= min && value <= max;
}

// The 1-based number of the last line read, counted as the first-error state counts it; the
// stream's position and state are kept.
int CurrentLine(std::istream& in) {
    const std::ios::iostate state = in.rdstate();
    in.clear();
    const std::streampos end = in.tellg();
    int line = 0;
    if (end > 0) {
        in.seekg(0);
        for (;;) {
            const std::streampos at = in.tellg();
            if (at < 0 || at >= end) break;
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            ++line;
        }
        in.clear();
        in.seekg(end);
    }
    in.clear(state);
    return line;
}

// A path that no longer exists costs only its own entry, so that the next "Save as Default" does
// not lose every setting after it. The warning is the one a reading error 26 would give.
void SkipEntry(std::istream& in) {
    if (!gSkipped.empty()) return;
    gSkipped = FormatSettingsError(kDirectoryMissing, CurrentLine(in), nullptr);
}

int Record(std::istream& in, int code) {
    return SetReadError(in, code, nullptr);
}

// "  " key blanks: the start of a keyed line.
std::ostream& Key(std::ostream& out, const char* key, int blanks) {
    out << "  " << key;
    for (int i = 0; i < blanks; ++i)
        out.put(' ');
    return out;
}

std::ostream& Pair(std::ostream& out, int a, int b) {
    return out << '(' << a << ',' << b << ')';
}

// HOME and the file name, or nothing when HOME is unset or empty.
std::optional<std::string> SettingsPath(const char* name) {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return std::nullopt;
    std::string path = home;
    if (path.back() != '/') path += '/';
    return path + name;
}

// Puts the text in place of the file, or makes it (0664 before the umask): the file is replaced
// only by a complete copy, so a full disk, a kill or a second program saving at the same time
// never leaves it cut. False on any failure, the old file as it was.
bool WriteWholeFile(const std::string& path, const std::string& text) {
    SafeFileWriter writer;
    int error = writer.Open(path.c_str(), SafeFileWriter::kAnyFile);
    if (error == 0) {
        writer.Stream().write(text.data(), static_cast<std::streamsize>(text.size()));
        error = writer.Commit();
    }
    if (error != 0) {
        std::cerr << path << ": " << std::strerror(error) << std::endl;
        return false;
    }
    return true;
}

// Shows the skipped entry and the reading error of one file, in the order met.
void ReportProblems(SettingsHost& host, const char* title) {
    if (SettingsSkippedEntry() != nullptr) host.Warn(title, SettingsSkippedEntry());
    if (GetParseError() != kNoError) {
        const std::string text =
            FormatSettingsError(GetParseError(), GetParseErrorLine(), GetParseErrorToken());
        host.Warn(title, text.c_str());
    }
}

} // namespace

const char* GetCompiler() {
    return gCompiler[kCompilerSetting].text;
}

const char* GetCompilerFlags() {
    return gCompiler[kCompilerFlagsSetting].text;
}

const char* GetLoaderFlags() {
    return gCompiler[kLoaderFlagsSetting].text;
}

const char* GetCompilerSettingLabel(int index) {
    if (index < 0 || index >= kCompilerSettingCount) return "";
    return gCompiler[index].label;
}

const char* GetCompilerSetting(int index) {
    if (index < 0 || index >= kCompilerSettingCount) return "";
    return gCompiler[index].text;
}

void SetCompilerSetting(int index, const char* text) {
    if (index < 0 || index >= kCompilerSettingCount) {
        std::cerr << "SetCompilerSetting: no setting " << index << '\n';
        return;
    }
    char* buffer = gCompiler[index].text;
    if (text == nullptr) text = "";
    std::strncpy(buffer, text, kCompilerTextLength);
    buffer[kCompilerTextLength] = '\0';
}

int GetStartupElementWindow() {
    return gStartup.elementWindow;
}

int GetStartupOverviewWindow() {
    return gStartup.overviewWindow;
}

int GetStartupSimulationBox() {
    return gStartup.simulationBox;
}

void GetStartupDimension(int& width, int& height) {
    width = gStartup.width;
    height = gStartup.height;
}

const char* GetStartupLibrary() {
    return gStartup.library ? gStartup.library->c_str() : nullptr;
}

const char* SettingsTextRefusal(const char* text, SettingsTextKind kind) {
    if (text == nullptr) text = "";
    if (std::strpbrk(text, "\n\r") != nullptr) return "The text cannot hold a line break!";
    if (text[0] == ' ') return "The text cannot begin with a blank!";
    if (kind == kCompilerText) return nullptr;
    if (StartsWith(text, kNotDefinedText)) return "The text cannot begin with NOT_DEFINED!";
    if (kind == kFilterText && text[0] == '\0') return "The filter cannot be empty!";
    return nullptr;
}

void SetStartupOptions(int elementWindow, int overviewWindow, int simulationBox, int width,
                       int height, const char* library) {
    gStartup.elementWindow = elementWindow;
    gStartup.overviewWindow = overviewWindow;
    gStartup.simulationBox = simulationBox;
    gStartup.width = width;
    gStartup.height = height;
    if (library != nullptr && library[0] != '\0') {
        gStartup.library = library;
    } else {
        gStartup.library.reset();
    }
}

void InitDirectoriesAndFilters() {
    ResetFileKinds();
}

void ResetSettings() {
    SetCompilerSetting(kCompilerSetting, "gcc");
    SetCompilerSetting(kCompilerFlagsSetting, "");
    SetCompilerSetting(kLoaderFlagsSetting, "");
    gStartup = StartupOptions();
    ResetDefaultTimes();
    InitDirectoriesAndFilters();
}

int WriteSettingsHeader(std::ostream& out) {
    out << kHeaderLines << '\n';
    return FinishWrite(out);
}

int WriteDirectoriesOptions(std::ostream& out) {
    out << "DIRECTORIES {\n";
    for (const KindRow& row : kKindRows) {
        const char* directory = GetDirectory(row.kind);
        Key(out, row.key, kDirectoryKeyWidth - static_cast<int>(std::strlen(row.key)))
            << (directory[0] != '\0' ? directory : kNotDefinedText) << '\n';
    }
    out << "}\n";
    out << "FILTER {\n";
    for (const KindRow& row : kKindRows) {
        const char* filter = GetFilterPattern(row.kind);
        Key(out, row.key, kDirectoryKeyWidth - static_cast<int>(std::strlen(row.key)))
            << (filter[0] != '\0' ? filter : kNotDefinedText) << '\n';
    }
    out << "}\n";
    return FinishWrite(out);
}

int ReadDirectoriesOptions(std::istream& in) {
    char* cursor = EmptyCursor();
    int result;
    if ((result = ExpectKeywords(in, cursor, {"DIRECTORIES", "{"})) != kNoError) return result;
    for (const KindRow& row : kKindRows) {
        if ((result = ExpectKeyword(in, cursor, row.key)) != kNoError) return result;
        const std::string directory = ReadRestOfLine(cursor);
        if (StartsWith(directory, kNotDefinedText)) continue;
        if (IsReadableDirectory(directory.c_str())) {
            SetDirectory(directory.c_str(), row.kind);
        } else {
            SkipEntry(in);
        }
    }
    if ((result = ExpectKeyword(in, cursor, "}")) != kNoError) return result;
    if ((result = ExpectKeywords(in, cursor, {"FILTER", "{"})) != kNoError) return result;
    for (const KindRow& row : kKindRows) {
        if ((result = ExpectKeyword(in, cursor, row.key)) != kNoError) return result;
        const std::string filter = ReadRestOfLine(cursor);
        // An empty filter is written as NOT_DEFINED, so it is read as that too.
        if (!filter.empty() && !StartsWith(filter, kNotDefinedText)) {
            SetFilterPattern(filter.c_str(), row.kind);
        }
    }
    return ExpectKeyword(in, cursor, "}");
}

int WriteGridOptions(std::ostream& out, const GridOptions& grid) {
    out << "GRID {\n";
    Key(out, "VISIBLE:", 3) << OnOffText(grid.visible) << '\n';
    Pair(Key(out, "DIMENSION:", 1), grid.x, grid.y) << '\n';
    Key(out, "RASTERIZE:", 1) << OnOffText(grid.rasterize) << '\n';
    out << "}\n";
    return FinishWrite(out);
}

int ReadGridOptions(std::istream& in, GridOptions& grid) {
    char* cursor = EmptyCursor();
    int visible = 0;
    int rasterize = 0;
    int32_t x = 0;
    int32_t y = 0;
    int result;
    if ((result = ExpectKeywords(in, cursor, {"GRID", "{"})) != kNoError) return result;
    if ((result = ExpectKeyword(in, cursor, "VISIBLE:")) != kNoError) return result;
    if ((result = ParseOnOff(cursor, visible)) != kNoError) return Record(in, result);
    if ((result = ExpectKeyword(in, cursor, "DIMENSION:")) != kNoError) return result;
    if ((result = ParsePair(cursor, x, y)) != kNoError) return Record(in, result);
    if ((result = ExpectKeyword(in, cursor, "RASTERIZE:")) != kNoError) return result;
    if ((result = ParseOnOff(cursor, rasterize)) != kNoError) return Record(in, result);
    if ((result = ExpectKeyword(in, cursor, "}")) != kNoError) return result;
    grid.visible = visible;
    grid.rasterize = rasterize;
    // A step the working-area dialog would refuse keeps the current one.
    if (InRange(x, kMinGridStep, kMaxGridStep)) grid.x = x;
    if (InRange(y, kMinGridStep, kMaxGridStep)) grid.y = y;
    return kNoError;
}

int WriteStartupOptions(std::ostream& out) {
    out << "STARTUP {\n";
    Pair(Key(out, "DIMENSION:", 7), gStartup.width, gStartup.height) << '\n';
    Key(out, "ELEMENT_WINDOW:", 2) << OnOffText(gStartup.elementWindow) << '\n';
    Key(out, "OVERVIEW_WINDOW:", 1) << OnOffText(gStartup.overviewWindow) << '\n';
    Key(out, "SIMULATION_BOX:", 2) << OnOffText(gStartup.simulationBox) << '\n';
    const char* library = GetStartupLibrary();
    Key(out, "LIBRARY:", 9) << (library != nullptr ? library : kNotDefinedText) << '\n';
    out << "}\n";
    return FinishWrite(out);
}

int ReadStartupOptions(std::istream& in) {
    char* cursor = EmptyCursor();
    int32_t width = 0;
    int32_t height = 0;
    int elementWindow = 0;
    int overviewWindow = 0;
    int simulationBox = 0;
    int result;
    if ((result = ExpectKeywords(in, cursor, {"STARTUP", "{"})) != kNoError) return result;
    if ((result = ExpectKeyword(in, cursor, "DIMENSION:")) != kNoError) return result;
    if ((result = ParsePair(cursor, width, height)) != kNoError) return Record(in, result);
    if ((result = ExpectKeyword(in, cursor, "ELEMENT_WINDOW:")) != kNoError) return result;
    if ((result = ParseOnOff(cursor, elementWindow)) != kNoError) return Record(in, result);
    if ((result = ExpectKeyword(in, cursor, "OVERVIEW_WINDOW:")) != kNoError) return result;
    if ((result = ParseOnOff(cursor, overviewWindow)) != kNoError) return Record(in, result);
    if ((result = ExpectKeyword(in, cursor, "SIMULATION_BOX:")) != kNoError) return result;
    if ((result = ParseOnOff(cursor, simulationBox)) != kNoError) return Record(in, result);
    if ((result = ExpectKeyword(in, cursor, "LIBRARY:")) != kNoError) return result;
    std::string library = ReadRestOfLine(cursor);
    if (StartsWith(library, kNotDefinedText)) {
        library.clear();
    } else if (!IsReadableFile(library.c_str())) {
        SkipEntry(in);
        library.clear();
    }
    if ((result = ExpectKeyword(in, cursor, "}")) != kNoError) return result;
    // A size the start-up dialog would refuse keeps the default.
    if (!InRange(width, kMinStartupDimension, kMaxStartupDimension)) {
        width = kDefaultStartupDimension;
    }
    if (!InRange(height, kMinStartupDimension, kMaxStartupDimension)) {
        height = kDefaultStartupDimension;
    }
    SetStartupOptions(elementWindow, overviewWindow, simulationBox, width, height, library.c_str());
    return kNoError;
}

int WriteCompilerSettings(std::ostream& out) {
    out << "COMPILER {\n";
    for (const CompilerSettingRecord& setting : gCompiler) {
        Key(out, setting.key, setting.blanks) << setting.text << '\n';
    }
    out << "}\n";
    return FinishWrite(out);
}

int ReadCompilerSettings(std::istream& in) {
    char* cursor = EmptyCursor();
    int result;
    if ((result = ExpectKeywords(in, cursor, {"COMPILER", "{"})) != kNoError) return result;
    for (int i = 0; i < kCompilerSettingCount; ++i) {
        if ((result = ExpectKeyword(in, cursor, gCompiler[i].key)) != kNoError) return result;
        const std::string text = ReadRestOfLine(cursor);
        SetCompilerSetting(i, text.c_str());
    }
    return ExpectKeyword(in, cursor, "}");
}

int WriteDefaultTimes(std::ostream& out) {
    out << "DEFAULT_TIMES {\n";
    for (const TimeRow& row : kTimeRows) {
        Key(out, row.key, row.blanks) << static_cast<int32_t>(GetDefaultTime(row.type)) << '\n';
    }
    out << "}\n";
    return FinishWrite(out);
}

int ReadDefaultTimes(std::istream& in) {
    char* cursor = EmptyCursor();
    int result;
    if ((result = ExpectKeywords(in, cursor, {"DEFAULT_TIMES", "{"})) != kNoError) return result;
    for (const TimeRow& row : kTimeRows) {
        if ((result = ExpectKeyword(in, cursor, row.key)) != kNoError) return result;
        uint32_t time = 0;
        if ((result = ParseUnsigned(cursor, time)) != kNoError) return Record(in, result);
        // NOTE: "-1" reads as 4294967295 and is refused here with the other large values.
        if (time > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
            return Record(in, kNumberOutOfRange);
        }
        SetDefaultTime(row.type, time);
    }
    return kNoError;
}

std::string FormatSettingsError(int code, int line, const char* token) {
    std::string text;
    if (line != 0) text += "Line: " + std::to_string(line) + "\n";
    if (token != nullptr) text += std::string("'") + token + "' ";
    return text + ParseErrorMessage(code);
}

const char* SettingsSkippedEntry() {
    return gSkipped.empty() ? nullptr : gSkipped.c_str();
}

void ClearSettingsSkippedEntry() {
    gSkipped.clear();
}

void LoadOptions(SettingsHost& host) {
    InitDirectoriesAndFilters();
    const std::optional<std::string> optionsPath = SettingsPath(kOptionsFile);
    const std::optional<std::string> timesPath = SettingsPath(kTimesFile);
    if (!optionsPath || !timesPath) {
        host.Warn("Error", "Can't detect your home directory!");
        return;
    }

    ClearParseError();
    ClearSettingsSkippedEntry();
    // Only a regular file is opened: a FIFO in its place would block the start for ever.
    std::ifstream options;
    if (IsReadableFile(optionsPath->c_str())) options.open(*optionsPath);
    if (options.is_open()) {
        int result = ReadDirectoriesOptions(options);
        if (result == kNoError) {
            GridOptions grid;
            host.GetGridOptions(grid);
            result = ReadGridOptions(options, grid);
            if (result == kNoError) host.SetGridOptions(grid);
        }
        if (result == kNoError) result = ReadStartupOptions(options);
        if (result == kNoError) ReadCompilerSettings(options);
        ReportProblems(host, kOptionsFile);
    }

    ClearParseError();
    ClearSettingsSkippedEntry();
    std::ifstream times;
    if (IsReadableFile(timesPath->c_str())) times.open(*timesPath);
    if (times.is_open()) {
        ReadDefaultTimes(times);
        ReportProblems(host, kTimesFile);
    }
    ClearSettingsSkippedEntry();
}

void SaveOptions(SettingsHost& host) {
    const std::optional<std::string> optionsPath = SettingsPath(kOptionsFile);
    const std::optional<std::string> timesPath = SettingsPath(kTimesFile);
    if (!optionsPath || !timesPath) {
        host.Warn("Error", "Can't detect your home directory!");
        return;
    }

    ClearParseError();
    std::ostringstream options;
    GridOptions grid;
    host.GetGridOptions(grid);
    int result = WriteSettingsHeader(options);
    if (result == kNoError) result = WriteDirectoriesOptions(options);
    if (result == kNoError) result = WriteGridOptions(options, grid);
    if (result == kNoError) result = WriteStartupOptions(options);
    if (result == kNoError) result = WriteCompilerSettings(options);
    if (result == kNoError) options << '\n';
    if (!WriteWholeFile(*optionsPath, options.str()) || result != kNoError) {
        host.Warn("Error", "Can't save the options!");
    }

    ClearParseError();
    std::ostringstream times;
    result = WriteSettingsHeader(times);
    if (result == kNoError) result = WriteDefaultTimes(times);
    if (result == kNoError) times << '\n';
    if (!WriteWholeFile(*timesPath, times.str()) || result != kNoError) {
        host.Warn("Error", "Can't save the default times!");
    }
}
