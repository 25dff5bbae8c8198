#pragma once

// The modify window of a JOIN element: one radio box that chooses the logical operation, "Or",
// "Nor", "Xor", "And" or "Nand", in a working copy of the element's rule object. The window
// cannot be resized.

#include <memory>

#include "editors/AChoiceModifyWindow.h"
#include "model/elements/AJoinElem.h"

class AJoinModifyWindow : public AChoiceModifyWindow {
public:
    // Edits a copy of ruleData for element and shows itself.
    AJoinModifyWindow(D_JoinElem* ruleData, AElement* element);
    ~AJoinModifyWindow() override;

    // The maker the editors register for JOIN elements: data is the element's D_JoinElem.
    static ElementView* Make(AElement& element, FileArgument* data);

    const D_JoinElem& GetWorkingCopy() const { return *workingCopy; }

protected:
    void StoreCopy() override;
    // The chosen toggle's value becomes the copy's rule.
    void Choose(int value) override;

private:
    // OK and Apply write the element's rule object, reached through the element.
    std::unique_ptr<D_JoinElem> workingCopy;
};
