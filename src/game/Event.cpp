// The command record, the names of the commands, and the matching of events against the
// requirements of a tutorial step.
#include "game/Event.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "units/MapConditional.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/WorldObject.h"

namespace {

const char* const kEventTypeNames[kEventTypeCount] = {
    "BeginMoveWindow",
    "MoveWindow",
    "EndMoveWindow",
    "BeginResizeWindow",
    "ResizeWindow",
    "EndResizeWindow",
    "CloseWindow",
    "ScrollUp",
    "ScrollDown",
    "SetScroller",
    "SlideUp",
    "SlideDown",
    "SetSlider",
    "SetCameraTargetPosition",
    "SetCameraTargetPositionDirect",
    "SetCameraUp",
    "SetCameraView",
    "SetCameraType",
    "SetCameraMode",
    "ZoomCamera",
    "EndMoveCamera",
    "SetCameraFollowVorn",
    "SetCameraFollowSoccerBall",
    "SetCameraFollowNextFriendVorn",
    "SetCameraFollowPreviousFriendVorn",
    "SetCameraFollowNextEnemyVorn",
    "SetCameraFollowPreviousEnemyVorn",
    "SetCameraFollowMostRecentlyDamagedVorn",
    "Exit",
    "Cancel",
    "Reset",
    "Escape",
    "Disconnect",
    "AskDisconnect",
    "Back",
    "PickEntry",
    "AbortMenu",
    "PickTrayEntry",
    "GrabTrayEntry",
    "EditTrayEntry",
    "DeleteTrayEntry",
    "PlaceMouseInTray",
    "StopIntro",
    "AddChar",
    "EnterString",
    "EnterStatusString",
    "AbortString",
    "CursorHome",
    "CursorEnd",
    "PlaceNewObject",
    "OpenObjectCountMenu",
    "BeginTranslateObject",
    "TranslateObject",
    "EndTranslateObject",
    "BeginRotateObject",
    "RotateObject",
    "EndRotateObject",
    "DeleteObject",
    "PlaceNewVorn",
    "OpenVornCountMenu",
    "ControlPickVorn",
    "EditVorn",
    "SaveVorn",
    "WriteVorn",
    "DeleteVorn",
    "CopyVorn",
    "PasteVorn",
    "PlaceNewChassis",
    "OpenChassisCountMenu",
    "RandomizeColors",
    "OpenPattern",
    "SelectPattern",
    "CopyPattern",
    "DeletePattern",
    "RotateSelection",
    "AddPathPoint",
    "EditPathPoint",
    "PickPathPoint",
    "ControlPickPathPoint",
    "MovePathPoint",
    "PlacePathPoint",
    "DeletePathPoint",
    "PickPathPointLookAt",
    "MovePathPointLookAt",
    "PlacePathPointLookAt",
    "DeletePathPointLookAt",
    "PickPatternObjectIcon",
    "AddPatternObject",
    "EditPatternObject",
    "PickPatternObject",
    "MovePatternObject",
    "PlacePatternObject",
    "DeletePatternObject",
    "PickPatternObjectLookAt",
    "MovePatternObjectLookAt",
    "PlacePatternObjectLookAt",
    "DeletePatternObjectLookAt",
    "PickAction",
    "EditAction",
    "DeleteAction",
    "AddTargetAction",
    "MoveTargetAction",
    "PlaceTargetAction",
    "PickConditional",
    "DeleteConditional",
    "PickMapConditionalIcon",
    "AddMapConditional",
    "PickMapConditional",
    "MoveMapConditional",
    "PlaceMapConditional",
    "DeleteMapConditional",
    "DeleteProperty",
    "OpenPriorityMenu",
    "SetPriority",
    "PlaceNewSquad",
    "LoadSquad",
    "LoadSquadTray",
    "OpenSquadCountMenu",
    "AddSquadMember",
    "PickSquadMember",
    "ControlPickSquadMember",
    "PlaceSquadMember",
    "PlaceSquadMemberLookAt",
    "DeleteSquadMember",
    "PlaceSquadLineOfVorns",
    "PlaceSquadCircleOfVorns",
    "PlaceSquadLookAtPoint",
    "SelectAmmo",
    "DeleteAmmo",
    "DeleteSecondAmmo",
    "SelectWeapon",
    "SelectChassis",
    "BeginSelectGroup",
    "EndSelectGroup",
    "SetMouseHighlightObject",
    "ToggleSelectedObject",
    "ToggleHelp",
    "ToggleFrameMeter",
    "ToggleVornDebug",
    "ToggleVornRadar",
    "ToggleVornConditionals",
    "ToggleVornPatterns",
    "ToggleVornHealthGauge",
    "ToggleCollisions",
    "OpenConsoleWindow",
    "Pause",
    "Unpause",
    "VornTeamFriend",
    "VornTeamEnemy",
    "SetSignal1",
    "SetSignal2",
    "ClearSignal1",
    "ClearSignal2",
    "RestoreToLastPlayPoint",
    "ClearBattlefield",
    "LoadScenario",
    "SaveScenario",
    "OpenEscapeMenu",
    "OpenDisconnectMenu",
    "SetNetworkSignal1",
    "SetNetworkSignal2",
    "ToggleVIPStatusSelection",
    "FormSquadSelection",
    "SaveSquadSelection",
    "DeleteSelection",
    "DebugSelectPattern",
    "UnpauseDebug",
    "UnpauseNoDebug",
    "Paint",
    "RandomizeMap",
    "ConfirmRandomizeMap",
    "ClearMap",
    "ConfirmClearMap",
    "AddLaunchPoint",
    "ClearLaunchPoints",
    "AddFlyByPoint",
    "ClearFlyByPoints",
    "TestFlyByPoints",
    "RestoreKillTrayVorn",
    "ClearKillTray",
    "OpenPlayerMenu",
    "OpenCredits",
    "OpenOptions",
    "ShowIntroMovie",
    "ContinueGameAs",
    "OpenSplashScreen",
    "SetScreenSize",
    "CreateNewPlayer",
    "OpenPlayerListBox",
    "OpenMainMenu",
    "OpenGameMenu",
    "ContinueCampaign",
    "OpenTraining",
    "EditPlayerInfo",
    "ReplayMission",
    "StartNetworkGame",
    "JoinNetworkGame",
    "ShowWinningMovie",
    "",
    "",
    "StartTutorial",
    "SelectSquads",
    "SkipMission",
    "LaunchMission",
    "RetryMission",
    "PickUpgrade",
    "StartReplayMission",
    "SetServerScenario",
    "SetServerBudget",
    "SetServerSquadCount",
    "SetServerLaunchDelay",
    "SetServerMeteorDelay",
    "SetServerBoostCount",
    "SetServerGameRules",
    "SetGoalCount",
    "SetBallCount",
    "SetNetCount",
    "SetGameTimer",
    "SetVIPCount",
    "ToggleWeaponsAllowed",
    "SetServerIP",
    "PickZVKServer",
    "RegisterZVKServer",
    "SetServerName",
    "AddChatString",
    "AddStatusString",
    "ContinueTextBox",
    "ContinueErrorBox",
    "MakeWormChoice",
    "ResetWorms",
};

}  // namespace

