#pragma once

// Pin codes name one pin of an element: input k (from 0) is 2(k + 1), output k is 2(k + 1) + 1,
// and 0 means no pin. Files write a pin as its 1-based pin number k + 1.

const int kNoPin = 0;

inline int InputPinCode(int index) {
    return 2 * (index + 1);
}
inline int OutputPinCode(int index) {
    return 2 * (index + 1) + 1;
}
inline bool IsInputPin(int code) {
    return code >= 2 && code % 2 == 0;
}
inline bool IsOutputPin(int code) {
    return code >= 3 && code % 2 == 1;
}
// The index on its side, from 0; -1 for codes 0 and 1.
inline int PinIndex(int code) {
    return code >= 2 ? code / 2 - 1 : -1;
}
