#pragma once
// The joining player types the server's address. The client set-up screen shows the
// address it edits; the profile keeps it for the next time.
#include "ui/EditBox.h"

class ServerIPEditBox : public EditBox {
public:
    ServerIPEditBox();
    void OnOpen() override;
    void Accept() override;
    String Rejection(const String& whole) const override;
    // The set-up screen's address text, which the box starts from and sets; none: the
    // profile's.
    void SetAddress(String* address) { address_ = address; }
    // The part after the last ':' ("name:address" rows of the lobby), or the whole text.
    static String HostPart(const String& address);
    // Four numbers of 0 to 255 joined by dots, or a host name of dot-separated labels of
    // letters, digits and inner hyphens whose last label is not a number.
    static bool IsWellFormed(const String& host);

private:
    String* address_ = nullptr;
};

ServerIPEditBox& GetServerIPEditBox();
