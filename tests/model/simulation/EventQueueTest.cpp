#include "model/simulation/EventQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/ASplitElem.h"
#include "tests/model/simulation/SimulationFixture.h"

namespace {

using EventQueueFixture = SimulationFixture;

// The queue as "name@time" for pending and "name!time" for commit entries, in order.
std::string Entries(const EventQueue& queue) {
    std::string text;
    for (int i = 0; i < queue.GetCount(); i++) {
        const QueueEntry* entry = queue.GetEntry(i);
        if (!text.empty()) text += ' ';
        text += entry->element != nullptr ? entry->element->GetName() : "-";
        text += (entry->state == kPending ? "@" : "!") + std::to_string(entry->time);
    }
    return text;
}

// "name=plane" for every element, outputs separated by ','.
std::string Outputs(std::initializer_list<const AElement*> elements) {
    std::string text;
    for (const AElement* element : elements) {
        if (!text.empty()) text += ' ';
        text += std::string(element->GetName()) + "=";
        for (int i = 0; i < element->GetOutputCount(); i++) {
            if (i > 0) text += ',';
            text += PlaneText(*element->GetOutputPlane(i));
        }
    }
    return text;
}

// Runs to each target in turn: the commits since the previous target and the output planes then.
struct Step {
    SimTime target;
    const char* commits;
    const char* outputs;
};

} // namespace

TEST_F(EventQueueFixture, SchedulesInTimeOrderAndEqualTimesInTheOrderScheduled) {
    AElement* a = Add<ASplitElem>("a");
    AElement* b = Add<ASplitElem>("b");
    AElement* c = Add<ASplitElem>("c");
    AElement* d = Add<ASplitElem>("d");
    // Each answers the number of entries before it.
    EXPECT_EQ(queue.Schedule(50, a, kPending), 0);
    EXPECT_EQ(queue.Schedule(10, b, kPending), 1);
    EXPECT_EQ(queue.Schedule(50, c, kCommit), 2);
    EXPECT_EQ(queue.Schedule(10, d, kPending), 3);
    EXPECT_EQ(queue.Schedule(30, a, kPending), 4);
    EXPECT_EQ(queue.Schedule(0, c, kPending), 5);
    EXPECT_EQ(Entries(queue), "c@0 b@10 d@10 a@30 a@50 c!50");
}

TEST_F(EventQueueFixture, AnElementNeverHasTwoEntriesAtOneTime) {
    struct Case {
        int existing, requested, after;
    };
    // A pending request turns an unprocessed commit back into a latch; nothing else changes.
    const Case kCases[] = {{kPending, kPending, kPending},
                           {kCommit, kPending, kPending},
                           {kPending, kCommit, kPending},
                           {kCommit, kCommit, kCommit}};
    AElement* a = Add<ASplitElem>("a");
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.existing * 2 + c.requested);
        queue.Clear();
        queue.Schedule(20, a, c.existing);
        EXPECT_EQ(queue.Schedule(20, a, c.requested), -1);
        ASSERT_EQ(queue.GetCount(), 1);
        EXPECT_EQ(queue.GetEntry(0)->state, c.after);
        EXPECT_EQ(queue.Schedule(21, a, c.requested), 1);
    }
}

TEST_F(EventQueueFixture, GrowsByAHundredAndClearGoesBackToTheInitialArray) {
    std::vector<AElement*> elements;
    for (int i = 0; i < 101; i++)
        elements.push_back(Add<ASplitElem>("e"));
    for (int i = 0; i < 100; i++)
        queue.Schedule(static_cast<SimTime>(1000 - i), elements[i], 0);
    EXPECT_EQ(queue.GetCapacity(), 100);
    EXPECT_EQ(queue.Schedule(5, elements[100], kPending), 100);
    EXPECT_EQ(queue.GetCapacity(), 200);
    EXPECT_EQ(queue.GetCount(), 101);
    for (int i = 1; i < queue.GetCount(); i++)
        EXPECT_LE(queue.GetEntry(i - 1)->time, queue.GetEntry(i)->time);

    queue.RunUntil(7);
    EXPECT_EQ(queue.GetNow(), 7u);
    queue.Clear();
    EXPECT_EQ(queue.GetCount(), 0);
    EXPECT_EQ(queue.GetCapacity(), 100);
    EXPECT_EQ(queue.GetNow(), 0u);
}

