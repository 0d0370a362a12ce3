// Asks for the seconds of a pattern's timer action.
#include "ui/TimerEditBox.h"

#include <cmath>

#include "units/Action.h"

TimerEditBox::TimerEditBox() : EditBox("TimerEditBox", "TimerValue?") { Initialize(); }

void TimerEditBox::OnOpen() {
    AllowOnly("0123456789.");
    text.Clear();
    if (action != nullptr) text = String::FromFloat(action->seconds, 1);
    EditBox::OnOpen();
}

bool TimerEditBox::IsValidText(const String& proposed) const { return proposed.Find(".") == proposed.FindLast("."); }

void TimerEditBox::Accept() {
    if (text.IsEmpty() || action == nullptr) return;
    const float seconds = text.ToFloat();
    if (!std::isfinite(seconds) || seconds == action->seconds) return;
    action->seconds = seconds;
    if (listener != nullptr) listener->ApplyChanges();
}

void TimerEditBox::Cancel() {
    if (!newAction || action == nullptr || listener == nullptr) return;
    Action* dropped = action;
    action = nullptr;
    newAction = false;
    listener->DropAction(dropped);
}

TimerEditBox& GetTimerEditBox() {
    static TimerEditBox box;
    return box;
}
