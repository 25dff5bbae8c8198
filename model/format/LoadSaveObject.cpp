#include "model/format/LoadSaveObject.h"

#include <fcntl.h>
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
        fileName = name;
    } else {
        fileName.reset();
    }
}

bool FileExists(const char* path) {
    if (!path) return false;
    const int fd = open(path, O_RDONLY);
    if (fd < 0) return false;
    close(fd);
    return true;
}
