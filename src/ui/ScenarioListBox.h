#pragma once
// The scenarios saved in the current player's scenario folder; picking one loads it onto
// the battlefield.
#include "ui/ListBox.h"

class ScenarioListBox : public ListBox {
public:
    // The battlefield's snapshot file, never listed.
    static constexpr const char* kSnapshotName = "__Temp";

    ScenarioListBox();

    void OnOpen() override;
    void Fill() override;
    void PickEntry(int32_t entry, const String& text) override;
    void HandleCommand(Event& event) override;
};

ScenarioListBox& GetScenarioListBox();
