#include "shell/Recovery.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowCommands.h"
#include "shell/Startup.h"
#include "toolkit/MessageDialog.h"

const char* const kOutOfMemoryMessage =
    "There was not enough memory.\nQUIRAN Pro has tried to save the  \n"
    "current architecture in 'core.arc'.  ";

namespace {

volatile sig_atomic_t guiReady = 0; // one byte in spirit: 0 until the main loop is reached
volatile sig_atomic_t crashHandlerEntered = 0;
int lowMemoryCalls = 0;

// Given back before an emergency save, so that the save can allocate what it needs. Touched
// once, so that the pages are really there.
const size_t kMemoryReserveSize = 1 << 20;
void* memoryReserve = nullptr;

// Composed before any crash, so that the handler needs no allocation to show it.
char crashMessage[512];

void ReleaseMemoryReserve() {
    std::free(memoryReserve);
    memoryReserve = nullptr;
}

void WriteAll(int fd, const char* text) {
    size_t count = std::strlen(text);
    while (count > 0) {
        const ssize_t n = write(fd, text, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        text += n;
        count -= static_cast<size_t>(n);
    }
}

void SignalEntry(int signal) {
    SegvHandler(signal);
}

void NewHandlerEntry() {
    OutOfMemoryHandler();
}

} // namespace

const char* CrashMessage() {
    if (crashMessage[0] == '\0') {
        std::snprintf(crashMessage, sizeof crashMessage,
                      "Oops ...\n\n    You have found a bug in QUIRAN Pro.  \n"
                      "    Errortype: 'Segmentation fault'\n \n"
                      "    Please send a bug report to\n    '%s' or  \n\n"
                      "    We thank you for your support.",
                      kBugReportAddress);
    }
    return crashMessage;
}

void InstallErrorHandlers() {
    InstallNewHandler();
    InstallSegvHandler();
}

void InstallNewHandler() {
    if (memoryReserve == nullptr) {
        memoryReserve = std::malloc(kMemoryReserveSize);
        if (memoryReserve != nullptr) std::memset(memoryReserve, 0, kMemoryReserveSize);
    }
    std::set_new_handler(NewHandlerEntry);
}

void InstallSegvHandler() {
    CrashMessage();
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = SignalEntry;
    sigemptyset(&action.sa_mask);
    // Not deferred: a fault inside the handler (while the boxes are up or core.arc is written)
    // enters it again at once and ends the process, and the re-raise before the user interface
    // is up is delivered at once.
    action.sa_flags = SA_NODEFER;
    if (sigaction(SIGSEGV, &action, nullptr) != 0) perror("sigaction");
}

void SetGuiReady() {
    guiReady = 1;
}

bool IsGuiReady() {
    return guiReady != 0;
}

int SaveCoreArchitecture() {
    MainWindow* main = GetMainWindow();
    if (main == nullptr) return 1;
    return SaveFileAs(*main, "core.arc", nullptr, 1);
}

void SegvHandler(int signal) {
    if (crashHandlerEntered) _exit(kSegvExitStatus);
    crashHandlerEntered = 1;

    if (!guiReady) {
        WriteAll(STDERR_FILENO, "\n");
        WriteAll(STDERR_FILENO, CrashMessage());
        WriteAll(STDERR_FILENO, "\n\n");
        DieBySignal(signal, kSegvExitStatus);
    }

    ReleaseMemoryReserve();
    Widget topLevel = GetTopLevelShell();
    if (topLevel != nullptr) {
        InfoMessage(topLevel, "Internal Error", CrashMessage());
        InfoMessage(topLevel, "core.arc", "Trying to save the current\narchitecture in 'core.arc'");
    }
    SaveCoreArchitecture();
    std::exit(kSegvExitStatus);
}

void OutOfMemoryHandler() {
    ++lowMemoryCalls;
    if (lowMemoryCalls == 1) {
        ReleaseMemoryReserve();
        if (GetMainWindow() != nullptr) SaveCoreArchitecture();
        WriteAll(STDERR_FILENO, "\n");
        WriteAll(STDERR_FILENO, kOutOfMemoryMessage);
        WriteAll(STDERR_FILENO, "\n\n");
    }
    std::exit(kOutOfMemoryExitStatus);
}

void DieBySignal(int signal, int fallbackStatus) {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(fallbackStatus);
}