TEST_F(EventQueueFixture, AnElementTakesItsEntriesWithItWhenItGoes) {
    AElement* a = Add<ASplitElem>("a");
    AElement* b = Add<ASplitElem>("b");
    AElement* c = Add<ASplitElem>("c");
    queue.Schedule(10, a, kPending);
    queue.Schedule(10, b, kPending);
    queue.Schedule(20, a, kCommit);
    queue.Schedule(30, c, kPending);
    queue.Schedule(40, a, kPending);
    queue.Remove(a);
    EXPECT_EQ(Entries(queue), "b@10 c@30");
    delete c;
    EXPECT_EQ(Entries(queue), "b@10");
    // The removed element may be scheduled again at a time it had.
    EXPECT_EQ(queue.Schedule(10, a, kPending), 1);
}

// Random schedules, removals and clears against a plain list of (element, time, state):
// the queue finds an element's entry at a time among many entries of that element and of that
// time, in every order they were scheduled, and forgets what Remove and Clear took.
TEST_F(EventQueueFixture, KeepsOneEntryPerElementAndTimeThroughSchedulesRemovalsAndClears) {
    struct Expected {
        AElement* element;
        SimTime time;
        int state;
    };
    std::vector<AElement*> elements;
    for (int i = 0; i < 12; i++)
        elements.push_back(Add<ASplitElem>("e"));
    std::vector<Expected> expected; // in queue order
    std::mt19937 random(7);
    for (int round = 0; round < 4000; round++) {
        AElement* element = elements[random() % elements.size()];
        const SimTime time = static_cast<SimTime>(random() % 6) * 10;
        const unsigned action = random() % 100;
        if (action < 80) {
            const int state = random() % 2 == 0 ? kPending : kCommit;
            auto found = std::find_if(expected.begin(), expected.end(), [&](const Expected& e) {
                return e.element == element && e.time == time;
            });
            const int before = static_cast<int>(expected.size());
            if (found != expected.end()) {
                ASSERT_EQ(queue.Schedule(time, element, state), -1);
                if (state == kPending) found->state = kPending;
            } else {
                ASSERT_EQ(queue.Schedule(time, element, state), before);
                auto at = std::find_if(expected.begin(), expected.end(),
                                       [&](const Expected& e) { return e.time > time; });
                expected.insert(at, Expected{element, time, state});
            }
        } else if (action < 95) {
            queue.Remove(element);
            expected.erase(std::remove_if(expected.begin(), expected.end(),
                                          [&](const Expected& e) { return e.element == element; }),
                           expected.end());
        } else {
            queue.Clear();
            expected.clear();
        }
        ASSERT_EQ(queue.GetCount(), static_cast<int>(expected.size())) << "round " << round;
        for (size_t i = 0; i < expected.size(); i++) {
            const QueueEntry* entry = queue.GetEntry(static_cast<int>(i));
            ASSERT_EQ(entry->element, expected[i].element) << "round " << round << " entry " << i;
            ASSERT_EQ(entry->time, expected[i].time);
            ASSERT_EQ(entry->state, expected[i].state);
        }
    }
}

TEST_F(EventQueueFixture, WithNothingBeforeTheLimitTheTimeGoesStraightToIt) {
    AElement* mask = Add<AMaskElem>("M");
    queue.RunUntil(500);
    EXPECT_EQ(queue.GetNow(), 500u);
    EXPECT_EQ(box.shown, std::vector<SimTime>{500});
    EXPECT_TRUE(box.polled.empty());

    queue.Schedule(900, mask, kPending);
    queue.RunUntil(800);
    EXPECT_EQ(queue.GetNow(), 800u);
    EXPECT_EQ(TakeLog(), "");
    EXPECT_EQ(Entries(queue), "M@900");
}

// An element whose step schedules a list of others.
class Scheduling : public ASplitElem {
public:
    Scheduling() : ASplitElem(nullptr, 0, 0) { SetName("S"); }
    void Simulate() override {
        for (const auto& entry : plan)
            GetElementUi().Schedule(entry.first, entry.second);
        ASplitElem::Simulate();
    }
    std::vector<std::pair<SimTime, AElement*>> plan;
};

