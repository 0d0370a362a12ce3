// Programs on one machine, each played as a player plays it: one hosts from the game
// menu, others join by typing its address, they chat, the host sets the game up on a
// scenario that comes with the game, squads are dragged into the launch, the countdown
// runs, the battle is fought to its end (each mini-map showing the scenario's ground, also
// for the player who visited the training grounds first) and everyone reads the results;
// the worlds of the three programs end alike, and the host's results stay as they were
// once the others have left. A player killed mid-battle leaves the others to finish; a
// host that leaves sends the joined players back to the game menu.
//
// Each program is a forked child with its own harness and its own copy of the runtime
// folder; the parent only starts them and reads what they report through pipes. The host
// serves on a port the system chooses and passes it to the others, who join through it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FigurePictures.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ResultsWindow.h"
#include "core/Image.h"
#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "modes/ButtonRowWindow.h"
#include "modes/PlayerFigure.h"
#include "modes/SquadWindow.h"
#include "net/ChatWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "platform/net/NetLimits.h"
#include "platform/net/Socket.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "support/StuckPeers.h"
#include "ui/ErrorBox.h"
#include "ui/Tray.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/Terrain.h"
#include "world/TerrainType.h"

namespace {

using play_test::PixelsChanged;
using play_test::PlayerHarness;
using play_test::PlayerStepFailed;
using test_peers::IsFailure;
using test_peers::kFailed;
using test_peers::ReadLine;
using test_peers::WaitForAll;

// Frames a step across programs may take: the others run at their own pace meanwhile.
constexpr int kSessionFrames = 20000;
// Frames the host and the guest of the leaving test may wait for each other.
constexpr int kLeavingFrames = 150000;

// One line a child writes to the parent.
void Report(int fd, const std::string& line) {
    const std::string text = line + "\n";
    if (write(fd, text.data(), text.size()) < 0) std::perror("report");
}

// A player who has played before: a squad of scouts saved in the profile's folders.
void GiveSavedSquad(PlayerHarness& player, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path profile = player.Folder() / "Players" / name;
    fs::copy_file(player.Folder() / "Squads" / "Scouts.SQD", profile / "Squads" / "Scouts.SQD");
    fs::copy_file(player.Folder() / "Vorns" / "Scout.VRN", profile / "Vorns" / "Scout.VRN");
}

// Network play opens to a player who has seen the campaign map's tour: the tour, paged
// with Space as a player does, then back to the game menu.
void TakeTheCampaignMapTour(PlayerHarness& player) {
    player.ClickItem("GameMenu", "ContinueCampaign");
    for (int page = 0; page < 200 && !GetLocalPlayer().missionMapTutorial; ++page) {
        player.TapKey(win::kKeySpace);
        player.Frames(20);
    }
    if (!GetLocalPlayer().missionMapTutorial)
        throw PlayerStepFailed("the tour did not end; open: " + player.FrontWindow());
    // The map's row of buttons ends with its way out ("Exit"); the row names none.
    player.FramesUntil([&] { return player.IsOpen("MissionMapWindow"); }, 600, "the campaign map");
    auto& map = dynamic_cast<ButtonRowWindow&>(player.OpenWindow("MissionMapWindow"));
    player.Click(map.buttons->sprites[map.buttons->Count() - 1]->GetScreenCenter());
    player.FramesUntil([&] { return player.IsOpen("GameMenu"); }, 600, "back on the game menu");
}

// The unit tray reads the player's folders in the training grounds; from there back to
// the game menu through the campaign map.
void VisitTheTrainingGrounds(PlayerHarness& player) {
    player.ClickItem("GameMenu", "ContinueCampaign");
    player.FramesUntil([&] { return player.IsOpen("MissionMapWindow"); }, 600, "the campaign map");
    player.ClickItem("MissionMapWindow", "TrainingGroundsButton.tga");
    player.FramesUntil([&] { return player.IsOpen("VornTray"); }, 600, "the training grounds");
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    player.ClickItem("ConfirmEscapeMenu", player.ItemNames("ConfirmEscapeMenu").front());
    player.FramesUntil([&] { return player.IsOpen("MissionMapWindow"); }, 600, "back on the campaign map");
    auto& map = dynamic_cast<ButtonRowWindow&>(player.OpenWindow("MissionMapWindow"));
    player.Click(map.buttons->sprites[map.buttons->Count() - 1]->GetScreenCenter());
    player.FramesUntil([&] { return player.IsOpen("GameMenu"); }, 600, "back on the game menu");
}

// Both of the player's colours, set on the customise screen's six sliders and kept.
struct Paint {
    float red, green, blue;
};

void Customise(PlayerHarness& player, Paint paint) {
    player.ClickItem("GameMenu", "Customization");
    player.FramesUntil([&] { return player.IsOpen("UpgradeWindow"); }, 600, "the customise screen");
    for (const char* part : {"Primary", "Trim"}) {
        const std::string name(part);
        player.Click(player.WindowPoint(name + "Red", paint.red, 0.5f));
        player.Click(player.WindowPoint(name + "Green", paint.green, 0.5f));
        player.Click(player.WindowPoint(name + "Blue", paint.blue, 0.5f));
    }
    player.ClickItem("UpgradeWindow", "YesButton.tga");
    player.FramesUntil([&] { return player.IsOpen("GameMenu"); }, 600, "back on the game menu");
}

Window& Find(const char* name) { return *GetWindowManager().FindWindowByName(name); }

// The screen point of a tray's entry, found through the tray's own cells.
Point TrayEntryPoint(PlayerHarness& player, const char* trayName, const char* entry) {
    auto& tray = dynamic_cast<Tray&>(player.OpenWindow(trayName));
    const int32_t index = tray.FindEntryByName(entry);
    for (const IntRect& cell : tray.cellRects) {
        const Point centre((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        if (index >= 0 && tray.EntryAt(centre) == index) return centre;
    }
    throw PlayerStepFailed(std::string("\"") + entry + "\" is not shown in \"" + trayName + "\"");
}

const std::vector<ChatWindow::Entry>& ChatLines() { return GetChatWindow().History(); }

bool ChatShows(const std::string& text) {
    for (const auto& line : ChatLines()) {
        if (std::string(line.text.CStr()).find(text) != std::string::npos) return true;
    }
    return false;
}

VornsNetworker& Session() { return GetNetworkGame()->Session(); }
size_t SessionPlayers() { return Session().Players().size(); }

// A picture of the screen with both checks: something is shown, and each text is drawn
// in letters where the frame drew it.
Image Picture(PlayerHarness& player, const std::string& who, const std::string& screen,
              const std::vector<std::string>& texts = {}) {
    const std::string name = "network_" + who + "_" + screen;
    const Image picture = player.Picture();
    if (const auto shown = PlayerHarness::ShowsAScreen(picture, name); !shown) throw PlayerStepFailed(shown.message());
    for (const std::string& text : texts) {
        if (const auto read = player.ShowsTextRun(picture, text); !read)
            throw PlayerStepFailed(name + ": " + read.message());
    }
    player.KeepPicture(picture, name);
    return picture;
}

std::string Text(const char* key) { return GetLanguageText(key).CStr(); }

// The hue of a colour in degrees; -1 for a grey, which has none.
float Hue(Color c) {
    const int r = c.Red(), g = c.Green(), b = c.Blue();
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    if (high == 0 || high - low < 0.4f * static_cast<float>(high) || high < 80) return -1.0f;
    const float span = static_cast<float>(high - low);
    float hue = high == r ? 60.0f * static_cast<float>(g - b) / span
                : high == g ? 120.0f + 60.0f * static_cast<float>(b - r) / span
                            : 240.0f + 60.0f * static_cast<float>(r - g) / span;
    return hue < 0.0f ? hue + 360.0f : hue;
}

// Pixels of the box painted in the colour, however lit: strong pixels of its hue. The
// grass and earth of the scene behind are never that strong.
int PixelsPainted(const Image& picture, const IntRect& box, Color colour) {
    const float wanted = Hue(colour);
    int count = 0;
    for (int y = std::max(box.top, 0); y <= box.bottom && y < picture.Height(); ++y) {
        for (int x = std::max(box.left, 0); x <= box.right && x < picture.Width(); ++x) {
            const float hue = Hue(picture.At(x, y));
            const float apart = std::abs(hue - wanted);
            count += hue >= 0.0f && std::min(apart, 360.0f - apart) < 20.0f ? 1 : 0;
        }
    }
    return count;
}

// The chat stands on a near-black panel, so that its lines read over a bright scene or
// the battlefield: most of its box is dark whatever lies behind.
void ChatHasItsDarkPanel(const Image& picture, const std::string& screen) {
    if (picture.IsEmpty()) return;
    const IntRect box = Find("ChatWindow").Rect();
    int dark = 0, all = 0;
    for (int y = std::max(box.top, 0); y <= box.bottom && y < picture.Height(); ++y) {
        for (int x = std::max(box.left, 0); x <= box.right && x < picture.Width(); ++x) {
            const Color c = picture.At(x, y);
            dark += std::max({c.Red(), c.Green(), c.Blue()}) < 48 ? 1 : 0;
            ++all;
        }
    }
    if (dark * 4 < all * 3)
        throw PlayerStepFailed(screen + ": the chat has no dark panel (" + std::to_string(dark) + " of " +
                               std::to_string(all) + " pixels dark)");
}

// Bob painted himself red; the host and Ann kept a new player's colours, and the server
// gave Ann others: each figure shows its own player's colour and no other figure does. A
// player who has left has no figure.
void FiguresWearTheirPlayersColours(const Image& picture) {
    if (picture.IsEmpty()) return;
    const Array<Player*>& players = GetPlayerRoster().networkPlayers;
    for (Player* player : players) {
        const std::string name = player->name.CStr();
        const int own = PixelsPainted(picture, GetPlayerFigure(*player).rect, player->primaryColor);
        for (Player* other : players) {
            // A winner stands in a ring of stars, whose yellows no other player's colour
            // has to be told from.
            if (other == player || other->won != 0) continue;
            const int shown = PixelsPainted(picture, GetPlayerFigure(*other).rect, player->primaryColor);
            if (own < 20 || own < 3 * shown)
                throw PlayerStepFailed("the figures do not wear their players' colours: " + name + "'s colour on " +
                                       std::to_string(own) + " pixels of " + name + ", " + std::to_string(shown) +
                                       " of " + other->name.CStr());
        }
    }
}

std::string Hex(Color colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", colour.argb);
    return text;
}

// The figure of a player still in the session; none once the player has left.
const PlayerFigure* FigureOf(const std::string& name) {
    for (Player* player : GetPlayerRoster().networkPlayers) {
        if (name == player->ShownName().CStr()) return &GetPlayerFigure(*player);
    }
    return nullptr;
}

// A run of the picture's frame with the text, centred within `apart` pixels of x at or
// below y, read where it was drawn.
play_test::ShownText ReadRun(PlayerHarness& player, const Image& picture, const std::string& text, int x, int y,
                             int apart) {
    for (const play_test::ShownText& run : player.TextsShown()) {
        if (run.text != text || run.rect.top < y || std::abs(run.rect.GetCenter().x - x) > apart) continue;
        if (const auto read = player.ShowsText(picture, run); !read) throw PlayerStepFailed(read.message());
        return run;
    }
    throw PlayerStepFailed("\"" + text + "\" is not drawn");
}

// Each name of the results stands under its figure, readable through the winners' ring of
// stars; a player who has left keeps his name in his place, with the word that he left.
void NamesAreReadUnderTheFigures(PlayerHarness& player, const Image& picture) {
    for (const ResultsWindow::Standing& standing : GetResultsWindow().standings) {
        const std::string name = standing.name.CStr();
        if (const PlayerFigure* figure = FigureOf(name)) {
            const IntRect box = figure->rect;
            const IntRect under(box.left - 40, box.bottom, box.right + 40, box.bottom + 40);
            if (const auto read = player.ShowsText(picture, name, under); !read)
                throw PlayerStepFailed(name + " under the figure: " + read.message());
            continue;
        }
        const IntRect shown = ReadRun(player, picture, name, 0, 0, 1 << 20).rect;
        ReadRun(player, picture, Text("PlayerLeftResults"), shown.GetCenter().x, shown.bottom, 8);
    }
}

// Every name and line under the figures, as the picture's frame drew it, stands clear of
// the others and of every figure, and is read in the picture where it was drawn; the runs.
std::vector<play_test::ShownText> LinesUnderTheFiguresStandClear(PlayerHarness& player, const Image& picture,
                                                                 const std::string& screen) {
    std::vector<IntRect> figures;
    for (Player* shown : GetPlayerRoster().networkPlayers) figures.push_back(GetPlayerFigure(*shown).rect);
    if (figures.empty()) throw PlayerStepFailed(screen + ": no figure, not even the player's own");
    const int top = std::min_element(figures.begin(), figures.end(), [](const IntRect& a, const IntRect& b) {
                        return a.top < b.top;
                    })->top;
    const int chatTop = Find("ChatWindow").top;
    std::vector<play_test::ShownText> under;
    for (const play_test::ShownText& run : player.TextsShown()) {
        if (run.rect.top > top && run.rect.bottom < chatTop) under.push_back(run);
    }
    const auto overlap = [](const IntRect& a, const IntRect& b) {
        return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
    };
    for (size_t i = 0; i < under.size(); ++i) {
        for (size_t k = i + 1; k < under.size(); ++k) {
            if (overlap(under[i].rect, under[k].rect))
                throw PlayerStepFailed(screen + ": \"" + under[i].text + "\" runs into \"" + under[k].text + "\"");
        }
    }
    for (const play_test::ShownText& run : under) {
        for (const IntRect& figure : figures) {
            if (overlap(run.rect, figure)) throw PlayerStepFailed(screen + ": \"" + run.text + "\" over a figure");
        }
        if (const auto read = player.ShowsText(picture, run); !read)
            throw PlayerStepFailed(screen + ": " + read.message());
    }
    return under;
}

bool Walking(const PlayerFigure* figure) {
    return figure != nullptr && (figure->pose == PlayerFigure::kWalkIn || figure->pose == PlayerFigure::kWalkOut);
}

// Each figure on the screen moves once it has walked onto its spot and stands there
// facing the same way: its animation plays on, so a picture some frames later differs in
// its box. A figure whose animation happens to come back to the same pose is given a few
// more looks. The others may read their results and leave meanwhile: their figures walk
// off the stage and go with them, the player's own stays. The host may also move every
// guest on to the next screen meanwhile: once the screen is gone, so are its figures.
void FiguresAreAnimated(PlayerHarness& player, const std::string& screen) {
    // Drawn without pictures there is nothing to compare.
    if (player.Picture().IsEmpty()) return;
    const std::vector<std::string> names{"Host", "Ann", "Bob"};
    player.FramesUntil(
        [&] { return std::none_of(names.begin(), names.end(), [](auto& n) { return Walking(FigureOf(n)); }); },
        kSessionFrames, "the figures on their spots");
    if (!player.IsOpen(screen)) return;
    const Image first = player.Picture();
    std::map<std::string, float> still;
    for (const std::string& name : names) {
        if (const PlayerFigure* figure = FigureOf(name)) still[name] = figure->heading;
    }
    if (FigureOf(GetLocalPlayer().name.CStr()) == nullptr)
        throw PlayerStepFailed("the player's own figure is not shown");
    for (int look = 0; look < 10 && !still.empty(); ++look) {
        player.Frames(10);
        const Image later = player.Picture();
        if (!player.IsOpen(screen)) return;
        std::erase_if(still, [&](const auto& entry) {
            const PlayerFigure* figure = FigureOf(entry.first);
            if (figure == nullptr || Walking(figure)) return true;
            if (figure->heading != entry.second) throw PlayerStepFailed("the figure of " + entry.first + " turns");
            return PixelsChanged(first, later, figure->rect) > 50;
        });
    }
    if (!still.empty()) throw PlayerStepFailed("the figure of " + still.begin()->first + " stands still");
}

// The squad selection, laid out with the unit and squad trays above the chat.
void ReachSquadSelection(PlayerHarness& player, const std::string& who) {
    player.FramesUntil([&] { return player.IsOpen("NetworkLaunchWindow"); }, kSessionFrames, "squad selection");
    player.Frames(2);
    Picture(player, who, "squad_selection", {Text("SelectingSquads")});
    const Window& chat = Find("ChatWindow");
    if (Find("VornTray").bottom > chat.top - 24 || Find("SquadTray").bottom > chat.top - 24)
        throw PlayerStepFailed("the unit and squad trays stand over the chat");
}

bool Overlap(const IntRect& a, const IntRect& b) {
    return a.left <= b.right && a.right >= b.left && a.top <= b.bottom && a.bottom >= b.top;
}

// The countdown's number is drawn large, in digits only, clear of the squad window and of
// its buttons (which stand over its top-right corner), and on the screen. False when the
// last frame drew no such number.
bool CountdownShownClear(PlayerHarness& player) {
    auto& squad = dynamic_cast<SquadWindow&>(Find("SquadWindow"));
    std::vector<IntRect> taken{squad.Rect()};
    for (const SpriteGrid* grid : {squad.controls, squad.fileButtons, squad.layoutButtons}) {
        if (grid != nullptr) taken.push_back(grid->GetBounds());
    }
    if (squad.closeSprite != nullptr) taken.push_back(squad.closeSprite->GetScreenRect());
    for (const play_test::ShownText& run : player.TextsShown()) {
        if (run.scale < 1.4f || run.text.empty() || run.text.find_first_not_of("0123456789") != std::string::npos)
            continue;
        for (const IntRect& place : taken) {
            if (Overlap(run.rect, place))
                throw PlayerStepFailed("the countdown " + run.text + " stands over the squad window's buttons");
        }
        if (run.rect.top < 0 || run.rect.left < 0)
            throw PlayerStepFailed("the countdown " + run.text + " leaves the screen");
        return true;
    }
    return false;
}

// A slow machine may reach the countdown in its last frames: once it has ended there is
// no number left to look at.
void CountdownStandsClear(PlayerHarness& player) {
    for (int frame = 0; frame < 60 && Session().CountdownRunning(); ++frame) {
        if (CountdownShownClear(player)) return;
        player.Frames(1);
    }
    if (Session().CountdownRunning()) throw PlayerStepFailed("no countdown drawn");
}

// The launch window's buttons are a row of its own, which the harness's finders do not
// know: the button by its name, in its place on screen.
void ClickLaunchButton(PlayerHarness& player, const char* button) {
    auto& launch = dynamic_cast<LaunchWindow&>(player.OpenWindow("NetworkLaunchWindow"));
    const int32_t index = launch.buttons.FindByName(String(button));
    if (index < 0 || !launch.buttons.IsVisible(index)) throw PlayerStepFailed(std::string("no button ") + button);
    player.Click(launch.buttons.ScreenRect(index).GetCenter());
}

// While the others pick their squads: the countdown stands under the heading and the
// leave button beside the chat. The others may all be ready before a number shows.
void WaitingForSquadsStandsClear(PlayerHarness& player, const std::string& who) {
    Window& screen = player.OpenWindow("WaitAfterSendingSquadsWindow");
    if (Overlap(screen.controls->sprites[0]->GetScreenRect(), Find("ChatWindow").Rect()))
        throw PlayerStepFailed("the leave button stands on the chat");
    const std::string heading = Text("WaitingForSquads");
    for (int frame = 0; frame < 60 && player.IsOpen("WaitAfterSendingSquadsWindow"); ++frame) {
        player.Frames(1);
        const std::vector<play_test::ShownText>& runs = player.TextsShown();
        const auto top = std::find_if(runs.begin(), runs.end(), [&](auto& run) { return run.text == heading; });
        const auto number = std::find_if(runs.begin(), runs.end(), [](auto& run) {
            return run.scale >= 1.4f && !run.text.empty() && run.text.find_first_not_of("0123456789") == std::string::npos;
        });
        if (top == runs.end() || number == runs.end()) continue;
        if (Overlap(top->rect, number->rect)) throw PlayerStepFailed("the countdown runs into the heading");
        Picture(player, who, "waiting_for_squads", {heading});
        return;
    }
}

// A saved squad dragged from the squad tray into the squad being launched, then Launch.
void LaunchSavedSquad(PlayerHarness& player, const std::string& who) {
    TrayEntryPoint(player, "VornTray", "Scout");
    player.Drag(TrayEntryPoint(player, "SquadTray", "Scouts"), player.WindowPoint("SquadWindow"));
    player.FramesUntil([] { return GetLocalPlayer().squads[0].Count() == 3; }, 600, "the scouts in the launch");
    Picture(player, who, "squad_chosen");
    ClickLaunchButton(player, "Launch");
    player.FramesUntil([&] { return player.IsOpen("WaitAfterSendingSquadsWindow"); }, 600, "the squads sent");
    WaitingForSquadsStandsClear(player, who);
}

// The mini-map shows the battle's own ground, whatever the player did before: where the
// field is water, the map is blue (through the view outline too), not the grass around it.
void TheMiniMapShowsTheBattlesGround(PlayerHarness& player, const Image& picture, const std::string& who) {
    if (picture.Width() == 0) return;
    const auto& map = dynamic_cast<const MiniMap&>(player.OpenWindow("MiniMap"));
    const Terrain& ground = gArena->GetTerrain();
    int water = 0, blue = 0;
    for (int32_t j = 0; j < ground.Height(); ++j) {
        for (int32_t i = 0; i < ground.Width(); ++i) {
            if (ground.CellAt(i, j).type != kTerrainWater) continue;
            ++water;
            const Point at = map.MapPixelOf(Vector3(float(i) * Terrain::kCellSize, float(j) * Terrain::kCellSize, 0));
            const Color shown = picture.At(at.x, at.y);
            if (shown.Blue() > shown.Green() + 30) ++blue;
        }
    }
    // Icons may stand over a little of the water.
    if (water == 0 || blue * 4 < water * 3)
        throw PlayerStepFailed(who + "'s mini-map shows " + std::to_string(blue) + " of the battle's " +
                               std::to_string(water) + " water cells as water");
}

// Frames a whole battle may take; the clock runs at least a hundredth of a second a
// frame, so the countdown and a battle of minutes fit many times over.
constexpr int kBattleFrames = 60000;

// The battle to its end and the results; each living unit goes to the parent as
// "unit <id> <x> <y>". The names and lines under the figures as the results first showed.
std::vector<play_test::ShownText> PlayToTheResults(PlayerHarness& player, const std::string& who, int report) {
    player.FramesUntil([&] { return player.IsOpen("ArenaWindow"); }, kBattleFrames, "the battle");
    Report(report, "battle");
    player.Frames(30);
    const Image battle = Picture(player, who, "battle");
    ChatHasItsDarkPanel(battle, who + " battle");
    TheMiniMapShowsTheBattlesGround(player, battle, who);
    // Every unit on the field wears its owner's colours, here as on the others' screens.
    for (WorldObject* object : gArena->Objects()) {
        const Player* owner = object->kind == kKindVorn ? static_cast<Vorn*>(object)->owner : nullptr;
        if (owner != nullptr && !object->removed)
            Report(report, "wears " + std::to_string(object->id) + " " + owner->ShownName().CStr() + " " +
                               Hex(owner->primaryColor));
    }
    // Only a player with no units on the field is told he is out.
    const Player* own = Session().LocalPlayer()->record;
    const bool fighting = std::any_of(gArena->Objects().begin(), gArena->Objects().end(), [own](WorldObject* object) {
        return object->kind == kKindVorn && !object->removed && static_cast<Vorn*>(object)->owner == own;
    });
    if (fighting && ChatShows("You are out")) throw PlayerStepFailed(who + ": told of being out with units fighting");
    player.FramesUntil([&] { return player.IsOpen("ResultsWindow"); }, kBattleFrames, "the results");
    player.Frames(30);
    const Image results = Picture(player, who, "results", {Text("ResultsWindow"), Text("ResultsAlive")});
    FiguresWearTheirPlayersColours(results);
    NamesAreReadUnderTheFigures(player, results);
    const std::vector<play_test::ShownText> lines = LinesUnderTheFiguresStandClear(player, results, who + " results");
    for (const Player* shown : GetPlayerRoster().networkPlayers)
        Report(report, "colour " + std::string(shown->ShownName().CStr()) + " " + Hex(shown->primaryColor));
    FiguresAreAnimated(player, "ResultsWindow");
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind != kKindVorn || object->removed) continue;
        Report(report, "unit " + std::to_string(object->id) + " " + std::to_string(object->position.x) + " " +
                           std::to_string(object->position.y));
    }
    return lines;
}

// Once the others have left, the results of the battle they fought stay as they were:
// every name and line in its place, each player who left marked so under his own.
void ResultsStayAsTheBattleEnded(PlayerHarness& player, const std::vector<play_test::ShownText>& atTheEnd) {
    player.FramesUntil([] { return GetPlayerRoster().networkPlayers.Count() == 1; }, kSessionFrames,
                       "the others gone from the list");
    const std::string left = Text("PlayerLeftResults");
    const Image picture = Picture(player, "host", "results_after_all_left", {left});
    const std::vector<play_test::ShownText> now = LinesUnderTheFiguresStandClear(player, picture, "the results");
    for (const play_test::ShownText& run : atTheEnd) {
        const auto same = [&run](const play_test::ShownText& shown) {
            return shown.text == run.text && shown.rect.left == run.rect.left && shown.rect.top == run.rect.top;
        };
        if (std::none_of(now.begin(), now.end(), same))
            throw PlayerStepFailed("\"" + run.text + "\" of the results moved or went once the others left");
    }
    if (std::count_if(now.begin(), now.end(), [&left](const auto& run) { return run.text == left; }) != 2)
        throw PlayerStepFailed("the two players who left are not both marked so");
    NamesAreReadUnderTheFigures(player, picture);
}

// Once the player who left is gone from the results, what the screen shows under each
// figure goes to the parent as "shows <name>: <line>".
void ReportResultsShown(PlayerHarness& player, int report) {
    player.FramesUntil([] { return GetPlayerRoster().networkPlayers.Count() == 2; }, kSessionFrames,
                       "the player who left gone from the results");
    player.Frames(2);
    for (Player* shown : GetPlayerRoster().networkPlayers) {
        const std::string name = shown->name.CStr();
        const IntRect box = GetPlayerFigure(*shown).rect;
        for (const play_test::ShownText& run : player.TextsShown()) {
            const int middle = (run.rect.left + run.rect.right) / 2;
            if (run.text != name && run.rect.top >= box.bottom && run.rect.top < box.bottom + 60 &&
                middle > box.left - 40 && middle < box.right + 40)
                Report(report, "shows " + name + ": " + run.text);
        }
    }
}

// A line typed into the chat with the pointer over it, and sent.
void SayInTheChat(PlayerHarness& player, const std::string& line) {
    player.MoveTo(player.WindowPoint("ChatWindow"));
    player.Type(line);
    player.TapKey(win::kKeyReturn);
}

// From the game menu to the waiting screen; the port goes to the parent.
void Host(PlayerHarness& player, int report) {
    TakeTheCampaignMapTour(player);
    player.ClickItem("GameMenu", "StartNetworkGame");
    player.FramesUntil([&] { return player.IsOpen("ServerWaitWindow"); }, 60, "the waiting screen");
    Report(report, "port " + std::to_string(Session().ListeningPort()));
}

// Sets the game up on a scenario that comes with the game.
void SetUpOnFreePlay(PlayerHarness& player) {
    player.ClickItem("ServerWaitWindow", "SetupGame");
    player.FramesUntil([&] { return player.IsOpen("NetworkGameSetupWindow"); }, 60, "the set-up screen");
    player.Frames(2);
    const Image setup = Picture(player, "host", "setup", {Text("ServerSetup"), "Ann", "Bob"});
    FiguresWearTheirPlayersColours(setup);
    FiguresAreAnimated(player, "NetworkGameSetupWindow");
    // The button under the pointer grows; its value text stays clear of it.
    const IntRect delay = player.ItemRect("NetworkGameSetupWindow", "SquadSelectionDelay");
    player.MoveTo(delay.GetCenter());
    player.Frames(1);
    const std::string seconds = Text("Second");
    const int grownRight = delay.GetCenter().x + 3 * (delay.right - delay.left) / 4;
    for (const play_test::ShownText& run : player.TextsShown()) {
        if (run.text.find(seconds) != std::string::npos && std::abs(run.rect.top - delay.top) < 64 &&
            run.rect.left >= delay.left && run.rect.left < grownRight)
            throw PlayerStepFailed("the hovered button covers \"" + run.text + "\"");
    }
    // The budget box starts from the budget the screen shows: Return alone keeps it.
    const int32_t budget = GetNetworkGame()->MatchSettings().budget;
    player.ClickItem("NetworkGameSetupWindow", "Budget");
    player.WaitFor("ServerBudgetEditBox");
    Picture(player, "host", "budget_box", {std::to_string(budget)});
    player.TapKey(win::kKeyReturn);
    player.FramesUntil([&] { return !player.IsOpen("ServerBudgetEditBox"); }, 60, "the budget box closed");
    if (GetNetworkGame()->MatchSettings().budget != budget)
        throw PlayerStepFailed("Return alone changed the budget to " +
                               std::to_string(GetNetworkGame()->MatchSettings().budget));
    player.ClickItem("NetworkGameSetupWindow", "ScenarioName");
    player.Frames(2);
    Picture(player, "host", "scenario_list", {Text("LoadScenario")});
    const Window& list = Find("ServerScenarioListBox");
    for (const play_test::ShownText& run : player.TextsShown()) {
        if (run.text == Text("LoadScenario") && (run.rect.left < list.left + 7 || run.rect.right > list.right - 7))
            throw PlayerStepFailed("the scenario list's caption runs under its frame");
    }
    player.Click(TrayEntryPoint(player, "ServerScenarioListBox", "FreePlay"));
    player.FramesUntil([] { return GetNetworkGame()->MatchSettings().scenario == "FreePlay"; }, 60,
                       "the scenario chosen");
    player.ClickItem("NetworkGameSetupWindow", "SelectSquads");
}

play_test::HarnessSettings Settings(bool pictures, const std::string& name) {
    play_test::HarnessSettings settings = pictures ? play_test::WithPictures() : play_test::HarnessSettings();
    settings.newPlayer = name;
    return settings;
}

// With leaving set, a player leaves mid-battle: the host reports its results and, once
// Ann has reported hers, ends the session.
int RunHost(int report, bool pictures, bool leaving = false) {
    setenv("VORNS_GAME_PORT", "0", 1);
    PlayerHarness player(Settings(pictures, "Host"));
    if (!player.Unavailable().empty()) {
        Report(report, "skip " + player.Unavailable());
        return 0;
    }
    GiveSavedSquad(player, "Host");
    Host(player, report);
    player.FramesUntil([] { return SessionPlayers() == 3; }, kSessionFrames, "both players joined");
    FiguresWearTheirPlayersColours(Picture(player, "host", "waiting", {"Ann", "Bob"}));
    player.Type("hello from the host");
    player.TapKey(win::kKeyReturn);
    player.FramesUntil([] { return ChatShows("hi from Ann") && ChatShows("hi from Bob"); }, kSessionFrames,
                       "both players' lines");
    SetUpOnFreePlay(player);
    ReachSquadSelection(player, "host");
    LaunchSavedSquad(player, "host");
    const std::vector<play_test::ShownText> results =
        PlayToTheResults(player, leaving ? "host_after_bob_left" : "host", report);
    if (leaving) {
        ReportResultsShown(player, report);
        player.FramesUntil([] { return ChatShows("Ann read the results"); }, kSessionFrames, "Ann's results read");
        return 0;
    }
    if (GetResultsWindow().standings.size() != 3) throw PlayerStepFailed("the results do not show all three players");
    // Nobody leaves until everyone has read his results. The host stays until the others
    // have left: serving no more would send them the word that the server has gone instead.
    player.FramesUntil([] { return ChatShows("Ann read the results") && ChatShows("Bob read the results"); },
                       kSessionFrames, "the others' results read");
    SayInTheChat(player, "All have read the results");
    player.FramesUntil([] { return SessionPlayers() == 1; }, kSessionFrames, "the players left");
    ResultsStayAsTheBattleEnded(player, results);
    return 0;
}

// Types the address on the join screen and connects.
void Connect(PlayerHarness& player) {
    player.ClickItem("ClientSetupWindow", "ServerIP");
    // The box starts from the last address; the player clears it and types the host's.
    for (int i = 0; i < 40; ++i) player.TapKey(win::kKeyBackspace);
    player.Type("127.0.0.1");
    player.TapKey(win::kKeyReturn);
    player.ClickItem("ClientSetupWindow", "Connect");
    player.Frames(2);
}

void JoinByAddress(PlayerHarness& player) {
    if (!player.IsOpen("ClientSetupWindow")) player.ClickItem("GameMenu", "JoinNetworkGame");
    player.FramesUntil([&] { return player.IsOpen("ClientSetupWindow"); }, 60, "the join screen");
    Connect(player);
    if (player.IsOpen("ErrorBox")) {
        std::string message;
        for (const String& line : GetErrorBox().message) message += line.CStr();
        throw PlayerStepFailed("joining " + std::string(GetClientSetupWindow().address.CStr()) + " failed: " + message);
    }
    player.FramesUntil([&] { return player.IsOpen("ClientWaitAfterJoiningWindow"); }, kSessionFrames, "joined");
}

// Milliseconds the joining program's clock is moved on, so that a wait passes at once.
uint64_t gSkippedMs = 0;

uint64_t SkippingClock() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count()) +
           gSkippedMs;
}

