// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ShowDataWindow.h"

#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>
#include <Xm/ToggleB.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "EditorsTestSupport.h"
#include "model/data/ClockList.h"
#include "model/elements/ElementType.h"
#include "toolkit/MatrixGeometry.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/ReadInt.h"

struct SimLabelCase {
    SimTime last;
    uint32_t delay;
    const char* text;
};

TEST(ShowDataWindow, SimLabelShowsTheSpanOfTheLastStep) {
    const SimLabelCase cases[] = {
        {kNeverSimulated, 0, " "},
        {100, 10, "90-100"},
        {3, 3, "0-3"},
        {0, 0, "0-0"},
        {5, 10, "5"}, // the delay reaches back before time 0
        {4294967294u, 1, "4294967293-4294967294"},
    };
    for (const SimLabelCase& c : cases) {
        SCOPED_TRACE(c.last);
        EXPECT_EQ(SimLabelText(c.last, c.delay), c.text);
    }
}

TEST(ShowDataWindow, AreaSizeIsAQuarterOfTheZoomPerCellPlusTheMargin) {
    EXPECT_EQ(ShowDataAreaSize(12, 16), 3 * 16 + 21);
    EXPECT_EQ(ShowDataAreaSize(150, 16), 37 * 16 + 21);
    EXPECT_EQ(ShowDataAreaSize(100, 1), 46);
}

namespace {

class ShowDataWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        Ui().queue.Clear();
        Host().requests.clear();
    }
    void TearDown() override {
        element.reset();
        Ui().queue.Clear();
        Flush();
    }
    ShowDataWindow* Open(int outputs, int index) {
        element = std::make_unique<ATestElem>(kMask, 1, outputs);
        element->OpenShowDataWindow(index);
        Flush();
        return static_cast<ShowDataWindow*>(element->GetShowDataWindow(index));
    }
    // Black pixels in cell (x, y) of output index as the window shows it now.
    int CellInk(ShowDataWindow* window, int index, int x, int y) {
        const Matrix* plane = element->GetOutputPlane(index);
        const PixelRect cell = MatrixCellRect(plane->GetDimY(), window->GetZoom(), x, y);
        return BlackPixels(window->GetDrawArea(index), cell.x, cell.y, cell.width, cell.height);
    }

    std::unique_ptr<ATestElem> element;
};

} // namespace

TEST_F(ShowDataWindowTest, AllOutputsGetAPaneEachAndANumberToSave) {
    ShowDataWindow* window = Open(3, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetTitle(), std::string("Show Data MASK"));
    for (int i = 0; i < 3; i++)
        EXPECT_NE(window->GetDrawArea(i), nullptr) << i;
    EXPECT_TRUE(XtIsManaged(window->GetOutLabel()));
    ASSERT_NE(window->GetOutputField(), nullptr);
    int32_t number = 0;
    ASSERT_TRUE(ReadIntGetValue(window->GetOutputField(), &number));
    EXPECT_EQ(number, 1);
    SetText(ReadIntGetText(window->GetOutputField()), "3");
    Click(window->GetSaveButton());
    ASSERT_EQ(Host().requests.size(), 1u);
    EXPECT_TRUE(Host().requests[0].save);
    EXPECT_EQ(Host().requests[0].kind, kMatrixFile);
    EXPECT_EQ(Host().requests[0].object, element->GetOutputPlane(2));
    // An output the element lacks saves nothing.
    SetText(ReadIntGetText(window->GetOutputField()), "4");
    Click(window->GetSaveButton());
    EXPECT_EQ(Host().requests.size(), 1u);
}

TEST_F(ShowDataWindowTest, OneOutputAloneHasNoNumberAndSavesThatOutput) {
    ShowDataWindow* window = Open(3, 3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetOutputField(), nullptr);
    EXPECT_EQ(window->GetDrawArea(0), nullptr);
    EXPECT_NE(window->GetDrawArea(2), nullptr);
    EXPECT_FALSE(XtIsManaged(window->GetOutLabel()));
    Click(window->GetSaveButton());
    ASSERT_EQ(Host().requests.size(), 1u);
    EXPECT_EQ(Host().requests[0].object, element->GetOutputPlane(2));
    // The element keeps one window per slot.
    element->OpenShowDataWindow(3);
    EXPECT_EQ(element->GetShowDataWindow(3), window);
    element->OpenShowDataWindow(4);
    EXPECT_EQ(element->GetShowDataWindow(4), nullptr);
}

