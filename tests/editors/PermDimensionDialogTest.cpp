// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/PermDimensionDialog.h"

#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/APermModifyWindow.h"
#include "model/data/Architecture.h"
#include "model/data/Connection.h"
#include "model/elements/APermElem.h"
#include "model/elements/PinCode.h"
#include "toolkit/ReadInt.h"

namespace {

// The shared window interface with a question of the test's own.
class AskingUi : public TestElementUi {
public:
    int Ask(MessageKind kind, const char* title, const char* text) override {
        asked++;
        lastKind = kind;
        lastTitle = title;
        lastText = text;
        return ask ? ask() : answer;
    }
    std::function<int()> ask;
    int asked = 0;
    int lastKind = -1;
    std::string lastTitle;
    std::string lastText;
};

// A PERM between two others, 8 by 4 cells in and 6 by 2 out, with one connection in its table.
class PermDimensionDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        SetElementUi(&ui);
        maker = std::make_unique<MakerScope>(kPerm, APermModifyWindow::Make);
        source = Add(8, 4, 8, 4);
        perm = Add(8, 4, 6, 2);
        sink = Add(6, 2, 6, 2);
        perm->GetData().Add(1, 1, 5, 1);
        architecture.GetConnections().Add(
            new Connection(&architecture, source, OutputPinCode(0), perm, InputPinCode(0), 0));
        architecture.GetConnections().Add(
            new Connection(&architecture, perm, OutputPinCode(0), sink, InputPinCode(0), 0));
    }
    void TearDown() override {
        if (Editors().display == nullptr) return;
        RunInDispatch([&] {
            while (architecture.GetElements().GetCount() > 0)
                delete architecture.GetElements()[0];
        });
        maker.reset();
        SetElementUi(&Ui());
        Flush();
    }
    APermElem* Add(int inW, int inH, int outW, int outH) {
        APermElem* element = new APermElem(&architecture, 0, 0);
        element->SetInputPlaneSize(0, inW, inH);
        element->SetOutputPlaneSize(0, outW, outH);
        element->CreateData();
        architecture.GetElements().Add(element);
        return element;
    }
    PermDimensionDialog* Open() {
        perm->OpenDimensionDialog();
        Flush();
        return dynamic_cast<PermDimensionDialog*>(perm->GetPermDimensionDialog());
    }
    // Types the four values and presses OK.
    void Answer(PermDimensionDialog* dialog, const char* xi, const char* yi, const char* xo,
                const char* yo) {
        SetText(ReadIntGetText(dialog->GetInputXField()), xi);
        SetText(ReadIntGetText(dialog->GetInputYField()), yi);
        SetText(ReadIntGetText(dialog->GetOutputXField()), xo);
        SetText(ReadIntGetText(dialog->GetOutputYField()), yo);
        Click(ButtonLabelled(dialog->GetShell(), "OK"));
    }
    void ExpectUnchanged() {
        EXPECT_EQ(perm->GetInputPlaneWidth(0), 8);
        EXPECT_EQ(perm->GetInputPlaneHeight(0), 4);
        EXPECT_EQ(perm->GetOutputPlaneWidth(0), 6);
        EXPECT_EQ(perm->GetOutputPlaneHeight(0), 2);
        EXPECT_NE(perm->GetInputConnection(0), nullptr);
        EXPECT_NE(perm->GetOutputConnection(0), nullptr);
        EXPECT_EQ(perm->GetData().GetTargetCount(1, 1), 1);
    }

    AskingUi ui;
    std::unique_ptr<MakerScope> maker;
    Architecture architecture;
    APermElem* source = nullptr;
    APermElem* perm = nullptr;
    APermElem* sink = nullptr;
};

} // namespace

TEST_F(PermDimensionDialogTest, OpensOnceOverTheTopLevelWithThePlaneSizes) {
    PermDimensionDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Widget shell = dialog->GetShell();
    ASSERT_NE(shell, nullptr);
    EXPECT_STREQ(XtName(shell), "Change Dimension - Perm");
    EXPECT_EQ(XtParent(shell), Editors().topLevel);
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Change Dimension - Perm");
    const char* base = "form.frame.value_form.";
    for (const char* path : {"in_frame.in_rc.xi_dim_rc", "in_frame.in_rc.yi_dim_rc",
                             "out_frame.out_rc.xo_dim_rc", "out_frame.out_rc.yo_dim_rc"}) {
        SCOPED_TRACE(path);
        EXPECT_NE(Child(shell, (std::string(base) + path + ".ReadInt").c_str()), nullptr);
    }
    EXPECT_EQ(LabelText(Child(shell, "*in_rc.in_label")), "Input:");
    EXPECT_EQ(LabelText(Child(shell, "*out_rc.out_label")), "Output:");
    EXPECT_EQ(LabelText(Child(shell, "*xi_dim_rc.dim_label")), " x: ");
    EXPECT_EQ(LabelText(Child(shell, "*yo_dim_rc.dim_label")), " y: ");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetInputXField())), "8");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetInputYField())), "4");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetOutputXField())), "6");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetOutputYField())), "2");
    short columns = 0;
    int maxLength = 0;
    XtVaGetValues(ReadIntGetText(dialog->GetOutputYField()), XmNcolumns, &columns, XmNmaxLength,
                  &maxLength, nullptr);
    EXPECT_EQ(columns, 4);
    EXPECT_EQ(maxLength, 4);
    for (const char* text : {"OK", "Cancel"})
        EXPECT_NE(ButtonLabelled(Child(shell, "form.action_area"), text), nullptr) << text;

    // Opening again shows no second dialog.
    const int popups = PopupCount(Editors().topLevel);
    perm->OpenDimensionDialog();
    EXPECT_EQ(perm->GetPermDimensionDialog(), dialog);
    EXPECT_EQ(PopupCount(Editors().topLevel), popups);

    SaveScreenshot(shell, "perm-dimension");
}

