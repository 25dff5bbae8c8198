#include "shell/Termination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "model/elements/ACElem.h"
#include "model/simulation/ClientProcess.h"
#include "shell/MainWindow.h"
#include "shell/Recovery.h"

namespace {

const int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t pendingSignal = 0;
// Written by the handler, read by the main loop; both ends non-blocking.
int wakePipe[2] = {-1, -1};

void TerminationSignal(int signal) {
    const int saved = errno;
    if (pendingSignal == 0) pendingSignal = signal;
    if (wakePipe[1] != -1) {
        const char byte = 0;
        // A full pipe already wakes the loop.
        if (write(wakePipe[1], &byte, 1) == -1) {
        }
    }
    errno = saved;
}

void WakeUp(XtPointer, int* fd, XtInputId*) {
    char bytes[64];
    while (read(*fd, bytes, sizeof bytes) > 0) {
    }
    ServePendingTermination();
}

} // namespace

void InstallTerminationHandlers() {
    if (wakePipe[0] == -1 && pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) == -1) {
        std::perror("InstallTerminationHandlers: pipe2");
        wakePipe[0] = wakePipe[1] = -1;
    }
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = TerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    // Restarted: a compile or a file being read goes on; waits for clients look at the signal
    // between their slices.
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) {
        if (sigaction(signal, &action, nullptr) == -1) std::perror("sigaction");
    }
    ClientProcess::SetWaitHook(ServePendingTermination);
}

void WatchTerminationSignals(XtAppContext app) {
    if (wakePipe[0] == -1) return;
    XtAppAddInput(app, wakePipe[0], reinterpret_cast<XtPointer>(XtInputReadMask), WakeUp, nullptr);
}

void ServePendingTermination() {
    const int signal = pendingSignal;
    if (signal == 0) return;
    static bool serving = false;
    if (serving) return;
    serving = true;
    MainWindow* main = GetMainWindow();
    if (main != nullptr && main->IsModified()) SaveCoreArchitecture();
    // Clients, their sets and executables, the private folder; the segment, marked for removal
    // when it was made, goes with its last user.
    D_CElem::ReleaseAll();
    DieBySignal(signal, 128 + signal);
}
