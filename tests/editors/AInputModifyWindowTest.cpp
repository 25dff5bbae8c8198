// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AInputModifyWindow.h"

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "APlaneModifyWindowTest.h"
#include "model/format/ParseError.h"
#include "toolkit/ReadInt.h"

namespace {

using AInputModifyWindowTest = PlaneWindowTest;

// Records the file objects whose destruction must close the file dialog.
class ClosingRecorder : public FileDialogCloser {
public:
    ClosingRecorder() { SetFileDialogCloser(this); }
    ~ClosingRecorder() override { SetFileDialogCloser(nullptr); }
    void CloseFileDialog(const LoadSaveObject& destroyed) override { closed.push_back(&destroyed); }
    std::vector<const LoadSaveObject*> closed;
};

const char* const kPlane0 = "1000/0001";
const char* const kPlane1 = "0100/0011";

} // namespace

TEST_F(AInputModifyWindowTest, OkCommitsToBothStacksButNotToTheOutput) {
    MakeInput({kPlane0, kPlane1});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    PressCell(window, 3, 0);
    Click(Button(window, "OK"));
    EXPECT_EQ(input->GetModifyWindow(), nullptr);
    EXPECT_TRUE(input->IsModified());
    EXPECT_EQ(Plane(input->GetWorkingData(), 0), "1001/0001");
    EXPECT_EQ(Plane(input->GetStoredData(), 0), "1001/0001");
    EXPECT_EQ(Plane(input->GetStoredData(), 1), kPlane1);
    // The output keeps what it had until the next step or reset.
    EXPECT_EQ(PlaneText(*input->GetOutputPlane(0)), "0000/0000");
}

TEST_F(AInputModifyWindowTest, ApplyCommitsAndShowsTheCurrentPlaneAtTheOutput) {
    MakeInput({kPlane0, kPlane1});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    Enter(window->GetPositionField(), 1);
    PressCell(window, 0, 1);
    Click(Button(window, "Apply"));
    EXPECT_EQ(input->GetModifyWindow(), window);
    EXPECT_TRUE(input->IsModified());
    EXPECT_EQ(Plane(input->GetStoredData(), 1), "0100/1011");
    // The current plane is plane 0, whatever slice the window shows.
    EXPECT_EQ(PlaneText(*input->GetOutputPlane(0)), kPlane0);
    // Later edits stay in the window.
    PressCell(window, 0, 0);
    EXPECT_EQ(Plane(input->GetWorkingData(), 1), "0100/1011");
}

TEST_F(AInputModifyWindowTest, CancelWindowCloseAndCloseModifyWindowDiscardTheEdits) {
    MakeInput({kPlane0});
    for (int way = 0; way < 3; way++) {
        SCOPED_TRACE(way);
        AInputModifyWindow* window = OpenInput();
        ASSERT_NE(window, nullptr);
        PressCell(window, 2, 1);
        Click(Button(window, " Add XY-Plane "));
        AnswerPlaneDialog(window, 1, 3);
        if (way == 0) Click(Button(window, "Cancel"));
        if (way == 1) SendClose(window->GetShell());
        if (way == 2) input->CloseModifyWindow();
        EXPECT_EQ(input->GetModifyWindow(), nullptr);
        EXPECT_FALSE(input->IsModified());
        EXPECT_EQ(input->GetWorkingData().GetPlaneList().GetCount(), 1);
        EXPECT_EQ(Plane(input->GetWorkingData(), 0), kPlane0);
    }
}

