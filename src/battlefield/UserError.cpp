// A refused action shown in the error box.
#include "battlefield/UserError.h"

#include "core/TextTable.h"
#include "ui/ErrorBox.h"

void ShowUserError(const char* textKey) { ShowRefusal(GetLanguageText(textKey)); }
