#include "model/elements/IconGeometry.h"

#include <algorithm>
#include <climits>

#include "model/elements/ElementType.h"
#include "model/elements/PinCode.h"

void IconSize(uint32_t type, int inputs, int outputs, int& width, int& height) {
    if (type == kMacroInput || type == kMacroOutput) {
        width = kPortIconWidth;
        height = kPortIconHeight;
        return;
    }
    width = kIconWidth;
    height = std::max(kPinPitch * std::max(inputs, outputs) + kPinPitch, 30);
}

int PinAt(int px, int py, int width, int inputs, int outputs, int firstPinOffset) {
    int d = py - firstPinOffset;
    if (d < 0 || d % kPinPitch > kPinBoxHeight) return kNoPin;
    int k = d / kPinPitch + 1; // 1-based pin row
    if (px >= width - kPinBoxWidth && px <= width && k <= outputs) return 2 * k + 1;
    if (px >= 0 && px <= kPinBoxWidth && k <= inputs) return 2 * k;
    return kNoPin;
}

bool PinBoxOrigin(int code, int width, int inputs, int outputs, int& bx, int& by,
                  int firstPinOffset) {
    int k = PinIndex(code);
    if (IsInputPin(code) && k < inputs) {
        bx = 0;
    } else if (IsOutputPin(code) && k < outputs) {
        bx = width - kPinBoxWidth;
    } else {
        return false;
    }
    by = firstPinOffset + kPinPitch * k;
    return true;
}

int PinEndPoint(int code, int x, int y, int width, int inputs, int outputs, int& px, int& py,
                int firstPinOffset) {
    int k = PinIndex(code);
    if (IsInputPin(code) && k < inputs) {
        px = x - 1;
    } else if (IsOutputPin(code) && k < outputs) {
        px = x + width + 1;
    } else {
        return -1;
    }
    // Level with the middle of the pin box.
    py = y + firstPinOffset + (kPinPitch - kFirstPinOffset) + kPinPitch * k;
    return 0;
}

bool IconPositionFits(int x, int y, int width, int height) {
    const auto fits = [](int from, int size) {
        const int64_t low = static_cast<int64_t>(from) - 1;
        const int64_t high = static_cast<int64_t>(from) + size + 1;
        return low >= INT_MIN && high <= INT_MAX;
    };
    return fits(x, width) && fits(y, height);
}

bool IconContains(int x, int y, int width, int height, int px, int py) {
    return x <= px && px < x + width && y <= py && py < y + height;
}

bool IconIntersects(int x, int y, int width, int height, int a, int b, int c, int d) {
    return x <= a + c && a <= x + width && y <= b + d && b <= y + height;
}

int NameX(int width, int nameWidth) {
    int x = (width - nameWidth) / 2;
    return x >= kNameMargin ? x : kNameMargin;
}

int NameBaseline(int height, int ascent) {
    return (height - ascent) / 2 + ascent;
}
