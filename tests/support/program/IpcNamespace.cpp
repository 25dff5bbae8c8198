#include "tests/support/program/IpcNamespace.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/program/ProgramDriver.h"

namespace e2e {

namespace {

const char kInsideVariable[] = "QUIRAN_PRIVATE_IPC_NAMESPACE";

} // namespace

IpcNamespace RunInPrivateIpcNamespace() {
    if (std::getenv(kInsideVariable) != nullptr) return IpcNamespace::kHere;
    if (std::system("unshare --ipc --fork true > /dev/null 2>&1") != 0) {
        return IpcNamespace::kUnavailable;
    }
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (length <= 0) {
        ADD_FAILURE() << "cannot find the test program";
        return IpcNamespace::kDone;
    }
    self[length] = '\0';
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();

    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == -1) {
        ADD_FAILURE() << "fork failed";
        return IpcNamespace::kDone;
    }
    if (child == 0) {
        // Nothing of the run outlives this test: unshare goes with it, its child with unshare.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv(kInsideVariable, "1", 1);
        execlp("unshare", "unshare", "--ipc", "--fork", "--kill-child", self, filter.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) == -1) {
        if (errno != EINTR) {
            ADD_FAILURE() << "waitpid failed";
            return IpcNamespace::kDone;
        }
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the run in a private IPC namespace failed (its output is above), status " << status;
    return IpcNamespace::kDone;
}

std::string IpcObjects() {
    // Every object line begins with its key, "0x...".
    return Command("ipcs 2>&1 | grep '^0x'");
}

} // namespace e2e