// Addresses where no game is served; each time the player is told why and is back on the
// join screen. One never answers the connection request: the screen says it is connecting
// from the first frame on while the frames go on, and gives up once the wait is over. One
// answers as a web server does: it is no game server. One takes the connection and never
// answers the introduction.
void JoinAddressesWithNoGame(PlayerHarness& player, uint16_t realPort) {
    auto toldAndBack = [&](const std::string& screen, const std::string& shown) {
        player.FramesUntil([&] { return player.IsOpen("ErrorBox"); }, 60, screen);
        std::string message;
        for (const String& line : GetErrorBox().message) message += std::string(line.CStr()) + " ";
        if (message.find(shown) == std::string::npos) throw PlayerStepFailed(screen + ": the box says " + message);
        Picture(player, "Bob", screen, {shown});
        player.TapKey(win::kKeySpace);
        player.FramesUntil([&] { return !player.IsOpen("ErrorBox"); }, 60, "the box closed");
        if (!player.IsOpen("ClientSetupWindow")) throw PlayerStepFailed("not back on the join screen: " + screen);
    };
    auto serve = [](sock::Socket& listener, int backlog) {
        if (!listener.Listen(0, backlog)) throw PlayerStepFailed("no listener");
        setenv("VORNS_GAME_PORT", std::to_string(listener.LocalPort()).c_str(), 1);
    };
    player.ClickItem("GameMenu", "JoinNetworkGame");
    player.FramesUntil([&] { return player.IsOpen("ClientSetupWindow"); }, 60, "the join screen");
    Session().SetClock(SkippingClock);

    sock::Socket dropping;  // its accept queue is full: the next request is dropped
    serve(dropping, 0);
    sock::Socket filler;
    if (!filler.Create() || filler.Connect({sock::LoopbackIp(), dropping.LocalPort()}) != sock::ConnectStatus::Connected)
        throw PlayerStepFailed("the accept queue could not be filled");
    Connect(player);
    if (!Session().Joining()) throw PlayerStepFailed("the join did not wait for the connection");
    Picture(player, "Bob", "connecting_unanswered", {Text("ConnectingTo") + "127.0.0.1"});
    gSkippedMs += sock::kConnectBudgetMs;
    toldAndBack("could_not_connect", "Could not connect to 127.0.0.1");

    sock::Socket web;
    serve(web, 4);
    Connect(player);
    std::unique_ptr<sock::Socket> visitor;
    player.FramesUntil(
        [&] {
            sock::Ipv4Address from;
            if (visitor == nullptr && (visitor = web.Accept(from)) != nullptr) {
                const std::string reply = "HTTP/1.1 400 Bad Request\r\n\r\n";
                size_t sent = 0;
                visitor->SetNonBlocking(false);
                visitor->SendSome(reply.data(), reply.size(), sent);
                visitor->ShutdownSend();
            }
            return player.IsOpen("ErrorBox");
        },
        60, "the web server's answer");
    toldAndBack("not_a_game_server", "Something answered");

    sock::Socket silent;
    serve(silent, 4);
    Connect(player);
    Picture(player, "Bob", "connecting", {Text("ConnectingTo") + "127.0.0.1"});
    player.FramesUntil([] { return Session().State() == SessionState::ClientJoined; }, 60, "connected");
    gSkippedMs += sock::kJoinAnswerLimitMs;
    toldAndBack("no_answer", "The server did not answer.");
    setenv("VORNS_GAME_PORT", std::to_string(realPort).c_str(), 1);
}

