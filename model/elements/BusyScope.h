#pragma once

// Brackets one long operation (loading, saving, compiling, simulating): the constructor shows the
// status word and the watch cursor through the element UI, the destructor shows the word of the
// operation around it again, or "READY" when there is none, on every return path. So a compile
// inside a load shows "COMPILING" and then "LOADING" again. Scopes nest on the stack only.

class BusyScope {
public:
    explicit BusyScope(const char* word);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const char* word; // not owned: a literal
    BusyScope* outer;
};
