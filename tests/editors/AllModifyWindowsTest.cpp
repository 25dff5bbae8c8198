// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AElementModifyWindow.h"

#include <functional>
#include <memory>
#include <string>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/ACModifyWindow.h"
#include "editors/AInputModifyWindow.h"
#include "editors/AJoinModifyWindow.h"
#include "editors/ALogicModifyWindow.h"
#include "editors/AMaskModifyWindow.h"
#include "editors/AOutputModifyWindow.h"
#include "editors/APermModifyWindow.h"
#include "editors/ARuleModifyWindow.h"
#include "editors/ASSeedModifyWindow.h"
#include "model/elements/ACElem.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ElementType.h"

namespace {

struct WindowKind {
    const char* what;
    uint32_t type;
    ModifyWindowMaker maker;
    std::function<AElement*()> make;
};

template <class Elem> AElement* Made() {
    Elem* element = new Elem(nullptr, 0, 0);
    for (int i = 0; i < element->GetInputCount(); i++)
        element->SetInputPlaneSize(i, 4, 4);
    for (int i = 0; i < element->GetOutputCount(); i++)
        element->SetOutputPlaneSize(i, 4, 4);
    element->CreateData();
    return element;
}

const WindowKind kWindows[] = {
    {"MASK", kMask, AMaskModifyWindow::Make, Made<AMaskElem>},
    {"RULE", kRule, ARuleModifyWindow::Make, Made<ARuleElem>},
    {"PERM", kPerm, APermModifyWindow::Make, Made<APermElem>},
    {"LOGIC", kLogic, ALogicModifyWindow::Make, Made<ALogicElem>},
    {"S-SEED", kSSeed, ASSeedModifyWindow::Make, Made<ASSeedElem>},
    {"JOIN", kJoin, AJoinModifyWindow::Make, Made<AJoinElem>},
    {"INPUT", kInput, MakeInputModifyWindow, Made<AInputElem>},
    {"OUTPUT", kOutput, MakeOutputModifyWindow, Made<AOutputElem>},
    {"C++", kCElem, ACModifyWindow::Make, Made<ACElem>},
};

class AllModifyWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
    }
    void TearDown() override { Flush(); }
};

// OK on a window in which nothing was changed leaves the element as unmodified as it was.
TEST_F(AllModifyWindowsTest, OkWithNothingChangedLeavesTheModifiedFlag) {
    for (const WindowKind& kind : kWindows) {
        SCOPED_TRACE(kind.what);
        MakerScope maker(kind.type, kind.maker);
        std::unique_ptr<AElement> element(kind.make());
        for (const char* button : {"Apply", "OK"}) {
            SCOPED_TRACE(button);
            element->OpenModifyWindow();
            Flush();
            ElementView* window = element->GetModifyWindow();
            ASSERT_NE(window, nullptr);
            auto* modify = dynamic_cast<AElementModifyWindow*>(window);
            ASSERT_NE(modify, nullptr);
            Widget pressed = ButtonLabelled(modify->GetShell(), button);
            if (pressed == nullptr) continue; // the OUTPUT window has no Apply
            Click(pressed);
            EXPECT_FALSE(element->IsModified());
            element->CloseModifyWindow();
            Flush();
        }
    }
}

} // namespace
