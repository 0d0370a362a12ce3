// A serving network game against peers that join and leave, or connect and never say
// who they are.
#include <gtest/gtest.h>

#include <filesystem>

#include "SessionPeers.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "net/NetworkGame.h"
#include "support/ResidentMemory.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TestAssets.h"
#include "units/ChassisTable.h"
#include "units/WeaponTable.h"

using namespace net_test;

namespace {

class NetworkPeersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Painted parts of a realistic size: each player's pictures of them cost megabytes.
        units_test::LoadChassisTableWithTextures(256);
        LoadWeaponDefinitions();
    }
    static void TearDownTestSuite() { FreeChassisDefinitions(); }

    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        units_test::WritePaintedPartStandIns(std::filesystem::current_path());
        arena = world_test::OpenArena(game);
        ASSERT_TRUE(game.Serve(0));
        port = game.Session().ListeningPort();
    }
    void TearDown() override {
        game.End();
        ReleasePlayerFigures();
        world_test::CloseArena(*arena);
        std::filesystem::current_path(previous);
    }
    void Step() {
        game.HandleInputEvents(Array<InputEvent>());
        game.Game::AdvanceClock(0.1f);
    }
    bool JoinAndLeave(Program& client) {
        // Each visitor in other colours: its units' pictures are painted anew.
        ++visits;
        client.networker.SetLocalPlayer(nullptr, "visitor", 0xFF000000u | visits * 0x10305u, 0xFF445566u);
        client.networker.SetPort(port);
        client.networker.SetHost("127.0.0.1");
        if (!client.networker.StartClient() || !client.networker.Connect()) return false;
        const bool joined = PumpUntil([&] { return game.Session().Players().size() == 2; }, [&] {
            Step();
            client.Step();
        });
        // The waiting screen shows every player's figure in the player's colours.
        for (const auto& player : game.Session().Players()) {
            if (player->record != nullptr) GetPlayerFigure(*player->record).Draw(0.1f);
        }
        client.networker.StopClient();
        const bool left = PumpUntil([&] { return game.Session().Players().size() == 1; }, [&] { Step(); });
        return joined && left;
    }

    platform_test::TempFolder folder;
    std::filesystem::path previous;
    NetworkGame game;
    std::unique_ptr<Arena> arena;
    uint16_t port = 0;
    uint32_t visits = 0;
};

TEST_F(NetworkPeersTest, JoiningAndLeavingAgainAndAgainKeepsNothingBehind) {
    Program client("visitor");
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(JoinAndLeave(client)) << i;
    const size_t settled = HeapInUse();
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(JoinAndLeave(client)) << i;
    const size_t after = HeapInUse();
    EXPECT_LT(after, settled + 2u * 1024u * 1024u) << "grew by " << (after - settled) / 1024 << " KB";
}

}  // namespace
