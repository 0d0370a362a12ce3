#pragma once
// The list of player profiles: the names in the players' folder without an extension.
// Picking one loads that profile and opens the game menu; deleting one asks first.
#include "ui/ListBox.h"

class PlayerListBox : public ListBox {
public:
    static constexpr int32_t kRows = 8;
    static constexpr int32_t kMinimumWidth = 160;
    static constexpr int32_t kTop = 80;

    PlayerListBox();

    void OnOpen() override;
    void Fill() override;
    void PickEntry(int32_t entry, const String& text) override;
    void HandleCommand(Event& event) override;

    bool Lists(const String& name) const;

private:
    void LoadPicked(int32_t index);
};

PlayerListBox& GetPlayerListBox();
// The trays' lists of recently used files belong to the player who used them.
void ClearRecentLists();
