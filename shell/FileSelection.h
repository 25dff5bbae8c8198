#pragma once

// The one file selection dialog `LoadSaveFB` that every file of the program goes through, and the
// load and save flow of a file object: open and save-as dialogs per file kind, loading from a
// path, saving to the known path, saving to a chosen path with an overwrite question, and the
// report of the first reading or writing error. The object supplies its own Read and Write; the
// argument is handed on to them unchanged.
//
// Every save writes a new file beside the target and renames it over the target only once the
// whole text is on disk, so that a failed save always leaves the previous file as it was and the
// object still modified. Save (to the known name) never creates a file that is not there.
//
// Each operation returns 0 on success and 1 on any failure or refusal.

#include <X11/Intrinsic.h>

#include <string>

#include "model/elements/MessageKind.h"
#include "model/format/FileKind.h"

class FileArgument;
class LoadSaveObject;

// Creates the dialog over the top-level shell (start-up); its Help button is hidden.
void CreateFileDialog();
// The dialog, null before CreateFileDialog.
Widget GetFileDialog();

// Show the dialog for the kind, titled "Open" or "Save As", searching the folder of the object's
// file (or the kind's directory) with the kind's filter and offering the object's file by its
// absolute path; its OK loads or saves the object.
void OpenDialog(LoadSaveObject& object, FileKind kind, FileArgument* argument);
void SaveAsDialog(LoadSaveObject& object, FileKind kind, FileArgument* argument);
// The same two under the names the menus use.
inline void Open(LoadSaveObject& object, FileKind kind, FileArgument* argument) {
    OpenDialog(object, kind, argument);
}
inline void SaveAs(LoadSaveObject& object, FileKind kind, FileArgument* argument) {
    SaveAsDialog(object, kind, argument);
}

// SaveFile to the known name, or the Save As dialog when the object has none.
int Save(LoadSaveObject& object, FileKind kind, FileArgument* argument);

// Reads the object from a regular file, showing "LOADING"; on success the object (and for the main
// window the title) takes the path as its file name, unless the object is an architecture window
// that refused to be cleared and read nothing (ArchitectureWindow::DidRead).
int LoadFile(LoadSaveObject& object, const char* path, FileArgument* argument);
// Writes the object to an existing file, showing "SAVING"; the file name stays.
int SaveFile(LoadSaveObject& object, const char* path);
// Writes the object to a path, asking before an existing file is replaced unless forced; a forced
// save (crash recovery) asks nothing and shows no box. On success the path is the file name.
int SaveFileAs(LoadSaveObject& object, const char* path, FileArgument* argument, int force);

// The report of the first error: "Line: " and the line and "\n" when there is a line, "'" token
// "' " when there is a token, then the message; shown as a warning box titled "Error".
void ShowParseError();
// The text of that report for an error state.
std::string ComposeParseError(int code, int line, const char* token);

// The dialog's buttons.
void FileDialogOkCallback(Widget widget, XtPointer client, XtPointer call);
void FileDialogCancelCallback(Widget widget, XtPointer client, XtPointer call);

// Where the flow's message boxes go: MessageDialog unless a test installs its own (null
// restores MessageDialog).
using FileMessageFunction = MessageResult (*)(Widget parent, MessageKind kind, const char* title,
                                              const char* text);
void SetFileMessageFunction(FileMessageFunction function);

// The path the dialog's OK acts on: a value that does not begin with '/' is joined to the
// directory, with one '/' between them.
std::string ResolveDialogPath(const char* directory, const char* value);
