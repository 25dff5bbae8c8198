#include "tests/support/program/Screen.h"

#include <algorithm>
#include <map>
#include <utility>

namespace e2e {

Screen::Screen(int slowness) : display(XOpenDisplay(nullptr)), slowness(slowness) {
    // Windows come and go while the tree is walked: an error about one that has just gone is no
    // failure (Xlib's own handler would end the test with the program still running).
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
}

Screen::~Screen() {
    if (display != nullptr) XCloseDisplay(display);
}

Window Screen::Find(const std::string& name, bool prefix) {
    XSync(display, False);
    return Search(DefaultRootWindow(display), name, prefix);
}

Window Screen::WaitForWindow(const std::string& name, bool prefix, int ms) {
    Window found = 0;
    WaitFor([&] { return (found = Find(name, prefix)) != 0; }, ms * slowness);
    return found;
}

bool Screen::WaitGone(const std::string& name, int ms) {
    return WaitFor([&] { return Find(name) == 0; }, ms * slowness);
}

Point Screen::RootOf(Window window) {
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y};
}

Point Screen::Size(Window window) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a)) return {0, 0};
    return {a.width, a.height};
}

Point Screen::Middle(Window window) {
    const Point at = RootOf(window);
    const Point size = Size(window);
    return {at.x + size.x / 2, at.y + size.y / 2};
}

void Screen::Frame(Window window, Point* at, Point* size) {
    Window frame = window;
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, frame, &root, &parent, &children, &count)) break;
        if (children != nullptr) XFree(children);
        if (parent == root || parent == 0) break;
        frame = parent;
    }
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, frame, &a)) {
        *at = {0, 0};
        *size = {0, 0};
        return;
    }
    *at = {a.x, a.y};
    *size = {a.width + 2 * a.border_width, a.height + 2 * a.border_width};
}

Point Screen::ScreenSize() {
    return {DisplayWidth(display, DefaultScreen(display)),
            DisplayHeight(display, DefaultScreen(display))};
}

void Screen::Walk(Window window,
                  const std::function<void(Window, const XWindowAttributes&)>& visit) {
    Children(window, [&](Window w, const XWindowAttributes& a) {
        if (a.map_state != IsViewable) return;
        visit(w, a);
        Walk(w, visit);
    });
}

Window Screen::FindBySize(Window window, int width, int height) {
    Window found = 0;
    Walk(window, [&](Window w, const XWindowAttributes& a) {
        if (found == 0 && a.width == width && a.height == height) found = w;
    });
    return found;
}

std::vector<std::vector<Window>>
Screen::LeafRows(Window window, const std::function<bool(const XWindowAttributes&)>& take) {
    XSync(display, False);
    std::map<Window, std::vector<std::pair<int, Window>>> rows;
    Walk(window, [&](Window w, const XWindowAttributes& a) {
        if (!take(a) || HasViewableChild(w)) return;
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, w, &root, &parent, &children, &count)) return;
        if (children != nullptr) XFree(children);
        rows[parent].push_back({a.x, w});
    });
    std::vector<std::vector<Window>> result;
    for (auto& row : rows) {
        std::sort(row.second.begin(), row.second.end());
        std::vector<Window> windows;
        for (const auto& entry : row.second)
            windows.push_back(entry.second);
        result.push_back(windows);
    }
    return result;
}

Window Screen::ToolButton(Window main, Tool tool) {
    // Square buttons: the tool bar is the row with the most.
    const std::vector<std::vector<Window>> rows = LeafRows(main, [](const XWindowAttributes& a) {
        return a.width == a.height && a.width >= 16 && a.width <= 64;
    });
    const std::vector<Window>* bar = nullptr;
    for (const std::vector<Window>& row : rows) {
        if (bar == nullptr || row.size() > bar->size()) bar = &row;
    }
    const size_t index = static_cast<size_t>(tool);
    return bar != nullptr && bar->size() > index ? (*bar)[index] : 0;
}

Window Screen::MenuBarEntry(Window main, int index) {
    // Rows of at least two buttons; the menu bar is the one highest up.
    const std::vector<std::vector<Window>> rows = LeafRows(main, [](const XWindowAttributes& a) {
        return a.height >= 10 && a.height <= 40 && a.width >= 10 && a.width <= 200;
    });
    const std::vector<Window>* bar = nullptr;
    int barY = 0;
    for (const std::vector<Window>& row : rows) {
        if (row.size() < 2) continue;
        const int y = RootOf(row.front()).y;
        if (bar == nullptr || y < barY) {
            bar = &row;
            barY = y;
        }
    }
    return bar != nullptr && index >= 0 && static_cast<size_t>(index) < bar->size()
               ? (*bar)[static_cast<size_t>(index)]
               : 0;
}

