// Which tree the object tray places next.
#include "ui/TreeMenu.h"

#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "ui/CountMenuHost.h"
#include "ui/ToolTip.h"
#include "ui/WindowManager.h"

TreeMenu::TreeMenu() : PopUpMenu("TreeMenu", 32, 56.0f) {
    title = GetLanguageText("PickTree");
    Initialize();
    AddItem("TreeButton.tga", "PlainTree");
    AddItem("PineTreeButton.tga", "PineTree");
    AddItem("PalmTreeButton.tga", "PalmTree");
    AddItem("TreeCactusButton.tga", "Cactus");
    AddItem("Tree6Button.tga", "PlainTree2");
    AddItem("Tree7Button.tga", "PlainTree3");
    AddItem("TreeRandomButton.tga", "RandomTree");
}

void TreeMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    if (index >= 0 && host != nullptr) host->SetObjectVariant(CountMenuHost::kTree, index);
    GetWindowManager().CloseWindow(this);
}

void TreeMenu::GetToolTip() {
    if (items != nullptr && items->IsValidIndex(items->hovered)) {
        ::GetToolTip().SetForItem(GetLanguageText(items->names[items->hovered]), *items,
                                  *items->sprites[items->hovered]);
        return;
    }
    Window::GetToolTip();
}

TreeMenu& GetTreeMenu() {
    static TreeMenu menu;
    return menu;
}
