#pragma once

// What the process does when it crashes or runs out of memory: it saves the main window's
// architecture into "core.arc" in the current directory and exits with status 1000 after a
// segmentation fault and 2000 when memory ran out. A small memory reserve is kept from start-up
// on and given back before the emergency save, so that the save can still allocate.

#include <X11/Xlib.h>

#include <string>

const int kSegvExitStatus = 1000;
const int kOutOfMemoryExitStatus = 2000;

// InstallNewHandler, then InstallSegvHandler.
void InstallErrorHandlers();
// Makes OutOfMemoryHandler the allocation-failure handler and takes the memory reserve.
void InstallNewHandler();
// Makes SegvHandler the handler of SIGSEGV.
void InstallSegvHandler();

// Called just before the main loop: from then on a crash is reported in boxes and saved.
void SetGuiReady();
bool IsGuiReady();

// A segmentation fault: before the user interface is up, the crash message goes to the standard
// error stream and the process dies by the signal; after it, two boxes are shown, "core.arc" is
// written and the process exits with 1000. A second fault meanwhile exits with 1000 at once.
[[noreturn]] void SegvHandler(int signal);
// An allocation failed: the first call saves "core.arc" and reports it on the standard error
// stream; every call exits with 2000.
[[noreturn]] void OutOfMemoryHandler();

// The text of the "Internal Error" box, with the address for bug reports.
const char* CrashMessage();
// The text written to the standard error stream when memory ran out.
extern const char* const kOutOfMemoryMessage;

// Writes the main window's architecture into "core.arc" (forced, no questions); 0 on success.
int SaveCoreArchitecture();

// Ends the process by signal with its default action, also from a handler of that signal (only
// async-signal-safe calls); exits with fallbackStatus should the signal not end it.
[[noreturn]] void DieBySignal(int signal, int fallbackStatus);

// X errors, for every display connection of the process (the drag display and the toolkit's):
// a protocol error is reported on the standard error stream once per kind and the program goes
// on; losing the display takes the crash path without boxes.
void InstallXErrorHandlers();
// A failed request: the first of its kind (error code, request and minor code) is reported.
int XProtocolErrorHandler(Display* display, XErrorEvent* event);
// The connection to the X server is gone: a modified main architecture is written into
// "core.arc" without a request to the server, the C++ clients are stopped, and the process exits
// with 1000. Entered again meanwhile (the save touched the display), it exits at once.
[[noreturn]] int XConnectionLostHandler(Display* display);
// The report of a protocol error: what the server's error code names, the request and the
// resource it was about.
std::string FormatXProtocolError(const char* errorText, int requestCode, int minorCode,
                                 unsigned long resource);
// True the first time a kind is seen, false on every later one; counted for the whole process.
bool FirstXErrorOfKind(int errorCode, int requestCode, int minorCode);
// Writes the main window's architecture into "core.arc" with no request to the X server (no
// boxes, no busy state); 0 on success, 1 when there is nothing to write or it failed.
int SaveCoreArchitectureWithoutDisplay();
