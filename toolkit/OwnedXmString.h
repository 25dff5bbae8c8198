#pragma once

#include <Xm/Xm.h>

// Owns one compound string and frees it when it goes out of scope. It moves but never copies,
// so a vector of them owns a list's items.
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
    OwnedXmString(OwnedXmString&& other) noexcept : string(other.string) { other.string = nullptr; }
    OwnedXmString& operator=(OwnedXmString&& other) noexcept {
        if (this != &other) {
            if (string != nullptr) XmStringFree(string);
            string = other.string;
            other.string = nullptr;
        }
        return *this;
    }

    XmString Get() const { return string; }

private:
    XmString string;
};
