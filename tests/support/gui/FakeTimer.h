#pragma once

// Stands in for the Xt timeouts of the code under test, so that no test waits on a clock: it
// records each timeout asked for and fires the oldest pending one on request, as if its time had
// come.

#include <X11/Intrinsic.h>

#include <cstddef>
#include <vector>

namespace testgui {

class FakeTimer {
public:
    // What the code under test calls in place of XtAppAddTimeOut and XtRemoveTimeOut; removing a
    // timeout that is not pending fails the test.
    static XtIntervalId Add(XtAppContext, unsigned long ms, XtTimerCallbackProc proc,
                            XtPointer client);
    static void Remove(XtIntervalId id);

    // Fires the oldest pending timeout; false when none is pending.
    static bool Fire();
    static size_t PendingCount();
    // The delays of the pending timeouts, oldest first.
    static std::vector<unsigned long> PendingDelays();
    // The delays of every timeout asked for since the last Clear, first first.
    static const std::vector<unsigned long>& AskedDelays();
    // Forgets every timeout, pending or asked for.
    static void Clear();
};

} // namespace testgui