TEST_F(ShowDataWindowTest, FollowsARunningSimulation) {
    ShowDataWindow* window = Open(1, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(LabelText(window->GetSimLabel()), " ");
    ASSERT_EQ(SetClock(0, 10, 0), 1);
    element->SetClock(1);
    element->SetTime(3);
    std::vector<std::string> labels;
    std::vector<int> ink;
    element->afterStep = [&] {
        Flush();
        labels.push_back(LabelText(window->GetSimLabel()));
        ink.push_back(CellInk(window, 0, element->steps - 1, 0));
    };
    element->Reset();
    Ui().queue.RunUntil(35);

    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[0], "0-3");
    EXPECT_EQ(labels[1], "10-13");
    EXPECT_EQ(labels[2], "20-23");
    EXPECT_EQ(labels[3], "30-33");
    for (size_t i = 0; i < ink.size(); i++)
        EXPECT_GT(ink[i], 0) << i;
    // A cell the run has not reached is blank.
    EXPECT_EQ(CellInk(window, 0, 5, 0), 0);
    ResetClocks();
}

// Runs ever longer: right after each step, before any event is served, the label shows its whole
// text (it is drawn, and as wide as the text) and the Update toggle begins after it.
TEST_F(ShowDataWindowTest, LastSimulatedShowsItsWholeTextAtEveryStep) {
    ShowDataWindow* window = Open(1, 0);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(SetClock(0, 1000000000, 0), 1);
    element->SetClock(1);
    element->SetTime(10);
    Widget label = window->GetSimLabel();
    std::vector<std::string> labels;
    element->afterStep = [&] {
        XSync(XtDisplay(label), False);
        const std::string text = LabelText(label);
        SCOPED_TRACE(text);
        labels.push_back(text);
        Dimension width = 0, height = 0, margin = 0, left = 0, right = 0, shadow = 0, highlight = 0;
        XmRenderTable table = nullptr;
        Position x = 0;
        XtVaGetValues(label, XmNwidth, &width, XmNheight, &height, XmNmarginWidth, &margin,
                      XmNmarginLeft, &left, XmNmarginRight, &right, XmNshadowThickness, &shadow,
                      XmNhighlightThickness, &highlight, XmNrenderTable, &table, XmNx, &x, nullptr);
        OwnedXmString string(text.c_str());
        const int needed =
            XmStringWidth(table, string.Get()) + 2 * (margin + shadow + highlight) + left + right;
        EXPECT_GE(width, needed);
        Position toggleX = 0;
        XtVaGetValues(window->GetUpdateToggle(), XmNx, &toggleX, nullptr);
        EXPECT_GE(toggleX, x + needed);
        EXPECT_GT(BlackPixels(label, 0, 0, width, height), 0);
    };
    element->Reset();
    Ui().queue.RunUntil(4000000010u);

    const std::vector<std::string> expected = {"0-10", "1000000000-1000000010",
                                               "2000000000-2000000010", "3000000000-3000000010",
                                               "4000000000-4000000010"};
    EXPECT_EQ(labels, expected);
    ResetClocks();
}

TEST_F(ShowDataWindowTest, AFrozenDisplayIgnoresStepsUntilUpdateIsOn) {
    ShowDataWindow* window = Open(2, 0);
    ASSERT_NE(window, nullptr);
    element->SetTime(2);
    Ui().queue.Schedule(1, element.get(), 0);
    Ui().queue.RunUntil(5);
    Flush();
    EXPECT_EQ(LabelText(window->GetSimLabel()), "1-3");
    EXPECT_GT(CellInk(window, 1, 0, 0), 0);

    XmToggleButtonSetState(window->GetUpdateToggle(), False, True);
    EXPECT_EQ(window->GetUpdate(), 0);
    Ui().queue.Schedule(6, element.get(), 0);
    Ui().queue.RunUntil(10);
    Flush();
    EXPECT_EQ(element->steps, 2);
    EXPECT_EQ(LabelText(window->GetSimLabel()), "1-3");
    EXPECT_EQ(CellInk(window, 1, 1, 0), 0);

    XmToggleButtonSetState(window->GetUpdateToggle(), True, True);
    Flush();
    EXPECT_EQ(LabelText(window->GetSimLabel()), "6-8");
    EXPECT_GT(CellInk(window, 1, 1, 0), 0);
}

