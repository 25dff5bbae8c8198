#include "tests/support/program/WindowManager.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace e2e {

namespace {

const char* const kMwm = "/usr/bin/mwm";

} // namespace

void PrintTo(Desktop desktop, std::ostream* out) {
    *out << (desktop == Desktop::kBare ? "bare X server" : "mwm");
}

std::string DesktopName(Desktop desktop) {
    return desktop == Desktop::kBare ? "Bare" : "Mwm";
}

bool WindowManagerRuns(Display* display) {
    // Only a window manager selects substructure redirection on the root. Read, not tried: a
    // try would take it for a moment, and a window manager starting just then would give up.
    XWindowAttributes root;
    if (!XGetWindowAttributes(display, DefaultRootWindow(display), &root)) return false;
    return (root.all_event_masks & SubstructureRedirectMask) != 0;
}

bool WindowManager::Start(int timeoutMs) {
    error.clear();
    if (access(kMwm, X_OK) != 0) {
        error = std::string(kMwm) + " is not installed (scripts/install-deps installs it)";
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        error = "no X server";
        return false;
    }
    if (WindowManagerRuns(display)) {
        XCloseDisplay(display);
        error = "a window manager runs already";
        return false;
    }
    folder.reset(new ScratchFolder("/tmp/quiran-mwm-XXXXXX"));
    const ProgramSetup setup = SetupIn(*folder, "mwm.log");
    if (!run.Start(kMwm, {kMwm}, setup)) {
        XCloseDisplay(display);
        error = "mwm could not be started";
        return false;
    }
    const bool up = WaitFor([&] { return !run.Running() || WindowManagerRuns(display); },
                            timeoutMs * Slowness());
    const bool ok = up && run.Running();
    XCloseDisplay(display);
    if (!ok) {
        error = "mwm did not come up: " + ReadAll(folder->Path("mwm.log"));
        Stop();
    }
    return ok;
}

void WindowManager::Stop() {
    if (run.Pid() > 0) {
        // mwm takes SIGTERM but goes on running; killed, the server gives the windows it framed
        // back to the root window.
        run.Stop(0);
        Display* display = XOpenDisplay(nullptr);
        if (display != nullptr) {
            WaitFor([&] { return !WindowManagerRuns(display); });
            // What it left on the root window would make the next program take it for running.
            XDeleteProperty(display, DefaultRootWindow(display),
                            XInternAtom(display, "_MOTIF_WM_INFO", False));
            XCloseDisplay(display);
        }
    }
    folder.reset();
}

} // namespace e2e
