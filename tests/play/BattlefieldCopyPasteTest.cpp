// Copy and paste of a unit on the training ground, by the keys a player uses: a unit
// designed in the editor is copied with Ctrl+C under the pointer and pasted elsewhere
// with Ctrl+V, by its source's name; then it is opened again from the unit tray and saved
// under other names, which its tray entries carry told apart; a player made next in the
// same run finds nothing to paste. Kept as tests/screenshots/battlefield_pasted_unit.tga,
// battlefield_unit_tray_names.tga and battlefield_unit_tray_long_names.tga.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "battlefield/ArenaWindow.h"
#include "battlefield/VornTray.h"
#include "battlefield/VornWindow.h"
#include "engine/ModelNode.h"
#include "game/Game.h"
#include "game/PlayerRoster.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/Window.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

namespace fs = std::filesystem;

std::vector<const Vorn*> OwnUnits() {
    std::vector<const Vorn*> units;
    for (const WorldObject* object : gArena->Objects()) {
        if (object->kind == kKindVorn && static_cast<const Vorn*>(object)->owner == &GetLocalPlayer())
            units.push_back(static_cast<const Vorn*>(object));
    }
    return units;
}

// A unit read from a file against the one it was saved from: each weapon at its own place
// on the body, showing its own model.
void ExpectSameUnit(const Vorn& read, const Vorn& saved) {
    EXPECT_EQ(read.chassisType, saved.chassisType);
    EXPECT_EQ(read.cost, saved.cost);
    for (int place = 0; place < Vorn::kWeaponPlaces; ++place) {
        SCOPED_TRACE(place);
        EXPECT_EQ(read.weapons[place].kind, saved.weapons[place].kind);
        EXPECT_EQ(read.weapons[place].location, place);
        EXPECT_EQ(read.weapons[place].ammoName, saved.weapons[place].ammoName);
        const auto shown = [place](const Vorn& unit) {
            const ModelNode* node = unit.weaponPlaceNodes[place];
            return node != nullptr ? node->mesh : nullptr;
        };
        EXPECT_EQ(shown(read), shown(saved));
    }
}

void TapWithCtrl(play_test::PlayerHarness& player, int key) {
    player.PressKey(win::kKeyControl);
    player.TapKey(key);
    player.ReleaseKey(win::kKeyControl);
}

// The open editor's unit saved under the name, typed over the one the box offers.
void SaveUnder(play_test::PlayerHarness& player, const Window& editor, const std::string& offered,
               const std::string& name) {
    player.Click(Point(editor.right - 16, editor.top + 16));  // the save button
    player.WaitFor("VornNameEditBox");
    player.ClickWindow("VornNameEditBox");
    for (size_t i = 0; i < offered.size(); ++i) player.TapKey(win::kKeyBackspace);
    player.Type(name);
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("VornNameEditBox");
}

// The editor closed, the screen as the player sees it with the pointer away from the trays.
Image CloseEditorAndLook(play_test::PlayerHarness& player, const Point& away, const std::string& pictureName) {
    player.ClickItem("VornWindow", "CloseButton.tga");
    player.WaitUntilClosed("VornWindow");
    player.MoveTo(away);
    const Image picture = player.Picture();
    player.KeepPicture(pictureName);
    return picture;
}

// What the unit tray's entry of that name reads, found as glyphs in the picture.
std::string ShownOnEntry(play_test::PlayerHarness& player, const Image& picture, const std::string& name) {
    const IntRect cell = GetVornTray().EntryCell(String(name.c_str()));
    for (const play_test::ShownText& run : player.TextsShown()) {
        if (!cell.Contains(Point(run.rect.left, run.rect.top))) continue;
        EXPECT_TRUE(player.ShowsText(picture, run)) << name;
        return run.text;
    }
    ADD_FAILURE() << name << " carries no name on its entry";
    return std::string();
}

