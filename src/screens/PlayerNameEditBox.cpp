// Asks for the new player's name.
#include "screens/PlayerNameEditBox.h"

#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "screens/FrontEndShell.h"
#include "screens/GameMenu.h"
#include "screens/PlayerListBox.h"
#include "screens/PlayerMenu.h"
#include "ui/ErrorBox.h"
#include "ui/WindowManager.h"

PlayerNameEditBox::PlayerNameEditBox() : EditBox("PlayerNameEditBox", "NewPlayerName?") {
    refusedCharacterKey = "NameCharacters";
    Initialize();
}

void PlayerNameEditBox::OnOpen() {
    text.Clear();
    EditBox::OnOpen();
}

// A new player needs a name: Return on an empty box says so, and only Escape or Cancel
// goes back.
String PlayerNameEditBox::Rejection(const String& whole) const {
    return whole.IsEmpty() ? GetLanguageText("PlayerNameEmpty") : String();
}

void PlayerNameEditBox::DrawContents() {
    EditBox::DrawContents();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawMessageLine(GetLanguageText("NewPlayer"), 0);
    renderer.SetBlendOff();
}

void PlayerNameEditBox::Accept() {
    if (text.IsEmpty()) return;
    FrontEndShell& shell = GetFrontEndShell();
    String failureKey;
    WindowManager& manager = GetWindowManager();
    if (!shell.CreatePlayer(text, failureKey)) {
        ErrorBox& box = GetErrorBox();
        box.message.Clear();
        box.AddLine(GetLanguageText(failureKey.CStr()));
        box.WrapText();
        // Going on from the error asks for a name again.
        box.nextWindow = this;
        box.bringNextToFront = true;
        manager.OpenWindow(&box);
        manager.BringToFront(&box);
        return;
    }
    ClearRecentLists();
    manager.CloseAllWindows();
    manager.OpenWindow(&GetGameMenu());
    shell.SetLastPlayerName(text);
    shell.WriteOptions();
}

void PlayerNameEditBox::Cancel() {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&GetPlayerMenu());
}

PlayerNameEditBox& GetPlayerNameEditBox() {
    static PlayerNameEditBox box;
    return box;
}
