// The registered mode shell.
#include "modes/ModeShell.h"

namespace {

class IgnoringShell final : public ModeShell {
public:
    void PushGame(Game*) override {}
    void PopGame() override {}
    bool IntroSeen() const override { return true; }
    void MarkIntroSeen() override {}
    void StepProfiler() override {}
};

ModeShell* gShell = nullptr;

}  // namespace

void SetModeShell(ModeShell* shell) { gShell = shell; }

ModeShell& GetModeShell() {
    static IgnoringShell standIn;
    return gShell != nullptr ? *gShell : standIn;
}
