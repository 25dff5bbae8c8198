#include "model/format/LoadSaveObject.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

FileDialogCloser* gFileDialogCloser = nullptr;

} // namespace

void SetFileDialogCloser(FileDialogCloser* closer) {
    gFileDialogCloser = closer;
}

LoadSaveObject::~LoadSaveObject() {
    if (gFileDialogCloser) gFileDialogCloser->CloseFileDialog(*this);
}

void LoadSaveObject::SetFileName(const char* name) {
    if (name) {
        fileName = std::make_unique<std::string>(name);
    } else {
        fileName.reset();
    }
}

namespace {

// The file type bits of a path the user may read, 0 when there is none.
mode_t ReadableType(const char* path) {
    struct stat status;
    if (path == nullptr || stat(path, &status) != 0 || access(path, R_OK) != 0) return 0;
    return status.st_mode & S_IFMT;
}

} // namespace

bool FileExists(const char* path) {
    return ReadableType(path) != 0;
}

bool IsReadableFile(const char* path) {
    return ReadableType(path) == S_IFREG;
}

bool IsReadableDirectory(const char* path) {
    return ReadableType(path) == S_IFDIR;
}
