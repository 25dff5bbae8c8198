// The cost of a C++ element's step: one 16 x 16 plane to its client process and back through
// the shared segment, as a simulation run makes it (a simulation box installed, so that Break
// would stay live during the wait), against the floor of two processes that pass the turn to and
// fro with the same two semaphore operations and nothing else. Both are timed in this one run;
// the ratio is what the element adds to the unavoidable process switches.

#include <signal.h>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "model/elements/ACElem.h"
#include "model/elements/ElementUi.h"
#include "model/simulation/ClientProcess.h"
#include "model/simulation/SimulationBoxUi.h"

namespace {

using Clock = std::chrono::steady_clock;

const int kSteps = 20000;
const int kRepeats = 5;

// A box that never breaks.
class QuietBox : public SimulationBoxUi {
public:
    void ShowTime(SimTime) override {}
    int Poll(SimTime) override { return 0; }
    int PollWhileWaiting() override { return 0; }
};

// Nanoseconds per round trip of two processes that hand the turn over with semop alone: the
// host posts semaphore 1 and waits on 0 in slices, the other waits on 1 and posts 0.
double FloorNanoseconds() {
    const int set = semget(IPC_PRIVATE, 2, IPC_CREAT | 0600);
    if (set == -1) {
        std::perror("semget");
        return 0;
    }
    const pid_t child = fork();
    if (child == -1) {
        std::perror("fork");
        semctl(set, 0, IPC_RMID);
        return 0;
    }
    if (child == 0) {
        struct sembuf wait = {1, -1, 0};
        struct sembuf post = {0, 1, 0};
        for (;;) {
            if (semop(set, &wait, 1) == -1 || semop(set, &post, 1) == -1) _exit(0);
        }
    }
    struct sembuf post = {1, 1, 0};
    struct sembuf wait = {0, -1, 0};
    const timespec slice = {0, 100 * 1000000L};
    const auto start = Clock::now();
    for (int i = 0; i < kSteps; i++) {
        if (semop(set, &post, 1) == -1) break;
        while (semtimedop(set, &wait, 1, &slice) == -1) {
        }
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    semctl(set, 0, IPC_RMID); // the other's next semop fails: it ends
    waitpid(child, nullptr, 0);
    return ns / kSteps;
}

// Nanoseconds per step of a C++ element that copies its input to its output.
double ElementNanoseconds(ACElem& element) {
    const auto start = Clock::now();
    for (int i = 0; i < kSteps; i++)
        element.Simulate();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kSteps;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    NullElementUi ui;
    SetElementUi(&ui);
    ACElem::RegisterType();
    ACElem element(nullptr, 0, 0);
    element.SetInputPlaneSize(0, 16, 16);
    element.SetOutputPlaneSize(0, 16, 16);
    element.CreateData();
    element.GetData().SetCode("out = in;");
    const char* messages = nullptr;
    if (!element.GetData().Compile(messages) || element.GetData().CreateProcess() <= 0) {
        std::fprintf(stderr, "the client cannot be made:\n%s\n", messages);
        return 1;
    }
    QuietBox box;
    ClientProcess::SetBreakBox(&box);

    std::vector<double> floors, steps;
    for (int r = 0; r < kRepeats; r++) {
        floors.push_back(FloorNanoseconds());
        steps.push_back(ElementNanoseconds(element));
    }
    ClientProcess::SetBreakBox(nullptr);
    const double floor = Median(floors);
    const double step = Median(steps);
    std::printf("C++ element step, 16 x 16 plane: %.0f ns (median of %d runs of %d steps)\n", step,
                kRepeats, kSteps);
    std::printf("two processes passing the turn:  %.0f ns\n", floor);
    std::printf("ratio: %.2f\n", floor > 0 ? step / floor : 0.0);
    SetElementUi(nullptr);
    return 0;
}
