#pragma once

// Turning a C++ element's code into its client executable: the compiler settings as the model
// sees them, the compile itself with its messages, and the temporary files around it.
//
// The compile writes the client program (client/ClientProgram.h) into a fresh temporary source
// file, runs "<compiler> <flags> <source> -o <executable> -lm <loader flags>  2>&1 && strip
// <executable> 2>&1" through the shell and collects what it prints. The two paths are quoted for
// the shell; the settings are not, so that options split into words as the user wrote them.

#include <string>

// The compiler settings; the shell installs its own (the user's defaults). Each text is used up
// to kCompilerSettingLength characters.
struct CompilerSettingsSource {
    const char* (*compiler)();
    const char* (*compilerFlags)();
    const char* (*loaderFlags)();
};
constexpr int kCompilerSettingLength = 99;

// Installs the source; every pointer null (the default) means "gcc" and no options.
void SetCompilerSettingsSource(const CompilerSettingsSource& source);

// The room for the compiler's messages, in characters; longer output is cut off.
constexpr int kCompilerOutputSize = 5000;

// The longest path of a temporary file, in characters.
constexpr int kTemporaryPathLength = 299;

// Creates a new empty file, readable and writable by the user only, with a unique name in the
// process's private folder (model/simulation/PrivateDirectory.h) that ends in suffix. Returns its
// open descriptor and the name, or -1 and an empty path when none could be made.
int MakeTemporaryFile(char (&path)[kTemporaryPathLength + 1], const char* suffix);

// Compiles the code into the executable, with the main window's status "COMPILING" meanwhile.
// messages then points to the compiler's output (line numbers counted from the code's first
// line) followed by "Success" when it compiled, or to "Error: Cannot create temporary file!" or
// "Error: Cannot start compiler!"; the text is valid until the next compile. 1 compiled, 0 not.
int CompileClient(const char* code, const char* executable, const char*& messages);

// A message line as the user sees it: when the line begins with the source path, the path goes,
// then one ':' and one blank if they follow, and a line number L right after becomes
// L - prologueLines (0 when that is not positive). Other lines stay as they are. In place.
void RenumberCompilerLine(char* line, const char* sourcePath, int prologueLines);

// The compiler's typographic quotes (U+2018, U+2019 as UTF-8) become ' and (U+201C, U+201D) ",
// since the message boxes' fonts show them as stray characters. In place.
void PlainCompilerQuotes(char* text);

// The text in single quotes for the shell, every quote inside escaped.
std::string ShellQuote(const char* text);

// Copies the file's contents and permissions onto to (made or replaced). True on success.
bool CopyFile(const char* from, const char* to);
