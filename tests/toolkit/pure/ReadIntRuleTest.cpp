#include <gtest/gtest.h>

#include "toolkit/ReadIntRule.h"

#include <cstdint>

namespace {

struct StepCase {
    ReadIntLimits limits;
    const char* text;
    int step;
    ReadIntAction action;
    int32_t value;
    int bells;
};

const StepCase kSteps[] = {
    {{1, 100, 0, 3}, "50", +1, kReadIntAccept, 51, 0},
    {{1, 100, 0, 3}, "  -0 rest", +1, kReadIntAccept, 1, 0}, // blanks, sign, trailing text
    {{1, 100, 0, 3}, "100", +1, kReadIntClamp, 100, 1},
    {{1, 100, 0, 2}, "99", +1, kReadIntRefuse, 0, 0}, // "100" too long: silently nothing
    {{2, 100, 0, 3}, "2", -1, kReadIntClamp, 2, 1},
    {{1, 100, 0, 3}, "500", -1, kReadIntClamp, 100, 1},
    {{1, 100, 0, 3}, "-5", +1, kReadIntClamp, 1, 1},
    {{1, 100, 0, 3}, "", +1, kReadIntShowFallback, 7, 1},
    {{1, 100, 0, 3}, "abc", -1, kReadIntShowFallback, 7, 1},
    {{1, 100, 0, 3}, "2147483648", +1, kReadIntShowFallback, 7, 1}, // beyond 32 bits
    {{1, 12, 1, 2}, "4", +1, kReadIntAccept, 6, 0},
    {{1, 12, 1, 2}, "6", -1, kReadIntAccept, 4, 0},
    {{1, 12, 1, 2}, "6", +1, kReadIntAccept, 12, 0},
    {{1, 12, 1, 2}, "12", +1, kReadIntClamp, 12, 1},
    {{5, 14, 1, 2}, "7", -1, kReadIntRefuse, 0, 1},   // no divisor of 14 in 5..6
    {{5, 14, 1, 2}, "3", -1, kReadIntRefuse, 0, 1},   // would clamp onto 5, no divisor
    {{-6, 6, 1, 2}, "1", -1, kReadIntAccept, -1, 0},  // 0 is skipped, never divided by
    {{-6, 0, 1, 2}, "-2", +1, kReadIntAccept, -1, 0}, // every value but 0 divides 0
    {{-6, 0, 1, 2}, "-1", +1, kReadIntRefuse, 0, 1},  // 0 breaks the rule
    // Far limits, prime max: found at once, not by walking two billion values.
    {{1, INT32_MAX, 1, 10}, "1", +1, kReadIntAccept, INT32_MAX, 0},
    {{INT32_MIN, INT32_MAX, 0, 11}, "2147483647", +1, kReadIntClamp, INT32_MAX, 1},
    {{INT32_MIN, INT32_MAX, 0, 11}, "-2147483648", -1, kReadIntClamp, INT32_MIN, 1},
    {{INT32_MIN, -2, 1, 11}, "-2147483647", +1, kReadIntAccept, -2, 0},
    {{INT32_MIN, INT32_MIN, 1, 11}, "-2147483648", +1, kReadIntClamp, INT32_MIN, 1},
};

TEST(ReadIntRule, StepFindsTheNextValue) {
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(std::string(c.text) + (c.step > 0 ? " up" : " down"));
        const ReadIntOutcome o = ReadIntStep(c.text, c.step, c.limits, 7);
        EXPECT_EQ(o.action, c.action);
        if (c.action != kReadIntRefuse) {
            EXPECT_EQ(o.value, c.value);
        }
        EXPECT_EQ(o.bells, c.bells);
    }
}

struct CheckCase {
    ReadIntLimits limits;
    const char* text;
    ReadIntAction action;
    int32_t value;
    int bells;
};

const CheckCase kChecks[] = {
    {{1, 12, 1, 2}, "5", kReadIntCorrect, 6, 1},
    {{1, 12, 1, 2}, "12", kReadIntAccept, 12, 0},
    {{1, 12, 0, 2}, "5", kReadIntAccept, 5, 0},
    {{1, 12, 0, 2}, "", kReadIntShowFallback, 7, 1},
    {{1, 12, 0, 2}, "0", kReadIntShowFallback, 7, 1},
    {{1, 12, 0, 2}, "13", kReadIntShowFallback, 7, 1},
    {{-12, 12, 1, 3}, "-5", kReadIntCorrect, -4, 1},
    {{-12, 12, 1, 3}, "0", kReadIntCorrect, 1, 1},                 // 0 divides nothing
    {{-5, 0, 1, 3}, "0", kReadIntShowFallback, 7, 1},              // no divisor of 0 up to 0
    {{1, 2147483629, 1, 10}, "2", kReadIntCorrect, 2147483629, 1}, // prime: found at once
    {{INT32_MIN, -1, 1, 11}, "-3", kReadIntCorrect, -1, 1},
};

TEST(ReadIntRule, CheckCorrectsOrAccepts) {
    for (const CheckCase& c : kChecks) {
        SCOPED_TRACE(c.text);
        const ReadIntOutcome o = ReadIntCheck(c.text, c.limits, 7);
        EXPECT_EQ(o.action, c.action);
        EXPECT_EQ(o.value, c.value);
        EXPECT_EQ(o.bells, c.bells);
    }
}

TEST(ReadIntRule, ValueOfLeavesOutAloneOnFailure) {
    const ReadIntLimits limits{1, 100, 1, 3};
    int32_t out = -1;
    EXPECT_FALSE(ReadIntValueOf("101", limits, &out));
    EXPECT_FALSE(ReadIntValueOf("x1", limits, &out));
    EXPECT_EQ(out, -1);
    EXPECT_TRUE(ReadIntValueOf(" 7x", limits, &out)); // no divisor rule here
    EXPECT_EQ(out, 7);
}

struct InsertCase {
    char first;
    long position;
    int32_t min;
    bool accepted;
};

const InsertCase kInserts[] = {
    {'0', 0, 0, true},  {'9', 3, 0, true},   {'a', 0, 0, false},  {'-', 0, 0, false},
    {'-', 0, -1, true}, {'-', 1, -1, false}, {' ', 0, -1, false}, {'+', 0, -1, false},
};

TEST(ReadIntRule, TypingAcceptsDigitsAndALeadingSign) {
    for (const InsertCase& c : kInserts) {
        SCOPED_TRACE(std::string(1, c.first) + " at " + std::to_string(c.position));
        EXPECT_EQ(ReadIntAcceptsInsert(c.first, c.position, c.min), c.accepted);
    }
}

} // namespace
