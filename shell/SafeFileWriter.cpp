#include "shell/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The directory part of a path, with its '/' ("" for a bare name).
std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0664 & ~mask;
}

// Renames without replacing: fails with EEXIST when the target has appeared meanwhile.
int RenameNoReplace(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without that flag: a hard link fails in the same way.
    if (link(from, to) != 0) return errno;
    unlink(from);
    return 0;
}

} // namespace

bool SafeFileWriter::DescriptorBuffer::WriteOut(const char* data, size_t count) {
    while (count > 0) {
        const ssize_t n = write(fd, data, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        data += n;
        count -= static_cast<size_t>(n);
        written += n;
    }
    if (written - writtenBack >= kWritebackStep) {
        // Only a start: a failure shows in the sync at the end.
        sync_file_range(fd, writtenBack, written - writtenBack, SYNC_FILE_RANGE_WRITE);
        writtenBack = written;
    }
    return true;
}

bool SafeFileWriter::DescriptorBuffer::Drain() {
    if (error != 0 || fd < 0) {
        if (error == 0) error = EBADF;
        return false;
    }
    const bool ok = WriteOut(buffer, used);
    used = 0;
    return ok;
}

SafeFileWriter::DescriptorBuffer::int_type SafeFileWriter::DescriptorBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return Drain() ? traits_type::not_eof(c) : traits_type::eof();
    }
    if (used == kSize && !Drain()) return traits_type::eof();
    buffer[used++] = traits_type::to_char_type(c);
    return c;
}

std::streamsize SafeFileWriter::DescriptorBuffer::xsputn(const char* text, std::streamsize count) {
    std::streamsize done = 0;
    while (done < count) {
        if (used == kSize && !Drain()) return done;
        size_t chunk = kSize - used;
        if (static_cast<std::streamsize>(chunk) > count - done) {
            chunk = static_cast<size_t>(count - done);
        }
        std::memcpy(buffer + used, text + done, chunk);
        used += chunk;
        done += static_cast<std::streamsize>(chunk);
    }
    return done;
}

int SafeFileWriter::DescriptorBuffer::sync() {
    return Drain() ? 0 : -1;
}

SafeFileWriter::SafeFileWriter() : stream(&buffer), target(kNewFile), fd(-1) {}

SafeFileWriter::~SafeFileWriter() {
    Discard();
}

void SafeFileWriter::Discard() {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
    if (!tempPath.empty()) {
        unlink(tempPath.c_str());
        tempPath.clear();
    }
}

int SafeFileWriter::Open(const char* path, Target kind) {
    Discard();
    pendingError = 0;
    if (path == nullptr || *path == '\0') return ENOENT;
    target = kind;
    targetPath = path;

    struct stat status;
    mode_t mode = 0;
    // A file system mounted read-only is no fault of the target: it is there and would be written
    // but for the disk, like a full one.
    int writeError = 0;
    if (stat(path, &status) == 0) {
        if (kind == kNewFile) return EEXIST;
        if (!S_ISREG(status.st_mode)) return EISDIR;
        if (access(path, W_OK) != 0) {
            if (errno != EROFS) return errno;
            writeError = EROFS;
        }
        mode = status.st_mode & 07777;
        // A link is followed: the file it names is replaced, the link stays.
        char resolved[PATH_MAX];
        if (realpath(path, resolved) == nullptr) return errno;
        targetPath = resolved;
    } else {
        if (errno != ENOENT || kind == kExistingFile) return errno;
        // A new file needs the folder it goes into.
        const std::string folder = DirectoryOf(targetPath);
        if (stat(folder.empty() ? "." : folder.c_str(), &status) != 0) return errno;
        if (!S_ISDIR(status.st_mode)) return ENOTDIR;
        mode = NewFileMode();
    }

    stream.clear();
    if (writeError == 0) {
        std::string temp = DirectoryOf(targetPath) + "." + BaseOf(targetPath) + ".XXXXXX";
        fd = mkstemp(&temp[0]);
        if (fd < 0) {
            writeError = errno;
        } else {
            tempPath = temp;
            if (fchmod(fd, mode) != 0) {
                writeError = errno;
                Discard();
            }
        }
    }
    if (writeError != 0) {
        Fail(writeError);
        return 0;
    }
    buffer.SetDescriptor(fd);
    return 0;
}

void SafeFileWriter::Fail(int error) {
    pendingError = error;
    buffer.SetDescriptor(-1);
    stream.setstate(std::ios::badbit);
}

int SafeFileWriter::Commit() {
    if (pendingError != 0) return pendingError;
    if (fd < 0) return EBADF;
    stream.flush();
    int error = buffer.GetError();
    if (error == 0 && !stream.good()) error = EIO;
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (error == 0) {
        const int descriptor = fd;
        fd = -1;
        if (close(descriptor) != 0) error = errno;
    }
    if (error == 0) {
        if (target == kNewFile) {
            error = RenameNoReplace(tempPath.c_str(), targetPath.c_str());
        } else if (rename(tempPath.c_str(), targetPath.c_str()) != 0) {
            error = errno;
        }
    }
    if (error != 0) {
        Discard();
        return error;
    }
    tempPath.clear();
    return 0;
}
