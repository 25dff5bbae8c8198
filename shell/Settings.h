#pragma once

// The user's defaults, kept in two text files of the home directory: ".quiran" (the directory and
// filter of every file kind, the working-area grid of the main window, the start-up options and
// the compiler settings) and ".quiran_times" (the default TIME of every element type). Both are
// read once while the main window is built and written together by "Save as Default".
//
// This file holds the settings that have no other home (start-up options and compiler settings;
// the default times live with the element types, the directories and filters with the file
// kinds), the block readers and writers of both files, and the loader and saver around them.
// Everything here works without a display: what loading and saving need from the windows (the
// main window's grid, the warning boxes) goes through SettingsHost.

#include <iosfwd>
#include <string>

class MainWindow;

// The grid options of an architecture window: grid visible, grid step in pixels, snap to grid.
struct GridOptions {
    int visible;
    int x;
    int y;
    int rasterize;
};

// The grid steps the "Working Area - Options" dialog accepts, in pixels.
constexpr int kMinGridStep = 2;
constexpr int kMaxGridStep = 100;

// The start-up plane sizes the "Startup - Options" dialog accepts, in cells.
constexpr int kMinStartupDimension = 1;
constexpr int kMaxStartupDimension = 65536;
constexpr int kDefaultStartupDimension = 16;

// Where loading and saving meet the windows.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    // The grid options of the main window; SetGridOptions is its grid setter (no redraw).
    virtual void GetGridOptions(GridOptions& grid) = 0;
    virtual void SetGridOptions(const GridOptions& grid) = 0;
    // A warning box over the top-level shell.
    virtual void Warn(const char* title, const char* text) = 0;
};

// The compiler settings, in the row order of the "Compiler Settings" dialog. Each is a text of at
// most kCompilerTextLength characters.
enum CompilerSettingIndex : int {
    kCompilerSetting = 0,      // "Compiler:", default "gcc"
    kCompilerFlagsSetting = 1, // "Compiler Options:", default empty
    kLoaderFlagsSetting = 2,   // "Loader Options:", default empty
};
constexpr int kCompilerSettingCount = 3;
constexpr int kCompilerTextLength = 99;

const char* GetCompiler();
const char* GetCompilerFlags();
const char* GetLoaderFlags();
// The setting's label ("Compiler:", ...) and text; "" for an index outside 0..2.
const char* GetCompilerSettingLabel(int index);
const char* GetCompilerSetting(int index);
// Stores the first kCompilerTextLength characters of text (null stores an empty text).
void SetCompilerSetting(int index, const char* text);

// The start-up options: show the element list, the overview (read and saved, not acted on) and
// the simulation box at start-up, the default plane size of new elements and architectures, and
// the library loaded at start-up (null for none).
int GetStartupElementWindow();
int GetStartupOverviewWindow();
int GetStartupSimulationBox();
void GetStartupDimension(int& width, int& height);
const char* GetStartupLibrary();

// What a settings field holds: a path (the start-up library, a directory), a file filter, or a
// compiler text.
enum SettingsTextKind { kPathText, kFilterText, kCompilerText };
// The settings file gives a text back after its key with the blanks before it skipped, a line
// per text, and "NOT_DEFINED" (or an empty filter) as no value. The message with which a field
// refuses a text the file could not give back as typed; null for a text that comes back whole.
const char* SettingsTextRefusal(const char* text, SettingsTextKind kind);
// Sets all six; the path is copied, and null or an empty text means no library.
void SetStartupOptions(int elementWindow, int overviewWindow, int simulationBox, int width,
                       int height, const char* library);

// Every file kind's filter to its default, every directory empty.
void InitDirectoriesAndFilters();

// Every setting of this file and the default times back to the built-in values (the state before
// LoadOptions).
void ResetSettings();

// The block readers and writers. Each returns 0 or the code recorded in the first-error state; a
// writer whose stream has failed records 1 "IO Error".
//
// A directory or start-up library that no longer exists is not a reading error: that one entry
// keeps its value, reading goes on, and LoadOptions warns about the first such entry of the file
// (SettingsSkippedEntry).
int WriteDirectoriesOptions(std::ostream& out); // the DIRECTORIES and FILTER blocks
int ReadDirectoriesOptions(std::istream& in);
int WriteGridOptions(std::ostream& out, const GridOptions& grid);
// Updates grid only when the whole block has been read; a step outside kMinGridStep..
// kMaxGridStep leaves that step as it was.
int ReadGridOptions(std::istream& in, GridOptions& grid);
int WriteStartupOptions(std::ostream& out);
int ReadStartupOptions(std::istream& in);
int WriteCompilerSettings(std::ostream& out);
int ReadCompilerSettings(std::istream& in);
int WriteDefaultTimes(std::ostream& out);
int ReadDefaultTimes(std::istream& in);

// The three comment lines and the empty line that both files begin with.
int WriteSettingsHeader(std::ostream& out);

// The warning text of a reading error: "Line: <n>\n" when there is a line, "'<token>' " when there
// is a token, then the message of the code.
std::string FormatSettingsError(int code, int line, const char* token);

// The warning about the first entry the readers skipped since the last call of
// ClearSettingsSkippedEntry, or null when none was skipped.
const char* SettingsSkippedEntry();
void ClearSettingsSkippedEntry();

// Reads ".quiran" and ".quiran_times" from HOME (an empty HOME counts as unset); the grid goes to
// the host. Every problem is shown as a warning through the host.
void LoadOptions(SettingsHost& host);
// Writes both files into HOME, the grid taken from the host.
void SaveOptions(SettingsHost& host);

// The same for the main window (SettingsMainWindow.cpp): its grid, warnings over the top-level
// shell. LoadOptions is called once from the main window's constructor; SaveOptions is the
// Options menu's "Save as Default" and uses the main window of GetMainWindow.
void LoadOptions(MainWindow* window);
void SaveOptions();
