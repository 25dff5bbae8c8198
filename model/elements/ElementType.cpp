#include "model/elements/ElementType.h"

#include <cstring>

#include "model/elements/ACElem.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMacroOutputElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ASplitElem.h"

namespace {

template <class Elem> AElement* Make(Architecture* owner, int x, int y) {
    return new Elem(owner, x, y);
}

const int S = kItemSeparator;
const int kModify = kItemModify;
const int kShow = kItemShowData;
const int kDim = kItemChangeDimension;
const int kTime = kItemSetTime;
const int kClock = kItemSetClock;
const int kName = kItemSetName;
const int kLoad = kItemLoad;
const int kSave = kItemSave;

constexpr PopupRow kEditRow = {{kModify, S, kShow, kDim, S, kTime, kName, S, kLoad, kSave}};
constexpr PopupRow kClockedRow = {
    {kModify, S, kShow, kDim, S, kTime, kClock, kName, S, kLoad, kSave}};
// Twelve entries, no end mark.
constexpr PopupRow kLogicRow = {
    {kModify, kItemExternalData, S, kShow, kDim, S, kTime, kClock, kName, S, kLoad, kSave}};
constexpr PopupRow kSplitRow = {{kItemOutputs, S, kShow, kDim, S, kTime, kName, S, kLoad, kSave}};
constexpr PopupRow kJoinRow = {
    {kModify, kItemInputs, S, kShow, kDim, S, kTime, kName, S, kLoad, kSave}};
constexpr PopupRow kMacroRow = {{kModify, S, kShow, S, kName, S, kLoad, kSave}};
constexpr PopupRow kMacroInputRow = {{kShow, kDim, S, kName}};
constexpr PopupRow kMacroOutputRow = {{kDim, S, kName}};
constexpr PopupRow kNoMenu = {};

// Every computing type reads input 0 and writes output 0; SPLIT and JOIN grow one side; the macro
// ports have exactly their one pin.
constexpr PinLimits kComputing = {1, kMaxPinCount, 1, kMaxPinCount};

// In type-code order. MACRO's maker comes from the shell, where its class lives.
// clang-format off
ElementRow rows[] = {
    // type, name, default inputs and outputs, pin limits, TIME, least TIME, needs a clock,
    //     modify window, file kind, popup row, in palette, settings line and blanks, class name,
    //     data name, maker
    {kMask, "MASK", 1, 1, kComputing, 0, 0, false,
        303, 462, kMaskFile, kEditRow, true, 0, 3, "AMaskElem", nullptr, Make<AMaskElem>},
    {kRule, "RULE", 1, 1, kComputing, 0, 0, false,
        510, 414, kRuleFile, kEditRow, true, 1, 3, "ARuleElem", "RULE data", Make<ARuleElem>},
    {kPerm, "PERM", 1, 1, kComputing, 0, 0, false,
        487, 373, kPermFile, kEditRow, true, 2, 3, "APermElem", "PERM table", Make<APermElem>},
    {kLogic, "LOGIC", 1, 1, kComputing, 20, 0, false,
        404, 539, kLogicFile, kLogicRow, true, 3, 2, "ALogicElem", "LOGIC data", Make<ALogicElem>},
    {kSSeed, "S-SEED", 1, 1, kComputing, 5, 0, false,
        0, 0, kSSeedFile, kClockedRow, true, 5, 1, "ASSeedElem", nullptr, Make<ASSeedElem>},
    {kSplit, "SPLIT", 1, 2, kComputing, 0, 0, false,
        0, 0, kSplitFile, kSplitRow, true, 6, 2, "ASplitElem", nullptr, Make<ASplitElem>},
    {kJoin, "JOIN", 2, 1, kComputing, 0, 0, false,
        0, 0, kJoinFile, kJoinRow, true, 7, 3, "AJoinElem", "JOIN rule", Make<AJoinElem>},
    // An INPUT or OUTPUT moves its planes on its clock, and an INPUT needs a tick to give one.
    {kInput, "INPUT", 1, 1, kComputing, 10, 1, true,
        424, 591, kInputFile, kClockedRow, true, 8, 2, "AInputElem", "INPUT stack",
        Make<AInputElem>},
    {kOutput, "OUTPUT", 1, 1, kComputing, 10, 0, true,
        424, 591, kOutputFile, kClockedRow, true, 9, 1, "AOutputElem", "OUTPUT stack",
        Make<AOutputElem>},
    // NOTE: the settings file pads "C++:" as if it were two characters longer.
    {kCElem, "C++", 1, 1, kComputing, 10, 0, false,
        502, 602, kCElemFile, kClockedRow, true, 4, 2, "ACElem", "C++ data", Make<ACElem>},
    {kMacro, "MACRO", 0, 0, {0, kMaxPinCount, 0, kMaxPinCount}, 0, 0, false,
        0, 0, kMacroFile, kMacroRow, true, -1, 0, "AMacroElem", nullptr, nullptr},
    {kMacroInput, "MACRO_INPUT", 0, 1, {0, 0, 1, 1}, 0, 0, false,
        0, 0, kNoFileKind, kMacroInputRow, false, -1, 0, "AMacroInputElem", nullptr,
        Make<AMacroInputElem>},
    {kMacroOutput, "MACRO_OUTPUT", 1, 0, {1, 1, 0, 0}, 0, 0, false,
        0, 0, kNoFileKind, kMacroOutputRow, false, -1, 0, "AMacroOutputElem", nullptr,
        Make<AMacroOutputElem>},
    // Made by the working areas for drawing connections; never read, copied or offered.
    {kHelpElement, "HELP_ELEMENT", 1, 1, {1, 1, 1, 1}, 0, 0, false,
        0, 0, kNoFileKind, kNoMenu, false, -1, 0, "AHelpElem", nullptr, nullptr},
};
// clang-format on
static_assert(sizeof rows / sizeof rows[0] == kElementTypeCount, "one row for every type code");

ElementRow* RowOf(uint32_t type) {
    return type < static_cast<uint32_t>(kElementTypeCount) ? &rows[type] : nullptr;
}

// The user's default times by type code; the built-in ones until the settings replace them.
uint32_t* DefaultTimes() {
    static uint32_t times[kElementTypeCount];
    static const bool made = [] {
        for (const ElementRow& row : rows)
            times[row.type] = row.builtInTime;
        return true;
    }();
    (void)made;
    return times;
}

} // namespace

