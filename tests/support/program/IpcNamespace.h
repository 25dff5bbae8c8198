#pragma once

// Tests that check IPC objects (System V semaphore sets and shared segments) run in an IPC
// namespace of their own, so that `ipcs` shows only what they made and nothing of another test
// or user counts. Such a test is run a second time, alone, under `unshare --ipc --fork`; the
// second run knows itself by the environment and does the work, the first records its result.

#include <gtest/gtest.h>

#include <string>

namespace e2e {

enum class IpcNamespace {
    kHere,        // this process is the run in the private namespace: go on
    kDone,        // the run in the private namespace is over; its failures are recorded
    kUnavailable, // unshare cannot make a namespace here
};

// Called first in a test body (see QUIRAN_IN_PRIVATE_IPC_NAMESPACE).
IpcNamespace RunInPrivateIpcNamespace();

// The IPC objects `ipcs` lists (shared segments, semaphore sets, message queues), one line each;
// empty when there are none.
std::string IpcObjects();

} // namespace e2e

// The first line of a test that checks IPC objects.
#define QUIRAN_IN_PRIVATE_IPC_NAMESPACE()                                                          \
    switch (e2e::RunInPrivateIpcNamespace()) {                                                     \
        case e2e::IpcNamespace::kUnavailable:                                                      \
            GTEST_SKIP() << "no private IPC namespace: `unshare --ipc --fork` needs root or user " \
                            "namespaces";                                                          \
        case e2e::IpcNamespace::kDone:                                                             \
            return;                                                                                \
        case e2e::IpcNamespace::kHere:                                                             \
            break;                                                                                 \
    }
