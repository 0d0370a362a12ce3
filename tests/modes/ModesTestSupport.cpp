// The modes' fixture, over the toolkit's.
#include "ModesTestSupport.h"

#include <fstream>

#include "data/DataFolder.h"
#include "engine/Mouse.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/window/Message.h"
#include "ui/UiTestSupport.cpp"

namespace modes_test {

void ModesTest::SetUp() {
    UiTest::SetUp();
    working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
    Player& local = GetLocalPlayer();
    local.Init();
    local.SetName("Ann");
    std::filesystem::create_directories("Players/Ann/Vorns");
}

void ModesTest::TearDown() {
    DestroyGameModes();
    GetPlayerRoster().RemovePlayer(&GetOpponentPlayer());
    UiTest::TearDown();
    working_.reset();
}

void ModesTest::CopyData(const char* relative) {
    const std::filesystem::path to(relative);
    std::filesystem::create_directories(to.parent_path());
    std::filesystem::copy_file(data_test::DataRoot() / relative, to);
}

void ModesTest::WriteText(const char* relative, const char* text) {
    const std::filesystem::path to(relative);
    if (to.has_parent_path()) std::filesystem::create_directories(to.parent_path());
    std::ofstream(to) << text;
}

void ModesTest::Enter(Game& mode) {
    SetCurrentGame(&mode);
    mode.Begin();
}

void ModesTest::Step() {
    Mouse& mouse = GetMouse();
    mouse.PollPosition();
    win::Message message;
    while (window->PeekMessage(message)) mouse.HandleMessage(message);
    mouse.UpdateCursor();
    Game* game = CurrentGame();
    game->HandleInputEvents(mouse.Events());
    game->Update();
}

void ModesTest::Tap(int key) {
    scripted->TapKey(key);
    Step();
}

void ModesTest::ClickAt(const Point& point) {
    scripted->MovePointer(point.x, point.y);
    Step();
    scripted->PressButton(win::MouseButton::Left);
    Step();
    scripted->ReleaseButton(win::MouseButton::Left);
    Step();
}

}  // namespace modes_test
