#include "model/data/PlaneList.h"

#include <algorithm>
#include <iostream>

#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

PlaneList::PlaneList(int width, int height, int count)
    : width(std::max(width, 1)), height(std::max(height, 1)),
      planes(static_cast<size_t>(std::clamp(count, 1, kMaxPlaneCount)),
             Matrix::MadeOnFirstUse(this->width, this->height)),
      position(0) {}

PlaneList& PlaneList::operator=(const PlaneList& other) {
    if (this == &other) return *this;
    if (width == other.width && height == other.height && GetCount() == other.GetCount()) {
        for (size_t i = 0; i < planes.size(); ++i)
            planes[i] = other.planes[i];
    } else {
        width = other.width;
        height = other.height;
        planes = other.planes;
    }
    position = other.position;
    return *this;
}

void PlaneList::DeletePlanes() {
    planes.assign(1, Matrix(width, height));
    position = 0;
}

void PlaneList::ClearAll() {
    for (Matrix& plane : planes)
        plane.UnsetAll();
}

int PlaneList::GetBit(int x, int y, int k) const {
    if (!IsLogicalPlane(k)) return 0;
    return planes[ArrayIndex(k)](x, y);
}

void PlaneList::SetBit(int x, int y, int k, int value) {
    if (IsLogicalPlane(k)) planes[ArrayIndex(k)].SetBit(x, y, value);
}

// Keeps every plane at the list's size whatever the size of the source.
void PlaneList::Store(Matrix& to, const Matrix& from) {
    if (to.GetDimX() == from.GetDimX() && to.GetDimY() == from.GetDimY()) {
        to = from;
    } else {
        to.CopyOverlap(from);
    }
}

Matrix PlaneList::GetXYPlane(int k) const {
    if (!IsLogicalPlane(k)) return Matrix(width, height);
    return planes[ArrayIndex(k)];
}

void PlaneList::SetXYPlane(const Matrix& plane, int k) {
    if (IsLogicalPlane(k)) Store(planes[ArrayIndex(k)], plane);
}

Matrix PlaneList::GetXZPlane(int y) const {
    Matrix view(width, GetCount());
    for (int j = 0; j < GetCount(); ++j) {
        const Matrix& plane = planes[ArrayIndex(j)];
        for (int x = 0; x < width; ++x)
            view.SetBit(x, j, plane(x, y));
    }
    return view;
}

void PlaneList::SetXZPlane(const Matrix& view, int y) {
    if (y < 0 || y >= height) return;
    for (int j = 0; j < GetCount(); ++j) {
        Matrix& plane = planes[ArrayIndex(j)];
        for (int x = 0; x < width; ++x)
            plane.SetBit(x, y, view(x, j));
    }
}

Matrix PlaneList::GetYZPlane(int x) const {
    Matrix view(height, GetCount());
    for (int j = 0; j < GetCount(); ++j) {
        const Matrix& plane = planes[ArrayIndex(j)];
        for (int k = 0; k < height; ++k)
            view.SetBit(k, j, plane(x, k));
    }
    return view;
}

void PlaneList::SetYZPlane(const Matrix& view, int x) {
    if (x < 0 || x >= width) return;
    for (int j = 0; j < GetCount(); ++j) {
        Matrix& plane = planes[ArrayIndex(j)];
        for (int k = 0; k < height; ++k)
            plane.SetBit(x, k, view(k, j));
    }
}

void PlaneList::Push(const Matrix& plane) {
    Store(planes[position], plane);
    position = (position + 1) % GetCount();
}

int PlaneList::InsertPlanes(int n, int index) {
    if (index < 0 || index > GetCount() || n < 0 || n > kMaxPlaneCount - GetCount()) {
        std::cerr << "PlaneList::InsertPlanes: cannot insert " << n << " planes at " << index
                  << " into " << GetCount() << "\n";
        return GetCount();
    }
    planes.insert(planes.begin() + index, static_cast<size_t>(n), Matrix(width, height));
    return GetCount();
}

int PlaneList::RemovePlanes(int n, int index) {
    if (index < 0 || index >= GetCount() || n < 0) {
        std::cerr << "PlaneList::RemovePlanes: cannot remove " << n << " planes at " << index
                  << " from " << GetCount() << "\n";
        return GetCount();
    }
    n = std::min(n, GetCount() - index);
    if (n == GetCount()) n = GetCount() - 1; // the last remaining plane stays
    planes.erase(planes.begin() + index, planes.begin() + index + n);
    if (position >= GetCount()) position = GetCount() - 1;
    return GetCount();
}

int PlaneList::Write(std::ostream& out, int level) {
    Indent(out, level) << "XY_PLANE_DATA {\n";
    Indent(out, level + 1) << "NUMBER: " << GetCount() << "\n";
    Indent(out, level + 1) << "PLANES {\n";
    for (int k = 0; k < GetCount(); ++k) {
        const int result = planes[ArrayIndex(k)].Write(out, level + 2, nullptr);
        if (result != kNoError) return result;
    }
    Indent(out, level + 1) << "}\n";
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int PlaneList::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int result;
    if ((result = ExpectKeywords(in, cursor, {"XY_PLANE_DATA", "{"})) != kNoError) return result;
    if ((result = ExpectKeyword(in, cursor, "NUMBER:")) != kNoError) return result;
    int32_t count = 0;
    if ((result = ParseInt(cursor, count)) != kNoError) return SetReadError(in, result, "NUMBER:");
    if (count <= 0) return SetReadError(in, kNotEnoughPlanes, "NUMBER:");
    if (count > kMaxPlaneCount) return SetReadError(in, kNumberOutOfRange, "NUMBER:");
    if ((result = ExpectKeywords(in, cursor, {"PLANES", "{"})) != kNoError) return result;

    // Planes are added as they are read, so a large NUMBER costs nothing until its planes exist.
    std::vector<Matrix> read;
    for (int32_t i = 0; i < count; ++i) {
        Matrix plane = Matrix::MadeOnFirstUse(width, height);
        if ((result = plane.Read(in, nullptr)) != kNoError) return result;
        read.push_back(std::move(plane));
    }
    EndLine(cursor); // the matrix readers have replaced the line
    if ((result = ExpectKeyword(in, cursor, "}")) != kNoError) return result;
    if ((result = ExpectKeyword(in, cursor, "}")) != kNoError) return result;
    planes.swap(read);
    position = 0;
    return kNoError;
}
