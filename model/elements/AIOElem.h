#pragma once

// The common base of the INPUT and OUTPUT elements, which hold stacks of planes at the borders of
// an architecture, and of their data holders. A holder owns one plane list (a ring with a current
// position). The element keeps the eight view settings of its plane window, which are copied with
// the element but never saved, and forwards to that window when it is open.
//
// One simulation step of either type emits the holder's current plane at output plane 0, then
// records input plane 0 in its place and advances the position, so a stack of n planes passes on
// what arrived n steps earlier.

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "model/data/PlaneList.h"
#include "model/elements/ElementOf.h"

class D_IOElem : public FileArgument {
public:
    // count all-zero planes of that size.
    D_IOElem(int width, int height, int count) : planes(width, height, count) {}
    D_IOElem(const D_IOElem& other) = default;
    // Plane list assignment, position included.
    D_IOElem& operator=(const D_IOElem& other) {
        planes = other.planes;
        return *this;
    }
    ~D_IOElem() override = default;

    // The type's LOGICAL_DATA block at the given level; 0 or the recorded code. A failed read
    // leaves the holder as it was.
    virtual int Write(std::ostream& out, int level) = 0;
    virtual int Read(std::istream& in) = 0;

    // The stack the plane windows and the simulation work on.
    PlaneList& GetPlaneList() { return planes; }
    const PlaneList& GetPlaneList() const { return planes; }

protected:
    PlaneList planes;
};

// The plane window's view of the stack: which slice it shows and how it codes numbers along a
// line of cells. All 0 in a new element.
struct IOViewSettings {
    int32_t view; // 0 "XY-Plane", 1 "XZ-Plane", 2 "YZ-Plane"
    int32_t direction;
    int32_t sign;
    int32_t coding;
    int32_t position;
    int32_t line;
    int32_t interleave;
    int32_t offset;
};

class AIOElem : public AElement {
public:
    // Both types start on clock 1.
    AIOElem(Architecture* owner, uint32_t type, int x, int y, int inputs, int outputs);
    AIOElem(const AIOElem& other) = default;

    void OpenModifyWindow() override = 0;
    void Simulate() override = 0;
    void ResetData() override = 0;
    void DimensionChanged() override = 0;
    void CreateData() override = 0;
    // output plane 0 := the plane, or the holder's current plane when null.
    virtual void EmitPlane(const Matrix* plane) = 0;

    const IOViewSettings& GetViewSettings() const { return viewSettings; }
    void SetViewSettings(const IOViewSettings& settings) { viewSettings = settings; }

    // Forwarded to the plane window when it is open.
    void RecordPlane();
    void ReloadStack();
    void ShowPlane(int quiet);

protected:
    // output plane 0 := the plane, or the holder's current plane when null; a cleared plane when
    // there is neither.
    void EmitFrom(const Matrix* plane, const D_IOElem* holder);
    // The step both types take, on the holder they emit from and record into.
    void SimulateWith(D_IOElem& holder);
    // The reset step both types end with: the window reloads, and without a delay the first
    // plane is at the output at once.
    void FinishResetData();

private:
    IOViewSettings viewSettings;
};

// INPUT and OUTPUT differ only in what they store: both step on, emit from and open their window
// on the element's data, the holder the simulation uses.
template <class Elem, class Data> class IOElementOf : public ElementOf<Elem, Data, AIOElem> {
public:
    void Simulate() override { this->SimulateWith(this->GetData()); }
    void EmitPlane(const Matrix* plane) override { this->EmitFrom(plane, this->data.get()); }

protected:
    IOElementOf(Architecture* owner, int x, int y) : ElementOf<Elem, Data, AIOElem>(owner, x, y) {}

    // One empty plane of the size of input plane 0.
    std::unique_ptr<Data> NewData(const PlaneSize& in, const PlaneSize&) const override {
        return std::make_unique<Data>(in.width, in.height, 1);
    }
    int ReadData(Data& into, std::istream& in, bool) override { return into.Read(in); }
    // After a read into a given holder the open plane window shows it anew, whatever the outcome.
    void ReadIntoDone(int) override {
        if (this->GetModifyWindow() != nullptr) {
            this->GetModifyWindow()->Rebuild();
        }
    }
};
