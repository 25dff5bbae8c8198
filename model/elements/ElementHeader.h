#pragma once

// The contents of the "INTERNAL_DATA" header that begins every element block, as read from a file
// and before it is given to the element (AElement::ParseHeader, AElement::ApplyHeader).

#include <cstdint>
#include <string>
#include <vector>

// The largest plane side the system creates anywhere (the "New Architecture" dialog), in cells.
const int kMaxPlaneSize = 99999;
// The largest TIME the system gives an element, in ticks: the default times reach it (the "Set
// Time" dialog stops at 999999), so every element the system writes reads back. It also refuses
// what "-1" reads as; the simulation adds times in 64 bits, so no TIME wraps it.
const uint32_t kMaxTime = 2147483647;

struct PlaneSize {
    int32_t width;
    int32_t height;
};

struct ElementHeader {
    std::string name;
    std::string comment;
    int32_t inputs = 0;
    int32_t outputs = 0;
    std::vector<PlaneSize> inputSizes;
    std::vector<PlaneSize> outputSizes;
    int32_t clock = 0;
    uint32_t time = 0;
};
