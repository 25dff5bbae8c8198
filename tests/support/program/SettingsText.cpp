#include "tests/support/program/SettingsText.h"

#include <utility>

namespace e2e {

namespace {

// Each kind of file: its key and its filter's extension.
const std::pair<const char*, const char*> kKinds[] = {
    {"ARCHITECTURE", "arc"}, {"LIBRARY", "lib"}, {"MATRIX", "matrix"}, {"MASK", "mask"},
    {"RULE", "rule"},        {"PERM", "perm"},   {"LOGIC", "logic"},   {"S-SEED", "sseed"},
    {"C++", "celem"},        {"SPLIT", "split"}, {"JOIN", "join"},     {"INPUT", "input"},
    {"OUTPUT", "output"},    {"MACRO", "macro"}};

// One row of a block: the key and its colon padded to width, then the value.
std::string Row(const std::string& key, size_t width, const std::string& value) {
    std::string row = "  " + key + ":";
    row.append(width > key.size() + 1 ? width - key.size() - 1 : 0, ' ');
    return row + value + "\n";
}

} // namespace

std::string SettingsHeader() {
    return "# QUIRAN Pro settings\n"
           "# Written by Options > Save as Default, read when QUIRAN starts.\n"
           "# Lines that begin with '#' are comments.\n"
           "\n";
}

std::string OptionsText(const std::string& dimension, bool simulationBox, const std::string& cc) {
    std::string text = SettingsHeader() + "DIRECTORIES {\n";
    for (const auto& kind : kKinds)
        text += Row(kind.first, 14, "NOT_DEFINED");
    text += "}\nFILTER {\n";
    for (const auto& kind : kKinds)
        text += Row(kind.first, 14, std::string("*.") + kind.second);
    text += "}\nGRID {\n";
    text += Row("VISIBLE", 11, "ON") + Row("DIMENSION", 11, "(15,15)") + Row("RASTERIZE", 11, "ON");
    text += "}\nSTARTUP {\n";
    text += Row("DIMENSION", 17, dimension) + Row("ELEMENT_WINDOW", 17, "OFF") +
            Row("OVERVIEW_WINDOW", 17, "OFF") +
            Row("SIMULATION_BOX", 17, simulationBox ? "ON" : "OFF") +
            Row("LIBRARY", 17, "NOT_DEFINED");
    text += "}\nCOMPILER {\n";
    text += Row("CC", 10, cc) + Row("CC_FLAGS", 10, "") + Row("LD_FLAGS", 10, "");
    return text + "}\n\n";
}

std::string DefaultTimesText() {
    // The keys' own spacing: the C++ row has always been written two blanks short.
    const char* const rows[][2] = {{"MASK:   ", "0"},  {"RULE:   ", "0"}, {"PERM:   ", "0"},
                                   {"LOGIC:  ", "20"}, {"C++:  ", "10"},  {"S-SEED: ", "5"},
                                   {"SPLIT:  ", "0"},  {"JOIN:   ", "0"}, {"INPUT:  ", "10"},
                                   {"OUTPUT: ", "10"}};
    std::string text = SettingsHeader() + "DEFAULT_TIMES {\n";
    for (const auto& row : rows)
        text += std::string("  ") + row[0] + row[1] + "\n";
    return text + "}\n\n";
}

} // namespace e2e
