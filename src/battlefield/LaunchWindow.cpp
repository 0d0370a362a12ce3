// The step before a battle: choosing the squads, then the countdown and the launch.
#include "battlefield/LaunchWindow.h"

#include "battlefield/GameKind.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/UserError.h"
#include "battlefield/VornTray.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Squad.h"
#include "modes/SquadWindow.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"

namespace {

constexpr float kHeadingScale = 1.5f;
constexpr float kShrinkStep = 1.01f;

Window* FindWindow(const char* windowName) { return GetWindowManager().FindWindowByName(windowName); }

bool IsStoryGame() { return IsCurrentGame("TutorialGame") || IsCurrentGame("MissionGame"); }

int32_t HeadingTop() {
    const Window* textBox = FindWindow("TextBox");
    if (IsCurrentGame("TutorialGame") && textBox != nullptr && textBox->open) return textBox->bottom + 4;
    return 0;
}

}  // namespace

bool LaunchBudgetApplies() {
    return IsCurrentGame("MissionGame") || IsNetworkGame() || (IsCurrentGame("TutorialGame") && GetLaunchWindow().open);
}

int32_t RemainingLaunchBudget(bool forSquads) {
    const LaunchSquadTray& tray = GetLaunchSquadTray();
    return GetLaunchWindow().budget - (forSquads ? tray.TotalCostWithoutLargest() : tray.TotalCost());
}

LaunchWindow::LaunchWindow() : LaunchWindow("LaunchWindow") {}

LaunchWindow::LaunchWindow(const char* windowName) : Window(windowName) {
    frameShown = true;
    SetFullScreen(true);
    buttons.Add("YesButton.tga", "Launch");
    buttons.Add("ExitButton.tga", "Exit");
    buttons.Add("NoButton.tga", "Disconnect");
    Initialize();
}

void LaunchWindow::SetTraysMovable(bool canMove) {
    GetLaunchSquadTray().movable = canMove;
    GetVornTray().movable = canMove;
    GetSquadTray().movable = canMove;
    if (Window* squadWindow = FindWindow("SquadWindow")) squadWindow->movable = canMove;
}

void LaunchWindow::OnOpen() {
    countdown = 0.0f;
    launched = false;
    launchPosted = false;
    GetVornTray().closeButton = false;
    GetSquadTray().closeButton = false;
    SetTraysMovable(false);
    PlaceButtons();
}

void LaunchWindow::FadeShownSquad() const {
    const Squad* shown = GetSquadWindow().squad;
    if (shown == nullptr) return;
    for (Vorn* member : shown->members) member->launchFade = kCountdownSeconds - countdown;
}

void LaunchWindow::PlaceButtons() {
    buttons.EnsureSprites();
    const Game* game = CurrentGame();
    if (IsStoryGame()) {
        buttons.SetVisible(kLaunch, true);
        buttons.SetVisible(kExit, true);
        buttons.SetVisible(kDisconnect, false);
        buttons.PlaceAt(kLaunch, Point(right - 160, bottom - 72));
        buttons.PlaceAt(kExit, Point(right - 64, bottom - 72));
        return;
    }
    Point places[4];
    const Window* chat = FindWindow("ChatWindow");
    GetBottomButtonPositions(UiScreenRect(), chat != nullptr ? chat->Rect() : IntRect(), places);
    const bool client = game != nullptr && game->IsNetworkClient();
    buttons.SetVisible(kDisconnect, true);
    buttons.SetVisible(kExit, !client);
    if (client) {
        buttons.PlaceAt(kLaunch, places[0]);
        buttons.PlaceAt(kDisconnect, places[1]);
        return;
    }
    buttons.PlaceAt(kLaunch, places[0]);
    buttons.PlaceAt(kExit, places[2]);
    buttons.PlaceAt(kDisconnect, places[3]);
}

void LaunchWindow::OnClose() { SetTraysMovable(true); }

