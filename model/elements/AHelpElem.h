#pragma once

// The HELP_ELEMENT: the invisible element that stands for the loose end of a connection while the
// user draws it or drags one of its ends. It has one input and one output, and both pins lie at
// its own position, so that moving the element with the pointer moves the loose end. The main
// window and every macro window own one; it is never drawn, saved, simulated or listed among the
// architecture's elements. It owns the red XOR context that draws across child windows.

#include <iosfwd>

#include "model/elements/AElement.h"

class AHelpElem : public AElement {
public:
    static const int kDefaultInputs = 1;
    static const int kDefaultOutputs = 1;

    // At (0, 0) on the owner's working area.
    explicit AHelpElem(Architecture* owner);
    AHelpElem(const AHelpElem& other);
    ~AHelpElem() override;

    // The element is never part of a file: no text either way.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // Not even the base tail: nothing is recorded or refreshed.
    void Simulate() override {}
    // The connection at its input, else the one at its output; the pin code is not looked at.
    Connection* GetConnection(int pinCode) const override;
    void Draw() override {}
    // Pin codes 2 and 3 lie at the element's position (0); every other code is -1.
    int GetPinPosition(int pinCode, int& px, int& py) const override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override { return 1; }
    int GetIconHeight() override { return 1; }
    Pixmap GetIconPixmap() override { return 0; }
    AElement* Copy() const override { return new AHelpElem(*this); }

    // The pin code the connection being drawn hangs at: 2 when the input holds it, 3 when the
    // output does, 0 when neither.
    int GetFreeEnd() const;

    // Red XOR across child windows; null without a display.
    GC GetXorGC() const { return xorGC; }

private:
    void CreateXorGC();

    GC xorGC;
    Display* gcDisplay;
};
