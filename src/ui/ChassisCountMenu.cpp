// A ring of nine count buttons.
#include "ui/ChassisCountMenu.h"

#include "core/TextTable.h"

ChassisCountMenu::ChassisCountMenu(const String& windowName, const char* titleKey) : PopUpMenu(windowName, 48, 96.0f) {
    if (titleKey != nullptr) title = GetLanguageText(titleKey);
    Initialize();
    for (int32_t i = 0; i < kCountButtons; ++i) {
        const String count = String::FromInt(i + 1);
        AddItem(count + "Button.tga", count);
    }
}
