#include "model/elements/ALogicElem.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// A LOGIC of 4 x 2 planes with 2 x 1 PEs: two external names over three cycles, one internal
// name, two equations, computed in parallel; written at level 1. The first data row of the
// matrix is cycle 2: cycle 0 holds e[0] = 1, e[1] = 0, cycle 1 the opposite, cycle 2 both.
const char* const kLogicBlock = R"(  TYPE: LOGIC
  INTERNAL_DATA {
    NAME:       LOGIC
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (4,2)
    OUTPUT_DIM: (4,2)
    CLOCK:      1
    TIME:       20
  }
  LOGICAL_DATA {
    PE_DIMENSION: (2,1)
    PE_DATA {
      NAMES {
        d[0,0]
        d[1,0]
      }
    }
    EXTERNAL_DATA {
      NUMBER: 2
      NAMES {
        e[0]
        e[1]
      }
      MATRIX {
        DIMENSION: (2,3)
        DATA {
          11
          01
          10
        }
      }
    }
    INTERNAL_DATA {
      NUMBER: 1
      NAMES {
        s
      }
    }
    EQUATION_DATA {
      NUMBER: 2
      EQUATIONS {
        d[0,0] = e[0] ^ s
        s = d[1,0]
      }
      COMPUTE_PARALLEL: ON
    }
  }
)";

const char* const kUndefinedBlock = R"(  TYPE: LOGIC
  INTERNAL_DATA {
    NAME:       LOGIC
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (4,2)
    OUTPUT_DIM: (4,2)
    CLOCK:      1
    TIME:       20
  }
  LOGICAL_DATA {
    NOT_DEFINED
  }
)";

// The block's LOGICAL_DATA alone at level 0, with no external data.
const char* const kNoExternalData = R"(LOGICAL_DATA {
  PE_DIMENSION: (1,1)
  PE_DATA {
    NAMES {
      d[0,0]
    }
  }
  EXTERNAL_DATA {
    NUMBER: 0
    NAMES {
    }
  }
  INTERNAL_DATA {
    NUMBER: 0
    NAMES {
    }
  }
  EQUATION_DATA {
    NUMBER: 1
    EQUATIONS {
      d[0,0] = N{d[0,0]}
    }
    COMPUTE_PARALLEL: OFF
  }
}
)";

// The default PE data names of a PE: "d[x,y]" in x-major order.
std::vector<std::string> PENames(int peX, int peY) {
    std::vector<std::string> names;
    for (int x = 0; x < peX; x++) {
        for (int y = 0; y < peY; y++)
            names.push_back("d[" + std::to_string(x) + "," + std::to_string(y) + "]");
    }
    return names;
}

class SilentSink : public LogicErrorSink {
public:
    void ShowEquationError(const char*, int, int) override {}
};

// A window side that can also make external-data windows, given the element's matrix as the real
// window is.
class LogicUi : public FakeElementUi {
public:
    LogicUi() { makes[kExternalDataView] = true; }
    ElementView* CreateView(const ViewRequest& request) override {
        ElementView* view = FakeElementUi::CreateView(request);
        if (request.kind == kExternalDataView) {
            Fake(view)->matrix =
                static_cast<ALogicElem*>(request.element)->GetData().GetExternalData();
            created++;
        }
        return view;
    }
    int created = 0;
};

class ALogicElemFixture : public ElementFixture {
protected:
    ALogicElemFixture() : logic(nullptr, 0, 0) {
        Resize(logic, 4, 2);
        logic.CreateData();
    }

    // Gives the element fresh data of its plane size with 1 x 1 PEs unless told otherwise.
    void Define(const std::vector<std::string>& equations, int parallel,
                const std::vector<std::string>& internal = {},
                const std::vector<std::string>& external = {}, int peX = 1, int peY = 1) {
        logic.DimensionChanged();
        D_LogicElem& data = logic.GetData();
        ASSERT_EQ(data.SetPEDimension(peX, peY), 1);
        data.SetPEDataNames(PENames(peX, peY));
        data.SetExternalNames(external);
        data.SetInternalNames(internal);
        data.SetEquations(equations);
        data.SetComputeParallel(parallel);
        ASSERT_EQ(data.CompileEquations(), 0);
    }

    // Input plane 0 := the plane, one step, output plane 0 as text.
    std::string Step(const std::string& in) {
        *logic.GetInputPlane(0) = PlaneFromText(in);
        logic.Simulate();
        return PlaneText(*logic.GetOutputPlane(0));
    }

    // The first internal bit of every PE, laid out as the PE grid, as text.
    std::string State() {
        const D_LogicElem& data = logic.GetData();
        const int perRow = data.GetWidth() / data.GetPEX();
        const int rows = data.GetHeight() / data.GetPEY();
        Matrix grid(perRow, rows);
        for (int p = 0; p < perRow * rows; p++) {
            const Matrix* state = data.GetInternalMatrix(p);
            if (state != nullptr) grid.SetBit(p % perRow, p / perRow, (*state)(0, 0));
        }
        return PlaneText(grid);
    }

    // The block's definition, as the modify window would store it.
    static void SetBlockData(D_LogicElem& data) {
        ASSERT_EQ(data.SetPEDimension(2, 1), 1);
        data.SetPEDataNames({"d[0,0]", "d[1,0]"});
        data.SetExternalNames({"e[0]", "e[1]"});
        *data.GetExternalData() = Matrix(2, 3);
        data.GetExternalData()->SetBit(0, 0, 1);
        data.GetExternalData()->SetBit(1, 1, 1);
        data.GetExternalData()->SetBit(0, 2, 1);
        data.GetExternalData()->SetBit(1, 2, 1);
        data.SetInternalNames({"s"});
        data.SetEquations({"d[0,0] = e[0] ^ s", "s = d[1,0]"});
        data.SetComputeParallel(1);
        ASSERT_EQ(data.CompileEquations(), 0);
    }

    LogicUi ui;
    ALogicElem logic;
};

