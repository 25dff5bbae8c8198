#pragma once

// What a macro port needs of the macro whose sub-architecture holds it: the macro element (its
// pin counts, planes and outside connections) and the notice that an output plane was set. The
// macro element implements it; a port whose owner is not a macro has no host and acts alone.

class AElement;

class MacroHost {
public:
    virtual ~MacroHost() = default;
    // The macro element whose inputs and outputs the ports stand for.
    virtual AElement& GetMacroElement() = 0;
    // A MACRO_OUTPUT has just set output plane index of the macro element.
    virtual void OutputChanged(int index) = 0;
};
