#include "tests/support/program/PrivateServer.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace e2e {

PrivateServer::PrivateServer(const char* geometry) {
    int fds[2];
    if (pipe(fds) != 0) {
        perror("PrivateServer: pipe");
        return;
    }
    pid = fork();
    if (pid < 0) {
        perror("PrivateServer: fork");
        close(fds[0]);
        close(fds[1]);
        return;
    }
    if (pid == 0) {
        close(fds[0]);
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0) _exit(126);
        // Its notes on the display numbers it tries are no output of the test.
        const int null = open("/dev/null", O_WRONLY);
        if (null < 0 || dup2(null, STDERR_FILENO) < 0) _exit(125);
        const std::string fd = std::to_string(fds[1]);
        // -noreset: a server that resets when its last client leaves refuses the next one.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry, "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // The server writes its number and the line feed in two writes and dies when the second
    // finds the pipe closed: read up to the line feed before closing.
    char buffer[16] = {};
    size_t got = 0;
    while (got < sizeof buffer - 1 && std::memchr(buffer, '\n', got) == nullptr) {
        const ssize_t n = read(fds[0], buffer + got, sizeof buffer - 1 - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fds[0]);
    if (std::memchr(buffer, '\n', got) != nullptr) {
        name = ":" + std::string(buffer, std::strcspn(buffer, "\n"));
    }
}

PrivateServer::~PrivateServer() {
    if (pid <= 0) return;
    if (kill(pid, SIGTERM) != 0) perror("PrivateServer: kill");
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace e2e
