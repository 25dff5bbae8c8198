#include "ToolkitDisplay.h"

#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include <csignal>
#include <unistd.h>

ToolkitDisplay& Toolkit() {
    static ToolkitDisplay toolkit = testgui::OpenToolkitDisplay("test_toolkit");
    return toolkit;
}

void ClickMessageButton(Widget box, unsigned char child) {
    Widget button = XmMessageBoxGetChild(box, child);
    Position x = 0;
    Position y = 0;
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(button, XmNx, &x, XmNy, &y, XmNwidth, &width, XmNheight, &height, nullptr);
    // A gadget has no window: its manager takes the events at the gadget's place.
    Widget owner = XtParent(button);
    if (!XmIsGadget(button)) {
        owner = button;
        x = 0;
        y = 0;
    }
    for (int type : {ButtonPress, ButtonRelease}) {
        XEvent event = ButtonEvent(owner, type, x + width / 2, y + height / 2);
        XSendEvent(XtDisplay(owner), XtWindow(owner), True,
                   type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
    }
    XFlush(XtDisplay(owner));
}

void Watchdog(unsigned seconds) {
    std::signal(SIGALRM, SIG_DFL);
    alarm(seconds);
}