using ALogicElemStep = ALogicElemFixture;
using ALogicElemBlock = ALogicElemFixture;
using ALogicElemWindows = ALogicElemFixture;

} // namespace

TEST_F(ALogicElemStep, ANewLogicIsClockedUndefinedAndLeavesItsOutputAlone) {
    EXPECT_EQ(logic.GetClock(), 1);
    EXPECT_EQ(logic.GetTime(), 20u);
    EXPECT_EQ(logic.GetInputCount(), 1);
    EXPECT_EQ(logic.GetOutputCount(), 1);
    EXPECT_EQ(logic.IsDefined(), 0);
    int x = -1, y = -1;
    EXPECT_EQ(logic.GetPEDimension(x, y), 0);

    // A PE dimension without equations is not enough either.
    ASSERT_EQ(logic.GetData().SetPEDimension(2, 1), 1);
    logic.GetData().SetPEDataNames({"d[0,0]", "d[1,0]"});
    EXPECT_EQ(logic.IsDefined(), 0);
    EXPECT_EQ(logic.GetPEDimension(x, y), 1);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(logic.GetData().GetPEDataName(0), nullptr);
    ui.now = 9;
    EXPECT_EQ(Step("1111/1111"), "0000/0000"); // a new output plane is all 0
    *logic.GetOutputPlane(0) = PlaneFromText("0110/1001");
    logic.Simulate();
    EXPECT_EQ(PlaneText(*logic.GetOutputPlane(0)), "0110/1001");
    EXPECT_EQ(logic.GetLastSimulatedTime(), 9u);
}

// One step with no internal state; the planes are rows 0 first, and the outputs follow from
// the operand rules with 0 for a neighbour beyond the array's border.
struct StepCase {
    const char* what;
    int peX, peY;
    std::vector<std::string> equations;
    const char* in;
    const char* out;
};

const StepCase kSteps[] = {
    // The two bottom PEs get the lower-left pixel of the PE above (row 2); the top PEs get 0.
    {"north neighbour data",
     2,
     2,
     {"d[0,0]=N{d[0,0]}"},
     "1111/1111/0011/1111",
     "0010/0000/0000/0000"},
    {"west neighbour data", 1, 1, {"d[0,0] = W{d[0,0]}"}, "1101", "0110"},
    {"east neighbour data", 1, 1, {"d[0,0] = E{d[0,0]}"}, "1011", "0110"},
    {"south neighbour data", 1, 1, {"d[0,0] = S{d[0,0]}"}, "1/1/0/1", "0/1/1/0"},
    // Unwritten output bits are 0 whatever the input holds.
    {"several destinations in a PE",
     2,
     2,
     {"d[1,1] = d[0,0] & d[1,0]", "d[0,1] = ~d[0,1]"},
     "11/01",
     "00/11"},
    {"neighbour offsets inside the PE", 2, 1, {"d[1,0] = W{d[0,0]} ^ E{d[1,0]}"}, "1001", "0101"},
    // Four PEs of 2 x 1 hold every pair (a, b) = (d[0,0], d[1,0]); d[0,0] := a op b.
    {"and", 2, 1, {"d[0,0] = d[0,0] & d[1,0]"}, "00011011", "00000010"},
    {"nand", 2, 1, {"d[0,0] = d[0,0] nand d[1,0]"}, "00011011", "10101000"},
    {"xor", 2, 1, {"d[0,0] = d[0,0] ^ d[1,0]"}, "00011011", "00101000"},
    {"or", 2, 1, {"d[0,0] = d[0,0] | d[1,0]"}, "00011011", "00101010"},
    {"nor", 2, 1, {"d[0,0] = d[0,0] nor d[1,0]"}, "00011011", "10000000"},
    {"not", 2, 1, {"d[0,0] = ~d[0,0]"}, "00011011", "10100000"},
    {"constants", 2, 1, {"d[0,0] = 1", "d[1,0] = 0 | d[1,0] & 0"}, "00011011", "10101010"},
    // XOR binds tighter than NOR: (a NAND 1) NOR (0 XOR 0 XOR (NOT (1 AND 0) AND b)) is
    // a AND NOT b.
    {"nested",
     2,
     1,
     {"d[1,0] = (d[0,0] nand 1) nor (0 xor 0) ^ !(1 & 0) & d[1,0]"},
     "00011011",
     "00000100"},
};

TEST_F(ALogicElemStep, EvaluatesEveryPEFromTheBottomRow) {
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(c.what);
        const Matrix in = PlaneFromText(c.in);
        Resize(logic, in.GetDimX(), in.GetDimY());
        Define(c.equations, 0, {}, {}, c.peX, c.peY);
        EXPECT_EQ(Step(c.in), c.out);
    }
}

TEST_F(ALogicElemStep, WidePlanesKeepTheirPaddingClear) {
    Resize(logic, 40, 1);
    Define({"d[0,0] = W{d[0,0]}"}, 1);
    std::string in(40, '0');
    in[31] = '1';
    in[39] = '1';
    std::string out(40, '0');
    out[32] = '1';
    EXPECT_EQ(Step(in), out);
    EXPECT_EQ(*logic.GetOutputPlane(0), PlaneFromText(out)); // padding included
}

// The state is first loaded from the input ('s = d[0,0]'), then one step of the equation runs;
// states are laid out as the PE grid, rows 0 first.
struct StateCase {
    const char* what;
    const char* equation;
    int parallel;
    const char* initial;
    const char* after;
};

const StateCase kStates[] = {
    // OFF reads what this step wrote: the PE to the west and the whole row below are new.
    {"west, sequential", "s = W{s}", 0, "011", "000"},
    {"west, parallel", "s = W{s}", 1, "011", "001"},
    {"east, sequential", "s = E{s}", 0, "011", "110"},
    {"east, parallel", "s = E{s}", 1, "011", "110"},
    {"south, sequential", "s = S{s}", 0, "1/0/0", "0/0/0"},
    {"south, parallel", "s = S{s}", 1, "1/0/0", "0/1/0"},
    {"north, sequential", "s = N{s}", 0, "0/0/1", "0/1/0"},
    {"north, parallel", "s = N{s}", 1, "0/0/1", "0/1/0"},
    // The neighbour above in a two-PE row is p + 2.
    {"north in a grid", "s = N{s}", 1, "00/10", "10/00"},
    {"south in a grid", "s = S{s}", 0, "01/00", "00/00"},
    {"spread, sequential", "s = s | W{s}", 0, "1000", "1111"},
    {"spread, parallel", "s = s | W{s}", 1, "1000", "1100"},
};

