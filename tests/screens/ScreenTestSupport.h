#pragma once
// The window toolkit's test fixture with a shell that keeps the options in memory and
// records what the screens ask of it.
#include <string>
#include <vector>

#include "screens/FrontEndShell.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

namespace screens_test {

class RecordingShell final : public FrontEndShell {
public:
    int32_t GetOption(OptionKey key) const override { return options[int32_t(key)]; }
    void SetOption(OptionKey key, int32_t value) override { options[int32_t(key)] = value; }
    String LastPlayerName() const override { return lastPlayer; }
    void SetLastPlayerName(const String& name) override { lastPlayer = name; }
    bool WriteOptions() override {
        ++writes;
        if (writeFails) return false;
        writtenLastPlayer = lastPlayer;
        return true;
    }
    void ApplyOptions() override { ++applied; }
    void ApplyLive(OptionKey key, int32_t value) override { live[int32_t(key)] = value; }
    Point ScreenSize(int32_t index) const override { return Point(1000 + index, 700 + index); }
    bool CreatePlayer(const String& name, String& failureKey) override {
        created.push_back(name.CStr());
        failureKey = failure;
        return failure.IsEmpty();
    }
    void LoadProfile(const String& name) override { loaded.push_back(name.CStr()); }
    ProfileFlags GetProfileFlags() const override { return flags; }
    void Start(FrontEndTarget target, int32_t mission) override {
        started.push_back(target);
        startedMission = mission;
    }
    void StartMenuMusic() override { ++musicStarts; }
    void StopMenuMusic() override { ++musicStops; }
    void SetClearColour(Color) override {}
    void Quit() override { ++quits; }

    int32_t options[kOptionKeyCount] = {0, 0, 0, 90, 55, 100};
    int32_t live[kOptionKeyCount] = {-1, -1, -1, -1, -1, -1};
    String lastPlayer;
    String writtenLastPlayer;
    String failure;
    bool writeFails = false;
    int writes = 0;
    int applied = 0;
    int quits = 0;
    int musicStarts = 0;
    int musicStops = 0;
    ProfileFlags flags;
    std::vector<std::string> created;
    std::vector<std::string> loaded;
    std::vector<FrontEndTarget> started;
    int32_t startedMission = -1;
};

class ScreenTest : public ui_test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        SetFrontEndShell(&shell);
    }
    void TearDown() override {
        SetFrontEndShell(nullptr);
        UiTest::TearDown();
    }
    // Sends a command to the window as a script would, and hands it out.
    void Post(Window& window, int32_t type, int32_t value = 0, const char* text = "") {
        Event* event = window.PostEventString(type, text);
        event->value = value;
        game.DispatchEvents();
    }
    bool IsOpen(const Window& window) const;

    RecordingShell shell;
};

}  // namespace screens_test
