#include "model/elements/PinCode.h"

#include <gtest/gtest.h>

struct PinCase {
    int code;
    bool input;
    bool output;
    int index;
};
const PinCase kPins[] = {{0, false, false, -1}, {1, false, false, -1}, {2, true, false, 0},
                         {3, false, true, 0},   {6, true, false, 2},   {7, false, true, 2}};

TEST(PinCode, DecodesDirectionAndIndex) {
    for (const PinCase& c : kPins) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(IsInputPin(c.code), c.input);
        EXPECT_EQ(IsOutputPin(c.code), c.output);
        EXPECT_EQ(PinIndex(c.code), c.index);
    }
    EXPECT_EQ(InputPinCode(2), 6);
    EXPECT_EQ(OutputPinCode(0), 3);
}
