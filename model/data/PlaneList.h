// A stack of equal-size planes held as a ring with a current position: the plane stacks of INPUT
// and OUTPUT elements, saved as an "XY_PLANE_DATA" block. Owns its planes.
//
// Logical plane k is array entry (position + k) mod count, so logical plane 0 is the current
// plane. The list always holds at least one plane. The three views cut the block of
// width x height x count bits: XY view k is logical plane k; XZ view y is a width x count matrix
// whose row j is row y of logical plane j; YZ view x is a height x count matrix whose row j holds
// column x of logical plane j.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "model/data/Matrix.h"

// The most planes a list holds; a larger count in a file is refused with "Number out of range".
constexpr int kMaxPlaneCount = 1000000;

class PlaneList {
public:
    // count all-zero planes (at least 1), position 0. Their words are made when they are first
    // used, so that a reader may hold a list before the text has shown its planes.
    PlaneList(int width, int height, int count);
    PlaneList(const PlaneList& other) = default;
    // Copies bits and position into planes of equal size and number, else deep-copies the source.
    PlaneList& operator=(const PlaneList& other);

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetCount() const { return static_cast<int>(planes.size()); }
    int GetPosition() const { return position; }
    // The current plane, logical plane 0.
    const Matrix& GetCurrentPlane() const { return planes[position]; }

    // Leaves a single all-zero plane at position 0 (a list is never empty).
    void DeletePlanes();
    void ClearAll();

    // Bit (x, y) of logical plane k; outside the stack a read gives 0 and a write does nothing.
    int GetBit(int x, int y, int k) const;
    void SetBit(int x, int y, int k, int value);

    // The views. A Set from a matrix of another size copies the bits the two have in common.
    Matrix GetXYPlane(int k) const;
    void SetXYPlane(const Matrix& plane, int k);
    Matrix GetXZPlane(int y) const;
    void SetXZPlane(const Matrix& view, int y);
    Matrix GetYZPlane(int x) const;
    void SetYZPlane(const Matrix& view, int x);

    // The plane at the position := plane; the position advances by one, wrapping after the last.
    void Push(const Matrix& plane);

    // Inserts n all-zero planes before array index index (0..count); the position is unchanged.
    // Returns the new count; a bad index or count is refused with a message on std::cerr.
    int InsertPlanes(int n, int index);
    // Removes up to n planes from array index index on, never the last one; a position that is no
    // longer below the count becomes the last plane. Returns the new count.
    int RemovePlanes(int n, int index);

    // The "XY_PLANE_DATA" block, planes in logical order from the current position.
    int Write(std::ostream& out, int level);
    // Reads planes of this list's width and height into array order from position 0. On failure
    // the list is left exactly as it was. A NUMBER below 1 records 24 "Not enough planes", one
    // above kMaxPlaneCount 5 "Number out of range", both with the token "NUMBER:".
    int Read(std::istream& in);

private:
    int ArrayIndex(int k) const { return (position + k) % GetCount(); }
    bool IsLogicalPlane(int k) const { return k >= 0 && k < GetCount(); }
    static void Store(Matrix& to, const Matrix& from);

    int32_t width;
    int32_t height;
    std::vector<Matrix> planes;
    int32_t position;
};
