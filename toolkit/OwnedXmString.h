#pragma once

#include <Xm/Xm.h>

// Owns one compound string and frees it when it goes out of scope.
class OwnedXmString {
public:
    // A plain string in the default character set.
    explicit OwnedXmString(const char* text)
        : string(XmStringCreateLocalized(const_cast<char*>(text))) {}
    // Takes over a compound string made elsewhere.
    explicit OwnedXmString(XmString owned) : string(owned) {}
    ~OwnedXmString() {
        if (string != nullptr) {
            XmStringFree(string);
        }
    }
    OwnedXmString(const OwnedXmString&) = delete;
    OwnedXmString& operator=(const OwnedXmString&) = delete;

    XmString Get() const { return string; }

private:
    XmString string;
};
