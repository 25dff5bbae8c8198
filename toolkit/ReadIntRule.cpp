#include "toolkit/ReadIntRule.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

// Calls visit for every divisor of max, negative ones included; max is not 0. Trial division up
// to the square root keeps this below 46341 rounds for any 32-bit max, where walking value by
// value towards a far divisor could take billions.
template <typename Visit> void ForEachDivisor(int32_t max, Visit visit) {
    const int64_t m = max < 0 ? -static_cast<int64_t>(max) : max;
    for (int64_t d = 1; d * d <= m; ++d) {
        if (m % d == 0) {
            visit(d);
            visit(-d);
            visit(m / d);
            visit(-(m / d));
        }
    }
}

// Walks from v by step while strictly between min and max and v does not divide max, and
// returns where the walk stops: the first divisor on the way, else the limit it runs into.
int64_t WalkToDivisor(int64_t v, int step, int32_t min, int32_t max) {
    if (max == 0) {
        // Every value but 0 divides 0.
        while (min < v && v < max && v == 0) {
            v += step;
        }
        return v;
    }
    int64_t stop = step > 0 ? max : min;
    ForEachDivisor(max, [&](int64_t c) {
        if (step > 0 && c >= v && c < stop) {
            stop = c;
        }
        if (step < 0 && c <= v && c > stop) {
            stop = c;
        }
    });
    return stop;
}

// The smallest divisor of max that is not below v; may lie above max when max is 0.
int64_t FirstDivisorFrom(int64_t v, int32_t max) {
    if (max == 0) {
        return v != 0 ? v : 1;
    }
    int64_t best = INT64_MAX;
    ForEachDivisor(max, [&](int64_t c) {
        if (c >= v && c < best) {
            best = c;
        }
    });
    return best;
}

} // namespace

bool ParseReadIntText(const char* text, int32_t* number) {
    if (text == nullptr) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(text, &end, 10);
    if (end == text || errno == ERANGE || n < INT32_MIN || n > INT32_MAX) {
        return false;
    }
    *number = static_cast<int32_t>(n);
    return true;
}

bool ReadIntValueOf(const char* text, const ReadIntLimits& limits, int32_t* out) {
    int32_t n = 0;
    if (!ParseReadIntText(text, &n) || n < limits.min || n > limits.max) {
        return false;
    }
    *out = n;
    return true;
}

bool DividesMax(int64_t v, int32_t max) {
    return v != 0 && max % v == 0;
}

int DecimalLength(int64_t v) {
    char buffer[32];
    return std::snprintf(buffer, sizeof buffer, "%" PRId64, v);
}

ReadIntOutcome ReadIntStep(const char* text, int step, const ReadIntLimits& limits,
                           int32_t fallback) {
    int32_t number = 0;
    if (!ParseReadIntText(text, &number)) {
        return {kReadIntShowFallback, fallback, 1};
    }
    // 64 bits: number + step never overflows, nor does the walk past a 32-bit limit.
    int64_t v = static_cast<int64_t>(number) + step;
    if (limits.divisor && limits.min < v && v < limits.max) {
        v = WalkToDivisor(v, step, limits.min, limits.max);
    }
    if (v < limits.min || v > limits.max) {
        if (DecimalLength(v) > limits.maxLength) {
            return {kReadIntRefuse, 0, 0};
        }
        int bells = 0;
        if (v > limits.max) {
            ++bells;
            v = limits.max;
        }
        if (v < limits.min) {
            ++bells;
            v = limits.min;
        }
        if (limits.divisor && !DividesMax(v, limits.max)) {
            // The limit itself breaks the rule: keep the text as it is.
            return {kReadIntRefuse, 0, 1};
        }
        return {kReadIntClamp, static_cast<int32_t>(v), bells};
    }
    if (DecimalLength(v) > limits.maxLength) {
        return {kReadIntRefuse, 0, 0};
    }
    if (limits.divisor && !DividesMax(v, limits.max)) {
        // The walk ended on a limit that is no divisor: there is none in this direction.
        return {kReadIntRefuse, 0, 1};
    }
    return {kReadIntAccept, static_cast<int32_t>(v), 0};
}

ReadIntOutcome ReadIntCheck(const char* text, const ReadIntLimits& limits, int32_t fallback) {
    int32_t v = 0;
    if (!ReadIntValueOf(text, limits, &v)) {
        return {kReadIntShowFallback, fallback, 1};
    }
    if (limits.divisor && !DividesMax(v, limits.max)) {
        const int64_t c = FirstDivisorFrom(v, limits.max);
        if (c > limits.max) {
            return {kReadIntShowFallback, fallback, 1};
        }
        return {kReadIntCorrect, static_cast<int32_t>(c), 1};
    }
    return {kReadIntAccept, v, 0};
}

bool ReadIntAcceptsInsert(char first, long position, int32_t min) {
    if (first >= '0' && first <= '9') {
        return true;
    }
    return first == '-' && position == 0 && min < 0;
}
