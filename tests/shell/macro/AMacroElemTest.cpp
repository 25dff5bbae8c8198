// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/AMacroElem.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "editors/ShowDataWindow.h"
#include "model/data/ClockList.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/PinCode.h"
#include "shell/ClocksWindow.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/PlaneText.h"
#include "tests/shell/macro/MacroGui.h"
#include "tests/support/AddressSpace.h"

namespace {

// A macro holding a macro: the outer one's input feeds the inner one, whose output is the outer
// one's output; inside the inner one the input is wired straight to the output. The element
// blocks are not in the order of the ports. Trailing blanks are marked '$'.
const char* const kNestedMacro = R"(TYPE: MACRO
INTERNAL_DATA {
  NAME:       MACRO
  COMMENT:    outer
  INPUTS:     1
  OUTPUTS:    1
  INPUT_DIM:  (4,2)
  OUTPUT_DIM: (4,2)
  CLOCK:      0
  TIME:       0
}
LOGICAL_DATA {
  REMARKS {
  }

  OPTIONS {
    GRID {
      VISIBLE:   ON
      DIMENSION: (15,15)
      RASTERIZE: ON
    }
  }

  ARCHITECTURE_ELEMENTS {
    NUMBER: 3
    ELEMENTS {
      ARCHITECTURE_ELEMENT {
        TYPE: MACRO_OUTPUT
        INTERNAL_DATA {
          NAME:       MACRO_OUTPUT
          COMMENT:    result
          INPUTS:     1
          OUTPUTS:    0
          INPUT_DIM:  (4,2)
          OUTPUT_DIM: (-,-)
          CLOCK:      0
          TIME:       0
        }
        LOGICAL_DATA {
          OUTPUT_NR: 0
        }
        ARCHITECTURE_DATA {
          ID:   0
          PREV: [1,1]
          NEXT: $
          POS:  (240,45)
        }
      }
      ARCHITECTURE_ELEMENT {
        TYPE: MACRO
        INTERNAL_DATA {
          NAME:       MACRO
          COMMENT:    inner
          INPUTS:     1
          OUTPUTS:    1
          INPUT_DIM:  (4,2)
          OUTPUT_DIM: (4,2)
          CLOCK:      0
          TIME:       0
        }
        LOGICAL_DATA {
          REMARKS {
          }

          OPTIONS {
            GRID {
              VISIBLE:   ON
              DIMENSION: (15,15)
              RASTERIZE: ON
            }
          }

          ARCHITECTURE_ELEMENTS {
            NUMBER: 2
            ELEMENTS {
              ARCHITECTURE_ELEMENT {
                TYPE: MACRO_INPUT
                INTERNAL_DATA {
                  NAME:       MACRO_INPUT
                  COMMENT:    in
                  INPUTS:     0
                  OUTPUTS:    1
                  INPUT_DIM:  (-,-)
                  OUTPUT_DIM: (4,2)
                  CLOCK:      0
                  TIME:       0
                }
                LOGICAL_DATA {
                  INPUT_NR: 0
                }
                ARCHITECTURE_DATA {
                  ID:   0
                  PREV: $
                  NEXT: [1,1]
                  POS:  (30,45)
                }
              }
              ARCHITECTURE_ELEMENT {
                TYPE: MACRO_OUTPUT
                INTERNAL_DATA {
                  NAME:       MACRO_OUTPUT
                  COMMENT:    out
                  INPUTS:     1
                  OUTPUTS:    0
                  INPUT_DIM:  (4,2)
                  OUTPUT_DIM: (-,-)
                  CLOCK:      0
                  TIME:       0
                }
                LOGICAL_DATA {
                  OUTPUT_NR: 0
                }
                ARCHITECTURE_DATA {
                  ID:   1
                  PREV: [0,1]
                  NEXT: $
                  POS:  (150,45)
                }
              }
            }
          }
        }
        ARCHITECTURE_DATA {
          ID:   1
          PREV: [2,1]
          NEXT: [0,1]
          POS:  (120,30)
        }
      }
      ARCHITECTURE_ELEMENT {
        TYPE: MACRO_INPUT
        INTERNAL_DATA {
          NAME:       MACRO_INPUT
          COMMENT:    plane
          INPUTS:     0
          OUTPUTS:    1
          INPUT_DIM:  (-,-)
          OUTPUT_DIM: (4,2)
          CLOCK:      0
          TIME:       0
        }
        LOGICAL_DATA {
          INPUT_NR: 0
        }
        ARCHITECTURE_DATA {
          ID:   2
          PREV: $
          NEXT: [1,1]
          POS:  (30,45)
        }
      }
    }
  }
}
)";

