#pragma once

// The PERM element: a free-space interconnect from the cells of its input plane (transmitters) to
// the cells of its output plane (receivers), which may differ in size. Each output cell is the OR
// of the input cells connected to it. It owns its data object, the connection table with one list
// of targets per input cell, and knows its open "Change Dimension - Perm" dialog, which sets the
// two plane sizes.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/data/Matrix.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"

// An output cell.
struct PermTarget {
    int32_t x;
    int32_t y;
};

class D_PermElem : public FileArgument {
public:
    // Every input cell with an empty list.
    D_PermElem(int inputWidth, int inputHeight, int outputWidth, int outputHeight);
    D_PermElem(const D_PermElem& other);
    D_PermElem& operator=(const D_PermElem& other);
    ~D_PermElem() override;

    int GetInputWidth() const { return inputWidth; }
    int GetInputHeight() const { return inputHeight; }
    int GetOutputWidth() const { return outputWidth; }
    int GetOutputHeight() const { return outputHeight; }

    // The targets of input cell (i, j), in the order they were added (0 outside the input plane).
    int GetTargetCount(int i, int j) const;
    PermTarget GetTarget(int i, int j, int k) const;

    // Appends target (x, y) to the list of input cell (i, j): 1 when added, 0 when it is already
    // there, -1 when the list cannot grow (nothing changes). Coordinates outside the two planes
    // add nothing (0).
    int Add(int i, int j, int x, int y);
    // Removes target (x, y) from the list of (i, j), keeping the order of the others: 1 if
    // removed, 0 if absent.
    int Remove(int i, int j, int x, int y);
    // Clears the plane and sets the cell of every target of (i, j).
    void FillTargets(int i, int j, Matrix& plane) const;

    // The LOGICAL_DATA block at the given level: a CONNECTIONS block with one line per input cell,
    // its targets from the last added to the first. Reading adds the connections of the block to
    // those the table holds; on failure the table is unchanged. 0 or the recorded code.
    int Write(std::ostream& out, int level) const;
    int Read(std::istream& in);

private:
    // One input cell's targets; the array is made when the first target is added. A long list
    // also keeps its targets in a set, so that the duplicate check of Add stays cheap when a
    // transmitter fans out to thousands of receivers.
    struct TargetList {
        PermTarget* targets = nullptr;
        int32_t count = 0;
        int32_t capacity = 0;
        std::unique_ptr<std::unordered_set<uint64_t>> index; // from kIndexedCount targets on
    };
    static const int32_t kIndexedCount = 32;
    static uint64_t Key(int32_t x, int32_t y) {
        return static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32 | static_cast<uint32_t>(y);
    }
    static bool Contains(const TargetList& list, int32_t x, int32_t y);

    bool IsInput(int i, int j) const {
        return i >= 0 && i < inputWidth && j >= 0 && j < inputHeight;
    }
    bool IsOutput(int x, int y) const {
        return x >= 0 && x < outputWidth && y >= 0 && y < outputHeight;
    }
    // i outer, j inner, as the block lists them.
    size_t Cell(int i, int j) const { return static_cast<size_t>(i) * inputHeight + j; }
    // The list of a cell, made empty on first use.
    TargetList& List(int i, int j) { return lists[Cell(i, j)]; }
    // The list of a cell; an empty one for a cell without targets so far.
    const TargetList& List(int i, int j) const;
    void CopyLists(const D_PermElem& other);
    void FreeLists();
    void Swap(D_PermElem& other);
    int ReadConnection(std::istream& in, char*& cursor);

    int32_t inputWidth, inputHeight;
    int32_t outputWidth, outputHeight;
    int32_t initialCapacity; // targets of a list's first array
    int32_t growthStep;      // targets a full list grows by
    // Only the cells that ever had a target have an entry: a table of a large plane costs nothing
    // until it is filled.
    std::unordered_map<size_t, TargetList> lists;
};

class APermElem : public ElementOf<APermElem, D_PermElem> {
public:
    static constexpr ElementType kType = kPerm;

    // No table until CreateData, which makes empty lists for the sizes of input plane 0 and
    // output plane 0; a dimension change discards the table (all connections) and any open
    // editor. No dialog.
    APermElem(Architecture* owner, int x, int y) : ElementOf(owner, x, y) {}
    APermElem(const APermElem& other) : ElementOf(other) {}
    ~APermElem() override;

    // Every output cell := OR of the input cells connected to it.
    void Simulate() override;
    // The four-value dialog for the input and output sizes, unless one is open.
    void OpenDimensionDialog() override;
    // Deletes the open dialog and forgets it.
    void CloseDimensionDialog() override;
    void DetachView(ElementView* view) override;

    ElementView* GetPermDimensionDialog() const { return permDimensionDialog; }

protected:
    std::unique_ptr<D_PermElem> NewData(const PlaneSize& in, const PlaneSize& out) const override {
        return std::make_unique<D_PermElem>(in.width, in.height, out.width, out.height);
    }
    int ReadData(D_PermElem& into, std::istream& in, bool) override { return into.Read(in); }

private:
    ElementView* permDimensionDialog = nullptr;
};
