// Throughput of the simulator, without a display.
//
// 1. Planes per second through a chain of 64 MASK and JOIN elements on 1024 x 1024 planes, fed by
//    a clocked INPUT and read by a clocked OUTPUT, for 100 clock periods; and the ratio of that
//    run's time to a plain loop doing the same word operations on planes of the same number and
//    size (the memory traffic every step needs on this machine).
// 2. The cost of one element step on 16 x 16 planes in architectures of 1 000 to 100 000
//    elements: chains of an INPUT, eight MASK and JOIN elements and an OUTPUT, the INPUTs and
//    OUTPUTs on one clock, so that every tick takes nine cycles with thousands of entries each.

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/data/PlaneList.h"
#include "model/elements/AElement.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PinCode.h"
#include "model/simulation/EventQueue.h"
#include "model/simulation/SimulationBoxUi.h"

namespace {

using Clock = std::chrono::steady_clock;

const SimTime kPeriod = 100;

// The main window's part: the scheduler is the queue.
class BenchUi : public NullElementUi {
public:
    explicit BenchUi(EventQueue& eventQueue) : queue(eventQueue) { SetElementUi(this); }
    ~BenchUi() override { SetElementUi(nullptr); }
    void Schedule(SimTime time, AElement* element) override {
        queue.Schedule(time, element, kPending);
    }
    void RemoveFromQueue(AElement* element) override { queue.Remove(element); }
    SimTime GetSimulationTime() override { return queue.GetNow(); }

private:
    EventQueue& queue;
};

// A simulation box that is polled after every cycle and never breaks.
class CountingBox : public SimulationBoxUi {
public:
    void ShowTime(SimTime) override {}
    int Poll(SimTime) override {
        polls++;
        return 0;
    }
    uint64_t polls = 0;
};

uint64_t steps = 0;

// An element type whose computations are counted.
template <class T> class Counted : public T {
public:
    Counted(int x, int y) : T(nullptr, x, y) {}
    void Simulate() override {
        steps++;
        T::Simulate();
    }
};

void RandomPlane(Matrix& plane, std::mt19937& random) {
    for (int y = 0; y < plane.GetDimY(); y++) {
        for (int x = 0; x < plane.GetDimX(); x++)
            plane.SetBit(x, y, random() & 1);
    }
}

// Elements, their connections and a queue to run them on.
class Bench {
public:
    Bench() : ui(queue) {
        queue.SetSimulationBox(&box);
        steps = 0;
    }
    ~Bench() {
        // Connections go with their elements.
        for (AElement* element : elements)
            delete element;
    }

    template <class T> T* Add(int size) {
        T* element = new Counted<T>(0, static_cast<int>(elements.size()));
        for (int i = 0; i < element->GetInputCount(); i++)
            element->SetInputPlaneSize(i, size, size);
        element->SetOutputPlaneSize(0, size, size);
        element->CreateData();
        elements.push_back(element);
        return element;
    }
    void Connect(AElement* from, AElement* to, int input = 0) {
        new Connection(nullptr, from, OutputPinCode(0), to, InputPinCode(input), 0);
    }
    // MainWindow::ResetSimulation.
    void Reset() {
        queue.Clear();
        for (AElement* element : elements)
            element->Reset();
    }
    // Seconds to run the given number of periods from a reset.
    double Run(int periods) {
        Reset();
        steps = 0;
        Clock::time_point start = Clock::now();
        queue.RunUntil(static_cast<SimTime>(periods) * kPeriod - 1);
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    EventQueue queue;
    BenchUi ui;
    CountingBox box;
    std::vector<AElement*> elements;
};

// The plain loop: per period the copies and word operations the elements of the chain do, on
// planes of the same size in one block of memory, laid out once.
class PlainChain {
public:
    PlainChain(int chainLength, size_t planeWords)
        : chain(chainLength), words(planeWords), pool((kStack + 5 + 3 * chainLength) * planeWords) {
        std::mt19937 random(7);
        // The INPUT's stack and the MASKs' masks, the masks mostly ones as in the simulation.
        for (int k = 0; k < kStack; k++)
            for (size_t i = 0; i < words; i++)
                Plane(k)[i] = random();
        for (int k = 0; k < chain; k += 2)
            for (size_t i = 0; i < words; i++)
                Second(k)[i] = static_cast<uint32_t>(random() | random() | random() | random());
    }