// Ann has played before and brings her saved scouts, in a new player's colours as the
// host's; Bob's profile is new: he has no squad, and the countdown sends what he has.
int RunGuest(int report, uint16_t port, const std::string& name, bool pictures, bool leaving = false) {
    setenv("VORNS_GAME_PORT", std::to_string(port).c_str(), 1);
    PlayerHarness player(Settings(pictures, name));
    if (!player.Unavailable().empty()) {
        Report(report, kFailed + "no pictures: " + player.Unavailable());
        return 2;
    }
    const bool veteran = name == "Ann";
    TakeTheCampaignMapTour(player);
    if (veteran) {
        // Her squad is saved after the trays first read her folders: it is offered all the same.
        VisitTheTrainingGrounds(player);
        GiveSavedSquad(player, name);
    }
    if (!veteran) Customise(player, Paint{0.98f, 0.02f, 0.02f});
    if (!veteran) JoinAddressesWithNoGame(player, port);
    JoinByAddress(player);
    Report(report, "joined");
    player.FramesUntil([] { return SessionPlayers() == 3 && ChatShows("hello from the host"); }, kSessionFrames,
                       "the host's line");
    FiguresWearTheirPlayersColours(Picture(player, name, "waiting", {"Host", veteran ? "Bob" : "Ann"}));
    player.Type("hi from " + name);
    player.TapKey(win::kKeyReturn);
    player.FramesUntil([&] { return player.IsOpen("NetworkGameSetupWindow"); }, kSessionFrames, "the set-up screen");
    player.Frames(2);
    const Image setup = Picture(player, name, "setup", {Text("WaitingForServerSetup")});
    FiguresWearTheirPlayersColours(setup);
    ChatHasItsDarkPanel(setup, name + " setup");
    FiguresAreAnimated(player, "NetworkGameSetupWindow");
    for (const std::string& missing : player.MissingFiles()) Report(report, "missing " + missing);
    ReachSquadSelection(player, name);
    if (veteran) {
        LaunchSavedSquad(player, name);
    } else {
        // Launching nothing: the message says where units come from.
        ClickLaunchButton(player, "Launch");
        player.WaitFor("ErrorBox");
        std::string message;
        for (const String& line : GetErrorBox().message) message += std::string(line.CStr()) + " ";
        if (message.find("tray") == std::string::npos)
            throw PlayerStepFailed("launching nothing says only: " + message);
        Picture(player, name, "nothing_to_launch");
        player.MoveTo(player.WindowPoint("ErrorBox"));
        player.TapKey(win::kKeySpace);
        player.FramesUntil([&] { return !player.IsOpen("ErrorBox"); }, 60, "the message closed");
        player.FramesUntil([] { return Session().CountdownRunning(); }, kBattleFrames, "the countdown");
        Picture(player, name, "countdown", {Text("SelectingSquads")});
        CountdownStandsClear(player);
    }
    PlayToTheResults(player, leaving ? name + "_after_bob_left" : name, report);
    // Bob brought no units: once the battle is on he is told he is out.
    if (!veteran && !ChatShows("You are out")) throw PlayerStepFailed(name + " was not told he is out");
    if (leaving) ReportResultsShown(player, report);
    SayInTheChat(player, name + " read the results");
    if (leaving) {
        player.FramesUntil([&] { return player.IsOpen("ErrorBox"); }, kLeavingFrames, "the host gone");
    } else {
        player.FramesUntil([] { return ChatShows("All have read the results"); }, kSessionFrames,
                           "everyone's results read");
    }
    return 0;
}

