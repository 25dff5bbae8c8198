// X errors with the program's handlers installed, on a real connection: failed requests are
// reported once per kind and the process goes on; a lost connection exits on the crash path.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <sys/socket.h>

#include <cstdlib>
#include <string>

#include "shell/Recovery.h"

namespace {

// Where the text occurs in all.
int Count(const std::string& all, const std::string& text) {
    int count = 0;
    for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
        ++count;
    return count;
}

// A window id that no client has: every request about it fails with BadWindow.
const Window kNoWindow = 0x1fffff0;

TEST(XErrors, FailedRequestsAreReportedOncePerKindAndTheProgramGoesOn) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) GTEST_SKIP() << "no X server";
    InstallXErrorHandlers();
    testing::internal::CaptureStderr();
    for (int k = 0; k < 3; k++) {
        XMapWindow(display, kNoWindow);
        XUnmapWindow(display, kNoWindow);
        XSync(display, False);
    }
    const std::string reports = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(reports, "QUIRAN: X error: "), 2) << reports;
    EXPECT_EQ(Count(reports, "(request " + std::to_string(X_MapWindow) + ".0"), 1) << reports;
    EXPECT_EQ(Count(reports, "(request " + std::to_string(X_UnmapWindow) + ".0"), 1) << reports;
    EXPECT_NE(reports.find("BadWindow"), std::string::npos) << reports;
    // The connection still serves requests.
    EXPECT_NE(XInternAtom(display, "WM_PROTOCOLS", False), static_cast<Atom>(0));
    XCloseDisplay(display);
}

TEST(XErrors, LostConnectionExitsWith1000) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Display* display = XOpenDisplay(nullptr);
            if (display == nullptr) std::exit(7);
            InstallXErrorHandlers();
            // The server's end goes away as when it is killed.
            shutdown(ConnectionNumber(display), SHUT_RDWR);
            XSync(display, False);
            std::exit(8); // the handler never returns
        },
        testing::ExitedWithCode(kSegvExitStatus & 0xff),
        "QUIRAN: the connection to the X server is lost\n");
}

} // namespace
