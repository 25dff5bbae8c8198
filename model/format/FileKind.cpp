#include "model/format/FileKind.h"

#include <cstring>

const FileKind kFileKindListOrder[kFileKindCount] = {
    kArchitectureFile, kLibraryFile, kMatrixFile, kMaskFile, kRuleFile,  kPermFile,   kLogicFile,
    kSSeedFile,        kCElemFile,   kSplitFile,  kJoinFile, kInputFile, kOutputFile, kMacroFile,
};

namespace {

struct KindInfo {
    const char* filter;
    const char* label;
};

const KindInfo kKinds[kFileKindCount] = {
    {"*.mask", "Mask: "},   {"*.rule", "Rule: "},     {"*.perm", "Perm: "},
    {"*.logic", "Logic: "}, {"*.sseed", "S-SEED: "},  {"*.split", "Split: "},
    {"*.join", "Join: "},   {"*.input", "Input: "},   {"*.output", "Output: "},
    {"*.celem", "C++: "},   {"*.macro", "Macro: "},   {"*.arc", "Architecture: "},
    {"*.lib", "Library: "}, {"*.matrix", "Matrix: "},
};

struct KindStore {
    std::string directory[kFileKindCount];
    std::string filter[kFileKindCount];

    KindStore() {
        for (int k = 0; k < kFileKindCount; ++k)
            filter[k] = kKinds[k].filter;
    }
};

KindStore gStore;

bool IsKind(FileKind kind) {
    return kind >= 0 && kind < kFileKindCount;
}

} // namespace

const char* DefaultFilterPattern(FileKind kind) {
    return IsKind(kind) ? kKinds[kind].filter : "";
}

const char* FileKindLabel(FileKind kind) {
    return IsKind(kind) ? kKinds[kind].label : "";
}

void ResetFileKinds() {
    gStore = KindStore();
}

void SetDirectory(const char* text, FileKind kind) {
    if (IsKind(kind)) gStore.directory[kind] = text ? text : "";
}

void SetFilterPattern(const char* text, FileKind kind) {
    if (IsKind(kind)) gStore.filter[kind] = text ? text : "";
}

const char* GetDirectory(FileKind kind) {
    return IsKind(kind) ? gStore.directory[kind].c_str() : "";
}

const char* GetFilterPattern(FileKind kind) {
    return IsKind(kind) ? gStore.filter[kind].c_str() : "";
}

std::string MakeDirMask(FileKind kind, const char* currentFileName) {
    if (currentFileName && currentFileName[0] != '\0') {
        const char* lastSlash = std::strrchr(currentFileName + 1, '/');
        if (lastSlash) {
            return std::string(currentFileName, lastSlash + 1) + GetFilterPattern(kind);
        }
    }
    std::string mask = GetDirectory(kind);
    if (!mask.empty() && mask.back() != '/') mask += '/';
    return mask + GetFilterPattern(kind);
}
