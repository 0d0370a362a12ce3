// The registered shell of the front-end screens, or a stand-in without one.
#include "screens/FrontEndShell.h"

namespace {

// Options in memory with the shipped defaults; nothing is written, started or ended.
class StandInShell final : public FrontEndShell {
public:
    int32_t GetOption(OptionKey key) const override { return values_[int32_t(key)]; }
    void SetOption(OptionKey key, int32_t value) override { values_[int32_t(key)] = value; }
    String LastPlayerName() const override { return lastPlayer_; }
    void SetLastPlayerName(const String& name) override { lastPlayer_ = name; }
    bool WriteOptions() override { return true; }
    void ApplyOptions() override {}
    void ApplyLive(OptionKey, int32_t) override {}
    Point ScreenSize(int32_t) const override { return Point(1024, 768); }
    bool CreatePlayer(const String&, String& failureKey) override {
        failureKey = "InvalidPlayer";
        return false;
    }
    void LoadProfile(const String&) override {}
    ProfileFlags GetProfileFlags() const override { return ProfileFlags(); }
    void Start(FrontEndTarget, int32_t) override {}
    void StartMenuMusic() override {}
    void StopMenuMusic() override {}
    void SetClearColour(Color) override {}
    void Quit() override {}

private:
    int32_t values_[kOptionKeyCount] = {0, 0, 0, 90, 55, 100};
    String lastPlayer_;
};

FrontEndShell* gShell = nullptr;

}  // namespace

void SetFrontEndShell(FrontEndShell* shell) { gShell = shell; }

FrontEndShell& GetFrontEndShell() {
    static StandInShell standIn;
    return gShell != nullptr ? *gShell : standIn;
}
