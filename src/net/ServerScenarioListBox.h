#pragma once
// The serving player picks the scenario of the network game: the player's own saved
// ones and those that come with the game.
#include "ui/ScenarioListBox.h"

class ServerScenarioListBox : public ScenarioListBox {
public:
    // Where the game's own scenarios are, whoever plays.
    static constexpr const char* kShippedFolder = "Scenarios\\";

    ServerScenarioListBox();
    void Fill() override;
    void PickEntry(int32_t entry, const String& text) override;

protected:
    // The one the set-up screen shows.
    String CurrentScenario() const override;

private:
    bool IsListed(const String& title) const;
};

ServerScenarioListBox& GetServerScenarioListBox();
