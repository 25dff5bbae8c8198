#include <iostream>

#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "shell/WindowMessage.h"

namespace {

// The main window as the settings see it: its grid, and warnings over the top-level shell.
class MainWindowSettingsHost : public SettingsHost {
public:
    explicit MainWindowSettingsHost(MainWindow& window) : window(window) {}

    void GetGridOptions(GridOptions& grid) override {
        grid = {window.GetGridVisible(), window.GetGridX(), window.GetGridY(),
                window.GetRasterize()};
    }
    void SetGridOptions(const GridOptions& grid) override {
        window.SetGridOptions(grid.visible, grid.x, grid.y, grid.rasterize);
    }
    void Warn(const char* title, const char* text) override {
        WindowMessage(window.GetShell(), kMessageWarning, title, text);
    }

private:
    MainWindow& window;
};

} // namespace

void LoadOptions(MainWindow* window) {
    if (window == nullptr) {
        std::cerr << "LoadOptions: no main window\n";
        return;
    }
    MainWindowSettingsHost host(*window);
    LoadOptions(host);
}

void SaveOptions() {
    MainWindow* window = GetMainWindow();
    if (window == nullptr) {
        std::cerr << "SaveOptions: no main window\n";
        return;
    }
    MainWindowSettingsHost host(*window);
    SaveOptions(host);
}
