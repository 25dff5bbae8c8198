// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/ArchitectureWindow.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/elements/AElement.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/ASplitElem.h"
#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "shell/ArchitectureFile.h"
#include "shell/FileSelection.h"
#include "shell/PinHighlight.h"
#include "shell/ShellElementUi.h"
#include "shell/WindowMessage.h"
#include "tests/support/ArchitectureText.h"

namespace {

// A library-like window without widgets: the body and the architecture operations work on the
// model alone.
class TestWindow : public ArchitectureWindow {
public:
    TestWindow() { windowKind = kLibraryWindowKind; }
    ~TestWindow() override { Clear(); }
    Widget GetShell() override { return nullptr; }
};

std::vector<std::string> asked;
MessageResult answer = kResultCancel;

MessageResult RecordMessage(Widget, MessageKind, const char* title, const char* text) {
    asked.push_back(std::string(title) + "|" + text);
    return answer;
}

class ArchitectureWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        AElement::SetDefaultPlaneSize(16, 16);
        ResetClocks();
        ClearParseError();
        asked.clear();
        SetWindowMessageFunction(RecordMessage);
        SetFileMessageFunction(RecordMessage);
    }
    void TearDown() override {
        SetWindowMessageFunction(nullptr);
        SetFileMessageFunction(nullptr);
    }

    // Appends an element of the window at a position.
    template <typename T> T* Add(TestWindow& window, int x, int y) {
        T* element = new T(&window, x, y);
        element->CreateData();
        window.GetElements().Add(element);
        return element;
    }
    static void Connect(TestWindow& window, AElement* from, int output, AElement* to, int input) {
        window.GetConnections().Add(
            new Connection(&window, from, 2 * output + 3, to, 2 * input + 2, 0));
    }
    static std::string Written(TestWindow& window, int level = 0) {
        std::ostringstream out;
        EXPECT_EQ(WriteArchitectureBody(window, out, level, 0), 0);
        return out.str();
    }
    static int ReadInto(TestWindow& window, const std::string& text) {
        ClearParseError();
        std::istringstream in(text);
        return ReadArchitectureBody(window, in, 0);
    }
};

// The 1-based line of the first line that contains the needle.
int LineOf(const std::string& text, const std::string& needle) {
    size_t at = text.find(needle);
    int line = 1;
    for (size_t i = 0; i < at && i < text.size(); i++)
        line += text[i] == '\n';
    return line;
}

std::string SplitBlock(const std::string& inputDim, int id, const std::string& prev,
                       const std::string& next, const std::string& pos) {
    return "    ARCHITECTURE_ELEMENT {\n"
           "      TYPE: SPLIT\n"
           "      INTERNAL_DATA {\n"
           "        NAME:       SPLIT\n"
           "        COMMENT:    \n"
           "        INPUTS:     1\n"
           "        OUTPUTS:    2\n"
           "        INPUT_DIM:  " +
           inputDim +
           "\n"
           "        OUTPUT_DIM: (16,16)(16,16)\n"
           "        CLOCK:      0\n"
           "        TIME:       0\n"
           "      }\n"
           "      LOGICAL_DATA {\n"
           "      }\n"
           "      ARCHITECTURE_DATA {\n"
           "        ID:   " +
           std::to_string(id) +
           "\n"
           "        PREV: " +
           prev +
           "\n"
           "        NEXT: " +
           next +
           "\n"
           "        POS:  " +
           pos +
           "\n"
           "      }\n"
           "    }\n";
}

const char* const kBodyHead = R"(REMARKS {
}

OPTIONS {
  GRID {
    VISIBLE:   ON
    DIMENSION: (15,15)
    RASTERIZE: ON
  }
}

)";

// Two SPLITs; the second one's input and the first one's outputs as given.
std::string TwoSplits(const std::string& next0, const std::string& prev1,
                      const std::string& inputDim1 = "(16,16)") {
    return std::string(kBodyHead) +
           "ARCHITECTURE_ELEMENTS {\n"
           "  NUMBER: 2\n"
           "  ELEMENTS {\n" +
           SplitBlock("(16,16)", 0, "[-,-]", next0, "(30,45)") +
           SplitBlock(inputDim1, 1, prev1, "[-,-][-,-]", "(150,45)") +
           "  }\n"
           "}\n";
}

