// The network game's number boxes.
#include "ui/NumberEditBox.h"

#include "core/TextTable.h"
#include "ui/NetworkSettings.h"

NumberEditBox::NumberEditBox(const String& windowName, const String& promptKey, const char* limitsKey,
                             const char* unitsKey)
    : EditBox(windowName, promptKey), limitsKey_(limitsKey), unitsKey_(unitsKey) {
    selectsRefusedText = true;
}

void NumberEditBox::OnOpen() {
    AllowOnly("0123456789");
    const NetworkSettings* settings = GetNetworkSettings();
    text = settings != nullptr ? String::FromInt(Value(*settings)) : String();
    EditBox::OnOpen();
}

String NumberEditBox::Rejection(const String& whole) const {
    const NetworkSettings* settings = GetNetworkSettings();
    if (whole.IsEmpty() || settings == nullptr) return String();
    const int32_t value = ReadNumber(whole);
    const int32_t smallest = Smallest(*settings);
    const int32_t largest = Largest(*settings);
    if (value >= smallest && value <= largest) return String();
    return GetLanguageText(limitsKey_) + String::FromInt(smallest) + GetLanguageText("LimitsAnd") +
           String::FromInt(largest) + GetLanguageText(unitsKey_);
}

void NumberEditBox::Accept() {
    NetworkSettings* settings = GetNetworkSettings();
    if (text.IsEmpty() || settings == nullptr || !Rejection(text).IsEmpty()) return;
    // The box opens on the value in force, which may stand below what was chosen (the
    // budget while more players share the total): left as it opened, it chooses nothing;
    // a figure typed is chosen, even the one shown.
    if (!textEdited) return;
    SetValue(*settings, ReadNumber(text));
}
