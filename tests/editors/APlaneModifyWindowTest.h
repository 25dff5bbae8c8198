#pragma once

// What the plane window tests share: INPUT and OUTPUT elements with small stacks whose modify
// windows are the real plane windows, and the ways a user drives those windows.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "EditorsTestSupport.h"
#include "editors/AInputModifyWindow.h"
#include "editors/AOutputModifyWindow.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AOutputElem.h"
#include "tests/model/elements/PlaneText.h"

class PlaneWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // An INPUT element whose both stacks hold these planes (PlaneText form, all of one size).
    AInputElem* MakeInput(std::initializer_list<const char*> planes);
    // An OUTPUT element of that plane size and depth.
    AOutputElem* MakeOutput(int width, int height, int depth);
    AInputModifyWindow* OpenInput();
    AOutputModifyWindow* OpenOutput();

    // Types a number into a ReadInt field and presses Return.
    static void Enter(Widget field, int value);
    static int FieldValue(Widget field);
    // The radio toggle of that name in the window, set as a click sets it.
    static void Choose(APlaneModifyWindow* window, const char* toggle);
    static Widget Button(APlaneModifyWindow* window, const char* label);
    // A button press on cell (x, y) of the shown plane; motion onto it with state held.
    static void PressCell(APlaneModifyWindow* window, int x, int y);
    static void DragOnto(APlaneModifyWindow* window, int x, int y, unsigned int state);
    // Black pixels inside cell (x, y) as the window shows it.
    static int CellInk(APlaneModifyWindow* window, int x, int y);
    // Answers the open "Add XY-Plane" or "Delete XY-Plane" dialog.
    static void AnswerPlaneDialog(APlaneModifyWindow* window, int zPosition, int number);
    static std::string Plane(const D_IOElem& stack, int k) {
        return PlaneText(stack.GetPlaneList().GetXYPlane(k));
    }

    std::unique_ptr<AInputElem> input;
    std::unique_ptr<AOutputElem> output;
};