TEST_F(AInputModifyWindowTest, ReopensOnTheSliceAndLineItShowed) {
    MakeInput({kPlane0, kPlane1});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    Choose(window, "XZ-Plane");
    Enter(window->GetPositionField(), 1);
    Choose(window, "South-North");
    Choose(window, "-/+");
    Enter(window->GetLineField(), 2);
    Click(Button(window, "Cancel"));
    const IOViewSettings& stored = input->GetViewSettings();
    EXPECT_EQ(stored.view, kXZPlane);
    EXPECT_EQ(stored.position, 1);
    EXPECT_EQ(stored.direction, kSouthNorth);
    EXPECT_EQ(stored.sign, kTwosComplement);
    EXPECT_EQ(stored.line, 2);

    window = OpenInput();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetView(), kXZPlane);
    EXPECT_EQ(window->GetPosition(), 1);
    EXPECT_EQ(FieldValue(window->GetPositionField()), 1);
    EXPECT_EQ(FieldValue(window->GetLineField()), 2);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "0001/0011");
    // A copy of the element keeps them too.
    std::unique_ptr<AElement> copy(AElement::Clone(*input));
    EXPECT_EQ(static_cast<AInputElem*>(copy.get())->GetViewSettings().line, 2);
}

TEST_F(AInputModifyWindowTest, SettingsBeyondAShrunkenStackArePulledIn) {
    MakeInput({kPlane0, kPlane1});
    input->SetViewSettings({kXYPlane, kNorthSouth, kUnsigned, kDual, 5, 9, 0, 0});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetPosition(), 1);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), kPlane1);
    EXPECT_EQ(window->GetCodecSettings().line, 3);
    // Column 3 read from the top down: rows 1, 0 are bits 0, 1.
    EXPECT_EQ(FieldValue(window->GetValueField()), 1);
    Click(Button(window, "OK"));
    EXPECT_EQ(Plane(input->GetWorkingData(), 1), kPlane1);
}

TEST_F(AInputModifyWindowTest, MatrixFilesLoadIntoTheShownPlane) {
    MakeInput({kPlane0, kPlane1});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    Click(Button(window, " Load As Matrix "));
    Click(Button(window, " Save As Matrix "));
    ASSERT_EQ(Host().requests.size(), 2u);
    EXPECT_FALSE(Host().requests[0].save);
    EXPECT_TRUE(Host().requests[1].save);
    for (const FileRequest& request : Host().requests) {
        EXPECT_EQ(request.kind, kMatrixFile);
        EXPECT_EQ(request.object, &window->GetShownPlane());
    }
    // What the file dialog's OK does: the matrix reads with the element as its argument.
    Matrix& shown = const_cast<Matrix&>(window->GetShownPlane());
    std::istringstream other("MATRIX {\n  DIMENSION: (3,2)\n  DATA {\n    111\n    111\n  }\n}\n");
    ClearParseError();
    EXPECT_EQ(shown.Read(other, input.get()), kDimensionError);
    EXPECT_EQ(PlaneText(shown), kPlane0);
    std::istringstream file("MATRIX {\n  DIMENSION: (4,2)\n  DATA {\n    0110\n    1001\n  }\n}\n");
    ClearParseError();
    EXPECT_EQ(shown.Read(file, input.get()), kNoError);
    Flush();
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "1001/0110");
    EXPECT_GT(CellInk(window, 3, 0), 0);
    EXPECT_EQ(CellInk(window, 0, 1), 0);
    Click(Button(window, "OK"));
    EXPECT_EQ(Plane(input->GetStoredData(), 0), "1001/0110");
}

TEST_F(AInputModifyWindowTest, ResetReloadsTheStackAndKeepsThePositionInside) {
    MakeInput({kPlane0, kPlane1, "1111/1111"});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    Enter(window->GetPositionField(), 2);
    PressCell(window, 0, 0); // not stored: the reset drops it
    // The stored stack has changed under the window (a load).
    PlaneList stored(4, 2, 2);
    stored.SetXYPlane(PlaneFromText("0011/1100"), 1);
    input->GetStoredData().GetPlaneList() = stored;
    input->Reset();
    Flush();
    EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 2);
    EXPECT_EQ(window->GetPosition(), 1);
    EXPECT_EQ(FieldValue(window->GetPositionField()), 1);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "0011/1100");
    EXPECT_EQ(LabelText(window->GetDimLabel()), "[4,2,2]");
    EXPECT_GT(CellInk(window, 2, 0), 0);
}

