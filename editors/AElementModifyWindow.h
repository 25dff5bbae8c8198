#pragma once

// The base of every element type's modify window. It adds to AElementWindow the title
// ("Modify <name>", with "  [<type>]" when the name is not the type name), the window size and
// zoom that the element remembers between two windows, the refresh entry points the element model
// calls when the element's data changed under an open window, and the protocol that every modify
// window follows:
//
// - the type's constructor copies the element's data object and edits only that working copy;
// - OK stores the copy into the element's data (StoreCopy), marks the element modified when what
//   the element writes changed (a store that changes nothing leaves the flag as it was) and
//   deletes the window; Apply does the same and keeps the window; Cancel and the window-manager
//   close delete the window and discard the copy;
// - the element's CloseModifyWindow deletes the window (changes discarded).
//
// Deletion always goes through the virtual destructor, which stores size and zoom and detaches
// the window from the element. A type's StoreCopy reaches the element's data through the element,
// never through a pointer kept from construction, since a load may have replaced the data object.

#include <X11/Intrinsic.h>

#include <string>

#include "editors/AElementWindow.h"

// The title of an element's modify window; any name length.
std::string ModifyWindowTitle(const char* name, const char* typeName);

class AElementModifyWindow : public AElementWindow {
public:
    // Takes title, size and zoom from the element. A window that another window keeps (the rule
    // editor's mask window) is given that window's pointer to it, editorSlot, which it sets now
    // and clears when destroyed; the element's own modify window is held by the element.
    explicit AElementModifyWindow(AElement* element, AElementModifyWindow** editorSlot = nullptr);
    // Stores the shell's size and the zoom into the element, clears *editorSlot.
    ~AElementModifyWindow() override;

    // The element's data changed under the window: the type shows it again. The base only reports
    // that a type has not supplied it.
    virtual void RefreshModifyWindow();
    void Rebuild() override { RefreshModifyWindow(); }
    // A matrix of the element was loaded into an editor's matrix.
    void Refresh() override;

    // The protocol's buttons.
    void Ok();
    void Apply();
    void Cancel();

    int GetZoom() const { return zoom; }
    void SetZoom(int value) { zoom = value; }

protected:
    // The type's half of OK and Apply: assigns the working copy to the element's data object.
    virtual void StoreCopy() = 0;
    // For a window another window keeps, whose copy goes where the element's file need not show
    // it (the rule editor's mask of a rule not yet complete): whether StoreCopy would change it.
    virtual bool CopyDiffersFromTarget() const { return true; }
    // The action area "OK", "Apply", "Cancel" at the bottom of parent (a form), calling the
    // protocol's buttons.
    Widget CreateModifyActionArea(Widget parent);
    // For windows without a zoom scale and without a stored size: the realized size is fixed.
    void FixSize();

    unsigned short width; // pixels; 0: the contents decide
    unsigned short height;
    int zoom;

private:
    AElementModifyWindow** modifySlot; // not owned
};
