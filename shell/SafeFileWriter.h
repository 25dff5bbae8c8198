#pragma once

// Writes a file so that its target is only ever replaced by a complete copy: the text goes into a
// new file beside the target, which is flushed, synced and closed, and only then renamed over the
// target. Until Commit succeeds the target is untouched; a writer that is not committed removes
// its new file again.

#include <sys/types.h>

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

class SafeFileWriter {
public:
    enum Target {
        kExistingFile, // the target must be a writable regular file; its mode is kept
        kNewFile,      // the target must not exist, also when it is committed; mode 0664
        kAnyFile,      // a regular file that is replaced (its mode kept) or made (mode 0664)
    };

    SafeFileWriter();
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Checks the target and makes the new file; 0 or an errno value of the target (ENOENT for a
    // missing existing file or folder, EEXIST for a new one that is there, EISDIR for anything
    // but a regular file, EACCES for a target that may not be written). A target that was found
    // but whose new file cannot be made (a read-only file system, a folder one may not write)
    // opens: the stream fails and Commit gives the error, as for a disk that fills up.
    int Open(const char* path, Target target);
    // The stream to write the text to; it fails once a write to the new file failed.
    std::ostream& Stream() { return stream; }
    // Flushes, syncs and closes the new file and renames it over the target; 0 or an errno value
    // (EIO when the stream had failed), the target untouched on any failure.
    int Commit();
    // Closes and removes the new file, leaving the target untouched: a failed save calls it
    // before it reports, so that no partial copy stays while the report is shown.
    void Discard();

private:
    // The stream's buffer on the new file's descriptor: writes go straight to the descriptor
    // and allocate nothing, which the emergency save after running out of memory relies on.
    class DescriptorBuffer : public std::streambuf {
    public:
        void SetDescriptor(int descriptor) {
            fd = descriptor;
            error = 0;
            used = 0;
            written = writtenBack = 0;
        }
        // 0 or the errno value of the first failed write.
        int GetError() const { return error; }

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override;

    private:
        bool WriteOut(const char* data, size_t count);
        bool Drain();

        // Every this many bytes the kernel is asked to start writing them to the disk, so that
        // the sync at the end waits only for the last of the text, not for all of it.
        static const off_t kWritebackStep = 4 << 20;
        static const size_t kSize = 8192;
        int fd = -1;
        int error = 0;
        char buffer[kSize];
        size_t used = 0;
        off_t written = 0;
        off_t writtenBack = 0;
    };

    // The new file cannot be had: every write and the commit fail with error.
    void Fail(int error);

    DescriptorBuffer buffer;
    std::ostream stream;
    Target target;
    int fd;
    int pendingError = 0;
    std::string targetPath;
    std::string tempPath;
};