// Runs one program in a child; its exit status says how it ended.
pid_t Spawn(int& readEnd, const std::function<int(int)>& program) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = test_peers::ForkEndingWithTest();
    if (child == 0) {
        close(fds[0]);
        int status = 1;
        try {
            status = program(fds[1]);
        } catch (const std::exception& failure) {
            Report(fds[1], kFailed + failure.what());
        }
        _exit(status);
    }
    close(fds[1]);
    readEnd = fds[0];
    return child;
}

// The port a host serves on, from its first line. A host that gives none, or says
// nothing for the quiet time, is ended: 0, with `first` saying why.
uint16_t HostsPort(pid_t host, int hostPipe, std::string& first) {
    first = ReadLine(hostPipe, "the host");
    const int port = first.rfind("port ", 0) == 0 ? std::stoi(first.substr(5)) : 0;
    if (port > 0) return uint16_t(port);
    test_peers::End(host);
    close(hostPipe);
    return 0;
}

// A program's lines until its pipe closes or it fails, its silence too.
std::vector<std::string> LinesUntilEnd(int fd, const std::string& who) {
    std::vector<std::string> lines;
    for (std::string line = ReadLine(fd, who); !line.empty(); line = ReadLine(fd, who)) {
        lines.push_back(line);
        if (IsFailure(line)) break;
    }
    close(fd);
    return lines;
}

