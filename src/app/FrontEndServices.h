#pragma once
// What the front-end screens need of the shell: the options, the player folders and
// profile, the modes of the game menu, the clear colour and the end of the run.
#include "screens/FrontEndShell.h"

class Application;

class FrontEndServices final : public FrontEndShell {
public:
    explicit FrontEndServices(Application& application) : application_(application) {}

    int32_t GetOption(OptionKey key) const override;
    void SetOption(OptionKey key, int32_t value) override;
    String LastPlayerName() const override;
    void SetLastPlayerName(const String& name) override;
    bool WriteOptions() override;
    void ApplyOptions() override;
    void ApplyLive(OptionKey key, int32_t value) override;
    Point ScreenSize(int32_t index) const override;
    bool CreatePlayer(const String& name, String& failureKey) override;
    void LoadProfile(const String& name) override;
    ProfileFlags GetProfileFlags() const override;
    void Start(FrontEndTarget target, int32_t mission) override;
    void StartMenuMusic() override;
    void StopMenuMusic() override;
    void SetClearColour(Color colour) override;
    void Quit() override;

private:
    int32_t* Field(OptionKey key) const;
    void TakeUpLocalPlayer();
    Application& application_;
};
