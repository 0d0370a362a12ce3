#pragma once
// What the count and pick menus ask of the windows above the toolkit (the battlefield,
// its trays and unit editor, the squad and launch windows) and of the network game. The
// shell registers the one host; with none, a choice only closes its menu.
#include <cstdint>

#include "core/String.h"
#include "core/Vector3.h"

class Player;
class Vorn;

class CountMenuHost {
public:
    enum NetworkCount : int32_t { kVIPs, kSoccerBalls, kSoccerGoals, kSoccerNets };
    enum ObjectVariant : int32_t { kTree, kRock };

    virtual void SetNetworkCount(NetworkCount which, int32_t count) = 0;
    // The object tray's next tree or rock, shown at once.
    virtual void SetObjectVariant(ObjectVariant which, int32_t index) = 0;
    // The team the battlefield places units for.
    virtual Player* PlacingPlayer() = 0;
    virtual void MarkVornUsed(const String& unitName) = 0;
    virtual void ResetVornActionQueues() = 0;
    // The unit the unit editor shows, or none; its window redraws.
    virtual Vorn* EditedVorn() = 0;
    virtual void RefreshVornEditor() = 0;
    // The squad window adds that many members of the saved unit.
    virtual void AddSquadMembers(const String& unitName, int32_t count, float eventValue) = 0;
    // The saved unit's cost from its summary; false when it cannot be read.
    virtual bool ReadVornCost(const String& unitName, int32_t& cost) = 0;
    // The launch window's budget and the cost of the squads already in its tray.
    virtual int32_t LaunchBudget() = 0;
    virtual int32_t LaunchedCost() = 0;

protected:
    ~CountMenuHost() = default;
};

void SetCountMenuHost(CountMenuHost* host);
CountMenuHost* GetCountMenuHost();