// A port block as an element of a macro's body, at the level of the body's elements.
std::string PlacedPort(uint32_t type, const char* comment, int number, int id, const char* pos) {
    const bool input = type == kMacroInput;
    std::string text = "      ARCHITECTURE_ELEMENT {\n";
    text += Indented(PortBlock(type, comment, number), 4);
    text += "        ARCHITECTURE_DATA {\n";
    text += "          ID:   " + std::to_string(id) + "\n";
    text += std::string("          PREV: ") + (input ? "$" : "[-,-]") + "\n";
    text += std::string("          NEXT: ") + (input ? "[-,-]" : "$") + "\n";
    text += std::string("          POS:  ") + pos + "\n";
    return text + "        }\n      }\n";
}

// Two inputs stored as numbers 1, 0, and one output; nothing wired.
const std::string kPortsMacro = R"(TYPE: MACRO
INTERNAL_DATA {
  NAME:       MACRO
  COMMENT:    two in, one out
  INPUTS:     2
  OUTPUTS:    1
  INPUT_DIM:  (4,2)(4,2)
  OUTPUT_DIM: (4,2)
  CLOCK:      0
  TIME:       0
}
LOGICAL_DATA {
  REMARKS {
  }

  OPTIONS {
    GRID {
      VISIBLE:   ON
      DIMENSION: (15,15)
      RASTERIZE: ON
    }
  }

  ARCHITECTURE_ELEMENTS {
    NUMBER: 3
    ELEMENTS {
)" + PlacedPort(kMacroInput, "second", 1, 0, "(30,90)") +
                                PlacedPort(kMacroInput, "first", 0, 1, "(30,45)") +
                                PlacedPort(kMacroOutput, "only", 0, 2, "(150,45)") + R"(    }
  }
}
)";

// The good text with its first occurrence of find replaced.
std::string Broken(const std::string& good, const char* find, const char* replace) {
    std::string text = good;
    const size_t at = text.find(find);
    EXPECT_NE(at, std::string::npos) << find;
    if (at != std::string::npos) text.replace(at, std::string(find).size(), replace);
    return text;
}

using AMacroElemFile = MacroFixture;
using AMacroElemSimulation = MacroFixture;
using AMacroElemPorts = MacroFixture;

} // namespace

TEST_F(AMacroElemFile, ANestedMacroReadsAndWritesBackByteForByte) {
    const std::string text = Text(kNestedMacro);
    AMacroElem* outer = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*outer, text), 0);
    EXPECT_EQ(GetParseError(), 0);
    EXPECT_STREQ(outer->GetComment(), "outer");
    ASSERT_EQ(outer->GetElements().GetCount(), 3);
    EXPECT_EQ(outer->GetConnections().GetCount(), 2);
    ASSERT_EQ(outer->GetMacroInputs().GetCount(), 1);
    ASSERT_EQ(outer->GetMacroOutputs().GetCount(), 1);
    EXPECT_EQ(outer->GetMacroInputs()[0], outer->GetElements()[2]);
    EXPECT_EQ(outer->GetMacroOutputs()[0], outer->GetElements()[0]);
    auto* inner = dynamic_cast<AMacroElem*>(outer->GetElements()[1]);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetOwner(), static_cast<Architecture*>(outer));
    EXPECT_EQ(inner->GetElements().GetCount(), 2);
    EXPECT_EQ(inner->GetConnections().GetCount(), 1);
    EXPECT_EQ(inner->GetMacroInputs()[0]->GetOutputTarget(0), inner->GetMacroOutputs()[0]);
    EXPECT_EQ(outer->GetMacroInputs()[0]->GetOutputTarget(0), inner);
    // 60 x 30: one pin on each side.
    EXPECT_EQ(outer->GetWidth(), 60);
    EXPECT_EQ(outer->GetHeight(), 30);
    EXPECT_EQ(WriteElement(*outer), text);

    // A copy carries the whole sub-architecture and writes the same text.
    std::unique_ptr<AElement> copy(AElement::Clone(*outer));
    auto* copied = dynamic_cast<AMacroElem*>(copy.get());
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied->GetElements()[1], inner);
    EXPECT_EQ(copied->GetElements()[1]->GetOwner(), static_cast<Architecture*>(copied));
    EXPECT_EQ(copied->GetMacroInputs()[0], copied->GetElements()[2]);
    EXPECT_EQ(WriteElement(*copied), text);
}

