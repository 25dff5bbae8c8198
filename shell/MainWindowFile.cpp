// The architecture file as the main window reads and writes it: the header comment and the body
// with GLOBAL_ARCHITECTURE_DATA (plane size, clocks, simulation settings) after the options,
// which the main window takes from and gives to GlobalArchitectureData.

#include <istream>
#include <ostream>

#include "model/data/ClockList.h"
#include "model/elements/AElement.h"
#include "model/format/ParseError.h"
#include "shell/ArchitectureFile.h"
#include "shell/ClocksWindow.h"
#include "shell/GlobalArchitectureData.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/SimulationBoxWindow.h"

int MainWindow::Read(std::istream& in, FileArgument*) {
    if (!QueryClear()) {
        didRead = 0;
        return kNoError;
    }
    didRead = 1;
    if (simulationBoxShown) simulationBox->Hide();
    clocksWindow->Hide();
    ResetSimulationSettings();
    // The table is never empty, not even while it is read: a core.arc written when memory runs
    // out meanwhile must load again.
    ResetClocks();
    int result = ReadArchitectureBody(*this, in, 1);
    if (result != kNoError) {
        // No element may keep a clock that the default table does not have.
        const int clocksRead = GetClockCount();
        ResetClocks();
        for (int k = 2; k <= clocksRead; k++)
            ReplaceClock(k, 0);
        if (selectedClock >= GetClockCount()) selectedClock = 0;
    }
    eventQueue.Clear();
    // The clocks changed either way: the box's clock choice follows them.
    simulationBox->RebuildClockMenu();
    simulationBox->UpdateDisplay();
    UpdateOverview();
    return result;
}

int MainWindow::Write(std::ostream& out, int level, FileArgument*) {
    if (StreamFailed(out)) return SetWriteError(out, kIoError, nullptr);
    WriteFileHeader(out, "architecture");
    return WriteArchitectureBody(*this, out, level, 1);
}

int MainWindow::WriteGlobalData(std::ostream& out, int level) {
    GlobalArchitectureData data;
    AElement::GetDefaultPlaneSize(data.width, data.height);
    data.clocks = GetClocks();
    data.simulationMode = simulationMode;
    data.selectedClock = selectedClock;
    data.clockPeriods = clockPeriods;
    data.runTime = runTime;
    return WriteGlobalArchitectureData(out, level, data);
}

int MainWindow::ReadGlobalData(std::istream& in) {
    GlobalArchitectureData data;
    data.simulationMode = simulationMode;
    data.selectedClock = selectedClock;
    data.clockPeriods = clockPeriods;
    data.runTime = runTime;
    const int code = ReadGlobalArchitectureData(in, data);
    // What was read stays, also before an error: Read puts the clocks right after a failure.
    if (data.hasDimension) {
        AElement::SetDefaultPlaneSize(data.width, data.height);
        if (GetLibraryWindow() != nullptr) GetLibraryWindow()->RebuildPalette();
    }
    if (data.hasClocks) SetClocks(data.clocks);
    simulationMode = data.simulationMode;
    selectedClock = data.selectedClock;
    clockPeriods = data.clockPeriods;
    runTime = data.runTime;
    return code;
}
