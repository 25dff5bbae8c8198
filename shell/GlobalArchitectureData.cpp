#include "shell/GlobalArchitectureData.h"

#include <cstring>
#include <initializer_list>
#include <istream>
#include <ostream>

#include "model/elements/ElementHeader.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

int WriteGlobalArchitectureData(std::ostream& out, int level, const GlobalArchitectureData& data) {
    if (StreamFailed(out)) return SetWriteError(out, kIoError, nullptr);
    Indent(out, level) << "GLOBAL_ARCHITECTURE_DATA {\n";
    Indent(out, level + 1) << "DIMENSION: (" << data.width << ',' << data.height << ")\n";
    Indent(out, level + 1) << "CLOCKS {\n";
    const int count = data.clocks.GetCount();
    Indent(out, level + 2) << "NUMBER: " << count << '\n';
    for (int k = 0; k < count; k++) {
        Indent(out, level + 2) << "CLOCK {\n";
        Indent(out, level + 3) << "TIME:   " << data.clocks.GetT(k) << '\n';
        Indent(out, level + 3) << "OFFSET: " << data.clocks.GetO(k) << '\n';
        Indent(out, level + 2) << "}\n";
    }
    Indent(out, level + 1) << "}\n";
    Indent(out, level + 1) << "SIMULATION_DATA {\n";
    if (data.simulationMode == kModeClocks) {
        int clock = data.selectedClock;
        if (clock >= count) clock = count - 1;
        if (clock < 0) clock = 0;
        Indent(out, level + 2) << "MODE:     CLOCKS\n";
        Indent(out, level + 2) << "CLOCK_NR: " << clock + 1 << '\n';
        Indent(out, level + 2) << "CLOCKS:   " << data.clockPeriods << '\n';
    } else {
        Indent(out, level + 2) << "MODE: MANUAL\n";
        Indent(out, level + 2) << "TIME: " << data.runTime << '\n';
    }
    Indent(out, level + 1) << "}\n";
    Indent(out, level) << "}\n\n";
    return FinishWrite(out);
}

int ReadGlobalArchitectureData(std::istream& in, GlobalArchitectureData& data) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeywords(in, cursor, {"GLOBAL_ARCHITECTURE_DATA", "{", "DIMENSION:"})) !=
        kNoError) {
        return code;
    }
    int32_t width = 0, height = 0;
    if ((code = RecordReadResult(in, ParsePair(cursor, width, height), "DIMENSION:")) != kNoError) {
        return code;
    }
    // No plane of such a size may ever be made.
    if (width < 1 || height < 1 || width > kMaxPlaneSize || height > kMaxPlaneSize) {
        return SetReadError(in, kNumberOutOfRange, "DIMENSION:");
    }
    data.width = width;
    data.height = height;
    data.hasDimension = true;

    if ((code = ExpectKeywords(in, cursor, {"CLOCKS", "{", "NUMBER:"})) != kNoError) return code;
    int32_t count = 0;
    if ((code = RecordReadResult(in, ParseInt(cursor, count), "NUMBER:")) != kNoError) return code;
    if (count < 1) return SetReadError(in, kNoClock, "NUMBER:");
    // Read aside and taken over whole, so that the table never lacks a clock.
    ClockList clocks;
    for (int32_t k = 0; k < count; k++) {
        if ((code = ExpectKeywords(in, cursor, {"CLOCK", "{", "TIME:"})) != kNoError) return code;
        uint32_t period = 0, offset = 0;
        if ((code = RecordReadResult(in, ParseUnsigned(cursor, period), "TIME:")) != kNoError)
            return code;
        // A clock of period 0 would latch for ever at one time.
        if (period == 0) return SetReadError(in, kNumberOutOfRange, "TIME:");
        if ((code = ExpectKeyword(in, cursor, "OFFSET:")) != kNoError) return code;
        if ((code = RecordReadResult(in, ParseUnsigned(cursor, offset), "OFFSET:")) != kNoError)
            return code;
        if (clocks.Add(period, offset) < 0) return SetReadError(in, kNumberOutOfRange, "CLOCK");
        if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    }
    data.clocks = clocks;
    data.hasClocks = true;

    if ((code = ExpectKeywords(in, cursor, {"}", "SIMULATION_DATA", "{", "MODE:"})) != kNoError) {
        return code;
    }
    if (std::strncmp(cursor, "CLOCKS", 6) == 0) {
        data.simulationMode = kModeClocks;
        EndLine(cursor);
        if ((code = ExpectKeyword(in, cursor, "CLOCK_NR:")) != kNoError) return code;
        int32_t clock = 0;
        if ((code = RecordReadResult(in, ParseInt(cursor, clock), "CLOCK_NR:")) != kNoError)
            return code;
        if (clock >= 1 && clock <= data.clocks.GetCount()) {
            data.selectedClock = clock - 1;
            if ((code = ExpectKeyword(in, cursor, "CLOCKS:")) != kNoError) return code;
            int32_t periods = 0;
            if ((code = RecordReadResult(in, ParseInt(cursor, periods), "CLOCKS:")) != kNoError) {
                return code;
            }
            if (periods >= 1) {
                data.clockPeriods = periods;
                if ((code = ExpectKeywords(in, cursor, {"}", "}"})) != kNoError) return code;
                return GetParseError();
            }
            data.simulationMode = kModeManual;
            return SetReadError(in, kNumberOutOfRange, "CLOCKS:");
        }
        data.simulationMode = kModeManual;
        return SetReadError(in, kNumberOutOfRange, "CLOCK_NR:");
    }
    if (std::strncmp(cursor, "MANUAL", 6) == 0) {
        data.simulationMode = kModeManual;
        EndLine(cursor);
        if ((code = ExpectKeyword(in, cursor, "TIME:")) != kNoError) return code;
        int32_t time = 0;
        if ((code = RecordReadResult(in, ParseInt(cursor, time), "TIME:")) != kNoError) return code;
        data.runTime = time;
        return ExpectKeywords(in, cursor, {"}", "}"});
    }
    return SetReadError(in, kUnknownSimulationMode, "MODE:");
}
