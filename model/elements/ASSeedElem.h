#pragma once

// The S-SEED element: an array of latching device pairs. The cells of its plane are grouped in
// pairs of neighbouring cells, of two rows (VERTICAL) or two columns (HORIZONTAL); each cell is
// one device with a one-bit state. A computation passes each input cell through its device when
// the device's state is set, then sets, resets or holds the pair's two states. It owns its data
// object: the orientation and the state plane, which lives only in memory and is cleared by every
// reset of the simulation.

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "model/data/Matrix.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"

enum SSeedOrientation : int32_t {
    kSSeedVertical = 0,   // pairs of rows: (x, y) and (x, y + 1) for even y
    kSSeedHorizontal = 1, // pairs of columns: (x, y) and (x + 1, y) for even x
};

class D_SSeedElem : public FileArgument {
public:
    // VERTICAL, every state cleared.
    D_SSeedElem(int width, int height);
    D_SSeedElem(const D_SSeedElem& other);
    // Copies size and orientation and replaces the state plane by a copy of the other's.
    D_SSeedElem& operator=(const D_SSeedElem& other);

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int32_t GetOrientation() const { return orientation; }
    void SetOrientation(int32_t value) { orientation = value; }
    Matrix& GetState() { return *state; }
    const Matrix& GetState() const { return *state; }

    // The LOGICAL_DATA block at the given level: the orientation only, never the states. On
    // failure the orientation is unchanged. 0 or the recorded code.
    int Write(std::ostream& out, int level) const;
    int Read(std::istream& in);

private:
    int32_t width; // the plane size given at creation, in cells
    int32_t height;
    int32_t orientation; // an SSeedOrientation; any other value makes no pairs
    std::unique_ptr<Matrix> state;
};

class ASSeedElem : public ElementOf<ASSeedElem, D_SSeedElem> {
public:
    // The element's own data is read and written; the argument is not used by this type.
    static constexpr ElementType kType = kSSeed;

    // No data until CreateData, which makes VERTICAL with cleared states of the size of input
    // plane 0; a dimension change discards the data and any open editor.
    ASSeedElem(Architecture* owner, int x, int y) : ElementOf(owner, x, y) {}

    // Outputs from the states before the update, then the new states of every pair.
    void Simulate() override;
    // Clears every state.
    void ResetData() override;

protected:
    std::unique_ptr<D_SSeedElem> NewData(const PlaneSize& in, const PlaneSize&) const override {
        return std::make_unique<D_SSeedElem>(in.width, in.height);
    }
    int ReadData(D_SSeedElem& into, std::istream& in, bool) override { return into.Read(in); }
};
