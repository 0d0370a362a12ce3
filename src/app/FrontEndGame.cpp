// The game modes in the shell.
#include "app/FrontEndGame.h"

#include <memory>

#include "app/Application.h"
#include "modes/GameModes.h"
#include "modes/ModeShell.h"

namespace {

class ApplicationModeShell final : public ModeShell {
public:
    explicit ApplicationModeShell(Application& application) : application_(application) {}
    void PushGame(Game* game) override { application_.PushGame(game); }
    void PopGame() override { application_.PopGame(); }
    bool IntroSeen() const override { return application_.GetOptions().seenIntroMovie; }
    void MarkIntroSeen() override {
        application_.GetOptions().seenIntroMovie = true;
        application_.GetOptions().Write();
    }
    void StepProfiler() override { application_.Texts().CycleProfilerDisplay(); }

private:
    Application& application_;
};

std::unique_ptr<ApplicationModeShell> gShell;

}  // namespace

void RegisterGameModes(Application& application) {
    gShell = std::make_unique<ApplicationModeShell>(application);
    CreateGameModes(*gShell);
}

void UnregisterGameModes() {
    DestroyGameModes();
    gShell.reset();
}
