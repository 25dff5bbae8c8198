// Preloaded into the program by the end-to-end tests: every message box the program creates is
// appended to the file named by QUIRAN_MESSAGE_LOG before the box is shown, as its kind, its
// text and a form feed, so that a test can check the exact words of a box it then answers.

#include <Xm/MessageB.h>
#include <Xm/Xm.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using CreateFunction = Widget (*)(Widget, String, ArgList, Cardinal);

void Log(const char* kind, ArgList args, Cardinal count) {
    const char* path = std::getenv("QUIRAN_MESSAGE_LOG");
    if (path == nullptr) return;
    for (Cardinal i = 0; i < count; ++i) {
        if (std::strcmp(args[i].name, XmNmessageString) != 0) continue;
        XmString string = reinterpret_cast<XmString>(args[i].value);
        // Separators come back as the line feeds the text was made from.
        Arg mappingArgs[3];
        XtSetArg(mappingArgs[0], XmNincludeStatus, XmINSERT);
        XtSetArg(mappingArgs[1], XmNsubstitute, XmStringSeparatorCreate());
        XtSetArg(mappingArgs[2], XmNpattern, const_cast<char*>("\n"));
        XmParseMapping mapping = XmParseMappingCreate(mappingArgs, 3);
        char* text = static_cast<char*>(XmStringUnparse(string, nullptr, XmCHARSET_TEXT,
                                                        XmCHARSET_TEXT, &mapping, 1, XmOUTPUT_ALL));
        XmParseMappingFree(mapping);
        if (FILE* log = std::fopen(path, "a")) {
            std::fprintf(log, "%s\n%s\f", kind, text != nullptr ? text : "");
            std::fclose(log);
        }
        XtFree(text);
        return;
    }
}

Widget Forward(const char* symbol, const char* kind, Widget parent, String name, ArgList args,
               Cardinal count) {
    Log(kind, args, count);
    CreateFunction next = reinterpret_cast<CreateFunction>(dlsym(RTLD_NEXT, symbol));
    return next(parent, name, args, count);
}

// The log is for the program alone: the compiler and the clients it starts must not load it (a
// sanitized copy crashes a program built without the sanitizer runtime).
__attribute__((constructor)) void KeepFromChildren() {
    unsetenv("LD_PRELOAD");
}

} // namespace

extern "C" {

Widget XmCreateInformationDialog(Widget parent, String name, ArgList args, Cardinal count) {
    return Forward("XmCreateInformationDialog", "information", parent, name, args, count);
}

Widget XmCreateWarningDialog(Widget parent, String name, ArgList args, Cardinal count) {
    return Forward("XmCreateWarningDialog", "warning", parent, name, args, count);
}

Widget XmCreateQuestionDialog(Widget parent, String name, ArgList args, Cardinal count) {
    return Forward("XmCreateQuestionDialog", "question", parent, name, args, count);
}

} // extern "C"