TEST_F(ALogicElemStep, InternalStateReadsFollowTheParallelFlag) {
    for (const StateCase& c : kStates) {
        SCOPED_TRACE(c.what);
        const Matrix initial = PlaneFromText(c.initial);
        Resize(logic, initial.GetDimX(), initial.GetDimY());
        Define({"s = d[0,0]"}, c.parallel, {"s"});
        Step(c.initial);
        ASSERT_EQ(State(), c.initial);
        logic.GetData().SetEquations({c.equation});
        ASSERT_EQ(logic.GetData().CompileEquations(), 0);
        Step(c.initial);
        EXPECT_EQ(State(), c.after);
    }
}

TEST_F(ALogicElemStep, ASpreadRunsOnePEPerStepInParallel) {
    Resize(logic, 4, 1);
    Define({"s = s | W{s} | d[0,0]"}, 1, {"s"});
    Step("1000");
    EXPECT_EQ(State(), "1000");
    Step("0000");
    EXPECT_EQ(State(), "1100");
    Step("0000");
    EXPECT_EQ(State(), "1110");
    Step("0000");
    EXPECT_EQ(State(), "1111");

    // Sequentially the whole row fills in one step.
    Define({"s = s | W{s} | d[0,0]"}, 0, {"s"});
    Step("1000");
    EXPECT_EQ(State(), "1111");
}

TEST_F(ALogicElemStep, AnEquationReadsTheStateOfEarlierEquationsOnlySequentially) {
    Resize(logic, 2, 1);
    for (int parallel : {0, 1}) {
        SCOPED_TRACE(parallel);
        Define({"s = d[0,0]", "d[0,0] = s"}, parallel, {"s"});
        // Sequentially the output is the new state, in parallel the state before the step.
        EXPECT_EQ(Step("10"), parallel ? "00" : "10");
        EXPECT_EQ(Step("01"), parallel ? "10" : "01");
    }
}

TEST_F(ALogicElemStep, ExternalDataFollowsTheClockCycles) {
    GetClocks().Clear();
    AddClock(100, 50);
    Resize(logic, 2, 1);
    Define({"d[0,0] = e[0]", "d[1,0] = e[1]"}, 1, {}, {"e[0]", "e[1]"}, 2, 1);
    // Cycles 0 "10", 1 "01", 2 "11".
    *logic.GetData().GetExternalData() = PlaneFromText("10/01/11");
    struct Tick {
        SimTime now;
        const char* out;
    };
    for (const Tick& tick : {Tick{50, "10"}, Tick{150, "01"}, Tick{250, "11"}, Tick{350, "10"},
                             Tick{549, "01"}, Tick{20, "10"}}) {
        SCOPED_TRACE(tick.now);
        ui.now = tick.now;
        EXPECT_EQ(Step("00"), tick.out);
    }

    // No clock, a clock missing from the table or a clock of period 0: always cycle 0.
    ui.now = 150;
    logic.SetClock(0);
    EXPECT_EQ(Step("00"), "10");
    logic.SetClock(5);
    EXPECT_EQ(Step("00"), "10");
    AddClock(0, 0);
    logic.SetClock(2);
    EXPECT_EQ(Step("00"), "10");
}

TEST_F(ALogicElemStep, ResetClearsTheStateAndKeepsTheDefinition) {
    Resize(logic, 2, 1);
    Define({"s = s | d[0,0]", "d[0,0] = e[0]"}, 0, {"s"}, {"e[0]"});
    logic.GetData().GetExternalData()->SetBit(0, 0, 1);
    Step("11");
    ASSERT_EQ(State(), "11");
    logic.Reset();
    EXPECT_EQ(State(), "00");
    EXPECT_EQ(logic.IsDefined(), 1);
    EXPECT_EQ(PlaneText(*logic.GetData().GetExternalData()), "1");
    EXPECT_EQ(PlaneText(*logic.GetOutputPlane(0)), "00");
    // Clocked: the reset schedules the first latch at the clock's offset.
    ASSERT_FALSE(ui.scheduled.empty());
    EXPECT_EQ(ui.scheduled.back().first, 0u);
    EXPECT_EQ(ui.scheduled.back().second, &logic);
    EXPECT_EQ(Step("00"), "11");
}

