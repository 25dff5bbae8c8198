#pragma once

// The modify window of an OUTPUT element, on its stack: the recorded planes are watched, planes
// added and deleted and slices saved; cells cannot be edited. OK commits the window's stack to
// the element.

#include "editors/APlaneModifyWindow.h"

class AOutputElem;
class D_OutputElem;

class AOutputModifyWindow : public APlaneModifyWindow {
public:
    // data is the element's stack, which the window copies.
    AOutputModifyWindow(const D_OutputElem& data, AOutputElem* element);
    ~AOutputModifyWindow() override;

    void Ok() override;

protected:
    D_IOElem& ElementData() override;
    void StoreCopy() override;
};

// The editors' maker of the OUTPUT modify window: (element, its stack); the new window. Another
// element or data object is refused with a message on std::cerr.
ElementView* MakeOutputModifyWindow(AElement& element, FileArgument* data);
