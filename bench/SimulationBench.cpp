// Throughput of the simulator, without a display. Every figure is the median of interleaved
// runs, printed as a ratio to a floor measured in the same run, with its target beside it.
//
// 1. A chain of 64 MASK and JOIN elements on 1024 x 1024 planes, fed by a clocked INPUT (a fresh
//    random plane every period, so that the data stays non-zero) and read by a clocked OUTPUT,
//    for 100 clock periods; against a plain loop doing the same copies and word operations, and
//    against a fused loop computing each output from the previous output without latch copies.
//    The loops are written with the same vector words as the program's own and start from the
//    very planes and masks the elements hold; after every run each loop's final planes are
//    compared word for word with the elements' (a mismatch fails the bench; `chain
//    --corrupt-one-word` changes one word of the plain loop's last output to show that it does).
//    The heap blocks allocated during the runs are counted.
// 3. A LOGIC element on a 1024 x 1024 plane with 2 x 2 PEs, one internal name and four equations,
//    COMPUTE_PARALLEL ON and OFF: the time of a step and the heap blocks allocated during steps.
// 2. The cost of one element step on 16 x 16 planes in architectures of 1 000 to 100 000
//    elements: chains of an INPUT, eight MASK and JOIN elements and an OUTPUT, the INPUTs and
//    OUTPUTs on one clock, so that every tick takes nine cycles with thousands of entries each;
//    the larger architectures against the smallest.
// 4. A RULE with a 3 x 3 all-set search and substitution pattern on a 1024 x 1024 plane against
//    a plain loop doing the same shifts and word operations; the element's output is compared
//    with the loop's (a mismatch fails the bench).

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/data/PlaneList.h"
#include "model/elements/AElement.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PinCode.h"
#include "model/simulation/EventQueue.h"
#include "model/simulation/SimulationBoxUi.h"

// Heap blocks allocated since the start; every allocation of the process goes through here.
// (The compiler takes the free below, once inlined into a delete expression, for a mismatch.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
uint64_t gAllocations = 0;

void* operator new(size_t size) {
    gAllocations++;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
// The standard library and the sanitizers also allocate without exceptions; those blocks must come
// from the same heap that the delete below frees into.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    gAllocations++;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, size_t) noexcept {
    std::free(block);
}

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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

// Every cell 0 or 1 at random, a row's padding bits 0.
void RandomPlane(Matrix& plane, std::mt19937& random) {
    const int rowWords = plane.GetWordsPerRow();
    const uint32_t keep = plane.GetDimX() % 32 == 0 ? ~0u : (1u << (plane.GetDimX() % 32)) - 1;
    std::vector<uint32_t> words(static_cast<size_t>(rowWords) * plane.GetDimY());
    for (size_t i = 0; i < words.size(); i++) {
        words[i] = static_cast<uint32_t>(random());
        if (i % rowWords == static_cast<size_t>(rowWords) - 1) words[i] &= keep;
    }
    plane.GetFromBuffer(words.data(), plane.GetBufferSize());
}

// Every pin of the element on size x size planes, and its data for them.
void SizePlanes(AElement& element, int size) {
    for (int i = 0; i < element.GetInputCount(); i++)
        element.SetInputPlaneSize(i, size, size);
    for (int i = 0; i < element.GetOutputCount(); i++)
        element.SetOutputPlaneSize(i, size, size);
    element.CreateData();
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
        SizePlanes(*element, size);
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

typedef uint32_t Quad __attribute__((vector_size(16)));

// to := a & b or a | b, four words at a time, as the program's own planes are combined.
template <bool kAnd> void Combine(uint32_t* to, const uint32_t* a, const uint32_t* b, size_t n) {
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        Quad x, y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        x = kAnd ? (x & y) : (x | y);
        std::memcpy(to + i, &x, sizeof x);
    }
    for (; i < n; i++)
        to[i] = kAnd ? (a[i] & b[i]) : (a[i] | b[i]);
}

