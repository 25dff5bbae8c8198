// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/Recovery.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {

TEST(Recovery, CrashBeforeTheUserInterfaceDiesByTheSignal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            InstallErrorHandlers();
            raise(SIGSEGV);
        },
        testing::KilledBySignal(SIGSEGV),
        "\nOops \\.\\.\\.\n\n    You have found a bug in QUIRAN Pro\\.  \n"
        "    Errortype: 'Segmentation fault'\n");
}

TEST(Recovery, CrashAfterTheUserInterfaceExitsWith1000) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The parent sees the status modulo 256.
    EXPECT_EXIT(
        {
            InstallErrorHandlers();
            SetGuiReady();
            raise(SIGSEGV);
        },
        testing::ExitedWithCode(kSegvExitStatus & 0xff), "");
}

void FaultAtExit() {
    raise(SIGSEGV);
    _exit(7); // reached only when the second fault did not end the process
}

TEST(Recovery, SecondFaultEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            InstallErrorHandlers();
            SetGuiReady();
            std::atexit(FaultAtExit); // the handler's own exit faults again
            raise(SIGSEGV);
        },
        testing::ExitedWithCode(kSegvExitStatus & 0xff), "");
}

TEST(Recovery, RunningOutOfMemoryExitsWith2000) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer refuses such a request before the handler is asked";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            InstallErrorHandlers();
            void* p = ::operator new(static_cast<size_t>(1) << 62);
            std::printf("%p", p);
        },
        testing::ExitedWithCode(kOutOfMemoryExitStatus & 0xff),
        "\nThere was not enough memory\\.\nQUIRAN Pro has tried to save the  \n"
        "current architecture in 'core\\.arc'\\.  \n\n");
}

TEST(Recovery, CrashMessageNamesTheAddressForReports) {
    const std::string text = CrashMessage();
    EXPECT_EQ(text.rfind("Oops ...\n\n    You have found a bug in QUIRAN Pro.  \n", 0), 0u);
    EXPECT_NE(text.find("    Please send a bug report to\n    '"), std::string::npos);
    EXPECT_NE(text.find("' or  \n\n    We thank you for your support."), std::string::npos);
}

} // namespace
