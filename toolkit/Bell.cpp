#include "toolkit/Bell.h"

namespace {

void XlibBell(Display* display, int percent) {
    XBell(display, percent);
}

BellFunction currentBell = XlibBell;

} // namespace

void RingBell(Display* display) {
    currentBell(display, kBellVolume);
}

BellFunction SetBellFunction(BellFunction bell) {
    BellFunction previous = currentBell;
    currentBell = bell != nullptr ? bell : XlibBell;
    return previous;
}