TEST_F(AInputModifyWindowTest, ReadingIntoTheWindowStackRefreshesIt) {
    MakeInput({kPlane0, kPlane1});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    Enter(window->GetPositionField(), 1);
    std::ostringstream saved;
    ASSERT_EQ(input->Write(saved, 0, nullptr), kNoError);
    // What a reader into the window's stack does: the window is refreshed whatever the outcome.
    std::istringstream in(saved.str());
    ClearParseError();
    EXPECT_EQ(input->Read(in, const_cast<D_IOElem*>(&window->GetStack())), kNoError);
    EXPECT_EQ(window->GetPosition(), 0);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), kPlane0);
}

TEST_F(AInputModifyWindowTest, NothingOutlivesTheElement) {
    ClosingRecorder closer;
    MakeInput({kPlane0, kPlane1});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    const Matrix* shown = &window->GetShownPlane();
    Click(Button(window, " Load As Matrix "));
    Click(Button(window, " Add XY-Plane "));
    ASSERT_NE(window->GetPlaneDialog(), nullptr);
    Widget shell = window->GetShell();
    RunInDispatch([&] { input.reset(); });
    Flush();
    EXPECT_FALSE(IsLivePopup(Editors().topLevel, shell));
    // The file dialog serving the window's plane is told to close.
    bool told = false;
    for (const LoadSaveObject* object : closer.closed)
        told = told || object == shown;
    EXPECT_TRUE(told);
}

// A window that was only looked at, or that followed a run, commits nothing: the stored stack
// (what a save writes) and the modified flag stay, whatever the run left in the working stack.
struct LookCase {
    const char* what;
    int periodsBefore; // run before the window opens
    bool resetAcross;  // a reset while the window is open
    int periodsAcross; // run while the window is open
    const char* button;
};
const LookCase kLooks[] = {
    {"looked at", 0, false, 0, "OK"},
    {"opened after three periods", 3, false, 0, "OK"},
    {"open across a reset and one period", 0, true, 1, "OK"},
    {"open across two periods, Apply", 0, false, 2, "Apply"},
    {"opened after one period, Apply", 1, false, 0, "Apply"},
};

TEST_F(AInputModifyWindowTest, AWindowWithoutEditsLeavesTheStoredStack) {
    for (const LookCase& c : kLooks) {
        SCOPED_TRACE(c.what);
        MakeInput({kPlane0, kPlane1, "1111/1111"});
        for (int i = 0; i < c.periodsBefore; i++)
            input->Simulate();
        AInputModifyWindow* window = OpenInput();
        ASSERT_NE(window, nullptr);
        if (c.resetAcross) input->Reset();
        for (int i = 0; i < c.periodsAcross; i++)
            input->Simulate();
        Flush();
        const std::string current =
            PlaneText(input->GetWorkingData().GetPlaneList().GetCurrentPlane());
        Click(Button(window, c.button));
        EXPECT_FALSE(input->IsModified());
        EXPECT_EQ(input->GetStoredData().GetPlaneList().GetPosition(), 0);
        EXPECT_EQ(Plane(input->GetStoredData(), 0), kPlane0);
        EXPECT_EQ(Plane(input->GetStoredData(), 1), kPlane1);
        EXPECT_EQ(Plane(input->GetStoredData(), 2), "1111/1111");
        if (std::string(c.button) == "Apply") {
            EXPECT_EQ(PlaneText(*input->GetOutputPlane(0)), current);
            EXPECT_EQ(input->GetModifyWindow(), window);
            input->CloseModifyWindow();
        } else {
            EXPECT_EQ(input->GetModifyWindow(), nullptr);
        }
    }
}

// An edit commits the window stack once; what a later run leaves is not an edit.
TEST_F(AInputModifyWindowTest, ApplyCommitsAnEditOnce) {
    MakeInput({kPlane0, kPlane1});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    PressCell(window, 1, 1);
    Click(Button(window, "Apply"));
    EXPECT_EQ(Plane(input->GetStoredData(), 0), "1000/0101");
    input->Simulate();
    input->Simulate();
    Click(Button(window, "OK"));
    EXPECT_EQ(Plane(input->GetStoredData(), 0), "1000/0101");
    EXPECT_EQ(Plane(input->GetStoredData(), 1), kPlane1);
}

