// A whole network game between separate programs: this test's process serves and forked
// processes join, each with its own world. The server drives the session from the waiting
// screen to the results through a battle of three minutes of game time; the clients check
// that their worlds ended as the server's did. A joined program that launches a squad in
// battle after battle holds no more after the third than after the first. A joined
// program run frame for frame beside the server holds every launched unit as the server
// does, second by second.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/MeshBatch.h"
#include "engine/Renderer.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "net/NetworkGame.h"
#include "platform/net/NetLimits.h"
#include "support/SpeedBattleFiles.h"
#include "support/StuckPeers.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TestAssets.h"
#include "support/UnitTablesTest.h"
#include "units/ChassisTable.h"
#include "units/PatternMatcher.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/ScorchMark.h"

namespace {

constexpr float kStep = 0.1f;
constexpr float kBattleSeconds = 180.0f;
constexpr float kHealedTreeHealth = 4.0f;

// The server's frames a run may stand still before it is taken as stuck. The run stands
// still while nothing it waits for changes: the session's state, the players in it, the
// scripted events, the programs still running. The longest wait, the battle, takes 1800
// frames of the server's own; a wait for a joined program takes that program a few of its
// frames, and the server sleeps between its frames, leaving the machine to the others. So
// a slow machine only makes the run slower, and this catches a program that stopped.
constexpr int kStuckFrames = 100000;

// Where a run stands and for how many frames it has stood there.
class Progress {
public:
    // False once the run stood at `where` for more than kStuckFrames frames.
    bool Moving(const std::string& where) {
        if (where != where_) {
            where_ = where;
            frames_ = 0;
        }
        return ++frames_ <= kStuckFrames;
    }
    bool Stuck() const { return frames_ > kStuckFrames; }
    const std::string& Where() const { return where_; }

private:
    std::string where_;
    int frames_ = 0;
};

const char* StateName(SessionState state) {
    static const char* const kNames[] = {
        "ServerWaiting",   "ServerSetup",          "ServerWaitSetupAck",   "ServerSquadSelection",
        "ServerCountdown", "ServerWaitSquads",     "ServerWaitWorldAck",   "ServerPlaying",
        "ServerResults",   "ClientEntering",       "ClientJoined",         "ClientWaiting",
        "ClientSetup",     "ClientScenarioLoaded", "ClientSquadSelection", "ClientSquadsSent",
        "ClientPlaying",   "ClientDisconnected",   "ClientResults",        "Idle"};
    const auto index = static_cast<size_t>(state);
    return index < std::size(kNames) ? kNames[index] : "unknown";
}

// A joined program goes on while the server is there: once its connection or the serving
// program is gone, nothing it waits for can come. The server ends a run that stands still.
bool ServerGone(VornsNetworker& session, pid_t server, const char* name, const char* waitingFor) {
    if (session.State() != SessionState::ClientDisconnected && getppid() == server) return false;
    std::fprintf(stderr, "%s: the server went away while waiting for %s\n", name, waitingFor);
    return true;
}

void Frame(NetworkGame& game) {
    game.HandleInputEvents(Array<InputEvent>());
    game.Game::AdvanceClock(kStep);
    game.Update();
}

int CountLive(Arena& arena, int kind) {
    int count = 0;
    for (WorldObject* object : arena.Objects()) count += object->kind == kind && !object->removed ? 1 : 0;
    return count;
}

// A joining program's own world. Every way out gives the figures' units back and closes
// the arena before the game goes, as the program's shutdown does.
struct JoiningProgram {
    NetworkGame game;
    std::unique_ptr<Arena> arena = world_test::OpenArena(game);
    ~JoiningProgram() {
        ReleasePlayerFigures();
        world_test::CloseArena(*arena);
    }
    bool Join(uint16_t port, const char* name) {
        GetLocalPlayer().name = name;
        game.Join();
        game.Session().SetHost("127.0.0.1");
        game.Session().SetPort(port);
        return game.Session().Connect();
    }
};

// A joining program; 0 when its world ended as the server's, else the failed check.
int RunClient(uint16_t port, const char* name, bool leaveMidBattle) {
    const pid_t server = getppid();
    JoiningProgram program;
    NetworkGame& game = program.game;
    Arena* arena = program.arena.get();
    VornsNetworker& session = game.Session();
    if (!program.Join(port, name)) return 10;
    while (session.State() != SessionState::ClientResults) {
        if (ServerGone(session, server, name, "the results")) return 11;
        if (leaveMidBattle && session.State() == SessionState::ClientPlaying && game.clock > 4.0f) {
            session.StopClient();
            return 0;
        }
        Frame(game);
        usleep(200);
    }
    if (CountLive(*arena, kKindTree) != 2) return 20;
    if (CountLive(*arena, kKindVorn) != 2) return 21;
    bool healed = false;
    for (WorldObject* object : arena->Objects())
        healed |= object->kind == kKindTree && object->health == kHealedTreeHealth;
    if (!healed) return 22;
    if (session.StatusText() != "bob exited the game.") return 23;
    SessionPlayer* host = session.FindPlayer({0, sock::kGamePort});
    if (host == nullptr || host->record->won != 1 || GetLocalPlayer().won != 0) return 24;
    return 0;
}

// What a joined program holds between battles: unit records standing nowhere on the field,
// the renderer's model nodes and the live draw batches.
struct Held {
    int offField = 0;
    int nodes = 0;
    int batches = 0;
};

Held HeldNow(Arena& arena) {
    return {world_test::UnitRecordsInUse(arena) - arena.CountObjectsOfKind(kKindVorn), GetRenderer().ModelNodeCount(),
            MeshBatch::LiveCount()};
}

// A joining program that launches a squad of six in each of `battles` battles; 0 when it
// held the same after the last battle as after the first. The renderer keeps the bodies
// it is given back for reuse, so its nodes reach their number in the second battle, the
// first whose squad is made while a battle's field still stands.
int RunLaunchingClient(uint16_t port, int battles) {
    const pid_t server = getppid();
    JoiningProgram program;
    NetworkGame& game = program.game;
    Arena* arena = program.arena.get();
    VornsNetworker& session = game.Session();
    if (!program.Join(port, "carl")) return 10;
    // The unit file the squad's members come from, sent along with the squad.
    std::filesystem::create_directories("Vorns");
    Vorn* model = arena->NewVorn(0);
    model->BuildBody(2);
    model->name = "Member";
    if (!model->SaveFile(model->name)) return 12;
    arena->GiveBack(model);
    std::vector<Held> after;
    bool launched = false;
    bool wasPlaying = false;
    while (static_cast<int>(after.size()) < battles) {
        if (ServerGone(session, server, "carl", "the end of a battle")) return 11;
        const bool playing = session.State() == SessionState::ClientPlaying;
        if (wasPlaying && !playing) after.push_back(HeldNow(*arena));
        wasPlaying = playing;
        if (!playing && !launched && static_cast<int>(after.size()) < battles) {
            // The next squad as the squad screen shows it: read into the player's first squad
            // and drawn; the countdown's end sends it, however soon it comes.
            for (int i = 0; i < 6; ++i) {
                Vorn* unit = arena->NewVorn(0);
                if (!unit->LoadFile("Member")) return 12;
                unit->SetPosition(Vector3(-10.0f + 4.0f * static_cast<float>(i), 0.0f, 0.0f));
                // A renderer that is not ready draws nothing, and the counts of its nodes and
                // batches would prove nothing. GetReady begins a frame: one call per EndFrame.
                if (!GetRenderer().GetReady()) return 13;
                unit->DrawBody(Vector3());
                GetRenderer().EndFrame();
                GetLocalPlayer().squads[0].Add(unit);
            }
            launched = true;
        }
        if (playing) launched = false;
        Frame(game);
        usleep(200);
    }
    const Held& first = after.front();
    const Held& last = after.back();
    if (last.offField == first.offField && last.batches == first.batches && last.nodes == after[1].nodes) return 0;
    for (const Held& held : after)
        std::fprintf(stderr, "carl holds %d unit records off the field, %d model nodes, %d batches\n", held.offField,
                     held.nodes, held.batches);
    return 30;
}

// --- side by side

// A sixteenth of a second adds up without rounding, so both clocks pass each whole second
// exactly, and a unit's wait ends on a frame's edge on both.
constexpr float kSideStep = 1.0f / 16.0f;
constexpr int kComparedSeconds = 8;
// Frames the joined program leaves the world unread after its squads went, as a slow
// machine does; the server's world waits for its acknowledgement that long.
constexpr int kSlowWorldFrames = 24;

// One frame as the program runs it: the clock, the objects' budgets, the network, the
// world, the rules.
void PlayFrame(NetworkGame& game, Arena& arena) {
    game.Game::AdvanceClock(kSideStep);
    arena.AdvanceObjectClocks();
    game.HandleInputEvents(Array<InputEvent>());
    arena.Update();
    game.Update();
}

// A small robot that shoots an enemy ahead and otherwise walks round in short steps:
// every choice starts a pattern with an action.
bool WriteScout() {
    using battle_files::Pattern;
    const std::string patterns = "Patterns 2\n" +
                                 Pattern("\t\tEnemy < 9, 0 > < 7, 0 > End \n", 1,
                                         "\t\t< 0.5, 0 > < 0.5, 0 > Actions 1\n\t\t\tFire1 < 9, 0 >\n", 2, 2) +
                                 "\n" + Pattern("", 0, "\t\t< 1, 1 > < 1, 1 > Actions 0\n", 2, 0);
    std::filesystem::create_directories("Vorns");
    std::ofstream("Vorns/Scout.VRN") << battle_files::UnitFile("Scout", "RobotSmall", "Laser", "Laser", patterns);
    Vorn* scout = gArena->NewVorn(0);
    if (!scout->LoadFile("Scout")) {
        gArena->GiveBack(scout);
        return false;
    }
    GetLocalPlayer().squads[0].Add(scout);
    return true;
}

// What a peer holds of each unit at a whole second of the battle, by second and id.
struct UnitState {
    int alive = 0;
    float x = 0.0f;
    float y = 0.0f;
    float health = 0.0f;
    int fading = 0;
    float fade = 0.0f;
};
using UnitStates = std::map<std::pair<int, int>, UnitState>;

// After a frame that ended on a whole second of the battle, a line for each unit.
void WriteUnitLines(NetworkGame& game, Arena& arena, std::ostream& out) {
    const float end = game.clock + game.frameTime;
    if (end != std::floor(end) || end < 1.0f) return;
    for (WorldObject* object : arena.Objects()) {
        if (object->kind != kKindVorn) continue;
        const auto& unit = *static_cast<const Vorn*>(object);
        out << static_cast<int>(end) << ' ' << unit.id << ' ' << (unit.removed ? 0 : 1) << ' ' << unit.position.x << ' '
            << unit.position.y << ' ' << unit.health << ' ' << int(unit.teleportFadeActive) << ' '
            << unit.teleportFadeLevel << '\n';
    }
}

UnitStates ReadUnitLines(std::istream& in) {
    UnitStates states;
    int second = 0;
    int id = 0;
    UnitState state;
    while (in >> second >> id >> state.alive >> state.x >> state.y >> state.health >> state.fading >> state.fade)
        states[{second, id}] = state;
    return states;
}

// A joining program that launches a scout and runs one frame for each of the server's:
// the server sends a byte on `frames` after each of its frames and waits for the byte
// back, so neither runs ahead of the other whatever the machine's speed. It writes what
// it holds of every unit each second.
int RunMirroringClient(uint16_t port, int frames) {
    JoiningProgram program;
    NetworkGame& game = program.game;
    VornsNetworker& session = game.Session();
    if (!program.Join(port, "ann")) return 10;
    if (!WriteScout()) return 12;
    std::ofstream lines("units.txt");
    int unread = 0;
    char frame = 0;
    while (test_peers::ReadableWithin(frames) && read(frames, &frame, 1) == 1) {
        if (session.State() == SessionState::ClientSquadsSent && unread < kSlowWorldFrames) {
            ++unread;
        } else {
            PlayFrame(game, *program.arena);
        }
        if (session.State() == SessionState::ClientPlaying) {
            WriteUnitLines(game, *program.arena, lines);
            if (game.clock + game.frameTime >= kComparedSeconds) return 0;
        }
        if (write(frames, &frame, 1) != 1) break;
    }
    std::fprintf(stderr, "ann: the server went away before the battle's second %d\n", kComparedSeconds);
    return 11;
}

constexpr int kThrew = 40;
constexpr int kFailedACheck = 41;
constexpr int kEndedBySignal = 100;

class NetworkBattleTest : public units_test::UnitTablesTest {
protected:
    // The serving program, in this process.
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        units_test::WritePaintedPartStandIns(folder.Path());
        arena = world_test::OpenArena(game);
        GetLocalPlayer().name = "host";
        ASSERT_TRUE(game.Serve(0));
        port = game.Session().ListeningPort();
    }
    void TearDown() override {
        // A joining program still running when its test gave up must not outlive it.
        for (pid_t child : running) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        ReleasePlayerFigures();
        world_test::CloseArena(*arena);
        std::filesystem::current_path(previous);
    }

