// Which rock the object tray places next.
#include "ui/RockMenu.h"

#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "ui/CountMenuHost.h"
#include "ui/ToolTip.h"
#include "ui/WindowManager.h"

RockMenu::RockMenu() : PopUpMenu("RockMenu", 32, 56.0f) {
    title = GetLanguageText("PickRock");
    Initialize();
    AddItem("RockButton.tga", "SmoothRock");
    AddItem("Rock2Button.tga", "FlatRock");
    AddItem("Rock3Button.tga", "BrownRock");
    AddItem("Rock4Button.tga", "GreenRock");
    AddItem("Rock5Button.tga", "BlackRock");
    AddItem("Rock6Button.tga", "TanRock");
    AddItem("RockRandomButton.tga", "RandomRock");
}

void RockMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    if (index >= 0 && host != nullptr) host->SetObjectVariant(CountMenuHost::kRock, index);
    GetWindowManager().CloseWindow(this);
}

void RockMenu::GetToolTip() {
    if (items != nullptr && items->IsValidIndex(items->hovered)) {
        ::GetToolTip().SetForItem(GetLanguageText(items->names[items->hovered]), *items,
                                  *items->sprites[items->hovered]);
        return;
    }
    Window::GetToolTip();
}

RockMenu& GetRockMenu() {
    static RockMenu menu;
    return menu;
}
