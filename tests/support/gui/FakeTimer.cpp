// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "tests/support/gui/FakeTimer.h"

namespace testgui {

namespace {

struct Pending {
    XtIntervalId id;
    unsigned long ms;
    XtTimerCallbackProc proc;
    XtPointer client;
};

std::vector<Pending> pending;
std::vector<unsigned long> asked;
XtIntervalId lastId = 0;

} // namespace

XtIntervalId FakeTimer::Add(XtAppContext, unsigned long ms, XtTimerCallbackProc proc,
                            XtPointer client) {
    pending.push_back({++lastId, ms, proc, client});
    asked.push_back(ms);
    return lastId;
}

void FakeTimer::Remove(XtIntervalId id) {
    for (auto it = pending.begin(); it != pending.end(); ++it) {
        if (it->id == id) {
            pending.erase(it);
            return;
        }
    }
    ADD_FAILURE() << "removed a timeout that is not pending";
}

bool FakeTimer::Fire() {
    if (pending.empty()) return false;
    Pending oldest = pending.front();
    pending.erase(pending.begin());
    oldest.proc(oldest.client, &oldest.id);
    return true;
}

size_t FakeTimer::PendingCount() {
    return pending.size();
}

std::vector<unsigned long> FakeTimer::PendingDelays() {
    std::vector<unsigned long> delays;
    for (const Pending& timeout : pending)
        delays.push_back(timeout.ms);
    return delays;
}

const std::vector<unsigned long>& FakeTimer::AskedDelays() {
    return asked;
}

void FakeTimer::Clear() {
    pending.clear();
    asked.clear();
}

} // namespace testgui
