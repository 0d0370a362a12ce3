// The campaign side of the losing window.
#include "modes/MissionLosingHost.h"

#include "core/TextTable.h"
#include "modes/GameModes.h"
#include "modes/ModeShell.h"
#include "ui/WindowManager.h"

MissionLosingHost::MissionLosingHost(MissionGame& mission, TrainingGame& training, CampaignWindows& windows,
                                     TextBox& textBox)
    : mission_(mission), training_(training), windows_(windows), textBox_(textBox) {
    GetLosingWindow().host = this;
}

MissionLosingHost::~MissionLosingHost() {
    LosingWindow& window = GetLosingWindow();
    if (window.host != this) return;
    window.host = nullptr;
    window.ClearHints();
}

int32_t MissionLosingHost::LosingTextCount() const {
    return mission_.leftMission ? 0 : mission_.settings.losingTexts.Count();
}

bool MissionLosingHost::CountsReplayTries() const { return mission_.alreadyWon; }

void MissionLosingHost::ShowLosingText() {
    LosingWindow& window = GetLosingWindow();
    window.ClearHints();
    hints_.Clear();
    Array<TextPage> left;
    const Array<TextPage>* pages = &left;
    if (mission_.leftMission) {
        left.Append(TextPage());
        left[0].lines.Append(GetLanguageText("LeftTheMission"));
    } else {
        const int32_t alternative = mission_.LosingTextIndex();
        if (alternative < 0) return;
        pages = &mission_.settings.losingTexts[alternative];
        for (const TextPage& page : *pages) hints_.Append(LosingHint{page.lines, page.speech});
        for (const LosingHint& hint : hints_) window.AddHint(&hint);
    }
    windows_.ShowPages(*pages);
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&textBox_);
    manager.BringToFront(&textBox_);
}

void MissionLosingHost::RetryMission() {
    mission_.goToBriefing = true;
    mission_.Begin();
}

void MissionLosingHost::OpenTraining() {
    mission_.goToBriefing = true;
    GetModeShell().PushGame(&training_);
}