    // A joining program in a process of its own, in a folder of its own. It ends here
    // whatever happens: were a throw to leave this frame, the copy of the test program
    // would run the rest of the tests beside this one.
    pid_t Spawn(const char* name, const std::function<int()>& run) {
        std::fflush(nullptr);  // what this program wrote so far is written once, not by both
        const pid_t child = test_peers::ForkEndingWithTest();
        if (child != 0) {
            running.push_back(child);
            return child;
        }
        const int code = RunJoining(name, run);
        std::fflush(nullptr);
        _exit(code);
    }
    // A joining program's exit code once it has ended, else -1.
    int Ended(pid_t child) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) != child) return -1;
        running.erase(std::find(running.begin(), running.end(), child));
        return WIFEXITED(status) ? WEXITSTATUS(status) : kEndedBySignal;
    }
    int RunJoining(const char* name, const std::function<int()>& run) {
        try {
            std::filesystem::create_directories(std::filesystem::path(folder.Path()) / name);
            std::filesystem::current_path(std::filesystem::path(folder.Path()) / name);
            units_test::WritePaintedPartStandIns(std::filesystem::current_path());
            const int code = run();
            return code == 0 && HasFailure() ? kFailedACheck : code;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", name, error.what());
        } catch (...) {
            std::fprintf(stderr, "%s: an unknown exception\n", name);
        }
        return kThrew;
    }

    platform_test::TempFolder folder;
    std::vector<pid_t> running;
    std::filesystem::path previous;
    NetworkGame game;
    std::unique_ptr<Arena> arena;
    uint16_t port = 0;
};

