// Files holding elements at the largest plane sizes the dimension dialogs give and a PERM
// transmitter with 100 000 targets: a library file, saved the way every architecture file is (a
// forced SaveFileAs) and opened with LoadFile, and every other kind of file the program writes.

#include <gtest/gtest.h>

#include "shell/ArchitectureWindow.h"

#include <Xm/FileSB.h>
#include <Xm/Xm.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "editors/ShowDataWindow.h"
#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/data/Matrix.h"
#include "model/elements/ACElem.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMacroOutputElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ASplitElem.h"
#include "model/elements/ElementType.h"
#include "model/elements/PinCode.h"
#include "model/format/ParseError.h"
#include "shell/AMacroElem.h"
#include "shell/ArchitectureFile.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/Recovery.h"
#include "shell/WindowMessage.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "tests/support/gui/ShellGui.h"
#include "toolkit/OwnedXmString.h"

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

// Every kind of file the program writes, from the main window holding every element type at the
// largest plane sizes (a macro among them) and a PERM transmitter with 100 000 targets: written,
// read back, written again, read back and written a third time. A PERM list comes back reversed
// from every read, so the first and the third writing must be the same bytes.
class EveryFileRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        main = testgui::CleanMainWindow();
        if (main == nullptr) GTEST_SKIP() << "no X display";
        char pattern[] = "/tmp/quiran-every-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        if (main == nullptr) return;
        main->ClearModified();
        main->Clear();
        testgui::FlushAll();
        SetWindowMessageFunction(nullptr);
        SetFileMessageFunction(nullptr);
        GetClocks().Clear();
        std::system(("rm -rf '" + dir + "'").c_str());
        EXPECT_EQ(testgui::Messages(), std::vector<std::string>());
    }

    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        std::string text(static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
        in.seekg(0);
        in.read(&text[0], static_cast<std::streamsize>(text.size()));
        return text;
    }

    // Writes and reads three times (write(path) and read(path), 0 on success); the three files.
    std::vector<std::string> ThreeTimes(const std::string& name,
                                        const std::function<int(const std::string&)>& write,
                                        const std::function<int(const std::string&)>& read) {
        std::vector<std::string> files;
        for (int round = 0; round < 3; round++) {
            const std::string path = dir + "/" + std::to_string(files.size()) + name;
            EXPECT_EQ(write(path), 0) << "writing " << path;
            files.push_back(Contents(path));
            if (round < 2) {
                EXPECT_EQ(read(path), 0)
                    << "reading " << path << ": " << ParseErrorMessage(GetParseError())
                    << " at line " << GetParseErrorLine();
            }
        }
        return files;
    }
    static void ExpectSameBytes(const std::vector<std::string>& files, bool reverses) {
        ASSERT_EQ(files.size(), 3u);
        EXPECT_EQ(files[1].size(), files[0].size());
        EXPECT_TRUE(files[2] == files[0]) << "the first and third writings differ";
        if (!reverses) {
            EXPECT_TRUE(files[1] == files[0]) << "the first two writings differ";
        }
    }

    // An element of the type in a row of its own of the window, its planes of the size.
    AElement* Place(ArchitectureWindow& window, const char* type, int width, int height,
                    int inputWidth = 0, int inputHeight = 0) {
        AElement* element = CreateElement(type, &window);
        for (int i = 0; i < element->GetInputCount(); i++) {
            element->SetInputPlaneSize(i, inputWidth ? inputWidth : width,
                                       inputHeight ? inputHeight : height);
        }
        for (int i = 0; i < element->GetOutputCount(); i++)
            element->SetOutputPlaneSize(i, width, height);
        element->CreateData();
        element->SetPosition(40, 40 + 100 * window.GetElements().GetCount());
        element->SetOwner(&window);
        window.GetElements().Add(element);
        return element;
    }
    static void Connect(ArchitectureWindow& window, AElement* from, AElement* to) {
        auto* wire = new Connection(&window, from, OutputPinCode(0), to, InputPinCode(0), 0);
        wire->SetArchitecture(&window);
        window.GetConnections().Add(wire);
    }

    // A macro whose input feeds a MASK that feeds its output, all planes of the size.
    void PlaceMacro(int width, int height) {
        auto* macro = new AMacroElem(main, 40, 40 + 100 * main->GetElements().GetCount());
        macro->SetOwner(main);
        main->GetElements().Add(macro);
        auto* in = new AMacroInputElem(macro, 40, 40);
        in->SetOutputPlaneSize(0, width, height);
        in->CreateData();
        in->SetNumber(0);
        ASSERT_TRUE(macro->AddMacroInput(in));
        in->SetOwner(macro);
        macro->GetElements().Add(in);
        auto* out = new AMacroOutputElem(macro, 400, 40);
        out->SetInputPlaneSize(0, width, height);
        out->CreateData();
        out->SetNumber(0);
        ASSERT_TRUE(macro->AddMacroOutput(out));
        out->SetOwner(macro);
        macro->GetElements().Add(out);
        AElement* mask = Place(*macro, "MASK", width, height);
        mask->SetPosition(200, 40);
        Fill(static_cast<AMaskElem*>(mask)->GetData().GetMask());
        Connect(*macro, in, mask);
        Connect(*macro, mask, out);
    }

    // Every type at both largest shapes, wired where the planes agree, and the long PERM list.
    void Build() {
        const int kSide = 65536;
        for (const auto& shape : {std::make_pair(kSide, 1), std::make_pair(1, kSide)}) {
            const int w = shape.first, h = shape.second;
            AElement* input = Place(*main, "INPUT", w, h);
            Matrix plane(w, h);
            Fill(plane);
            static_cast<AInputElem*>(input)->GetStoredData().GetPlaneList().SetXYPlane(plane, 0);
            static_cast<AInputElem*>(input)->GetStoredData().GetPlaneList().Push(plane);
            AElement* mask = Place(*main, "MASK", w, h);
            Fill(static_cast<AMaskElem*>(mask)->GetData().GetMask());
            Connect(*main, input, mask);
            D_RuleElem& rule = static_cast<ARuleElem*>(Place(*main, "RULE", w, h))->GetData();
            rule.SetSearch(Filled(w, h));
            rule.SetSubstitution(Filled(w, h));
            Fill(rule.GetMask()->GetMask());
            D_PermElem& table = static_cast<APermElem*>(Place(*main, "PERM", w, h))->GetData();
            for (int x = 0; x < w; x++)
                for (int y = 0; y < h; y++)
                    table.Add(x, y, w - 1 - x, h - 1 - y);
            for (const char* type : {"LOGIC", "S-SEED", "SPLIT", "JOIN", "C++"})
                Place(*main, type, w, h);
            Connect(*main, mask, Place(*main, "OUTPUT", w, h));
            PlaceMacro(w, h);
        }
        D_PermElem& table =
            static_cast<APermElem*>(Place(*main, "PERM", 400, 250, 1, 1))->GetData();
        for (int x = 0; x < 400; x++)
            for (int y = 0; y < 250; y++)
                table.Add(0, 0, x, y);
    }

    static std::unique_ptr<Matrix> Filled(int width, int height) {
        auto plane = std::make_unique<Matrix>(width, height);
        Fill(*plane);
        return plane;
    }

    MainWindow* main = nullptr;
    std::string dir;
};

