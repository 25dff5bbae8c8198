#include "shell/ArchitectureFile.h"

#include <X11/Intrinsic.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <istream>
#include <ostream>
#include <vector>

#include "model/data/Connection.h"
#include "model/data/LinkStack.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/elements/PinCode.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "shell/ArchitectureWindow.h"

namespace {

// Pin numbers beyond any element's pins; such a link is dropped when it is resolved, so it is
// not even pushed (and its pin code cannot overflow).
const int32_t kLargestPinNumber = 1000000;

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
// While the element for a block is made, its planes are of one cell: constructors make them at
// the default plane size, which the global data may have set to one the block has not shown yet,
// and the block gives every pin its size.
class OneCellPlanes {
public:
    OneCellPlanes() {
        AElement::GetDefaultPlaneSize(width, height);
        AElement::SetDefaultPlaneSize(1, 1);
    }
    ~OneCellPlanes() { AElement::SetDefaultPlaneSize(width, height); }
    OneCellPlanes(const OneCellPlanes&) = delete;
    OneCellPlanes& operator=(const OneCellPlanes&) = delete;

private:
    int width = 0;
    int height = 0;
};

AElement* CreateElementToRead(const char* typeName, ArchitectureWindow* window) {
    const OneCellPlanes oneCell;
    return CreateElement(typeName, window);
}

int ReadElementBlock(std::istream& in, char*& cursor, int32_t index, BodyRead& body) {
    int code;
    if ((code = ExpectKeywords(in, cursor, {"ARCHITECTURE_ELEMENT", "{"})) != kNoError) return code;
    // The element reads its block from the line after the opening one: the "TYPE:" line again
    // when it stands on a line of its own.
    SkipBlanks(cursor);
    const bool typeStartsLine = *cursor == '\0';
    if ((code = ExpectKeyword(in, cursor, "TYPE:")) != kNoError) return code;
    SkipBlanks(cursor);
    AElement* element = CreateElementToRead(cursor, &body.window);
    if (element == nullptr) return SetReadError(in, kUnknownElementType, cursor);
    if (body.isMain) element->SetOwner(&body.window);
    if (typeStartsLine) RepeatLine();
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

// REMARKS and the OPTIONS block of a body: the grid options, redrawn in the main window.
int ReadOptions(ArchitectureWindow& window, std::istream& in, char*& cursor, int isMain) {
    int code;
    if ((code = ExpectKeywords(in, cursor, {"REMARKS", "{", "}"})) != kNoError) return code;

    if ((code = ExpectKeywords(in, cursor, {"OPTIONS", "{", "GRID", "{", "VISIBLE:"})) !=
        kNoError) {
        return code;
    }
    int visible = window.GetGridVisible();
    if ((code = RecordReadResult(in, ParseOnOff(cursor, visible), "VISIBLE:")) != kNoError)
        return code;
    window.SetGridOptions(visible, window.GetGridX(), window.GetGridY(), window.GetRasterize());
    if ((code = ExpectKeyword(in, cursor, "DIMENSION:")) != kNoError) return code;
    int32_t stepX = window.GetGridX(), stepY = window.GetGridY();
    if ((code = RecordReadResult(in, ParsePair(cursor, stepX, stepY), "DIMENSION:")) != kNoError) {
        return code;
    }
    window.SetGridOptions(visible, stepX >= 1 ? stepX : window.GetGridX(),
                          stepY >= 1 ? stepY : window.GetGridY(), window.GetRasterize());
    if (isMain) window.Redraw(1, 0, 0, 0, 0);
    if ((code = ExpectKeyword(in, cursor, "RASTERIZE:")) != kNoError) return code;
    int snap = window.GetRasterize();
    if ((code = RecordReadResult(in, ParseOnOff(cursor, snap), "RASTERIZE:")) != kNoError)
        return code;
    window.SetGridOptions(visible, window.GetGridX(), window.GetGridY(), snap);
    return ExpectKeywords(in, cursor, {"}", "}"});
}

} // namespace

AElement* CreateElement(const char* typeText, ArchitectureWindow* owner) {
    return MakeElement(typeText, owner);
}

void WriteFileHeader(std::ostream& out, const char* fileKind) {
    out << "#\n# QUIRAN Pro " << fileKind << " file\n#\n\n";
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

int WriteArchitectureBody(ArchitectureWindow& window, std::ostream& out, int level,
                          int withGlobalData) {
    if (StreamFailed(out)) return SetWriteError(out, kIoError, nullptr);
    Indent(out, level) << "REMARKS {\n";
    Indent(out, level) << "}\n\n";

    Indent(out, level) << "OPTIONS {\n";
    Indent(out, level + 1) << "GRID {\n";
    Indent(out, level + 2) << "VISIBLE:   " << OnOffText(window.GetGridVisible()) << '\n';
    Indent(out, level + 2) << "DIMENSION: (" << window.GetGridX() << ',' << window.GetGridY()
                           << ")\n";
    Indent(out, level + 2) << "RASTERIZE: " << OnOffText(window.GetRasterize()) << '\n';
    Indent(out, level + 1) << "}\n";
    Indent(out, level) << "}\n\n";

    if (withGlobalData) {
        const int code = window.WriteGlobalData(out, level);
        if (code != kNoError) return code;
    }

    const PtrArray<AElement>& elements = window.GetElements();
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

int ReadArchitectureBody(ArchitectureWindow& window, std::istream& in, int isMain) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ReadOptions(window, in, cursor, isMain)) != kNoError) return code;
    if (isMain) {
        if ((code = window.ReadGlobalData(in)) != kNoError) return code;
        cursor = EmptyCursor();
    }

    if ((code = ExpectKeywords(in, cursor, {"ARCHITECTURE_ELEMENTS", "{", "NUMBER:"})) !=
        kNoError) {
        return code;
    }
    int32_t count = 0;
    if ((code = RecordReadResult(in, ParseInt(cursor, count), "NUMBER:")) != kNoError) return code;
    if ((code = ExpectKeywords(in, cursor, {"ELEMENTS", "{"})) != kNoError) return code;

    BodyRead body{window, isMain != 0, LinkStack(), {}};
    // The elements read so far are drawn once, however the read ends.
    struct DrawAtEnd {
        ArchitectureWindow* window;
        ~DrawAtEnd() {
            if (window != nullptr) window->Redraw(0, 0, 0, 0, 0);
        }
    } drawAtEnd{isMain ? &window : nullptr};
    for (int32_t k = 0; k < count; k++) {
        if ((code = ReadElementBlock(in, cursor, k, body)) != kNoError) return code;
    }
    if ((code = ExpectKeywords(in, cursor, {"}", "}"})) != kNoError) return code;
    MakeLinks(body);
    return kNoError;
}
