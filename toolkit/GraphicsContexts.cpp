#include "toolkit/GraphicsContexts.h"

#include "toolkit/Colors.h"

#include <iostream>

namespace {

// Values beyond these keep the X defaults (copy, line width 0, solid, ClipByChildren).
struct GcRecipe {
    int function;
    Pixel foreground;
    bool setBackground;
    Pixel background;
};

GC MakeGC(Display* display, Drawable drawable, const GcRecipe& recipe, unsigned long moreMask,
          XGCValues* more) {
    XGCValues values = *more;
    unsigned long mask = moreMask | GCFunction | GCForeground;
    values.function = recipe.function;
    values.foreground = recipe.foreground;
    if (recipe.setBackground) {
        mask |= GCBackground;
        values.background = recipe.background;
    }
    return XCreateGC(display, drawable, mask, &values);
}

GC MakeGC(Display* display, Screen* screen, const GcRecipe& recipe) {
    XGCValues none{};
    return MakeGC(display, RootWindowOfScreen(screen), recipe, 0, &none);
}

} // namespace

void CreateWhiteGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, GetWhite(), false, 0});
}

void CreateBlackOnWhiteGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, BlackPixelOfScreen(screen), true, GetWhite()});
}

void CreateBlackOnWhiteGC2(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, GetBlack(), true, GetWhite()});
}

void CreateRedOnLightGrayGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, GetRed(), true, GetLightGray()});
}

void CreateRedXorGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXxor, GetRed() ^ GetBlack(), false, 0});
}

void CreateRedOnWhiteGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, GetRed(), true, GetWhite()});
}

void CreateBlueXorGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXxor, GetBlue() ^ GetWhite(), true, GetWhite()});
}

void CreateWhiteGC2(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, GetWhite(), false, 0});
}

void CreateRedXorInferiorsGC(GC* gc, Display* display, Screen* screen) {
    XGCValues more{};
    more.subwindow_mode = IncludeInferiors;
    *gc = MakeGC(display, RootWindowOfScreen(screen),
                 {GXxor, GetRed() ^ GetWhite(), true, GetBlack()}, GCSubwindowMode, &more);
}

void CreateDashedXorGC(GC* gc, Display* display, Screen* screen) {
    XGCValues more{};
    more.line_style = LineDoubleDash;
    *gc = MakeGC(display, RootWindowOfScreen(screen), {GXxor, GetBlack(), true, GetWhite()},
                 GCLineStyle, &more);
}

void CreateStippledGC(GC* gc, Display* display, Screen* screen, Pixmap stipple) {
    XGCValues more{};
    more.fill_style = FillStippled;
    more.stipple = stipple;
    unsigned long mask = GCFillStyle | GCStipple;
    if (stipple == None) {
        std::cerr << "CreateStippledGC: no stipple made yet\n";
        mask = 0;
    }
    *gc = MakeGC(display, RootWindowOfScreen(screen), {GXcopy, GetBlack(), true, GetWhite()}, mask,
                 &more);
}

void CreateGray90GC(GC* gc, Display* display, Screen* screen) {
    XGCValues more{};
    more.fill_style = FillSolid;
    *gc = MakeGC(display, RootWindowOfScreen(screen), {GXcopy, GetGray90(), true, GetGray90()},
                 GCFillStyle, &more);
}

void CreateYellowOnWhiteGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, GetYellow(), true, GetWhite()});
}

void CreateBlackGC(GC* gc, Display* display, Screen* screen) {
    *gc = MakeGC(display, screen, {GXcopy, GetBlack(), true, GetBlack()});
}

void CreateBlackWindowGC(GC* gc, Display* display, Window window) {
    XGCValues none{};
    *gc = MakeGC(display, window, {GXcopy, GetBlack(), true, GetBlack()}, 0, &none);
}

void CreateWideGrayXorGC(GC* gc, Display* display, Screen* screen) {
    XGCValues more{};
    more.line_width = 2;
    *gc = MakeGC(display, RootWindowOfScreen(screen), {GXxor, GetGray50() ^ GetWhite(), false, 0},
                 GCLineWidth, &more);
}

void CreateWhiteGC(GC* gc, Widget widget) {
    CreateWhiteGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateBlackOnWhiteGC(GC* gc, Widget widget) {
    CreateBlackOnWhiteGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateBlackOnWhiteGC2(GC* gc, Widget widget) {
    CreateBlackOnWhiteGC2(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateRedOnLightGrayGC(GC* gc, Widget widget) {
    CreateRedOnLightGrayGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateRedXorGC(GC* gc, Widget widget) {
    CreateRedXorGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateRedOnWhiteGC(GC* gc, Widget widget) {
    CreateRedOnWhiteGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateBlueXorGC(GC* gc, Widget widget) {
    CreateBlueXorGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateWhiteGC2(GC* gc, Widget widget) {
    CreateWhiteGC2(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateRedXorInferiorsGC(GC* gc, Widget widget) {
    CreateRedXorInferiorsGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateDashedXorGC(GC* gc, Widget widget) {
    CreateDashedXorGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateStippledGC(GC* gc, Widget widget) {
    CreateStippledGC(gc, XtDisplay(widget), XtScreen(widget), GetStipple());
}
void CreateGray90GC(GC* gc, Widget widget) {
    CreateGray90GC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateYellowOnWhiteGC(GC* gc, Widget widget) {
    CreateYellowOnWhiteGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateBlackGC(GC* gc, Widget widget) {
    CreateBlackGC(gc, XtDisplay(widget), XtScreen(widget));
}
void CreateBlackWindowGC(GC* gc, Widget widget) {
    Window window = XtWindow(widget);
    if (window == None) {
        std::cerr << "CreateBlackWindowGC: widget not realized\n";
        window = RootWindowOfScreen(XtScreen(widget));
    }
    CreateBlackWindowGC(gc, XtDisplay(widget), window);
}
void CreateWideGrayXorGC(GC* gc, Widget widget) {
    CreateWideGrayXorGC(gc, XtDisplay(widget), XtScreen(widget));
}

GC CreateElementGC(ElementGCKind kind, Display* display) {
    Screen* screen = DefaultScreenOfDisplay(display);
    GC gc = nullptr;
    switch (kind) {
        case kBlackOnWhiteGC2:
            CreateBlackOnWhiteGC2(&gc, display, screen);
            break;
        case kWhiteGC:
            CreateWhiteGC(&gc, display, screen);
            break;
        case kRedOnLightGrayGC:
            CreateRedOnLightGrayGC(&gc, display, screen);
            break;
        case kRedXorGC:
            CreateRedXorGC(&gc, display, screen);
            break;
        case kRedOnWhiteGC:
            CreateRedOnWhiteGC(&gc, display, screen);
            break;
        case kBlueXorGC:
            CreateBlueXorGC(&gc, display, screen);
            break;
        case kWhiteGC2:
            CreateWhiteGC2(&gc, display, screen);
            break;
        case kRedXorInferiorsGC:
            CreateRedXorInferiorsGC(&gc, display, screen);
            break;
    }
    return gc;
}