// The loops: per period the copies and word operations the elements of the chain do, on planes
// of the same size in one block of memory, laid out once.
class PlainChain {
public:
    // The stack's planes and the chain's second operands (each MASK's mask, each JOIN's second
    // input), copied from the elements into the block.
    PlainChain(const PlaneList& planes, const std::vector<const Matrix*>& seconds, int periods)
        : chain(static_cast<int>(seconds.size())), stack(periods),
          words(planes.GetXYPlane(0).GetBufferSize() / sizeof(uint32_t)),
          pool((stack + 5 + 3 * seconds.size()) * words) {
        for (int k = 0; k < stack; k++)
            Load(Plane(k), planes.GetXYPlane(k)); // logical plane k: emitted in period k
        for (int k = 0; k < chain; k++)
            Load(Second(k), *seconds[static_cast<size_t>(k)]);
    }

    // One word of the plain loop's last output is changed after its next run.
    void CorruptOneWord() { corrupt = true; }

    // Seconds for the periods: the clocked pair latches and emits, then each element of the
    // chain latches its input and computes, one per cycle.
    double RunPlain(int periods) {
        uint32_t* inputOut = Plane(stack);
        uint32_t* outputIn = Plane(stack + 1);
        uint32_t* outputOut = Plane(stack + 2);
        const size_t bytes = words * sizeof(uint32_t);
        Clock::time_point start = Clock::now();
        for (int p = 0; p < periods; p++) {
            std::memcpy(outputIn, Out(chain - 1), bytes);
            std::memcpy(inputOut, Plane(p % stack), bytes);
            std::memcpy(outputOut, outputIn, bytes);
            for (int k = 0; k < chain; k++) {
                uint32_t* in = In(k);
                std::memcpy(in, k == 0 ? inputOut : Out(k - 1), bytes);
                if (k % 2 == 0) {
                    Combine<true>(Out(k), in, Second(k), words);
                } else {
                    Combine<false>(Out(k), in, Second(k), words);
                }
            }
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (corrupt) Out(chain - 1)[words / 2] ^= 1u << 7;
        return seconds;
    }

    // The same without any copy: each output straight from the previous one.
    double RunFused(int periods) {
        Clock::time_point start = Clock::now();
        for (int p = 0; p < periods; p++) {
            const uint32_t* from = Plane(p % stack);
            for (int k = 0; k < chain; k++) {
                if (k % 2 == 0) {
                    Combine<true>(Out(k), from, Second(k), words);
                } else {
                    Combine<false>(Out(k), from, Second(k), words);
                }
                from = Out(k);
            }
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    // The number of chain elements whose output differs from the loop's in some word, the first
    // of them in *first; with the latch planes of the plain loop (the INPUT's output, the
    // OUTPUT's input) when plain is set.
    int Differing(const std::vector<AElement*>& elements, bool plain, std::string* first) {
        int differing = 0;
        auto check = [&](const Matrix& plane, const uint32_t* loop, const char* what, int k) {
            if (std::memcmp(plane.GetRowWords(0), loop, words * sizeof(uint32_t)) == 0) return;
            if (differing++ == 0) *first = std::string(what) + " " + std::to_string(k);
        };
        for (int k = 0; k < chain; k++)
            check(*elements[static_cast<size_t>(k) + 1]->GetOutputPlane(0), Out(k),
                  "output of chain element", k + 1);
        if (plain) {
            check(*elements.front()->GetOutputPlane(0), Plane(stack), "output of the INPUT", 0);
            check(*elements.back()->GetInputPlane(0), Plane(stack + 1), "input of the OUTPUT", 0);
        }
        return differing;
    }

private:
    void Load(uint32_t* to, const Matrix& plane) {
        if (plane.GetBufferSize() != words * sizeof(uint32_t)) {
            std::printf("PlainChain: a plane of another size\n");
            std::exit(1);
        }
        std::memcpy(to, plane.GetRowWords(0), words * sizeof(uint32_t));
    }

    uint32_t* Plane(int index) { return pool.data() + static_cast<size_t>(index) * words; }
    uint32_t* In(int k) { return Plane(stack + 5 + 3 * k); }
    uint32_t* Second(int k) { return Plane(stack + 6 + 3 * k); } // mask, or unconnected input
    uint32_t* Out(int k) { return Plane(stack + 7 + 3 * k); }

    int chain;
    int stack;
    size_t words;
    std::vector<uint32_t> pool;
    bool corrupt = false;
};

uint64_t SetBits(const Matrix& plane) {
    uint64_t bits = 0;
    for (int y = 0; y < plane.GetDimY(); y++)
        for (int x = 0; x < plane.GetDimX(); x++)
            bits += static_cast<uint64_t>(plane(x, y));
    return bits;
}

// False when the loop left what the elements hold; else true, with a line when report is set.
bool CheckChain(PlainChain& loops, const std::vector<AElement*>& chain, bool plain, bool report) {
    std::string first;
    const int differing = loops.Differing(chain, plain, &first);
    if (differing == 0) return false;
    if (!report) return true;
    std::printf("  MISMATCH: %d planes of the %s loop differ from the simulation's, first the %s\n",
                differing, plain ? "plain" : "fused", first.c_str());
    return true;
}

int ChainBench(bool corruptOneWord) {
    const int kSize = 1024;
    const int kChain = 64;
    const int kPeriods = 100;
    const int kRepeats = 9;
    std::mt19937 random(7);

    Bench bench;
    AInputElem* input = bench.Add<AInputElem>(kSize);
    input->SetTime(0);
    // A fresh plane every period: the INPUT records its unconnected input into its stack.
    PlaneList stack(kSize, kSize, kPeriods + 1);
    for (int k = 0; k <= kPeriods; k++) {
        Matrix plane(kSize, kSize);
        RandomPlane(plane, random);
        stack.SetXYPlane(plane, k);
    }
    input->GetStoredData().GetPlaneList() = stack;
    std::vector<AElement*> chain{input};
    for (int k = 0; k < kChain; k++) {
        AElement* element;
        if (k % 2 == 0) {
            // Mostly ones, so that the planes stay alive along the chain.
            AMaskElem* mask = bench.Add<AMaskElem>(kSize);
            mask->GetData().GetMask().SetAll();
            for (int c = 0; c < kSize * kSize / 64; c++)
                mask->GetData().GetMask().ClearBit(random() % kSize, random() % kSize);
            element = mask;
        } else {
            element = bench.Add<AJoinElem>(kSize); // rule OR, its second input unconnected
        }
        bench.Connect(chain.back(), element);
        chain.push_back(element);
    }
    AOutputElem* output = bench.Add<AOutputElem>(kSize);
    output->SetTime(0);
    bench.Connect(chain.back(), output);
    chain.push_back(output);

    // The loops take the planes the run will emit and the masks; a JOIN's unconnected second
    // input is the cleared plane it combines with.
    std::vector<const Matrix*> seconds;
    for (int k = 0; k < kChain; k++) {
        AElement* element = chain[static_cast<size_t>(k) + 1];
        seconds.push_back(k % 2 == 0 ? &static_cast<AMaskElem*>(element)->GetData().GetMask()
                                     : element->GetInputPlane(1));
    }
    PlainChain loops(input->GetStoredData().GetPlaneList(), seconds, kPeriods);
    if (corruptOneWord) loops.CorruptOneWord();
    // Taken in turn, so that all see the machine in the same state.
    std::vector<double> simulated, toPlain, toFused;
    uint64_t chainSteps = 0, allocations = 0;
    bool plainFailed = false, fusedFailed = false;
    for (int r = 0; r < kRepeats; r++) {
        const uint64_t before = gAllocations;
        const double seconds = bench.Run(kPeriods);
        allocations = gAllocations - before;
        chainSteps = steps - 2 * static_cast<uint64_t>(kPeriods); // without INPUT and OUTPUT
        simulated.push_back(seconds);
        toPlain.push_back(seconds / loops.RunPlain(kPeriods));
        plainFailed = plainFailed || CheckChain(loops, chain, true, !plainFailed);
        toFused.push_back(seconds / loops.RunFused(kPeriods));
        fusedFailed = fusedFailed || CheckChain(loops, chain, false, !fusedFailed);
    }
    int failed = plainFailed || fusedFailed;
    if (SetBits(*chain[chain.size() - 2]->GetOutputPlane(0)) == 0) {
        std::printf("  MISMATCH: the chain's data died out\n");
        failed = 1;
    }

    std::printf("Chain of %d MASK/JOIN elements, %d x %d planes, %d periods (median of %d):\n",
                kChain, kSize, kSize, kPeriods, kRepeats);
    std::printf("  simulated: %.3f s, %" PRIu64 " chain steps, %.0f planes/s, %" PRIu64
                " heap blocks a run, last output %" PRIu64 " bits set, %s the loops'\n",
                Median(simulated), chainSteps, static_cast<double>(chainSteps) / Median(simulated),
                allocations, SetBits(*chain[chain.size() - 2]->GetOutputPlane(0)),
                failed ? "NOT ALL as" : "every plane as");
    std::printf("  ratio simulated / plain loop: %.2f (target at most 1.5)\n", Median(toPlain));
    std::printf("  ratio simulated / fused loop: %.2f (target at most 1.3)\n", Median(toFused));
    return failed;
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

// The floor of a step: the same elements' planes in one block, the same copies and word
// operations per step in the same order, driven by the least queue that gives that order. A tick
// starts with the clocked elements in the order a reset schedules them; each cycle is a list of
// element indices, a latch pass over it and a compute pass, in which every computation puts its
// successor once on the next cycle's list and a clocked element itself on the next tick's.
class CompactSteps {
public:
    explicit CompactSteps(const std::vector<std::vector<AElement*>>& chains) {
        words = chains[0][0]->GetOutputPlane(0)->GetBufferSize() / sizeof(uint32_t);
        for (const auto& chain : chains) {
            for (size_t k = 0; k < chain.size(); k++) {
                AElement* element = chain[k];
                Node node{};
                const uint32_t type = element->GetType();
                node.kind = type == kMask ? kAnd : type == kJoin ? kOr : kStack;
                node.input = NewPlane();
                node.output = NewPlane();
                node.second = node.kind == kStack ? -1 : NewPlane();
                node.source = k == 0 ? -1 : nodes.back().output;
                node.successor = k + 1 < chain.size() && chain[k + 1]->GetClock() == 0
                                     ? static_cast<int32_t>(nodes.size() + 1)
                                     : -1;
                node.clocked = element->GetClock() != 0;
                if (node.kind == kStack) {
                    node.stackCount = StackOf(*element).GetCount();
                    node.stack = NewPlane();
                    for (int i = 1; i < node.stackCount; i++)
                        NewPlane();
                }
                nodes.push_back(node);
                elements.push_back(element);
            }
        }
        planes.assign(planeCount * words, 0u);
    }

    // The state a reset leaves: every pin's plane cleared, the masks and stacks as the elements
    // hold them, the clocked elements on the first tick's list in the order of the elements.
    void Load() {
        std::fill(planes.begin(), planes.end(), 0u);
        firstTick.clear();
        for (size_t i = 0; i < nodes.size(); i++) {
            Node& node = nodes[i];
            if (node.kind == kAnd) {
                CopyIn(node.second, static_cast<AMaskElem*>(elements[i])->GetData().GetMask());
            }
            if (node.kind == kStack) {
                const PlaneList& stack = StackOf(*elements[i]);
                for (int k = 0; k < node.stackCount; k++)
                    CopyIn(node.stack + k, stack.GetXYPlane(k));
                node.position = 0;
                // Without a delay the first plane is at the output at once.
                CopyIn(node.output, stack.GetXYPlane(0));
            }
            if (node.clocked) firstTick.push_back(static_cast<int32_t>(i));
        }
    }

    // Seconds for the ticks of the periods.
    double Run(int periods) {
        // A plane of 16 x 16 is 16 words: copies and loops of a size known to the compiler.
        return words == 16 ? RunWith<16>(periods) : RunWith<0>(periods);
    }

    // The number of elements whose output or input plane differs from the floor's.
    int Differing() {
        int differing = 0;
        for (size_t i = 0; i < nodes.size(); i++) {
            const Node& node = nodes[i];
            if (!Same(*elements[i]->GetOutputPlane(0), node.output) ||
                !Same(*elements[i]->GetInputPlane(0), node.input)) {
                differing++;
            }
        }
        return differing;
    }

private:
    // kWords: the words of a plane, or 0 for words.
    template <size_t kWords> double RunWith(int periods) {
        const size_t n = kWords != 0 ? kWords : words;
        std::vector<int32_t> tick = firstTick, nextTick, cycle, next;
        tick.reserve(nodes.size());
        nextTick.reserve(nodes.size());
        cycle.reserve(nodes.size());
        next.reserve(nodes.size());
        const size_t bytes = n * sizeof(uint32_t);
        Clock::time_point start = Clock::now();
        for (int p = 0; p < periods; p++) {
            cycle.swap(tick);
            nextTick.clear();
            while (!cycle.empty()) {
                for (int32_t i : cycle) {
                    const Node& node = nodes[static_cast<size_t>(i)];
                    if (node.source >= 0) std::memcpy(Plane(node.input), Plane(node.source), bytes);
                }
                next.clear();
                for (int32_t i : cycle) {
                    Node& node = nodes[static_cast<size_t>(i)];
                    Compute<kWords>(node, n);
                    if (node.successor >= 0) next.push_back(node.successor);
                    if (node.clocked) nextTick.push_back(i);
                }
                cycle.swap(next);
            }
            tick.swap(nextTick);
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    enum Kind : uint8_t { kAnd, kOr, kStack };
    // Plane indices into the block; -1: none.
    struct Node {
        int32_t source;    // the output plane latched into input
        int32_t input;     // input plane 0
        int32_t second;    // the mask, or the JOIN's unconnected second input
        int32_t output;    // output plane 0
        int32_t stack;     // the first of an INPUT's or OUTPUT's stackCount planes
        int32_t successor; // the unclocked element its output feeds
        int32_t stackCount;
        int32_t position;
        Kind kind;
        bool clocked;
    };

    static const PlaneList& StackOf(AElement& element) {
        return element.GetType() == kInput
                   ? static_cast<AInputElem&>(element).GetData().GetPlaneList()
                   : static_cast<AOutputElem&>(element).GetData().GetPlaneList();
    }
    int32_t NewPlane() { return static_cast<int32_t>(planeCount++); }
    uint32_t* Plane(int32_t index) { return planes.data() + static_cast<size_t>(index) * words; }
    void CopyIn(int32_t index, const Matrix& plane) {
        std::memcpy(Plane(index), plane.GetRowWords(0), words * sizeof(uint32_t));
    }
    bool Same(const Matrix& plane, int32_t index) {
        return std::memcmp(plane.GetRowWords(0), Plane(index), words * sizeof(uint32_t)) == 0;
    }

    // The element's computation: MASK and JOIN combine, INPUT and OUTPUT emit the current plane
    // of their stack, record their input in its place and step on.
    // A whole number of vector words when the size is known, else Combine.
    template <bool kAnd, size_t kWords>
    static void CombineWords(uint32_t* to, const uint32_t* a, const uint32_t* b, size_t n) {
        if (kWords == 0 || kWords % 4 != 0) {
            Combine<kAnd>(to, a, b, n);
            return;
        }
        for (size_t i = 0; i < kWords; i += 4) {
            Quad x, y;
            std::memcpy(&x, a + i, sizeof x);
            std::memcpy(&y, b + i, sizeof y);
            x = kAnd ? (x & y) : (x | y);
            std::memcpy(to + i, &x, sizeof x);
        }
    }

    template <size_t kWords> __attribute__((always_inline)) void Compute(Node& node, size_t n) {
        uint32_t* out = Plane(node.output);
        const uint32_t* in = Plane(node.input);
        if (node.kind == kAnd) {
            CombineWords<true, kWords>(out, in, Plane(node.second), n);
        } else if (node.kind == kOr) {
            CombineWords<false, kWords>(out, in, Plane(node.second), n);
        } else {
            uint32_t* current = Plane(node.stack + node.position);
            std::memcpy(out, current, n * sizeof(uint32_t));
            std::memcpy(current, in, n * sizeof(uint32_t));
            node.position = (node.position + 1) % node.stackCount;
        }
    }

    size_t words = 0;
    size_t planeCount = 0;
    std::vector<Node> nodes;
    std::vector<AElement*> elements;
    std::vector<int32_t> firstTick;
    std::vector<uint32_t> planes;
};

// A step through the queue: nanoseconds, the queue's part (against the same steps taken in a
// plain loop) and the ratio to the compact floor, medians of interleaved runs. A floor that does
// not end where the program does sets *failed.
void QueueBench(int count, uint64_t targetSteps, int* failed) {
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
        input->GetStoredData().GetPlaneList().SetXYPlane(plane, 0);
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
    CompactSteps floor(chains);
    std::vector<double> simulated, direct, toFloor;
    uint64_t simulatedSteps = 0;
    for (int r = 0; r < 5; r++) {
        bench.Reset();
        floor.Load();
        const double seconds = bench.Run(periods);
        simulatedSteps = steps;
        const double floorSeconds = floor.Run(periods);
        const int differing = floor.Differing();
        if (differing != 0 && *failed == 0) {
            std::printf("  MISMATCH: %d of %d elements differ from the compact floor's\n",
                        differing, elements);
        }
        if (differing != 0) *failed = 1;
        simulated.push_back(seconds);
        toFloor.push_back(seconds / floorSeconds);
        bench.Reset();
        bench.queue.Clear();
        steps = 0;
        direct.push_back(Direct(chains, periods));
    }
    const double perStep = 1e9 / static_cast<double>(simulatedSteps);
    std::printf("  %6d elements, %4d periods, %" PRIu64
                " steps: %5.1f ns a step (the queue %5.1f ns): ratio to the compact floor %5.1f "
                "(no target)\n",
                elements, periods, simulatedSteps, Median(simulated) * perStep,
                (Median(simulated) - Median(direct)) * perStep, Median(toFloor));
}

// The RULE's work in plain word loops over rows of rowWords words: match := the AND of the input
// moved by every set search cell, then the mask, then out := the OR of match moved back by every
// set substitution cell, the padding bits cleared.
class PlainRule {
public:
    PlainRule(int width, int height)
        : dimX(width), dimY(height), rowWords((width + 31) / 32),
          match(static_cast<size_t>(rowWords) * height) {}

    // Seconds for one search and substitution.
    double Run(const uint32_t* in, const uint32_t* mask, const Matrix& search,
               const Matrix& substitution, uint32_t* out) {
        Clock::time_point start = Clock::now();
        const uint32_t keep = dimX % 32 == 0 ? ~0u : (1u << (dimX % 32)) - 1;
        std::fill(match.begin(), match.end(), ~0u);
        for (int i = 0; i < search.GetDimY(); i++)
            for (int j = 0; j < search.GetDimX(); j++)
                if (search(j, i)) AndMoved(match.data(), in, j, i);
        for (size_t w = 0; w < match.size(); w++)
            match[w] &= mask[w];
        std::fill(out, out + match.size(), 0u);
        for (int i = 0; i < substitution.GetDimY(); i++)
            for (int j = 0; j < substitution.GetDimX(); j++)
                if (substitution(j, i)) OrMoved(out, match.data(), j, i);
        for (int y = 0; y < dimY; y++)
            out[static_cast<size_t>(y) * rowWords + rowWords - 1] &= keep;
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

private:
    // to(x, y) &= from(x + j, y + i), 0 beyond the rows and the row's words.
    void AndMoved(uint32_t* to, const uint32_t* from, int j, int i) {
        const int ws = j / 32, bs = j % 32;
        for (int y = 0; y < dimY; y++) {
            uint32_t* row = to + static_cast<size_t>(y) * rowWords;
            if (y + i >= dimY) {
                std::fill(row, row + rowWords, 0u);
                continue;
            }
            const uint32_t* src = from + static_cast<size_t>(y + i) * rowWords;
            int w = 0;
            for (; w + ws + 1 < rowWords; w++)
                row[w] &= (src[w + ws] >> bs) | ((src[w + ws + 1] << (31 - bs)) << 1);
            for (; w < rowWords; w++)
                row[w] &= w + ws < rowWords ? src[w + ws] >> bs : 0u;
        }
    }
    // to(x, y) |= from(x - j, y - i), 0 before the first row and word.
    void OrMoved(uint32_t* to, const uint32_t* from, int j, int i) {
        const int ws = j / 32, bs = j % 32;
        for (int y = i; y < dimY; y++) {
            uint32_t* row = to + static_cast<size_t>(y) * rowWords;
            const uint32_t* src = from + static_cast<size_t>(y - i) * rowWords;
            if (ws < rowWords) row[ws] |= src[0] << bs;
            for (int w = ws + 1; w < rowWords; w++)
                row[w] |= (src[w - ws] << bs) | ((src[w - ws - 1] >> (31 - bs)) >> 1);
        }
    }

    int dimX;
    int dimY;
    int rowWords;
    std::vector<uint32_t> match;
};

// The RULE's result the slow way, by whole moved copies of the planes: the check of the loop's,
// which moves words as the element does.
Matrix MovedCopyRule(const Matrix& in, const Matrix& mask, const Matrix& search,
                     const Matrix& substitution) {
    Matrix match(in.GetDimX(), in.GetDimY(), 1);
    for (int i = 0; i < search.GetDimY(); i++) {
        for (int j = 0; j < search.GetDimX(); j++) {
            if (!search(j, i)) continue;
            Matrix moved = in;
            moved.ShiftRight(j);
            moved.ShiftRowsDown(i);
            match.And(moved);
        }
    }
    match.And(mask);
    Matrix out(in.GetDimX(), in.GetDimY());
    for (int i = 0; i < substitution.GetDimY(); i++) {
        for (int j = 0; j < substitution.GetDimX(); j++) {
            if (!substitution(j, i)) continue;
            Matrix moved = match;
            moved.ShiftLeft(j);
            moved.ShiftRowsUp(i);
            out.Or(moved);
        }
    }
    return out;
}

// The words of a plane, row by row.
std::vector<uint32_t> Words(const Matrix& plane) {
    std::vector<uint32_t> words;
    for (int y = 0; y < plane.GetDimY(); y++)
        words.insert(words.end(), plane.GetRowWords(y),
                     plane.GetRowWords(y) + plane.GetWordsPerRow());
    return words;
}

int RuleBench() {
    const int kSize = 1024;
    const int kRepeats = 15;
    std::mt19937 random(17);
    ARuleElem rule(nullptr, 0, 0);
    SizePlanes(rule, kSize);
    D_RuleElem& data = rule.GetData();
    data.SetSearch(std::unique_ptr<Matrix>(new Matrix(3, 3, 1)));
    data.SetSubstitution(std::unique_ptr<Matrix>(new Matrix(3, 3, 1)));
    Matrix& mask = data.GetMask()->GetMask();
    for (int c = 0; c < kSize * kSize / 64; c++)
        mask.ClearBit(random() % kSize, random() % kSize);
    // Three cells in four set, so that about one position in thirteen matches.
    Matrix& in = *rule.GetInputPlane(0);
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++)
            in.SetBit(x, y, (random() & 3) != 0);

    const std::vector<uint32_t> inWords = Words(in);
    const std::vector<uint32_t> maskWords = Words(mask);
    std::vector<uint32_t> loopOut(inWords.size());
    PlainRule loop(kSize, kSize);
    std::vector<double> simulated, ratio;
    int failed = 0;
    for (int r = 0; r < kRepeats; r++) {
        Clock::time_point start = Clock::now();
        rule.Simulate();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double plain = loop.Run(inWords.data(), maskWords.data(), *data.GetSearch(),
                                      *data.GetSubstitution(), loopOut.data());
        simulated.push_back(seconds);
        ratio.push_back(seconds / plain);
    }
    const Matrix& out = *rule.GetOutputPlane(0);
    if (Words(out) != loopOut) {
        std::printf("  MISMATCH: the RULE's output differs from the loop's\n");
        failed = 1;
    }
    if (Words(MovedCopyRule(in, mask, *data.GetSearch(), *data.GetSubstitution())) != loopOut) {
        std::printf("  MISMATCH: the loop's output differs from moved copies of the planes\n");
        failed = 1;
    }
    if (SetBits(out) == 0) {
        std::printf("  MISMATCH: the RULE found nothing\n");
        failed = 1;
    }
    std::printf("RULE, 3 x 3 all-set search and substitution, %d x %d plane (median of %d):\n",
                kSize, kSize, kRepeats);
    std::printf("  simulated: %.2f ms a step, %" PRIu64 " output bits set\n",
                Median(simulated) * 1e3, SetBits(out));
    std::printf("  ratio simulated / plain loop: %.2f (target at most 1.5)\n", Median(ratio));
    return failed;
}

} // namespace

void LogicBench() {
    const int kSize = 1024;
    const int kSteps = 5;
    std::mt19937 random(13);
    ALogicElem logic(nullptr, 0, 0);
    SizePlanes(logic, kSize);
    D_LogicElem& data = logic.GetData();
    if (data.SetPEDimension(2, 2) != 1) {
        std::printf("LOGIC: PE dimension refused\n");
        return;
    }
    data.SetPEDataNames({"d[0,0]", "d[1,0]", "d[0,1]", "d[1,1]"});
    data.SetInternalNames({"s"});
    data.SetEquations({"d[0,0] = d[1,0] & s", "d[1,0] = d[0,1] | d[1,1]", "d[0,1] = d[0,0] ^ s",
                       "s = d[1,1] ^ s"});
    if (data.CompileEquations() != 0) {
        std::printf("LOGIC: equations refused\n");
        return;
    }
    RandomPlane(*logic.GetInputPlane(0), random);
    std::printf("LOGIC element, %d x %d plane, 2 x 2 PEs, four equations (median of %d steps):\n",
                kSize, kSize, kSteps);
    for (int parallel : {1, 0}) {
        data.SetComputeParallel(parallel);
        logic.Simulate(); // the first step may size what the steps reuse
        std::vector<double> seconds;
        seconds.reserve(kSteps);
        const uint64_t before = gAllocations;
        for (int k = 0; k < kSteps; k++) {
            Clock::time_point start = Clock::now();
            logic.Simulate();
            seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
        const uint64_t blocks = gAllocations - before;
        std::printf("  COMPUTE_PARALLEL %-3s: %.1f ms a step, %" PRIu64
                    " heap blocks in %d steps (target 0)\n",
                    parallel ? "ON" : "OFF", Median(seconds) * 1e3, blocks, kSteps);
    }
}

// With an argument, only the part of that name: chain, logic, rule or steps; "steps N" takes
// only the steps at N elements, for a profile; "chain --corrupt-one-word" must fail.
int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    auto wanted = [&](const char* part) { return only.empty() || only == part; };
    ResetClocks(); // one clock, period 100, offset 0
    int failed = 0;
    const bool corrupt = argc > 2 && std::string(argv[2]) == "--corrupt-one-word";
    if (wanted("chain")) failed |= ChainBench(corrupt);
    if (wanted("logic")) LogicBench();
    if (wanted("rule")) failed |= RuleBench();
    if (!wanted("steps")) return failed;
    if (argc > 2) {
        QueueBench(std::atoi(argv[2]), 4000000, &failed);
        return failed;
    }
    std::printf(
        "Element steps on 16 x 16 planes, chains of 10 (median of 5 pairs); the queue's part is\n"
        "the difference to the same steps taken in a plain loop, the compact floor the same\n"
        "planes in one block stepped by a list of indices per cycle:\n");
    for (int count : {1000, 10000, 100000})
        QueueBench(count, 4000000, &failed);
    return failed;
}