    // Seconds for the periods.
    double Run(int periods) {
        uint32_t* inputIn = Plane(kStack);
        uint32_t* inputOut = Plane(kStack + 1);
        uint32_t* outputStack = Plane(kStack + 2);
        uint32_t* outputIn = Plane(kStack + 3);
        uint32_t* outputOut = Plane(kStack + 4);
        const size_t bytes = words * sizeof(uint32_t);
        Clock::time_point start = Clock::now();
        int position = 0;
        for (int p = 0; p < periods; p++) {
            // The clocked pair latches, then emits and records.
            std::memcpy(outputIn, Out(chain - 1), bytes);
            std::memcpy(inputOut, Plane(position), bytes);
            std::memcpy(Plane(position), inputIn, bytes);
            position = (position + 1) % kStack;
            std::memcpy(outputOut, outputStack, bytes);
            std::memcpy(outputStack, outputIn, bytes);
            // The chain, one element per cycle: latch, then compute.
            for (int k = 0; k < chain; k++) {
                uint32_t* in = In(k);
                std::memcpy(in, k == 0 ? inputOut : Out(k - 1), bytes);
                uint32_t* to = Out(k);
                const uint32_t* b = Second(k);
                if (k % 2 == 0) {
                    for (size_t i = 0; i < words; i++)
                        to[i] = in[i] & b[i];
                } else {
                    for (size_t i = 0; i < words; i++)
                        to[i] = in[i] | b[i];
                }
            }
        }
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        checksum = 0;
        for (size_t i = 0; i < words; i++)
            checksum += outputOut[i] ^ Out(chain - 1)[i];
        return seconds;
    }

    uint32_t checksum = 0;

private:
    static const int kStack = 4;

    uint32_t* Plane(int index) { return pool.data() + static_cast<size_t>(index) * words; }
    uint32_t* In(int k) { return Plane(kStack + 5 + 3 * k); }
    uint32_t* Second(int k) { return Plane(kStack + 6 + 3 * k); } // mask, or unconnected input
    uint32_t* Out(int k) { return Plane(kStack + 7 + 3 * k); }

