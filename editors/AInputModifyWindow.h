#pragma once

// The modify window of an INPUT element, on its working stack: cells can be edited, values
// written, matrices loaded. OK commits the window's stack to the element's working and stored
// stacks and marks the element modified, but only when the user edited the stack in the window
// since it was taken or last committed; Apply does the same, keeps the window and puts the
// current plane on the element's output at once.

#include "editors/APlaneModifyWindow.h"

class AInputElem;
class D_InputElem;

class AInputModifyWindow : public APlaneModifyWindow {
public:
    // data is the element's working stack, which the window copies.
    AInputModifyWindow(const D_InputElem& data, AInputElem* element);
    ~AInputModifyWindow() override;

    void Ok() override;
    void Apply() override;

protected:
    D_IOElem& ElementData() override;
    // The window's slice into its stack, the stack into the element's working and stored stacks.
    void StoreCopy() override;

private:
    // OK's and Apply's commit of an edited stack.
    void Commit();
};

// The editors' maker of the INPUT modify window: (element, its working stack); the new window.
// Another element or data object is refused with a message on std::cerr.
ElementView* MakeInputModifyWindow(AElement& element, FileArgument* data);
