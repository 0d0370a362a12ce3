// Programs on one machine, each played as a player plays it: one hosts from the game
// menu, others join by typing its address, they chat, the host sets the game up on a
// scenario that comes with the game and everyone reaches the squad selection; a host
// that leaves sends the joined players back to the game menu.
//
// Each program is a forked child with its own harness and its own copy of the runtime
// folder; the parent only starts them and reads what they report through pipes. The host
// serves on a port the system chooses and passes it to the others, who join through it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "modes/ButtonRowWindow.h"
#include "game/PlayerRoster.h"
#include "net/ChatWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/Tray.h"
#include "ui/ErrorBox.h"
#include "ui/WindowManager.h"

namespace {

using play_test::PlayerHarness;
using play_test::PlayerStepFailed;

// Frames a step across programs may take: the others run at their own pace meanwhile.
constexpr int kSessionFrames = 3000;

// One line a child writes to the parent.
void Report(int fd, const std::string& line) {
    const std::string text = line + "\n";
    if (write(fd, text.data(), text.size()) < 0) std::perror("report");
}

std::string ReadLine(int fd) {
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') line += c;
    return line;
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
    if (!GetLocalPlayer().missionMapTutorial) throw PlayerStepFailed("the tour did not end; open: " + player.FrontWindow());
    // The map's row of buttons ends with its way out ("Exit"); the row names none.
    player.FramesUntil([&] { return player.IsOpen("MissionMapWindow"); }, 600, "the campaign map");
    auto& map = dynamic_cast<ButtonRowWindow&>(player.OpenWindow("MissionMapWindow"));
    player.Click(map.buttons->sprites[map.buttons->Count() - 1]->GetScreenCenter());
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

size_t SessionPlayers() { return GetNetworkGame()->Session().Players().size(); }

void Picture(PlayerHarness& player, const std::string& who, const std::string& screen) {
    const std::string name = "network_" + who + "_" + screen;
    if (!player.ShowsAScreen(name)) throw PlayerStepFailed(name + " is one colour");
    player.KeepPicture(name);
}

// The squad selection, laid out with the unit and squad trays above the chat.
void ReachSquadSelection(PlayerHarness& player, const std::string& who) {
    player.FramesUntil([&] { return player.IsOpen("NetworkLaunchWindow"); }, kSessionFrames, "squad selection");
    player.Frames(2);
    Picture(player, who, "squad_selection");
    const Window& chat = Find("ChatWindow");
    if (Find("VornTray").bottom > chat.top - 24 || Find("SquadTray").bottom > chat.top - 24)
        throw PlayerStepFailed("the unit and squad trays stand over the chat");
    TrayEntryPoint(player, "SquadTray", "Scouts");
}

// From the game menu to the waiting screen; the port goes to the parent.
void Host(PlayerHarness& player, int report) {
    TakeTheCampaignMapTour(player);
    player.ClickItem("GameMenu", "StartNetworkGame");
    player.FramesUntil([&] { return player.IsOpen("ServerWaitWindow"); }, 60, "the waiting screen");
    Report(report, "port " + std::to_string(GetNetworkGame()->Session().ListeningPort()));
}

int RunHost(int report) {
    setenv("VORNS_GAME_PORT", "0", 1);
    play_test::HarnessSettings settings = play_test::WithPictures();
    settings.newPlayer = "Host";
    PlayerHarness player(settings);
    if (!player.Unavailable().empty()) {
        Report(report, "skip " + player.Unavailable());
        return 0;
    }
    GiveSavedSquad(player, "Host");
    Host(player, report);
    player.FramesUntil([] { return SessionPlayers() == 3; }, kSessionFrames, "both players joined");
    Picture(player, "host", "waiting");
    player.Type("hello from the host");
    player.TapKey(win::kKeyReturn);
    player.FramesUntil([] { return ChatShows("hi from Ann") && ChatShows("hi from Bob"); }, kSessionFrames,
                       "both players' lines");
    player.ClickItem("ServerWaitWindow", "SetupGame");
    player.FramesUntil([&] { return player.IsOpen("NetworkGameSetupWindow"); }, 60, "the set-up screen");
    Picture(player, "host", "setup");
    player.ClickItem("NetworkGameSetupWindow", "ScenarioName");
    player.Frames(2);
    player.Click(TrayEntryPoint(player, "ServerScenarioListBox", "FreePlay"));
    player.FramesUntil([] { return GetNetworkGame()->MatchSettings().scenario == "FreePlay"; }, 60,
                       "the scenario chosen");
    player.ClickItem("NetworkGameSetupWindow", "SelectSquads");
    ReachSquadSelection(player, "host");
    return 0;
}

void JoinByAddress(PlayerHarness& player) {
    player.ClickItem("GameMenu", "JoinNetworkGame");
    player.FramesUntil([&] { return player.IsOpen("ClientSetupWindow"); }, 60, "the join screen");
    player.ClickItem("ClientSetupWindow", "ServerIP");
    // The box starts from the last address; the player clears it and types the host's.
    for (int i = 0; i < 40; ++i) player.TapKey(win::kKeyBackspace);
    player.Type("127.0.0.1");
    player.TapKey(win::kKeyReturn);
    player.ClickItem("ClientSetupWindow", "Connect");
    player.Frames(2);
    if (player.IsOpen("ErrorBox")) {
        std::string message;
        for (const String& line : GetErrorBox().message) message += line.CStr();
        throw PlayerStepFailed("joining " + std::string(GetClientSetupWindow().address.CStr()) + " failed: " + message);
    }
    player.FramesUntil([&] { return player.IsOpen("ClientWaitAfterJoiningWindow"); }, kSessionFrames, "joined");
}

int RunGuest(int report, uint16_t port, const std::string& name) {
    setenv("VORNS_GAME_PORT", std::to_string(port).c_str(), 1);
    play_test::HarnessSettings settings = play_test::WithPictures();
    settings.newPlayer = name;
    PlayerHarness player(settings);
    if (!player.Unavailable().empty()) {
        Report(report, "failed no pictures: " + player.Unavailable());
        return 2;
    }
    GiveSavedSquad(player, name);
    TakeTheCampaignMapTour(player);
    JoinByAddress(player);
    player.FramesUntil([] { return SessionPlayers() == 3 && ChatShows("hello from the host"); }, kSessionFrames,
                       "the host's line");
    Picture(player, name, "waiting");
    player.Type("hi from " + name);
    player.TapKey(win::kKeyReturn);
    player.FramesUntil([&] { return player.IsOpen("NetworkGameSetupWindow"); }, kSessionFrames, "the set-up screen");
    player.Frames(2);
    Picture(player, name, "setup");
    for (const std::string& missing : player.MissingFiles())
        Report(report, "missing " + missing);
    ReachSquadSelection(player, name);
    return 0;
}

// Runs one program in a child; its exit status says how it ended.
pid_t Spawn(int& readEnd, const std::function<int(int)>& program) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        int status = 1;
        try {
            status = program(fds[1]);
        } catch (const std::exception& failure) {
            Report(fds[1], std::string("failed ") + failure.what());
        }
        _exit(status);
    }
    close(fds[1]);
    readEnd = fds[0];
    return child;
}

