// One action of a path point, its keyword table and its line of the text form.
#include "units/Action.h"

#include <cstring>

#include "core/Stream.h"
#include "core/String.h"

const char* const ActionNames[kActionKindCount] = {
    "TurnToFace", "SetSwitch1",   "ClearSwitch1", "SetSwitch2",   "ClearSwitch2",
    "SetSignal1", "ClearSignal1", "SetSignal2",   "ClearSignal2", "Fire1",
    "Fire2",      "Fire1Up",      "Fire2Up",      "ClearBeacon",  "SetTimer",
};

const char* const ActionButtonNames[kActionKindCount] = {
    "TurnToFaceButton.tga",       "Switch1OnButton.tga",      "Switch1OffButton.tga",      "Switch2OnButton.tga",
    "Switch2OffButton.tga",       "SignalOnActionButton.tga", "SignalOffActionButton.tga", "Signal2OnActionButton.tga",
    "Signal2OffActionButton.tga", "FireButton.tga",           "Fire2Button.tga",           "FireUpButton.tga",
    "Fire2UpButton.tga",          "ClearBeaconButton.tga",    "SetTimerButton.tga",
};

bool IsAimedActionKind(int32_t kind) {
    switch (kind) {
        case kActionTurnToFace:
        case kActionFire1:
        case kActionFire2:
        case kActionFire1Up:
        case kActionFire2Up: return true;
        default: return false;
    }
}

Action& Action::operator=(const Action& other) {
    kind = other.kind;
    point = other.point;
    seconds = other.seconds;
    return *this;
}

void Action::Clear() {
    kind = kNone;
    point = Vector2();
    worldPoint = Vector3();
    seconds = 0.0f;
}

bool Action::KindFromName(const char* text) {
    for (int32_t i = 0; i < kActionKindCount; ++i) {
        if (std::strcmp(text, ActionNames[i]) == 0) {
            kind = i;
            return true;
        }
    }
    // Older unit files name the timer action by what it was first used for.
    if (std::strcmp(text, "Delay") == 0) {
        kind = kActionSetTimer;
        return true;
    }
    return false;
}

void Action::Write(Stream& stream, const Action& action) {
    if (!action.HasKind()) {
        return;
    }
    stream << ActionNames[action.kind] << " ";
    action.point.WriteText(stream);
    if (action.kind == kActionSetTimer) {
        stream << " " << action.seconds;
    }
}

bool Action::Read(Stream& stream, Action& action) {
    String word;
    String::ReadToken(stream, word);
    const bool known = action.KindFromName(word.CStr());
    action.point.ReadText(stream);
    if (known && action.kind == kActionSetTimer) {
        stream >> action.seconds;
    }
    return known && !stream.HasError();
}