TEST_F(AMacroElemFile, AnArchitectureFileWithAMacroReadsBackTheSame) {
    AMacroElem* macro = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*macro, Text(kNestedMacro)), 0);
    AElement* source = Place(main(), "MASK", 150, 150);
    AElement* target = Place(main(), "MASK", 450, 150);
    Connect(main(), source, 3, macro, 2);
    Connect(main(), macro, 3, target, 2);
    std::ostringstream first;
    ASSERT_EQ(main().Write(first, 0, nullptr), 0);
    main().ClearModified();
    std::istringstream in(first.str());
    ClearParseError();
    ASSERT_EQ(main().Read(in, nullptr), 0);
    ASSERT_EQ(main().GetElements().GetCount(), 3);
    auto* read = dynamic_cast<AMacroElem*>(main().GetElements()[0]);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetInputSource(0), main().GetElements()[1]);
    EXPECT_EQ(read->GetOutputTarget(0), main().GetElements()[2]);
    std::ostringstream second;
    ASSERT_EQ(main().Write(second, 0, nullptr), 0);
    EXPECT_EQ(second.str(), first.str());
}

TEST_F(AMacroElemFile, AMacroWhoseClockIsDeletedStillSavesAFileThatLoads) {
    // A file may give a macro a clock of its own; deleting clocks renumbers it like any element's.
    ResetClocks();
    AddClock(50, 20);
    AMacroElem* macro = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*macro, Broken(Text(kPortsMacro), "CLOCK:      0\n  TIME",
                                         "CLOCK:      2\n  TIME")),
              0);
    ASSERT_EQ(macro->GetClock(), 2);
    RenumberClocksAfterRemoval(main(), 1, 2);
    GetClocks().Remove(0);
    EXPECT_EQ(macro->GetClock(), 1);
    std::ostringstream written;
    ASSERT_EQ(main().Write(written, 0, nullptr), 0);
    main().ClearModified();
    std::istringstream in(written.str());
    ClearParseError();
    EXPECT_EQ(main().Read(in, nullptr), 0);
    EXPECT_EQ(GetParseError(), 0);
    ASSERT_EQ(main().GetElements().GetCount(), 1);
    EXPECT_EQ(main().GetElements()[0]->GetClock(), 1);
    ResetClocks();
}

TEST_F(AMacroElemFile, PortsAreListedByNumber) {
    AMacroElem* macro = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*macro, Text(kPortsMacro)), 0);
    PtrArray<AMacroInputElem>& inputs = macro->GetMacroInputs();
    ASSERT_EQ(inputs.GetCount(), 2);
    EXPECT_EQ(inputs[0]->GetNumber(), 0);
    EXPECT_EQ(inputs[1]->GetNumber(), 1);
    EXPECT_EQ(inputs[0], macro->GetElements()[1]);
    EXPECT_EQ(inputs[1], macro->GetElements()[0]);
    EXPECT_EQ(macro->GetHeight(), 45);
}

TEST_F(AMacroElemFile, PortsNumberedTwiceTakeTheNumbersOfTheirPlaces) {
    AMacroElem* macro = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*macro, Broken(Text(kPortsMacro), "INPUT_NR: 1", "INPUT_NR: 0")), 0);
    PtrArray<AMacroInputElem>& inputs = macro->GetMacroInputs();
    ASSERT_EQ(inputs.GetCount(), 2);
    EXPECT_EQ(inputs[0], macro->GetElements()[0]);
    EXPECT_EQ(inputs[0]->GetNumber(), 0);
    EXPECT_EQ(inputs[1]->GetNumber(), 1);
    EXPECT_STREQ(inputs[1]->GetLabelText(), "1");
    // The second port's new plane size goes to the macro's second input: the file saved loads.
    inputs[1]->SetOutputPlaneSize(0, 8, 3);
    inputs[1]->DimensionChanged();
    EXPECT_EQ(macro->GetInputPlaneWidth(0), 4);
    EXPECT_EQ(macro->GetInputPlaneWidth(1), 8);
    AMacroElem* again = PlaceMacro(600, 150);
    EXPECT_EQ(ReadElement(*again, WriteElement(*macro)), 0);
    EXPECT_EQ(GetParseError(), 0);
}

