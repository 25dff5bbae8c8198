#pragma once

// What the editor windows need of the application shell, as one small interface that the shell
// implements and installs at start-up: the shell widget that parents an element's windows and
// dialogs (the shell of the architecture window the element lives on), the top-level shell, and
// the shared file selection dialog through which element files and matrices are loaded and saved.
// Tests install their own.

#include <X11/Intrinsic.h>

#include "model/format/FileKind.h"

class AElement;
class FileArgument;
class LoadSaveObject;

class EditorHost {
public:
    virtual ~EditorHost() = default;

    // The shell of the element's owner window (GetShell); the top-level shell when it has none.
    virtual Widget GetElementShell(const AElement& element) = 0;
    virtual Widget GetTopLevel() = 0;
    // The "Open" and "Save As" file dialogs for a file object of the kind; the argument is handed
    // on to the object's Read or Write unchanged.
    virtual void OpenFile(LoadSaveObject& object, FileKind kind, FileArgument* argument) = 0;
    virtual void SaveFileAs(LoadSaveObject& object, FileKind kind, FileArgument* argument) = 0;
};

// The installed host; null until SetEditorHost.
EditorHost* GetEditorHost();
void SetEditorHost(EditorHost* host);

// The parent of the element's windows: the host's answer, or null (with a message on std::cerr)
// when no host is installed.
Widget GetElementParentShell(const AElement& element);
