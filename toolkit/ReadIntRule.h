#pragma once

#include <cstdint>

// The decisions of the integer entry field, free of widgets: what an arrow step, a commit (focus
// leaving or Return) and a typed character lead to. The Motif side reads the field, asks these
// functions and applies the outcome, so every rule here is tested without a display.

struct ReadIntLimits {
    int32_t min;
    int32_t max;
    int32_t divisor; // 1: an accepted value divides max without remainder (0 never does)
    int maxLength;   // characters of the decimal text, sign included
};

enum ReadIntAction : int {
    kReadIntShowFallback, // the text holds no number: show the fallback value
    kReadIntClamp,        // a step passed a limit: show the limit
    kReadIntRefuse,       // show nothing
    kReadIntCorrect,      // a commit found a non-divisor: show the next divisor
    kReadIntAccept,       // a step: show the value, call back, repeat; a commit: call back
};

struct ReadIntOutcome {
    ReadIntAction action;
    int32_t value; // what to show (unused for kReadIntRefuse; the value itself for a commit)
    int bells;     // how often to ring the refusal bell
};

// Reads the number at the start of text (blanks and a sign allowed before it, anything after
// it ignored); false when there is none or it does not fit 32 bits.
bool ParseReadIntText(const char* text, int32_t* number);

// ParseReadIntText and within [min, max]; the divisor rule is not applied. out is left alone on
// failure.
bool ReadIntValueOf(const char* text, const ReadIntLimits& limits, int32_t* out);

// One arrow step (step +1 or -1) from the current text.
ReadIntOutcome ReadIntStep(const char* text, int step, const ReadIntLimits& limits,
                           int32_t fallback);

// The check when the field loses the focus or Return is pressed.
ReadIntOutcome ReadIntCheck(const char* text, const ReadIntLimits& limits, int32_t fallback);

// Whether typing may insert text beginning with first at position (no range replaced).
bool ReadIntAcceptsInsert(char first, long position, int32_t min);

// v divides max without remainder; 0 divides nothing.
bool DividesMax(int64_t v, int32_t max);

// Length of the decimal text of v ("%ld"), sign included.
int DecimalLength(int64_t v);