TEST_F(ALogicElemStep, TheDataKeepsNamesMatricesAndStatesConsistent) {
    D_LogicElem& data = logic.GetData();
    // The PE dimension must divide the plane.
    for (auto pe : {std::make_pair(3, 1), std::make_pair(0, 1), std::make_pair(4, 3),
                    std::make_pair(-2, 1), std::make_pair(8, 1)}) {
        EXPECT_EQ(data.SetPEDimension(pe.first, pe.second), 0);
    }
    EXPECT_EQ(data.GetPEX(), 0);
    ASSERT_EQ(data.SetPEDimension(2, 2), 1);
    EXPECT_EQ(data.GetPECount(), 2);

    // New external names keep the bits where old and new overlap, with the cycles.
    data.SetExternalNames({"a", "b"});
    EXPECT_EQ(PlaneText(*data.GetExternalData()), "00");
    *data.GetExternalData() = PlaneFromText("10/01/11");
    Matrix* matrix = data.GetExternalData();
    data.SetExternalNames({"a", "b", "c"});
    EXPECT_EQ(data.GetExternalData(), matrix); // an open window keeps its matrix
    EXPECT_EQ(PlaneText(*matrix), "100/010/110");
    data.SetExternalNames({"a"});
    EXPECT_EQ(PlaneText(*matrix), "1/0/1");
    data.SetExternalNames({});
    EXPECT_EQ(data.GetExternalData(), nullptr);
    EXPECT_EQ(data.GetExternalCount(), 0);

    // Internal names and the PE dimension restart the state at 0 for every PE.
    data.SetInternalNames({"s", "t"});
    ASSERT_EQ(data.GetPECount(), 2);
    data.SetPEDataNames(PENames(2, 2));
    data.SetEquations({"s = 1"});
    ASSERT_EQ(data.CompileEquations(), 0);
    ASSERT_NE(data.GetInternalMatrix(1), nullptr);
    EXPECT_EQ(data.GetInternalMatrix(1)->GetDimX(), 2);
    EXPECT_EQ(data.GetInternalMatrix(2), nullptr);
    EXPECT_EQ(data.GetInternalMatrix(-1), nullptr);
    EXPECT_STREQ(data.GetInternalName(1), "t");
    EXPECT_EQ(data.GetInternalName(2), nullptr);
    EXPECT_STREQ(data.GetPEDataName(3), "d[1,1]");
    EXPECT_EQ(data.GetPEDataName(4), nullptr);
    ASSERT_EQ(data.SetPEDimension(1, 1), 1);
    EXPECT_EQ(data.GetPECount(), 8);
    EXPECT_NE(data.GetInternalMatrix(7), nullptr);

    // Names that could not be read back are refused.
    data.SetInternalNames({"s", ""});
    data.SetExternalNames({"#x"});
    EXPECT_EQ(data.GetInternalCount(), 2);
    EXPECT_EQ(data.GetExternalCount(), 0);
    data.SetEquations({std::string(5001, 'x')});
    EXPECT_EQ(data.GetEquationCount(), 1);
}

struct NameCase {
    const char* name;
    int valid;
};

const NameCase kNames[] = {
    {"d[0,0]", 1}, {"", 1},    {"OR", 1},   {"Not", 1}, {"nota", 1}, {"a#b", 1}, {"or", 0},
    {"nor", 0},    {"and", 0}, {"nand", 0}, {"xor", 0}, {"xnor", 0}, {"not", 0}, {"1a", 0},
    {"#a", 0},     {"a b", 0}, {"a=b", 0},  {"a&b", 0}, {"a|b", 0},  {"a^b", 0}, {"f(x", 0},
    {"f)x", 0},    {"N{a", 0}, {"a}", 0},   {"!a", 0},  {"~a", 0},   {"a1", 1},
};

TEST(D_LogicElem, IsValidNameFollowsTheNameRule) {
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(D_LogicElem::IsValidName(c.name), c.valid);
    }
    EXPECT_EQ(D_LogicElem::IsValidName(std::string(30, 'a').c_str()), 1);
    EXPECT_EQ(D_LogicElem::IsValidName(std::string(31, 'a').c_str()), 0);
    EXPECT_EQ(D_LogicElem::IsValidName(nullptr), 0);
}

TEST_F(ALogicElemStep, ACopyIsDeepAndStartsFromTheSourcesState) {
    Resize(logic, 2, 1);
    // The output shows the state from before the step.
    Define({"d[0,0] = s", "s = d[0,0]"}, 0, {"s"}, {"e[0]"});
    EXPECT_EQ(Step("10"), "00");
    logic.SetExternalDataWindowSize(320, 200);
    logic.SetExternalDataWindowZoom(60);
    SilentSink sink;
    logic.GetData().SetErrorSink(&sink);
    logic.OpenExternalDataWindow();
    ASSERT_NE(logic.GetExternalDataWindow(), nullptr);

    std::unique_ptr<AElement> copy(AElement::Clone(logic));
    ALogicElem* logicCopy = dynamic_cast<ALogicElem*>(copy.get());
    ASSERT_NE(logicCopy, nullptr);
    EXPECT_EQ(logicCopy->GetClock(), 1);
    EXPECT_EQ(logicCopy->GetExternalDataWindow(), nullptr);
    int width, height;
    logicCopy->GetExternalDataWindowSize(width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(logicCopy->GetExternalDataWindowZoom(), 60);
    D_LogicElem& copied = logicCopy->GetData();
    EXPECT_EQ(copied.GetErrorSink(), nullptr);
    EXPECT_EQ(copied.GetCompiledLists(), logic.GetData().GetCompiledLists());
    ASSERT_NE(copied.GetExternalData(), nullptr);
    EXPECT_NE(copied.GetExternalData(), logic.GetData().GetExternalData());

    // The copy computes on its own, from the state the source had.
    logic.GetData().SetInternalNames({"s"});
    logic.GetData().GetExternalData()->SetBit(0, 0, 1);
    *logicCopy->GetInputPlane(0) = PlaneFromText("01");
    logicCopy->Simulate();
    EXPECT_EQ(PlaneText(*logicCopy->GetOutputPlane(0)), "10");
    ASSERT_NE(copied.GetInternalMatrix(1), nullptr);
    EXPECT_EQ((*copied.GetInternalMatrix(0))(0, 0), 0);
    EXPECT_EQ((*copied.GetInternalMatrix(1))(0, 0), 1);
    EXPECT_EQ((*copied.GetExternalData())(0, 0), 0);

    // Assignment keeps the target's error sink.
    D_LogicElem target(2, 1);
    SilentSink other;
    target.SetErrorSink(&other);
    target = logic.GetData();
    EXPECT_EQ(target.GetErrorSink(), &other);
    EXPECT_EQ(target.GetEquations(), logic.GetData().GetEquations());
}

TEST_F(ALogicElemBlock, WritesTheDefinitionAndReadsItBackCompiled) {
    SetBlockData(logic.GetData());
    EXPECT_EQ(WriteBlock(logic, 1), kLogicBlock);

    ALogicElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kLogicBlock), 0);
    EXPECT_EQ(read.IsDefined(), 1);
    EXPECT_EQ(read.GetInputPlaneWidth(0), 4);
    EXPECT_EQ(read.GetData().GetWidth(), 4);
    EXPECT_EQ(read.GetData().GetHeight(), 2);
    EXPECT_EQ(read.GetData().GetCompiledLists(), logic.GetData().GetCompiledLists());
    EXPECT_EQ(WriteBlock(read, 1), kLogicBlock);

    // Compiled on reading: the step runs at once. Cycle 1 at time 120 gives e[0] = 0; the
    // state starts at 0, so d[0,0] = e[0] ^ s = 0 in both PEs, then s takes d[1,0].
    ui.now = 120;
    *read.GetInputPlane(0) = PlaneFromText("0101/1111");
    read.Simulate();
    EXPECT_EQ(PlaneText(*read.GetOutputPlane(0)), "0000/0000");
    ui.now = 20;
    read.Simulate();
    // Cycle 0: e[0] = 1; s is 1 in both PEs (d[1,0] was 1 in both).
    EXPECT_EQ(PlaneText(*read.GetOutputPlane(0)), "0000/0000");
    *read.GetInputPlane(0) = PlaneFromText("0001/0000");
    ui.now = 120;
    read.Simulate();
    EXPECT_EQ(PlaneText(*read.GetOutputPlane(0)), "1010/1010");

    // Without external data there is no MATRIX block; OFF is written as such.
    D_LogicElem plain(1, 1);
    std::istringstream in(kNoExternalData);
    ClearParseError();
    ASSERT_EQ(plain.Read(in, true), 0);
    EXPECT_EQ(plain.GetExternalData(), nullptr);
    EXPECT_EQ(plain.GetComputeParallel(), 0);
    std::ostringstream out;
    EXPECT_EQ(plain.Write(out, 0), 0);
    EXPECT_EQ(out.str(), kNoExternalData);
}

