#pragma once
// The title menu: play (the player menu), options, credits, the closing screen, the
// intro scene, and carrying on as the last player when that player's folder exists.
#include "screens/FrontEndMenu.h"

class MainMenu : public FrontEndMenu {
public:
    enum Button : int32_t { kSelectPlayer, kOptions, kCredits, kExit, kShowIntro, kContinueGameAs };

    MainMenu();

    void HandleCommand(Event& event) override;

    // Set at the end of start-up when the stored screen size failed and 1024 x 768 was
    // used; the warning shows on the title menu's first frame, once.
    bool screenSizeWarning = false;

protected:
    void SetButtonVisibility() override;
    void StartScene() override;
    String ToolTipText(int32_t index) const override;
    void OnFrameTick() override;

private:
    void ContinueGameAs();
};

MainMenu& GetMainMenu();
// Whether the name can be the last player's: a safe folder name whose folder exists.
bool IsExistingPlayer(const String& name);
