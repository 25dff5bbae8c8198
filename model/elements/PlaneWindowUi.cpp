#include "model/elements/PlaneWindowUi.h"

namespace {

PlaneWindowUi* installedUi = nullptr;

} // namespace

PlaneWindowUi* GetPlaneWindowUi() {
    return installedUi;
}

void SetPlaneWindowUi(PlaneWindowUi* ui) {
    installedUi = ui;
}