TEST_F(ShowDataWindowTest, PositionLabelChangesOnlyBetweenCells) {
    ShowDataWindow* window = Open(2, 0);
    ASSERT_NE(window, nullptr);
    Widget area = window->GetDrawArea(1);
    const int zoom = window->GetZoom();
    const PixelRect cell = MatrixCellRect(16, zoom, 2, 15); // top row
    SendCrossing(area, EnterNotify, cell.x + 1, cell.y + 1);
    EXPECT_EQ(LabelText(window->GetOutLabel()), "2");
    EXPECT_EQ(LabelText(window->GetPosLabel()), "2,15");
    XmString mark = XmStringCreateLocalized(const_cast<char*>("mark"));
    XtVaSetValues(window->GetPosLabel(), XmNlabelString, mark, nullptr);
    XmStringFree(mark);
    SendMotion(area, cell.x + 2, cell.y + 2);
    EXPECT_EQ(LabelText(window->GetPosLabel()), "mark");
    SendMotion(area, cell.x + CellPitch(zoom) + 1, cell.y + 1);
    EXPECT_EQ(LabelText(window->GetPosLabel()), "3,15");
    SendMotion(area, 2, 2); // the margin
    EXPECT_EQ(LabelText(window->GetPosLabel()), " ");
    SendCrossing(area, LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetOutLabel()), " ");
}

// Windows of one output, of all outputs, and of the twelfth output.
struct LayoutCase {
    int outputs;
    int index;
};

const LayoutCase kLayouts[] = {{1, 0}, {1, 1}, {2, 0}, {2, 2}, {12, 0}, {12, 12}};

TEST_F(ShowDataWindowTest, ThePointerOverEveryPlaneLeavesTheLabelsWholeAndTheLayoutSettled) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(std::to_string(c.outputs) + " outputs, window " + std::to_string(c.index));
        WarningRecorder recorder;
        ShowDataWindow* window = Open(c.outputs, c.index);
        ASSERT_NE(window, nullptr);
        const int zoom = window->GetZoom();
        const int first = c.index == 0 ? 0 : c.index - 1;
        const int last = c.index == 0 ? c.outputs - 1 : c.index - 1;
        for (int index : {last, first}) {
            Widget area = window->GetDrawArea(index);
            const std::pair<int, int> cells[] = {{0, 0}, {15, 15}, {9, 12}};
            for (const std::pair<int, int>& cell : cells) {
                const PixelRect rect = MatrixCellRect(16, zoom, cell.first, cell.second);
                SendCrossing(area, EnterNotify, rect.x + 1, rect.y + 1);
                SendMotion(area, rect.x + 2, rect.y + 2);
                Flush();
                EXPECT_EQ(LabelText(window->GetPosLabel()),
                          std::to_string(cell.first) + "," + std::to_string(cell.second));
                EXPECT_TRUE(ShowsWholeText(window->GetPosLabel()));
                if (XtIsManaged(window->GetOutLabel())) {
                    EXPECT_EQ(LabelText(window->GetOutLabel()), std::to_string(index + 1));
                    EXPECT_TRUE(ShowsWholeText(window->GetOutLabel()));
                }
            }
            SendCrossing(area, LeaveNotify, 0, 0);
        }
        Flush();
        EXPECT_EQ(recorder.Warnings(), std::vector<std::string>());
        element.reset();
        Flush();
    }
}

TEST_F(ShowDataWindowTest, ZoomResizesTheAreas) {
    ShowDataWindow* window = Open(1, 0);
    ASSERT_NE(window, nullptr);
    for (int zoom : {12, 150}) {
        window->ZoomChanged(zoom);
        Dimension width = 0, height = 0;
        XtVaGetValues(window->GetDrawArea(0), XmNwidth, &width, XmNheight, &height, nullptr);
        EXPECT_EQ(width, ShowDataAreaSize(zoom, 16));
        EXPECT_EQ(height, ShowDataAreaSize(zoom, 16));
    }
}

struct WidePlaneCase {
    int width;
    int height;
    int zoom; // 0: the zoom the window picks
};

// Sizes whose drawing is a multiple of 65536 pixels wide (wrapped to a width of 0, which X
// refuses with an error that ends the program), and the largest planes at both ends of the scale.
TEST_F(ShowDataWindowTest, EveryPlaneSizeGetsAnAreaThatXTakes) {
    const WidePlaneCase cases[] = {
        {65529, 1, 0}, {7281, 1, 108}, {7281, 1, 111}, {65536, 1, 12}, {1, 65536, 150},
    };
    for (const WidePlaneCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
                     std::to_string(c.zoom));
        element = std::make_unique<ATestElem>(kMask, 1, 1);
        element->SetOutputPlaneSize(0, c.width, c.height);
        element->OpenShowDataWindow(0);
        auto* window = static_cast<ShowDataWindow*>(element->GetShowDataWindow(0));
        ASSERT_NE(window, nullptr);
        if (c.zoom != 0) window->ZoomChanged(c.zoom);
        XSync(Editors().display, False);
        Flush();
        Dimension width = 0, height = 0;
        XtVaGetValues(window->GetDrawArea(0), XmNwidth, &width, XmNheight, &height, nullptr);
        EXPECT_GE(width, 1);
        EXPECT_LE(width, 32767);
        EXPECT_GE(height, 1);
        EXPECT_LE(height, 32767);
        element.reset();
        Flush();
    }
}