std::string LineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
    }
    return "";
}

// Why a program that WaitForAll saw end did not end well.
std::string Failure(const std::string& who, int status, const std::vector<std::string>& lines) {
    if (status == test_peers::kStuck)
        return who + " was ended, stuck: no program ended for " + std::to_string(test_peers::kQuietSeconds) + " s";
    return who + ": " + LineStarting(lines, kFailed);
}

// Every line that starts so, without the start, sorted.
std::vector<std::string> LinesStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
    }
    std::sort(found.begin(), found.end());
    return found;
}

struct UnitPlace {
    float x = 0.0f, y = 0.0f;
};

// The living units a program reported at the results, by id.
std::map<int, UnitPlace> UnitsReported(const std::vector<std::string>& lines) {
    std::map<int, UnitPlace> units;
    for (const std::string& line : lines) {
        if (line.rfind("unit ", 0) != 0) continue;
        std::istringstream words(line.substr(5));
        int id = -1;
        UnitPlace place;
        words >> id >> place.x >> place.y;
        units[id] = place;
    }
    return units;
}

// The same units stand in the same places, within a small tolerance.
void ExpectTheSameWorld(const std::map<int, UnitPlace>& server, const std::map<int, UnitPlace>& client,
                        const std::string& who) {
    constexpr float kTolerance = 0.5f;
    EXPECT_EQ(server.size(), client.size()) << who << " ends with another number of units";
    for (const auto& [id, place] : server) {
        const auto at = client.find(id);
        if (at == client.end()) {
            ADD_FAILURE() << who << " has no unit " << id;
            continue;
        }
        EXPECT_NEAR(at->second.x, place.x, kTolerance) << who << ", unit " << id;
        EXPECT_NEAR(at->second.y, place.y, kTolerance) << who << ", unit " << id;
    }
}

