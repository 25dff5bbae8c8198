// The architecture body: REMARKS, OPTIONS with GRID, (in architecture files) the main window's
// GLOBAL_ARCHITECTURE_DATA, and ARCHITECTURE_ELEMENTS with every element's block, number, links
// and position. It is the whole of a library file, a macro's LOGICAL_DATA and, with the global
// data, the whole of an architecture file.

#include <X11/Intrinsic.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <istream>
#include <ostream>
#include <vector>

#include "model/data/Connection.h"
#include "model/data/LinkStack.h"
#include "model/elements/ACElem.h"
#include "model/elements/AElement.h"
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
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/elements/PinCode.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "shell/AMacroElem.h"
#include "shell/ArchitectureWindow.h"
#include "shell/MainWindow.h"
#include "shell/MenuCommand.h"

namespace {

// Pin numbers beyond any element's pins; such a link is dropped when it is resolved, so it is
// not even pushed (and its pin code cannot overflow).
const int32_t kLargestPinNumber = 1000000;

// The type names in the order they are tried: a name that another begins with comes after it.
const ElementType kTypeOrder[] = {
    kMask,  kRule,   kPerm,  kLogic,      kSSeed,       kSplit, kJoin,
    kInput, kOutput, kCElem, kMacroInput, kMacroOutput, kMacro,
};

void WritePin(std::ostream& out, int element, int pin) {
    out << '[' << element << ',' << pin << ']';
}

// Reads one pair per pin of one side and pushes a pending link for every connected one.
int ReadLinks(std::istream& in, char*& cursor, const char* keyword, int count, int own, bool inputs,
              LinkStack& links) {
    int code = ExpectKeyword(in, cursor, keyword);
    if (code != kNoError) return code;
    for (int j = 0; j < count; j++) {
        int32_t other = 0, pin = 0;
        code = ParsePair(cursor, other, pin);
        if (code == kNotDefined) continue; // "[-,-]": not connected
        if (code != kNoError) return SetReadError(in, code, keyword);
        if (pin < 1 || pin > kLargestPinNumber) continue;
        if (inputs) {
            links.Push(own, InputPinCode(j), other, OutputPinCode(pin - 1));
        } else {
            links.Push(own, OutputPinCode(j), other, InputPinCode(pin - 1));
        }
    }
    return kNoError;
}

bool HasPin(const AElement* element, int pinCode) {
    int index = PinIndex(pinCode);
    if (IsInputPin(pinCode)) return index < element->GetInputCount();
    if (IsOutputPin(pinCode)) return index < element->GetOutputCount();
    return false;
}

// What the element blocks of one body have read so far. Links name elements by their place
// among the elements of this body, which is all a macro's body or a library knows of.
struct BodyRead {
    ArchitectureWindow& window;
    bool isMain;
    LinkStack links;
    std::vector<AElement*> elements;
};

// One ARCHITECTURE_ELEMENT block: the element (added to the window), its links pushed, its
// position. 0 or the first error; an element that failed to read is deleted.
int ReadElementBlock(std::istream& in, char*& cursor, int32_t index, BodyRead& body) {
    int code;
    if ((code = ExpectKeywords(in, cursor, {"ARCHITECTURE_ELEMENT", "{"})) != kNoError) return code;
    const std::istream::pos_type blockStart = in.tellg();
    if ((code = ExpectKeyword(in, cursor, "TYPE:")) != kNoError) return code;
    SkipBlanks(cursor);
    AElement* element = ArchitectureWindow::CreateElement(cursor, &body.window);
    if (element == nullptr) return SetReadError(in, kUnknownElementType, cursor);
    if (body.isMain) element->SetOwner(&body.window);
    in.seekg(blockStart);
    if (!in) {
        delete element;
        return SetReadError(in, kIoError, nullptr);
    }
    code = element->Read(in, nullptr);
    if (code == kNoError) code = GetParseError();
    if (code != kNoError) {
        delete element;
        return code;
    }
    body.window.GetElements().Add(element);
    body.elements.push_back(element);
    cursor = EmptyCursor();

    if ((code = ExpectKeywords(in, cursor, {"ARCHITECTURE_DATA", "{", "ID:"})) != kNoError) {
        return code;
    }
    int32_t id = 0;
    if ((code = RecordReadResult(in, ParseInt(cursor, id), "ID:")) != kNoError) return code;
    code = ReadLinks(in, cursor, "PREV:", element->GetInputCount(), index, true, body.links);
    if (code != kNoError) return code;
    code = ReadLinks(in, cursor, "NEXT:", element->GetOutputCount(), index, false, body.links);
    if (code != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "POS:")) != kNoError) return code;
    int32_t x = 0, y = 0;
    if ((code = RecordReadResult(in, ParsePair(cursor, x, y), "POS:")) != kNoError) return code;
    if (!IconPositionFits(x, y, element->GetWidth(), element->GetHeight())) {
        return SetReadError(in, kNumberOutOfRange, "POS:");
    }
    element->SetPosition(x, y);
    return ExpectKeywords(in, cursor, {"}", "}"});
}

