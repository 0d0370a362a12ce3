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
    // The row above the list shows the scenario in use; with none listed it is left out,
    // rather than drawn empty.
    void Refresh() override;
    void Fill() override;
    void PickEntry(int32_t entry, const String& text) override;
    void HandleCommand(Event& event) override;

protected:
    // The scenario in use, which stands out above the list when it opens.
    virtual String CurrentScenario() const;
};

ScenarioListBox& GetScenarioListBox();