void LaunchWindow::DrawContents() {
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    renderer.DisableLighting();
    const float width = float(UiScreenRect().right - UiScreenRect().left + 1);
    const float top = float(HeadingTop());
    const bool mission = IsCurrentGame("MissionGame");
    const String heading = GetLanguageText(mission ? "SelectingSquadsFor" : "SelectingSquads");
    const Vector2 headingSize = MeasureText(heading, kHeadingScale);
    DrawUiText(heading, 0.75f * width - headingSize.x / 2.0f, top, Color(0xFFFFFFFF), kHeadingScale);
    if (mission) {
        const String quote = GetLanguageText("DoubleQuote");
        const String line = quote + missionName + quote;
        float scale = kHeadingScale;
        while (MeasureText(line, scale).x > width / 2.0f && scale > 0.01f) scale /= kShrinkStep;
        const float lineWidth = MeasureText(line, scale).x;
        DrawUiText(line, 0.75f * width - lineWidth / 2.0f, top + headingSize.y + 4.0f, Color(0xFFFFFFFF), scale);
    }
    buttons.Draw();
    renderer.EnableLighting();
    renderer.SetBlendOff();
}

bool LaunchWindow::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputFrameTick) {
        if (launched) {
            // A launch that does not close the window must not launch the squads again.
            if (!launchPosted) PostEvent(kEventLaunchMission);
            launchPosted = true;
            return true;
        }
        if (countdown > 0.0f) {
            const Game* game = CurrentGame();
            countdown -= game != nullptr ? game->frameTime : 0.0f;
            if (countdown <= 0.0f) {
                countdown = 0.0f;
                launched = true;
            }
            FadeShownSquad();
        }
        return true;
    }
    const Point p(input.x, input.y);
    if (countdown <= 0.0f && !launched) {
        if (input.IsKeyDown(kInputButtonLeft) && buttons.Press(p)) return true;
        if (input.IsKeyUp(kInputButtonLeft)) {
            GetMouse().ShowCursor();
            const int32_t released = buttons.Release(p);
            if (released == kDisconnect) {
                PostEvent(kEventAskDisconnect);
            } else if (released >= 0) {
                PostEventString(kEventPickEntry, released == kLaunch ? "Launch" : "Exit");
            }
            return true;
        }
    }
    if (Window::HandleMouse(input)) return true;
    const bool pointerInput = input.kind == kInputDown || input.kind == kInputUp || input.kind == kInputWheel ||
                              input.kind == kInputDoubleClick;
    return pointerInput || IsCameraInput(input, GetMouse());
}

void LaunchWindow::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventPickEntry: {
            const int32_t button = buttons.FindByName(event.text);
            if (button == kLaunch) {
                if (GetLaunchSquadTray().TotalVornCount() == 0) {
                    ShowUserError("NoVorns");
                    return;
                }
                countdown = kCountdownSeconds;
                PlayBattleSound("Transport.ogg");
                return;
            }
            if (button == kExit) {
                ConfirmEscapeMenu& menu = GetConfirmEscapeMenu();
                menu.title = GetLanguageText("LeaveMission?");
                GetWindowManager().OpenWindow(&menu);
                GetWindowManager().BringToFront(&menu);
                return;
            }
            Window::HandleCommand(event);
            return;
        }
        case kEventLaunchMission:
            if (Game* game = CurrentGame()) game->Launch();
            return;
        default: Window::HandleCommand(event);
    }
}

void LaunchWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    const int32_t button = request.kind == 1 ? buttons.FindByName(request.name) : -1;
    if (button < 0 || !buttons.IsVisible(button)) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    buttons.EnsureSprites();
    if (Sprite* sprite = buttons.Grid().sprites[button]) highlighter.AddWindowShape(buttons.Grid(), *sprite);
}

void LaunchWindow::GetToolTip() {
    const int32_t button = buttons.At(GetMouse().position);
    if (button < 0) {
        Window::GetToolTip();
        return;
    }
    const char* key = button == kLaunch       ? "LaunchSquads"
                      : button == kDisconnect ? "Disconnect"
                      : IsNetworkGame()       ? "Back"
                                              : "Exit";
    ::GetToolTip().Set(GetLanguageText(key), buttons.ScreenRect(button));
}

LaunchWindow& GetLaunchWindow() {
    static LaunchWindow window;
    return window;
}
