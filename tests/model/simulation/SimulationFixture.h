#pragma once

// Architectures built in code and run on a real event queue, without a display: the window side
// is a stand-in whose scheduler is the queue, the simulation box records what it is shown and
// breaks on request, and every element logs its commits as "name@time".

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "model/data/Architecture.h"
#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/data/PlaneList.h"
#include "model/elements/AElement.h"
#include "model/elements/AInputElem.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PinCode.h"
#include "model/simulation/EventQueue.h"
#include "model/simulation/SimulationBoxUi.h"
#include "tests/model/elements/PlaneText.h"

// The main window's part: ElementUi::Schedule adds a pending entry to the queue.
class QueueUi : public NullElementUi {
public:
    explicit QueueUi(EventQueue& eventQueue) : queue(eventQueue) { SetElementUi(this); }
    ~QueueUi() override { SetElementUi(nullptr); }
    void Schedule(SimTime time, AElement* element) override {
        queue.Schedule(time, element, kPending);
    }
    void RemoveFromQueue(AElement* element) override { queue.Remove(element); }
    SimTime GetSimulationTime() override { return queue.GetNow(); }

    EventQueue& queue;
};

class FakeSimulationBox : public SimulationBoxUi {
public:
    void ShowTime(SimTime time) override { shown.push_back(time); }
    int Poll(SimTime time) override {
        polled.push_back(time);
        return static_cast<int>(polled.size()) == breakAtPoll ? 1 : 0;
    }

    std::vector<SimTime> shown;
    std::vector<SimTime> polled;
    int breakAtPoll = 0; // the poll that answers Break, counted from 1; 0 never
};

// An element type whose steps are logged.
template <class T> class Logged : public T {
public:
    Logged(std::string* commitLog, Architecture* owner, int x, int y)
        : T(owner, x, y), log(commitLog) {}
    void Simulate() override {
        if (!log->empty()) *log += ' ';
        *log +=
            std::string(this->GetName()) + "@" + std::to_string(GetElementUi().GetSimulationTime());
        T::Simulate();
    }

private:
    std::string* log;
};

class SimulationFixture : public ::testing::Test {
protected:
    SimulationFixture() : ui(queue) {
        GetClocks().Clear();
        AElement::SetDefaultPlaneSize(4, 1);
        queue.SetSimulationBox(&box);
    }
    ~SimulationFixture() override {
        while (architecture.GetElements().GetCount() > 0)
            delete architecture.GetElements()[0];
        GetClocks().Clear();
        AElement::SetDefaultPlaneSize(16, 16);
    }

    // A new element of the type with its data, named for the log; elements are laid out in a row
    // so that none overlaps another.
    template <class T> Logged<T>* Add(const char* name) {
        Logged<T>* element = new Logged<T>(&log, &architecture, 100 * next++, 0);
        element->SetName(name);
        element->CreateData();
        architecture.GetElements().Add(element);
        return element;
    }
    void Connect(AElement* from, int output, AElement* to, int input) {
        architecture.GetConnections().Add(
            new Connection(&architecture, from, OutputPinCode(output), to, InputPinCode(input), 0));
    }
    // Both stacks of an INPUT element.
    static void SetStack(AInputElem* element, std::initializer_list<const char*> planes) {
        Matrix first = PlaneFromText(*planes.begin());
        PlaneList list(first.GetDimX(), first.GetDimY(), static_cast<int>(planes.size()));
        int k = 0;
        for (const char* plane : planes)
            list.SetXYPlane(PlaneFromText(plane), k++);
        element->GetStoredData().GetPlaneList() = list;
        element->GetWorkingData().GetPlaneList() = list;
    }
    static std::string Out(const AElement* element, int output = 0) {
        return PlaneText(*element->GetOutputPlane(output));
    }
    // MainWindow::ResetSimulation.
    void ResetSimulation() {
        queue.Clear();
        architecture.ResetAll();
    }
    // The commits logged since the last call.
    std::string TakeLog() {
        std::string taken = log;
        log.clear();
        return taken;
    }

    EventQueue queue;
    QueueUi ui;
    FakeSimulationBox box;
    Architecture architecture;
    std::string log;
    int next = 0;
};
