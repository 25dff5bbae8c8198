// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/LibraryWindow.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/elements/PinCode.h"
#include "model/format/ParseError.h"
#include "shell/ArchitectureFile.h"
#include "shell/FileSelection.h"
#include "shell/MenuCommand.h"
#include "tests/shell/editing/EditingGui.h"
#include "tests/support/ArchitectureText.h"

namespace {

// A library body holding MASK elements with the given names at the given y positions.
std::string LibraryText(std::initializer_list<std::pair<const char*, int>> elements) {
    std::ostringstream out;
    out << BodyHead() << "ARCHITECTURE_ELEMENTS {\n  NUMBER: " << elements.size()
        << "\n  ELEMENTS {\n";
    int id = 0;
    for (const auto& element : elements) {
        out << "    ARCHITECTURE_ELEMENT {\n      TYPE: MASK\n      INTERNAL_DATA {\n"
            << "        NAME:       " << element.first << "\n        COMMENT:    \n"
            << "        INPUTS:     1\n        OUTPUTS:    1\n        INPUT_DIM:  (16,16)\n"
               "        OUTPUT_DIM: (16,16)\n        CLOCK:      0\n        TIME:       0\n"
               "      }\n      LOGICAL_DATA {\n        MASK:\n          MATRIX {\n"
               "            DIMENSION: (16,16)\n            DATA {\n";
        for (int row = 0; row < 16; row++)
            out << "              0000000000000000\n";
        out << "            }\n          }\n      }\n      ARCHITECTURE_DATA {\n        ID:   "
            << id++ << "\n        PREV: [-,-]\n        NEXT: [-,-]\n        POS:  (70,"
            << element.second << ")\n      }\n    }\n";
    }
    out << "  }\n}\n";
    return out.str();
}

class LibraryFixture : public EditingFixture {
protected:
    void SetUp() override {
        EditingFixture::SetUp();
        if (gui->main == nullptr) return;
        library().Show();
        Process(300);
    }
    void TearDown() override {
        if (gui->main != nullptr) library().Hide();
        EditingFixture::TearDown();
    }
    int Read(const std::string& text) {
        ClearParseError();
        std::istringstream in(text);
        return library().Read(in, nullptr);
    }
    std::string Column() {
        std::string names;
        PtrArray<AElement>& elements = library().GetElements();
        for (int i = 0; i < elements.GetCount(); i++) {
            names += std::string(elements[i]->GetName()) + "@" +
                     std::to_string(elements[i]->GetX()) + "," +
                     std::to_string(elements[i]->GetY()) + " ";
        }
        return names;
    }
};

using LibraryWindowBehaviour = LibraryFixture;

} // namespace

TEST_F(LibraryWindowBehaviour, ThePaletteHoldsOneElementPerTypeInTypeOrder) {
    PtrArray<AElement>& palette = library().GetPalette();
    ASSERT_GT(palette.GetCount(), 0);
    int y = 10;
    uint32_t type = 0;
    for (int i = 0; i < palette.GetCount(); i++) {
        SCOPED_TRACE(i);
        EXPECT_GE(palette[i]->GetType(), type);
        type = palette[i]->GetType();
        EXPECT_EQ(palette[i]->GetX(), 10);
        EXPECT_EQ(palette[i]->GetY(), y);
        y += palette[i]->GetHeight() + 10;
    }
    EXPECT_STREQ(XtName(library().GetPaletteArea()), "draw_elem");
    EXPECT_STREQ(XtName(library().GetCadArea()), "draw_makro");
    EXPECT_STREQ(XtName(library().GetShell()), "ElementList");
    EXPECT_STREQ(XtName(library().GetLibraryPopup()), "lib_popup");
    EXPECT_STREQ(XtName(library().GetElementPopup()), "libelem_popup");
}

TEST_F(LibraryWindowBehaviour, ReadingStacksTheElementsByTheirPositions) {
    EXPECT_EQ(Read(LibraryText({{"A", 300}, {"B", 10}, {"C", 150}})), 0);
    EXPECT_EQ(library().DidRead(), 1);
    EXPECT_EQ(Column(), "B@10,10 C@10,50 A@10,90 ");
    EXPECT_EQ(library().IsModified(), 0);
    // Every element read is bound to the library area.
    EXPECT_EQ(library().GetElements()[0]->GetWindow(), XtWindow(library().GetCadArea()));
}