TEST_F(EventQueueFixture, EntriesScheduledInACycleJoinTheQueueAfterThoseOfTheirTime) {
    AElement* a = Add<ASplitElem>("A");
    AElement* b = Add<ASplitElem>("B");
    AElement* c = Add<ASplitElem>("C");
    AElement* x = Add<ASplitElem>("X");
    AElement* y = Add<ASplitElem>("Y");
    Scheduling scheduling;
    scheduling.plan = {{100, b}, {50, a}, {10, c}, {70, b}, {50, x}};
    queue.Schedule(50, x, kPending);
    queue.Schedule(100, y, kPending);
    queue.Schedule(10, &scheduling, kPending);
    box.breakAtPoll = 1;
    queue.RunUntil(1000);
    // X was at 50 already: the second request for it adds nothing.
    EXPECT_EQ(Entries(queue), "C@10 X@50 A@50 B@70 Y@100 B@100");
    EXPECT_EQ(queue.GetNow(), 10u);
}

TEST_F(EventQueueFixture, AnUnclockedSuccessorLatchesInALaterCycleOfTheSameTime) {
    // Both are due at 100: B latches A's old output, then A's commit turns B's commit back into
    // a latch, so B computes once, from A's new output, in a second cycle at 100.
    AInputElem* a = Add<AInputElem>("A");
    AElement* b = Add<AMaskElem>("B");
    a->SetClock(0);
    a->SetTime(0);
    SetStack(a, {"1100"});
    Connect(a, 0, b, 0);
    queue.Schedule(100, a, kPending);
    queue.Schedule(100, b, kPending);
    queue.RunUntil(150);
    EXPECT_EQ(TakeLog(), "A@100 B@100");
    EXPECT_EQ(Out(b), "1100");
    EXPECT_EQ(box.polled, (std::vector<SimTime>{100, 100}));
    EXPECT_EQ(b->GetLastSimulatedTime(), 100u);
}

TEST_F(EventQueueFixture, ALaterLatchOverwritesTheInputsOfAPendingCommit) {
    AInputElem* source = Add<AInputElem>("S");
    AElement* element = Add<AMaskElem>("E");
    source->SetClock(0);
    source->SetTime(0);
    SetStack(source, {"1010", "0101"});
    element->SetTime(5);
    Connect(source, 0, element, 0);
    queue.Schedule(100, element, kPending);
    queue.Schedule(103, source, kPending);

    queue.RunUntil(104);
    EXPECT_EQ(TakeLog(), "S@103");
    EXPECT_EQ(Entries(queue), "E!105 E!108");
    queue.RunUntil(105);
    EXPECT_EQ(TakeLog(), "E@105");
    EXPECT_EQ(Out(element), "1010"); // latched at 103, not at 100
    queue.RunUntil(200);
    EXPECT_EQ(TakeLog(), "E@108");
    EXPECT_EQ(Out(element), "1010");
}

TEST_F(EventQueueFixture, BreakStopsAfterTheCycleAndTheNextRunGoesOn) {
    AddClock(100, 0);
    AInputElem* input = Add<AInputElem>("I");
    input->SetTime(0);
    ResetSimulation();
    box.breakAtPoll = 3;
    queue.RunUntil(1000);
    EXPECT_EQ(TakeLog(), "I@0 I@100 I@200");
    EXPECT_EQ(queue.GetNow(), 200u);
    EXPECT_EQ(box.shown.back(), 200u);
    EXPECT_EQ(Entries(queue), "I@300");

    box.breakAtPoll = 0;
    queue.RunUntil(350);
    EXPECT_EQ(TakeLog(), "I@300");
    EXPECT_EQ(queue.GetNow(), 350u);

    // A break when nothing before the limit remains shows the limit.
    box.polled.clear();
    box.breakAtPoll = 1;
    queue.RunUntil(450);
    EXPECT_EQ(TakeLog(), "I@400");
    EXPECT_EQ(queue.GetNow(), 450u);
    EXPECT_EQ(box.shown.back(), 450u);
}