TEST(NetworkPlayTest, AHostAndTwoJoinedPlayersPlayABattleFromTheGameMenuToTheResults) {
    int hostPipe = -1;
    const pid_t host = Spawn(hostPipe, [](int report) { return RunHost(report, true); });
    ASSERT_GT(host, 0);
    std::string first;
    const uint16_t port = HostsPort(host, hostPipe, first);
    if (first.rfind("skip ", 0) == 0) GTEST_SKIP() << first.substr(5);
    ASSERT_NE(port, 0) << first;

    int annPipe = -1, bobPipe = -1;
    const pid_t ann = Spawn(annPipe, [port](int report) { return RunGuest(report, port, "Ann", true); });
    const pid_t bob = Spawn(bobPipe, [port](int report) { return RunGuest(report, port, "Bob", true); });
    const std::vector<int> statuses = WaitForAll({host, ann, bob});
    const std::vector<std::string> hostLines = LinesUntilEnd(hostPipe, "the host");
    const std::vector<std::string> annLines = LinesUntilEnd(annPipe, "Ann");
    const std::vector<std::string> bobLines = LinesUntilEnd(bobPipe, "Bob");
    EXPECT_EQ(statuses[0], 0) << Failure("the host", statuses[0], hostLines);
    EXPECT_EQ(statuses[1], 0) << Failure("Ann", statuses[1], annLines);
    EXPECT_EQ(statuses[2], 0) << Failure("Bob", statuses[2], bobLines);
    if (HasFailure()) return;
    // The set-up's sounds are in the data set.
    for (const std::string& line : annLines) EXPECT_EQ(line.find("MENUSELECT"), std::string::npos) << line;
    const std::map<int, UnitPlace> world = UnitsReported(hostLines);
    ExpectTheSameWorld(world, UnitsReported(annLines), "Ann");
    ExpectTheSameWorld(world, UnitsReported(bobLines), "Bob");
    // The host and Ann both kept a new player's colours: the server gave Ann others, and
    // every screen, her own too, shows each player and each unit in the same colour.
    const std::vector<std::string> colours = LinesStarting(hostLines, "colour ");
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(LinesStarting(annLines, "colour "), colours);
    EXPECT_EQ(LinesStarting(bobLines, "colour "), colours);
    std::set<std::string> distinct;
    for (const std::string& line : colours) distinct.insert(line.substr(line.rfind(' ')));
    EXPECT_EQ(distinct.size(), 3u) << colours[0] << ", " << colours[1] << ", " << colours[2];
    // Each program looked at its field at its own moment: a unit may have fallen meanwhile.
    std::map<std::string, std::string> wornBy;  // unit id: owner and colour, as the host shows it
    std::map<std::string, std::set<std::string>> coloursOf;
    for (const auto* lines : {&hostLines, &annLines, &bobLines}) {
        for (const std::string& line : LinesStarting(*lines, "wears ")) {
            const std::string id = line.substr(0, line.find(' ')), owner = line.substr(line.find(' ') + 1);
            EXPECT_EQ(wornBy.emplace(id, owner).first->second, owner) << "unit " << id;
            coloursOf[owner.substr(0, owner.find(' '))].insert(owner);
        }
    }
    ASSERT_EQ(coloursOf["Host"].size(), 1u);
    ASSERT_EQ(coloursOf["Ann"].size(), 1u);
    const std::string hosts = *coloursOf["Host"].begin(), anns = *coloursOf["Ann"].begin();
    EXPECT_NE(hosts.substr(hosts.find(' ')), anns.substr(anns.find(' ')));
}

