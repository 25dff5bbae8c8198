#pragma once

// The base of every window that belongs to one element (its modify window, its show-data
// windows): a transient shell, owned by the window, over the shell of the element's owner window.
// The element holds the window as its ElementView and deletes it; the window detaches itself from
// the element when it is destroyed, whoever destroys it. While the pointer is inside the window,
// the element's icon on the working area is framed.
//
// Dialogs that a window opens for itself are parented to its shell, so that they go, without
// calling back, when the window goes.
//
// When the shell is destroyed with its parent (the owner window closing before the element), the
// window deletes itself, so that the element's pointer never outlives it.

#include <X11/Intrinsic.h>

#include "model/elements/ElementView.h"

class AElement;

class AElementWindow : public ElementView {
public:
    // The shell is made but not shown: the derived constructor builds its contents and calls
    // Show.
    explicit AElementWindow(AElement* element);
    // Destroys the shell, removes the frame and detaches the window from the element.
    ~AElementWindow() override;
    AElementWindow(const AElementWindow&) = delete;
    AElementWindow& operator=(const AElementWindow&) = delete;

    // Whether the window-manager close may delete the window.
    virtual int CanClose() { return 1; }

    // Shows the window again, raised, when it exists already (a second Modify or Show Data).
    void Popup();
    void Raise() override { Popup(); }

    AElement* GetElement() const { return element; }
    Widget GetShell() const { return shell; }

    // The window-manager close: deletes the window through its virtual destructor when CanClose.
    static void CloseCallback(Widget, XtPointer self, XtPointer);
    // EnterNotify frames the element (client data), LeaveNotify removes the frame.
    static void CrossingHandler(Widget, XtPointer element, XEvent* event, Boolean*);

protected:
    // Realizes the shell and shows it.
    void Show();

    AElement* element; // not owned
    Widget shell;      // null once the shell has been destroyed from outside

private:
    static void ShellDestroyedCallback(Widget, XtPointer self, XtPointer);
};