TEST_F(NetworkBattleTest, AServerAndTwoClientProgramsPlayFromJoiningToTheResults) {
    const pid_t alice = Spawn("alice", [this] { return RunClient(port, "alice", false); });
    const pid_t bob = Spawn("bob", [this] { return RunClient(port, "bob", true); });
    VornsNetworker& session = game.Session();
    game.SetLaunchDelay(1);
    // King of the hill: the battle lasts until its timer runs out.
    game.SetGameRules(NetworkGame::kKingOfTheHill);
    game.SetGameTimer(static_cast<int32_t>(kBattleSeconds));

    WorldObject* healed = nullptr;
    WorldObject* felled = nullptr;
    int script = 0;
    int aliceStatus = -1;
    int bobStatus = -1;
    Progress progress;
    const auto where = [&] {
        return std::string(StateName(session.State())) + " with " + std::to_string(session.Players().size()) +
               " players, scripted event " + std::to_string(script) + ", alice " +
               (aliceStatus < 0 ? "running" : "ended") + ", bob " + (bobStatus < 0 ? "running" : "ended");
    };
    while ((aliceStatus < 0 || bobStatus < 0) && progress.Moving(where())) {
        Frame(game);
        usleep(200);
        if (aliceStatus < 0) aliceStatus = Ended(alice);
        if (bobStatus < 0) bobStatus = Ended(bob);
        const SessionState state = session.State();
        if (state == SessionState::ServerWaiting && session.Players().size() == 3) {
            session.ProceedToSetup();
        } else if (state == SessionState::ServerSetup) {
            game.SendScenario();
            // The battlefield: three trees and two units of the serving player.
            for (float x : {20.0f, 60.0f, 100.0f})
                world_test::AddObjectOfKind(*arena, kKindTree, x, 30)->AssignId(*arena);
            for (float x : {40.0f, 80.0f}) {
                Vorn* unit = arena->NewVorn(0);
                unit->SetPlayer(&GetLocalPlayer());
                unit->BuildBody(0);
                arena->AddObject(unit);
                unit->PlaceAt(Vector3(x, 90, 0));
                unit->AssignId(*arena);
            }
        } else if (state == SessionState::ServerSquadSelection && !session.LocalPlayer()->ready) {
            session.SendSquads();
        } else if (state == SessionState::ServerPlaying) {
            if (script == 0 && game.clock > 1.0f) {
                healed = arena->ObjectAt(0);
                healed->SetHealth(kHealedTreeHealth);
                game.OnHealthChanged(healed, nullptr, healed->position, -kHealedTreeHealth, 0);
                ++script;
            } else if (script == 1 && game.clock > 2.0f) {
                game.OnScorchMark(arena->AddScorchMark(Vector3(50, 50, 0), 3.0f));
                ++script;
            } else if (script == 2 && game.clock > 3.0f) {
                felled = arena->ObjectAt(1);
                game.OnObjectDestroyed(felled);
                arena->RemoveObject(felled, false);
                ++script;
            }
        }
    }
    // The joined programs may leave as soon as they see the battle's end, a few of the
    // server's frames before it shows its own results.
    while (session.State() == SessionState::ServerPlaying && progress.Moving(where())) {
        Frame(game);
        usleep(200);
    }
    EXPECT_FALSE(progress.Stuck()) << "stuck for " << kStuckFrames << " frames at: " << progress.Where();
    EXPECT_EQ(aliceStatus, 0);
    EXPECT_EQ(bobStatus, 0);
    EXPECT_EQ(script, 3);
    EXPECT_EQ(session.State(), SessionState::ServerResults);
    EXPECT_GE(game.clock, kBattleSeconds);
    EXPECT_EQ(GetLocalPlayer().won, 1);
}

