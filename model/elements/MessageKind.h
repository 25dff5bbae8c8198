#pragma once

// The kinds of the modal message dialog and its answers. Plain ints with names, free of any
// window header, so that the model can ask questions through its own interfaces.

enum MessageKind : int {
    kMessageInfo = 0,        // one " Ok " button
    kMessageWarning = 1,     // one " Ok " button
    kMessageOkCancel = 2,    // " Ok ", " Cancel "
    kMessageYesNo = 3,       // " Yes ", " No "
    kMessageYesNoCancel = 4, // " Yes ", " No ", " Cancel "
};

enum MessageResult : int {
    kResultNone = 0, // no answer yet; never returned
    kResultCancel = 1,
    kResultOk = 2,
    kResultYes = 3,
    kResultNo = 4,
};
