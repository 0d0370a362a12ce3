#pragma once
// A yes-or-no question with an action on "Yes". Every answer closes the menu and shows
// the system cursor again. Menus that name a unit, squad, scenario or player build their
// question when they open and stay where their opener placed them.
#include "ui/YesNoMenu.h"

class ConfirmationMenu : public YesNoMenu {
public:
    // A question of its own, or the menu's "Are you sure?" for an empty key.
    ConfirmationMenu(const String& windowName, const char* questionKey, float ring = kRingRadius);

    void OnOpen() override;
    void OnChoice(int32_t index) override;

    virtual void OnYes() = 0;
    // "No" or Escape (-1).
    virtual void OnNotYes(int32_t index);

    // The language text of the key, the name wrapped to 136 pixels and "EOL?".
    static String NamedQuestion(const char* questionKey, const String& name);

    // Set by the opener of a menu that asks about a name.
    String name;

protected:
    // Named menus build their question on opening and do not centre themselves.
    const char* namedQuestionKey_ = nullptr;
};
