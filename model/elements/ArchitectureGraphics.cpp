#include "model/elements/ArchitectureGraphics.h"

#include <cstring>
#include <iostream>

#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/elements/IconGeometry.h"

const char* const kArchitectureFontPattern = "*helvetica-medium-o-normal--10-*-*";

namespace {

ArchitectureGraphics graphics = {};
bool made = false;
bool dragMade = false;
int generation = 0;
Pixmap stockIcons[kElementTypeCount] = {};

void FreeGC(Display* display, GC& gc) {
    if (gc != nullptr) XFreeGC(display, gc);
    gc = nullptr;
}

} // namespace

int LoadArchitectureFont() {
    Display* display = graphics.display;
    graphics.iconGC = GetElementUi().CreateGC(kBlackOnWhiteGC2, display);
    if (graphics.iconGC == nullptr) {
        std::cerr << "LoadArchitectureFont: no icon context" << std::endl;
        return 0;
    }
    graphics.font = XLoadQueryFont(display, kArchitectureFontPattern);
    if (graphics.font != nullptr) {
        graphics.fontLoaded = true;
        XSetFont(display, graphics.iconGC, graphics.font->fid);
        return 1;
    }
    std::cerr << "QUIRAN: cannot open font '" << kArchitectureFontPattern << "'" << std::endl;
    graphics.fontLoaded = false;
    graphics.font = XQueryFont(display, XGContextFromGC(graphics.iconGC));
    return 0;
}

void InitArchitectureGraphics() {
    if (made) return;
    Display* display = GetElementUi().GetScreens().display;
    if (display == nullptr) return;
    ElementUi& ui = GetElementUi();
    graphics = ArchitectureGraphics{};
    graphics.display = display;
    graphics.generation = generation;
    LoadArchitectureFont();
    graphics.markedIconGC = ui.CreateGC(kRedOnLightGrayGC, display);
    graphics.frameGC = ui.CreateGC(kRedXorGC, display);
    graphics.pinHighlightGC = ui.CreateGC(kRedOnWhiteGC, display);
    graphics.whiteGC = ui.CreateGC(kWhiteGC, display);
    graphics.connectionGC = ui.CreateGC(kBlueXorGC, display);
    graphics.connectionHighlightGC = ui.CreateGC(kWhiteGC2, display);
    made = true;
}

const ArchitectureGraphics* GetArchitectureGraphics() {
    InitArchitectureGraphics();
    if (!made) return nullptr;
    if (!dragMade) {
        // The drag display may come later than the toolkit's: ask until it is there.
        ElementUi& ui = GetElementUi();
        graphics.dragDisplay = ui.GetScreens().dragDisplay;
        if (graphics.dragDisplay != nullptr) {
            graphics.connectionRootGC = ui.CreateGC(kRedXorInferiorsGC, graphics.dragDisplay);
            dragMade = true;
        }
    }
    return &graphics;
}

void ReleaseArchitectureGraphics() {
    if (made) {
        Display* display = graphics.display;
        for (Pixmap& pixmap : stockIcons) {
            if (pixmap != 0) XFreePixmap(display, pixmap);
            pixmap = 0;
        }
        if (graphics.font != nullptr) {
            if (graphics.fontLoaded) {
                XFreeFont(display, graphics.font);
            } else {
                XFreeFontInfo(nullptr, graphics.font, 1);
            }
        }
        FreeGC(display, graphics.iconGC);
        FreeGC(display, graphics.markedIconGC);
        FreeGC(display, graphics.frameGC);
        FreeGC(display, graphics.pinHighlightGC);
        FreeGC(display, graphics.whiteGC);
        FreeGC(display, graphics.connectionGC);
        FreeGC(display, graphics.connectionHighlightGC);
        if (dragMade) FreeGC(graphics.dragDisplay, graphics.connectionRootGC);
        XFlush(display);
    }
    graphics = ArchitectureGraphics{};
    made = false;
    dragMade = false;
    generation++;
}

int GetGraphicsGeneration() {
    return generation;
}

void CreateElementIcon(uint32_t type, Pixmap& pixmap, GC gc, const char* name, int& width,
                       int& height, int inputs, int outputs) {
    IconSize(type, inputs, outputs, width, height);
    pixmap = 0;
    const ArchitectureGraphics* g = GetArchitectureGraphics();
    if (g == nullptr || g->iconGC == nullptr || gc == nullptr) return;
    Display* display = g->display;
    Window root = DefaultRootWindow(display);
    GC icon = g->iconGC;

    int length = static_cast<int>(std::strlen(name));
    int nameWidth = g->font != nullptr ? XTextWidth(g->font, name, length) : 0;
    XGCValues values;
    XGetGCValues(display, gc, GCBackground, &values);
    XGCValues backgroundValues;
    backgroundValues.foreground = values.background;
    GC background = XCreateGC(display, root, GCForeground, &backgroundValues);
    GC white = g->whiteGC;

    pixmap = XCreatePixmap(display, root, width + 1, height + 1,
                           DefaultDepth(display, DefaultScreen(display)));
    XFillRectangle(display, pixmap, background, 0, 0, width + 1, height + 1);
    XDrawRectangle(display, pixmap, icon, 0, 0, width, height);

    if (type == kMacroInput || type == kMacroOutput) {
        int px = type == kMacroInput ? width - kPinBoxWidth : 0;
        if (white != nullptr) {
            XFillRectangle(display, pixmap, white, px, kPortPinY, kPinBoxWidth, kPinBoxHeight + 1);
        }
        XDrawRectangle(display, pixmap, icon, px, kPortPinY, kPinBoxWidth, kPinBoxHeight);
    } else {
        int ascent = g->font != nullptr ? g->font->ascent : 0;
        XDrawString(display, pixmap, icon, NameX(width, nameWidth), NameBaseline(height, ascent),
                    name, length);
        // A long name ends where the output pins begin.
        XFillRectangle(display, pixmap, background, width - kNameMargin, 1, kNameMargin,
                       height - 2);
        for (int k = 0; k < inputs; k++) {
            int by = kFirstPinOffset + kPinPitch * k;
            if (white != nullptr) {
                XFillRectangle(display, pixmap, white, 1, by, kPinBoxWidth, kPinBoxHeight + 1);
            }
            XDrawRectangle(display, pixmap, icon, 0, by, kPinBoxWidth, kPinBoxHeight);
        }
        for (int k = 0; k < outputs; k++) {
            int by = kFirstPinOffset + kPinPitch * k;
            int bx = width - kPinBoxWidth;
            if (white != nullptr) {
                XFillRectangle(display, pixmap, white, bx, by, kPinBoxWidth, kPinBoxHeight + 1);
            }
            XDrawRectangle(display, pixmap, icon, bx, by, kPinBoxWidth, kPinBoxHeight);
        }
    }
    XFreeGC(display, background);
}

Pixmap GetStockIcon(uint32_t type, int inputs, int outputs) {
    if (type >= static_cast<uint32_t>(kElementTypeCount)) return 0;
    if (stockIcons[type] == 0) {
        const ArchitectureGraphics* g = GetArchitectureGraphics();
        if (g == nullptr) return 0;
        int width, height;
        CreateElementIcon(type, stockIcons[type], g->iconGC, GetTypeName(type), width, height,
                          inputs, outputs);
    }
    return stockIcons[type];
}

void FreeElementPixmap(Pixmap& pixmap, int pixmapGeneration) {
    if (pixmap != 0 && made && pixmapGeneration == generation) {
        XFreePixmap(graphics.display, pixmap);
    }
    pixmap = 0;
}