TEST_F(NetworkBattleTest, AJoinedProgramGivesBackTheSquadsItLaunchesAfterEveryBattle) {
    constexpr int kBattles = 3;
    const pid_t carl = Spawn("carl", [this] { return RunLaunchingClient(port, kBattles); });
    VornsNetworker& session = game.Session();
    game.SetLaunchDelay(1);
    game.SetGameRules(NetworkGame::kKingOfTheHill);
    game.SetGameTimer(2);
    int battles = 0;
    bool fighting = false;
    int carlStatus = -1;
    Progress progress;
    while (carlStatus < 0 && progress.Moving(std::string(StateName(session.State())) + " in battle " +
                                             std::to_string(battles) + " with " +
                                             std::to_string(session.Players().size()) + " players")) {
        Frame(game);
        usleep(200);
        carlStatus = Ended(carl);
        const SessionState state = session.State();
        if (state == SessionState::ServerWaiting && session.Players().size() == 2) {
            session.ProceedToSetup();
        } else if (state == SessionState::ServerSetup) {
            game.SendScenario();
        } else if (state == SessionState::ServerSquadSelection && !session.LocalPlayer()->ready) {
            session.SendSquads();
        } else if (state == SessionState::ServerPlaying && !fighting) {
            // Each battle places carl's whole squad on the server's field.
            EXPECT_EQ(arena->CountObjectsOfKind(kKindVorn), 6);
            fighting = true;
            ++battles;
        } else if (state == SessionState::ServerResults && fighting) {
            fighting = false;
            if (battles < kBattles) session.SendReplayRequest();
        }
    }
    EXPECT_FALSE(progress.Stuck()) << "stuck for " << kStuckFrames << " frames at: " << progress.Where();
    EXPECT_EQ(carlStatus, 0);
    EXPECT_EQ(battles, kBattles);
}

