#include "net/NetworkScreen.h"

#include <algorithm>

#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "net/ChatWindow.h"
#include "net/FigureRows.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "screens/BackgroundScene.h"
#include "screens/SceneScreen.h"
#include "ui/ConfirmDisconnectMenu.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowFrame.h"
#include "ui/WindowManager.h"

namespace {
constexpr float kHighlightGrowth = 1.6f;
constexpr float kHighlightPulse = 1.0f;
constexpr int32_t kBottomMargin = 48;
// Four places fit between the chat window's frame and the right edge of the narrowest
// screen: 1024 wide, its chat frame ends at x 735 and the fourth button at x 1018.
constexpr int32_t kPlaceSpacing = 72;
// Between the chat window's frame and the first place's button.
constexpr int32_t kChatGap = 4;
}  // namespace

NetworkScreen::NetworkScreen(const String& windowName, std::vector<Button> buttons)
    : Window(windowName), buttons_(std::move(buttons)) {
    movable = false;
    frameShown = false;
    Initialize();
    SetFullScreen(true);
}

NetworkGame* NetworkScreen::Game() { return GetNetworkGame(); }

void NetworkScreen::CreateResources() {
    controls = GetRenderer().CreateSpriteGrid();
    controls->SetLayoutMode(SpriteGrid::kLayoutFree);
    for (const Button& button : buttons_) {
        controls->AddItem(CreateUiSprite(kButtonPixels, kButtonPixels, button.image, Sprite::kAnchorCentre),
                          button.toolTipKey, true);
    }
}

Point NetworkScreen::BottomPlace(int32_t place) {
    const IntRect screen = UiScreenRect();
    // The chat window stands centred at the bottom, its frame drawn around it.
    const int32_t chatFrameRight =
        (screen.left + screen.right) / 2 + ChatWindow::kWidth / 2 + WindowFrame::kDefaultBorder;
    return Point(chatFrameRight + kChatGap + kButtonPixels / 2 + place * kPlaceSpacing, screen.bottom - kBottomMargin);
}

void NetworkScreen::OnOpen() {
    EnsureResources();
    SetFullScreen(true);
    PlaceButtons();
    lastHovered_ = -1;
    Window::OnOpen();
    if (SceneName() != nullptr) GetBackgroundScene().Start(SceneName());
}

// The screen's scene plays on and starts over whenever it ends.
void NetworkScreen::AdvanceScene() {
    if (SceneName() == nullptr) return;
    BackgroundScene& scene = GetBackgroundScene();
    scene.Update(ScreenFrameTime());
    if (scene.IsFinished()) scene.Start(SceneName());
}

void NetworkScreen::PlaceButton(int32_t index, const Point& centre) {
    if (controls == nullptr || !controls->IsValidIndex(index)) return;
    Sprite* sprite = controls->sprites[index];
    if (sprite == nullptr) return;
    // The buttons are anchored at their centres.
    sprite->SetSize(kButtonPixels);
    sprite->x = centre.x;
    sprite->y = centre.y;
}

void NetworkScreen::ShowButton(int32_t index, bool shown) {
    if (controls != nullptr && controls->IsValidIndex(index)) controls->SetItemVisible(index, shown);
}

bool NetworkScreen::IsButtonShown(int32_t index) const {
    return controls != nullptr && controls->IsValidIndex(index) && controls->IsShown(index);
}

void NetworkScreen::DrawContents() {
    if (SceneName() != nullptr) GetBackgroundScene().Draw();
    UseScreenCamera();
    GetRenderer().DisableLighting();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawScreen();
    if (controls != nullptr) renderer.DrawSpriteGrid(*controls, true);
    renderer.SetBlendOff();
}