TEST(BattlefieldCopyPasteTest, ADesignedUnitCopiedWithCtrlCIsPastedWithCtrlVUnderThePointer) {
    play_test::PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();

    // A unit placed from the object tray and saved from the editor under a name.
    const Point designed(450, 380);
    player.Drag(player.EntryPoint("ObjectTray", "SmallFriendVorn"), designed);
    player.RightClick(designed);
    player.WaitFor("VornWindow");
    const Window& editor = player.OpenWindow("VornWindow");
    player.ClickItem("VornWindow", "Laser");
    player.WaitFor("WeaponMenu");
    player.ClickItem("WeaponMenu", "ShrapnelGun");
    player.WaitUntilClosed("WeaponMenu");
    SaveUnder(player, editor, "", "Bulwark");
    player.ClickItem("VornWindow", "CloseButton.tga");
    player.WaitUntilClosed("VornWindow");
    const std::vector<const Vorn*> before = OwnUnits();
    ASSERT_EQ(before.size(), 1u);

    player.MoveTo(designed);
    TapWithCtrl(player, win::kKeyC);
    player.Frames(5);
    const Point pasted(620, 380);
    player.MoveTo(pasted);
    TapWithCtrl(player, win::kKeyV);
    player.FramesUntil([] { return OwnUnits().size() == 2; }, 60, "the pasted unit stands on the field");

    const std::vector<const Vorn*> after = OwnUnits();
    const Vorn* copy = after[0] == before[0] ? after[1] : after[0];
    ExpectSameUnit(*copy, *before[0]);
    EXPECT_EQ(std::string(copy->name.CStr()), "Bulwark") << "the paste goes by its source's name";
    // It stands where the pointer was, right of the original as seen on screen.
    const Vector3 toCopy = gArena->NearestImage(before[0]->position, copy->position) - before[0]->position;
    EXPECT_GT(toCopy.Length(), 5.0f);
    // Nothing the player did not save is left among his units, in the tray or the folder.
    EXPECT_EQ(player.EntryNames("VornTray"), std::vector<std::string>{"Bulwark"});
    std::vector<std::string> files;
    for (const auto& file : fs::directory_iterator(player.Folder() / "Players/Tester/Vorns"))
        files.push_back(file.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"Bulwark.VRN"});
    const Image frame = player.Picture();
    EXPECT_TRUE(player.ShowsAScreen(frame, "the training ground with the pasted unit"));
    player.KeepPicture("battlefield_pasted_unit");

    // Both lassoed, then a lasso on bare ground: it catches nothing, and "Save squad" on
    // the tray still open saves nothing and says why.
    player.Drag(Point(380, 300), Point(690, 460), win::MouseButton::Left, play_test::kShift);
    player.WaitFor("SelectionTray");
    ASSERT_EQ(GetArenaWindow().Selection().Count(), 2);
    player.Drag(Point(120, 560), Point(220, 640), win::MouseButton::Left, play_test::kShift);
    player.Frames(5);
    ASSERT_EQ(GetArenaWindow().Selection().Count(), 0);
    player.ClickEntry("SelectionTray", "SaveSquad");
    player.WaitFor("ErrorBox");
    EXPECT_FALSE(player.IsOpen("SquadNameEditBox"));
    const Image refused = player.Picture();
    player.KeepPicture("battlefield_nothing_selected_to_save");
    bool told = false;
    for (const play_test::ShownText& run : player.TextsShown())
        told = told || (run.text.find("No Vorns are selected") != std::string::npos && player.ShowsText(refused, run));
    EXPECT_TRUE(told) << "the box does not say that nothing is selected";
    player.TapKey(win::kKeySpace);
    player.WaitUntilClosed("ErrorBox");
    EXPECT_FALSE(fs::exists(player.Folder() / "Players/Tester/Squads") &&
                 !fs::is_empty(player.Folder() / "Players/Tester/Squads"));

    // Opened again from the unit tray, the saved unit is the one designed, and the editor
    // grows out of its entry, not out of the whole tray.
    const Point entry = player.EntryPoint("VornTray", "Bulwark");
    player.RightClick(entry);
    player.WaitFor("VornWindow");
    const auto& reopened = dynamic_cast<const VornWindow&>(player.OpenWindow("VornWindow"));
    ASSERT_NE(reopened.vorn, nullptr);
    ExpectSameUnit(*reopened.vorn, *before[0]);
    const IntRect from = CurrentGame()->zoomFrom;
    EXPECT_TRUE(from.Contains(entry));
    EXPECT_LT(from.right - from.left, 100);

    // Saved again under another name of the same initial, the two units of one chassis
    // are told apart in the tray by the names their entries carry.
    SaveUnder(player, editor, "Bulwark", "Bastion");
    const Image tray = CloseEditorAndLook(player, pasted, "battlefield_unit_tray_names");
    EXPECT_EQ(player.EntryNames("VornTray"), (std::vector<std::string>{"Bastion", "Bulwark"}));
    for (const std::string name : {"Bastion", "Bulwark"}) EXPECT_EQ(ShownOnEntry(player, tray, name), name);

    // Names too long for an entry that start alike still read apart, not only when hovered.
    player.RightClick(player.EntryPoint("VornTray", "Bastion"));
    player.WaitFor("VornWindow");
    SaveUnder(player, editor, "Bastion", "Defender1");
    SaveUnder(player, editor, "Defender1", "Defender2");
    // So do names alike at both ends, by where they differ.
    SaveUnder(player, editor, "Defender2", "Defender1Heavyweight");
    SaveUnder(player, editor, "Defender1Heavyweight", "Defender2Heavyweight");
    const Image longNames = CloseEditorAndLook(player, pasted, "battlefield_unit_tray_long_names");
    std::set<std::string> shown;
    for (const std::string name : {"Defender1", "Defender2", "Defender1Heavyweight", "Defender2Heavyweight"})
        shown.insert(ShownOnEntry(player, longNames, name));
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown.begin()->substr(0, 2), "De");
    EXPECT_EQ(ShownOnEntry(player, longNames, "Bastion"), "Bastion");

    // The copy was this player's: one made next in the same run has nothing to paste.
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    player.ClickItem("ConfirmEscapeMenu", player.ItemNames("ConfirmEscapeMenu").front());
    player.WaitFor("MissionMapWindow");
    player.ClickItem("MissionMapWindow", "ExitButton.tga");
    player.WaitFor("GameMenu");
    player.Open("GameMenu", "ReturnMainMenu", "MainMenu");
    player.Open("MainMenu", "SelectPlayer", "PlayerMenu");
    player.Open("PlayerMenu", "CreateNewPlayer", "PlayerNameEditBox");
    player.Type("Second");
    player.TapKey(win::kKeyReturn);
    player.WaitFor("GameMenu");
    player.EnterTheTrainingGrounds();
    player.MoveTo(pasted);
    TapWithCtrl(player, win::kKeyV);
    player.Frames(5);
    EXPECT_TRUE(OwnUnits().empty()) << "the first player's unit was pasted for the second";
}

}  // namespace