// The tests that write architecture and library files begin them with the shared helper.
TEST(ArchitectureText, TheSharedBodyHeadIsWhatAWindowWrites) {
    EXPECT_EQ(BodyHead(), kBodyHead);
}

TEST_F(ArchitectureWindowFixture, WritesTheBodyWithLinksAtBothEnds) {
    TestWindow window;
    ASplitElem* first = Add<ASplitElem>(window, 30, 45);
    ASplitElem* second = Add<ASplitElem>(window, 150, 45);
    Connect(window, first, 1, second, 0);
    EXPECT_EQ(Written(window), TwoSplits("[-,-][1,1]", "[0,2]"));
}

TEST_F(ArchitectureWindowFixture, WritesTheEmptyBodyIndented) {
    TestWindow window;
    EXPECT_EQ(Written(window, 1), R"(  REMARKS {
  }

  OPTIONS {
    GRID {
      VISIBLE:   ON
      DIMENSION: (15,15)
      RASTERIZE: ON
    }
  }

  ARCHITECTURE_ELEMENTS {
    NUMBER: 0
    ELEMENTS {
    }
  }
)");
}

TEST_F(ArchitectureWindowFixture, ReadsBackElementsLinksPositionsAndGrid) {
    TestWindow source;
    source.SetGridOptions(0, 20, 10, 0);
    AInputElem* input = Add<AInputElem>(source, 15, 30);
    AMaskElem* mask = Add<AMaskElem>(source, 105, 30);
    ASplitElem* split = Add<ASplitElem>(source, 195, 30);
    AJoinElem* join = Add<AJoinElem>(source, 285, 30);
    AOutputElem* output = Add<AOutputElem>(source, 375, 45);
    Connect(source, input, 0, mask, 0);
    Connect(source, mask, 0, split, 0);
    Connect(source, split, 0, join, 1);
    Connect(source, split, 1, join, 0);
    Connect(source, join, 0, output, 0);
    const std::string text = Written(source);

    TestWindow copy;
    ASSERT_EQ(ReadInto(copy, text), 0) << GetParseErrorLine() << " " << GetParseError();
    EXPECT_EQ(Written(copy), text);
    PtrArray<AElement>& elements = copy.GetElements();
    ASSERT_EQ(elements.GetCount(), 5);
    const uint32_t types[] = {kInput, kMask, kSplit, kJoin, kOutput};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(elements[i]->GetType(), types[i]);
    EXPECT_EQ(elements[4]->GetX(), 375);
    EXPECT_EQ(elements[4]->GetY(), 45);
    EXPECT_EQ(copy.GetConnections().GetCount(), 5);
    EXPECT_EQ(elements[3]->GetInputSource(1), elements[2]);
    EXPECT_EQ(elements[2]->GetOutputConnection(1)->GetTargetPin(), 2); // join input 0
    EXPECT_EQ(copy.GetGridVisible(), 0);
    EXPECT_EQ(copy.GetGridX(), 20);
    EXPECT_EQ(copy.GetGridY(), 10);
    EXPECT_EQ(copy.GetRasterize(), 0);
}

