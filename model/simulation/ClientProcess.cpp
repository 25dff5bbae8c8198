#include "model/simulation/ClientProcess.h"

#include "model/simulation/SimulationBoxUi.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/prctl.h>
#include <sys/sem.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

// How often a waiting host looks whether its client has ended, whether the run was broken and
// whether the program must end, in milliseconds.
const int kPollInterval = 100;

// The semctl argument; the system headers leave its declaration to the program.
union SemaphoreArgument {
    int val;
    struct semid_ds* buf;
    unsigned short* array;
};

long long NowMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void SleepMilliseconds(int milliseconds) {
    timespec pause = {milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000};
    while (nanosleep(&pause, &pause) == -1 && errno == EINTR) {
    }
}

void CloseDescriptorsFrom(int first) {
    if (close_range(static_cast<unsigned int>(first), ~0U, 0) == 0) return;
    // Kernels without close_range: every possible descriptor.
    const long limit = sysconf(_SC_OPEN_MAX);
    for (long fd = first; fd < (limit > 0 ? limit : 1024); fd++) {
        close(static_cast<int>(fd));
    }
}

// The state letter and the process group of the process whose stat file is path; false when it
// cannot be read (the process has gone).
bool ReadStateAndGroup(const char* path, char& state, long& group) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd == -1) return false;
    // "pid (name) state ppid pgrp ...": the name has at most 15 characters.
    char text[128];
    ssize_t length;
    while ((length = read(fd, text, sizeof(text) - 1)) == -1 && errno == EINTR) {
    }
    close(fd);
    if (length <= 0) return false;
    text[length] = '\0';
    const char* nameEnd = std::strrchr(text, ')');
    return nameEnd != nullptr && std::sscanf(nameEnd + 1, " %c %*d %ld", &state, &group) == 2;
}

// True while a process of the group runs. kill counts ended processes that wait for their reaper
// too, and an ended member whose new parent never reaps it must not hold up a stop: then the
// states of the processes decide.
bool GroupHasRunningMember(pid_t group) {
    if (kill(-group, 0) == -1) return errno == EPERM;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return true;
    bool running = false;
    while (const dirent* entry = readdir(proc)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
        char path[300];
        std::snprintf(path, sizeof(path), "/proc/%s/stat", entry->d_name);
        char state;
        long memberGroup;
        if (ReadStateAndGroup(path, state, memberGroup) && memberGroup == group && state != 'Z' &&
            state != 'X') {
            running = true;
            break;
        }
    }
    closedir(proc);
    return running;
}

} // namespace

int ClientProcess::Start(const char* executable, int segmentId) {
    Stop();
    semaphoreSet = semget(IPC_PRIVATE, 2, IPC_CREAT | 0600);
    if (semaphoreSet == -1) {
        std::perror("Server: cannot create semaphor set!");
        return -1;
    }
    unsigned short zeros[2] = {0, 0};
    SemaphoreArgument argument;
    argument.array = zeros;
    if (semctl(semaphoreSet, 0, SETALL, argument) == -1) {
        std::perror("Server: cannot initialize semaphor set!");
        RemoveSemaphoreSet();
        return -1;
    }

    char setText[24];
    char segmentText[24];
    std::snprintf(setText, sizeof(setText), "%d", static_cast<int>(semaphoreSet));
    std::snprintf(segmentText, sizeof(segmentText), "%d", static_cast<int>(segmentId));

    const pid_t host = getpid();
    const pid_t child = fork();
    if (child == -1) {
        std::perror("D_CElem::CreateProcess: fork");
        RemoveSemaphoreSet();
        return -1;
    }
    if (child == 0) {
        // A group of its own, so that a stop reaches whatever the user's code forks. The parent
        // sets it too: neither knows which of them runs first.
        setpgid(0, 0);
        // The client goes with the host however the host ends, a SIGKILL included. A host that
        // ended before this took effect would never send it: then the child goes at once.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) == -1 || getppid() != host) {
            semctl(semaphoreSet, 0, IPC_RMID);
            _exit(1);
        }
        // The client must be able to receive the termination signal whatever the host blocks.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        // Only the standard descriptors reach the client: none of the host's files, pipes or its
        // X connection.
        CloseDescriptorsFrom(3);
        execl(executable, executable, setText, segmentText, static_cast<char*>(nullptr));
        std::perror("D_CElem::CreateProcess: execl");
        // _exit: the child must not run the host's exit handlers (they would stop other clients).
        _exit(1);
    }
    if (setpgid(child, child) == -1 && errno != EACCES && errno != ESRCH) {
        // EACCES: the child has already run the program (and set its group before that).
        std::perror("D_CElem::CreateProcess: setpgid");
    }
    pid = child;
    group = child;
    return pid;
}

