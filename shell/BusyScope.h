#pragma once

// Brackets one long operation: the constructor shows the watch cursor and the status word in
// the main window's footer, the destructor shows "READY" again on every return path. Without a
// main window (tests of the model side) it does nothing.

#include "shell/MainWindow.h"

class BusyScope {
public:
    explicit BusyScope(const char* word) : window(GetMainWindow()) {
        if (window != nullptr) window->SetBusy(word);
    }
    ~BusyScope() {
        if (window != nullptr) window->SetReady();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    MainWindow* window;
};