TEST_F(AMacroElemFile, ABrokenBlockIsRefusedAndLeavesTheMacroAsItWas) {
    struct Case {
        const char* find;
        const char* replace;
        int code;
        int line;
        const char* token;
    };
    const Case cases[] = {
        // The header counts more ports than the body holds.
        {"INPUTS:     2\n  OUTPUTS:    1\n  INPUT_DIM:  (4,2)(4,2)",
         "INPUTS:     3\n  OUTPUTS:    1\n  INPUT_DIM:  (4,2)(4,2)(4,2)", 30, 94, ""},
        {"OUTPUTS:    1\n  INPUT_DIM:  (4,2)(4,2)\n  OUTPUT_DIM: (4,2)",
         "OUTPUTS:    2\n  INPUT_DIM:  (4,2)(4,2)\n  OUTPUT_DIM: (4,2)(4,2)", 31, 94, ""},
        // A macro pin whose plane differs from its port's.
        {"INPUT_DIM:  (4,2)(4,2)", "INPUT_DIM:  (4,2)(4,3)", 28, 94, ""},
        {"OUTPUT_DIM: (4,2)\n  CLOCK", "OUTPUT_DIM: (5,2)\n  CLOCK", 29, 94, ""},
        // A port number the macro has no pin for.
        {"INPUT_NR: 1", "INPUT_NR: 2", 27, 40, "INPUT_NR:"},
        {"INPUT_NR: 1", "INPUT_NR: -1", 27, 40, "INPUT_NR:"},
        {"LOGICAL_DATA {\n  REMARKS", "LOGIC {\n  REMARKS", 4, 12, "LOGICAL_DATA"},
        {"NUMBER: 3", "NUMBER: 4", 4, 93, "ARCHITECTURE_ELEMENT"},
        {"    }\n  }\n}\n", "    }\n  }\n", 8, 94, ""},
    };
    AMacroElem* macro = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*macro, Text(kNestedMacro)), 0);
    AElement* inner = macro->GetElements()[1];
    const std::string before = WriteElement(*macro);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replace);
        EXPECT_EQ(ReadElement(*macro, Broken(Text(kPortsMacro), c.find, c.replace)), c.code);
        EXPECT_EQ(GetParseError(), c.code);
        EXPECT_EQ(GetParseErrorLine(), c.line);
        const char* token = GetParseErrorToken();
        EXPECT_STREQ(token != nullptr ? token : "", c.token);
        EXPECT_EQ(macro->GetElements()[1], inner);
        EXPECT_EQ(WriteElement(*macro), before);
    }
    // Inside a nested macro the numbers are checked against the inner macro's pins.
    EXPECT_EQ(ReadElement(*macro, Broken(Text(kNestedMacro), "INPUT_NR: 0", "INPUT_NR: 1")), 27);
    EXPECT_EQ(GetParseErrorLine(), 89);
    EXPECT_EQ(WriteElement(*macro), before);
}

// Macros nested to the given depth, each holding the next, the innermost empty; no indentation.
std::string NestedMacros(int depth) {
    const std::string header = "TYPE: MACRO\nINTERNAL_DATA {\nNAME: MACRO\nCOMMENT:\nINPUTS: 0\n"
                               "OUTPUTS: 0\nINPUT_DIM: (-,-)\nOUTPUT_DIM: (-,-)\nCLOCK: 0\n"
                               "TIME: 0\n}\nLOGICAL_DATA {\nREMARKS {\n}\nOPTIONS {\nGRID {\n"
                               "VISIBLE: ON\nDIMENSION: (15,15)\nRASTERIZE: ON\n}\n}\n"
                               "ARCHITECTURE_ELEMENTS {\n";
    const std::string data = "ARCHITECTURE_DATA {\nID: 0\nPREV:\nNEXT:\nPOS: (30,30)\n}\n}\n";
    std::string text;
    for (int level = 0; level < depth; level++) {
        text += header;
        text += level + 1 < depth ? "NUMBER: 1\nELEMENTS {\nARCHITECTURE_ELEMENT {\n"
                                  : "NUMBER: 0\nELEMENTS {\n";
    }
    for (int level = 0; level < depth; level++) {
        text += "}\n}\n}\n";
        if (level + 1 < depth) text += data;
    }
    return text;
}