TEST_F(EventQueueFixture, ALoopWithoutDelayHoldsTheTimeUntilBreak) {
    AElement* a = Add<AMaskElem>("A");
    AElement* b = Add<AMaskElem>("B");
    Connect(a, 0, b, 0);
    Connect(b, 0, a, 0);
    queue.Schedule(7, a, kPending);
    box.breakAtPoll = 5;
    queue.RunUntil(1000);
    EXPECT_EQ(TakeLog(), "A@7 B@7 A@7 B@7 A@7");
    EXPECT_EQ(queue.GetNow(), 7u);
    EXPECT_EQ(Entries(queue), "B@7");
}

TEST_F(EventQueueFixture, AClockWithoutAPeriodLatchesOnceAtItsReset) {
    AddClock(0, 50);
    Add<AInputElem>("Z");
    AInputElem* noClock = Add<AInputElem>("N");
    noClock->SetClock(3); // beyond the table
    ResetSimulation();
    EXPECT_EQ(Entries(queue), "N@0 Z@50");
    queue.RunUntil(100000);
    EXPECT_EQ(TakeLog(), "N@10 Z@60");
    EXPECT_EQ(queue.GetCount(), 0);
}

TEST_F(EventQueueFixture, NothingIsScheduledBeyondTheLastTime) {
    const SimTime kLast = std::numeric_limits<SimTime>::max();
    AddClock(100, kLast - 95);
    AInputElem* clocked = Add<AInputElem>("C");
    clocked->SetTime(0);
    AElement* delayed = Add<AMaskElem>("D");
    delayed->SetTime(10);
    ResetSimulation();
    queue.Schedule(kLast - 5, delayed, kPending);
    queue.RunUntil(kLast);
    EXPECT_EQ(TakeLog(), "C@" + std::to_string(kLast - 95));
    EXPECT_EQ(queue.GetCount(), 0);
    EXPECT_EQ(queue.GetNow(), kLast);
}

TEST_F(EventQueueFixture, ResetClearsEveryPlaneAndSchedulesTheClockedElementsAtTheirOffsets) {
    AddClock(100, 0);
    AddClock(30, 10);
    AInputElem* input = Add<AInputElem>("I");
    AElement* mask = Add<AMaskElem>("M");
    AElement* clockedMask = Add<AMaskElem>("C");
    AOutputElem* output = Add<AOutputElem>("O");
    input->SetClock(2);
    clockedMask->SetClock(2);
    output->GetData().GetPlaneList() = PlaneList(4, 1, 2);
    SetStack(input, {"1100", "0110", "0011"});
    Connect(input, 0, mask, 0);
    Connect(mask, 0, clockedMask, 0);
    Connect(clockedMask, 0, output, 0);
    ResetSimulation();
    queue.RunUntil(375);
    ASSERT_NE(Out(output), "0000");
    // The INPUT's unconnected input has emptied its working stack.
    ASSERT_EQ(PlaneText(input->GetWorkingData().GetPlaneList().GetCurrentPlane()), "0000");

    ResetSimulation();
    EXPECT_EQ(queue.GetNow(), 0u);
    EXPECT_EQ(Entries(queue), "O@0 I@10 C@10");
    for (const AElement* element :
         {static_cast<AElement*>(input), mask, clockedMask, static_cast<AElement*>(output)}) {
        SCOPED_TRACE(element->GetName());
        EXPECT_EQ(PlaneText(*element->GetInputPlane(0)), "0000");
        EXPECT_EQ(Out(element), "0000");
    }
    const PlaneList& working = input->GetWorkingData().GetPlaneList();
    EXPECT_EQ(working.GetPosition(), 0);
    ASSERT_EQ(working.GetCount(), 3);
    for (int k = 0; k < 3; k++)
        EXPECT_EQ(working.GetXYPlane(k), input->GetStoredData().GetPlaneList().GetXYPlane(k));
    const PlaneList& recorded = output->GetData().GetPlaneList();
    EXPECT_EQ(recorded.GetCount(), 2);
    EXPECT_EQ(PlaneText(recorded.GetXYPlane(0)) + PlaneText(recorded.GetXYPlane(1)), "00000000");
}

