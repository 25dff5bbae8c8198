#pragma once

// The modify window of an S-SEED element: one radio box that chooses the orientation of its
// device pairs ("Vertical": pairs of rows, "Horizontal": pairs of columns) in a working copy of the
// element's data. OK and Apply commit the orientation only: the state plane stays as the
// simulation left it. The window cannot be resized.

#include <memory>

#include "editors/AChoiceModifyWindow.h"
#include "model/elements/ASSeedElem.h"

class ASSeedModifyWindow : public AChoiceModifyWindow {
public:
    // Edits a copy of seedData (state plane included) for element and shows
    // itself.
    ASSeedModifyWindow(D_SSeedElem* seedData, AElement* element);
    ~ASSeedModifyWindow() override;

    // The maker the editors register for S-SEED elements: data is the element's D_SSeedElem.
    static ElementView* Make(AElement& element, FileArgument* data);

    const D_SSeedElem& GetWorkingCopy() const { return *workingCopy; }

protected:
    void StoreCopy() override;
    // The chosen toggle's value becomes the copy's orientation.
    void Choose(int value) override;

private:
    // OK and Apply write the element's data, reached through the element.
    std::unique_ptr<D_SSeedElem> workingCopy;
};
