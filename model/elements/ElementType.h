#pragma once

// The element type codes and the per-type tables that every part of the system indexes by them:
// the type names (which are the file keywords), the default times, the modify-window sizes and the
// pin counts a type can work with.

#include <cstdint>

enum ElementType : uint32_t {
    kMask = 0,
    kRule = 1,
    kPerm = 2,
    kLogic = 3,
    kSSeed = 4,
    kSplit = 5,
    kJoin = 6,
    kInput = 7,
    kOutput = 8,
    kCElem = 9,
    kMacro = 10,
    kMacroInput = 11,
    kMacroOutput = 12,
    kHelpElement = 13,
};

const int kElementTypeCount = 14;

// "MASK" .. "HELP_ELEMENT"; "" for a code outside 0..13.
const char* GetTypeName(uint32_t type);
// The type whose name is exactly the text, or -1.
int FindElementType(const char* name);

// The TIME a new element of the type starts with, in ticks. The settings of the user's defaults
// replace the built-in values through SetDefaultTime.
uint32_t GetDefaultTime(uint32_t type);
void SetDefaultTime(uint32_t type, uint32_t time);
void ResetDefaultTimes();

// Initial size in pixels of the type's modify window; 0 × 0 lets the window choose.
void GetDefaultModifyWindowSize(uint32_t type, int& width, int& height);

// Pin counts a type works with. An element block outside them is refused on reading, so that no
// simulation step reaches a pin the element does not have.
struct PinLimits {
    int minInputs;
    int maxInputs;
    int minOutputs;
    int maxOutputs;
};
const int kMaxPinCount = 999; // the largest count the "n:1" and "1:n" dialogs offer
PinLimits GetPinLimits(uint32_t type);
