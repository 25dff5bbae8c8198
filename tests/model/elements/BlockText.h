#pragma once

// Reading and writing element blocks in tests: the text an element writes, and reads of a good
// block with one piece of it changed, checked against the first-error state.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/elements/AElement.h"
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