void ClientProcess::Stop() {
    if (pid > 0 || group > 0) {
        SignalGroup(SIGTERM);
        if (!AwaitGroupEnd(kStopGrace)) {
            SignalGroup(SIGKILL);
            if (pid > 0) Reap();
        }
        pid = 0;
        group = 0;
    }
    RemoveSemaphoreSet();
}

int ClientProcess::Transact(int breakable) {
    if (pid <= 0) return 0;
    struct sembuf post = {1, 1, 0};
    if (semop(semaphoreSet, &post, 1) == -1) {
        std::perror("SVC()");
        Stop();
        return 0;
    }
    return AwaitAnswer(breakable && breakBox != nullptr);
}

int ClientProcess::AwaitAnswer(bool breakable) {
    struct sembuf wait = {0, -1, 0};
    const timespec slice = {0, static_cast<long>(kPollInterval) * 1000000};
    const long long start = NowMilliseconds();
    for (;;) {
        if (semtimedop(semaphoreSet, &wait, 1, &slice) == 0) return 1;
        const int error = errno;
        if (waitHook != nullptr) waitHook();
        if (error == EINTR) continue;
        if (error != EAGAIN) {
            errno = error;
            // A client that ends removes its set: the wait fails instead of blocking.
            std::perror("SPH()");
            Stop();
            return 0;
        }
        if (HasEnded()) {
            // What it forked may still run and hold the segment.
            pid = 0;
            Stop();
            return 0;
        }
        if (breakable) {
            // The user's code may take as long as it likes; the user ends it with Break.
            if (breakBox->PollWhileWaiting() != 0) {
                std::cerr << "ClientProcess::Transact: client " << static_cast<long>(pid)
                          << " stopped by Break" << std::endl;
                Stop();
                return 0;
            }
            continue;
        }
        if (NowMilliseconds() - start >= answerTimeout) {
            std::cerr << "ClientProcess::Transact: client " << static_cast<long>(pid)
                      << " does not answer" << std::endl;
            Stop();
            return 0;
        }
    }
}

bool ClientProcess::HasEnded() {
    int status;
    pid_t result;
    while ((result = waitpid(pid, &status, WNOHANG)) == -1 && errno == EINTR) {
    }
    if (result == pid) return true;
    // ECHILD: not our child any more (or already reaped elsewhere); either way it is gone.
    return result == -1;
}

void ClientProcess::Reap() {
    int status;
    while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
    }
    pid = 0;
}

void ClientProcess::SignalGroup(int signal) {
    // Never a group of 0 or 1 (kill would take the host's own group, or every process), never the
    // host's own.
    if (group > 1 && group != getpgrp()) {
        if (kill(-group, signal) == 0) return;
        if (errno != ESRCH) std::perror("D_CElem::StopProcess: kill");
    }
    if (pid > 0 && kill(pid, signal) == -1 && errno != ESRCH) {
        std::perror("D_CElem::StopProcess: kill");
    }
}

bool ClientProcess::AwaitGroupEnd(int milliseconds) {
    const long long start = NowMilliseconds();
    for (;;) {
        if (pid > 0 && HasEnded()) pid = 0;
        if (pid <= 0 && (group <= 1 || !GroupHasRunningMember(group))) return true;
        if (NowMilliseconds() - start >= milliseconds) return false;
        SleepMilliseconds(kPollInterval / 4);
    }
}

void ClientProcess::RemoveSemaphoreSet() {
    if (semaphoreSet < 0) return;
    // The client removes its set itself when it ends; a second removal finds nothing.
    if (semctl(semaphoreSet, 0, IPC_RMID) == -1 && errno != EINVAL && errno != EIDRM) {
        std::perror("D_CElem::StopProcess: semctl");
    }
    semaphoreSet = -1;
}