// A stream buffer that gives its text but cannot tell or change its place, as a pipe.
class UnseekableBuffer : public std::stringbuf {
public:
    explicit UnseekableBuffer(const std::string& text) : std::stringbuf(text) {}

protected:
    pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
        return pos_type(off_type(-1));
    }
    pos_type seekpos(pos_type, std::ios_base::openmode) override { return pos_type(off_type(-1)); }
};

TEST_F(ALogicElemBlock, TheExternalDataIsReadInOnePassWithoutGoingBack) {
    SetBlockData(logic.GetData());
    const std::string text = WriteBlock(logic, 1);
    const std::string logical = text.substr(text.find("  LOGICAL_DATA"));
    UnseekableBuffer buffer(logical);
    std::istream in(&buffer);
    D_LogicElem read(4, 2);
    ClearParseError();
    ASSERT_EQ(read.Read(in, true), 0);
    ASSERT_NE(read.GetExternalData(), nullptr);
    EXPECT_TRUE(*read.GetExternalData() == *logic.GetData().GetExternalData());
    std::ostringstream out;
    EXPECT_EQ(read.Write(out, 1), 0);
    EXPECT_EQ(out.str(), logical);
}

TEST_F(ALogicElemBlock, AnIncompleteDefinitionIsWrittenAsNotDefined) {
    EXPECT_EQ(WriteBlock(logic, 1), kUndefinedBlock);
    ASSERT_EQ(logic.GetData().SetPEDimension(2, 1), 1);
    logic.GetData().SetPEDataNames({"d[0,0]", "d[1,0]"});
    EXPECT_EQ(WriteBlock(logic, 1), kUndefinedBlock);

    ALogicElem read(nullptr, 0, 0);
    read.CreateData();
    SetBlockData(read.GetData());
    EXPECT_EQ(ReadBlock(read, kUndefinedBlock), 0);
    EXPECT_EQ(read.IsDefined(), 0);
    int x, y;
    EXPECT_EQ(read.GetPEDimension(x, y), 0); // the element reads into fresh data
    EXPECT_EQ(WriteBlock(read, 1), kUndefinedBlock);
}

TEST_F(ALogicElemBlock, ReadsIntoGivenDataWithoutCompilingAndRefreshesTheEditor) {
    D_LogicElem given(4, 2);
    SetBlockData(given);
    EXPECT_EQ(WriteBlock(logic, 1, &given), kLogicBlock);

    logic.OpenModifyWindow();
    ASSERT_NE(logic.GetModifyWindow(), nullptr);
    D_LogicElem into(4, 2);
    EXPECT_EQ(ReadBlock(logic, kLogicBlock, &into), 0);
    EXPECT_EQ(Fake(logic.GetModifyWindow())->refreshes, 1);
    EXPECT_EQ(logic.IsDefined(), 0); // the element's own data is not touched
    EXPECT_EQ(into.GetEquationCount(), 2);
    EXPECT_EQ(into.GetExternalNames(), given.GetExternalNames());
    EXPECT_EQ(*into.GetExternalData(), *given.GetExternalData());
    EXPECT_TRUE(into.GetCompiledLists().empty());
    EXPECT_EQ(into.CompileEquations(), 0);

    // "NOT_DEFINED" empties given data but keeps its PE dimension.
    EXPECT_EQ(ReadBlock(logic, kUndefinedBlock, &into), 0);
    EXPECT_EQ(Fake(logic.GetModifyWindow())->refreshes, 2);
    EXPECT_EQ(into.GetPEX(), 2);
    EXPECT_EQ(into.GetEquationCount(), 0);
    EXPECT_EQ(into.GetExternalData(), nullptr);
    EXPECT_TRUE(into.GetCompiledLists().empty());

    // A failed read refreshes nothing and changes nothing; a compiler fault is not one when
    // nothing is compiled.
    const std::string badEquation = Broken(kLogicBlock, {"s = d[1,0]", "s = zz", 0, 0, ""});
    EXPECT_EQ(ReadBlock(logic, badEquation, &given), 0);
    EXPECT_EQ(ReadBlock(logic, Broken(kLogicBlock, {"(2,1)", "(3,1)", 0, 0, ""}), &into),
              kLogicDimensionError);
    EXPECT_EQ(Fake(logic.GetModifyWindow())->refreshes, 3);
    EXPECT_EQ(into.GetPEX(), 2);
}

