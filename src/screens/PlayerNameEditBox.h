#pragma once
// Asks for the new player's name; accepting makes the profile and opens the game menu.
#include "ui/EditBox.h"

class PlayerNameEditBox : public EditBox {
public:
    PlayerNameEditBox();

    void OnOpen() override;
    void DrawContents() override;
    void Accept() override;
    void Cancel() override;
    String Rejection(const String& whole) const override;
};

PlayerNameEditBox& GetPlayerNameEditBox();
