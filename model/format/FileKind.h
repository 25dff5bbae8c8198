// The fourteen kinds of file the file selection dialog knows, with the directory and the filter
// pattern it uses for each, and the directory mask it is opened with.
#pragma once

#include <string>

// An element type's row names the kind of its element files.
enum FileKind : int {
    kNoFileKind = -1, // a type without element files
    kMaskFile = 0,
    kRuleFile = 1,
    kPermFile = 2,
    kLogicFile = 3,
    kSSeedFile = 4,
    kSplitFile = 5,
    kJoinFile = 6,
    kInputFile = 7,
    kOutputFile = 8,
    kCElemFile = 9,
    kMacroFile = 10,
    kArchitectureFile = 11,
    kLibraryFile = 12,
    kMatrixFile = 13,
};

constexpr int kFileKindCount = 14;

// The order in which the directories dialog and the settings file list the kinds.
extern const FileKind kFileKindListOrder[kFileKindCount];

const char* DefaultFilterPattern(FileKind kind); // "*.mask" .. "*.matrix"
const char* FileKindLabel(FileKind kind);        // "Mask: " .. "Matrix: " (directories dialog)

// Every filter to its default and every directory to "" (the current directory).
void ResetFileKinds();

// Replace the kind's entry by a copy of the text; null clears it. Kinds outside 0..13 are ignored.
void SetDirectory(const char* text, FileKind kind);
void SetFilterPattern(const char* text, FileKind kind);

// The kind's current text (not a copy); "" for a kind outside 0..13.
const char* GetDirectory(FileKind kind);
const char* GetFilterPattern(FileKind kind);

// The mask the file dialog searches with: the folder of the current file name when it has a '/'
// after its first character, else the kind's directory (with a '/' added when it lacks one),
// followed by the kind's filter pattern.
std::string MakeDirMask(FileKind kind, const char* currentFileName);
