#include "editors/AElementModifyWindow.h"

#include <Xm/Xm.h>

#include <iostream>

#include "editors/DialogShell.h"
#include "editors/ElementChange.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "toolkit/ActionArea.h"
#include "toolkit/WidgetHelpers.h"

namespace {

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<AElementModifyWindow*>(self)->Ok();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    static_cast<AElementModifyWindow*>(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<AElementModifyWindow*>(self)->Cancel();
}

} // namespace

std::string ModifyWindowTitle(const char* name, const char* typeName) {
    std::string title = std::string("Modify ") + name;
    if (std::string(name) != typeName) title += std::string("  [") + typeName + "]";
    return title;
}

AElementModifyWindow::AElementModifyWindow(AElement* owned, AElementModifyWindow** slot)
    : AElementWindow(owned), width(0), height(0), zoom(100), modifySlot(slot) {
    const std::string title =
        ModifyWindowTitle(element->GetName(), GetTypeName(element->GetType()));
    int storedWidth = 0;
    int storedHeight = 0;
    element->GetModifyWindowSize(storedWidth, storedHeight);
    zoom = element->GetModifyWindowZoom();
    width = static_cast<unsigned short>(storedWidth);
    height = static_cast<unsigned short>(storedHeight);
    XtVaSetValues(shell, XmNtitle, title.c_str(), nullptr);
    // A stored size larger than the screen is shown as large as the screen lets it be.
    int shownWidth = width;
    int shownHeight = height;
    LimitToScreen(shell, &shownWidth, &shownHeight);
    if (width != 0) XtVaSetValues(shell, XmNwidth, static_cast<Dimension>(shownWidth), nullptr);
    if (height != 0) XtVaSetValues(shell, XmNheight, static_cast<Dimension>(shownHeight), nullptr);
    if (modifySlot != nullptr) *modifySlot = this;
}

AElementModifyWindow::~AElementModifyWindow() {
    if (shell != nullptr) {
        Dimension shellWidth = 0;
        Dimension shellHeight = 0;
        XtVaGetValues(shell, XmNwidth, &shellWidth, XmNheight, &shellHeight, nullptr);
        // Where the screen made the window smaller and the user left it so, the stored size stays.
        int shownWidth = width;
        int shownHeight = height;
        LimitToScreen(shell, &shownWidth, &shownHeight);
        if (shellWidth != shownWidth || shownWidth == width) width = shellWidth;
        if (shellHeight != shownHeight || shownHeight == height) height = shellHeight;
    }
    element->SetModifyWindowZoom(zoom);
    element->SetModifyWindowSize(width, height);
    if (modifySlot != nullptr && *modifySlot == this) *modifySlot = nullptr;
}

void AElementModifyWindow::RefreshModifyWindow() {
    std::cerr << "AElementModifyWindow::RefreshModifyWindow" << std::endl;
}

void AElementModifyWindow::Refresh() {
    RefreshModifyWindow();
}

void AElementModifyWindow::Ok() {
    Apply();
    delete this;
}

void AElementModifyWindow::Apply() {
    if (modifySlot != nullptr) {
        // The rule editor's mask window stores into a mask that the element's file need not
        // hold: what the element writes cannot tell whether it changed.
        const bool changes = CopyDiffersFromTarget();
        StoreCopy();
        if (changes) element->SetModified();
        return;
    }
    StoreAndMarkChanged(*element, [this] { StoreCopy(); });
}

void AElementModifyWindow::Cancel() {
    delete this;
}

Widget AElementModifyWindow::CreateModifyActionArea(Widget parent) {
    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", CancelCallback, this},
    };
    return CreateActionArea(parent, rows, XtNumber(rows));
}

void AElementModifyWindow::FixSize() {
    if (shell != nullptr) FixShellSize(shell);
}
