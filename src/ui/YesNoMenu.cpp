// The two-button pop-up menu.
#include "ui/YesNoMenu.h"

#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "ui/ToolTip.h"

YesNoMenu::YesNoMenu(const String& windowName, float ring) : PopUpMenu(windowName, 48, ring) {
    title = GetLanguageText("AreYouSure?");
    Initialize();
    AddItem("YesButton.tga", "Yes");
    AddItem("NoButton.tga", "No");
}

void YesNoMenu::OnOpen() {
    PopUpMenu::OnOpen();
    MoveToScreenCentre();
}

void YesNoMenu::GetToolTip() {
    if (items != nullptr && (items->hovered == kYes || items->hovered == kNo)) {
        ::GetToolTip().Set(GetLanguageText(items->hovered == kYes ? "Yes" : "No"),
                           items->sprites[items->hovered]->GetScreenRect());
        return;
    }
    Window::GetToolTip();
}