std::vector<std::string> LinesUntilEnd(int fd) {
    std::vector<std::string> lines;
    for (std::string line = ReadLine(fd); !line.empty(); line = ReadLine(fd)) lines.push_back(line);
    close(fd);
    return lines;
}

// Waits for the programs to end; once one fails the others cannot finish the session,
// so they are ended too. Exit statuses by program, -1 for one that was ended.
std::vector<int> WaitForAll(const std::vector<pid_t>& programs) {
    std::vector<int> statuses(programs.size(), -1);
    size_t left = programs.size();
    while (left > 0) {
        int status = 0;
        const pid_t ended = waitpid(-1, &status, 0);
        const auto at = std::find(programs.begin(), programs.end(), ended);
        if (at == programs.end()) continue;
        --left;
        statuses[static_cast<size_t>(at - programs.begin())] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) continue;
        for (size_t i = 0; i < programs.size(); ++i) {
            if (programs[i] != ended) kill(programs[i], SIGKILL);
        }
    }
    return statuses;
}

std::string LineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
    }
    return "";
}

TEST(NetworkPlayTest, AHostAndTwoJoinedPlayersChatSetUpAndReachTheSquadSelection) {
    int hostPipe = -1;
    const pid_t host = Spawn(hostPipe, [](int report) { return RunHost(report); });
    ASSERT_GT(host, 0);
    const std::string first = ReadLine(hostPipe);
    if (first.rfind("skip ", 0) == 0 || first.rfind("port ", 0) != 0) {
        WaitForAll({host});
        if (first.rfind("skip ", 0) == 0) GTEST_SKIP() << first.substr(5);
        FAIL() << first;
    }
    const auto port = static_cast<uint16_t>(std::stoi(first.substr(5)));
    ASSERT_NE(port, 0);

    int annPipe = -1, bobPipe = -1;
    const pid_t ann = Spawn(annPipe, [port](int report) { return RunGuest(report, port, "Ann"); });
    const pid_t bob = Spawn(bobPipe, [port](int report) { return RunGuest(report, port, "Bob"); });
    const std::vector<int> statuses = WaitForAll({host, ann, bob});
    const std::vector<std::string> hostLines = LinesUntilEnd(hostPipe);
    const std::vector<std::string> annLines = LinesUntilEnd(annPipe);
    const std::vector<std::string> bobLines = LinesUntilEnd(bobPipe);
    EXPECT_EQ(statuses[0], 0) << "host: " << LineStarting(hostLines, "failed ");
    EXPECT_EQ(statuses[1], 0) << "Ann: " << LineStarting(annLines, "failed ");
    EXPECT_EQ(statuses[2], 0) << "Bob: " << LineStarting(bobLines, "failed ");
    // The set-up's sounds are in the data set.
    for (const std::string& line : annLines) EXPECT_EQ(line.find("MENUSELECT"), std::string::npos) << line;
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
        player.FramesUntil([] { return SessionPlayers() == 2; }, 50 * kSessionFrames, "the guest joined");
        player.ClickItem("ServerWaitWindow", "Back");
        player.FramesUntil([&] { return player.IsOpen("GameMenu"); }, 600, "the host is back on the game menu");
        return 0;
    });
    ASSERT_GT(host, 0);
    const std::string first = ReadLine(hostPipe);
    if (first.rfind("port ", 0) != 0) {
        WaitForAll({host});
        FAIL() << first;
    }
    const auto port = static_cast<uint16_t>(std::stoi(first.substr(5)));
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
        player.FramesUntil([&] { return player.IsOpen("ErrorBox"); }, 50 * kSessionFrames, "word that the host left");
        player.MoveTo(player.WindowPoint("ErrorBox"));
        player.TapKey(win::kKeySpace);
        player.FramesUntil([&] { return player.IsOpen("GameMenu") && player.Mode() == "MenuGame"; }, 600,
                           "back on the game menu");
        return 0;
    });
    const std::vector<int> statuses = WaitForAll({host, guest});
    EXPECT_EQ(statuses[0], 0) << LineStarting(LinesUntilEnd(hostPipe), "failed ");
    EXPECT_EQ(statuses[1], 0) << LineStarting(LinesUntilEnd(guestPipe), "failed ");
}

}  // namespace