// Connects the pending links between elements of the body whose pins exist, are free and carry
// planes of one size; every other link is dropped.
void MakeLinks(BodyRead& body) {
    const int readCount = static_cast<int>(body.elements.size());
    int32_t own, ownPin, other, otherPin;
    while (body.links.Pop(own, ownPin, other, otherPin)) {
        if (own < 0 || own >= readCount || other < 0 || other >= readCount) continue;
        AElement* a = body.elements[own];
        AElement* b = body.elements[other];
        if (!HasPin(a, ownPin) || !HasPin(b, otherPin)) continue;
        // Every connection is stored at both of its ends; the second record finds it made.
        if (a->GetConnection(ownPin) != nullptr || b->GetConnection(otherPin) != nullptr) continue;
        int aw, ah, bw, bh;
        a->GetPlaneSize(ownPin, aw, ah);
        b->GetPlaneSize(otherPin, bw, bh);
        if (aw != bw || ah != bh) continue;
        Connection* wire = new Connection(&body.window, a, ownPin, b, otherPin, 0);
        if (body.isMain) wire->SetArchitecture(&body.window);
        body.window.GetConnections().Add(wire);
    }
}

} // namespace

AElement* ArchitectureWindow::CreateElement(const char* typeText, ArchitectureWindow* owner) {
    for (ElementType type : kTypeOrder) {
        const char* name = GetTypeName(type);
        if (std::strncmp(typeText, name, std::strlen(name)) != 0) continue;
        switch (type) {
            case kMask:
                return new AMaskElem(owner, 0, 0);
            case kRule:
                return new ARuleElem(owner, 0, 0);
            case kPerm:
                return new APermElem(owner, 0, 0);
            case kLogic:
                return new ALogicElem(owner, 0, 0);
            case kSSeed:
                return new ASSeedElem(owner, 0, 0);
            case kSplit:
                return new ASplitElem(owner, 0, 0);
            case kJoin:
                return new AJoinElem(owner, 0, 0);
            case kInput:
                return new AInputElem(owner, 0, 0);
            case kOutput:
                return new AOutputElem(owner, 0, 0);
            case kCElem:
                return new ACElem(owner, 0, 0);
            case kMacroInput:
                return new AMacroInputElem(owner, 0, 0);
            case kMacroOutput:
                return new AMacroOutputElem(owner, 0, 0);
            case kMacro:
                return new AMacroElem(owner, 0, 0);
            default:
                // A type whose element class is not part of the program reads as unknown.
                return nullptr;
        }
    }
    return nullptr;
}

void ArchitectureWindow::WriteFileHeader(std::ostream& out, const char* fileKind) {
    out << "#\n# QUIRAN Pro " << fileKind << " file\n#\n\n";
}

int ArchitectureWindow::Read(std::istream& in, FileArgument*) {
    didRead = 1;
    int result = ReadBody(in, 0);
    UpdateOverview();
    return result;
}

int ArchitectureWindow::Write(std::ostream& out, int level, FileArgument*) {
    if (StreamFailed(out)) return SetWriteError(out, kIoError, nullptr);
    WriteFileHeader(out, "library");
    return WriteBody(out, level, 0);
}

int ArchitectureWindow::ReadGlobalData(std::istream& in) {
    MainWindow* main = GetMainWindow();
    if (main == nullptr) {
        std::cerr << "ArchitectureWindow::ReadGlobalData: no main window for the global data"
                  << std::endl;
        return kNoError;
    }
    return main->ReadGlobalData(in);
}

int ArchitectureWindow::WriteGlobalData(std::ostream& out, int level) {
    // The global data always comes from the main window, whichever window is written.
    MainWindow* main = GetMainWindow();
    if (main == nullptr) {
        std::cerr << "ArchitectureWindow::WriteBody: no main window for the global data"
                  << std::endl;
        return kNoError;
    }
    return main->WriteGlobalData(out, level);
}

namespace {

// The place of an element that a wire of element k leads to. It is mostly k's neighbour in the
// list, which is looked at before the index: at 100 000 elements the index's lookups were a fifth
// of a save.
int PlaceOf(const PtrArray<AElement>& elements, int k, const AElement* other) {
    if (k > 0 && elements[k - 1] == other) return k - 1;
    if (k + 1 < elements.GetCount() && elements[k + 1] == other) return k + 1;
    return elements.Find(other);
}

} // namespace

