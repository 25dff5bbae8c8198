#pragma once

// What the fixtures of the element types' tests share: the clocks start fresh (one clock, period
// 100 from 0) before the fixture's element is made and are cleared after it has gone, and Resize
// gives an element of one input and one output planes of one size there.

#include <gtest/gtest.h>

#include "model/data/ClockList.h"
#include "model/elements/AElement.h"

class ElementFixture : public ::testing::Test {
protected:
    ElementFixture() { ResetClocks(); }
    ~ElementFixture() override { GetClocks().Clear(); }

    static void Resize(AElement& element, int width, int height) {
        element.SetInputPlaneSize(0, width, height);
        element.SetOutputPlaneSize(0, width, height);
    }
};
