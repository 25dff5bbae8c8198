#include "shell/FileSelection.h"

#include <Xm/FileSB.h>
#include <Xm/Xm.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>

#include "model/elements/BusyScope.h"
#include "model/format/LoadSaveObject.h"
#include "model/format/ParseError.h"
#include "shell/ArchitectureWindow.h"
#include "shell/MainWindow.h"
#include "shell/SafeFileWriter.h"
#include "shell/Startup.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/WidgetHelpers.h"

namespace {

const char* const kCannotOpen = "Cannot open file!";

enum DialogMode : int {
    kLoadMode = 0,
    kSaveMode = 1,
};

Widget fileDialog = nullptr;
// The object the dialog serves and the argument handed on to its Read or Write.
LoadSaveObject* dialogObject = nullptr;
FileArgument* dialogArgument = nullptr;
FileMessageFunction messageFunction = MessageDialog;

// A file object that goes takes the dialog down with it when the dialog serves it, so that the
// dialog's OK never reaches a destroyed object.
class DialogCloser : public FileDialogCloser {
public:
    void CloseFileDialog(const LoadSaveObject& destroyed) override {
        if (&destroyed != dialogObject) return;
        dialogObject = nullptr;
        dialogArgument = nullptr;
        if (fileDialog != nullptr) {
            XtUnmanageChild(fileDialog);
            XtPopdown(XtParent(fileDialog));
        }
    }
};

DialogCloser dialogCloser;

int Message(Widget parent, MessageKind kind, const char* title, const char* text) {
    if (messageFunction == MessageDialog && parent == nullptr) {
        std::cerr << title << ": " << text << std::endl;
        return kind == kMessageYesNo ? kResultNo : kResultOk;
    }
    return messageFunction(parent, kind, title, text);
}

// The boxes "over the dialog" appear over it while it is up, else over the top-level shell (a
// file named on the command line, a save without the dialog).
Widget DialogParent() {
    if (fileDialog != nullptr && XtIsManaged(fileDialog)) return fileDialog;
    return GetTopLevelShell();
}

void PopdownDialog() {
    if (fileDialog == nullptr) return;
    XtUnmanageChild(fileDialog);
    XtPopdown(XtParent(fileDialog));
}

void UpdateDisplay() {
    if (GetTopLevelShell() != nullptr) XmUpdateDisplay(GetTopLevelShell());
}

bool IsMainWindow(const LoadSaveObject& object) {
    MainWindow* main = GetMainWindow();
    return main != nullptr && static_cast<LoadSaveObject*>(main) == &object;
}

// The windows whose file is the object itself; a macro window's file is an element file, whose
// saving does not make the architecture around it unmodified.
ArchitectureWindow* FileWindow(LoadSaveObject& object) {
    ArchitectureWindow* window = dynamic_cast<ArchitectureWindow*>(&object);
    if (window == nullptr || window->GetWindowKind() == kMacroWindowKind) return nullptr;
    return window;
}

void TakeFileName(LoadSaveObject& object, const char* path) {
    const std::string name = path; // path may be the object's own name
    object.SetFileName(name.c_str());
    if (IsMainWindow(object)) GetMainWindow()->SetTitle(name.c_str());
}

// Writes the object into the opened writer and puts it in place. Any failure records 1 "IO
// Error" (unless the writer recorded another error first) and keeps the old file and the
// modified flag; a forced save reports nothing. 0 or 1.
int WriteAndCommit(LoadSaveObject& object, SafeFileWriter& writer, FileArgument* source,
                   int force) {
    int result = 0;
    {
        BusyScope busy("SAVING");
        const int written = object.Write(writer.Stream(), 0, source);
        if (written != 0 || GetParseError() != 0) {
            SetWriteError(writer.Stream(), written != 0 ? written : kIoError, nullptr);
            result = 1;
        } else if (writer.Commit() != 0) {
            SetWriteError(writer.Stream(), kIoError, nullptr);
            result = 1;
        }
        // The partial copy goes before the box: it may fill the disk, and a signal while the box
        // is up would leave it for good.
        if (result != 0) writer.Discard();
        if (result != 0 && !force) ShowParseError();
    }
    if (result == 0) {
        if (ArchitectureWindow* window = FileWindow(object)) window->ClearModified();
    }
    return result;
}

// The path itself when it is absolute, else joined to the working folder; "" for none.
std::string AbsoluteFileName(const char* path) {
    if (path == nullptr) return "";
    if (path[0] == '/') return path;
    char* folder = getcwd(nullptr, 0);
    if (folder == nullptr) {
        perror("getcwd");
        return path;
    }
    const std::string absolute = ResolveDialogPath(folder, path);
    free(folder);
    return absolute;
}

void ShowFileDialog(LoadSaveObject& object, FileKind kind, FileArgument* argument,
                    DialogMode mode) {
    if (fileDialog == nullptr) {
        std::cerr << "ShowFileDialog: no file dialog" << std::endl;
        return;
    }
    // A name given relative to the working folder (the command line) is offered absolute: the
    // dialog joins a relative selection to its own directory, which would name another file.
    const std::string current = AbsoluteFileName(object.GetFileName());
    const char* currentName = object.GetFileName() != nullptr ? current.c_str() : nullptr;
    const std::string mask = MakeDirMask(kind, currentName);
    XtVaSetValues(XtParent(fileDialog), XmNtitle, mode == kLoadMode ? "Open" : "Save As", nullptr);
    {
        OwnedXmString maskString(mask.c_str());
        XmFileSelectionDoSearch(fileDialog, maskString.Get());
    }
    dialogObject = &object;
    dialogArgument = argument;
    XtVaSetValues(fileDialog, XmNuserData, reinterpret_cast<XtPointer>(static_cast<intptr_t>(mode)),
                  nullptr);
    if (currentName != nullptr) {
        OwnedXmString path(currentName);
        XtVaSetValues(fileDialog, XmNdirSpec, path.Get(), nullptr);
    }
    // Managed while its shell is down (the shell does not pop itself up for it): the shell takes
    // the box's laid-out size and its place over the main window before a window manager sees it,
    // and the popup holds the exclusive grab.
    Widget shell = XtParent(fileDialog);
    XtManageChild(fileDialog);
    if (!XtIsRealized(shell)) XtRealizeWidget(shell);
    PlaceOverParent(shell);
    XtPopup(shell, XtGrabExclusive);
}

// The text of a compound string; false when it cannot be converted.
bool StringText(XmString string, std::string& text) {
    if (string == nullptr) return false;
    if (XmStringEmpty(string)) {
        text.clear();
        return true;
    }
    char* converted = static_cast<char*>(
        XmStringUnparse(string, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
    if (converted == nullptr) return false;
    text = converted;
    XtFree(converted);
    return true;
}

bool IsRegularFile(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

void SetFileMessageFunction(FileMessageFunction function) {
    messageFunction = function != nullptr ? function : MessageDialog;
}

void CreateFileDialog() {
    Widget topLevel = GetTopLevelShell();
    if (topLevel == nullptr) {
        std::cerr << "CreateFileDialog: no top-level shell" << std::endl;
        return;
    }
    fileDialog = XmCreateFileSelectionDialog(topLevel, const_cast<char*>("LoadSaveFB"), nullptr, 0);
    XtAddCallback(fileDialog, XmNokCallback, FileDialogOkCallback, nullptr);
    XtAddCallback(fileDialog, XmNcancelCallback, FileDialogCancelCallback, nullptr);
    XtUnmanageChild(XmFileSelectionBoxGetChild(fileDialog, XmDIALOG_HELP_BUTTON));
    // Shown only by ShowFileDialog, which places it first: managing the box neither pops the
    // shell up nor centres it by the main window's x and y resources, which a window manager
    // leaves behind.
    XtVaSetValues(XtParent(fileDialog), XmNmappedWhenManaged, False, nullptr);
    XtVaSetValues(fileDialog, XmNdefaultPosition, False, nullptr);
    SetFileDialogCloser(&dialogCloser);
}

Widget GetFileDialog() {
    return fileDialog;
}

void OpenDialog(LoadSaveObject& object, FileKind kind, FileArgument* argument) {
    ShowFileDialog(object, kind, argument, kLoadMode);
}

void SaveAsDialog(LoadSaveObject& object, FileKind kind, FileArgument* argument) {
    ShowFileDialog(object, kind, argument, kSaveMode);
}

int Save(LoadSaveObject& object, FileKind kind, FileArgument* argument) {
    if (object.GetFileName() != nullptr) return SaveFile(object, object.GetFileName());
    SaveAsDialog(object, kind, argument);
    return 1;
}

int LoadFile(LoadSaveObject& object, const char* path, FileArgument* argument) {
    ClearParseError();
    // A directory opens for reading too: anything but a regular file is refused before the
    // object may clear itself.
    // Large reads: an architecture of 100 000 elements is some 75 MB, read in 8 KB it would cost
    // a system call per hundred lines. The buffer outlives the stream.
    const size_t kReadBufferSize = 256 * 1024;
    std::unique_ptr<char[]> readBuffer(new (std::nothrow) char[kReadBufferSize]);
    std::ifstream in;
    if (readBuffer != nullptr) {
        in.rdbuf()->pubsetbuf(readBuffer.get(), static_cast<std::streamsize>(kReadBufferSize));
    }
    if (path != nullptr && IsRegularFile(path)) in.open(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        Message(DialogParent(), kMessageWarning, "Error", kCannotOpen);
        return 1;
    }
    PopdownDialog();
    UpdateDisplay();
    int result = 0;
    // Only a window whose file is the object itself may refuse; a macro is read as an element.
    ArchitectureWindow* window = FileWindow(object);
    {
        BusyScope busy("LOADING");
        const int read = object.Read(in, argument);
        // A window that may not be cleared read nothing; an error recorded meanwhile belongs to
        // the save its question asked for, which has reported it already.
        if (window != nullptr && !window->DidRead()) {
            result = 1;
        } else if (read != 0 || GetParseError() != 0) {
            if (GetParseError() == 0) SetReadError(in, read, nullptr);
            ShowParseError();
            result = 1;
        }
    }
    in.close();
    if (result != 0) return 1;
    TakeFileName(object, path);
    return 0;
}

int SaveFile(LoadSaveObject& object, const char* path) {
    ClearParseError();
    SafeFileWriter writer;
    if (writer.Open(path, SafeFileWriter::kExistingFile) != 0) {
        Message(GetTopLevelShell(), kMessageWarning, "Error", kCannotOpen);
        return 1;
    }
    return WriteAndCommit(object, writer, nullptr, 0);
}

int SaveFileAs(LoadSaveObject& object, const char* path, FileArgument* argument, int force) {
    ClearParseError();
    struct stat status;
    const bool exists = path != nullptr && stat(path, &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        if (!force) Message(DialogParent(), kMessageWarning, "Error", kCannotOpen);
        return 1;
    }
    if (exists && !force &&
        Message(DialogParent(), kMessageYesNo, "Error", "File already exists!\nOverwrite?") !=
            kResultYes) {
        return 1;
    }
    SafeFileWriter writer;
    if (writer.Open(path, exists ? SafeFileWriter::kExistingFile : SafeFileWriter::kNewFile) != 0) {
        if (!force) Message(DialogParent(), kMessageWarning, "Error", kCannotOpen);
        return 1;
    }
    PopdownDialog();
    UpdateDisplay();
    if (WriteAndCommit(object, writer, argument, force) != 0) return 1;
    TakeFileName(object, path);
    return 0;
}

std::string ComposeParseError(int code, int line, const char* token) {
    std::string text;
    if (line != 0) text += "Line: " + std::to_string(line) + "\n";
    if (token != nullptr) text += std::string("'") + token + "' ";
    text += ParseErrorMessage(code);
    return text;
}

void ShowParseError() {
    const std::string text =
        ComposeParseError(GetParseError(), GetParseErrorLine(), GetParseErrorToken());
    Message(DialogParent(), kMessageWarning, "Error", text.c_str());
}

std::string ResolveDialogPath(const char* directory, const char* value) {
    if (value[0] == '/' || directory == nullptr) return value;
    std::string path = directory;
    if (path.empty() || path.back() != '/') path += '/';
    return path + value;
}

void FileDialogOkCallback(Widget widget, XtPointer, XtPointer call) {
    const XmFileSelectionBoxCallbackStruct* cbs =
        static_cast<XmFileSelectionBoxCallbackStruct*>(call);
    XtPointer userData = nullptr;
    XtVaGetValues(widget, XmNuserData, &userData, nullptr);
    const int mode = static_cast<int>(reinterpret_cast<intptr_t>(userData));
    std::string value;
    if (cbs == nullptr || !StringText(cbs->value, value)) return;
    if (value.empty() || value[0] != '/') {
        XmString directory = nullptr;
        XtVaGetValues(widget, XmNdirectory, &directory, nullptr);
        OwnedXmString owned(directory);
        std::string directoryText;
        if (StringText(directory, directoryText)) {
            value = ResolveDialogPath(directoryText.c_str(), value.c_str());
        }
    }
    if (dialogObject == nullptr) return;
    if (mode == kLoadMode) {
        LoadFile(*dialogObject, value.c_str(), dialogArgument);
    } else {
        SaveFileAs(*dialogObject, value.c_str(), dialogArgument, 0);
    }
}

void FileDialogCancelCallback(Widget, XtPointer, XtPointer) {
    PopdownDialog();
}