TEST_F(AMacroElemFile, MacrosNestedTooDeepAreRefusedBeforeTheStackRunsOut) {
    AMacroElem* macro = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*macro, NestedMacros(3)), 0);
    ASSERT_EQ(macro->GetElements().GetCount(), 1);
    AElement* inner = macro->GetElements()[0];
    EXPECT_EQ(ReadElement(*macro, NestedMacros(AMacroElem::kMaxNesting + 1)), kNumberOutOfRange);
    EXPECT_EQ(GetParseErrorLine(), 25 * AMacroElem::kMaxNesting + 11); // its header's last line
    EXPECT_STREQ(GetParseErrorToken(), "MACRO");
    EXPECT_EQ(macro->GetElements()[0], inner);
    // The deepest nesting taken, and a later read starts counting afresh.
    EXPECT_EQ(ReadElement(*macro, NestedMacros(AMacroElem::kMaxNesting)), 0);
    EXPECT_EQ(ReadElement(*macro, NestedMacros(2)), 0);
}

// A macro of eight inputs and eight outputs of 99999 x 99999 cells (1.2 GB a plane) whose body
// breaks off in its remarks; reads it in a process limited to what it holds plus 200 MB and
// exits with 0 when the error is the body's.
void ReadAHugeMacroWithLittleMemory(AMacroElem& macro) {
    std::string dims;
    for (int i = 0; i < 8; i++)
        dims += "(99999,99999)";
    const std::string text = "TYPE: MACRO\nINTERNAL_DATA {\n  NAME:       MACRO\n  COMMENT:    \n"
                             "  INPUTS:     8\n  OUTPUTS:    8\n  INPUT_DIM:  " +
                             dims + "\n  OUTPUT_DIM: " + dims +
                             "\n  CLOCK:      0\n  TIME:       0\n}\nLOGICAL_DATA {\n"
                             "  REMARKS {\n    a remark\n  }\n";
    LimitAddressSpaceToHeldPlus(std::size_t{200} << 20);
    const int code = ReadElement(macro, text);
    const char* token = GetParseErrorToken();
    std::exit(code == 4 && GetParseErrorLine() == 14 && token != nullptr &&
                      std::string(token) == "}"
                  ? 0
                  : 1);
}

// The pins a macro's header declares are made only once its body has read.
TEST_F(AMacroElemFile, AHugeMacroWhoseBodyBreaksOffIsRefusedBeforeItsPlanesAreMade) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer reserves address space that no limit can follow";
#endif
    AMacroElem* macro = PlaceMacro(300, 150);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ReadAHugeMacroWithLittleMemory(*macro), testing::ExitedWithCode(0), "");
}

// A load into a macro that holds elements replaces them and both port lists.
TEST_F(AMacroElemFile, ALoadReplacesWhatTheMacroHeld) {
    AMacroElem* fresh = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*fresh, Text(kPortsMacro)), 0);
    const std::string expected = WriteElement(*fresh);
    const int count = fresh->GetElements().GetCount();
    for (const std::string& first : {kPortsMacro, std::string(kNestedMacro)}) {
        AMacroElem* macro = PlaceMacro(300, 150);
        ASSERT_EQ(ReadElement(*macro, Text(first)), 0);
        ASSERT_EQ(ReadElement(*macro, Text(kPortsMacro)), 0);
        EXPECT_EQ(macro->GetElements().GetCount(), count);
        EXPECT_EQ(macro->GetMacroInputs().GetCount(), 2);
        EXPECT_EQ(macro->GetMacroOutputs().GetCount(), 1);
        EXPECT_EQ(WriteElement(*macro), expected);
    }
}