bool NetworkScreen::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputFrameTick) AdvanceScene();
    // Whatever the player types on a network screen is a chat line, wherever the pointer is.
    if (input.kind == kInputCharacter && GetWindowManager().IsOpen(&GetChatWindow()))
        return GetChatWindow().HandleMouse(input);
    if (controls == nullptr) return Window::HandleMouse(input);
    const Point p(input.x, input.y);
    if (input.kind == kInputPointerMove || input.kind == kInputFrameTick) {
        controls->UpdateHover(p);
        if (controls->hovered != lastHovered_ && controls->hovered >= 0) PlayUiSound("MouseOver.ogg");
        lastHovered_ = controls->hovered;
    }
    if (input.IsKeyDown(kInputButtonLeft)) {
        const int32_t index = controls->FindItemAt(p);
        if (index >= 0 && IsButtonShown(index) && IsButtonActive(index)) {
            PlayUiSound("MouseDown.ogg");
            PostEvent(buttons_[static_cast<size_t>(index)].event);
            return true;
        }
    }
    return Window::HandleMouse(input);
}

void NetworkScreen::GetToolTip() {
    ToolTip& tip = ::GetToolTip();
    const int32_t hovered = controls != nullptr ? controls->hovered : SpriteGrid::kNoItem;
    if (hovered < 0 || !IsButtonShown(hovered)) {
        tip.Clear();
        return;
    }
    tip.SetForItem(GetLanguageText(buttons_[static_cast<size_t>(hovered)].toolTipKey), *controls,
                   *controls->sprites[hovered]);
}

const char* NetworkScreen::HighlightName(int32_t index) const {
    return buttons_[static_cast<size_t>(index)].toolTipKey;
}

void NetworkScreen::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    if (request.kind == 1 && controls != nullptr) {
        for (int32_t i = 0; i < static_cast<int32_t>(buttons_.size()); ++i) {
            if (!request.name.EqualsNoCase(HighlightName(i)) || controls->sprites[i] == nullptr) continue;
            const IntRect rect = controls->sprites[i]->GetScreenRect();
            const float cx = 0.5f * static_cast<float>(rect.left + rect.right);
            const float cy = 0.5f * static_cast<float>(rect.top + rect.bottom);
            const float hx = 0.5f * kHighlightGrowth * static_cast<float>(rect.right - rect.left);
            const float hy = 0.5f * kHighlightGrowth * static_cast<float>(rect.bottom - rect.top);
            highlighter.AddRect(FloatRect{cx - hx, cy - hy, cx + hx, cy + hy}, kHighlightPulse);
            return;
        }
    }
    Window::GetHighlightShape(request, highlighter);
}

void NetworkScreen::DrawRoster(int32_t firstRowY, const std::vector<String>& extraLines) const {
    NetworkGame* game = Game();
    if (game == nullptr) return;
    const VornsNetworker& session = game->Session();
    const std::vector<std::string> labels = session.PlayerLabels(
        GetLanguageText("LeftParen").CStr(), GetLanguageText("RightParen").CStr(), GetLanguageText("Server").CStr());
    std::vector<FigureRowEntry> entries;
    for (size_t i = 0; i < session.Players().size(); ++i) {
        const SessionPlayer& player = *session.Players()[i];
        FigureRowEntry entry;
        entry.player = player.record;
        entry.name = String(player.name.c_str());
        entry.lines.push_back(String(labels[i].c_str()));
        if (i < extraLines.size()) entry.lines.push_back(extraLines[i]);
        entries.push_back(std::move(entry));
    }
    GetFigureRows().Draw(entries, firstRowY, ScreenFrameTime());
    UseScreenCamera();
    GetRenderer().SetAlphaBlend();
}

void NetworkScreen::OpenChatAtBottom() {
    ChatWindow& chat = GetChatWindow();
    chat.movable = false;
    chat.closeButton = false;
    GetWindowManager().OpenWindow(&chat);
    chat.MoveToBottomCentre();
}

void NetworkScreen::HandleCommand(Event& event) {
    if (event.type != kEventAskDisconnect) {
        Window::HandleCommand(event);
        return;
    }
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&GetConfirmDisconnectMenu());
    manager.BringToFront(&GetConfirmDisconnectMenu());
}