int ArchitectureWindow::WriteBody(std::ostream& out, int level, int withGlobalData) {
    if (StreamFailed(out)) return SetWriteError(out, kIoError, nullptr);
    Indent(out, level) << "REMARKS {\n";
    Indent(out, level) << "}\n\n";

    Indent(out, level) << "OPTIONS {\n";
    Indent(out, level + 1) << "GRID {\n";
    Indent(out, level + 2) << "VISIBLE:   " << OnOffText(gridVisible) << '\n';
    Indent(out, level + 2) << "DIMENSION: (" << gridX << ',' << gridY << ")\n";
    Indent(out, level + 2) << "RASTERIZE: " << OnOffText(rasterize) << '\n';
    Indent(out, level + 1) << "}\n";
    Indent(out, level) << "}\n\n";

    if (withGlobalData) {
        const int code = WriteGlobalData(out, level);
        if (code != kNoError) return code;
    }

    const PtrArray<AElement>& elements = GetElements();
    Indent(out, level) << "ARCHITECTURE_ELEMENTS {\n";
    Indent(out, level + 1) << "NUMBER: " << elements.GetCount() << '\n';
    Indent(out, level + 1) << "ELEMENTS {\n";
    for (int k = 0; k < elements.GetCount(); k++) {
        AElement* element = elements[k];
        Indent(out, level + 2) << "ARCHITECTURE_ELEMENT {\n";
        int code = element->Write(out, level + 3, nullptr);
        if (code != kNoError) return code;
        Indent(out, level + 3) << "ARCHITECTURE_DATA {\n";
        Indent(out, level + 4) << "ID:   " << k << '\n';
        Indent(out, level + 4) << "PREV: ";
        for (int j = 0; j < element->GetInputCount(); j++) {
            Connection* wire = element->GetInputConnection(j);
            if (wire == nullptr) {
                out << "[-,-]";
            } else {
                WritePin(out, PlaceOf(elements, k, wire->GetSource()), wire->GetSourcePin() / 2);
            }
        }
        out << '\n';
        Indent(out, level + 4) << "NEXT: ";
        for (int j = 0; j < element->GetOutputCount(); j++) {
            Connection* wire = element->GetOutputConnection(j);
            if (wire == nullptr) {
                out << "[-,-]";
            } else {
                WritePin(out, PlaceOf(elements, k, wire->GetTarget()), wire->GetTargetPin() / 2);
            }
        }
        out << '\n';
        Indent(out, level + 4) << "POS:  (" << element->GetX() << ',' << element->GetY() << ")\n";
        Indent(out, level + 3) << "}\n";
        Indent(out, level + 2) << "}\n";
    }
    Indent(out, level + 1) << "}\n";
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int ArchitectureWindow::ReadBody(std::istream& in, int isMain) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ReadOptions(in, cursor, isMain)) != kNoError) return code;
    if (isMain) {
        if ((code = ReadGlobalData(in)) != kNoError) return code;
        cursor = EmptyCursor();
    }

    if ((code = ExpectKeywords(in, cursor, {"ARCHITECTURE_ELEMENTS", "{", "NUMBER:"})) !=
        kNoError) {
        return code;
    }
    int32_t count = 0;
    if ((code = RecordReadResult(in, ParseInt(cursor, count), "NUMBER:")) != kNoError) return code;
    if ((code = ExpectKeywords(in, cursor, {"ELEMENTS", "{"})) != kNoError) return code;

    BodyRead body{*this, isMain != 0, LinkStack(), {}};
    // The elements read so far are drawn once, however the read ends.
    struct DrawAtEnd {
        ArchitectureWindow* window;
        ~DrawAtEnd() {
            if (window != nullptr) window->Redraw(0, 0, 0, 0, 0);
        }
    } drawAtEnd{isMain ? this : nullptr};
    for (int32_t k = 0; k < count; k++) {
        if ((code = ReadElementBlock(in, cursor, k, body)) != kNoError) return code;
    }
    if ((code = ExpectKeywords(in, cursor, {"}", "}"})) != kNoError) return code;
    MakeLinks(body);
    return kNoError;
}

int ArchitectureWindow::ReadOptions(std::istream& in, char*& cursor, int isMain) {
    int code;
    if ((code = ExpectKeywords(in, cursor, {"REMARKS", "{", "}"})) != kNoError) return code;

    if ((code = ExpectKeywords(in, cursor, {"OPTIONS", "{", "GRID", "{", "VISIBLE:"})) !=
        kNoError) {
        return code;
    }
    int visible = gridVisible;
    if ((code = RecordReadResult(in, ParseOnOff(cursor, visible), "VISIBLE:")) != kNoError)
        return code;
    gridVisible = visible;
    SetToggle(kCommandGrid, gridVisible);
    if ((code = ExpectKeyword(in, cursor, "DIMENSION:")) != kNoError) return code;
    int32_t stepX = gridX, stepY = gridY;
    if ((code = RecordReadResult(in, ParsePair(cursor, stepX, stepY), "DIMENSION:")) != kNoError) {
        return code;
    }
    if (stepX >= 1) gridX = stepX;
    if (stepY >= 1) gridY = stepY;
    if (isMain) Redraw(1, 0, 0, 0, 0);
    if ((code = ExpectKeyword(in, cursor, "RASTERIZE:")) != kNoError) return code;
    int snap = rasterize;
    if ((code = RecordReadResult(in, ParseOnOff(cursor, snap), "RASTERIZE:")) != kNoError)
        return code;
    rasterize = snap;
    return ExpectKeywords(in, cursor, {"}", "}"});
}
