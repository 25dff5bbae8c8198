#include <gtest/gtest.h>

#include "shell/GlobalArchitectureData.h"

#include <sstream>
#include <string>

#include "model/format/ParseError.h"

namespace {

const char* const kBlock = R"(GLOBAL_ARCHITECTURE_DATA {
  DIMENSION: (24,8)
  CLOCKS {
    NUMBER: 2
    CLOCK {
      TIME:   100
      OFFSET: 0
    }
    CLOCK {
      TIME:   7
      OFFSET: 3
    }
  }
  SIMULATION_DATA {
    MODE:     CLOCKS
    CLOCK_NR: 2
    CLOCKS:   5
  }
}

)";

int Read(const std::string& text, GlobalArchitectureData& data) {
    ClearParseError();
    std::istringstream in(text);
    return ReadGlobalArchitectureData(in, data);
}

TEST(GlobalArchitectureData, ReadsWhatItWritesWithoutAWindow) {
    GlobalArchitectureData data;
    ASSERT_EQ(Read(kBlock, data), kNoError);
    EXPECT_EQ(data.width, 24);
    EXPECT_EQ(data.height, 8);
    ASSERT_EQ(data.clocks.GetCount(), 2);
    EXPECT_EQ(data.clocks.GetT(1), 7u);
    EXPECT_EQ(data.clocks.GetO(1), 3u);
    EXPECT_EQ(data.selectedClock, 1);
    EXPECT_EQ(data.clockPeriods, 5);
    std::ostringstream out;
    ASSERT_EQ(WriteGlobalArchitectureData(out, 0, data), kNoError);
    EXPECT_EQ(out.str(), kBlock);
}

struct BadCase {
    const char* from;
    const char* to;
    int code;
    bool hasDimension;
    bool hasClocks;
};

// What a broken block reports, and how far it got before.
const BadCase kBad[] = {
    {"DIMENSION: (24,8)", "DIMENSION: (0,8)", kNumberOutOfRange, false, false},
    {"NUMBER: 2", "NUMBER: 0", kNoClock, true, false},
    {"TIME:   7", "TIME:   0", kNumberOutOfRange, true, false},
    {"CLOCK_NR: 2", "CLOCK_NR: 3", kNumberOutOfRange, true, true},
    {"CLOCKS:   5", "CLOCKS:   0", kNumberOutOfRange, true, true},
    {"MODE:     CLOCKS", "MODE:     SOMETIMES", kUnknownSimulationMode, true, true},
};

TEST(GlobalArchitectureData, ABrokenBlockSaysWhyAndHowFarItGot) {
    for (const BadCase& c : kBad) {
        SCOPED_TRACE(c.to);
        std::string text = kBlock;
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        GlobalArchitectureData data;
        EXPECT_EQ(Read(text, data), c.code);
        EXPECT_EQ(data.hasDimension, c.hasDimension);
        EXPECT_EQ(data.hasClocks, c.hasClocks);
    }
}

} // namespace
