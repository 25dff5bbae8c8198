#include "shell/PinHighlight.h"

#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"
#include "shell/ArchitectureWindow.h"

namespace {

AElement* highlightElement = nullptr;
int highlightPin = 0;

} // namespace

void TrackPinHighlight(ArchitectureWindow& window, int x, int y) {
    AElement* element = ElementAt(window, x, y);
    int pin = element != nullptr ? element->PinAt(x - element->GetX(), y - element->GetY()) : 0;
    if (pin == 0) element = nullptr;
    if (element == highlightElement && pin == highlightPin) return;
    if (highlightElement != nullptr) highlightElement->DrawPinHighlight(highlightPin, 0);
    highlightElement = element;
    highlightPin = pin;
    if (element != nullptr) element->DrawPinHighlight(pin, 1);
}

void ForgetPinHighlight(AElement* element) {
    if (element == nullptr || element != highlightElement) return;
    highlightElement = nullptr;
    highlightPin = 0;
}

AElement* GetPinHighlight(int& pin) {
    pin = highlightPin;
    return highlightElement;
}
