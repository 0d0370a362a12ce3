#pragma once
// The serving player chooses the scenario and the rules of the match; the joined clients
// watch the same screen and may only disconnect. Every value lives in the network game,
// whose setters send it to the clients.
#include "net/NetworkScreen.h"

class NetworkGameSetupWindow : public NetworkScreen {
public:
    enum Item : int32_t {
        kSelectSquads,
        kDisconnect,
        kBack,
        kRules0,
        kRules1,
        kRules2,
        kRules3,
        kScenario,
        kSquadCount,
        kBudget,
        kLaunchDelay,
        kBoostCount,
        kMeteorDelay,
        kGoalCount,
        kBallCount,
        kNetCount,
        kWeaponsAllowed,
        kGameTimer,
        kVIPCount,
        kItemCount
    };
    static constexpr int32_t kRowPixels = 84;

    NetworkGameSetupWindow();
    void OnOpen() override;
    void OnClose() override;
    void HandleCommand(Event& event) override;
    // The text shown beside an item: the value and its unit, singular for 1.
    String ValueText(int32_t item) const;
    // Lays the items out for the rule set and the role.
    void PlaceItems();

protected:
    void PlaceButtons() override { PlaceItems(); }
    void DrawScreen() override;
    bool IsButtonActive(int32_t index) const override;
    const char* SceneName() const override { return "SmallServerSetup"; }
    const char* HighlightName(int32_t index) const override;

private:
    void StoreSettings();
    void StartSquadPhase();
    void OpenAtPointer(Window& window);
};

NetworkGameSetupWindow& GetNetworkGameSetupWindow();