TEST_F(ALogicElemBlock, AFailedStreamRecordsAnIoError) {
    SetBlockData(logic.GetData());
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    ClearParseError();
    EXPECT_EQ(logic.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

namespace {

// Each fault of a logic block with the error it gives and where; the names and equations at and
// beyond the longest allowed are made once.
const std::vector<BrokenBlock>& BrokenLogicBlocks() {
    static const std::string longName(31, 'n');
    static const std::string longNameLine = "        " + longName + "\n";
    static const std::string longEquation = "d[0,0] = " + std::string(4992, 's');
    static const std::vector<BrokenBlock> broken = {
        {"  LOGICAL_DATA {", "  LOGICAL {", kKeywordExpected, 12, "LOGICAL_DATA"},
        {"PE_DIMENSION:", "PE_DIM:", kKeywordExpected, 13, "PE_DIMENSION:"},
        // The PE must tile the 4 x 2 plane.
        {"(2,1)", "(3,1)", kLogicDimensionError, 13, "PE_DIMENSION:"},
        {"(2,1)", "(0,1)", kLogicDimensionError, 13, "PE_DIMENSION:"},
        {"(2,1)", "(2,3)", kLogicDimensionError, 13, "PE_DIMENSION:"},
        {"(2,1)", "(8,1)", kLogicDimensionError, 13, "PE_DIMENSION:"},
        {"(2,1)", "(-,1)", kNotDefined, 13, "PE_DIMENSION:"},
        {"(2,1)", "(2,1", kUnexpectedEol, 13, "PE_DIMENSION:"},
        {"    PE_DATA {", "    PE_DATA [", kKeywordExpected, 14, "{"},
        {"        d[1,0]\n", "        d[1 0]\n", kInvalidIdentifier, 17, "d[1 0]"},
        {"        d[1,0]\n", "        1d\n", kInvalidIdentifier, 17, "1d"},
        {"        d[1,0]\n", "        nand\n", kInvalidIdentifier, 17, "nand"},
        {"        d[1,0]\n", longNameLine.c_str(), kInvalidIdentifier, 17, longName.c_str()},
        // A name line that begins with '#' is a comment: the "}" after it is taken as a name.
        {"        d[1,0]\n", "        #d\n", kInvalidIdentifier, 18, "}"},
        {"NUMBER: 2\n      NAMES", "NUMBER: -1\n      NAMES", kWrongNumber, 21, "NUMBER:"},
        {"NUMBER: 2\n      NAMES", "NUMBER: x\n      NAMES", kUnexpectedChar, 21, "NUMBER:"},
        {"NUMBER: 2\n      NAMES", "NUMBER: 3\n      NAMES", kInvalidIdentifier, 25, "}"},
        {"NUMBER: 2\n      NAMES", "NUMBER: 1\n      NAMES", kKeywordExpected, 24, "}"},
        // A count far beyond the names given allocates nothing for them: it fails on the line
        // after the last one.
        {"NUMBER: 2\n      NAMES", "NUMBER: 2147483647\n      NAMES", kInvalidIdentifier, 25, "}"},
        {"        e[1]\n", "        e(1)\n", kInvalidIdentifier, 24, "e(1)"},
        // The external data matrix has one column per name and 1 to 999 cycles.
        {"DIMENSION: (2,3)", "DIMENSION: (3,3)", kBadMatrixDimension, 27, "DIMENSION:"},
        {"DIMENSION: (2,3)", "DIMENSION: (2,0)", kBadMatrixDimension, 27, "DIMENSION:"},
        // More cycles than the largest plane has cells along a side: refused before any
        // matrix is made.
        {"DIMENSION: (2,3)", "DIMENSION: (2,100000)", kBadMatrixDimension, 27, "DIMENSION:"},
        {"DIMENSION: (2,3)", "DIMENSION: (2,2147483647)", kBadMatrixDimension, 27, "DIMENSION:"},
        {"DIMENSION: (2,3)", "DIMENSION: (2,-)", kNotDefined, 27, "DIMENSION:"},
        {"      MATRIX {", "      MATRIX_DATA", kKeywordExpected, 26, "{"},
        {"          01\n", "          0x\n", kUnexpectedChar, 30, "DATA"},
        {"          10\n        }", "          10\n          00\n        }", kKeywordExpected, 32,
         "}"},
        {"NUMBER: 1\n      NAMES {\n        s", "NUMBER: -2\n      NAMES {\n        s",
         kWrongNumber, 36, "NUMBER:"},
        {"        s\n", "        s t\n", kInvalidIdentifier, 38, "s t"},
        {"NUMBER: 1\n      NAMES {\n        s", "NUMBER: 2000000000\n      NAMES {\n        s",
         kInvalidIdentifier, 39, "}"},
        {"    EQUATION_DATA {", "    EQUATIONS {", kKeywordExpected, 41, "EQUATION_DATA"},
        // Zero equations are not accepted here.
        {"NUMBER: 2\n      EQUATIONS", "NUMBER: 0\n      EQUATIONS", kWrongNumber, 42, "NUMBER:"},
        {"NUMBER: 2\n      EQUATIONS", "NUMBER: 3\n      EQUATIONS", kKeywordExpected, 47, "}"},
        {"NUMBER: 2\n      EQUATIONS", "NUMBER: 2147483647\n      EQUATIONS", kUnexpectedEof, 49,
         ""},
        {"d[0,0] = e[0] ^ s", longEquation.c_str(), kIdentifierTooLong, 44, "EQUATIONS"},
        {"COMPUTE_PARALLEL: ON", "COMPUTE_PARALLEL: MAYBE", kUnexpectedChar, 47,
         "COMPUTE_PARALLEL:"},
        {"COMPUTE_PARALLEL: ON", "COMPUTE_PARALLEL:", kUnexpectedEol, 47, "COMPUTE_PARALLEL:"},
        // Equations that do not compile fail the whole block.
        {"s = d[1,0]", "s = d[1,0] &", kCannotCompileEquations, 48, "EQUATIONS"},
        {"s = d[1,0]", "e[0] = d[1,0]", kCannotCompileEquations, 48, "EQUATIONS"},
        {"    }\n  }\n", "    }\n", kUnexpectedEof, 48, ""},
        {"    }\n  }\n", "    }\n  ]\n", kKeywordExpected, 49, "}"},
    };
    return broken;
}

} // namespace

TEST_F(ALogicElemBlock, BrokenBlocksAreRefusedAndLeaveTheElementAsItWas) {
    const std::string longestEquation = "d[0,0] = " + std::string(4991, 's');
    ALogicElem read(nullptr, 0, 0);
    Resize(read, 4, 2);
    read.SetName("kept");
    read.CreateData();
    SetBlockData(read.GetData());
    ui.now = 20;
    *read.GetInputPlane(0) = PlaneFromText("0101/0101");
    read.Simulate();
    const std::string before = WriteBlock(read, 1);
    for (const BrokenBlock& broken : BrokenLogicBlocks()) {
        ExpectReadError(read, kLogicBlock, broken);
        EXPECT_EQ(WriteBlock(read, 1), before);
        EXPECT_STREQ(read.GetName(), "kept");
        ASSERT_NE(read.GetData().GetInternalMatrix(1), nullptr);
        EXPECT_EQ((*read.GetData().GetInternalMatrix(1))(0, 0), 1); // the state stays too
    }

    // An equation of 5000 characters is still read.
    EXPECT_EQ(longestEquation.size(), 5000u);
    EXPECT_EQ(ReadBlock(read, Broken(kLogicBlock,
                                     {"d[0,0] = e[0] ^ s", longestEquation.c_str(), 0, 0, ""})),
              kCannotCompileEquations);

    const BrokenBlock kBrokenUndefined[] = {
        {"    NOT_DEFINED\n  }\n", "    NOT_DEFINED\n", kUnexpectedEof, 13, ""},
        {"    NOT_DEFINED\n  }\n", "    NOT_DEFINED\n  ]\n", kKeywordExpected, 14, "}"},
    };
    for (const BrokenBlock& broken : kBrokenUndefined) {
        ExpectReadError(read, kUndefinedBlock, broken);
        EXPECT_EQ(read.IsDefined(), 1);
    }

    // A name of 30 characters is read and compiled.
    const std::string name(30, 's');
    const std::string nameLine = "        " + name + "\n";
    const std::string firstEquation = "^ " + name + "\n";
    const std::string secondEquation = name + " = d[1,0]";
    std::string longest = Broken(kLogicBlock, {"        s\n", nameLine.c_str(), 0, 0, ""});
    longest = Broken(longest, {"^ s\n", firstEquation.c_str(), 0, 0, ""});
    longest = Broken(longest, {"s = d[1,0]", secondEquation.c_str(), 0, 0, ""});
    EXPECT_EQ(ReadBlock(read, longest), 0);
    EXPECT_EQ(WriteBlock(read, 1), longest);
}

TEST_F(ALogicElemBlock, ManyExternalCyclesAreRead) {
    // More than the "External-Cycles" dialog offers; the file decides.
    std::string rows;
    for (int y = 0; y < 1500; y++)
        rows += y == 1499 ? "          10\n" : "          01\n";
    std::string block = Broken(kLogicBlock, {"DIMENSION: (2,3)", "DIMENSION: (2,1500)", 0, 0, ""});
    block = Broken(block, {"          11\n          01\n          10\n", rows.c_str(), 0, 0, ""});
    ALogicElem read(nullptr, 0, 0);
    ASSERT_EQ(ReadBlock(read, block), 0);
    const Matrix* external = read.GetData().GetExternalData();
    ASSERT_NE(external, nullptr);
    EXPECT_EQ(external->GetDimY(), 1500);
    EXPECT_EQ((*external)(0, 0), 1);
    EXPECT_EQ((*external)(1, 1499), 1);
    EXPECT_EQ(WriteBlock(read, 1), block);
}

TEST_F(ALogicElemBlock, EveryValidNameSurvivesASaveAndReload) {
    const std::string longest(30, 'n');
    const std::vector<std::string> external = {"a#b", "OR", "Not", "e[0]", "x#"};
    const std::vector<std::string> internal = {"s#1", longest, "nota", "_"};
    ASSERT_EQ(logic.GetData().SetPEDimension(2, 1), 1);
    logic.GetData().SetPEDataNames({"d#0", "d[1,0]"});
    logic.GetData().SetExternalNames(external);
    logic.GetData().SetInternalNames(internal);
    // "Not" and "nota" would be read as NOT: declared, not used.
    logic.GetData().SetEquations({"d#0 = a#b ^ OR | x# & s#1 | _ | " + longest});
    ASSERT_EQ(logic.GetData().CompileEquations(), 0);
    ALogicElem read(nullptr, 0, 0);
    ASSERT_EQ(ReadBlock(read, WriteBlock(logic, 0)), 0);
    EXPECT_EQ(read.GetData().GetExternalNames(), external);
    EXPECT_EQ(read.GetData().GetInternalNames(), internal);
    EXPECT_EQ(read.GetData().GetPEDataNames(), (std::vector<std::string>{"d#0", "d[1,0]"}));
    EXPECT_EQ(read.GetData().GetCompiledLists(), logic.GetData().GetCompiledLists());
}

TEST_F(ALogicElemStep, DataOfAnotherSizeThanTheInputPlaneIsNotDefined) {
    // A header read for the modify window's copy resizes the planes, not the element's data.
    Resize(logic, 2, 1);
    Define({"d[0,0] = ~d[0,0]", "s = 1"}, 0, {"s"});
    ASSERT_EQ(logic.IsDefined(), 1);
    for (PlaneSize size : {PlaneSize{4, 1}, PlaneSize{1, 1}, PlaneSize{2, 3}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        Resize(logic, size.width, size.height);
        EXPECT_EQ(logic.IsDefined(), 0);
        Matrix in(size.width, size.height);
        in.SetAll();
        *logic.GetInputPlane(0) = in;
        Matrix out(size.width, size.height);
        out.SetBit(0, 0, 1);
        *logic.GetOutputPlane(0) = out;
        logic.Simulate();
        EXPECT_EQ(*logic.GetOutputPlane(0), out); // untouched
        EXPECT_EQ((*logic.GetData().GetInternalMatrix(1))(0, 0), 0);
        logic.Reset();
    }
    Resize(logic, 2, 1);
    EXPECT_EQ(logic.IsDefined(), 1);
    EXPECT_EQ(Step("01"), "10");
    EXPECT_EQ((*logic.GetData().GetInternalMatrix(1))(0, 0), 1);
}

struct ColumnCase {
    const char* what;
    std::vector<std::string> names;
    std::vector<int> sources;
    const char* bits; // rows of cycles from 0
};

// The matrix starts as "10/01/11": column a holds cycles 1,0,1, column b 0,1,1.
const ColumnCase kColumns[] = {
    {"swapped", {"b", "a"}, {1, 0}, "01/10/11"},
    {"the first deleted", {"b"}, {1}, "0/1/1"},
    {"a new name between", {"a", "new", "b"}, {0, -1, 1}, "100/001/101"},
    {"a source that is no column", {"x", "y"}, {7, -3}, "00/00/00"},
    {"fewer sources than names", {"a", "b", "c"}, {0}, "100/000/100"},
};

TEST_F(ALogicElemStep, ExternalNamesTakeTheColumnsTheyAreGiven) {
    for (const ColumnCase& c : kColumns) {
        SCOPED_TRACE(c.what);
        D_LogicElem& data = logic.GetData();
        data.SetExternalNames({"a", "b"});
        *data.GetExternalData() = PlaneFromText("10/01/11");
        Matrix* matrix = data.GetExternalData();
        data.SetExternalNames(c.names, matrix, c.sources);
        EXPECT_EQ(data.GetExternalNames(), c.names);
        EXPECT_EQ(data.GetExternalData(), matrix); // an open window keeps its matrix
        EXPECT_EQ(PlaneText(*matrix), c.bits);
    }
    // Taken from another matrix; without one a single cycle of zeros.
    D_LogicElem& data = logic.GetData();
    const Matrix other = PlaneFromText("1/0");
    data.SetExternalNames({"p", "q"}, &other, {-1, 0});
    EXPECT_EQ(PlaneText(*data.GetExternalData()), "01/00");
    data.SetExternalNames({"p"}, nullptr, {0});
    EXPECT_EQ(PlaneText(*data.GetExternalData()), "0");
    data.SetExternalNames({}, &other, {});
    EXPECT_EQ(data.GetExternalData(), nullptr);
}

TEST_F(ALogicElemWindows, ADimensionChangeErasesTheDefinitionAndClosesTheWindows) {
    SetBlockData(logic.GetData());
    logic.OpenModifyWindow();
    logic.OpenExternalDataWindow();
    ASSERT_NE(logic.GetModifyWindow(), nullptr);
    ASSERT_NE(logic.GetExternalDataWindow(), nullptr);
    Resize(logic, 6, 3);
    logic.DimensionChanged();
    EXPECT_EQ(logic.GetModifyWindow(), nullptr);
    EXPECT_EQ(logic.GetExternalDataWindow(), nullptr);
    EXPECT_EQ(logic.IsDefined(), 0);
    EXPECT_EQ(logic.GetData().GetWidth(), 6);
    EXPECT_EQ(logic.GetData().GetHeight(), 3);
    EXPECT_EQ(logic.GetData().GetEquationCount(), 0);
    EXPECT_EQ(logic.GetData().GetExternalData(), nullptr);
}

TEST_F(ALogicElemWindows, TheExternalDataWindowFollowsTheExternalNames) {
    // No external names: no window.
    logic.OpenExternalDataWindow();
    EXPECT_EQ(ui.created, 0);

    SetBlockData(logic.GetData());
    logic.OpenExternalDataWindow();
    logic.OpenExternalDataWindow();
    EXPECT_EQ(ui.created, 1);
    FakeView* window = Fake(logic.GetExternalDataWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->matrix, logic.GetData().GetExternalData());
    int width, height;
    logic.GetExternalDataWindowSize(width, height);
    EXPECT_EQ(width, 280);
    EXPECT_EQ(height, 300);
    EXPECT_EQ(logic.GetExternalDataWindowZoom(), 100);

    // The modify window stores new data: the open window is handed the element's matrix.
    D_LogicElem copy(logic.GetData());
    copy.SetExternalNames({"e[0]", "e[1]", "e[2]"});
    logic.GetData() = copy;
    logic.UpdateExternalDataWindow();
    EXPECT_EQ(window->updates, 1);
    EXPECT_EQ(window->matrix, logic.GetData().GetExternalData());
    EXPECT_EQ(window->matrix->GetDimX(), 3);
    EXPECT_EQ(window->columns, (std::vector<int>{0, 1, 2})); // in their places
    // Told where each name's column was, the window is told too.
    logic.UpdateExternalDataWindow({1, -1, 0});
    EXPECT_EQ(window->updates, 2);
    EXPECT_EQ(window->columns, (std::vector<int>{1, -1, 0}));

    copy.SetExternalNames({});
    logic.GetData() = copy;
    logic.UpdateExternalDataWindow();
    EXPECT_EQ(logic.GetExternalDataWindow(), nullptr);

    // Deleting the element closes its window.
    {
        ALogicElem other(nullptr, 0, 0);
        Resize(other, 4, 2);
        other.CreateData();
        SetBlockData(other.GetData());
        other.OpenExternalDataWindow();
        ASSERT_NE(other.GetExternalDataWindow(), nullptr);
    }
    EXPECT_EQ(ui.created, 2);

    // A window side without external-data windows opens none.
    FakeElementUi plain;
    logic.GetData() = copy;
    logic.GetData().SetExternalNames({"e[0]"});
    logic.OpenExternalDataWindow();
    EXPECT_EQ(logic.GetExternalDataWindow(), nullptr);
}