// The results lines each program reported, sorted.
std::vector<std::string> ResultsShown(const std::vector<std::string>& lines) {
    std::vector<std::string> shown;
    for (const std::string& line : lines) {
        if (line.rfind("shows ", 0) == 0) shown.push_back(line.substr(6));
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

// Bob's program, drawn without pictures, is killed once his battle has begun: the host
// and Ann play on to the results, and both show the same figures for both. Bob joins
// first, so that the list closes up over his place.
TEST(NetworkPlayTest, APlayerKilledMidBattleLeavesTheOthersToFinishWithTheSameResults) {
    int hostPipe = -1;
    const pid_t host = Spawn(hostPipe, [](int report) { return RunHost(report, true, true); });
    ASSERT_GT(host, 0);
    std::string first;
    const uint16_t port = HostsPort(host, hostPipe, first);
    if (first.rfind("skip ", 0) == 0) GTEST_SKIP() << first.substr(5);
    ASSERT_NE(port, 0) << first;
    int annPipe = -1, bobPipe = -1;
    pid_t ann = -1;
    const pid_t bob = Spawn(bobPipe, [port](int report) { return RunGuest(report, port, "Bob", false); });
    std::string line = test_peers::WaitForLine(bob, bobPipe, "Bob", "joined");
    if (line == "joined") {
        ann = Spawn(annPipe, [port](int report) { return RunGuest(report, port, "Ann", true, true); });
        line = test_peers::WaitForLine(bob, bobPipe, "Bob", "battle");
    }
    close(bobPipe);
    if (line != "battle") {  // Bob has been ended; the others cannot play on without him
        test_peers::End(host);
        close(hostPipe);
        if (ann > 0) {
            test_peers::End(ann);
            close(annPipe);
        }
        FAIL() << line;
    }
    test_peers::End(bob);
    const std::vector<int> statuses = WaitForAll({host, ann});
    const std::vector<std::string> hostLines = LinesUntilEnd(hostPipe, "the host");
    const std::vector<std::string> annLines = LinesUntilEnd(annPipe, "Ann");
    EXPECT_EQ(statuses[0], 0) << Failure("the host", statuses[0], hostLines);
    EXPECT_EQ(statuses[1], 0) << Failure("Ann", statuses[1], annLines);
    if (HasFailure()) return;
    const std::vector<std::string> shown = ResultsShown(hostLines);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rfind("Ann: ", 0), 0u);
    EXPECT_EQ(shown[1].rfind("Host: ", 0), 0u);
    EXPECT_EQ(ResultsShown(annLines), shown);
}

// Drawn without pictures: the two programs only pass a session between them.
TEST(NetworkPlayTest, WhenTheHostLeavesTheJoinedPlayerIsToldAndBackOnTheGameMenu) {
    int hostPipe = -1;
    const pid_t host = Spawn(hostPipe, [](int report) {
        setenv("VORNS_GAME_PORT", "0", 1);
        play_test::HarnessSettings settings;
        settings.newPlayer = "Host";
        PlayerHarness player(settings);
        Host(player, report);
        player.FramesUntil([] { return SessionPlayers() == 2; }, kLeavingFrames, "the guest joined");
        player.ClickItem("ServerWaitWindow", "Back");
        player.FramesUntil([&] { return player.IsOpen("GameMenu"); }, 600, "the host is back on the game menu");
        return 0;
    });
    ASSERT_GT(host, 0);
    std::string first;
    const uint16_t port = HostsPort(host, hostPipe, first);
    ASSERT_NE(port, 0) << first;
    int guestPipe = -1;
    const pid_t guest = Spawn(guestPipe, [port](int) {
        setenv("VORNS_GAME_PORT", std::to_string(port).c_str(), 1);
        play_test::HarnessSettings settings;
        settings.newPlayer = "Ann";
        PlayerHarness player(settings);
        TakeTheCampaignMapTour(player);
        // The host leaves as soon as it counts the guest in, which may come before the
        // guest's own screen says it has joined: either way the word that the host left
        // must come.
        try {
            JoinByAddress(player);
        } catch (const PlayerStepFailed&) {
            if (!player.IsOpen("ErrorBox")) throw;
        }
        player.FramesUntil([&] { return player.IsOpen("ErrorBox"); }, kLeavingFrames, "word that the host left");
        player.MoveTo(player.WindowPoint("ErrorBox"));
        player.TapKey(win::kKeySpace);
        player.FramesUntil([&] { return player.IsOpen("GameMenu") && player.Mode() == "MenuGame"; }, 600,
                           "back on the game menu");
        return 0;
    });
    const std::vector<int> statuses = WaitForAll({host, guest});
    EXPECT_EQ(statuses[0], 0) << Failure("the host", statuses[0], LinesUntilEnd(hostPipe, "the host"));
    EXPECT_EQ(statuses[1], 0) << Failure("the guest", statuses[1], LinesUntilEnd(guestPipe, "the guest"));
}

}  // namespace