TEST_F(PermDimensionDialogTest, YesResizesThePlanesAndDropsConnectionsAndTable) {
    perm->OpenModifyWindow();
    ASSERT_NE(perm->GetModifyWindow(), nullptr);
    PermDimensionDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ui.answer = kResultYes;
    Answer(dialog, "4", "2", "8", "6");
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(ui.lastKind, kMessageYesNo);
    EXPECT_EQ(ui.lastTitle, "Warning");
    EXPECT_EQ(ui.lastText, "All data of the element will be lost!\nContinue?");
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
    EXPECT_EQ(perm->GetInputPlaneWidth(0), 4);
    EXPECT_EQ(perm->GetInputPlaneHeight(0), 2);
    EXPECT_EQ(perm->GetOutputPlaneWidth(0), 8);
    EXPECT_EQ(perm->GetOutputPlaneHeight(0), 6);
    EXPECT_EQ(perm->GetInputConnection(0), nullptr);
    EXPECT_EQ(perm->GetOutputConnection(0), nullptr);
    EXPECT_EQ(source->GetOutputConnection(0), nullptr);
    EXPECT_EQ(sink->GetInputConnection(0), nullptr);
    EXPECT_EQ(architecture.GetConnections().GetCount(), 0);
    EXPECT_EQ(perm->GetModifyWindow(), nullptr);
    // A new, empty table of the new sizes: 4 x 2 lines without targets.
    const D_PermElem& table = perm->GetData();
    EXPECT_EQ(table.GetInputWidth(), 4);
    EXPECT_EQ(table.GetOutputHeight(), 6);
    std::ostringstream out;
    table.Write(out, 0);
    const std::string block = out.str();
    size_t empty = 0;
    for (size_t at = block.find("(-,-)"); at != std::string::npos; at = block.find("(-,-)", at + 1))
        empty++;
    EXPECT_EQ(empty, 8u) << block;

    // The same sizes again still throw the table away.
    perm->GetData().Add(0, 0, 7, 5);
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Click(ButtonLabelled(dialog->GetShell(), "OK"));
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(perm->GetInputPlaneWidth(0), 4);
    EXPECT_EQ(perm->GetOutputPlaneHeight(0), 6);
    EXPECT_EQ(perm->GetData().GetTargetCount(0, 0), 0);
}

TEST_F(PermDimensionDialogTest, NoCancelAndCloseChangeNothing) {
    PermDimensionDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ui.answer = kResultNo;
    Answer(dialog, "4", "2", "8", "6");
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
    ExpectUnchanged();

    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Click(ButtonLabelled(dialog->GetShell(), "Cancel"));
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);

    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    SendClose(dialog->GetShell());
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
    EXPECT_EQ(ui.asked, 1);
    ExpectUnchanged();
}

TEST_F(PermDimensionDialogTest, AnInvalidFieldKeepsTheDialogOpen) {
    PermDimensionDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ui.answer = kResultYes;
    const char* const bad[] = {"0", "65537", "", "-3", "x"};
    for (int field = 0; field < 4; field++) {
        for (const char* text : bad) {
            SCOPED_TRACE(std::to_string(field) + ": '" + text + "'");
            const char* values[4] = {"4", "2", "8", "6"};
            values[field] = text;
            Answer(dialog, values[0], values[1], values[2], values[3]);
            EXPECT_EQ(perm->GetPermDimensionDialog(), dialog);
        }
    }
    EXPECT_EQ(ui.asked, 0);
    ExpectUnchanged();
    // Return in a field is OK.
    SetText(ReadIntGetText(dialog->GetInputXField()), "2");
    SetText(ReadIntGetText(dialog->GetOutputYField()), "6");
    PressReturn(ReadIntGetText(dialog->GetOutputYField()));
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(perm->GetInputPlaneWidth(0), 2);
    EXPECT_EQ(perm->GetInputPlaneHeight(0), 2);
}

TEST_F(PermDimensionDialogTest, TheQuestionOutlivesNothing) {
    // A close of the dialog while the question waits is refused; the answer still counts.
    PermDimensionDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ui.ask = [&] {
        dialog->Cancel();
        SendClose(dialog->GetShell());
        dialog->Ok();
        return static_cast<int>(kResultYes);
    };
    Answer(dialog, "3", "3", "5", "5");
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(perm->GetOutputPlaneWidth(0), 5);

    // The element goes while the question waits: the dialog goes with it and touches nothing.
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    perm->OpenModifyWindow();
    ui.ask = [&] {
        delete perm;
        perm = nullptr;
        return static_cast<int>(kResultYes);
    };
    Answer(dialog, "4", "4", "4", "4");
    Flush();
    EXPECT_EQ(perm, nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
    EXPECT_EQ(architecture.GetElements().GetCount(), 2);
}

// At the keyboard: Escape is Cancel; Return in a field (after typing 16 over the input width)
// is OK, which asks and resizes on Yes.
TEST_F(PermDimensionDialogTest, EscapeCancelsAndReturnAsksAndResizes) {
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    PermDimensionDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(testgui::RealKeys(dialog->GetShell(), "Escape"));
    Flush();
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(ui.asked, 0);
    ExpectUnchanged();

    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    XmProcessTraversal(ReadIntGetText(dialog->GetInputXField()), XmTRAVERSE_CURRENT);
    ui.answer = kResultYes;
    ASSERT_TRUE(testgui::RealKeys(dialog->GetShell(), "End BackSpace 1 6 Return"));
    Flush();
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(perm->GetPermDimensionDialog(), nullptr);
    EXPECT_EQ(perm->GetInputPlaneWidth(0), 16);
}
