#pragma once

// Plane copies for simulation steps that never change a plane's size: the planes at both ends of
// a connection must keep equal sizes, whatever sizes an element block gave the element's pins.

#include "model/data/Matrix.h"

inline bool SamePlaneSize(const Matrix& a, const Matrix& b) {
    return a.GetDimX() == b.GetDimX() && a.GetDimY() == b.GetDimY();
}

// to := from in to's size: cells beyond from read as 0, cells beyond to are dropped.
inline void CopyPlane(Matrix& to, const Matrix& from) {
    if (SamePlaneSize(to, from)) {
        to = from;
    } else {
        to.CopyOverlap(from);
    }
}

// The plane itself when it has the size of like, else its overlap copied into scratch.
inline const Matrix& FitPlane(const Matrix& plane, const Matrix& like, Matrix& scratch) {
    if (SamePlaneSize(plane, like)) return plane;
    scratch = Matrix(like.GetDimX(), like.GetDimY());
    scratch.CopyOverlap(plane);
    return scratch;
}
