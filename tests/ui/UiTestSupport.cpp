#include "UiTestSupport.h"

#include "audio/EffectSounds.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "game/GameWindows.h"
#include "platform/window/Message.h"
#include "ui/ToolkitWindows.h"
#include "ui/WindowManager.h"

namespace ui_test {

void RecordingGame::HandleEvent(Event& event) {
    posted.push_back({event.type, event.text.CStr(), event.value, event.point});
    Game::HandleEvent(event);
}

std::vector<int32_t> RecordingGame::Types() const {
    std::vector<int32_t> types;
    for (const Posted& p : posted) types.push_back(p.type);
    return types;
}

void UseMeasuringFont() {
    Font& font = GetFont();
    for (int c = 0; c < Font::kGlyphCount; ++c) font.widths[c] = Font::IsPrintable(uint8_t(c)) ? 8 : 0;
    font.spacing = 0;
    font.lineHeight = 16.0f;
}

void UiTest::SetUp() {
    UseMeasuringFont();
    win::WindowDesc desc;
    desc.width = kScreenWidth;
    desc.height = kScreenHeight;
    window = std::move(win::OpenWindow(win::WindowBackend::Scripted, desc).window);
    scripted = static_cast<win::ScriptedWindow*>(window.get());
    GetMouse().AttachWindow(window.get());
    GetMouse().ReleaseHeldKeys();
    SetCurrentGame(&game);
    SetGameWindows(&GetToolkitWindows());
    RecordEffectSoundRequests(true);
}

void UiTest::TearDown() {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    while (!manager.ReturnStack().IsEmpty()) manager.ReturnToPreviousWindow();
    manager.CloseAllWindows();
    manager.SetFocusWindow(nullptr);
    RecordEffectSoundRequests(false);
    SetGameWindows(nullptr);
    SetCurrentGame(nullptr);
    Mouse& mouse = GetMouse();
    mouse.ShowCursor();
    mouse.ReleaseHeldKeys();
    mouse.AttachWindow(nullptr);
}

void UiTest::Frame() {
    Mouse& mouse = GetMouse();
    mouse.PollPosition();
    win::Message message;
    while (window->PeekMessage(message)) mouse.HandleMessage(message);
    mouse.UpdateCursor();
    game.HandleInputEvents(mouse.Events());
}

void UiTest::MovePointer(int x, int y) {
    scripted->MovePointer(x, y);
    Frame();
}

void UiTest::Press(int x, int y, win::MouseButton button) {
    scripted->MovePointer(x, y);
    scripted->PressButton(button);
    Frame();
}

void UiTest::Release(int x, int y, win::MouseButton button) {
    scripted->MovePointer(x, y);
    scripted->ReleaseButton(button);
    Frame();
}

void UiTest::Click(int x, int y) {
    Press(x, y);
    Release(x, y);
}

void UiTest::TapKey(int key) {
    scripted->TapKey(key);
    Frame();
}

void UiTest::Type(const char* text) {
    scripted->TypeText(text);
    Frame();
}

std::vector<std::string> UiTest::TakeSounds() {
    std::vector<std::string> names;
    for (const EffectSoundRequest& request : GetEffectSoundRequests()) names.push_back(request.name.CStr());
    RecordEffectSoundRequests(true);
    return names;
}

}  // namespace ui_test
