// A yes-or-no question with an action on "Yes".
#include "ui/ConfirmationMenu.h"

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/TextFitting.h"
#include "ui/WindowManager.h"

namespace {
constexpr int32_t kQuestionWidth = 136;
}

ConfirmationMenu::ConfirmationMenu(const String& windowName, const char* questionKey, float ring)
    : YesNoMenu(windowName, ring) {
    if (questionKey != nullptr && questionKey[0] != '\0') title = GetLanguageText(questionKey);
}

String ConfirmationMenu::NamedQuestion(const char* questionKey, const String& name) {
    StringArray paragraphs;
    paragraphs.Append(name);
    StringArray lines;
    SplitWords(paragraphs, lines, GetFont(), kTitleScale, kQuestionWidth, 0);
    String question = GetLanguageText(questionKey);
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0) question += "\n";
        question += lines[i];
    }
    return question + GetLanguageText("EOL?");
}

void ConfirmationMenu::OnOpen() {
    if (namedQuestionKey_ == nullptr) {
        YesNoMenu::OnOpen();
        return;
    }
    PopUpMenu::OnOpen();
    title = NamedQuestion(namedQuestionKey_, name);
}

void ConfirmationMenu::OnChoice(int32_t index) {
    if (index == kYes) {
        OnYes();
    } else {
        OnNotYes(index);
    }
    GetWindowManager().CloseWindow(this);
    GetMouse().ShowCursor();
}

void ConfirmationMenu::OnNotYes(int32_t) {}
