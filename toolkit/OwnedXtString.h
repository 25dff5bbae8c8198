#pragma once

#include <X11/Intrinsic.h>

// Owns one string that the toolkit returned (a text field's value, a conversion result) and
// frees it with XtFree when it goes out of scope.
class OwnedXtString {
public:
    explicit OwnedXtString(char* owned) : string(owned) {}
    ~OwnedXtString() { XtFree(string); }
    OwnedXtString(const OwnedXtString&) = delete;
    OwnedXtString& operator=(const OwnedXtString&) = delete;

    const char* Get() const { return string; }

private:
    char* string;
};