Event::Event() = default;

void Event::Reset() {
    inPool = true;
    target = nullptr;
    words.Clear();
}

void Event::Clear() {
    Reset();
    point = Point();
    text.Clear();
    value = 0;
    type = kEventNone;
    position2 = Vector2();
    position3 = Vector3();
    object = nullptr;
    dueTime = 0.0f;
}

String Event::TypeName(int32_t type) {
    if (type < 0 || type >= kEventTypeCount) return String();
    return kEventTypeNames[type];
}

int32_t Event::FindType(const String& name) {
    for (int32_t type = 0; type < kEventTypeCount; ++type) {
        if (name.EqualsNoCase(kEventTypeNames[type])) return type;
    }
    return kEventNone;
}

bool Circle::Contains(const Vector2& p) const {
    const float dx = p.x - x;
    const float dy = p.y - y;
    return dx * dx + dy * dy <= radius * radius;
}

void Requirement::Set(EventTarget* requiredTarget, int32_t requiredType, int32_t requiredState) {
    target = requiredTarget;
    type = requiredType;
    state = requiredState;
    cursor = 0;
    words.Clear();
}

bool Requirement::AllSatisfied(const Array<Requirement*>& requirements) {
    return std::all_of(requirements.begin(), requirements.end(),
                       [](const Requirement* r) { return r->state == kSatisfied; });
}