TEST_F(AMacroElemFile, ReadingIntoAnOpenMacroShowsWhatWasRead) {
    AMacroElem* macro = PlaceMacro(300, 150);
    macro->OpenModifyWindow();
    ASSERT_TRUE(ProcessUntil([macro] { return IsShown(macro->GetCadArea()); }));
    ASSERT_EQ(ReadElement(*macro, Text(kPortsMacro)), 0);
    EXPECT_EQ(macro->GetPaletteInput()->GetNumber(), 2);
    EXPECT_EQ(macro->GetPaletteOutput()->GetNumber(), 1);
    Display* display = nullptr;
    for (int i = 0; i < macro->GetElements().GetCount(); i++) {
        AElement* element = macro->GetElements()[i];
        EXPECT_EQ(element->GetWindow(), XtWindow(macro->GetCadArea()));
        display = element->GetDisplay();
    }
    EXPECT_EQ(display, XtDisplay(macro->GetCadArea()));
    macro->CloseModifyWindow();
}

// INPUT (clock 1: period 100, offset 0; TIME 0) -> macro input 1 -> MASK inside (TIME 0) ->
// macro output 0 -> MASK outside (all ones, TIME 5). Macro input 0 is left unconnected.
TEST_F(AMacroElemSimulation, PlanesPassThroughTheMacroAtTheTimesTheInsideComputes) {
    ResetClocks();
    AElement* input = Place(main(), "INPUT", 60, 150);
    input->SetTime(0);
    PlaneList& stack = static_cast<AInputElem*>(input)->GetStoredData().GetPlaneList();
    stack.InsertPlanes(1, 1);
    stack.SetXYPlane(PlaneFromText("1100/0011"), 0);
    stack.SetXYPlane(PlaneFromText("1010/0101"), 1);
    AMacroElem* macro = PlaceMacro(300, 150);
    AMacroInputElem* unused = AddInput(*macro, 30, 30);
    AMacroInputElem* in = AddInput(*macro, 30, 90);
    AMacroOutputElem* out = AddOutput(*macro, 300, 90);
    ASSERT_NE(unused, nullptr);
    ASSERT_NE(in, nullptr);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(macro->GetInputCount(), 2);
    EXPECT_EQ(macro->GetOutputCount(), 1);
    AElement* mask = Place(*macro, "MASK", 150, 90);
    static_cast<AMaskElem*>(mask)->GetData().GetMask() = PlaneFromText("0110/0110");
    Connect(*macro, in, 3, mask, 2);
    Connect(*macro, mask, 3, out, 2);
    AElement* after = Place(main(), "MASK", 450, 150);
    after->SetTime(5);
    Connect(main(), input, 3, macro, 4);
    Connect(main(), macro, 3, after, 2);

    main().ResetSimulation();
    Run(50);
    // The plane the INPUT emits at 0 passes the inside at 0 and leaves the MASK outside at 5.
    EXPECT_EQ(PlaneText(*in->GetOutputPlane(0)), "1100/0011");
    EXPECT_EQ(PlaneText(*unused->GetOutputPlane(0)), "0000/0000");
    EXPECT_EQ(mask->GetLastSimulatedTime(), 0u);
    EXPECT_EQ(out->GetLastSimulatedTime(), 0u);
    EXPECT_EQ(PlaneText(*macro->GetOutputPlane(0)), "0100/0010");
    EXPECT_EQ(after->GetLastSimulatedTime(), 5u);
    EXPECT_EQ(PlaneText(*after->GetOutputPlane(0)), "0100/0010");

    Run(100);
    EXPECT_EQ(mask->GetLastSimulatedTime(), 100u);
    EXPECT_EQ(PlaneText(*macro->GetOutputPlane(0)), "0010/0100");
    EXPECT_EQ(after->GetLastSimulatedTime(), 5u);
    Run(150);
    EXPECT_EQ(after->GetLastSimulatedTime(), 105u);
    EXPECT_EQ(PlaneText(*after->GetOutputPlane(0)), "0010/0100");

    // A reset clears every plane inside as well.
    main().ResetSimulation();
    EXPECT_EQ(PlaneText(*in->GetOutputPlane(0)), "0000/0000");
    EXPECT_EQ(PlaneText(*mask->GetOutputPlane(0)), "0000/0000");
}

TEST_F(AMacroElemSimulation, AClockedElementInsideRunsOnItsOwnTicks) {
    ResetClocks();
    AMacroElem* macro = PlaceMacro(300, 150);
    AElement* inner = Place(*macro, "INPUT", 30, 30);
    inner->SetTime(0);
    main().ResetSimulation();
    Run(250);
    EXPECT_EQ(inner->GetLastSimulatedTime(), 200u);
}

