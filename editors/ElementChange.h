#pragma once

// Whether a window's OK or Apply changed an element: what the element writes to its file before
// and after the window stores its copy. A store that changes nothing leaves the element's
// modified flag as it was, so quitting does not ask to save an untouched architecture.

#include <functional>
#include <string>

class AElement;

// The element as its file holds it (header and data).
std::string WrittenElement(AElement& element);

// Runs store; marks the element modified when what it writes changed. Returns whether it did.
bool StoreAndMarkChanged(AElement& element, const std::function<void()>& store);