String Requirement::NextWord() {
    if (AtEnd()) return String();
    return words[cursor++];
}

int32_t Requirement::NextInt() {
    const String word = NextWord();
    char* end = nullptr;
    const long long number = TextToInt64(word.CStr(), &end, 10);
    return int32_t(std::clamp<long long>(number, INT32_MIN, INT32_MAX));
}

Point Requirement::NextIntPair() {
    const int32_t x = NextInt();
    const int32_t y = NextInt();
    return Point(x, y);
}

Circle Requirement::NextCircle() {
    Circle circle;
    float* fields[3] = {&circle.x, &circle.y, &circle.radius};
    for (float* field : fields) {
        const String word = NextWord();
        char* end = nullptr;
        const float number = TextToFloat(word.CStr(), &end);
        *field = std::isfinite(number) ? number : 0.0f;
    }
    return circle;
}

namespace {

// How the words of a requirement test an event, by the event's type.
enum class WordForm {
    kAny,      // any words match
    kCircle3,  // "Circle" x y r around position3
    kCameraMode,
    kZoom,
    kFollowedUnit,  // each word is the unit's name
    kFirstWordText,
    kAnyWordText,
    kNewObject,       // circle, or the kind name of point.x
    kCountMenu,       // "Name" w and circles, at least one
    kMovedObject,     // "Vorn", "Name" w after it, circles, at least one
    kPlacedWithText,  // circle, or the text
    kWordAndInt,
    kEditedUnit,  // "Name" w, "Team" Friend/Enemy, at least one
    kInt,
    kIntPair,
    kCircle2,  // "Circle" x y r around position2
    kPatternObjectIcon,
    kPatternObject,  // circle, or the kind name of value
    kLookAtObject,   // circle, or the text followed by value
    kConditional,
    kMapConditionalIcon,
    kMapConditional,  // circle, or the map-conditional name of value
    kProperty,
    kGroupSelection,
    kUnitName,  // the object is a unit and each word is its name
    kNever,
};

WordForm FormOf(int32_t type) {
    switch (type) {
        case 6:
        case 12:
        case 16:
        case 30:
        case 43:
        case 46:
        case 47:
        case 48:
        case 62:
        case 68:
        case 74:
        case 79:
        case 80:
        case 81:
        case 82:
        case 119:
        case 120:
        case 121:
        case 122:
        case 139:
        case 141:
        case 145:
        case 146:
        case 149:
        case 150:
        case 151:
        case 152:
        case 164:
        case 179:
        case 205:
        case 226: return WordForm::kAny;
        case 13:
        case 20: return WordForm::kCircle3;
        case 18: return WordForm::kCameraMode;
        case 19: return WordForm::kZoom;
        case 21: return WordForm::kFollowedUnit;
        case 35:
        case 37:
        case 38:
        case 39:
        case 40:
        case 114:
        case 115:
        case 117:
        case 118:
        case 123: return WordForm::kFirstWordText;
        case 41:
        case 44: return WordForm::kAnyWordText;
        case 49: return WordForm::kNewObject;
        case 50:
        case 59: return WordForm::kCountMenu;
        case 51:
        case 52:
        case 53:
        case 54:
        case 55:
        case 56: return WordForm::kMovedObject;
        case 58:
        case 67:
        case 178: return WordForm::kPlacedWithText;
        case 60:
        case 93:
        case 94:
        case 116: return WordForm::kWordAndInt;
        case 61: return WordForm::kEditedUnit;
        case 70:
        case 71:
        case 73:
        case 76:
        case 78:
        case 127:
        case 130: return WordForm::kInt;
        case 72:
        case 97:
        case 99: return WordForm::kIntPair;
        case 75:
        case 84:
        case 100:
        case 102: return WordForm::kCircle2;
        case 86: return WordForm::kPatternObjectIcon;
        case 87:
        case 88:
        case 89:
        case 90:
        case 91: return WordForm::kPatternObject;
        case 95: return WordForm::kLookAtObject;
        case 103: return WordForm::kConditional;
        case 105: return WordForm::kMapConditionalIcon;
        case 106:
        case 107:
        case 108:
        case 109: return WordForm::kMapConditional;
        case 111: return WordForm::kProperty;
        case 133: return WordForm::kGroupSelection;
        case 135:
        case 140: return WordForm::kUnitName;
        default: return WordForm::kNever;
    }
}

bool Is(const String& word, const char* keyword) { return word.EqualsNoCase(keyword); }

// The table's name of the index, compared without case; an index outside the table
// (from a damaged script or a peer) never matches.
bool IsTableName(const String& word, const char* const* table, int count, int32_t index) {
    return index >= 0 && index < count && Is(word, table[index]);
}

// The event's object when it is a unit; the unit fields are read only after this test.
const Vorn* UnitOf(const Event& event) {
    if (event.object == nullptr || event.object->kind != kKindVorn) return nullptr;
    return static_cast<const Vorn*>(event.object);
}

bool HasCircleWords(const Requirement& requirement) { return requirement.WordsLeft() >= 3; }

// The circle's centre on the ground; without an arena the ground is at height 0.
Vector3 GroundPoint(float x, float y) {
    const float height = gArena != nullptr ? gArena->GetGroundHeight(x, y) : 0.0f;
    return Vector3(x, y, height);
}

Vector3 NearestImageOf(const Vector3& reference, const Vector3& point) {
    return gArena != nullptr ? gArena->NearestImage(reference, point) : point;
}

// Reads x y r after a "Circle" word: position3 (its wrap-around copy nearest the
// circle) must lie within it.
bool WithinCircle3(Requirement& requirement, const Event& event) {
    if (!HasCircleWords(requirement)) return false;
    const Circle circle = requirement.NextCircle();
    const Vector3 centre = GroundPoint(circle.x, circle.y);
    const Vector3 image = NearestImageOf(centre, event.position3);
    return circle.Contains(Vector2(image.x, image.y));
}

bool WithinCircle2(Requirement& requirement, const Event& event) {
    if (!HasCircleWords(requirement)) return false;
    return requirement.NextCircle().Contains(event.position2);
}

bool MatchCameraMode(Requirement& requirement, const Event& event) {
    const String word = requirement.NextWord();
    return (event.value == 0 && Is(word, "Overhead")) || (event.value == 1 && Is(word, "Tilted")) ||
           (event.value == 2 && Is(word, "Reset"));
}

bool MatchZoom(Requirement& requirement, const Event& event) {
    bool tested = false;
    while (!requirement.AtEnd()) {
        const String word = requirement.NextWord();
        if (Is(word, "ZoomIn")) {
            if (event.value < 1) return false;
            tested = true;
        } else if (Is(word, "ZoomOut")) {
            if (event.value >= 0) return false;
            tested = true;
        }
    }
    return tested;
}

bool MatchUnitName(Requirement& requirement, const Event& event) {
    const Vorn* unit = UnitOf(event);
    if (unit == nullptr) return false;
    while (!requirement.AtEnd()) {
        if (!String::EqualsNoCaseString(requirement.NextWord(), unit->name)) return false;
    }
    return true;
}

bool MatchAnyWordText(Requirement& requirement, const Event& event) {
    bool found = false;
    while (!requirement.AtEnd()) {
        if (String::EqualsNoCaseString(requirement.NextWord(), event.text)) found = true;
    }
    return found;
}

// "Circle" x y r tests position3; any other word must pass the word test.
template <typename WordTest>
bool MatchCircle3OrWords(Requirement& requirement, const Event& event, WordTest wordTest) {
    while (!requirement.AtEnd()) {
        const String word = requirement.NextWord();
        const bool passed = Is(word, "Circle") ? WithinCircle3(requirement, event) : wordTest(word);
        if (!passed) return false;
    }
    return true;
}

template <typename WordTest>
bool MatchCircle2OrWords(Requirement& requirement, const Event& event, WordTest wordTest) {
    while (!requirement.AtEnd()) {
        const String word = requirement.NextWord();
        const bool passed = Is(word, "Circle") ? WithinCircle2(requirement, event) : wordTest(word);
        if (!passed) return false;
    }
    return true;
}

bool MatchCountMenu(Requirement& requirement, const Event& event) {
    bool tested = false;
    while (!requirement.AtEnd()) {
        const String word = requirement.NextWord();
        bool passed = true;
        if (Is(word, "Name")) {
            if (requirement.AtEnd()) return false;
            passed = String::EqualsNoCaseString(requirement.NextWord(), event.text);
        } else if (Is(word, "Circle")) {
            passed = WithinCircle3(requirement, event);
        } else {
            continue;
        }
        if (!passed) return false;
        tested = true;
    }
    return tested;
}

bool MatchMovedObject(Requirement& requirement, const Event& event) {
    bool unitMeant = false;
    bool tested = false;
    while (!requirement.AtEnd()) {
        const String word = requirement.NextWord();
        bool passed = true;
        if (Is(word, "Vorn")) {
            unitMeant = true;
            continue;
        }
        if (Is(word, "Name")) {
            const Vorn* unit = UnitOf(event);
            if (!unitMeant || unit == nullptr || requirement.AtEnd()) return false;
            passed = String::EqualsNoCaseString(requirement.NextWord(), unit->name);
        } else if (Is(word, "Circle")) {
            passed = WithinCircle3(requirement, event);
        } else {
            continue;
        }
        if (!passed) return false;
        tested = true;
    }
    return tested;
}

bool MatchWordAndInt(Requirement& requirement, const Event& event) {
    if (requirement.WordsLeft() < 2) return false;
    const bool wordEqual = String::EqualsNoCaseString(requirement.NextWord(), event.text);
    return wordEqual && requirement.NextInt() == event.value;
}

bool IsOwnedBy(const Vorn& unit, const Player& player) { return unit.owner == &player; }

bool MatchEditedUnit(Requirement& requirement, const Event& event) {
    const Vorn* unit = UnitOf(event);
    if (unit == nullptr) return false;
    bool tested = false;
    while (!requirement.AtEnd()) {
        const String word = requirement.NextWord();
        bool passed = true;
        if (Is(word, "Name")) {
            if (requirement.AtEnd()) return false;
            passed = String::EqualsNoCaseString(requirement.NextWord(), unit->name);
        } else if (Is(word, "Team")) {
            if (requirement.AtEnd()) return false;
            const String team = requirement.NextWord();
            if (Is(team, "Friend")) {
                passed = IsOwnedBy(*unit, GetLocalPlayer());
            } else if (Is(team, "Enemy")) {
                passed = IsOwnedBy(*unit, GetOpponentPlayer());
            } else {
                passed = false;
            }
        } else {
            continue;
        }
        if (!passed) return false;
        tested = true;
    }
    return tested;
}

bool MatchEachWordIsName(Requirement& requirement, const char* const* table, int count, int32_t index) {
    while (!requirement.AtEnd()) {
        if (!IsTableName(requirement.NextWord(), table, count, index)) return false;
    }
    return true;
}

bool MatchLookAtObject(Requirement& requirement, const Event& event) {
    while (!requirement.AtEnd()) {
        const String word = requirement.NextWord();
        if (Is(word, "Circle")) {
            if (!WithinCircle2(requirement, event)) return false;
            continue;
        }
        if (!String::EqualsNoCaseString(word, event.text) || requirement.AtEnd()) return false;
        if (requirement.NextInt() != event.value) return false;
    }
    return true;
}

bool MatchProperty(Requirement& requirement, const Event& event) {
    if (requirement.WordsLeft() < 3) return false;
    const String kindWord = requirement.NextWord();
    const int32_t number = requirement.NextInt();
    const String propertyWord = requirement.NextWord();
    return IsTableName(kindWord, PatternObjectKindNames, kPatternObjectKindCount, event.value) &&
           number == event.point.x && IsTableName(propertyWord, PropertyNames, kPatternPropertyCount, event.point.y);
}

float HorizontalDistance(const Vector3& a, const Vector3& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// The selection dragged from position2 (on the ground) to position3 must reach around
// the whole circle.
bool MatchGroupSelection(Requirement& requirement, const Event& event) {
    requirement.NextWord();
    if (!HasCircleWords(requirement)) return false;
    const Circle circle = requirement.NextCircle();
    const Vector3 a = GroundPoint(event.position2.x, event.position2.y);
    const Vector3 b = event.position3;
    const Vector3 middle((a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f);
    const float selectionRadius = HorizontalDistance(a, middle);
    const Vector3 centre = GroundPoint(circle.x, circle.y);
    const Vector3 image = NearestImageOf(centre, middle);
    return selectionRadius >= HorizontalDistance(centre, image) + circle.radius;
}

bool MatchWords(Requirement& requirement, const Event& event) {
    const auto kindNameOfPointX = [&](const String& word) {
        return Is(word, WorldObject::KindName(event.point.x).CStr());
    };
    const auto isText = [&](const String& word) { return String::EqualsNoCaseString(word, event.text); };
    const auto patternObjectName = [&](const String& word) {
        return IsTableName(word, PatternObjectKindNames, kPatternObjectKindCount, event.value);
    };
    const auto mapConditionalName = [&](const String& word) {
        return IsTableName(word, MapConditionNames, kMapConditionKindCount, event.value);
    };
    switch (FormOf(event.type)) {
        case WordForm::kAny: return true;
        case WordForm::kCircle3: requirement.NextWord(); return WithinCircle3(requirement, event);
        case WordForm::kCameraMode: return MatchCameraMode(requirement, event);
        case WordForm::kZoom: return MatchZoom(requirement, event);
        case WordForm::kFollowedUnit: return MatchUnitName(requirement, event);
        case WordForm::kFirstWordText: return isText(requirement.NextWord());
        case WordForm::kAnyWordText: return MatchAnyWordText(requirement, event);
        case WordForm::kNewObject: return MatchCircle3OrWords(requirement, event, kindNameOfPointX);
        case WordForm::kCountMenu: return MatchCountMenu(requirement, event);
        case WordForm::kMovedObject: return MatchMovedObject(requirement, event);
        case WordForm::kPlacedWithText: return MatchCircle3OrWords(requirement, event, isText);
        case WordForm::kWordAndInt: return MatchWordAndInt(requirement, event);
        case WordForm::kEditedUnit: return MatchEditedUnit(requirement, event);
        case WordForm::kInt: return requirement.NextInt() == event.value;
        case WordForm::kIntPair: return requirement.WordsLeft() >= 2 && requirement.NextIntPair() == event.point;
        case WordForm::kCircle2: requirement.NextWord(); return WithinCircle2(requirement, event);
        case WordForm::kPatternObjectIcon:
            return MatchEachWordIsName(requirement, PatternObjectKindNames, kPatternObjectKindCount, event.value);
        case WordForm::kPatternObject: return MatchCircle2OrWords(requirement, event, patternObjectName);
        case WordForm::kLookAtObject: return MatchLookAtObject(requirement, event);
        case WordForm::kConditional:
            return MatchEachWordIsName(requirement, ConditionalNames, kConditionalCount, event.value);
        case WordForm::kMapConditionalIcon:
            return MatchEachWordIsName(requirement, MapConditionNames, kMapConditionKindCount, event.value);
        case WordForm::kMapConditional: return MatchCircle2OrWords(requirement, event, mapConditionalName);
        case WordForm::kProperty: return MatchProperty(requirement, event);
        case WordForm::kGroupSelection: return MatchGroupSelection(requirement, event);
        case WordForm::kUnitName: return MatchUnitName(requirement, event);
        case WordForm::kNever: return false;
    }
    return false;
}

bool RequirementMatches(Requirement& requirement, const Event& event) {
    requirement.cursor = 0;
    if (requirement.type != event.type || requirement.target != event.target) return false;
    if (requirement.words.IsEmpty()) return true;
    if (event.type < 6 || event.type > 226) return false;
    return MatchWords(requirement, event);
}

void MarkSatisfied(Array<Requirement*>& requirements, Requirement& matched) {
    if (matched.state == Requirement::kRequired) {
        matched.state = Requirement::kSatisfied;
        return;
    }
    if (matched.state != Requirement::kAlternative) return;
    for (Requirement* requirement : requirements) {
        if (requirement->state == Requirement::kAlternative) requirement->state = Requirement::kSatisfied;
    }
}

}  // namespace

bool Event::Matches(Array<Requirement*>& requirements, const Event& event) {
    bool matched = false;
    for (Requirement* requirement : requirements) {
        if (!RequirementMatches(*requirement, event)) continue;
        MarkSatisfied(requirements, *requirement);
        matched = true;
    }
    return matched;
}
