#pragma once
// The joining player types the server's address. The client set-up screen shows the
// address it edits; the profile keeps it for the next time.
#include "ui/EditBox.h"

class ServerIPEditBox : public EditBox {
public:
    ServerIPEditBox();
    void OnOpen() override;
    void Accept() override;
    // The set-up screen's address text, which the box starts from and sets; none: the
    // profile's.
    void SetAddress(String* address) { address_ = address; }
    // The part after the last ':' ("name:address" rows of the lobby), or the whole text.
    static String HostPart(const String& address);

private:
    String* address_ = nullptr;
};

ServerIPEditBox& GetServerIPEditBox();
