#include "editors/ElementChange.h"

#include <sstream>

#include "model/elements/AElement.h"

std::string WrittenElement(AElement& element) {
    std::ostringstream out;
    element.Write(out, 0, nullptr);
    return out.str();
}

bool StoreAndMarkChanged(AElement& element, const std::function<void()>& store) {
    const std::string before = WrittenElement(element);
    store();
    if (WrittenElement(element) == before) return false;
    element.SetModified();
    return true;
}