// The last cell of planes far wider or taller than a window can be is shown set, and the pointer
// on it names it.
TEST_F(ShowDataWindowTest, TheLastCellOfEveryPlaneSizeIsShownAndNamed) {
    const WidePlaneCase cases[] = {
        {65529, 1, 0},  {7281, 1, 100},  {7281, 1, 108}, {7281, 1, 111},  {7281, 1, 120},
        {65536, 1, 12}, {65536, 1, 150}, {1, 65536, 12}, {1, 65536, 150}, {40, 30, 100},
    };
    for (const WidePlaneCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
                     std::to_string(c.zoom));
        element = std::make_unique<ATestElem>(kMask, 1, 1);
        element->SetOutputPlaneSize(0, c.width, c.height);
        element->GetOutputPlane(0)->SetBit(c.width - 1, c.height - 1, 1);
        element->OpenShowDataWindow(0);
        auto* window = static_cast<ShowDataWindow*>(element->GetShowDataWindow(0));
        ASSERT_NE(window, nullptr);
        Flush();
        if (c.zoom != 0) SetScaleZoom(window->GetZoomScale(), c.zoom);
        Widget area = window->GetDrawArea(0);
        ScrollToTopRight(area);
        const ShownCell cell =
            CellOnScreen(area, c.height, window->GetZoom(), c.width - 1, c.height - 1);
        EXPECT_TRUE(cell.seen) << cell.x << "," << cell.y;
        EXPECT_GT(BlackPixels(area, cell.x, cell.y, cell.width, cell.height), 0);
        ASSERT_TRUE(RealClickAt(area, cell.x + cell.width / 2, cell.y + cell.height / 2));
        EXPECT_EQ(LabelText(window->GetPosLabel()),
                  std::to_string(c.width - 1) + "," + std::to_string(c.height - 1));
        element.reset();
        Flush();
    }
}

// Scrolled anywhere along a plane far wider than a window can be, the window shows the cells
// that lie there, each set cell inked and each clear one not.
TEST_F(ShowDataWindowTest, AScrolledViewportShowsTheCellsWhereItIsScrolledTo) {
    const int kWidth = 30000, kHeight = 2, kZoom = 12;
    element = std::make_unique<ATestElem>(kMask, 1, 1);
    element->SetOutputPlaneSize(0, kWidth, kHeight);
    Matrix* plane = element->GetOutputPlane(0);
    unsigned seed = 5;
    for (int y = 0; y < kHeight; y++) {
        for (int x = 0; x < kWidth; x++) {
            seed = seed * 1103515245u + 12345u;
            plane->SetBit(x, y, (seed >> 16) & 1);
        }
    }
    element->OpenShowDataWindow(0);
    auto* window = static_cast<ShowDataWindow*>(element->GetShowDataWindow(0));
    ASSERT_NE(window, nullptr);
    Flush();
    SetScaleZoom(window->GetZoomScale(), kZoom);
    Widget area = window->GetDrawArea(0);
    Widget bar = nullptr;
    XtVaGetValues(window->GetScrolledWindow(0), XmNhorizontalScrollBar, &bar, nullptr);
    ASSERT_NE(bar, nullptr);
    int maximum = 0, slider = 0;
    XtVaGetValues(bar, XmNmaximum, &maximum, XmNsliderSize, &slider, nullptr);
    const int end = maximum - slider;
    auto expectCellsAsSet = [&] {
        const ShownCell first = CellOnScreen(area, kHeight, kZoom, 0, 0);
        Position areaX = 0;
        XtVaGetValues(area, XmNx, &areaX, nullptr);
        // The cell at the clip's left edge, from where the first cell would be.
        const int from = std::max(0, (-areaX - first.x) / CellPitch(kZoom));
        int seen = 0;
        for (int x = from; x < std::min(kWidth, from + 200); x++) {
            for (int y = 0; y < kHeight; y++) {
                const ShownCell cell = CellOnScreen(area, kHeight, kZoom, x, y);
                if (!cell.seen) continue;
                seen++;
                const bool inked = BlackPixels(area, cell.x, cell.y, cell.width, cell.height) > 0;
                EXPECT_EQ(inked, (*plane)(x, y) == 1) << "cell " << x << "," << y;
            }
        }
        EXPECT_GT(seen, 20);
    };
    // Long jumps expose the whole clip; short steps leave most of the old picture in place.
    for (const int value : {0, 5, end * 37 / 100, end * 37 / 100 + 7, end / 2, end - 20, end, 3}) {
        SCOPED_TRACE(value);
        XmScrollBarSetValues(bar, value, 0, 0, 0, True);
        Flush();
        Flush();
        expectCellsAsSet();
    }
    // A narrower window shows another part at the same scroll position, and exposes nothing.
    SCOPED_TRACE("narrower");
    XmScrollBarSetValues(bar, end / 2, 0, 0, 0, True);
    Flush();
    Dimension shellWidth = 0;
    XtVaGetValues(window->GetShell(), XmNwidth, &shellWidth, nullptr);
    XtVaSetValues(window->GetShell(), XmNwidth, static_cast<Dimension>(shellWidth - 120), nullptr);
    Flush();
    Flush();
    expectCellsAsSet();
}

