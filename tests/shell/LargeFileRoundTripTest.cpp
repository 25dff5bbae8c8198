// A library file, saved the way every architecture file and core.arc are (a forced SaveFileAs)
// and opened with LoadFile, holding elements at the largest plane sizes the dimension dialogs
// give and a PERM transmitter with 100 000 targets: saved, opened, saved again.

#include <gtest/gtest.h>

#include "shell/ArchitectureWindow.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "model/data/ClockList.h"
#include "model/data/Matrix.h"
#include "model/elements/ACElem.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ASplitElem.h"
#include "model/format/ParseError.h"
#include "shell/FileSelection.h"

namespace {

class LibraryWindow : public ArchitectureWindow {
public:
    LibraryWindow() { windowKind = kLibraryWindowKind; }
    ~LibraryWindow() override { Clear(); }
    Widget GetShell() override { return nullptr; }
};

MessageResult NoBoxes(Widget, MessageKind, const char* title, const char* text) {
    ADD_FAILURE() << title << ": " << text;
    return kResultOk;
}

void Fill(Matrix& plane) {
    for (int y = 0; y < plane.GetDimY(); y++) {
        for (int x = 0; x < plane.GetDimX(); x++)
            plane.SetBit(x, y, (x + y) % 3 == 0);
    }
}

class LargeFileRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        ResetClocks();
        char pattern[] = "/tmp/quiran-large-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        SetFileMessageFunction(NoBoxes);
    }
    void TearDown() override {
        SetFileMessageFunction(nullptr);
        GetClocks().Clear();
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    // Places the element in a row of its own, sized, with fresh data.
    template <typename T> T* Add(int width, int height, int inputWidth = 0, int inputHeight = 0) {
        T* element = new T(&library, 20, 20 + 80 * library.GetElements().GetCount());
        for (int i = 0; i < element->GetInputCount(); i++) {
            element->SetInputPlaneSize(i, inputWidth ? inputWidth : width,
                                       inputHeight ? inputHeight : height);
        }
        for (int i = 0; i < element->GetOutputCount(); i++)
            element->SetOutputPlaneSize(i, width, height);
        element->CreateData();
        library.GetElements().Add(element);
        return element;
    }

    std::string SaveAndOpen(ArchitectureWindow& from, const char* name, LibraryWindow& into) {
        const std::string path = dir + "/" + name;
        EXPECT_EQ(SaveFileAs(from, path.c_str(), nullptr, 1), 0);
        EXPECT_EQ(LoadFile(into, path.c_str(), nullptr), 0)
            << ParseErrorMessage(GetParseError()) << " at line " << GetParseErrorLine();
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string dir;
    LibraryWindow library;
};

TEST_F(LargeFileRoundTrip, ALibraryOfTheLargestPlanesOpensAndSavesTheSameBytes) {
    const int kSide = 65536;
    Fill(Add<AMaskElem>(kSide, 1)->GetData().GetMask());
    Fill(Add<AMaskElem>(1, kSide)->GetData().GetMask());
    D_RuleElem& rule = Add<ARuleElem>(kSide, 1)->GetData();
    auto pattern = std::make_unique<Matrix>(kSide, 1);
    Fill(*pattern);
    rule.SetSearch(std::make_unique<Matrix>(*pattern));
    rule.SetSubstitution(std::move(pattern));
    Fill(rule.GetMask()->GetMask());
    Matrix plane(kSide, 1);
    Fill(plane);
    Add<AInputElem>(kSide, 1)->GetStoredData().GetPlaneList().SetXYPlane(plane, 0);
    D_PermElem& table = Add<APermElem>(400, 250, 1, 1)->GetData();
    for (int x = 0; x < 400; x++)
        for (int y = 0; y < 250; y++)
            table.Add(0, 0, x, y);
    Add<ALogicElem>(kSide, 1);
    Add<ASSeedElem>(kSide, 1);
    Add<ASplitElem>(kSide, 1);
    Add<AJoinElem>(kSide, 1);
    Add<AOutputElem>(kSide, 1);
    Add<ACElem>(kSide, 1);

    LibraryWindow once, twice;
    const std::string first = SaveAndOpen(library, "first.lib", once);
    EXPECT_EQ(once.GetElements().GetCount(), library.GetElements().GetCount());
    const std::string second = SaveAndOpen(once, "second.lib", twice);
    // A PERM list comes back in reverse from every read, so the bytes repeat after two.
    LibraryWindow thrice;
    const std::string third = SaveAndOpen(twice, "third.lib", thrice);
    EXPECT_GT(first.size(), 5u * kSide);
    EXPECT_EQ(second.size(), first.size());
    EXPECT_TRUE(third == first) << "the files differ";
}

} // namespace
