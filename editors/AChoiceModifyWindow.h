#pragma once

// The base of the modify windows that choose one value of their working copy in a radio box
// (JOIN: the logical operation, S-SEED: the orientation). Its contents: a frame holding a label
// and, below it or right of it, a framed radio box with one toggle per value (the toggle's
// userData), over the "OK", "Apply", "Cancel" action area. The window cannot be resized. A toggle
// that becomes set hands its value to the type's Choose.

#include <X11/Intrinsic.h>

#include "editors/AElementModifyWindow.h"

struct ChoiceLayout {
    const char* frameName; // the frame below "form" and the form in it
    const char* formName;
    const char* labelText; // also the label's name
    bool labelAbove;       // the radio frame below the label, else right of it
    short columns;
    unsigned char orientation;
    const char* const* names; // the toggles' names and labels, by value
    int count;
};

class AChoiceModifyWindow : public AElementModifyWindow {
public:
    // A radio toggle changed: a set toggle's userData is chosen.
    void ToggleChanged(Widget toggle, int set);

    Widget GetRadioBox() const { return radioBox; }

protected:
    AChoiceModifyWindow(AElement* element);

    // Builds the contents with the toggle of value chosen set, shows the window and fixes its
    // size.
    void BuildChoiceWidgets(const ChoiceLayout& layout, int chosen);
    // The working copy takes the value.
    virtual void Choose(int value) = 0;

private:
    Widget radioBox;
};
