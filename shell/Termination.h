#pragma once

// SIGTERM, SIGHUP and SIGINT (a plain kill, a logout, Ctrl-C in the terminal) end the program as
// Quit does for what it holds outside itself: every C++ client is stopped and reaped, their
// semaphore sets, the shared segment and the private folder go. A modified main architecture is
// first saved into "core.arc" as after a crash (no boxes); then the process dies by the signal.
//
// The handler only notes the signal and wakes the main loop through a pipe; the work is done
// where the program can safely do it: in the main loop (and the loops of modal boxes), between
// the cycles of a run and between the slices of every wait for a client.

#include <X11/Intrinsic.h>

// Installs the three handlers; the wake-up reaches the main loop once the toolkit is up
// (WatchTerminationSignals). Before that a signal is served at the first chance.
void InstallTerminationHandlers();
// Has the application context serve a signal as soon as it arrives.
void WatchTerminationSignals(XtAppContext app);
// When a signal arrived: the orderly end described above; does not return then.
void ServePendingTermination();
