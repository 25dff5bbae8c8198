#pragma once

// A window manager on the X server of DISPLAY for the length of one test: mwm, started with a
// folder of its own as HOME (no user's settings) and stopped by its PID, so that the next test
// on the same server finds none. Under it every top-level window is framed and placed by mwm,
// and a window's own x and y resources no longer tell where it lies.

#include <X11/Xlib.h>

#include <memory>
#include <ostream>
#include <string>

#include "tests/support/program/ProgramDriver.h"

namespace e2e {

// True while some client holds the root window's substructure redirection, as a window
// manager does.
bool WindowManagerRuns(Display* display);

// Where a test runs: on the bare X server, or under mwm as on a desktop.
enum class Desktop { kBare, kMwm };
void PrintTo(Desktop desktop, std::ostream* out);
// The test name suffix of each ("Bare", "Mwm").
std::string DesktopName(Desktop desktop);

class WindowManager {
public:
    WindowManager() = default;
    ~WindowManager() { Stop(); }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // Starts mwm and waits until it manages the screen; false, with the reason in Error(), when
    // it is not installed, another window manager runs or it did not come up in time.
    bool Start(int timeoutMs = kTimeoutMs);
    // Ends it and waits until it is gone and the screen is free of it.
    void Stop();
    bool Running() { return run.Running(); }
    const std::string& Error() const { return error; }
    // Starts mwm when the test runs under it; false as Start.
    bool StartFor(Desktop desktop) { return desktop == Desktop::kBare || Start(); }

private:
    std::unique_ptr<ScratchFolder> folder;
    ProgramRun run;
    std::string error;
};

} // namespace e2e