// INPUT -> MASK -> OUTPUT, INPUT and OUTPUT on one clock (T 100, O 0) with their default TIME 10.
// Every 100 ticks the INPUT emits its next plane and records its unconnected (empty) input; the
// MASK follows at once; the OUTPUT passes on what it latched one period earlier.
TEST_F(EventQueueFixture, TraceOfInputMaskOutput) {
    AddClock(100, 0);
    AInputElem* input = Add<AInputElem>("I");
    AMaskElem* mask = Add<AMaskElem>("M");
    AOutputElem* output = Add<AOutputElem>("O");
    SetStack(input, {"1100", "0110", "1111"});
    mask->GetData().GetMask() = PlaneFromText("1010");
    Connect(input, 0, mask, 0);
    Connect(mask, 0, output, 0);
    ResetSimulation();
    EXPECT_EQ(Entries(queue), "I@0 O@0");

    const Step kSteps[] = {
        {5, "", "I=0000 M=0000 O=0000"},
        {50, "I@10 O@10 M@10", "I=1100 M=1000 O=0000"},
        {150, "I@110 O@110 M@110", "I=0110 M=0010 O=0000"},
        {250, "I@210 O@210 M@210", "I=1111 M=1010 O=1000"},
        {350, "I@310 O@310 M@310", "I=0000 M=0000 O=0010"},
        {450, "I@410 O@410 M@410", "I=0000 M=0000 O=1010"},
    };
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.target);
        queue.RunUntil(step.target);
        EXPECT_EQ(TakeLog(), step.commits);
        EXPECT_EQ(Outputs({input, mask, output}), step.outputs);
        EXPECT_EQ(queue.GetNow(), step.target);
    }
}

// INPUT -> SPLIT -> two MASKs -> JOIN (XOR) -> OUTPUT of depth 2; INPUT and OUTPUT on one clock
// (T 100, O 0) with TIME 0, so the INPUT's first plane is at its output right after the reset.
// Each tick takes four cycles: the clocked pair, the SPLIT, both MASKs, the JOIN.
TEST_F(EventQueueFixture, TraceOfInputSplitTwoMasksJoinOutput) {
    AddClock(100, 0);
    AInputElem* input = Add<AInputElem>("I");
    ASplitElem* split = Add<ASplitElem>("S");
    AMaskElem* maskA = Add<AMaskElem>("MA");
    AMaskElem* maskB = Add<AMaskElem>("MB");
    AJoinElem* join = Add<AJoinElem>("J");
    AOutputElem* output = Add<AOutputElem>("O");
    input->SetTime(0);
    output->SetTime(0);
    SetStack(input, {"1110", "0111"});
    maskA->GetData().GetMask() = PlaneFromText("1100");
    maskB->GetData().GetMask() = PlaneFromText("0110");
    join->GetData().SetRule(kJoinXor);
    output->GetData().GetPlaneList() = PlaneList(4, 1, 2);
    Connect(input, 0, split, 0);
    Connect(split, 0, maskA, 0);
    Connect(split, 1, maskB, 0);
    Connect(maskA, 0, join, 0);
    Connect(maskB, 0, join, 1);
    Connect(join, 0, output, 0);
    ResetSimulation();
    EXPECT_EQ(Outputs({input, output}), "I=1110 O=0000");

    const char* const kTick = "I@%t O@%t S@%t MA@%t MB@%t J@%t";
    const Step kSteps[] = {
        {0, kTick, "I=1110 S=1110,1110 MA=1100 MB=0110 J=1010 O=0000"},
        {100, kTick, "I=0111 S=0111,0111 MA=0100 MB=0110 J=0010 O=0000"},
        {200, kTick, "I=0000 S=0000,0000 MA=0000 MB=0000 J=0000 O=0000"},
        {300, kTick, "I=0000 S=0000,0000 MA=0000 MB=0000 J=0000 O=1010"},
        {400, kTick, "I=0000 S=0000,0000 MA=0000 MB=0000 J=0000 O=0010"},
        {500, kTick, "I=0000 S=0000,0000 MA=0000 MB=0000 J=0000 O=0000"},
    };
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.target);
        queue.RunUntil(step.target);
        std::string commits = step.commits;
        for (size_t at; (at = commits.find("%t")) != std::string::npos;)
            commits.replace(at, 2, std::to_string(step.target));
        EXPECT_EQ(TakeLog(), commits);
        EXPECT_EQ(Outputs({input, split, maskA, maskB, join, output}), step.outputs);
    }
    EXPECT_EQ(box.polled.size(), 24u);
}

