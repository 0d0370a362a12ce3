#pragma once
// The unit and pattern editors on a flat arena, with a unit of the local player whose
// owner has every upgrade, driven through the scripted window.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "battlefield/PatternWindow.h"
#include "battlefield/VornWindow.h"
#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "support/TestArena.h"
#include "support/TestAssets.h"
#include "ui/ErrorBox.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowManager.h"
#include "units/Pattern.h"
#include "units/PatternMatcher.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"

namespace editor_test {

class EditorTest : public ui_test::UiTest {
protected:
    static void SetUpTestSuite() {
        units_test::LoadChassisTableWithTextures();
        LoadWeaponDefinitions();
    }
    static void TearDownTestSuite() { FreeChassisDefinitions(); }

    void SetUp() override {
        UiTest::SetUp();
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
        Player& local = GetLocalPlayer();
        savedLevels_.assign(std::begin(local.upgradeLevels), std::end(local.upgradeLevels));
        local.UnlockAllUpgradesAndMaxPatterns();
        for (int size = 0; size < 3; ++size) local.chassisChoices[size] = size;
        game.firstPlayer = &local;
        for (const char* key : {"CannotAddObject", "CannotAddPathPoint", "CannotAddMapConditional", "CannotAddAction",
                                "CannotDeleteOwnVorn", "CannotOrientOwnVorn", "PlaceOnlyOne", "inThisPattern", "Beacon",
                                "TooManyPatterns", "ChangeChassisSize?", "RemoveOneOrMorePatterns",
                                "RemoveFireSecondWeaponActions", "Continue?"}) {
            GetTextTable().Set(key, key);
        }
        unit = MakeUnit(1);
        PatternWindow& editor = GetPatternWindow();
        editor.SetRect(IntRect(80, 200, 80 + PatternWindow::kWidth - 1, 200 + PatternWindow::kHeight - 1));
        GetWindowManager().OpenWindow(&editor);
        editor.SetVornPattern(unit, &unit->PatternAt(0));
        TakeSounds();
    }
    void TearDown() override {
        GetPatternWindow().SetVornPattern(nullptr, nullptr);
        GetVornWindow().vorn = nullptr;
        UiTest::TearDown();
        std::copy(savedLevels_.begin(), savedLevels_.end(), GetLocalPlayer().upgradeLevels);
        world_test::CloseArena(*arena_);
    }
    Vorn* MakeUnit(int chassis) {
        const float x = 20.0f + 15.0f * float(unitsMade_++);
        Vorn* made = arena_->PlaceChassisAt(chassis, Vector3(x, 80.0f, 0.0f), &GetLocalPlayer());
        EXPECT_NE(made, nullptr);
        made->ApplyPatternSlots();
        return made;
    }
    static PatternWindow& editor() { return GetPatternWindow(); }
    Pattern& pattern() { return *editor().pattern; }
    Point ScreenAt(float x, float y) {
        const Vector2 s = editor().PatternToScreen(Vector2(x, y));
        return Point(int32_t(std::lround(s.x)), int32_t(std::lround(s.y)));
    }
    Point PaletteItem(SpriteGrid* grid, int index) { return grid->sprites[index]->GetScreenCenter(); }
    void Drag(const Point& from, const Point& to) {
        Press(from.x, from.y);
        MovePointer(to.x, to.y);
        Release(to.x, to.y);
    }
    void DoubleClickAt(const Point& at) {
        scripted->MovePointer(at.x, at.y);
        scripted->DoubleClick(win::MouseButton::Left);
        Frame();
    }
    bool Heard(const char* sound) {
        const std::vector<std::string> sounds = TakeSounds();
        return std::any_of(sounds.begin(), sounds.end(),
                           [&](const std::string& s) { return s.find(sound) != std::string::npos; });
    }
    std::string ErrorText() {
        ErrorBox& box = GetErrorBox();
        std::string text = box.message.IsEmpty() ? std::string() : box.message[0].CStr();
        box.message.Clear();
        GetWindowManager().CloseWindow(&box);
        return text;
    }
    std::string ErrorTextKeepingBox() {
        ErrorBox& box = GetErrorBox();
        return box.message.IsEmpty() ? std::string() : box.message[0].CStr();
    }
    // A command as a tutorial script posts it: by its name, to the window.
    Event& Scripted(const char* name) {
        script_ = Event();
        script_.type = Event::FindType(name);
        EXPECT_NE(script_.type, kEventNone) << name;
        return script_;
    }

    std::unique_ptr<Arena> arena_;
    Vorn* unit = nullptr;
    Event script_;

private:
    std::vector<int32_t> savedLevels_;
    int unitsMade_ = 0;
};

}  // namespace editor_test