TEST_F(LibraryWindowBehaviour, AFailedReadKeepsWhatWasReadPlacedAndModified) {
    std::string text = LibraryText({{"A", 300}, {"B", 10}});
    text.replace(text.rfind("TYPE: MASK"), 10, "TYPE: NONE");
    EXPECT_NE(Read(text), 0);
    EXPECT_EQ(Column(), "A@10,10 ");
    EXPECT_EQ(library().GetElements()[0]->GetWindow(), XtWindow(library().GetCadArea()));
    EXPECT_EQ(library().IsModified(), 1);
}

TEST_F(LibraryWindowBehaviour, AModifiedLibraryAsksAndCancelReadsNothing) {
    EXPECT_EQ(Read(LibraryText({{"A", 10}})), 0);
    library().SetModified();
    Answer() = kResultCancel;
    EXPECT_EQ(Read(LibraryText({{"B", 10}, {"C", 50}})), 0);
    EXPECT_EQ(library().DidRead(), 0);
    ASSERT_EQ(Asked().size(), 1u);
    EXPECT_EQ(Asked()[0], "Library|Library has been modified!\nDo you want to save it ?");
    EXPECT_EQ(Column(), "A@10,10 ");
    Answer() = kResultNo;
    EXPECT_EQ(Read(LibraryText({{"B", 10}, {"C", 50}})), 0);
    EXPECT_EQ(Column(), "B@10,10 C@10,50 ");
}

TEST_F(LibraryWindowBehaviour, RemovingAnElementKeepsTheOrderOfTheOthers) {
    ASSERT_EQ(Read(LibraryText({{"A", 10}, {"B", 50}, {"C", 90}})), 0);
    // D dropped between A and B.
    AElement* d = AElement::Clone(*library().GetElements()[0]);
    d->SetName("D");
    d->SetPosition(10, 45);
    library().AddToLibrary(d);
    EXPECT_EQ(Column(), "A@10,10 D@10,50 B@10,90 C@10,130 ");
    library().RemoveFromLibrary(library().GetElements()[0]);
    EXPECT_EQ(Column(), "D@10,10 B@10,50 C@10,90 ");
    EXPECT_EQ(library().IsModified(), 1);
}

TEST_F(LibraryWindowBehaviour, PaletteCopiesCarryTheDefaultTimes) {
    SetDefaultTime(kMask, 7);
    library().ApplyDefaultTimes();
    AElement* copy = LibraryWindow::TakeFromPalette(*library().GetPalette()[0]);
    EXPECT_EQ(copy->GetType(), kMask);
    EXPECT_EQ(copy->GetTime(), 7u);
    delete copy;
    ResetDefaultTimes();
    library().ApplyDefaultTimes();
}

// Stock data at a large plane size (an all-ones MASK, RULE and S-SEED states) would cost the
// palette gigabytes; a taken element must still be the stock element at the default size.
TEST_F(LibraryWindowBehaviour, ThePaletteStaysSmallAndTakenElementsGetTheDefaultPlanes) {
    AElement::SetDefaultPlaneSize(40, 24);
    library().RebuildPalette();
    PtrArray<AElement>& palette = library().GetPalette();
    ASSERT_GT(palette.GetCount(), 0);
    for (int i = 0; i < palette.GetCount(); i++) {
        AElement& stock = *palette[i];
        SCOPED_TRACE(stock.GetName());
        int width = 0, height = 0;
        for (int pin = 0; pin < stock.GetInputCount(); pin++) {
            stock.GetPlaneSize(InputPinCode(pin), width, height);
            EXPECT_EQ(width * height, 1);
        }
        for (int pin = 0; pin < stock.GetOutputCount(); pin++) {
            stock.GetPlaneSize(OutputPinCode(pin), width, height);
            EXPECT_EQ(width * height, 1);
        }
        // What the palette gave before it was made small: the stock element built at the default
        // plane size with its data.
        AElement* expected = CreateElement(stock.GetName(), &library());
        ASSERT_NE(expected, nullptr);
        for (int pin = 0; pin < expected->GetInputCount(); pin++)
            expected->SetInputPlaneSize(pin, 40, 24);
        for (int pin = 0; pin < expected->GetOutputCount(); pin++)
            expected->SetOutputPlaneSize(pin, 40, 24);
        expected->CreateData();
        expected->SetPosition(stock.GetX(), stock.GetY());
        AElement* taken = library().TakeFromPalette(stock);
        ASSERT_NE(taken, nullptr);
        for (int pin = 0; pin < taken->GetInputCount(); pin++) {
            taken->GetPlaneSize(InputPinCode(pin), width, height);
            EXPECT_EQ(width, 40);
            EXPECT_EQ(height, 24);
        }
        for (int pin = 0; pin < taken->GetOutputCount(); pin++) {
            taken->GetPlaneSize(OutputPinCode(pin), width, height);
            EXPECT_EQ(width, 40);
            EXPECT_EQ(height, 24);
        }
        std::ostringstream takenText, expectedText;
        taken->Write(takenText, 0, nullptr);
        expected->Write(expectedText, 0, nullptr);
        EXPECT_EQ(takenText.str(), expectedText.str());
        EXPECT_EQ(taken->GetTime(), expected->GetTime());
        EXPECT_EQ(taken->GetClock(), expected->GetClock());
        if (taken != &stock) delete taken;
        delete expected;
    }
    AElement::SetDefaultPlaneSize(16, 16);
    library().RebuildPalette();
}

