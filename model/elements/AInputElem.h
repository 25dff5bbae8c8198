#pragma once

// The INPUT element: feeds its stack into the architecture, one plane per computation, and
// records what arrives at its input in the place of the plane it has just emitted. It keeps two
// stacks: the working one that the simulation and the plane window use, and the stored one that
// files hold and every reset copies back into the working one.

#include <iosfwd>
#include <memory>

#include "model/elements/AIOElem.h"
#include "model/elements/ElementType.h"

class D_InputElem : public D_IOElem {
public:
    D_InputElem(int width, int height, int count) : D_IOElem(width, height, count) {}

    // "LOGICAL_DATA {", the XY_PLANE_DATA block one level deeper, "}". Reading needs planes of the
    // size the file holds.
    int Write(std::ostream& out, int level) override;
    int Read(std::istream& in) override;
};

class AInputElem : public IOElementOf<AInputElem, D_InputElem> {
public:
    // Reading into the stored stack copies it into the working one; writing without a source
    // writes the stored one.
    static constexpr ElementType kType = kInput;

    // Clock 1, no stacks until CreateData, which makes both one empty plane of the size of input
    // plane 0; a dimension change closes the window and makes them anew. The data is the working
    // stack.
    AInputElem(Architecture* owner, int x, int y) : IOElementOf(owner, x, y) {}

    // working := stored; without a delay the first plane is at the output at once.
    void ResetData() override;
    void CreateData() override;

    // The stacks; made on first use when the creator has not called CreateData.
    D_InputElem& GetWorkingData();
    D_InputElem& GetStoredData();

protected:
    void TakeData(std::unique_ptr<D_InputElem> read) override;
    D_InputElem& SavedData() override { return GetStoredData(); }
};