ElementRowList ElementRows() {
    return {rows, rows + kElementTypeCount};
}

const ElementRow* FindElementRow(uint32_t type) {
    return RowOf(type);
}

void SetElementMaker(uint32_t type, ElementMaker make) {
    if (ElementRow* row = RowOf(type)) row->make = make;
}

AElement* MakeElement(const char* typeText, Architecture* owner) {
    if (typeText == nullptr) return nullptr;
    const ElementRow* best = nullptr;
    for (const ElementRow& row : ElementRows()) {
        const size_t length = std::strlen(row.name);
        if (row.make == nullptr || std::strncmp(typeText, row.name, length) != 0) continue;
        if (best == nullptr || length > std::strlen(best->name)) best = &row;
    }
    return best != nullptr ? best->make(owner, 0, 0) : nullptr;
}

const char* GetTypeName(uint32_t type) {
    const ElementRow* row = RowOf(type);
    return row != nullptr ? row->name : "";
}

int FindElementType(const char* name) {
    if (name == nullptr) return -1;
    for (const ElementRow& row : ElementRows()) {
        if (std::strcmp(row.name, name) == 0) return static_cast<int>(row.type);
    }
    return -1;
}

uint32_t GetDefaultTime(uint32_t type) {
    return RowOf(type) != nullptr ? DefaultTimes()[type] : 0;
}

void SetDefaultTime(uint32_t type, uint32_t time) {
    if (RowOf(type) != nullptr) DefaultTimes()[type] = time;
}

void ResetDefaultTimes() {
    for (const ElementRow& row : ElementRows())
        DefaultTimes()[row.type] = row.builtInTime;
}

void GetDefaultModifyWindowSize(uint32_t type, int& width, int& height) {
    const ElementRow* row = RowOf(type);
    width = row != nullptr ? row->modifyWidth : 0;
    height = row != nullptr ? row->modifyHeight : 0;
}

PinLimits GetPinLimits(uint32_t type) {
    const ElementRow* row = RowOf(type);
    return row != nullptr ? row->pins : PinLimits{0, 0, 0, 0};
}
