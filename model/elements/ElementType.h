#pragma once

// The element types, as one ordered list of rows: each row is the whole description of one type
// (its code and name, which is the file keyword, its pins and their limits, its built-in TIME, its
// modify-window size, the kind of its element files, its popup-menu row, its palette place, its
// lines in the settings file and the maker of its elements). Every table of the program that
// lists or looks up element types is derived from the list; the user's default times are kept
// beside it.

#include <cstdint>

#include "model/format/FileKind.h"

class AElement;
class Architecture;

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

// Pin counts a type works with. An element block outside them is refused on reading, so that no
// simulation step reaches a pin the element does not have.
struct PinLimits {
    int minInputs;
    int maxInputs;
    int minOutputs;
    int maxOutputs;
};
const int kMaxPinCount = 999; // the largest count the "n:1" and "1:n" dialogs offer

// The entries of the element popup menus; a type's popup row lists them in menu order.
enum ElementMenuItem : int {
    kItemEnd = 0,
    kItemSeparator = 1,
    kItemModify = 2,
    kItemShowData = 3,
    kItemChangeDimension = 4,
    kItemSetTime = 5,
    kItemSetClock = 6,
    kItemSetName = 7,
    kItemLoad = 8,
    kItemSave = 9,
    kItemExternalData = 10,
    kItemInputs = 11,
    kItemOutputs = 12,
};
const int kMenuRowLength = 12; // entries of a row at most
struct PopupRow {
    int items[kMenuRowLength];
};

// A new element of the type at (x, y) on the owner (null for none), with no planes yet.
using ElementMaker = AElement* (*)(Architecture* owner, int x, int y);

struct ElementRow {
    ElementType type;
    const char* name; // the type name and file keyword
    int inputs;       // default pin counts
    int outputs;
    PinLimits pins;
    uint32_t builtInTime; // ticks
    int32_t minTime;      // the smallest TIME "Set Time" takes
    bool needsClock;      // "Set Clock" offers no "none"
    int modifyWidth;      // pixels; 0 x 0 lets the window choose
    int modifyHeight;
    FileKind fileKind; // of its element files; kNoFileKind for none
    // The entries (ElementMenuItem) of its popup menu after the title, ended by kItemEnd when
    // shorter; none at all for a type without a menu.
    PopupRow popup;
    bool inPalette; // the library window's palette offers one, in list order
    // Its line in the DEFAULT_TIMES block of the settings file (0-based, -1 for none) and the
    // blanks after its key there; a type with a line has a field in the "Default Times" dialog.
    int timesLine;
    int timesBlanks;
    const char* className; // names the type in messages
    // What a wrong target or source is not ("JOIN rule"); null for a type that reads and writes
    // only its own data and does not look at the argument.
    const char* dataName;
    // Null for a type that is not read from files (HELP_ELEMENT) or whose class is not part of
    // the program.
    ElementMaker make;

    bool HasPopupMenu() const { return popup.items[0] != kItemEnd; }
};

// The rows in list order (the order of the type codes).
struct ElementRowList {
    const ElementRow* first;
    const ElementRow* last;
    const ElementRow* begin() const { return first; }
    const ElementRow* end() const { return last; }
};
ElementRowList ElementRows();
// The type's row; null for a code outside the list.
const ElementRow* FindElementRow(uint32_t type);
// The maker of a type whose class lives outside the model (MACRO in the shell).
void SetElementMaker(uint32_t type, ElementMaker make);

// A new element of the type whose name begins the text (the longest such name: "MACRO_INPUT"
// before "MACRO"), at (0, 0) on the owner; null when no type with a maker matches.
AElement* MakeElement(const char* typeText, Architecture* owner);

// "MASK" .. "HELP_ELEMENT"; "" for a code outside the list.
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

PinLimits GetPinLimits(uint32_t type);
