// The tests' screenshot helper: nothing is written unless asked for, and what is written is the
// window's part of the screen, cut to the screen's edges, in the colours it shows.

// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "ToolkitDisplay.h"
#include "tests/support/screenshot/Screenshot.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const unsigned long kColour = 0x123456;

// A plain window of one colour, over everything, gone with the object.
class ColouredWindow {
public:
    ColouredWindow(Display* display, int x, int y, int width, int height) : display(display) {
        XSetWindowAttributes attributes = {};
        attributes.override_redirect = True;
        attributes.background_pixel = kColour;
        window =
            XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
        XMapRaised(display, window);
        XSync(display, False);
    }
    ~ColouredWindow() {
        XDestroyWindow(display, window);
        XSync(display, False);
    }
    ColouredWindow(const ColouredWindow&) = delete;
    ColouredWindow& operator=(const ColouredWindow&) = delete;

    Window Get() const { return window; }

private:
    Display* display;
    Window window;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ScreenshotHelper : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        char pattern[] = "/tmp/quiran-shots-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        const char* before = std::getenv("QUIRAN_SCREENSHOTS");
        asked = before != nullptr;
        if (asked) previous = before;
    }
    void TearDown() override {
        if (asked) {
            setenv("QUIRAN_SCREENSHOTS", previous.c_str(), 1);
        } else {
            unsetenv("QUIRAN_SCREENSHOTS");
        }
        if (!folder.empty()) std::system(("rm -rf '" + folder + "'").c_str());
    }

    std::string folder;
    bool asked = false;
    std::string previous;
};

} // namespace

TEST_F(ScreenshotHelper, WritesNothingUnlessAskedFor) {
    Display* display = Toolkit().display;
    ColouredWindow window(display, 500, 400, 40, 20);
    unsetenv("QUIRAN_SCREENSHOTS");
    EXPECT_TRUE(testshot::Save(display, window.Get(), "unasked"));
    setenv("QUIRAN_SCREENSHOTS", "", 1);
    EXPECT_TRUE(testshot::Save(display, window.Get(), "unasked"));
    EXPECT_EQ(access((folder + "/unasked.ppm").c_str(), F_OK), -1);
}

TEST_F(ScreenshotHelper, WritesTheWindowsPartOfTheScreenCutToItsEdges) {
    Display* display = Toolkit().display;
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    struct Case {
        const char* name;
        int x, y, width, height; // the window
        int askWidth, askHeight; // 0: the window's own size
        int shotWidth, shotHeight;
    };
    const Case cases[] = {
        {"whole", 500, 400, 40, 20, 0, 0, 40, 20},
        {"corner", 500, 400, 40, 20, 10, 5, 10, 5},
        {"off-left", -10, 400, 40, 20, 0, 0, 30, 20},
        {"off-right", screenWidth - 10, 400, 40, 20, 0, 0, 10, 20},
    };
    setenv("QUIRAN_SCREENSHOTS", folder.c_str(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ColouredWindow window(display, c.x, c.y, c.width, c.height);
        ASSERT_TRUE(testshot::Save(display, window.Get(), c.name, c.askWidth, c.askHeight));
        const std::string ppm = ReadFile(folder + "/" + c.name + ".ppm");
        const std::string header =
            "P6\n" + std::to_string(c.shotWidth) + " " + std::to_string(c.shotHeight) + "\n255\n";
        ASSERT_EQ(ppm.substr(0, header.size()), header);
        ASSERT_EQ(ppm.size(), header.size() + static_cast<size_t>(c.shotWidth * c.shotHeight * 3));
        // Red, green and blue of every pixel, in that order.
        int wrong = 0;
        for (size_t i = header.size(); i < ppm.size(); i += 3) {
            if (static_cast<unsigned char>(ppm[i]) != 0x12 ||
                static_cast<unsigned char>(ppm[i + 1]) != 0x34 ||
                static_cast<unsigned char>(ppm[i + 2]) != 0x56) {
                wrong++;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(ScreenshotHelper, AWindowWhollyOffTheScreenIsAFailure) {
    Display* display = Toolkit().display;
    setenv("QUIRAN_SCREENSHOTS", folder.c_str(), 1);
    ColouredWindow window(display, -100, 400, 40, 20);
    EXPECT_FALSE(testshot::Save(display, window.Get(), "gone"));
    EXPECT_FALSE(testshot::Save(display, 0, "none"));
}
