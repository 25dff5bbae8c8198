// What the fuzz targets share about their inputs.
#pragma once

#include <string>

// Plane sizes may have five digits in a file; the fuzzer's memory bound is far smaller. A line
// that gives a dimension asks for huge planes when one of its pairs "(w,h)" covers more than
// kMostCells cells, or when a number of four or more digits stands outside such a pair. Long thin
// planes (65536 x 1), whose rows are the longest lines a file has, are kept.
inline bool AsksForHugePlanes(const std::string& text) {
    const long kMostCells = 1L << 17;
    auto blanks = [&](size_t& i, size_t end) {
        while (i < end && text[i] == ' ')
            i++;
    };
    // The number at i (at most six digits are looked at), or -1; i is moved past its digits.
    auto number = [&](size_t& i, size_t end) {
        long value = -1;
        int digits = 0;
        for (; i < end && text[i] >= '0' && text[i] <= '9'; i++) {
            if (++digits <= 6) value = (value < 0 ? 0 : value * 10) + (text[i] - '0');
        }
        return digits > 6 ? kMostCells + 1 : value;
    };
    size_t line = 0;
    while (line < text.size()) {
        size_t end = text.find('\n', line);
        if (end == std::string::npos) end = text.size();
        if (text.substr(line, end - line).find("DIM") != std::string::npos) {
            size_t i = line;
            while (i < end) {
                if (text[i] == '(' || text[i] == '[') {
                    size_t at = i + 1;
                    blanks(at, end);
                    const long width = number(at, end);
                    blanks(at, end);
                    if (width >= 0 && at < end && text[at] == ',') {
                        at++;
                        blanks(at, end);
                        const long height = number(at, end);
                        if (height >= 0) {
                            if (width > kMostCells || height > kMostCells ||
                                width * height > kMostCells) {
                                return true;
                            }
                            i = at;
                            continue;
                        }
                    }
                    i++;
                } else if (text[i] >= '0' && text[i] <= '9') {
                    size_t at = i;
                    number(at, end);
                    if (at - i >= 4) return true;
                    i = at;
                } else {
                    i++;
                }
            }
        }
        line = end + 1;
    }
    return false;
}
