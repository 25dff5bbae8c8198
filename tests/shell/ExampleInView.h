#pragma once

// The example architecture as the end-to-end tests that drag its first element give it to the
// program: that element moved near the middle of the working area, which the view shows. For the
// tests that start the real program (QUIRAN_SOURCE_DIR).

#include <string>

#include "tests/support/program/ProgramDriver.h"

const char* const kExample = QUIRAN_SOURCE_DIR "/examples/pipeline.arc";
// Where the first element lies on the working area.
const int kFirstX = 630; // on the grid, which the element snaps to
const int kFirstY = 480;

inline std::string ExampleWithTheFirstElementInView() {
    std::string text = e2e::ReadAll(kExample);
    const std::string from = "POS:  (450,435)";
    const size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), "POS:  (630,480)");
    return text;
}
