// The root of everything stored in a file of the common text format (elements, matrices,
// architecture windows): the name of the file the object was last loaded from or saved to, and
// the two operations that read and write the object's block.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

class LoadSaveObject;

// What the caller of a file operation hands on unchanged to the object's Read (as its target) or
// Write (as its source): the data object an element reads into or writes from, or the element
// whose views are refreshed after one of its matrices has been read.
class FileArgument {
public:
    virtual ~FileArgument() = default;
    // Called by a reader that has read data belonging to the argument successfully.
    virtual void RefreshAfterRead() {}
};

// The shell's shared file selection dialog as the model sees it: a file object that is destroyed
// tells it, so that an open dialog never outlives the object it was opened for.
class FileDialogCloser {
public:
    virtual ~FileDialogCloser() = default;
    virtual void CloseFileDialog(const LoadSaveObject& destroyed) = 0;
};

// Installs the closer (null = none, as in the model's tests).
void SetFileDialogCloser(FileDialogCloser* closer);

class LoadSaveObject {
public:
    LoadSaveObject() = default;
    // The file name belongs to the object, not to its contents: a copy starts without one, and an
    // assignment keeps the target's.
    LoadSaveObject(const LoadSaveObject&) noexcept {}
    LoadSaveObject& operator=(const LoadSaveObject&) noexcept { return *this; }
    virtual ~LoadSaveObject();

    // Reads the object's block; 0 or the code recorded in the first-error state.
    virtual int Read(std::istream& in, FileArgument* target) = 0;
    // Writes the object's block at the given indentation level; 0 or the recorded code.
    virtual int Write(std::ostream& out, int level, FileArgument* source) = 0;

    // The file name, or null until the object has been loaded or saved under a name.
    const char* GetFileName() const { return fileName ? fileName->c_str() : nullptr; }
    // Stores a copy of the name; null forgets it.
    void SetFileName(const char* name);

private:
    // Held by pointer: every plane and element is a LoadSaveObject and most never get a name, so
    // the base stays one word and the fields a simulation step reads stay close to the object's
    // start.
    std::unique_ptr<std::string> fileName;
};

// The three never open the path, so a FIFO or a device can never block the caller; none creates
// anything.
// True if the path names anything the user may read (a directory, a FIFO and a device count).
bool FileExists(const char* path);
// True if the path names a regular file the user may read.
bool IsReadableFile(const char* path);
// True if the path names a directory the user may read.
bool IsReadableDirectory(const char* path);