TEST_F(EveryFileRoundTrip, TheArchitectureFileAndCoreArcReadBackToTheSameBytes) {
    Build();
    const int count = main->GetElements().GetCount();
    const int wires = main->GetConnections().GetCount();
    auto read = [&](const std::string& path) {
        const int result = LoadFile(*main, path.c_str(), nullptr);
        EXPECT_EQ(main->GetElements().GetCount(), count);
        EXPECT_EQ(main->GetConnections().GetCount(), wires);
        return result;
    };
    {
        SCOPED_TRACE("architecture file");
        const auto files = ThreeTimes(
            ".arc",
            [&](const std::string& path) { return SaveFileAs(*main, path.c_str(), nullptr, 1); },
            read);
        ExpectSameBytes(files, true);
        EXPECT_GT(files[0].size(), 100000u * 7);
        EXPECT_NE(files[0].find("GLOBAL_ARCHITECTURE_DATA"), std::string::npos);
        EXPECT_NE(files[0].find("TYPE: MACRO"), std::string::npos);
    }
    {
        // The emergency save writes core.arc into the current directory.
        SCOPED_TRACE("core.arc");
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        const auto files = ThreeTimes(
            "core.arc",
            [&](const std::string& path) {
                main->SetModified();
                const int result = SaveCoreArchitecture();
                return result != 0 ? result : std::rename("core.arc", path.c_str());
            },
            read);
        ASSERT_EQ(chdir(here), 0);
        ExpectSameBytes(files, true);
    }
}

