#pragma once
// What the toolkit's menus, boxes and deletions ask of the battle's windows above it: the
// saved-unit and squad trays, the count menus' battlefield and launch, and where the
// error box's continue leads. CreateBattleWindows registers the one instance.
#include <functional>

#include "ui/CountMenuHost.h"
#include "ui/ErrorBox.h"
#include "ui/SavedFileTrays.h"

class BattleServices final : public SavedFileTrays, public CountMenuHost, public ErrorBoxActions {
public:
    explicit BattleServices(std::function<void()> popGame) : popGame_(std::move(popGame)) {}

    bool ListsVorn(const String& name) const override;
    bool ListsSquad(const String& name) const override;
    void OnVornDeleted(const String& name) override;
    void OnSquadDeleted(const String& name) override;
    void RefreshFromDisk() override;
    void OnVornSaved(const String& name, bool resaveSquads) override;

    void SetNetworkCount(NetworkCount which, int32_t count) override;
    void SetObjectVariant(ObjectVariant which, int32_t index) override;
    Player* PlacingPlayer() override;
    void MarkVornUsed(const String& unitName) override;
    void ResetVornActionQueues() override;
    Vorn* EditedVorn() override;
    void RefreshVornEditor() override;
    void AddSquadMembers(const String& unitName, int32_t count, float eventValue) override;
    bool ReadVornCost(const String& unitName, int32_t& cost) override;
    int32_t LaunchBudget() override;
    int32_t LaunchedCost() override;

    void PopGame() override;
    void EnterNetworkState(int32_t state) override;

private:
    std::function<void()> popGame_;
};

// Makes the battle's windows, trays and menus, registers them with the window tray and
// the toolkit's interfaces; popGame leaves the current game mode.
void CreateBattleWindows(std::function<void()> popGame);
// Once at start-up, after the player's folders are set: every saved unit's and squad's
// cost is worked out again.
void ResaveSavedFiles();