TEST_F(NetworkBattleTest, AJoinedProgramHoldsEveryLaunchedUnitAsTheServerDoesSecondBySecond) {
    // The units choose what to do, in both programs.
    PatternMatcher matcher;
    gPatternMatcher = &matcher;
    int frames[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, frames), 0);
    const pid_t ann = Spawn("ann", [&] {
        close(frames[0]);
        return RunMirroringClient(port, frames[1]);
    });
    close(frames[1]);
    VornsNetworker& session = game.Session();
    game.SetLaunchDelay(1);
    game.SetGameRules(NetworkGame::kKingOfTheHill);
    game.SetGameTimer(30);
    ASSERT_TRUE(WriteScout());
    std::stringstream lines;
    int annStatus = -1;
    Progress progress;
    while (annStatus < 0 && progress.Moving(StateName(session.State()))) {
        PlayFrame(game, *arena);
        char frame = 'f';
        if (send(frames[0], &frame, 1, MSG_NOSIGNAL) == 1) {
            if (!test_peers::ReadableWithin(frames[0])) {
                ADD_FAILURE() << "ann answered no frame for " << test_peers::kQuietSeconds << " s";
                break;
            }
            recv(frames[0], &frame, 1, 0);
        }
        annStatus = Ended(ann);
        const SessionState state = session.State();
        if (state == SessionState::ServerWaiting && session.Players().size() == 2) {
            session.ProceedToSetup();
        } else if (state == SessionState::ServerSetup) {
            game.SendScenario();
            // Two launch points in sight of each other.
            for (float x : {40.0f, 49.0f}) arena->ToggleLaunchPoint(Vector2(x, 40.0f), false);
        } else if (state == SessionState::ServerSquadSelection && !session.LocalPlayer()->ready) {
            session.SendSquads();
        } else if (state == SessionState::ServerPlaying && game.clock < kComparedSeconds) {
            WriteUnitLines(game, *arena, lines);
        }
    }
    close(frames[0]);
    gPatternMatcher = nullptr;
    ASSERT_EQ(annStatus, 0) << "stuck at " << progress.Where();
    const UnitStates server = ReadUnitLines(lines);
    std::ifstream annLines(std::filesystem::path(folder.Path()) / "ann" / "units.txt");
    const UnitStates client = ReadUnitLines(annLines);
    // Both launched units, at every second, on both; a unit gone on one is gone on both.
    EXPECT_GE(server.size(), static_cast<size_t>(kComparedSeconds));
    for (const auto& [key, shown] : client)
        EXPECT_EQ(server.count(key), 1u) << "unit " << key.second << " at " << key.first << " s";
    int fadesSeen = 0;
    std::map<int, float> firstHealth;
    bool hit = false;
    for (const auto& [key, held] : server) {
        const std::string where = "unit " + std::to_string(key.second) + " at " + std::to_string(key.first) + " s";
        const auto mirrored = client.find(key);
        if (mirrored == client.end()) {
            ADD_FAILURE() << where << " is on the server only";
            continue;
        }
        const UnitState& shown = mirrored->second;
        EXPECT_EQ(shown.alive, held.alive) << where;
        EXPECT_NEAR(shown.x, held.x, 0.05f) << where;
        EXPECT_NEAR(shown.y, held.y, 0.05f) << where;
        EXPECT_NEAR(shown.health, held.health, 1e-3f) << where;
        EXPECT_EQ(shown.fading, held.fading) << where;
        EXPECT_NEAR(shown.fade, held.fade, 1e-3f) << where;
        fadesSeen += held.fading;
        firstHealth.emplace(key.second, held.health);
        hit = hit || held.health < firstHealth[key.second];
    }
    // The battle showed what it is meant to: units starting patterns and taking hits.
    EXPECT_GT(fadesSeen, 0);
    EXPECT_TRUE(hit);
}

}  // namespace
