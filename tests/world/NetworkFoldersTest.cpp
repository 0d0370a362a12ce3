// The switch of the unit and squad folders to a peer's network exchange and back.
#include <gtest/gtest.h>

#include "world/SaveFilePaths.h"

namespace {

TEST(NetworkFoldersTest, APeersFilesGetItsPrefixAndThePlayersFoldersComeBack) {
    SetDataFolders("Players\\Ann\\Vorns\\", "Players\\Ann\\Squads\\", "Players\\Ann\\Scenarios\\");
    const uint32_t address = 10u | (0u << 8) | (0u << 16) | (5u << 24);  // 10.0.0.5
    UseNetworkFolders(address, 2300);
    EXPECT_EQ(VornFilePath("Scout"), "NetworkVorns\\10_0_0_5_2300_Scout.VRN");
    EXPECT_EQ(SquadFilePath("Team"), "NetworkVorns\\10_0_0_5_2300_Team.SQD");
    EXPECT_EQ(ScenarioFilePath("Hill"), "Players\\Ann\\Scenarios\\Hill.SCN");  // never prefixed
    // A second switch must not keep the network folder as the player's.
    UseNetworkFolders(address, 2301);
    EXPECT_EQ(VornFilePath("Scout"), "NetworkVorns\\10_0_0_5_2301_Scout.VRN");
    RestoreNetworkFolders();
    EXPECT_EQ(VornFilePath("Scout"), "Players\\Ann\\Vorns\\Scout.VRN");
    String vorns, vornPrefix, squads, squadPrefix;
    GetSavedFolders(vorns, vornPrefix, squads, squadPrefix);
    EXPECT_EQ(vorns, "#None");
    EXPECT_EQ(squadPrefix, "#None");
    RestoreNetworkFolders();  // nothing kept: the folders stay
    EXPECT_EQ(SquadFilePath("Team"), "Players\\Ann\\Squads\\Team.SQD");
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
}

}  // namespace
