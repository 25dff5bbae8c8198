#pragma once

// The modify window of an S-SEED element: one radio box that chooses the orientation of its
// device pairs ("Vertical": pairs of rows, "Horizontal": pairs of columns) in a working copy of the
// element's data. OK and Apply assign the whole copy, so they also bring the element's state plane
// back to what it was when the window opened. The window cannot be resized.

#include <X11/Intrinsic.h>

#include <memory>

#include "editors/AElementModifyWindow.h"
#include "model/elements/ASSeedElem.h"

class ASSeedModifyWindow : public AElementModifyWindow {
public:
    // Edits a copy of seedData (state plane included) for element; stores itself in *slot and
    // shows itself.
    ASSeedModifyWindow(D_SSeedElem* seedData, AElement* element, AElementModifyWindow** slot);
    ~ASSeedModifyWindow() override;

    // The maker the editors register for S-SEED elements: data is the element's D_SSeedElem.
    static void Make(AElement& element, FileArgument* data, AElementModifyWindow** slot);

    // A radio toggle changed: a set toggle's userData becomes the copy's orientation.
    void ToggleChanged(Widget toggle, int set);

    const D_SSeedElem& GetWorkingCopy() const { return *workingCopy; }
    Widget GetRadioBox() const { return radioBox; }

protected:
    void StoreCopy() override;

private:
    void BuildWidgets();

    // OK and Apply write the element's data, reached through the element.
    std::unique_ptr<D_SSeedElem> workingCopy;
    Widget radioBox;
};