TEST_F(ShowDataWindowTest, CloseDeletesItAndTheNextWindowKeepsItsSize) {
    ShowDataWindow* window = Open(1, 0);
    ASSERT_NE(window, nullptr);
    XtVaSetValues(window->GetScrolledWindow(0), XmNheight, 180, nullptr);
    Flush();
    Dimension stored = 0;
    XtVaGetValues(window->GetScrolledWindow(0), XmNheight, &stored, nullptr);
    Click(window->GetCloseButton());
    EXPECT_EQ(element->GetShowDataWindow(0), nullptr);
    element->OpenShowDataWindow(0);
    window = static_cast<ShowDataWindow*>(element->GetShowDataWindow(0));
    ASSERT_NE(window, nullptr);
    Dimension height = 0;
    XtVaGetValues(window->GetScrolledWindow(0), XmNheight, &height, nullptr);
    EXPECT_EQ(height, stored);
}

TEST_F(ShowDataWindowTest, RebuildFollowsANewOutputCountEvenWhileFrozen) {
    ShowDataWindow* window = Open(2, 0);
    ASSERT_NE(window, nullptr);
    window->SetUpdate(0);
    // The element keeps its windows through a pin change only here: Rebuild is what a type
    // calls when its outputs changed under an open window.
    window->Rebuild();
    EXPECT_EQ(window->GetLastIndex(), 1);
    window->SetUpdate(1);
    EXPECT_EQ(window->GetUpdate(), 1);
}

TEST_F(ShowDataWindowTest, APinChangeOrTheElementGoingClosesTheWindows) {
    Open(2, 0);
    element->OpenShowDataWindow(2);
    ASSERT_NE(element->GetShowDataWindow(2), nullptr);
    ASSERT_EQ(element->SetPinCount(1, 1, 0), 1);
    EXPECT_EQ(element->GetShowDataWindow(0), nullptr);
    element->OpenShowDataWindow(1);
    element.reset();
    Flush();
}

TEST_F(ShowDataWindowTest, AReplacedPlaneIsDrawnAtItsOwnSize) {
    ShowDataWindow* window = Open(1, 0);
    ASSERT_NE(window, nullptr);
    element->SetOutputPlaneSize(0, 8, 4);
    element->GetOutputPlane(0)->SetBit(7, 3, 1);
    element->RefreshShowDataWindows();
    Flush();
    Dimension width = 0, height = 0;
    XtVaGetValues(window->GetDrawArea(0), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, ShowDataAreaSize(window->GetZoom(), 8));
    EXPECT_EQ(height, ShowDataAreaSize(window->GetZoom(), 4));
    EXPECT_GT(CellInk(window, 0, 7, 3), 0);
}

TEST_F(ShowDataWindowTest, TitleHoldsANameOfAnyLength) {
    element = std::make_unique<ATestElem>(kMask, 1, 1);
    const std::string name(400, 'x'); // as a file may give it
    element->SetName(name.c_str());
    element->OpenShowDataWindow(0);
    ShowDataWindow* window = static_cast<ShowDataWindow*>(element->GetShowDataWindow(0));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetTitle(), "Show Data " + name);
    char* title = nullptr;
    XtVaGetValues(window->GetShell(), XmNtitle, &title, nullptr);
    EXPECT_EQ(std::string(title), "Show Data " + name);
}
