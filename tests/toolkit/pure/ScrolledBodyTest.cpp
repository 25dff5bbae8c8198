#include <gtest/gtest.h>

#include "toolkit/ScrolledBody.h"

namespace {

struct BodyCase {
    const char* what;
    int naturalWidth, naturalHeight; // of the contents
    int otherWidth, otherHeight;     // the rest of the dialog and the window manager's frame
    int roomWidth, roomHeight;       // the screen
    BodySize size;
};

// Scroll bars 17 pixels across.
const BodyCase kBodies[] = {
    {"fits: as large as the contents", 470, 400, 6, 50, 800, 600, {470, 400, false, false}},
    {"fits to the pixel", 470, 550, 6, 50, 800, 600, {470, 550, false, false}},
    {"one pixel too tall: scrolls down, the bar widens it",
     470,
     551,
     6,
     50,
     800,
     600,
     {487, 550, false, true}},
    {"the Directories dialog under a window manager",
     470,
     578,
     6,
     75,
     800,
     600,
     {487, 525, false, true}},
    {"too wide: scrolls across, the bar makes it taller",
     900,
     300,
     6,
     50,
     800,
     600,
     {794, 317, true, false}},
    {"too wide, and the bar makes it too tall", 900, 540, 6, 50, 800, 600, {794, 550, true, true}},
    {"too tall, and the bar makes it too wide", 790, 700, 6, 50, 800, 600, {794, 550, true, true}},
    {"too large both ways", 2000, 2000, 6, 50, 800, 600, {794, 550, true, true}},
    {"no room at all: one pixel, never none", 100, 100, 900, 700, 800, 600, {1, 1, true, true}},
};

TEST(ScrolledBody, FitsTheContentsOrTheRoomLeftWithTheScrollBars) {
    for (const BodyCase& c : kBodies) {
        SCOPED_TRACE(c.what);
        const BodySize size = FitBody(c.naturalWidth, c.naturalHeight, c.otherWidth, c.otherHeight,
                                      c.roomWidth, c.roomHeight, 17, 17);
        EXPECT_EQ(size.width, c.size.width);
        EXPECT_EQ(size.height, c.size.height);
        EXPECT_EQ(size.scrollsX, c.size.scrollsX);
        EXPECT_EQ(size.scrollsY, c.size.scrollsY);
    }
}

} // namespace
