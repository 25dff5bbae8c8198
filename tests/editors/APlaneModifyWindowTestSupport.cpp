#include "APlaneModifyWindowTest.h"

#include <Xm/ToggleBG.h>

#include <cstdio>

#include "editors/ModifyTwoValuesDialog.h"
#include "model/elements/ElementType.h"
#include "toolkit/MatrixGeometry.h"
#include "toolkit/ReadInt.h"

namespace {

ElementView* TestWindowMaker(AElement& element, FileArgument*) {
    return new ATestModifyWindow(&element);
}

} // namespace

void PlaneWindowTest::SetUp() {
    if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
    RegisterModifyWindowMaker(kInput, MakeInputModifyWindow);
    RegisterModifyWindowMaker(kOutput, MakeOutputModifyWindow);
    Ui().queue.Clear();
    Host().requests.clear();
}

void PlaneWindowTest::TearDown() {
    input.reset();
    output.reset();
    Ui().queue.Clear();
    if (Editors().display == nullptr) return;
    Flush();
    // The other editors' tests give every type their test window.
    RegisterModifyWindowMaker(kInput, TestWindowMaker);
    RegisterModifyWindowMaker(kOutput, TestWindowMaker);
}

AInputElem* PlaneWindowTest::MakeInput(std::initializer_list<const char*> planes) {
    const Matrix first = PlaneFromText(*planes.begin());
    input = std::make_unique<AInputElem>(nullptr, 0, 0);
    input->SetInputPlaneSize(0, first.GetDimX(), first.GetDimY());
    input->SetOutputPlaneSize(0, first.GetDimX(), first.GetDimY());
    input->CreateData();
    PlaneList list(first.GetDimX(), first.GetDimY(), static_cast<int>(planes.size()));
    int k = 0;
    for (const char* plane : planes)
        list.SetXYPlane(PlaneFromText(plane), k++);
    input->GetStoredData().GetPlaneList() = list;
    input->GetWorkingData().GetPlaneList() = list;
    return input.get();
}

AOutputElem* PlaneWindowTest::MakeOutput(int width, int height, int depth) {
    output = std::make_unique<AOutputElem>(nullptr, 0, 0);
    output->SetInputPlaneSize(0, width, height);
    output->SetOutputPlaneSize(0, width, height);
    output->CreateData();
    output->GetData().GetPlaneList() = PlaneList(width, height, depth);
    return output.get();
}

AInputModifyWindow* PlaneWindowTest::OpenInput() {
    input->OpenModifyWindow();
    Flush();
    return dynamic_cast<AInputModifyWindow*>(input->GetModifyWindow());
}

AOutputModifyWindow* PlaneWindowTest::OpenOutput() {
    output->OpenModifyWindow();
    Flush();
    return dynamic_cast<AOutputModifyWindow*>(output->GetModifyWindow());
}

void PlaneWindowTest::Enter(Widget field, int value) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", value);
    Widget textField = ReadIntGetText(field);
    SetText(textField, text);
    PressReturn(textField);
}

int PlaneWindowTest::FieldValue(Widget field) {
    return std::stoi(GetText(ReadIntGetText(field)));
}

void PlaneWindowTest::Choose(APlaneModifyWindow* window, const char* toggle) {
    const std::string path = std::string("*") + toggle;
    Widget w = Child(window->GetShell(), path.c_str());
    ASSERT_NE(w, nullptr) << toggle;
    RunInDispatch([&] { XmToggleButtonGadgetSetState(w, True, True); });
}

Widget PlaneWindowTest::Button(APlaneModifyWindow* window, const char* label) {
    return ButtonLabelled(window->GetShell(), label);
}

void PlaneWindowTest::PressCell(APlaneModifyWindow* window, int x, int y) {
    Widget draw = window->GetDrawArea();
    const PixelRect cell =
        MatrixCellRect(window->GetShownPlane().GetDimY(), window->GetZoom(), x, y);
    XEvent event{};
    event.xbutton.type = ButtonPress;
    event.xbutton.display = XtDisplay(draw);
    event.xbutton.window = XtWindow(draw);
    event.xbutton.root = RootWindowOfScreen(XtScreen(draw));
    event.xbutton.x = cell.x + 1;
    event.xbutton.y = cell.y + 1;
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    RunInDispatch([&] { XtDispatchEvent(&event); });
}

void PlaneWindowTest::DragOnto(APlaneModifyWindow* window, int x, int y, unsigned int state) {
    Widget draw = window->GetDrawArea();
    const PixelRect cell =
        MatrixCellRect(window->GetShownPlane().GetDimY(), window->GetZoom(), x, y);
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.display = XtDisplay(draw);
    event.xmotion.window = XtWindow(draw);
    event.xmotion.root = RootWindowOfScreen(XtScreen(draw));
    event.xmotion.x = cell.x + 1;
    event.xmotion.y = cell.y + 1;
    event.xmotion.state = state;
    event.xmotion.same_screen = True;
    RunInDispatch([&] { XtDispatchEvent(&event); });
}

int PlaneWindowTest::CellInk(APlaneModifyWindow* window, int x, int y) {
    const PixelRect cell =
        MatrixCellRect(window->GetShownPlane().GetDimY(), window->GetZoom(), x, y);
    return BlackPixels(window->GetDrawArea(), cell.x, cell.y, cell.width, cell.height);
}

void PlaneWindowTest::AnswerPlaneDialog(APlaneModifyWindow* window, int zPosition, int number) {
    ModifyTwoValuesDialog* dialog = window->GetPlaneDialog();
    ASSERT_NE(dialog, nullptr);
    char text[32];
    std::snprintf(text, sizeof text, "%d", zPosition);
    SetText(ReadIntGetText(dialog->GetField1()), text);
    std::snprintf(text, sizeof text, "%d", number);
    SetText(ReadIntGetText(dialog->GetField2()), text);
    Click(ButtonLabelled(dialog->GetShell(), "OK"));
    Flush();
}