TEST_F(AMacroElemSimulation, TheShowDataWindowFollowsEveryOutputTheInsideSets) {
    AMacroElem* macro = PlaceMacro(300, 150);
    AMacroInputElem* in = AddInput(*macro, 30, 30);
    AMacroOutputElem* out = AddOutput(*macro, 300, 30);
    Connect(*macro, in, 3, out, 2);
    macro->OpenShowDataWindow(0);
    ASSERT_NE(macro->GetShowDataWindow(0), nullptr);
    *macro->GetInputPlane(0) = PlaneFromText("1001/0110");
    macro->Simulate();
    EXPECT_EQ(PlaneText(*macro->GetOutputPlane(0)), "0000/0000");
    in->LatchInputs();
    out->LatchInputs();
    out->Simulate();
    EXPECT_EQ(PlaneText(*macro->GetOutputPlane(0)), "1001/0110");
    macro->CloseShowDataWindow(0);
}

TEST_F(AMacroElemPorts, APortIsAddedOnlyAsTheNextOneAndWhenTheMacroCanGrow) {
    AMacroElem* macro = PlaceMacro(300, 150);
    auto* skipping = new AMacroInputElem(macro, 0, 0);
    skipping->SetNumber(1);
    EXPECT_EQ(macro->AddMacroInput(skipping), 0);
    EXPECT_EQ(macro->AddMacroOutput(skipping), 0);
    delete skipping;
    AElement* neighbour = Place(main(), "MASK", 300, 220);
    ASSERT_NE(AddInput(*macro, 30, 30), nullptr);
    EXPECT_EQ(macro->GetHeight(), 30);
    ASSERT_NE(AddInput(*macro, 30, 60), nullptr);
    EXPECT_EQ(macro->GetHeight(), 45);
    // A fourth pin row would make the icon 75 high and reach the neighbour 70 pixels below.
    ASSERT_NE(AddInput(*macro, 30, 90), nullptr);
    EXPECT_EQ(AddInput(*macro, 30, 120), nullptr);
    EXPECT_EQ(macro->GetInputCount(), 3);
    EXPECT_EQ(macro->GetMacroInputs().GetCount(), 3);
    // The new pin's plane takes the size of its port's.
    auto* wide = new AMacroOutputElem(macro, 0, 0);
    wide->SetInputPlaneSize(0, 8, 3);
    ASSERT_EQ(macro->AddMacroOutput(wide), 1);
    EXPECT_EQ(macro->GetOutputPlaneWidth(0), 8);
    EXPECT_EQ(macro->GetOutputPlaneHeight(0), 3);
    wide->SetOwner(macro);
    macro->GetElements().Add(wide);
    // So what is saved loads again.
    AMacroElem* again = PlaceMacro(300, 400);
    EXPECT_EQ(ReadElement(*again, WriteElement(*macro)), 0);
    EXPECT_EQ(again->GetOutputPlaneWidth(0), 8);
    main().GetElements().Remove(neighbour);
    delete neighbour;
}

