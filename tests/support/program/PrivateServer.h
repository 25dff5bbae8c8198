#pragma once

// An X server of a test's own, of the screen size the test needs (the servers scripts/run-tests
// starts are all 1280 x 1024): Xvfb on a free display number, stopped by its PID when the object
// goes, and ending with the test process should that die first.

#include <sys/types.h>

#include <string>

namespace e2e {

class PrivateServer {
public:
    // geometry as Xvfb takes it, "800x600x24".
    explicit PrivateServer(const char* geometry);
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // ":<number>", empty when the server did not start.
    const std::string& Name() const { return name; }

private:
    pid_t pid = -1;
    std::string name;
};

} // namespace e2e