Point Screen::WaitForToolButton(Window main, Tool tool, int ms) {
    // The whole bar, laid out: all its buttons are up and the one asked for stays where it is
    // between two looks (a bar seen while the window is still being laid out moves after).
    Point last = {-1, -1};
    Point at = {-1, -1};
    const bool settled = WaitFor(
        [&] {
            const Window button = ToolButton(main, tool);
            if (button == 0 || ToolButton(main, Tool::kSimulate) == 0) {
                last = {-1, -1};
                return false;
            }
            at = Middle(button);
            const bool same = at.x == last.x && at.y == last.y;
            last = at;
            return same;
        },
        ms * slowness);
    return settled ? at : Point{-1, -1};
}

Window Screen::PoppedMenu() {
    XSync(display, False);
    Window found = 0;
    Children(DefaultRootWindow(display), [&](Window w, const XWindowAttributes& a) {
        if (a.override_redirect && a.map_state == IsViewable && a.width > 60 && a.height > 40 &&
            Name(w).empty()) {
            found = w;
        }
    });
    return found;
}

Point Screen::ButtonInLowestRow(Window window, int fromRight, int maxWidth) {
    std::vector<std::pair<Point, Point>> buttons; // root position, size
    Walk(window, [&](Window w, const XWindowAttributes& a) {
        if (a.width >= 40 && a.width <= maxWidth && a.height >= 18 && a.height <= 45 &&
            !HasViewableChild(w) && WhollyShown(w, window)) {
            buttons.push_back({RootOf(w), {a.width, a.height}});
        }
    });
    int lowest = -1;
    for (const auto& b : buttons)
        lowest = std::max(lowest, b.first.y + b.second.y);
    std::vector<std::pair<Point, Point>> row;
    for (const auto& b : buttons)
        if (b.first.y + b.second.y == lowest) row.push_back(b);
    std::sort(row.begin(), row.end(),
              [](const auto& a, const auto& b) { return a.first.x > b.first.x; });
    if (fromRight < 0 || fromRight >= static_cast<int>(row.size())) return {-1, -1};
    const auto& b = row[static_cast<size_t>(fromRight)];
    return {b.first.x + b.second.x / 2, b.first.y + b.second.y / 2};
}

bool Screen::WhollyShown(Window window, Window top) {
    const Point at = RootOf(window);
    const Point size = Size(window);
    for (Window w = window; w != top;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, w, &root, &parent, &children, &count)) return false;
        if (children != nullptr) XFree(children);
        if (parent == 0 || parent == root) return true;
        const Point parentAt = RootOf(parent);
        const Point parentSize = Size(parent);
        if (at.x < parentAt.x || at.y < parentAt.y || at.x + size.x > parentAt.x + parentSize.x ||
            at.y + size.y > parentAt.y + parentSize.y) {
            return false;
        }
        w = parent;
    }
    return true;
}

Window Screen::SelectionField(Window dialog) {
    Window best = 0;
    int bestY = -1;
    Walk(dialog, [&](Window w, const XWindowAttributes& a) {
        const int y = RootOf(w).y;
        if (a.width > 150 && a.height > 15 && a.height < 45 && y > bestY) {
            best = w;
            bestY = y;
        }
    });
    return best;
}

void Screen::SendDeleteWindow(Window window) {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool Screen::DragDownOnWorkingArea(int x, int y) {
    WaitGone("Welcome");
    const Window area = FindBySize(DefaultRootWindow(display), 1500, 1000);
    if (area == 0) return false;
    const Point origin = RootOf(area);
    x += origin.x;
    y += origin.y;
    Xdo("mousemove " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1");
    SleepMs(200);
    for (int step = 1; step <= 6; step++) {
        Xdo("mousemove " + std::to_string(x) + " " + std::to_string(y + 10 * step));
        SleepMs(100);
    }
    Xdo("mouseup 1");
    SleepMs(600);
    return true;
}

std::string Screen::Name(Window window) {
    char* title = nullptr;
    std::string text;
    if (XFetchName(display, window, &title) && title != nullptr) {
        text = title;
        XFree(title);
    }
    return text;
}

void Screen::Children(Window window,
                      const std::function<void(Window, const XWindowAttributes&)>& visit) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes)) visit(children[i], attributes);
    }
    if (children != nullptr) XFree(children);
}

bool Screen::HasViewableChild(Window window) {
    bool found = false;
    Children(window, [&](Window, const XWindowAttributes& a) {
        if (a.map_state == IsViewable) found = true;
    });
    return found;
}

Window Screen::Search(Window window, const std::string& name, bool prefix) {
    const std::string text = Name(window);
    XWindowAttributes attributes;
    if (!text.empty() && (prefix ? text.rfind(name, 0) == 0 : text == name) &&
        XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) {
        return window;
    }
    Window found = 0;
    Children(window, [&](Window w, const XWindowAttributes&) {
        if (found == 0) found = Search(w, name, prefix);
    });
    return found;
}

} // namespace e2e
