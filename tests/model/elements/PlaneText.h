#pragma once

// Planes written as text for the tests of simulation steps: one character per cell, '1' set and
// '0' clear, column 0 first; rows are separated by '/', row 0 first.

#include <string>

#include "model/data/Matrix.h"

inline Matrix PlaneFromText(const std::string& text) {
    int width = static_cast<int>(text.find('/'));
    if (width < 0) width = static_cast<int>(text.size());
    int height = static_cast<int>(text.size() + 1) / (width + 1);
    Matrix plane(width, height);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            plane.SetBit(x, y, text[static_cast<size_t>(y * (width + 1) + x)] == '1');
        }
    }
    return plane;
}

inline std::string PlaneText(const Matrix& plane) {
    std::string text;
    for (int y = 0; y < plane.GetDimY(); y++) {
        if (y > 0) text += '/';
        for (int x = 0; x < plane.GetDimX(); x++)
            text += plane(x, y) ? '1' : '0';
    }
    return text;
}
