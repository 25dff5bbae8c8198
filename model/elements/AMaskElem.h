#pragma once

// The MASK element: each cell of its output is the cell of its input AND the cell of its mask.
// It owns its data object, whose mask has the size of input plane 0 and starts all ones, so a
// fresh MASK passes its input unchanged. The same data object holds the mask of a RULE element.

#include <iosfwd>
#include <memory>

#include "model/data/Matrix.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"

class D_MaskElem : public FileArgument {
public:
    // A mask of that size with every cell set.
    D_MaskElem(int width, int height);
    D_MaskElem(const D_MaskElem& other);
    // Copies the cells (the mask takes the other's size when it differs).
    D_MaskElem& operator=(const D_MaskElem& other);

    Matrix& GetMask() { return *mask; }
    const Matrix& GetMask() const { return *mask; }

    // The LOGICAL_DATA block at the given level: "MASK:" alone on its line, then the mask as a
    // MATRIX block two levels deeper. Reading needs a mask of the size the file holds; on failure
    // the mask is unchanged. 0 or the recorded code.
    int Write(std::ostream& out, int level) const;
    int Read(std::istream& in);

private:
    std::unique_ptr<Matrix> mask;
};

class AMaskElem : public ElementOf<AMaskElem, D_MaskElem> {
public:
    // The element's own data is read and written; the argument is not used by this type.
    static constexpr ElementType kType = kMask;

    // No data until CreateData, which makes an all-ones mask of the size of input plane 0; a
    // dimension change discards the mask and any open editor.
    AMaskElem(Architecture* owner, int x, int y) : ElementOf(owner, x, y) {}

    // output plane 0 := input plane 0 AND mask, word by word.
    void Simulate() override;

protected:
    std::unique_ptr<D_MaskElem> NewData(const PlaneSize& in, const PlaneSize&) const override {
        return std::make_unique<D_MaskElem>(in.width, in.height);
    }
    int ReadData(D_MaskElem& into, std::istream& in, bool) override { return into.Read(in); }
};
