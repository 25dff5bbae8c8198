#pragma once

// The one pin highlight across all architecture windows: the pin under the pointer, drawn
// highlighted on its element.

class AElement;
class ArchitectureWindow;

// Highlights the pin under (x, y) of the window's working area, taking the highlight from where
// it was.
void TrackPinHighlight(ArchitectureWindow& window, int x, int y);
// Forgets the highlight (without drawing) when it belongs to the element, which is going.
void ForgetPinHighlight(AElement* element);
// The highlighted element and pin code, or null.
AElement* GetPinHighlight(int& pin);
