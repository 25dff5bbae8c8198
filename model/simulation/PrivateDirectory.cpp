#include "model/simulation/PrivateDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kPrefix[] = "quiran-";
const size_t kPrefixLength = sizeof(kPrefix) - 1;
// The characters mkdtemp puts in place of XXXXXX.
const size_t kUniqueLength = 6;

// Empty while the process has no folder. Plain characters, so that the folder can still be
// removed by destructors of other files' objects at exit, whatever their order.
char directory[4096];

const char* TemporaryFolder() {
    const char* parent = std::getenv("TMPDIR");
    return parent != nullptr && parent[0] != '\0' ? parent : "/tmp";
}

// Removes the files in the folder opened as fd (closed here), then the folder, name in parentFd.
void RemoveFolder(int parentFd, const char* name, int fd) {
    DIR* folder = fdopendir(fd);
    if (folder == nullptr) {
        std::perror("RemovePrivateDirectory: fdopendir");
        close(fd);
        return;
    }
    while (const dirent* entry = readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        if (unlinkat(dirfd(folder), entry->d_name, 0) == -1 && errno != ENOENT) {
            std::perror("RemovePrivateDirectory: unlink");
        }
    }
    closedir(folder);
    if (unlinkat(parentFd, name, AT_REMOVEDIR) == -1 && errno != ENOENT) {
        std::perror("RemovePrivateDirectory: rmdir");
    }
}

// Opens name in parentFd as a folder of this user, never following a link; -1 otherwise.
int OpenOwnFolder(int parentFd, const char* name) {
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd == -1) return -1;
    struct stat info;
    if (fstat(fd, &info) == -1 || info.st_uid != geteuid()) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

const char* PrivateDirectory() {
    if (directory[0] != '\0') return directory;
    char path[sizeof(directory)];
    const int length = std::snprintf(path, sizeof(path), "%s/%s%ld-XXXXXX", TemporaryFolder(),
                                     kPrefix, static_cast<long>(getpid()));
    if (length < 0 || static_cast<size_t>(length) >= sizeof(path)) return nullptr;
    // mkdtemp makes it 0700.
    if (mkdtemp(path) == nullptr) {
        std::perror("PrivateDirectory: mkdtemp");
        return nullptr;
    }
    std::memcpy(directory, path, sizeof(path));
    return directory;
}

void RemovePrivateDirectory() {
    if (directory[0] == '\0') return;
    const int fd = open(directory, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd == -1) {
        if (errno != ENOENT) std::perror("RemovePrivateDirectory: open");
    } else {
        RemoveFolder(AT_FDCWD, directory, fd);
    }
    directory[0] = '\0';
}

int PrivateDirectoryOwner(const char* name) {
    if (std::strncmp(name, kPrefix, kPrefixLength) != 0) return 0;
    const char* p = name + kPrefixLength;
    long pid = 0;
    const char* digits = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (pid > 99999999) return 0;
        pid = pid * 10 + (*p - '0');
    }
    if (p == digits || *p != '-' || std::strlen(p + 1) != kUniqueLength) return 0;
    return static_cast<int>(pid);
}

int RemoveStalePrivateDirectories(const char* parent) {
    if (parent == nullptr) parent = TemporaryFolder();
    const int parentFd = open(parent, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd == -1) return 0;
    DIR* folder = fdopendir(parentFd);
    if (folder == nullptr) {
        close(parentFd);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = readdir(folder)) {
        const int pid = PrivateDirectoryOwner(entry->d_name);
        if (pid <= 0 || pid == getpid()) continue;
        // A process that exists, of any user, may still be using its folder.
        if (kill(pid, 0) == 0 || errno != ESRCH) continue;
        const int fd = OpenOwnFolder(dirfd(folder), entry->d_name);
        if (fd == -1) continue;
        RemoveFolder(dirfd(folder), entry->d_name, fd);
        removed++;
    }
    closedir(folder);
    return removed;
}
