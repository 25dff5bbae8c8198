#include "shell/Recovery.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <set>

#include "model/elements/ACElem.h"
#include "model/format/ParseError.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowCommands.h"
#include "shell/SafeFileWriter.h"
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

std::string FormatXProtocolError(const char* errorText, int requestCode, int minorCode,
                                 unsigned long resource) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "QUIRAN: X error: %s (request %d.%d, resource 0x%lx); later errors of this kind "
                  "are not reported\n",
                  errorText, requestCode, minorCode, resource);
    return text;
}

bool FirstXErrorOfKind(int errorCode, int requestCode, int minorCode) {
    // At most 256 error codes times 256 requests times their minor codes: a small set in
    // practice, one entry per kind ever met.
    static std::set<long> seen;
    const long kind = (static_cast<long>(errorCode & 0xff) << 24) |
                      (static_cast<long>(requestCode & 0xff) << 16) | (minorCode & 0xffff);
    return seen.insert(kind).second;
}

int XProtocolErrorHandler(Display* display, XErrorEvent* event) {
    if (!FirstXErrorOfKind(event->error_code, event->request_code, event->minor_code)) return 0;
    // The error database only: no request goes to the server from here.
    char errorText[256];
    XGetErrorText(display, event->error_code, errorText, sizeof errorText);
    const std::string report =
        FormatXProtocolError(errorText, event->request_code, event->minor_code, event->resourceid);
    std::fputs(report.c_str(), stderr);
    return 0;
}

int SaveCoreArchitectureWithoutDisplay() {
    MainWindow* main = GetMainWindow();
    if (main == nullptr) return 1;
    ClearParseError();
    SafeFileWriter writer;
    if (writer.Open("core.arc", SafeFileWriter::kAnyFile) != 0) return 1;
    if (main->Write(writer.Stream(), 0, nullptr) != 0 || GetParseError() != 0) return 1;
    return writer.Commit() == 0 ? 0 : 1;
}

int XConnectionLostHandler(Display*) {
    static volatile sig_atomic_t entered = 0;
    if (entered) _exit(kSegvExitStatus);
    entered = 1;
    WriteAll(STDERR_FILENO, "QUIRAN: the connection to the X server is lost\n");
    ReleaseMemoryReserve();
    MainWindow* main = GetMainWindow();
    if (main != nullptr && main->IsModified()) {
        if (SaveCoreArchitectureWithoutDisplay() == 0) {
            WriteAll(STDERR_FILENO, "QUIRAN: the architecture was saved in 'core.arc'\n");
        }
    }
    D_CElem::ReleaseAll();
    std::exit(kSegvExitStatus);
}

void InstallXErrorHandlers() {
    XSetErrorHandler(XProtocolErrorHandler);
    XSetIOErrorHandler(XConnectionLostHandler);
}