TEST_F(AMacroElemPorts, DeletingAPortRenumbersTheOthersAndMovesTheirWires) {
    AMacroElem* macro = PlaceMacro(300, 150);
    AMacroInputElem* ports[3];
    AElement* feeders[3];
    for (int k = 0; k < 3; k++) {
        ports[k] = AddInput(*macro, 30, 30 + 45 * k);
        ASSERT_NE(ports[k], nullptr);
        feeders[k] = Place(main(), "MASK", 90, 90 + 60 * k);
        Connect(main(), feeders[k], 3, macro, InputPinCode(k));
    }
    macro->SetInputPlaneSize(2, 4, 2);
    EXPECT_EQ(macro->GetHeight(), 60);
    macro->GetSelection().Add(ports[0]);
    macro->DeleteSelection();
    EXPECT_EQ(macro->GetInputCount(), 2);
    EXPECT_EQ(macro->GetHeight(), 45);
    ASSERT_EQ(macro->GetMacroInputs().GetCount(), 2);
    EXPECT_EQ(macro->GetMacroInputs()[0], ports[1]);
    EXPECT_EQ(ports[1]->GetNumber(), 0);
    EXPECT_EQ(ports[2]->GetNumber(), 1);
    EXPECT_STREQ(ports[2]->GetLabelText(), "1");
    // The wire of the deleted input has gone; the others now end at input pins 2 and 4.
    EXPECT_EQ(feeders[0]->GetOutputConnection(0), nullptr);
    ASSERT_NE(macro->GetInputConnection(0), nullptr);
    EXPECT_EQ(macro->GetInputSource(0), feeders[1]);
    EXPECT_EQ(macro->GetInputConnection(0)->GetTargetPin(), 2);
    EXPECT_EQ(macro->GetInputSource(1), feeders[2]);
    EXPECT_EQ(macro->GetInputConnection(1)->GetTargetPin(), 4);
    EXPECT_EQ(main().GetConnections().GetCount(), 2);
    int x = 0, y = 0;
    macro->GetInputConnection(1)->GetTargetPoint(x, y);
    EXPECT_EQ(x, 299);
    EXPECT_EQ(y, 180);
    EXPECT_EQ(macro->IsModified(), 1);

    // Deleting the only output takes the macro's last output pin.
    AMacroOutputElem* out = AddOutput(*macro, 300, 30);
    AElement* fed = Place(main(), "MASK", 450, 150);
    Connect(main(), macro, 3, fed, 2);
    macro->GetSelection().Add(out);
    macro->DeleteSelection();
    EXPECT_EQ(macro->GetOutputCount(), 0);
    EXPECT_EQ(fed->GetInputConnection(0), nullptr);
    EXPECT_EQ(main().GetConnections().GetCount(), 2);
}

TEST_F(AMacroElemPorts, DeletingAnOutputKeepsTheAllOutputsWindowAndMovesTheOnesAbove) {
    AMacroElem* macro = PlaceMacro(300, 150);
    AMacroOutputElem* first = AddOutput(*macro, 300, 30);
    AMacroOutputElem* second = AddOutput(*macro, 300, 90);
    ASSERT_NE(second, nullptr);
    AElement* fed = Place(main(), "MASK", 450, 150);
    Connect(main(), macro, 5, fed, 2);
    macro->OpenShowDataWindow(0);
    macro->OpenShowDataWindow(2);
    ElementView* moved = macro->GetShowDataWindow(2);
    ASSERT_NE(moved, nullptr);
    macro->GetSelection().Add(first);
    macro->DeleteSelection();
    EXPECT_NE(macro->GetShowDataWindow(0), nullptr);
    // The window of the second output now shows output 1 from slot 1; its Close clears that slot.
    ASSERT_EQ(macro->GetShowDataWindow(1), moved);
    auto* window = dynamic_cast<ShowDataWindow*>(moved);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetOutputNumber(), 1);
    EXPECT_EQ(window->GetFirstIndex(), 0);
    Widget area = window->GetDrawArea(0);
    ASSERT_NE(area, nullptr);
    // The area's handlers find their output by the index it carries.
    XtPointer index = nullptr;
    XtVaGetValues(area, XmNuserData, &index, nullptr);
    EXPECT_EQ(reinterpret_cast<intptr_t>(index), 0);
    EXPECT_EQ(second->GetNumber(), 0);
    EXPECT_EQ(macro->GetOutputTarget(0), fed);
    EXPECT_EQ(macro->GetOutputConnection(0)->GetSourcePin(), 3);
    window->Close();
    EXPECT_EQ(macro->GetShowDataWindow(1), nullptr);
    macro->CloseShowDataWindow(0);
}

TEST_F(AMacroElemPorts, SavingClearsWhatChangedInsideNestedMacros) {
    AMacroElem* macro = PlaceMacro(300, 150);
    ASSERT_EQ(ReadElement(*macro, Text(kNestedMacro)), 0);
    auto* inner = dynamic_cast<AMacroElem*>(macro->GetElements()[1]);
    ASSERT_NE(inner, nullptr);
    main().ClearModified();
    EXPECT_EQ(main().IsModified(), 0);
    inner->GetElements()[0]->SetModified();
    EXPECT_EQ(inner->IsModified(), 1);
    EXPECT_EQ(macro->IsModified(), 1);
    EXPECT_EQ(main().IsModified(), 1);
    main().ClearModified();
    EXPECT_EQ(inner->IsModified(), 0);
    EXPECT_EQ(macro->IsModified(), 0);
    EXPECT_EQ(main().IsModified(), 0);
}
