#include "model/elements/ElementType.h"

#include <cstring>

namespace {

const char* const kTypeNames[kElementTypeCount] = {
    "MASK",  "RULE",   "PERM", "LOGIC", "S-SEED",      "SPLIT",        "JOIN",
    "INPUT", "OUTPUT", "C++",  "MACRO", "MACRO_INPUT", "MACRO_OUTPUT", "HELP_ELEMENT",
};

const uint32_t kBuiltInTimes[kElementTypeCount] = {0, 0, 0, 20, 5, 0, 0, 10, 10, 10, 0, 0, 0, 0};

uint32_t defaultTimes[kElementTypeCount] = {0, 0, 0, 20, 5, 0, 0, 10, 10, 10, 0, 0, 0, 0};

struct WindowSize {
    int width;
    int height;
};
const WindowSize kModifyWindowSizes[kElementTypeCount] = {
    {303, 462}, {510, 414}, {487, 373}, {404, 539}, {0, 0}, {0, 0}, {0, 0},
    {424, 591}, {424, 591}, {502, 602}, {0, 0},     {0, 0}, {0, 0}, {0, 0},
};

// Every computing type reads input 0 and writes output 0; SPLIT and JOIN grow one side; the macro
// ports have exactly their one pin.
const PinLimits kPinLimits[kElementTypeCount] = {
    {1, kMaxPinCount, 1, kMaxPinCount}, // MASK
    {1, kMaxPinCount, 1, kMaxPinCount}, // RULE
    {1, kMaxPinCount, 1, kMaxPinCount}, // PERM
    {1, kMaxPinCount, 1, kMaxPinCount}, // LOGIC
    {1, kMaxPinCount, 1, kMaxPinCount}, // S-SEED
    {1, kMaxPinCount, 1, kMaxPinCount}, // SPLIT
    {1, kMaxPinCount, 1, kMaxPinCount}, // JOIN
    {1, kMaxPinCount, 1, kMaxPinCount}, // INPUT
    {1, kMaxPinCount, 1, kMaxPinCount}, // OUTPUT
    {1, kMaxPinCount, 1, kMaxPinCount}, // C++
    {0, kMaxPinCount, 0, kMaxPinCount}, // MACRO
    {0, 0, 1, 1},                       // MACRO_INPUT
    {1, 1, 0, 0},                       // MACRO_OUTPUT
    {1, 1, 1, 1},                       // HELP_ELEMENT
};

bool IsType(uint32_t type) {
    return type < static_cast<uint32_t>(kElementTypeCount);
}

} // namespace

const char* GetTypeName(uint32_t type) {
    return IsType(type) ? kTypeNames[type] : "";
}

int FindElementType(const char* name) {
    if (name == nullptr) return -1;
    for (int i = 0; i < kElementTypeCount; i++) {
        if (std::strcmp(kTypeNames[i], name) == 0) return i;
    }
    return -1;
}

uint32_t GetDefaultTime(uint32_t type) {
    return IsType(type) ? defaultTimes[type] : 0;
}

void SetDefaultTime(uint32_t type, uint32_t time) {
    if (IsType(type)) defaultTimes[type] = time;
}

void ResetDefaultTimes() {
    for (int i = 0; i < kElementTypeCount; i++)
        defaultTimes[i] = kBuiltInTimes[i];
}

void GetDefaultModifyWindowSize(uint32_t type, int& width, int& height) {
    width = IsType(type) ? kModifyWindowSizes[type].width : 0;
    height = IsType(type) ? kModifyWindowSizes[type].height : 0;
}

PinLimits GetPinLimits(uint32_t type) {
    return IsType(type) ? kPinLimits[type] : PinLimits{0, 0, 0, 0};
}
