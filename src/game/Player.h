#pragma once
// A commander's record: the profile stored per player name (campaign progress, colours,
// boosts, the level of every upgrade item, the settings offered when serving a network
// game) and the state a battle holds per player (squads, scores, signal flags).
#include <cstdint>
#include <vector>

#include "core/Array.h"
#include "core/Color.h"
#include "core/String.h"
#include "engine/RendererRef.h"
#include "engine/TextureHandle.h"
#include "game/Squad.h"
#include "game/UpgradeItem.h"

class Stream;

class Player {
public:
    static constexpr int kSizeClassCount = 3;  // small, medium, large
    static constexpr int kUpgradeItemCount = kUpgradeItemTotal;
    static constexpr int kSquadCount = 4;
    // Mission flags a profile may hold; more would come only from a damaged file.
    static constexpr int32_t kMaxMissionWins = 10000;

    Player();

    // A fresh profile: the name and server settings to their defaults, then Reset.
    void Init();
    // Campaign progress, boosts and upgrade levels back to a new player's.
    void Reset();

    void SetName(const String& playerName);
    // An empty text becomes the name + "Server".
    void SetServerName(const String& text);
    // False while the name is still the language's "no player" text.
    bool HasName() const;
    String GetFilePath() const;

    void AddKill();
    // One unit lost: losses up, units alive down.
    void AddLoss();
    // Set the signal flag; the local player's control tray shows it at once.
    void SetSignal1(bool on);
    void SetSignal2(bool on);
    // Every member still in a squad back to the arena's pool. A launch has taken the placed
    // members out of their squads already: they are the battlefield's.
    void ClearSquads();
    // A won mission opens the next one; -1 is the mission-map tutorial. Saves.
    void RecordMissionWin(int32_t mission);

    // The chassis row chosen for size class 0..2; -1 for any other class.
    int32_t GetChassisChoice(int32_t sizeClass) const;

    // Upgrade levels: -1 not available, 0 basic, n bought up to level n. Every level
    // set is kept within -1 and the item's highest level.
    int32_t GetUpgradeLevel(int32_t item) const;
    bool HasUpgradeLevel(int32_t item, int32_t level) const;
    bool IsItemAvailable(int32_t conditional) const;
    bool IsFeatureAvailable() const;
    bool IsPropertyAvailable(int32_t mapConditional) const;
    bool IsPatternKindAvailable(int32_t kind) const;
    void SetUpgradeLevel(int32_t item, int32_t level);
    // True only for the next level of the item, when the local player's boosts pay it.
    bool CanBuyUpgrade(int32_t item, int32_t level) const;
    // A key that names an item makes it available; other levels stay.
    void UnlockUpgrade(const String& key);
    void MaxAllUpgradeLevels();
    void SetAllUpgradeLevels(int32_t level);
    void UnlockAllUpgrades();
    void UnlockAllUpgradesAndMaxPatterns();
    // Lend other levels (a tutorial, training) until RestoreUpgradeLevels; while lent,
    // the profile keeps the player's own levels.
    void UseBasicUpgradeLevels();
    void UseUpgradeLevelsOf(const Player& other);
    void RestoreUpgradeLevels();
    bool IsLendingUpgrades() const { return lending_; }

    // The values below combine the chassis and weapon tables with the upgrades; an
    // unknown chassis row or weapon kind answers 0.
    float GetChassisMaxHealth(int32_t chassis) const;
    float GetChassisSpeed(int32_t chassis) const;
    int32_t GetMaxPatternCount(int32_t chassis) const;
    float GetUpgradedValue(int32_t weaponKind) const;
    int32_t GetWeaponAmmo(int32_t weaponKind) const;
    float GetWeaponDuration(int32_t weaponKind) const;
    // Recolours the painted parts of the chosen chassis; there is nothing to recolour
    // until the chassis table's textures are loaded.
    void ApplyColors();
    // New colours recolour the painted parts (only the first four when partsOnly, the
    // quick path while a colour is being dragged), else also the marks in the battle.
    void SetColors(Color primary, Color trim, bool partsOnly);
    void SetChassisChoices(int32_t small, int32_t medium, int32_t large);
    void RebuildVornIcon(bool partsOnly);
    // The interface pictures in this player's colours replace the renderer's textures of
    // their names (a name the data set lacks is skipped). Nothing without a renderer.
    void BuildColoredTextures();
    // Goes up by one with every rebuild of any player's interface pictures: a window that
    // keeps its own copies of them makes them again when it has changed.
    static uint32_t ColoredTexturesGeneration();
    void BuildWeaponButtonTextures();
    // The renderer is going: the textures it made for this player are forgotten.
    void ForgetTextures();

    // The profile text.
    void Write(Stream& stream) const;
    void Read(Stream& stream);
    // A safe save of the profile; false (and logged) when it did not reach the disk. A
    // player without a name is not saved.
    bool Save() const;
    // A profile that cannot be opened leaves the record as it was.
    bool Load();

    String name;
    bool missionMapTutorial = false;
    int32_t maxMission = 0;
    std::vector<uint8_t> missionWins;
    int32_t lastMission = -1;
    int32_t lastMissionTries = 0;
    int32_t replayMission = -1;
    int32_t replayMissionTries = 0;
    bool seenWinningMovie = false;
    int32_t boosts = 0;

    String serverName;
    int32_t serverLaunchDelay = 30;
    int32_t serverMeteorDelay = 20;
    int32_t serverMaxSquadCount = 1;
    int32_t serverBudget = 1000;
    int32_t serverGameRules = 0;
    int32_t serverGoalCount = 4;
    int32_t serverBallCount = 1;
    int32_t serverNetCount = 1;
    int32_t serverGameTimer = 60;
    int32_t serverVipCount = 1;
    bool serverWeaponsAllowed = true;
    int32_t serverBoostCount = 0;
    String serverScenarioName;
    String serverClientServerIp;

    Squad squads[kSquadCount];
    int32_t squadsInUse = 0;

    uint8_t signal1 = 0;  // copied into each unit's Signal1 every tick
    uint8_t signal2 = 0;
    uint8_t won = 0;
    // The name the server of a network game gave this player when another already went by
    // its own; empty outside one. The profile keeps its name: its file and folders go by it.
    String networkName;
    const String& ShownName() const { return networkName.IsEmpty() ? name : networkName; }
    int32_t goalCount = 0;
    int32_t vipCount = 0;
    int32_t kills = 0;
    int32_t losses = 0;
    int32_t vornsAlive = 0;
    float greatestHeight = 0.0f;  // the highest point a unit of this player reached
    Color primaryColor = Color::FromRGBA(255, 0, 0, 255);
    Color trimColor = Color::FromRGBA(50, 150, 100, 255);
    TextureHandle beaconTexture = nullptr;  // drawn under this player's beacons
    TextureHandle goalTexture = nullptr;    // drawn under this player's goals
    TextureHandle patternIconTexture = nullptr;
    Array<TextureHandle> chassisPartTextures;                // by painted part of the chassis family
    RendererMark texturesCurrent;  // cleared when the renderer frees the textures above
    int32_t chassisChoices[kSizeClassCount] = {-1, -1, -1};  // -1: none chosen yet
    int32_t upgradeLevels[kUpgradeItemCount];
    int32_t savedUpgradeLevels[kUpgradeItemCount];

private:
    void ForgetOwnTextures();
    void ForgetTexturesOfAnEarlierRenderer();
    void ReadValue(const String& key, Stream& stream);
    void ReadMissionWins(Stream& stream);
    void RebuildMarkTextures();
    void BuildChassisButtonTextures();
    bool lending_ = false;
};