// Every kind of edit is committed, also in a window opened after a run.
struct EditCase {
    const char* what;
    std::function<void(AInputModifyWindow*)> edit;
    int count;          // planes in the stored stack after OK
    const char* plane0; // stored plane 0 after OK
};

TEST_F(AInputModifyWindowTest, EveryKindOfEditIsCommitted) {
    const EditCase kEdits[] = {
        {"a cell", [](AInputModifyWindow* w) { PressCell(w, 1, 0); }, 2, "1100/0001"},
        {"Set All", [](AInputModifyWindow* w) { Click(Button(w, " Set All ")); }, 2, "1111/1111"},
        {"Unset All", [](AInputModifyWindow* w) { Click(Button(w, " Unset All ")); }, 2,
         "0000/0000"},
        // East-West on row 0: the least significant cell at the right.
        {"a value", [](AInputModifyWindow* w) { Enter(w->GetValueField(), 3); }, 2, "0011/0001"},
        {"Add",
         [](AInputModifyWindow* w) {
             Click(Button(w, " Add XY-Plane "));
             AnswerPlaneDialog(w, 0, 1);
         },
         3, "0000/0000"},
        {"Del",
         [](AInputModifyWindow* w) {
             Click(Button(w, " Del XY-Plane "));
             AnswerPlaneDialog(w, 0, 1);
         },
         1, kPlane1},
        {"a matrix load",
         [](AInputModifyWindow* w) {
             std::istringstream file("MATRIX {\n  DIMENSION: (4,2)\n  DATA {\n    0110\n"
                                     "    0110\n  }\n}\n");
             ClearParseError();
             Matrix& shown = const_cast<Matrix&>(w->GetShownPlane());
             EXPECT_EQ(shown.Read(file, w->GetElement()), kNoError);
         },
         2, "0110/0110"},
    };
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.what);
        MakeInput({kPlane0, kPlane1});
        input->Simulate();
        input->Reset();
        AInputModifyWindow* window = OpenInput();
        ASSERT_NE(window, nullptr);
        c.edit(window);
        Click(Button(window, "OK"));
        EXPECT_TRUE(input->IsModified());
        EXPECT_EQ(input->GetStoredData().GetPlaneList().GetCount(), c.count);
        EXPECT_EQ(Plane(input->GetStoredData(), 0), c.plane0);
    }
}

// Typed at the keyboard into the Value field of line 0 (East-West, "+", Dual): 5 and Return
// writes the line; 300 does not fit four cells, so Return rings and shows the fallback 0, which
// is the field's own text: moving the focus on, or Return on it, writes nothing.
TEST_F(AInputModifyWindowTest, TheValueFieldsOwnFallbackIsNeverWritten) {
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    // A refused key (a letter) changes no text, so the fallback stays the field's own.
    const char* const kAway[] = {"Tab", "Return", "Return Tab", "a Tab"};
    for (const char* away : kAway) {
        SCOPED_TRACE(away);
        MakeInput({"0000/0000"});
        AInputModifyWindow* window = OpenInput();
        ASSERT_NE(window, nullptr);
        Flush();
        Widget value = window->GetValueField();
        ASSERT_TRUE(RealTypeInto(value, "5"));
        ASSERT_TRUE(testgui::RealKeys(window->GetShell(), "Return"));
        EXPECT_EQ(PlaneText(window->GetShownPlane()), "0101/0000");
        ASSERT_TRUE(RealTypeInto(value, "300"));
        ASSERT_TRUE(testgui::RealKeys(window->GetShell(), "Return"));
        EXPECT_EQ(testgui::TextOf(value), "0");
        ASSERT_TRUE(testgui::RealKeys(window->GetShell(), away));
        Click(Button(window, "OK"));
        EXPECT_EQ(Plane(input->GetStoredData(), 0), "0101/0000");
    }
}
