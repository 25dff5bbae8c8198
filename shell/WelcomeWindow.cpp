#include "shell/WelcomeWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/MwmUtil.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include <iostream>

#include "shell/Startup.h"
#include "shell/WelcomeBitmaps.h"
#include "toolkit/Colors.h"
#include "toolkit/WidgetHelpers.h"
#include "toolkit/WindowManagerHints.h"

namespace {

const WelcomeTimer kXtTimer = {XtAppAddTimeOut, XtRemoveTimeOut};
const WelcomeTimer* welcomeClock = &kXtTimer;

// How long the splash waits at most for a window manager to show the main window.
const int kPlacementWaitMs = 3000;

Widget welcomeShell = nullptr;
// The pending timeout and the splash it was started for; removed when that splash goes early,
// so that it can never take a later splash with it.
XtIntervalId welcomeTimeout = 0;
Widget timeoutShell = nullptr;

// Whoever destroys the splash (the timeout, the window manager's close, its parent), the
// pointer and the timeout go with it.
void WelcomeDestroyedCallback(Widget widget, XtPointer, XtPointer) {
    if (welcomeShell == widget) welcomeShell = nullptr;
    if (welcomeTimeout != 0 && timeoutShell == widget) {
        welcomeClock->remove(welcomeTimeout);
        welcomeTimeout = 0;
        timeoutShell = nullptr;
    }
}

} // namespace

void SetWelcomeTimer(const WelcomeTimer* timer) {
    welcomeClock = timer != nullptr ? timer : &kXtTimer;
}

Widget GetWelcomeShell() {
    return welcomeShell;
}

void ShowWelcome() {
    Widget topLevel = GetTopLevelShell();
    if (welcomeShell != nullptr || topLevel == nullptr) return;
    welcomeShell = XtVaCreatePopupShell(
        "Welcome", topLevelShellWidgetClass, topLevel, XmNmwmInputMode,
        MWM_INPUT_PRIMARY_APPLICATION_MODAL, XmNmwmDecorations, kSplashDecorations, XmNmwmFunctions,
        kSplashFunctions, XmNdeleteResponse, XmDO_NOTHING, XmNx, 100, XmNy, 100, nullptr);
    XtAddCallback(welcomeShell, XmNdestroyCallback, WelcomeDestroyedCallback, nullptr);
    Display* display = XtDisplay(welcomeShell);
    const Atom deleteWindow = XmInternAtom(display, const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(welcomeShell, deleteWindow, DestroyAndClearCallback,
                            static_cast<XtPointer>(&welcomeShell));
    Widget draw =
        XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, welcomeShell, XmNbackground,
                                GetGray90b(), XmNwidth, 400, XmNheight, 265, nullptr);
    XtAddCallback(draw, XmNexposeCallback, WelcomeExposeCallback, nullptr);
    XtRealizeWidget(welcomeShell);
    // An empty property that asks window managers which know it for a window without a title.
    const Atom noTitle = XInternAtom(display, "MY_WM_NO_TITLE", False);
    XChangeProperty(display, XtWindow(welcomeShell), noTitle, noTitle, 8, PropModeReplace, nullptr,
                    0);
    // Centred over where the main window really is: a window manager places it only once it
    // maps it, a little after start-up asked for that.
    WaitUntilShown(topLevel, kPlacementWaitMs);
    CentreOverParent(welcomeShell);
    XmUpdateDisplay(welcomeShell);
    timeoutShell = welcomeShell;
    welcomeTimeout = welcomeClock->add(XtWidgetToApplicationContext(welcomeShell),
                                       kWelcomeTimeoutMs, WelcomeTimeoutCallback, nullptr);
}

void WelcomeTimeoutCallback(XtPointer, XtIntervalId* id) {
    // The timeout that calls is spent: Xt forgets it before the call. Any other still pending
    // one goes with the splash it belongs to.
    if (id != nullptr && *id == welcomeTimeout) {
        welcomeTimeout = 0;
        timeoutShell = nullptr;
    }
    if (welcomeShell == nullptr) return;
    Widget shell = welcomeShell;
    welcomeShell = nullptr;
    XtDestroyWidget(shell);
}

void DestroyAndClearCallback(Widget, XtPointer shellPointer, XtPointer) {
    Widget* pointer = static_cast<Widget*>(shellPointer);
    if (pointer == nullptr || *pointer == nullptr) return;
    Widget shell = *pointer;
    *pointer = nullptr;
    XtDestroyWidget(shell);
}

void WelcomeExposeCallback(Widget widget, XtPointer, XtPointer callData) {
    DrawPlacedBitmaps(widget, callData, kWelcomeBitmaps, kWelcomeBitmapCount);
}

void DrawPlacedBitmaps(Widget widget, XtPointer callData, const PlacedBitmap* table, int count) {
    const auto* data = static_cast<XmDrawingAreaCallbackStruct*>(callData);
    // The whole picture is drawn once, on the last expose event of a series.
    if (data != nullptr && data->event != nullptr && data->event->type == Expose &&
        data->event->xexpose.count != 0) {
        return;
    }
    Display* display = XtDisplay(widget);
    Window window = XtWindow(widget);
    if (window == 0) return;
    for (int i = 0; i < count; i++) {
        const PlacedBitmap& bitmap = table[i];
        Pixmap stipple = XCreateBitmapFromData(
            display, window, const_cast<char*>(reinterpret_cast<const char*>(bitmap.bits)),
            static_cast<unsigned>(bitmap.width), static_cast<unsigned>(bitmap.height));
        if (stipple == 0) {
            std::cerr << "DrawPlacedBitmaps: no bitmap " << i << std::endl;
            continue;
        }
        XGCValues values;
        values.fill_style = FillStippled;
        values.stipple = stipple;
        values.foreground = bitmap.red ? GetRed() : GetBlack();
        values.background = GetWhite();
        values.ts_x_origin = bitmap.x;
        values.ts_y_origin = bitmap.y;
        GC gc = XCreateGC(display, window,
                          GCFillStyle | GCStipple | GCForeground | GCBackground |
                              GCTileStipXOrigin | GCTileStipYOrigin,
                          &values);
        XFillRectangle(display, window, gc, bitmap.x, bitmap.y, static_cast<unsigned>(bitmap.width),
                       static_cast<unsigned>(bitmap.height));
        XFreeGC(display, gc);
        XFreePixmap(display, stipple);
    }
}
