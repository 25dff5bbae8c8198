#include "model/elements/IconOcclusion.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

const int kWindowWidth = 300;
const int kWindowHeight = 200;

// Two icons in drawing order; whether the first is hidden by the second.
struct PairCase {
    const char* what;
    IconFootprint below, above;
    bool hidden;
};
const PairCase kPairs[] = {
    {"the same place", {10, 10, 61, 31, true}, {10, 10, 61, 31, true}, true},
    {"inside a larger one", {20, 20, 10, 10, true}, {10, 10, 61, 31, true}, true},
    {"one pixel to the right", {10, 10, 61, 31, true}, {11, 10, 61, 31, true}, false},
    {"one pixel lower", {10, 10, 61, 31, true}, {10, 11, 61, 31, true}, false},
    {"under one that paints nothing", {10, 10, 61, 31, true}, {10, 10, 61, 31, false}, false},
    {"across words, covered", {60, 5, 70, 3, true}, {59, 5, 72, 3, true}, true},
    {"across words, last column open", {60, 5, 70, 3, true}, {60, 5, 69, 3, true}, false},
    {"reaching out of the window", {-5, 10, 61, 31, true}, {-10, 0, 100, 50, true}, false},
    {"reaching past the bottom", {10, 180, 61, 31, true}, {0, 150, 100, 100, true}, false},
    {"at the window's far edge", {239, 169, 61, 31, true}, {239, 169, 61, 31, true}, true},
};

TEST(IconOcclusion, AnIconIsHiddenOnlyWhenEveryPixelIsPaintedLater) {
    for (const PairCase& c : kPairs) {
        SCOPED_TRACE(c.what);
        const std::vector<char> hidden =
            FindHiddenIcons({c.below, c.above}, kWindowWidth, kWindowHeight);
        ASSERT_EQ(hidden.size(), 2u);
        EXPECT_EQ(hidden[0] != 0, c.hidden);
        EXPECT_EQ(hidden[1], 0) << "nothing is drawn after the last icon";
    }
}

TEST(IconOcclusion, LaterIconsCoverTogether) {
    // The left and right halves of the first icon, then a third that leaves one pixel of the
    // second open.
    const std::vector<char> hidden = FindHiddenIcons({{100, 50, 61, 31, true},
                                                      {100, 50, 30, 31, true},
                                                      {130, 50, 31, 31, true},
                                                      {101, 50, 29, 31, true},
                                                      {100, 51, 1, 30, true}},
                                                     kWindowWidth, kWindowHeight);
    EXPECT_EQ(hidden, (std::vector<char>{1, 0, 0, 0, 0}));
}

TEST(IconOcclusion, AnEarlierIconHidesNothing) {
    const std::vector<char> hidden =
        FindHiddenIcons({{0, 0, 100, 100, true}, {10, 10, 5, 5, true}}, 300, 200);
    EXPECT_EQ(hidden, (std::vector<char>{0, 0}));
}

// Against painting every pixel: an icon is hidden exactly when it lies in the window and every
// one of its pixels is painted last by an opaque icon drawn after it.
TEST(IconOcclusion, AgreesWithPaintingEveryPixel) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; round++) {
        SCOPED_TRACE(round);
        std::vector<IconFootprint> icons;
        for (int i = 0; i < 400; i++) {
            const int width = 1 + static_cast<int>(random() % 80);
            const int height = 1 + static_cast<int>(random() % 40);
            icons.push_back({static_cast<int>(random() % 340) - 20,
                             static_cast<int>(random() % 240) - 20, width, height,
                             random() % 8 != 0});
        }
        std::vector<int> last(kWindowWidth * kWindowHeight, -1);
        for (int i = 0; i < static_cast<int>(icons.size()); i++) {
            const IconFootprint& icon = icons[i];
            if (!icon.opaque) continue;
            for (int y = std::max(icon.y, 0); y < std::min(icon.y + icon.height, kWindowHeight);
                 y++) {
                for (int x = std::max(icon.x, 0); x < std::min(icon.x + icon.width, kWindowWidth);
                     x++) {
                    last[y * kWindowWidth + x] = i;
                }
            }
        }
        const std::vector<char> hidden = FindHiddenIcons(icons, kWindowWidth, kWindowHeight);
        int hiddenCount = 0;
        for (int i = 0; i < static_cast<int>(icons.size()); i++) {
            const IconFootprint& icon = icons[i];
            bool expected = icon.x >= 0 && icon.y >= 0 && icon.x + icon.width <= kWindowWidth &&
                            icon.y + icon.height <= kWindowHeight;
            for (int y = icon.y; expected && y < icon.y + icon.height; y++) {
                for (int x = icon.x; expected && x < icon.x + icon.width; x++) {
                    // Painted by an opaque icon after this one (never by itself: the last of
                    // several identical ones is seen).
                    expected = last[y * kWindowWidth + x] > i;
                }
            }
            EXPECT_EQ(hidden[i] != 0, expected) << "icon " << i;
            hiddenCount += expected;
        }
        EXPECT_GT(hiddenCount, 20) << "the icons must overlap enough to show anything";
    }
}

} // namespace
