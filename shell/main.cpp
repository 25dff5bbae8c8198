// The QUIRAN program: starts every subsystem in order, opens the architecture named on the
// command line and runs the Xt main loop, which never returns; the process ends through exit
// (Quit, the window manager's close, a crash or running out of memory).

#include <Xm/Protocols.h>
#include <Xm/Xm.h>
#include <signal.h>

#include <string>

#include "model/elements/ACElem.h"
#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/ElementUi.h"
#include "model/format/LoadSaveObject.h"
#include "model/format/TextFormat.h"
#include "model/simulation/ClientCompiler.h"
#include "model/simulation/PrivateDirectory.h"
#include "shell/DragContext.h"
#include "shell/DragDisplay.h"
#include "shell/FallbackResources.h"
#include "shell/FileSelection.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/OverviewWindow.h"
#include "shell/Recovery.h"
#include "shell/Settings.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/Termination.h"
#include "shell/WelcomeWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/ReadInt.h"

namespace {

// The start-up options that are applied once the main window is up.
void ApplyStartupOptions(MainWindow& main) {
    const char* library = GetStartupLibrary();
    if (library != nullptr && library[0] != '\0' && main.GetLibraryWindow() != nullptr) {
        LoadFile(*main.GetLibraryWindow(), library, nullptr);
    }
    if (GetStartupElementWindow()) main.ToggleElementList();
    // The overview option is stored and edited, but not applied at start-up.
    if (GetStartupSimulationBox()) main.ToggleSimulationBox();
}

void OpenCommandLineFile(MainWindow& main, Widget topLevel, int argc, char** argv) {
    const char* path = FirstFileArgument(argc, argv);
    if (path == nullptr) return;
    if (FileExists(path)) {
        LoadFile(main, path, nullptr);
        return;
    }
    const std::string text = std::string("Can't open ") + path + "\nNo such file or directory.";
    InfoMessage(topLevel, " ", text.c_str());
}

// Steps 2 to 6: the toolkit's connection with its resources and the handlers of the top-level
// shell; the toolkit removes the options it knows from argc and argv.
Widget OpenToolkit(int& argc, char** argv, XtAppContext& app) {
    // 2. "--original_motif" gives the toolkit no fallback resources.
    const bool originalMotif = HasOriginalMotifOption(argc, argv);

    // X errors are handled for the whole process, on both connections: a failed request is
    // reported and the program goes on, a lost display saves core.arc.
    InstallXErrorHandlers();

    // 3. The drag display comes before the toolkit's own connection; exits with 1 without one.
    OpenDragDisplay(argc, argv);

    // 4.
    Widget topLevel =
        XtOpenApplication(&app, "QUIRAN", nullptr, 0, &argc, argv,
                          originalMotif ? nullptr : const_cast<String*>(kFallbackResources),
                          applicationShellWidgetClass, nullptr, 0);
    SetTopLevelShell(topLevel, app);
    WatchTerminationSignals(app);

    // 5. The window manager's close asks before quitting.
    XtVaSetValues(topLevel, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    Display* display = XtDisplay(topLevel);
    const Atom wmProtocols = XmInternAtom(display, const_cast<char*>("WM_PROTOCOLS"), False);
    const Atom wmDeleteWindow = XmInternAtom(display, const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddProtocolCallback(topLevel, wmProtocols, wmDeleteWindow, QuitCallback, nullptr);

    // 6.
    XtAppSetWarningHandler(app, XtWarningFilter);
    return topLevel;
}

// Steps 7 to 13: what the elements and windows draw and compile with, before any window.
void InitSubsystems(Widget topLevel, XtAppContext app) {
    // What the elements need of the windows is answered by the shell from here on.
    InstallShellElementUi(topLevel);

    // 7. Stipple, named colours, the contexts of matrix drawing.
    CreateStippleBitmap(topLevel);
    InitColors(topLevel);
    CreateMatrixGCs(topLevel);

    // 8.
    SetApplicationIcon();

    // 9. The drag-and-drop target atoms and the drag icon's bitmap.
    InitDragAndDrop();

    // 10.
    SetReadIntAppContext(app);

    // 11.
    CreateFileDialog();

    // 12. The working-area font and contexts; every element type makes its stock icon on first
    // use.
    InitArchitectureGraphics();
    // The C++ type compiles with the user's compiler settings and makes the shared memory segment
    // of its clients.
    SetCompilerSettingsSource({GetCompiler, GetCompilerFlags, GetLoaderFlags});
    // What killed programs of this user left in the temporary folder.
    RemoveStalePrivateDirectories();
    ACElem::RegisterType();

    // 13.
    OverviewWindow::InitCursor(topLevel);
}

} // namespace

int main(int argc, char** argv) {
    // 1. Crash and low-memory recovery, before anything can fail.
    InstallErrorHandlers();
    // A plain kill or a logout ends the program as Quit does for its clients and files.
    InstallTerminationHandlers();
    InitLineBuffer();
    // A write beyond the file-size limit then fails with EFBIG, which a save reports as an error,
    // instead of killing the program with every unsaved change.
    if (signal(SIGXFSZ, SIG_IGN) == SIG_ERR) perror("signal");

    XtAppContext app = nullptr;
    Widget topLevel = OpenToolkit(argc, argv, app);
    InitSubsystems(topLevel, app);

    // 14. The settings files, all widgets, the library window, the simulation box, the clocks
    // window and a new architecture with one clock; 15. realized and centred.
    MainWindow* main = OpenMainWindow(topLevel);

    // 16. The splash removes itself after its timeout.
    ShowWelcome();

    // 17.
    ApplyStartupOptions(*main);

    // 18. Only the first file argument counts.
    OpenCommandLineFile(*main, topLevel, argc, argv);

    // 19. From here on a crash is reported in boxes and saved into core.arc.
    SetGuiReady();

    // 20.
    XtAppMainLoop(app);
    return 0;
}
