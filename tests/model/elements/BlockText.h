#pragma once

// Reading and writing element blocks in tests: the text an element writes, and reads of a good
// block with one piece of it changed, checked against the first-error state.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/format/ParseError.h"

inline std::string WriteBlock(AElement& element, int level, FileArgument* source = nullptr) {
    std::ostringstream out;
    EXPECT_EQ(element.Write(out, level, source), 0);
    return out.str();
}

inline int ReadBlock(AElement& element, const std::string& text, FileArgument* target = nullptr) {
    ClearParseError();
    std::istringstream in(text);
    return element.Read(in, target);
}

// The good block with its first occurrence of find replaced, and the error that must follow.
struct BrokenBlock {
    const char* find;
    const char* replace;
    int code;
    int line;
    const char* token;
};

inline std::string Broken(const std::string& good, const BrokenBlock& broken) {
    std::string text = good;
    size_t at = text.find(broken.find);
    EXPECT_NE(at, std::string::npos) << broken.find;
    if (at != std::string::npos) text.replace(at, std::string(broken.find).size(), broken.replace);
    return text;
}

inline void ExpectReadError(AElement& element, const std::string& good, const BrokenBlock& broken,
                            FileArgument* target = nullptr) {
    SCOPED_TRACE(broken.replace);
    EXPECT_EQ(ReadBlock(element, Broken(good, broken), target), broken.code);
    EXPECT_EQ(GetParseError(), broken.code);
    EXPECT_EQ(GetParseErrorLine(), broken.line);
    const char* token = GetParseErrorToken();
    EXPECT_STREQ(token != nullptr ? token : "", broken.token);
}

// The text with every line but the blank ones indented by level steps of two blanks.
inline std::string Indented(const std::string& text, int level) {
    const std::string step(2 * level, ' ');
    std::string out;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text[begin] != '\n') out += step;
        out.append(text, begin, end - begin);
        begin = end;
    }
    return out;
}

// The block a macro port (kMacroInput or kMacroOutput) on a plane of 4 by 2 writes at level 0.
inline std::string PortBlock(uint32_t type, const std::string& comment, int number) {
    const bool input = type == kMacroInput;
    const std::string name = input ? "MACRO_INPUT" : "MACRO_OUTPUT";
    const std::pair<const char*, std::string> rows[] = {
        {"NAME:       ", name},
        {"COMMENT:    ", comment},
        {"INPUTS:     ", input ? "0" : "1"},
        {"OUTPUTS:    ", input ? "1" : "0"},
        {"INPUT_DIM:  ", input ? "(-,-)" : "(4,2)"},
        {"OUTPUT_DIM: ", input ? "(4,2)" : "(-,-)"},
        {"CLOCK:      ", "0"},
        {"TIME:       ", "0"},
    };
    std::string text = "TYPE: " + name + "\nINTERNAL_DATA {\n";
    for (const auto& row : rows)
        text += "  " + std::string(row.first) + row.second + "\n";
    text += "}\nLOGICAL_DATA {\n  " + std::string(input ? "INPUT_NR: " : "OUTPUT_NR: ");
    return text + std::to_string(number) + "\n}\n";
}