    int chain;
    size_t words;
    std::vector<uint32_t> pool;
};

void ChainBench() {
    const int kSize = 1024;
    const int kChain = 64;
    const int kPeriods = 100;
    const int kRepeats = 9;
    std::mt19937 random(7);

    Bench bench;
    AInputElem* input = bench.Add<AInputElem>(kSize);
    input->SetTime(0);
    PlaneList stack(kSize, kSize, 4);
    for (int k = 0; k < 4; k++) {
        Matrix plane(kSize, kSize);
        RandomPlane(plane, random);
        stack.SetXYPlane(plane, k);
    }
    input->GetStoredData().GetPlaneList() = stack;
    AElement* previous = input;
    for (int k = 0; k < kChain; k++) {
        AElement* element;
        if (k % 2 == 0) {
            // Mostly ones, so that the planes stay alive along the chain.
            AMaskElem* mask = bench.Add<AMaskElem>(kSize);
            for (int c = 0; c < kSize * kSize / 16; c++)
                mask->GetData().GetMask().ClearBit(random() % kSize, random() % kSize);
            element = mask;
        } else {
            element = bench.Add<AJoinElem>(kSize); // rule OR, its second input unconnected
        }
        bench.Connect(previous, element);
        previous = element;
    }
    AOutputElem* output = bench.Add<AOutputElem>(kSize);
    output->SetTime(0);
    bench.Connect(previous, output);

    // Taken in turn, so that both see the machine in the same state.
    double simulated = 1e30;
    double plain = 1e30;
    uint64_t chainSteps = 0;
    PlainChain plainChain(kChain, static_cast<size_t>((kSize + 31) / 32) * kSize);
    for (int r = 0; r < kRepeats; r++) {
        simulated = std::min(simulated, bench.Run(kPeriods));
        chainSteps = steps - 2 * static_cast<uint64_t>(kPeriods); // without INPUT and OUTPUT
        plain = std::min(plain, plainChain.Run(kPeriods));
    }

    std::printf("Chain of %d MASK/JOIN elements, %d x %d planes, %d periods (best of %d):\n",
                kChain, kSize, kSize, kPeriods, kRepeats);
    std::printf("  simulated: %.3f s, %" PRIu64 " chain steps, %.0f planes/s\n", simulated,
                chainSteps, static_cast<double>(chainSteps) / simulated);
    std::printf("  plain loop: %.3f s (checksum %08" PRIx32 ")\n", plain, plainChain.checksum);
    std::printf("  ratio simulated / plain: %.2f (target at most 1.5)\n", simulated / plain);
}

// The same steps without the queue, in the order a run takes them: at each tick the clocked
// INPUTs and OUTPUTs latch and compute, then the chains' elements wave by wave. Returns seconds.
double Direct(const std::vector<std::vector<AElement*>>& chains, int periods) {
    Clock::time_point start = Clock::now();
    for (int p = 0; p < periods; p++) {
        for (const auto& chain : chains) {
            chain.front()->LatchInputs();
            chain.back()->LatchInputs();
        }
        for (const auto& chain : chains) {
            chain.front()->Simulate();
            chain.back()->Simulate();
        }
        for (size_t k = 1; k + 1 < chains[0].size(); k++) {
            for (const auto& chain : chains) {
                chain[k]->LatchInputs();
                chain[k]->Simulate();
            }
        }
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void QueueBench(int count, uint64_t targetSteps) {
    const int kChainLength = 10; // INPUT, eight MASK and JOIN elements, OUTPUT
    const int kSize = 16;
    std::mt19937 random(11);
    Bench bench;
    std::vector<std::vector<AElement*>> chains(count / kChainLength);
    for (auto& chain : chains) {
        AInputElem* input = bench.Add<AInputElem>(kSize);
        input->SetTime(0);
        Matrix plane(kSize, kSize);
        RandomPlane(plane, random);
        input->GetStoredData().SetXYPlane(plane, 0);
        chain.push_back(input);
        for (int k = 0; k < kChainLength - 2; k++) {
            if (k % 2 == 0) {
                AMaskElem* mask = bench.Add<AMaskElem>(kSize);
                RandomPlane(mask->GetData().GetMask(), random);
                chain.push_back(mask);
            } else {
                chain.push_back(bench.Add<AJoinElem>(kSize));
            }
            bench.Connect(chain[chain.size() - 2], chain.back());
        }
        AOutputElem* output = bench.Add<AOutputElem>(kSize);
        output->SetTime(0);
        chain.push_back(output);
        bench.Connect(chain[chain.size() - 2], output);
    }
    const int elements = static_cast<int>(bench.elements.size());
    const int periods = static_cast<int>(std::max<uint64_t>(1, targetSteps / elements));
    double simulated = 1e30;
    uint64_t simulatedSteps = 0;
    for (int r = 0; r < 3; r++) {
        simulated = std::min(simulated, bench.Run(periods));
        simulatedSteps = steps;
    }
    double direct = 1e30;
    for (int r = 0; r < 3; r++) {
        bench.Reset();
        bench.queue.Clear();
        steps = 0;
        direct = std::min(direct, Direct(chains, periods));
    }
    const double perStep = 1e9 / static_cast<double>(simulatedSteps);
    std::printf("  %6d elements, %4d periods, %" PRIu64
                " steps: %5.1f ns a step, of which the queue %5.1f ns\n",
                elements, periods, simulatedSteps, simulated * perStep,
                (simulated - direct) * perStep);
}

} // namespace

int main() {
    ResetClocks(); // one clock, period 100, offset 0
    ChainBench();
    std::printf(
        "Element steps on 16 x 16 planes, chains of 10 (best of 3); the queue's part is the\n"
        "difference to the same steps taken in a plain loop:\n");
    for (int count : {1000, 10000, 100000})
        QueueBench(count, 4000000);
    return 0;
}