TEST_F(ArchitectureWindowFixture, TypeNamesMatchAsPrefixes) {
    TestWindow window;
    struct Case {
        const char* text;
        int type; // -1: none
    };
    const Case cases[] = {{"MASK", kMask},      {"MASKED", kMask}, {"SPLIT", kSplit},
                          {"JOIN ", kJoin},     {"INPUT", kInput}, {"OUTPUT", kOutput},
                          {"HELP_ELEMENT", -1}, {"FOO", -1},       {"", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        AElement* element = CreateElement(c.text, &window);
        EXPECT_EQ(element != nullptr ? static_cast<int>(element->GetType()) : -1, c.type);
        delete element;
    }
}

TEST_F(ArchitectureWindowFixture, ReadErrorsGiveCodeLineAndToken) {
    const std::string good = TwoSplits("[-,-][1,1]", "[0,2]");
    struct Case {
        const char* what;
        std::string from, to; // replaced in the good text
        int code;
        const char* token;
        const char* lineOf; // the text on the line the error is met on (in the broken body)
    };
    const Case cases[] = {
        {"remarks text", "REMARKS {\n", "REMARKS {\nhello\n", kKeywordExpected, "}", "hello"},
        {"no options", "OPTIONS {", "OPTION {", kKeywordExpected, "OPTIONS", "OPTION {"},
        {"visible word", "VISIBLE:   ON", "VISIBLE:   YES", kUnexpectedChar,
         "VISIBLE:", "VISIBLE:"},
        {"unknown type", "TYPE: SPLIT", "TYPE: FOO", kUnknownElementType, "FOO", "TYPE: FOO"},
        {"bad pair", "PREV: [0,2]", "PREV: [0,x]", kUnexpectedChar, "PREV:", "PREV: [0,x]"},
        {"no position", "POS:  (150,45)", "PLACE: (150,45)", kKeywordExpected, "POS:", "PLACE:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = good;
        size_t at = text.rfind(c.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, c.from.size(), c.to);
        TestWindow window;
        EXPECT_EQ(ReadInto(window, text), c.code);
        EXPECT_EQ(GetParseError(), c.code);
        EXPECT_EQ(GetParseErrorLine(), LineOf(text, c.lineOf));
        ASSERT_NE(GetParseErrorToken(), nullptr);
        EXPECT_STREQ(GetParseErrorToken(), c.token);
        // What was read before the error stays, but no link is made.
        EXPECT_EQ(window.GetConnections().GetCount(), 0);
    }
}

TEST_F(ArchitectureWindowFixture, UnknownTypeKeepsTheElementsBefore) {
    std::string text = TwoSplits("[-,-][1,1]", "[0,2]");
    text.replace(text.rfind("TYPE: SPLIT"), 11, "TYPE: FOO");
    TestWindow window;
    EXPECT_EQ(ReadInto(window, text), kUnknownElementType);
    EXPECT_EQ(window.GetElements().GetCount(), 1);
    EXPECT_EQ(window.GetConnections().GetCount(), 0);
}

TEST_F(ArchitectureWindowFixture, ReadsTruncatedBodiesAsUnexpectedEof) {
    const std::string good = TwoSplits("[-,-][1,1]", "[0,2]");
    // Every cut at a line end before the last line must fail without crashing.
    for (size_t at = good.find('\n'); at + 1 < good.size(); at = good.find('\n', at + 1)) {
        TestWindow window;
        int code = ReadInto(window, good.substr(0, at + 1));
        EXPECT_NE(code, 0) << at;
    }
}

TEST_F(ArchitectureWindowFixture, DropsLinksThatCannotBeMade) {
    struct Case {
        const char* what;
        const char* prev1;
        const char* inputDim1;
    };
    const Case cases[] = {
        {"element number equal to the count", "[2,1]", "(16,16)"},
        {"negative element number", "[-1,1]", "(16,16)"},
        {"pin number 0", "[0,0]", "(16,16)"},
        {"pin beyond the outputs", "[0,3]", "(16,16)"},
        {"undefined pin number", "[0,-]", "(16,16)"},
        {"planes of other sizes", "[0,2]", "(8,8)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestWindow window;
        EXPECT_EQ(ReadInto(window, TwoSplits("[-,-][-,-]", c.prev1, c.inputDim1)), 0);
        EXPECT_EQ(window.GetElements().GetCount(), 2);
        EXPECT_EQ(window.GetConnections().GetCount(), 0);
    }
    TestWindow window;
    EXPECT_EQ(ReadInto(window, TwoSplits("[-,-][-,-]", "[0,2]")), 0);
    EXPECT_EQ(window.GetConnections().GetCount(), 1); // one end is enough
}

TEST_F(ArchitectureWindowFixture, PositionsWhoseWireEndsLeaveIntAreOutOfRange) {
    // The first SPLIT (60 by 45 pixels) is wired from its second output; its wire ends lie one
    // pixel outside the icon.
    struct Case {
        const char* pos;
        int code;
    };
    const Case cases[] = {
        {"(2147483647,0)", kNumberOutOfRange},   {"(99999999999,0)", kNumberOutOfRange},
        {"(2147483587,0)", kNumberOutOfRange},   {"(2147483586,0)", kNoError},
        {"(-2147483648,0)", kNumberOutOfRange},  {"(-2147483647,0)", kNoError},
        {"(0,2147483602)", kNumberOutOfRange},   {"(0,2147483601)", kNoError},
        {"(0,-99999999999)", kNumberOutOfRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pos);
        std::string text = TwoSplits("[-,-][1,1]", "[0,2]");
        text.replace(text.find("(30,45)"), 7, c.pos);
        TestWindow window;
        EXPECT_EQ(ReadInto(window, text), c.code);
        EXPECT_EQ(window.GetConnections().GetCount(), c.code == kNoError ? 1 : 0);
        if (c.code == kNoError) continue;
        EXPECT_EQ(GetParseErrorLine(), LineOf(text, c.pos));
        ASSERT_NE(GetParseErrorToken(), nullptr);
        EXPECT_STREQ(GetParseErrorToken(), "POS:");
    }
}

TEST_F(ArchitectureWindowFixture, GridStepsBelowOneKeepTheCurrentStep) {
    std::string text = TwoSplits("[-,-][1,1]", "[0,2]");
    text.replace(text.find("(15,15)"), 7, "(0,-4)");
    TestWindow window;
    window.SetGridOptions(1, 12, 13, 1);
    EXPECT_EQ(ReadInto(window, text), 0);
    EXPECT_EQ(window.GetGridX(), 12);
    EXPECT_EQ(window.GetGridY(), 13);
}

TEST_F(ArchitectureWindowFixture, LinksCountFromTheElementsOfTheirBody) {
    // A body read into a window that holds elements already (as a macro reads its own body)
    // connects the elements it read, not those that were there.
    TestWindow window;
    Add<ASplitElem>(window, 300, 300);
    EXPECT_EQ(ReadInto(window, TwoSplits("[-,-][1,1]", "[0,2]")), 0);
    PtrArray<AElement>& elements = window.GetElements();
    ASSERT_EQ(elements.GetCount(), 3);
    ASSERT_EQ(window.GetConnections().GetCount(), 1);
    EXPECT_EQ(elements[2]->GetInputSource(0), elements[1]);
    EXPECT_EQ(elements[0]->GetOutputConnection(1), nullptr);
}

TEST_F(ArchitectureWindowFixture, FailedStreamWritesNothing) {
    TestWindow window;
    std::ostringstream out;
    out.setstate(std::ios::failbit);
    ClearParseError();
    EXPECT_EQ(window.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
    EXPECT_EQ(out.str(), "");
}

TEST_F(ArchitectureWindowFixture, FileWriteOpensWithTheHeaderComment) {
    TestWindow window;
    std::ostringstream out;
    EXPECT_EQ(window.Write(out, 0, nullptr), 0);
    EXPECT_EQ(out.str(), "#\n# QUIRAN Pro library file\n#\n\n" + Written(window));
    // And the reader skips it.
    TestWindow copy;
    EXPECT_EQ(ReadInto(copy, out.str()), 0);
    EXPECT_EQ(copy.DidRead(), 0); // reading a body alone is no file read
    std::istringstream in(out.str());
    EXPECT_EQ(copy.Read(in, nullptr), 0);
    EXPECT_EQ(copy.DidRead(), 1);
}

TEST_F(ArchitectureWindowFixture, WritingLeavesTheModifiedFlag) {
    // Only the save flow knows when the file is safely on disk.
    TestWindow window;
    Add<ASplitElem>(window, 30, 45);
    window.SetModified();
    Written(window);
    EXPECT_EQ(window.IsModified(), 1);
}

TEST_F(ArchitectureWindowFixture, QueryClearFollowsTheAnswer) {
    char folder[] = "/tmp/quiran-arch-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/kept.lib";
    struct Case {
        MessageResult answer;
        int result;
        int elementsAfter;
    };
    const Case cases[] = {{kResultCancel, 0, 1}, {kResultNo, 1, 0}, {kResultYes, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::ofstream(path) << "old\n";
        TestWindow window;
        window.SetFileName(path.c_str());
        Add<ASplitElem>(window, 30, 45);
        window.SetModified();
        asked.clear();
        answer = c.answer;
        EXPECT_EQ(window.QueryClear(), c.result);
        ASSERT_GE(asked.size(), 1u);
        EXPECT_EQ(asked[0], " |Architecture has been modified!\nDo you want to save it ?");
        EXPECT_EQ(window.GetElements().GetCount(), c.elementsAfter);
        std::ifstream saved(path);
        std::string first;
        std::getline(saved, first);
        if (c.answer == kResultYes) {
            EXPECT_EQ(first, "#"); // saved over the old file
            EXPECT_STREQ(window.GetFileName(), path.c_str());
        } else {
            EXPECT_EQ(first, "old");
        }
        // A cleared window forgets its file, so that a later Save cannot overwrite it.
        if (c.result == 1) {
            EXPECT_EQ(window.GetFileName(), nullptr);
        }
    }
    TestWindow unmodified;
    Add<ASplitElem>(unmodified, 30, 45);
    asked.clear();
    EXPECT_EQ(unmodified.QueryClear(), 1);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(unmodified.GetElements().GetCount(), 0);
    EXPECT_EQ(unmodified.IsModified(), 0);
    unlink(path.c_str());
    rmdir(folder);
}

TEST_F(ArchitectureWindowFixture, DeleteSelectionTakesElementsAndTheirWires) {
    TestWindow window;
    ASplitElem* a = Add<ASplitElem>(window, 30, 45);
    ASplitElem* b = Add<ASplitElem>(window, 150, 45);
    ASplitElem* c = Add<ASplitElem>(window, 270, 45);
    Connect(window, a, 0, b, 0);
    Connect(window, b, 0, c, 0);
    window.DeleteSelection();
    EXPECT_EQ(window.IsModified(), 0);
    window.GetSelection().Add(b);
    window.DeleteSelection();
    EXPECT_EQ(window.IsModified(), 1);
    EXPECT_EQ(window.GetSelection().GetCount(), 0);
    ASSERT_EQ(window.GetElements().GetCount(), 2);
    EXPECT_EQ(window.GetElements()[0], a);
    EXPECT_EQ(window.GetElements()[1], c);
    EXPECT_EQ(window.GetConnections().GetCount(), 0);
    EXPECT_EQ(a->GetOutputConnection(0), nullptr);
    EXPECT_EQ(c->GetInputConnection(0), nullptr);
}

TEST_F(ArchitectureWindowFixture, PinHighlightIsForgottenWithItsElementAndWindow) {
    ElementUi& previous = GetElementUi(); // other suites of this process may have installed one
    ShellElementUi ui(nullptr);
    SetElementUi(&ui);
    int pin = 0;
    AElement* survivor = nullptr;
    {
        TestWindow window;
        ASplitElem* split = Add<ASplitElem>(window, 30, 45);
        TrackPinHighlight(window, 32, 45 + 12); // input pin box
        EXPECT_EQ(GetPinHighlight(pin), split);
        EXPECT_EQ(pin, 2);
        TrackPinHighlight(window, 60, 45 + 12); // the icon's middle: no pin
        EXPECT_EQ(GetPinHighlight(pin), nullptr);
        TrackPinHighlight(window, 32, 45 + 12);
        window.GetSelection().Add(split);
        window.DeleteSelection();
        EXPECT_EQ(GetPinHighlight(pin), nullptr);

        survivor = Add<ASplitElem>(window, 30, 45);
        TrackPinHighlight(window, 32, 45 + 12);
        EXPECT_EQ(GetPinHighlight(pin), survivor);
        // The window goes while its element lives on.
        window.GetElements().Remove(survivor);
    }
    EXPECT_EQ(GetPinHighlight(pin), nullptr);
    survivor->SetOwner(nullptr);
    delete survivor;
    SetElementUi(&previous);
}

TEST_F(ArchitectureWindowFixture, CopyTakesGridAndGivesElementsTheCopy) {
    TestWindow source;
    source.SetGridOptions(0, 20, 25, 0);
    ASplitElem* a = Add<ASplitElem>(source, 30, 45);
    ASplitElem* b = Add<ASplitElem>(source, 150, 45);
    Connect(source, a, 0, b, 0);
    source.SetFileName("/tmp/x.lib");
    struct CopyWindow : public ArchitectureWindow {
        explicit CopyWindow(const ArchitectureWindow& w) : ArchitectureWindow(w) {}
        Widget GetShell() override { return nullptr; }
    } copy(source);
    EXPECT_EQ(copy.GetFileName(), nullptr);
    EXPECT_EQ(copy.GetWindowKind(), kLibraryWindowKind);
    EXPECT_EQ(copy.GetGridVisible(), 0);
    EXPECT_EQ(copy.GetGridX(), 20);
    EXPECT_EQ(copy.GetGridY(), 25);
    ASSERT_EQ(copy.GetElements().GetCount(), 2);
    EXPECT_EQ(copy.GetElements()[0]->GetOwner(), &copy);
    EXPECT_EQ(copy.GetConnections().GetCount(), 1);
    copy.Clear();
}

} // namespace
