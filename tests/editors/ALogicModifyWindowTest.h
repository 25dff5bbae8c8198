#pragma once

// What the tests of the LOGIC element's windows share: a LOGIC element on a plane of a given
// size with its own modify window registered, defining it from a LOGICAL_DATA block, answering
// the number dialogs, and reading and clicking the items of a list.

#include <X11/Intrinsic.h>
#include <Xm/List.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/ALogicModifyWindow.h"
#include "editors/EditorElementUi.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "editors/ModifyValueDialog.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/ElementType.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadInt.h"

// A LOGIC element whose planes are width x height, with empty data.
inline std::unique_ptr<ALogicElem> MakeLogic(int width, int height) {
    RegisterModifyWindowMaker(kLogic, ALogicModifyWindow::Make);
    auto logic = std::make_unique<ALogicElem>(nullptr, 0, 0);
    logic->SetInputPlaneSize(0, width, height);
    logic->SetOutputPlaneSize(0, width, height);
    logic->CreateData();
    return logic;
}

// Reads a LOGICAL_DATA block into the element's data, compiling it; the reader's code.
inline int Define(ALogicElem& logic, const std::string& block) {
    std::istringstream in(block);
    return logic.GetData().Read(in, true);
}

// The element's LOGICAL_DATA block as it would be saved.
inline std::string SavedBlock(ALogicElem& logic) {
    std::ostringstream out;
    logic.GetData().Write(out, 0);
    return out.str();
}

inline std::string ShellTitle(Widget shell) {
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    return title != nullptr ? title : "";
}

// The two fields of a number dialog get the texts, then OK (or Cancel with cancel set).
inline void AnswerTwo(ModifyTwoValuesDialog* dialog, const char* first, const char* second,
                      bool cancel = false) {
    if (cancel) {
        Click(ButtonLabelled(dialog->GetShell(), "Cancel"));
        return;
    }
    SetText(ReadIntGetText(dialog->GetField1()), first);
    SetText(ReadIntGetText(dialog->GetField2()), second);
    Click(ButtonLabelled(dialog->GetShell(), "OK"));
}

inline std::vector<std::string> ListItems(Widget list) {
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(list, XmNitems, &items, XmNitemCount, &count, nullptr);
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++) {
        OwnedXtString text(static_cast<char*>(XmStringUnparse(
            items[i], nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL)));
        texts.push_back(text.Get() != nullptr ? text.Get() : "");
    }
    return texts;
}

// The 1-based selected position, 0 for none.
inline int SelectedPos(Widget list) {
    int* positions = nullptr;
    int count = 0;
    if (!XmListGetSelectedPos(list, &positions, &count)) return 0;
    const int position = positions[0];
    XtFree(reinterpret_cast<char*>(positions));
    return position;
}

// A click on an item (a single click on the selected item unselects it first, as the list
// does), or a double-click.
inline void ClickItem(Widget list, int position, bool twice = false) {
    RunInDispatch([&] {
        if (XmListPosSelected(list, position)) {
            XmListDeselectPos(list, position);
        } else {
            XmListSelectPos(list, position, False);
        }
        XmListCallbackStruct call{};
        call.reason = twice ? XmCR_DEFAULT_ACTION : XmCR_SINGLE_SELECT;
        call.item_position = position;
        XtCallCallbacks(list, twice ? XmNdefaultActionCallback : XmNsingleSelectionCallback, &call);
    });
}

// Two-equation LOGIC data for a 4 x 2 plane of 2 x 1 PEs: one external name e, one internal s.
inline const char* kSmallLogic = R"(LOGICAL_DATA {
  PE_DIMENSION: (2,1)
  PE_DATA {
    NAMES {
      a
      b
    }
  }
  EXTERNAL_DATA {
    NUMBER: 1
    NAMES {
      e
    }
    MATRIX {
      DIMENSION: (1,2)
      DATA {
        0
        1
      }
    }
  }
  INTERNAL_DATA {
    NUMBER: 1
    NAMES {
      s
    }
  }
  EQUATION_DATA {
    NUMBER: 2
    EQUATIONS {
      s = ~s
      a = s ^ b
    }
    COMPUTE_PARALLEL: OFF
  }
}
)";
