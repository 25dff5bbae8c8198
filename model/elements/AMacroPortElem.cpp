#include "model/elements/AMacroPortElem.h"

#include <X11/Xlib.h>

#include <istream>
#include <ostream>

#include "model/data/Architecture.h"
#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/elements/MacroHost.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

int PortLabelX(uint32_t type, int width, int textWidth) {
    int x = (width - textWidth - kPinBoxWidth) / 2;
    return type == kMacroOutput ? x + kPinBoxWidth : x;
}

int PortLabelY(int height, int ascent) {
    return (height - ascent) / 2 + ascent;
}

AMacroPortElem::AMacroPortElem(Architecture* owner, uint32_t type, int x, int y, int inputs,
                               int outputs)
    : AElement(owner, type, x, y, inputs, outputs), number(0), labelX(0), labelY(0) {
    SetFirstPinOffset(kPortPinY);
}

AMacroPortElem::AMacroPortElem(const AMacroPortElem& other)
    : AElement(other), number(other.number), labelX(other.labelX), labelY(other.labelY),
      labelText(other.labelText) {}

AMacroPortElem::~AMacroPortElem() = default;

MacroHost* AMacroPortElem::GetHost() const {
    Architecture* owner = GetOwner();
    if (owner == nullptr || !owner->IsMacro()) return nullptr;
    return dynamic_cast<MacroHost*>(owner);
}

void AMacroPortElem::SetNumber(int n) {
    number = n;
    labelText = std::to_string(n);
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    int textWidth = 0;
    int ascent = 0;
    if (g != nullptr && g->font != nullptr) {
        textWidth = XTextWidth(g->font, labelText.c_str(), static_cast<int>(labelText.size()));
        ascent = g->font->ascent;
    }
    labelX = PortLabelX(GetType(), GetWidth(), textWidth);
    labelY = PortLabelY(GetHeight(), ascent);
}

int AMacroPortElem::Read(std::istream& in, FileArgument*) {
    ElementHeader header;
    int code = ParseHeader(in, header);
    if (code != kNoError) return code;
    const char* keyword = NumberKeyword();
    char* cursor = EmptyCursor();
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, keyword)) != kNoError) return code;
    int32_t n = 0;
    if ((code = ParseInt(cursor, n)) != kNoError) return SetReadError(in, code, keyword);
    // Only a macro knows how many ports there are; elsewhere any number is taken.
    if (MacroHost* host = GetHost()) {
        if (n < 0 || n >= PortCount(host->GetMacroElement())) {
            return SetReadError(in, kMacroNumberOutOfRange, keyword);
        }
    }
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    if (StreamFailed(in)) return SetReadError(in, kIoError, nullptr);
    ApplyHeader(header);
    SetNumber(n);
    return kNoError;
}

int AMacroPortElem::Write(std::ostream& out, int level, FileArgument*) {
    if (WriteHeader(out, level) != 0) return FinishWrite(out);
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level + 1) << NumberKeyword() << ' ' << number << '\n';
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

void AMacroPortElem::Draw() {
    AElement::Draw();
    Display* display = GetDisplay();
    const ArchitectureGraphics* g = display != nullptr ? GetArchitectureGraphics() : nullptr;
    if (g == nullptr || GetWindow() == 0 || g->iconGC == nullptr || labelText.empty()) return;
    XDrawString(display, GetWindow(), g->iconGC, GetX() + labelX, GetY() + labelY,
                labelText.c_str(), static_cast<int>(labelText.size()));
}
