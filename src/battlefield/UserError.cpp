// A refused action shown in the error box.
#include "battlefield/UserError.h"

#include "core/TextTable.h"
#include "ui/ErrorBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

void ShowUserError(const char* textKey) {
    ErrorBox& box = GetErrorBox();
    box.message.Clear();
    box.AddLine(GetLanguageText(textKey));
    box.WrapText();
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
    PlayUiSound("Illegal.ogg");
}