// A clocked MASK behind a clocked INPUT (T 100, O 20, TIME 0): both latch at every tick before
// either computes, so the MASK passes on what the INPUT emitted one tick earlier. With a TIME
// the MASK computes that much later; its next latch is the first tick, counted from the latch,
// at least TIME ahead.
TEST_F(EventQueueFixture, TraceOfAClockedElementWithAndWithoutTime) {
    struct Case {
        uint32_t time;
        SimTime target;
        const char* commits;
        const char* mask;
    };
    const Case kCases[] = {
        {0, 260, "I@20 M@20 I@120 M@120 I@220 M@220", "0100"},
        {10, 260, "I@20 M@30 I@120 M@130 I@220 M@230", "0100"},
        {100, 260, "I@20 M@120 I@120 I@220 M@220", "0100"},
        {250, 600, "I@20 I@120 I@220 M@270 I@320 I@420 I@520 M@570", "0010"},
    };
    AddClock(100, 20);
    AInputElem* input = Add<AInputElem>("I");
    AMaskElem* mask = Add<AMaskElem>("M");
    input->SetTime(0);
    mask->SetClock(1);
    Connect(input, 0, mask, 0);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.time);
        mask->SetTime(c.time);
        SetStack(input, {"1000", "0100", "0010", "0001"});
        ResetSimulation();
        EXPECT_EQ(Entries(queue), "I@20 M@20");
        TakeLog();
        queue.RunUntil(c.target);
        EXPECT_EQ(TakeLog(), c.commits);
        EXPECT_EQ(Out(mask), c.mask);
    }
}

// An INPUT on clock 1 (T 100, O 0) feeds an unclocked MASK, which an OUTPUT of depth 1 on clock 2
// (T 30, O 10) samples. At 100 both clocks tick: the two latch together, the INPUT computes first
// (it was scheduled first) and the MASK follows in the next cycle.
TEST_F(EventQueueFixture, TraceOfTwoClocksWithDifferentPeriodsAndOffsets) {
    AddClock(100, 0);
    AddClock(30, 10);
    AInputElem* input = Add<AInputElem>("I1");
    AMaskElem* mask = Add<AMaskElem>("M");
    AOutputElem* output = Add<AOutputElem>("O2");
    input->SetTime(0);
    output->SetTime(0);
    output->SetClock(2);
    SetStack(input, {"1100", "0110", "0011"});
    mask->GetData().GetMask() = PlaneFromText("1011");
    Connect(input, 0, mask, 0);
    Connect(mask, 0, output, 0);
    ResetSimulation();
    EXPECT_EQ(Entries(queue), "I1@0 O2@10");

    const Step kSteps[] = {
        {20, "I1@0 M@0 O2@10", "I1=1100 M=1000 O2=0000"},
        {100, "O2@40 O2@70 I1@100 O2@100 M@100", "I1=0110 M=0010 O2=1000"},
        {150, "O2@130", "I1=0110 M=0010 O2=1000"},
        {210, "O2@160 O2@190 I1@200 M@200", "I1=0011 M=0011 O2=0010"},
        {250, "O2@220 O2@250", "I1=0011 M=0011 O2=0011"},
    };
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.target);
        queue.RunUntil(step.target);
        EXPECT_EQ(TakeLog(), step.commits);
        EXPECT_EQ(Outputs({input, mask, output}), step.outputs);
    }
}