TEST_F(LibraryWindowBehaviour, ShowAndHideFollowTheElementlistToggle) {
    EXPECT_EQ(library().IsShown(), 1);
    EXPECT_EQ(main().GetElementListShown(), 1);
    main().ToggleElementList();
    EXPECT_EQ(library().IsShown(), 0);
    EXPECT_EQ(main().GetElementListShown(), 0);
    main().ToggleElementList();
    EXPECT_EQ(library().IsShown(), 1);
}

TEST_F(LibraryWindowBehaviour, AnElementStoredInTheLibraryIsNoLongerSimulated) {
    AElement* element = Place(450, 315);
    main().Schedule(5, element);
    ASSERT_EQ(main().GetEventQueue().GetCount(), 1);
    DragContext* context = NewDragContext();
    context->kind = kDragMove;
    context->source = &main();
    context->destination = &main();
    main().GetElements().Remove(element);
    context->elements->Add(element);
    ASSERT_TRUE(AcceptLibraryDrop(*context, library(), 40, 25));
    TransferToLibrary(*context, {&library(), 40, 25});
    EXPECT_EQ(context->status, kDragTaken);
    FinishDrag(*context);
    FreeDragContext();
    EXPECT_EQ(main().GetEventQueue().GetCount(), 0);
    EXPECT_EQ(library().GetElements().Find(element), 0);
    EXPECT_EQ(element->GetOwner(), &library());
}

TEST_F(LibraryWindowBehaviour, TheLibraryRefusesConnectionEndsAndItsOwnDrags) {
    DragContext* context = NewDragContext();
    context->source = &library();
    context->elements->Add(LibraryWindow::TakeFromPalette(*library().GetPalette()[0]));
    EXPECT_FALSE(AcceptLibraryDrop(*context, library(), 40, 25)); // from the library itself
    context->source = &main();
    EXPECT_TRUE(AcceptLibraryDrop(*context, library(), 40, 25));
    context->kind = kDragConnectionEnd;
    EXPECT_FALSE(AcceptLibraryDrop(*context, library(), 40, 25));
    context->kind = kDragCopy;
    FinishDrag(*context); // not taken: the copy goes
    FreeDragContext();
    EXPECT_EQ(library().GetElements().GetCount(), 0);
}

TEST_F(LibraryWindowBehaviour, ThePopupsSaveEntrySavesTheLibraryFile) {
    char folder[] = "/tmp/quiran-library-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/kept.lib";
    std::ofstream(path) << "old\n"; // Save writes over the window's file only
    SetFileMessageFunction(testgui::RecordMessage);
    ASSERT_EQ(Read(LibraryText({{"A", 10}})), 0);
    library().SetFileName(path.c_str());
    library().SetModified();
    // A press on the library area names the window to the popup.
    Widget popup = library().GetLibraryPopup();
    XtVaSetValues(popup, XmNuserData, static_cast<XtPointer>(&library()), nullptr);
    Widget save = XtNameToWidget(popup, "button_1");
    ASSERT_NE(save, nullptr);
    XtCallCallbacks(save, XmNactivateCallback, nullptr);
    std::ifstream saved(path);
    std::stringstream text;
    text << saved.rdbuf();
    EXPECT_NE(text.str().find("NAME:       A\n"), std::string::npos);
    EXPECT_EQ(library().IsModified(), 0);
    EXPECT_TRUE(Asked().empty());
    SetFileMessageFunction(nullptr);
    library().SetFileName(nullptr);
    unlink(path.c_str());
    rmdir(folder);
}
