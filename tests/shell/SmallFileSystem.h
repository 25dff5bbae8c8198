#pragma once

// A small tmpfs mounted on a folder, for tests that need a full disk. The test process moves into
// a mount namespace of its own first, so the mount is seen only by it and the programs it starts,
// and it goes with the process at the latest. Mounting needs CAP_SYS_ADMIN; Error() says why it
// failed where it cannot be had.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

class SmallFileSystem {
public:
    // Mounts a tmpfs of sizeKb kibibytes on a new folder made from pattern ("/tmp/...XXXXXX").
    SmallFileSystem(const char* pattern, int sizeKb) {
        std::string folder = pattern;
        if (mkdtemp(&folder[0]) == nullptr) {
            error = std::string("mkdtemp: ") + std::strerror(errno);
            return;
        }
        dir = folder;
        if (unshare(CLONE_NEWNS) != 0) {
            error = std::string("unshare(CLONE_NEWNS): ") + std::strerror(errno);
            return;
        }
        // Nothing mounted here may reach the mounts of the rest of the machine.
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            error = std::string("mount --make-rprivate /: ") + std::strerror(errno);
            return;
        }
        const std::string options = "size=" + std::to_string(sizeKb) + "k,mode=0755";
        if (mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            error = std::string("mount -t tmpfs: ") + std::strerror(errno);
            return;
        }
        mounted = true;
    }
    ~SmallFileSystem() {
        if (mounted && umount2(dir.c_str(), MNT_DETACH) != 0) perror("umount2");
        if (!dir.empty() && rmdir(dir.c_str()) != 0) perror("rmdir");
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Ok() const { return mounted; }
    // Why the file system could not be had.
    std::string Error() const { return "cannot mount a small tmpfs here (" + error + ")"; }
    const std::string& Get() const { return dir; }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    // Makes the whole file system read-only, as a read-only mount is: every write and every new
    // file fails with EROFS.
    bool MakeReadOnly() const {
        return mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

    // Fills what is left of the file system with the file name: every later write fails.
    bool Fill(const std::string& name) const {
        const int fd = open(Path(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        static const char block[4096] = {};
        // Whole pages, then the bytes of a page that is partly free.
        for (size_t size = sizeof block; size > 0; size /= 2) {
            while (write(fd, block, size) == static_cast<ssize_t>(size)) {
            }
        }
        close(fd);
        return true;
    }

private:
    std::string dir;
    std::string error;
    bool mounted = false;
};