// A latch shares its source's plane rather than copying it. A clocked MASK with TIME 50 latches
// the INPUT's plane at every tick (T 100, O 0) together with the INPUT, which then emits its next
// plane at once; 50 ticks later the MASK must still emit the plane of its latch. An unclocked
// MASK behind it latches and computes at once and keeps sharing its source's plane.
TEST_F(EventQueueFixture, ALatchedPlaneStaysThePlaneOfTheLatchWhenItsSourceComputesAgain) {
    const int kWidth = 70, kHeight = 8; // too large to be kept inline
    AElement::SetDefaultPlaneSize(kWidth, kHeight);
    AddClock(100, 0);
    AInputElem* input = Add<AInputElem>("I");
    AMaskElem* mask = Add<AMaskElem>("M");
    AMaskElem* after = Add<AMaskElem>("A");
    input->SetTime(0);
    mask->SetClock(1);
    mask->SetTime(50);
    Connect(input, 0, mask, 0);
    Connect(mask, 0, after, 0);
    std::vector<Matrix> planes;
    PlaneList stack(kWidth, kHeight, 3);
    for (int k = 0; k < 3; k++) {
        Matrix plane(kWidth, kHeight);
        for (int y = 0; y < kHeight; y++)
            for (int x = 0; x < kWidth; x++)
                plane.SetBit(x, y, (x + 3 * y + k) % (k + 2) == 0);
        stack.SetXYPlane(plane, k);
        planes.push_back(plane);
    }
    input->GetStoredData().GetPlaneList() = stack;
    input->GetWorkingData().GetPlaneList() = stack;
    ResetSimulation();

    struct Tick {
        SimTime target;
        int input;    // the INPUT's plane then
        int computed; // the MASKs' plane then, -1 none yet
    };
    // The reset puts the first plane at the INPUT's output, which it emits again at 0.
    const Tick kTicks[] = {{20, 0, -1}, {60, 0, 0},  {120, 1, 0},
                           {160, 1, 0}, {220, 2, 0}, {260, 2, 1}};
    const Matrix zero(kWidth, kHeight);
    for (const Tick& tick : kTicks) {
        SCOPED_TRACE(tick.target);
        queue.RunUntil(tick.target);
        EXPECT_TRUE(*input->GetOutputPlane(0) == planes[tick.input]);
        const Matrix& expected = tick.computed < 0 ? zero : planes[tick.computed];
        EXPECT_TRUE(*mask->GetOutputPlane(0) == expected);
        EXPECT_TRUE(*after->GetOutputPlane(0) == expected);
        if (tick.computed >= 0) {
            EXPECT_TRUE(after->GetInputPlane(0)->SharesWordsWith(*mask->GetOutputPlane(0)));
        }
    }
}

// Many elements at one time take the queue's other way through a batch, which loads what the
// coming steps read ahead of them. Six hundred copies of one small architecture (an INPUT and a
// clocked MASK with an unconnected input feeding a JOIN through a MASK, and an OUTPUT) must each
// compute exactly what the architecture computes alone.
TEST_F(EventQueueFixture, ManyElementsAtOneTimeComputeWhatOneCopyComputesAlone) {
    AddClock(100, 0);
    struct Copy {
        AElement *input, *mask, *unconnected, *join, *output;
    };
    auto add = [&] {
        Copy c{Add<AInputElem>("I"), Add<AMaskElem>("M"), Add<AMaskElem>("U"), Add<AJoinElem>("J"),
               Add<AOutputElem>("O")};
        c.input->SetTime(0);
        c.output->SetTime(0);
        c.output->SetClock(1);
        c.unconnected->SetClock(1);
        c.join->SetTime(1);
        SetStack(static_cast<AInputElem*>(c.input), {"1100", "0110", "1111"});
        static_cast<AMaskElem*>(c.mask)->GetData().GetMask() = PlaneFromText("1010");
        Connect(c.input, 0, c.mask, 0);
        Connect(c.mask, 0, c.join, 0);
        Connect(c.unconnected, 0, c.join, 1);
        Connect(c.join, 0, c.output, 0);
        return c;
    };
    auto outputs = [](const Copy& c) {
        return Outputs({c.input, c.mask, c.unconnected, c.join, c.output});
    };
    const SimTime kTargets[] = {5, 50, 101, 150, 250, 350, 450};

    const Copy alone = add();
    ResetSimulation();
    std::vector<std::string> expected;
    for (SimTime target : kTargets) {
        queue.RunUntil(target);
        expected.push_back(outputs(alone));
    }
    ASSERT_NE(expected[3], expected[0]); // the planes do travel

    std::vector<Copy> copies = {alone};
    for (int i = 1; i < 600; i++)
        copies.push_back(add());
    ResetSimulation();
    for (size_t t = 0; t < std::size(kTargets); t++) {
        queue.RunUntil(kTargets[t]);
        for (size_t i = 0; i < copies.size(); i++)
            ASSERT_EQ(outputs(copies[i]), expected[t]) << "time " << kTargets[t] << ", copy " << i;
    }
}
