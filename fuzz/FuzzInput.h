// What the fuzz targets share about their inputs.
#pragma once

#include <string>

// Plane sizes may have five digits in a file; the fuzzer's memory bound is far smaller, so a text
// with a number of four or more digits on a line that gives a dimension is left out.
inline bool AsksForHugePlanes(const std::string& text) {
    size_t line = 0;
    while (line < text.size()) {
        size_t end = text.find('\n', line);
        if (end == std::string::npos) end = text.size();
        if (text.substr(line, end - line).find("DIM") != std::string::npos) {
            int digits = 0;
            for (size_t i = line; i < end; i++) {
                digits = text[i] >= '0' && text[i] <= '9' ? digits + 1 : 0;
                if (digits >= 4) return true;
            }
        }
        line = end + 1;
    }
    return false;
}
