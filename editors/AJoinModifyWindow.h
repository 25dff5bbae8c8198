#pragma once

// The modify window of a JOIN element: one radio box that chooses the logical operation, "Or",
// "Nor", "Xor", "And" or "Nand", in a working copy of the element's rule object. The window
// cannot be resized.

#include <X11/Intrinsic.h>

#include <memory>

#include "editors/AElementModifyWindow.h"
#include "model/elements/AJoinElem.h"

class AJoinModifyWindow : public AElementModifyWindow {
public:
    // Edits a copy of ruleData for element; stores itself in *slot and shows itself.
    AJoinModifyWindow(D_JoinElem* ruleData, AElement* element, AElementModifyWindow** slot);
    ~AJoinModifyWindow() override;

    // The maker the editors register for JOIN elements: data is the element's D_JoinElem.
    static void Make(AElement& element, FileArgument* data, AElementModifyWindow** slot);

    // A radio toggle changed: a set toggle's userData becomes the copy's rule.
    void ToggleChanged(Widget toggle, int set);

    const D_JoinElem& GetWorkingCopy() const { return *workingCopy; }
    Widget GetRadioBox() const { return radioBox; }

protected:
    void StoreCopy() override;

private:
    void BuildWidgets();

    // OK and Apply write the element's rule object, reached through the element.
    std::unique_ptr<D_JoinElem> workingCopy;
    Widget radioBox;
};
