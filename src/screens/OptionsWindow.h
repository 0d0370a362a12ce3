#pragma once
// The settings screen: five sliders (the three volumes, the detail error and
// multisampling), fifteen screen-size buttons growing from left to right, and Accept and
// Cancel. Volumes and detail are heard and seen at once while a slider moves; the screen
// size and multisampling take effect at the next start, which a warning says.
#include <cstdint>

#include "screens/FrontEndShell.h"
#include "ui/Slider.h"
#include "ui/Window.h"

class StreamSound;

// A slider of the options screen: no tool tip.
class OptionsSlider : public Slider {
public:
    explicit OptionsSlider(const char* sliderName);
    void GetToolTip() override;
};

class OptionsWindow : public Window {
public:
    enum SliderIndex : int32_t { kLodSlider, kMultisampleSlider, kMusicSlider, kSoundSlider, kSpeechSlider };
    static constexpr int32_t kSliderCount = 5;
    static constexpr int32_t kSliderWidth = 224;
    static constexpr int32_t kSliderHeight = 32;
    enum Button : int32_t { kAccept, kCancel };
    static constexpr float kMusicTestSeconds = 8.0f;
    static constexpr float kFadeSeconds = 4.0f;

    OptionsWindow();
    ~OptionsWindow() override;

    void Initialize() override;
    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void OnClose() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetToolTip() override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;

    // The live effects of one frame: the detail error, and a changed volume with its
    // test sound or music.
    void LiveUpdate(float frameSeconds);
    int32_t SliderValue(int32_t index) const;

    int32_t selectedSize = 0;
    SpriteGrid* acceptCancel = nullptr;
    SpriteGrid* sizeButtons = nullptr;
    IntRect figureBox;
    OptionsSlider* sliders[kSliderCount] = {};
    int32_t lastSound = 0;
    int32_t lastMusic = 0;
    int32_t lastSpeech = 0;
    int32_t testSound = -1;
    StreamSound* speechTestSound = nullptr;
    StreamSound* testMusic = nullptr;
    float musicFadeTime = 0.0f;

private:
    void LayOutSizeButtons(int32_t top);
    void TintSizeButtons();
    void PickTestMusic();
    void ReleaseTestMusic();
    void Accept();
    void DrawLabels();
};

OptionsWindow& GetOptionsWindow();
