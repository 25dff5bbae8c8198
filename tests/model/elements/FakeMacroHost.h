#pragma once

// A macro for the port tests, without the shell: an element and an architecture at once that
// hosts ports and records which outputs they set.

#include <vector>

#include "model/elements/MacroHost.h"
#include "tests/model/elements/TestElement.h"

class AFakeMacro : public ATestMacro, public MacroHost {
public:
    // Every pin gets a plane of the default plane size.
    AFakeMacro(int inputs, int outputs) : ATestMacro(nullptr, 300, 300) {
        SetPinCount(inputs, outputs, 0);
    }
    AElement& GetMacroElement() override { return *this; }
    void OutputChanged(int index) override { changed.push_back(index); }

    std::vector<int> changed;
};