TEST_F(EveryFileRoundTrip, EveryElementFileReadsBackToTheSameBytes) {
    Build();
    const PtrArray<AElement>& elements = main->GetElements();
    for (int k = 0; k < elements.GetCount(); k++) {
        AElement* element = elements[k];
        const char* type = GetTypeName(element->GetType());
        int width = 0, height = 0;
        if (element->GetOutputCount() > 0) element->GetOutputPlaneSize(0, width, height);
        SCOPED_TRACE(std::string(type) + " " + std::to_string(width) + " x " +
                     std::to_string(height));
        // Each reading goes into a fresh element of the type, which the next round writes.
        std::vector<std::unique_ptr<AElement>> fresh;
        AElement* current = element;
        const auto files = ThreeTimes(
            "." + std::to_string(k) + ".element",
            [&](const std::string& path) { return SaveFileAs(*current, path.c_str(), nullptr, 1); },
            [&](const std::string& path) {
                fresh.emplace_back(CreateElement(type, main));
                fresh.back()->CreateData();
                current = fresh.back().get();
                return LoadFile(*current, path.c_str(), nullptr);
            });
        ExpectSameBytes(files, element->GetType() == kPerm || element->GetType() == kMacro);
    }
}

TEST_F(EveryFileRoundTrip, MatrixFilesAndTheShowDataSaveReadBackToTheSameBytes) {
    for (const auto& shape : {std::make_pair(65536, 1), std::make_pair(1, 65536)}) {
        const std::string size = std::to_string(shape.first) + "x" + std::to_string(shape.second);
        SCOPED_TRACE(size);
        AElement* mask = Place(*main, "MASK", shape.first, shape.second);
        Fill(*mask->GetOutputPlane(0));
        // Save of the show-data window, through its button and the file dialog.
        mask->OpenShowDataWindow(0);
        auto* window = dynamic_cast<ShowDataWindow*>(mask->GetShowDataWindow(0));
        ASSERT_NE(window, nullptr);
        Matrix plane(shape.first, shape.second);
        Matrix* current = mask->GetOutputPlane(0);
        const auto files = ThreeTimes(
            "." + size + ".matrix",
            [&](const std::string& path) {
                if (current != mask->GetOutputPlane(0)) {
                    return SaveFileAs(*current, path.c_str(), nullptr, 1);
                }
                testgui::Press(window->GetSaveButton());
                Widget dialog = GetFileDialog();
                EXPECT_TRUE(XtIsManaged(dialog));
                OwnedXmString value(path.c_str());
                XmFileSelectionBoxCallbackStruct call{};
                call.reason = XmCR_OK;
                call.value = value.Get();
                call.length = XmStringLength(value.Get());
                testgui::RunInDispatch([&] { XtCallCallbacks(dialog, XmNokCallback, &call); });
                return XtIsManaged(dialog) ? 1 : 0;
            },
            [&](const std::string& path) {
                current = &plane;
                return LoadFile(plane, path.c_str(), nullptr);
            });
        ExpectSameBytes(files, false);
        mask->CloseShowDataWindow(0);
    }
}

} // namespace
