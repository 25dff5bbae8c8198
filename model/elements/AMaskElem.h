#pragma once

// The MASK element: each cell of its output is the cell of its input AND the cell of its mask.
// It owns its data object, whose mask has the size of input plane 0 and starts all ones, so a
// fresh MASK passes its input unchanged. The same data object holds the mask of a RULE element.

#include <iosfwd>
#include <memory>

#include "model/data/Matrix.h"
#include "model/elements/AElement.h"
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

class AMaskElem : public AElement {
public:
    static const int kDefaultInputs = 1;
    static const int kDefaultOutputs = 1;

    // No data until CreateData.
    AMaskElem(Architecture* owner, int x, int y);
    AMaskElem(const AMaskElem& other);
    ~AMaskElem() override;

    // The element's own data is read and written; the argument is not used by this type.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    void OpenModifyWindow() override;
    // output plane 0 := input plane 0 AND mask, word by word.
    void Simulate() override;
    // Discards the mask and any open editor: a new all-ones mask of the new size.
    void DimensionChanged() override;
    // data := an all-ones mask of the size of input plane 0.
    void CreateData() override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override { return StockIconWidth(kMask, kDefaultInputs, kDefaultOutputs); }
    int GetIconHeight() override { return StockIconHeight(kMask, kDefaultInputs, kDefaultOutputs); }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(kMask, kDefaultInputs, kDefaultOutputs);
    }
    AElement* Copy() const override { return new AMaskElem(*this); }

    // The data object; made on first use when the creator has not called CreateData.
    D_MaskElem& GetData();

private:
    std::unique_ptr<D_MaskElem> data;
};
