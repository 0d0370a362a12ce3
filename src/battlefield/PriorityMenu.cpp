// Sets the priority of the edited pattern.
#include "battlefield/PriorityMenu.h"

#include "core/TextTable.h"
#include "ui/TimerEditBox.h"
#include "ui/WindowManager.h"
#include "units/Pattern.h"

PriorityMenu::PriorityMenu() : PopUpMenu("PriorityMenu", 48, 96.0f) {
    title = GetLanguageText("ChangePriority");
    Initialize();
    for (int32_t n = 0; n < kPriorityCount; ++n) {
        const String digit = String::FromInt(n);
        AddItem(digit + "Button.tga", digit);
    }
}

void PriorityMenu::OnChoice(int32_t index) {
    if (index >= 0 && index < kPriorityCount && pattern != nullptr && pattern->priority != index) {
        pattern->priority = index;
        if (listener != nullptr) listener->ApplyChanges();
    }
    GetWindowManager().CloseWindow(this);
}

PriorityMenu& GetPriorityMenu() {
    static PriorityMenu menu;
    return menu;
}
