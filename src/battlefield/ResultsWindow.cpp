// The screen after a network battle.
#include "battlefield/ResultsWindow.h"

#include <algorithm>

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "ui/ConfirmDisconnectMenu.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

const char* const kRulesKeys[] = {"GameRulesLastVornStanding", "GameRulesKingOfTheHill", "GameRulesShootForTheStars",
                                  "GameRulesSoccer"};
constexpr int32_t kRulesCount = 4;
constexpr float kRulesScale = 0.75f;
constexpr float kMarkPulse = 1.6f;

String Text(const char* key) { return GetLanguageText(key); }

// A count with its word, the singular one for exactly one.
String Counted(int32_t count, const char* one, const char* many) {
    return String::FromInt(count) + " " + Text(count == 1 ? one : many);
}

}  // namespace

ResultsWindow::ResultsWindow() : Window("ResultsWindow") {
    SetFullScreen(true);
    buttons.Add("YesButton.tga", "");
    buttons.Add("NoButton.tga", "");
    Initialize();
}

const char* ResultsWindow::RulesKey(int32_t rules) {
    return rules >= 0 && rules < kRulesCount ? kRulesKeys[rules] : "";
}

String ResultsWindow::ResultLine(const Player& player, int32_t rules) {
    switch (rules) {
        case 0:
            return String::FromInt(player.vornsAlive) + " " + Text("ResultsAlive") + Text("Separator") + " " +
                   Counted(player.kills, "ResultsKill", "ResultsKills") + Text("Separator") + " " +
                   String::FromInt(player.losses) + " " + Text("ResultsDeaths");
        case 1: return String::FromFloat(player.greatestHeight, 2) + " " + Text("ResultsMeters");
        case 2: return Counted(player.vipCount, "VIP", "VIPsAlive");
        case 3: return Counted(player.goalCount, "ResultsGoal", "ResultsGoals");
        default: return String();
    }
}

void ResultsWindow::FillLines() {
    const Array<Player*>& players = GetPlayerRoster().networkPlayers;
    const int32_t rules = host != nullptr ? host->GameRules() : -1;
    for (int32_t i = 0; i < players.Count(); ++i) {
        const String& name = players[i]->ShownName();
        auto standing = std::find_if(standings.begin(), standings.end(),
                                     [&name](const Standing& shown) { return shown.name == name; });
        if (standing == standings.end()) {
            Standing added{name, String(), players[i]->won != 0};
            if (rules >= 0 && rules < kRulesCount) added.line = ResultLine(*players[i], rules);
            standing = standings.insert(standings.end(), added);
        }
        while (lines.Count() <= i) lines.Append(String());
        if (rules >= 0 && rules < kRulesCount) lines[i] = standing->line;
    }
}

void ResultsWindow::OnOpen() {
    const Array<Player*>& players = GetPlayerRoster().networkPlayers;
    // Every player of the battle, the local one (listed first) too.
    for (int32_t i = 0; i < players.Count(); ++i) {
        if (host != nullptr) host->ShowPose(*players[i], players[i]->won != 0);
    }
    standings.clear();
    FillLines();
    const Game* game = CurrentGame();
    buttons.SetVisible(kSetUpGame, game != nullptr && game->IsNetworkServer());
    buttons.SetVisible(kDisconnect, true);
    Refresh();
}

void ResultsWindow::OnClose() {
    if (host != nullptr) host->ResetPoses();
}

void ResultsWindow::Refresh() {
    buttons.EnsureSprites();
    Point places[4];
    const Window* chat = GetWindowManager().FindWindowByName("ChatWindow");
    GetBottomButtonPositions(UiScreenRect(), chat != nullptr ? chat->Rect() : IntRect(), places);
    buttons.PlaceAt(kSetUpGame, places[0]);
    buttons.PlaceAt(kDisconnect, places[1]);
}

void ResultsWindow::DrawContents() {
    Renderer& renderer = GetRenderer();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    UseScreenCamera();
    DrawMessageLine(Text("ResultsWindow"), 0);
    const float width = float(UiScreenRect().right - UiScreenRect().left + 1);
    const float lineHeight = FontLineHeight();
    const int32_t rules = host != nullptr ? host->GameRules() : -1;
    const char* rulesKey = RulesKey(rules);
    if (rulesKey[0] != '\0') {
        DrawTextCentred(Text(rulesKey), Vector2(width / 2.0f, 1.5f * lineHeight + 0.375f * lineHeight), kRulesScale);
    }
    renderer.SetBlendOff();
    FillLines();
    if (host != nullptr) host->DrawPlayers(lines);
    renderer.SetAlphaBlend();
    buttons.Draw();
    renderer.SetBlendOff();
}

bool ResultsWindow::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    if (input.IsKeyDown(kInputButtonLeft)) buttons.Press(p);
    if (input.IsKeyUp(kInputButtonLeft)) {
        const int32_t released = buttons.Release(p);
        if (released == kSetUpGame) {
            PostEvent(kEventExit);
            return true;
        }
        if (released == kDisconnect) {
            PostEvent(kEventAskDisconnect);
            return true;
        }
    }
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, GetMouse());
}

void ResultsWindow::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventExit:
            if (host != nullptr) host->RequestReplay();
            return;
        case kEventAskDisconnect:
            GetWindowManager().OpenWindow(&GetConfirmDisconnectMenu());
            GetWindowManager().BringToFront(&GetConfirmDisconnectMenu());
            return;
        default: Window::HandleCommand(event);
    }
}

void ResultsWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    const int32_t button = request.kind != 1                                  ? -1
                           : request.name.EqualsNoCase("Disconnect")          ? int32_t(kDisconnect)
                           : request.name.EqualsNoCase("BeginSquadSelection") ? int32_t(kSetUpGame)
                                                                              : -1;
    const IntRect rect = buttons.ScreenRect(button);
    if (button < 0 || rect.right <= rect.left) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    highlighter.AddRect(FloatRect{float(rect.left), float(rect.top), float(rect.right), float(rect.bottom)},
                        kMarkPulse);
}

void ResultsWindow::GetToolTip() {
    const int32_t button = buttons.At(GetMouse().position);
    if (button < 0) {
        Window::GetToolTip();
        return;
    }
    ::GetToolTip().Set(Text(button == kSetUpGame ? "SetupGame" : "Disconnect"), buttons.ScreenRect(button));
}

ResultsWindow& GetResultsWindow() {
    static ResultsWindow window;
    return window;
}
