#pragma once

// What the two macro ports share: the port number (INPUT_NR or OUTPUT_NR, 0-based), where the
// number is drawn on the icon and its text. A port is a small icon with one pin whose box lies
// higher than on other elements; its LOGICAL_DATA block holds the number alone. Inside a macro
// (its owner is a macro's sub-architecture) a port reaches the macro element through MacroHost.

#include <cstdint>
#include <iosfwd>
#include <string>

#include "model/elements/AElement.h"

class MacroHost;

// Where a port's number is drawn, relative to the icon, for a text of the given width and a font
// of the given ascent: centred beside the pin box (a MACRO_OUTPUT's box is on the left, so its
// number sits 6 pixels further right), its baseline centred vertically.
int PortLabelX(uint32_t type, int width, int textWidth);
int PortLabelY(int height, int ascent);

class AMacroPortElem : public AElement {
public:
    ~AMacroPortElem() override;

    // Header, then "LOGICAL_DATA {", the number keyword and the number, "}". Inside a macro the
    // number must lie in 0 .. the macro's count of this port's kind - 1, else 27. A failed read
    // leaves the port as it was. The argument is not used.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // The icon, then the number.
    void Draw() override;

    int GetNumber() const { return number; }
    // The number and its label; the caller redraws.
    void SetNumber(int n);
    int GetLabelX() const { return labelX; }
    int GetLabelY() const { return labelY; }
    const char* GetLabelText() const { return labelText.c_str(); }

    // The macro whose sub-architecture holds the port, or null.
    MacroHost* GetHost() const;

protected:
    AMacroPortElem(Architecture* owner, uint32_t type, int x, int y, int inputs, int outputs);
    AMacroPortElem(const AMacroPortElem& other);

    // "INPUT_NR:" or "OUTPUT_NR:".
    virtual const char* NumberKeyword() const = 0;
    // The macro's count of ports of this kind: its inputs or its outputs.
    virtual int PortCount(const AElement& macro) const = 0;

private:
    int32_t number;
    int32_t labelX, labelY; // pixels, relative to the icon
    std::string labelText;  // empty until the number is set
};
