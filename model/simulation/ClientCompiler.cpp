#include "model/simulation/ClientCompiler.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "client/ClientProgram.h"
#include "model/elements/BusyScope.h"
#include "model/elements/ElementUi.h"
#include "model/simulation/PrivateDirectory.h"

namespace {

const char kNoTemporaryFile[] = "Error: Cannot create temporary file!";
const char kNoCompiler[] = "Error: Cannot start compiler!";
const char kSuccess[] = "Success";

const char* DefaultCompiler() {
    return "gcc";
}

const char* NoOptions() {
    return "";
}

CompilerSettingsSource settingsSource = {DefaultCompiler, NoOptions, NoOptions};

// The messages of the last compile; every compile reuses it.
char compilerMessages[kCompilerOutputSize + sizeof(kSuccess)];

std::string Setting(const char* (*get)(), const char* fallback) {
    const char* text = get != nullptr ? get() : nullptr;
    if (text == nullptr) text = fallback;
    return std::string(text, strnlen(text, kCompilerSettingLength));
}

const char* SetMessages(const char* text) {
    std::snprintf(compilerMessages, sizeof(compilerMessages), "%s", text);
    return compilerMessages;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written == -1) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void RemoveFile(const char* path) {
    if (unlink(path) == -1 && errno != ENOENT) std::perror("D_CElem::Compile: unlink");
}

} // namespace

void SetCompilerSettingsSource(const CompilerSettingsSource& source) {
    settingsSource = source;
}

int MakeTemporaryFile(char (&path)[kTemporaryPathLength + 1], const char* suffix) {
    path[0] = '\0';
    const char* directory = PrivateDirectory();
    if (directory == nullptr) return -1;
    const std::string name = std::string(directory) + "/quiranXXXXXX" + suffix;
    if (name.size() > static_cast<size_t>(kTemporaryPathLength)) return -1;
    std::memcpy(path, name.c_str(), name.size() + 1);
    const int fd = mkstemps(path, static_cast<int>(std::strlen(suffix)));
    if (fd == -1) path[0] = '\0';
    return fd;
}

void RenumberCompilerLine(char* line, const char* sourcePath, int prologueLines) {
    const size_t pathLength = std::strlen(sourcePath);
    if (pathLength == 0 || std::strncmp(line, sourcePath, pathLength) != 0) return;
    const char* rest = line + pathLength;
    if (*rest == ':') ++rest;
    if (*rest == ' ') ++rest;
    std::string text;
    if (*rest >= '0' && *rest <= '9') {
        long long number = 0;
        for (; *rest >= '0' && *rest <= '9'; ++rest) {
            if (number < 1000000000000LL) number = number * 10 + (*rest - '0');
        }
        const long long shifted = number - prologueLines;
        text = std::to_string(shifted > 0 ? shifted : 0);
    }
    text += rest;
    // Never longer than the line: the path has gone and the number did not grow.
    std::memcpy(line, text.c_str(), text.size() + 1);
}

void PlainCompilerQuotes(char* text) {
    char* to = text;
    for (const char* from = text; *from != '\0'; ++from) {
        if (from[0] == '\xe2' && from[1] == '\x80') {
            const char last = from[2];
            if (last == '\x98' || last == '\x99' || last == '\x9c' || last == '\x9d') {
                *to++ = last == '\x98' || last == '\x99' ? '\'' : '"';
                from += 2;
                continue;
            }
        }
        *to++ = *from;
    }
    *to = '\0';
}

std::string ShellQuote(const char* text) {
    std::string quoted = "'";
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\'') {
            quoted += "'\\''";
        } else {
            quoted += *p;
        }
    }
    quoted += '\'';
    return quoted;
}

int CompileClient(const char* code, const char* executable, const char*& messages) {
    BusyScope busy("COMPILING");
    messages = compilerMessages;
    if (executable == nullptr || executable[0] == '\0') {
        SetMessages(kNoTemporaryFile);
        return 0;
    }

    char source[kTemporaryPathLength + 1];
    const int fd = MakeTemporaryFile(source, ".cc");
    if (fd == -1) {
        SetMessages(kNoTemporaryFile);
        return 0;
    }
    const std::string program = MakeClientSource(code);
    const bool written = WriteAll(fd, program.data(), program.size());
    if (close(fd) == -1 || !written) {
        std::perror("D_CElem::Compile: write");
        RemoveFile(source);
        SetMessages(kNoTemporaryFile);
        return 0;
    }

    // -lstdc++: the client program is C++, and the default compiler "gcc" would not link it.
    const std::string command = Setting(settingsSource.compiler, "gcc") + " " +
                                Setting(settingsSource.compilerFlags, "") + " " +
                                ShellQuote(source) + " -o " + ShellQuote(executable) +
                                " -lm -lstdc++ " + Setting(settingsSource.loaderFlags, "") +
                                "  2>&1 && strip " + ShellQuote(executable) + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        RemoveFile(source);
        SetMessages(kNoCompiler);
        return 0;
    }

    const int prologueLines = ClientPrologueLines();
    size_t length = 0;
    bool lineStart = true;
    compilerMessages[0] = '\0';
    while (length + 1 < static_cast<size_t>(kCompilerOutputSize)) {
        char* line = compilerMessages + length;
        if (std::fgets(line, kCompilerOutputSize - static_cast<int>(length), pipe) == nullptr) {
            break;
        }
        const size_t read = std::strlen(line);
        const bool endsLine = read > 0 && line[read - 1] == '\n';
        if (lineStart) RenumberCompilerLine(line, source, prologueLines);
        lineStart = endsLine;
        length += std::strlen(line);
    }
    // What does not fit is still read: a compiler that cannot write its messages would fail.
    char discard[512];
    while (std::fgets(discard, sizeof(discard), pipe) != nullptr) {
    }
    const int exitStatus = pclose(pipe);
    if (exitStatus == -1) std::perror("D_CElem::Compile: pclose");
    const int compiled = exitStatus != -1 && WIFEXITED(exitStatus) && WEXITSTATUS(exitStatus) == 0;
    // Every reader of the messages (the code window, a load's error box) gets plain quotes.
    PlainCompilerQuotes(compilerMessages);
    length = std::strlen(compilerMessages);
    if (compiled) std::memcpy(compilerMessages + length, kSuccess, sizeof(kSuccess));

    RemoveFile(source);
    return compiled;
}

bool CopyFile(const char* from, const char* to) {
    if (from == nullptr || to == nullptr || from[0] == '\0' || to[0] == '\0') return false;
    const int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in == -1) {
        std::perror("CopyFile: open");
        return false;
    }
    struct stat info;
    if (fstat(in, &info) == -1) {
        std::perror("CopyFile: fstat");
        close(in);
        return false;
    }
    const int out = open(to, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0700);
    if (out == -1) {
        std::perror("CopyFile: open");
        close(in);
        return false;
    }
    bool ok = true;
    char block[8192];
    for (;;) {
        const ssize_t got = read(in, block, sizeof(block));
        if (got == 0) break;
        if (got == -1) {
            if (errno == EINTR) continue;
            std::perror("CopyFile: read");
            ok = false;
            break;
        }
        if (!WriteAll(out, block, static_cast<size_t>(got))) {
            std::perror("CopyFile: write");
            ok = false;
            break;
        }
    }
    // The copy of an executable must be executable too, whatever the target file was.
    if (ok && fchmod(out, info.st_mode & 07777) == -1) {
        std::perror("CopyFile: fchmod");
        ok = false;
    }
    if (close(out) == -1) {
        std::perror("CopyFile: close");
        ok = false;
    }
    close(in);
    return ok;
}
