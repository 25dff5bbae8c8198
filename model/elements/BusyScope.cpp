#include "model/elements/BusyScope.h"

#include "model/elements/ElementUi.h"

namespace {

// The innermost open scope, whose word is shown.
BusyScope* innermost = nullptr;

} // namespace

BusyScope::BusyScope(const char* word) : word(word), outer(innermost) {
    innermost = this;
    GetElementUi().SetBusy(word);
}

BusyScope::~BusyScope() {
    innermost = outer;
    if (outer != nullptr) {
        GetElementUi().SetBusy(outer->word);
    } else {
        GetElementUi().SetReady();
    }
}
