#pragma once

// The RULE element: a pattern search and substitution on the plane at its input. Wherever every
// set cell of the search pattern covers a set input cell (and the mask allows the position), the
// substitution pattern is stamped into the output with its cell (0, 0) on that position. It owns
// its data object: the two patterns (equal in size, at most the plane size, both missing in a new
// element), a mask of the plane size and that largest pattern size. It also keeps the size and
// zoom with which the mask editor opens for it; they go with copies but never into a file.

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "model/data/Matrix.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"

class D_RuleElem : public FileArgument {
public:
    // No patterns, an all-ones mask of that size, and that size as the largest pattern.
    D_RuleElem(int width, int height);
    D_RuleElem(const D_RuleElem& other);
    // Copies into existing patterns where both sides have one, copies where only the other has
    // one, deletes where the other has none; copies the mask and the largest pattern size.
    D_RuleElem& operator=(const D_RuleElem& other);

    // The patterns, null while not defined. The editor replaces both with patterns of one size
    // within the largest size.
    Matrix* GetSearch() const { return search.get(); }
    Matrix* GetSubstitution() const { return substitution.get(); }
    void SetSearch(std::unique_ptr<Matrix> pattern) { search = std::move(pattern); }
    void SetSubstitution(std::unique_ptr<Matrix> pattern) { substitution = std::move(pattern); }
    // Null only when a mask was never given (never after construction).
    D_MaskElem* GetMask() const { return mask.get(); }
    int GetMaxWidth() const { return maxWidth; }
    int GetMaxHeight() const { return maxHeight; }

    // Both patterns and the mask exist.
    bool IsComplete() const;

    // The LOGICAL_DATA block at the given level: the pattern size and the three MATRIX blocks two
    // levels deeper, or "NOT_DEFINED". Reading a "NOT_DEFINED" block leaves the data as it was; on
    // failure the data is unchanged. 0 or the recorded code.
    int Write(std::ostream& out, int level) const;
    int Read(std::istream& in);

private:
    std::unique_ptr<Matrix> search;
    std::unique_ptr<Matrix> substitution; // of the search pattern's size
    std::unique_ptr<D_MaskElem> mask;     // of the largest size
    int32_t maxWidth;                     // the plane size given at creation, in cells
    int32_t maxHeight;
};

class ARuleElem : public ElementOf<ARuleElem, D_RuleElem> {
public:
    static constexpr ElementType kType = kRule;

    // No data until CreateData, which makes no patterns and an all-ones mask of the size of input
    // plane 0; a dimension change discards the data and any open editor. The mask editor opens at
    // 300 by 460 pixels, zoom 100.
    ARuleElem(Architecture* owner, int x, int y);

    // Search, mask and substitution, one plane shift per set pattern cell; without both patterns
    // the output keeps its content.
    void Simulate() override;
    // 1 when both patterns exist.
    int IsDefined() override;

    // The mask editor's size (pixels) and zoom for this element; it stores them back on closing.
    void SetMaskWindowSize(int mwidth, int mheight);
    void GetMaskWindowSize(int& mwidth, int& mheight) const;
    void SetMaskWindowZoom(int zoom) { maskWindowZoom = zoom; }
    int GetMaskWindowZoom() const { return maskWindowZoom; }

protected:
    std::unique_ptr<D_RuleElem> NewData(const PlaneSize& in, const PlaneSize&) const override {
        return std::make_unique<D_RuleElem>(in.width, in.height);
    }
    int ReadData(D_RuleElem& into, std::istream& in, bool) override { return into.Read(in); }

private:
    int16_t maskWindowWidth;
    int16_t maskWindowHeight;
    int32_t maskWindowZoom;
};
