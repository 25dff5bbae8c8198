// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/Colors.h"

#include "ToolkitDisplay.h"

#include <X11/Xutil.h>

namespace {

class ColorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        Watchdog(60);
    }

    // The pixel that the default colormap gives the name.
    static Pixel Named(const char* name) {
        Display* display = Toolkit().display;
        XColor screen;
        XColor exact;
        const Colormap map = DefaultColormapOfScreen(XtScreen(Toolkit().topLevel));
        EXPECT_NE(XAllocNamedColor(display, map, name, &screen, &exact), 0) << name;
        return screen.pixel;
    }
};

TEST_F(ColorsTest, PaletteHoldsTheNamedColours) {
    struct Slot {
        Pixel (*getter)();
        const char* name;
    };
    const Slot slots[] = {
        {GetWhite, "white"},    {GetGray, "gray"},     {GetLightGray, "light gray"},
        {GetGray50, "gray50"},  {GetRed, "red"},       {GetBlue, "blue"},
        {GetGreen, "green"},    {GetGray90, "gray90"}, {GetYellow, "yellow"},
        {GetGray90b, "gray90"},
    };
    for (const Slot& s : slots) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.getter(), Named(s.name));
    }
    EXPECT_EQ(GetBlack(), BlackPixelOfScreen(XtScreen(Toolkit().topLevel)));

    Visual* visual = DefaultVisualOfScreen(XtScreen(Toolkit().topLevel));
    if (visual->c_class == TrueColor && visual->red_mask == 0xff0000 && visual->blue_mask == 0xff) {
        EXPECT_EQ(GetRed(), 0xff0000u);
        EXPECT_EQ(GetGray90(), 0xe5e5e5u);
        EXPECT_EQ(GetLightGray(), 0xd3d3d3u);
        EXPECT_EQ(GetWhite(), 0xffffffu);
    }
}

TEST_F(ColorsTest, UnknownNameGivesPixelZero) {
    EXPECT_EQ(GetColorByName("no such colour at all"), 0u);
    EXPECT_EQ(GetColorByName("yellow"), GetYellow());
}

TEST_F(ColorsTest, StippleIsATwoByTwoCheckerboard) {
    ASSERT_NE(GetStipple(), static_cast<Pixmap>(None));
    XImage* image = XGetImage(Toolkit().display, GetStipple(), 0, 0, 2, 2, 1, XYPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0), 1u);
    EXPECT_EQ(XGetPixel(image, 1, 0), 0u);
    EXPECT_EQ(XGetPixel(image, 0, 1), 0u);
    EXPECT_EQ(XGetPixel(image, 1, 1), 1u);
    XDestroyImage(image);
}

} // namespace
