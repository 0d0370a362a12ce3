// The settings screen.
#include "screens/OptionsWindow.h"

#include <algorithm>
#include <cstdio>

#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "audio/Sounder.h"
#include "core/FileHelpers.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "platform/sys/Random.h"
#include "screens/SceneScreen.h"
#include "ui/ErrorBox.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

constexpr float kTextScale = 0.75f;
constexpr float kMarkPulse = 1.6f;
constexpr int32_t kButtonPixels = 64;
constexpr int32_t kSizeButtonGrowth = 3;
constexpr int32_t kFirstRowButtons = 8;
constexpr Color kSelectedTint = Color(0xFFFFFFFF);
constexpr Color kOtherTint = Color(0xFF808080);
constexpr Color kVolumeHandle = Color(0xFFFF80FF);
constexpr Color kVolumeBody = Color(0xFFC800C8);
constexpr Color kDetailHandle = Color(0xFFFFFF80);
constexpr Color kDetailBody = Color(0xFFC8C800);

struct SliderSpec {
    const char* name;
    OptionKey option;
};

// In the order of OptionsWindow::SliderIndex; each slider's label is its name's text.
constexpr SliderSpec kSliders[OptionsWindow::kSliderCount] = {
    {"LODPixelError", OptionKey::kLodError},    {"Multisamples", OptionKey::kMultiSample},
    {"MusicVolume", OptionKey::kMusicVolume},   {"SoundVolume", OptionKey::kSoundVolume},
    {"SpeechVolume", OptionKey::kSpeechVolume},
};

bool IsVolume(int32_t slider) {
    return slider == OptionsWindow::kMusicSlider || slider == OptionsWindow::kSoundSlider ||
           slider == OptionsWindow::kSpeechSlider;
}

String ValueText(int32_t slider, int32_t value) {
    if (IsVolume(slider)) return String::FromInt(value) + "%";
    if (slider == OptionsWindow::kMultisampleSlider) return String::FromInt(value);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", double(float(value) / 20.0f));
    return String(text);
}

Sounder* TestSounder() { return GetEffectSounder(); }

}  // namespace

OptionsSlider::OptionsSlider(const char* sliderName) {
    name = sliderName;
    Resize(Point(OptionsWindow::kSliderWidth, OptionsWindow::kSliderHeight));
    SetRange(0.0f, 100.0f);
}

void OptionsSlider::GetToolTip() { ::GetToolTip().Clear(); }

OptionsWindow::OptionsWindow() : Window("OptionsWindow") { Initialize(); }

OptionsWindow::~OptionsWindow() {
    for (OptionsSlider*& slider : sliders) {
        delete slider;
        slider = nullptr;
    }
}

void OptionsWindow::Initialize() {
    Window::Initialize();
    for (int32_t i = 0; i < kSliderCount; ++i) {
        if (sliders[i] == nullptr) sliders[i] = new OptionsSlider(kSliders[i].name);
    }
}

void OptionsWindow::CreateResources() {
    for (int32_t i = 0; i < kSliderCount; ++i) {
        if (IsVolume(i)) {
            sliders[i]->SetImages(kVolumeBody, kVolumeHandle);
        } else {
            sliders[i]->SetImages(kDetailBody, kDetailHandle);
        }
    }
    Renderer& renderer = GetRenderer();
    acceptCancel = renderer.CreateSpriteGrid();
    acceptCancel->SetLayoutMode(SpriteGrid::kLayoutFree);
    acceptCancel->AddItem(CreateUiSprite(kButtonPixels, kButtonPixels, "YesButton.tga", Sprite::kAnchorCentre),
                          "Accept", true);
    acceptCancel->AddItem(CreateUiSprite(kButtonPixels, kButtonPixels, "NoButton.tga", Sprite::kAnchorCentre), "Cancel",
                          true);
    sizeButtons = renderer.CreateSpriteGrid();
    sizeButtons->SetLayoutMode(SpriteGrid::kLayoutFree);
    for (int32_t i = 0; i < kScreenSizeCount; ++i) {
        const int32_t side = kButtonPixels + kSizeButtonGrowth * i;
        sizeButtons->AddItem(CreateUiSprite(side, side, "ScreenSize.tga", Sprite::kAnchorCentre), String(), true);
    }
    testSound = LoadEffectSound(SoundPath("LaserTest.ogg"));
    if (Sounder* sounder = TestSounder()) speechTestSound = sounder->LoadStream(SpeechPath("Vorns"), 2, true);
}

void OptionsWindow::ReleaseResources() {
    acceptCancel = nullptr;
    sizeButtons = nullptr;
    // The sounds go with the sound system, which shuts down after the windows.
    ReleaseTestMusic();
    if (Sounder* sounder = TestSounder(); sounder != nullptr && speechTestSound != nullptr) {
        sounder->ReleaseStream(speechTestSound);
    }
    speechTestSound = nullptr;
    testSound = -1;
    Window::ReleaseResources();
}

void OptionsWindow::OnOpen() {
    SetFullScreen(true);
    const IntRect screen = UiScreenRect();
    const int32_t w = screen.right - screen.left + 1;
    figureBox = IntRect(w / 2 - 100, 48, w / 2 + 100, 248);
    WindowManager& manager = GetWindowManager();
    manager.OpenWindowAt(sliders[kLodSlider], Point(w / 3 - 112, 280));
    manager.OpenWindowAt(sliders[kMultisampleSlider], Point(2 * w / 3 - 112, 280));
    const int32_t volumeTop = sliders[kMultisampleSlider]->bottom + 64;
    manager.OpenWindowAt(sliders[kMusicSlider], Point(w / 4 - 112, volumeTop));
    manager.OpenWindowAt(sliders[kSoundSlider], Point(2 * w / 4 - 112, volumeTop));
    manager.OpenWindowAt(sliders[kSpeechSlider], Point(3 * w / 4 - 112, volumeTop));
    FrontEndShell& shell = GetFrontEndShell();
    // The stored size, never a pick left over from a cancelled visit.
    selectedSize = std::clamp(shell.GetOption(OptionKey::kScreenSize), 0, kScreenSizeCount - 1);
    LayOutSizeButtons(sliders[kMusicSlider]->bottom + 100);
    Refresh();
    for (int32_t i = 0; i < kSliderCount; ++i) sliders[i]->SetValue(float(shell.GetOption(kSliders[i].option)));
    lastSound = SliderValue(kSoundSlider);
    lastMusic = SliderValue(kMusicSlider);
    lastSpeech = SliderValue(kSpeechSlider);
    shell.SetClearColour(Color(0xFF000000));
    shell.StopMenuMusic();
    PickTestMusic();
}

void OptionsWindow::PickTestMusic() {
    ReleaseTestMusic();
    const StringArray songs = ListFiles("Music\\*.ogg");
    Sounder* sounder = TestSounder();
    if (songs.IsEmpty() || sounder == nullptr) return;
    const int64_t pick = (int64_t(sys::Rand()) * (songs.Count() - 1) + 16383) / 32767;
    testMusic = sounder->LoadStream(MusicPath(songs[int32_t(pick)]), 2, true);
}

void OptionsWindow::ReleaseTestMusic() {
    Sounder* sounder = TestSounder();
    if (testMusic != nullptr && sounder != nullptr) {
        sounder->StopStream(testMusic);
        sounder->ReleaseStream(testMusic);
    }
    testMusic = nullptr;
}

void OptionsWindow::OnClose() {
    WindowManager& manager = GetWindowManager();
    for (OptionsSlider* slider : sliders) manager.CloseWindow(slider);
    FrontEndShell& shell = GetFrontEndShell();
    shell.SetClearColour(Color(0xFF000000));
    musicFadeTime = 0.0f;
    ReleaseTestMusic();
    shell.StartMenuMusic();
}

void OptionsWindow::LayOutSizeButtons(int32_t top) {
    if (sizeButtons == nullptr) return;
    const IntRect screen = UiScreenRect();
    const int32_t step = (screen.right - screen.left + 1) / 8;
    for (int32_t i = 0; i < kScreenSizeCount; ++i) {
        Sprite* sprite = sizeButtons->sprites[i];
        if (sprite == nullptr) continue;
        const bool firstRow = i < kFirstRowButtons;
        const int32_t column = firstRow ? i : i - kFirstRowButtons;
        sprite->x = firstRow ? step - step / 2 + column * step : step + column * step;
        sprite->y = firstRow ? top : top + 96;
    }
    TintSizeButtons();
}

void OptionsWindow::TintSizeButtons() {
    if (sizeButtons == nullptr) return;
    for (int32_t i = 0; i < kScreenSizeCount; ++i) {
        TintSprite(sizeButtons->sprites[i], i == selectedSize ? kSelectedTint : kOtherTint);
    }
}

void OptionsWindow::Refresh() {
    if (acceptCancel == nullptr) return;
    if (sliders[kMusicSlider] != nullptr) LayOutSizeButtons(sliders[kMusicSlider]->bottom + 100);
    LayOutButtonRow(*acceptCancel, UiScreenRect(), false);
}

int32_t OptionsWindow::SliderValue(int32_t index) const { return int32_t(sliders[index]->value); }

void OptionsWindow::LiveUpdate(float frameSeconds) {
    FrontEndShell& shell = GetFrontEndShell();
    shell.ApplyLive(OptionKey::kLodError, SliderValue(kLodSlider));
    const int32_t sound = SliderValue(kSoundSlider);
    if (sound != lastSound) {
        lastSound = sound;
        shell.ApplyLive(OptionKey::kSoundVolume, sound);
        PlayEffectSound(testSound, 1.0f, 0);
    }
    const int32_t music = SliderValue(kMusicSlider);
    if (music != lastMusic) {
        lastMusic = music;
        shell.ApplyLive(OptionKey::kMusicVolume, music);
        if (testMusic != nullptr) {
            PlayMusicStream(testMusic, 1.0f, Sounder::kLoop);
            musicFadeTime = kMusicTestSeconds;
        } else {
            PlayEffectSound(testSound, GetMusicVolumeFactor(), 0);
            musicFadeTime = 0.0f;
        }
    } else if (musicFadeTime > 0.0f) {
        musicFadeTime -= frameSeconds;
        if (musicFadeTime <= 0.0f) {
            musicFadeTime = 0.0f;
            if (testMusic != nullptr && TestSounder() != nullptr) TestSounder()->StopStream(testMusic);
        } else if (musicFadeTime < kFadeSeconds) {
            PlayMusicStream(testMusic, musicFadeTime / kFadeSeconds, Sounder::kLoop);
        }
    }
    const int32_t speech = SliderValue(kSpeechSlider);
    if (speech != lastSpeech) {
        lastSpeech = speech;
        shell.ApplyLive(OptionKey::kSpeechVolume, speech);
        PlaySpeechSound(speechTestSound, 1.0f, 0);
    }
}

bool OptionsWindow::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputFrameTick) {
        LiveUpdate(ScreenFrameTime());
        return true;
    }
    const Point p(input.x, input.y);
    if (input.kind == kInputDown && input.code == kInputButtonLeft && acceptCancel != nullptr) {
        acceptCancel->Press(p);
        sizeButtons->Press(p);
        if (acceptCancel->pressed >= 0 || sizeButtons->pressed >= 0) PlaySound("MouseDown.ogg");
        return true;
    }
    if (input.kind == kInputUp && input.code == kInputButtonLeft && acceptCancel != nullptr) {
        const bool buttonPressed = acceptCancel->pressed >= 0;
        const bool sizePressed = sizeButtons->pressed >= 0;
        const int32_t button = buttonPressed ? acceptCancel->Release(p) : -1;
        const int32_t size = sizePressed ? sizeButtons->Release(p) : -1;
        if (button == kAccept) PostEvent(kEventExit);
        if (button == kCancel) PostEvent(kEventCancel);
        if (size >= 0) PostEventInt(kEventSetScreenSize, size);
        if (button >= 0 || size >= 0) PlaySound("MouseUp.ogg");
    }
    return true;
}

void OptionsWindow::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventSetScreenSize:
            // A script or a peer may name any index.
            if (event.value < 0 || event.value >= kScreenSizeCount) {
                PlaySound("Illegal.ogg");
                return;
            }
            selectedSize = event.value;
            TintSizeButtons();
            break;
        case kEventCancel:
            PlaySound("MouseUp.ogg");
            GetFrontEndShell().ApplyOptions();
            GetWindowManager().ReturnToPreviousWindow();
            break;
        case kEventExit: Accept(); break;
        default: Window::HandleCommand(event);
    }
}

void OptionsWindow::Accept() {
    PlaySound("MouseUp.ogg");
    FrontEndShell& shell = GetFrontEndShell();
    const bool multisampleChanged = SliderValue(kMultisampleSlider) != shell.GetOption(OptionKey::kMultiSample);
    const bool sizeChanged = selectedSize != shell.GetOption(OptionKey::kScreenSize);
    for (int32_t i = 0; i < kSliderCount; ++i) shell.SetOption(kSliders[i].option, SliderValue(i));
    shell.SetOption(OptionKey::kScreenSize, selectedSize);
    const bool saved = shell.WriteOptions();
    shell.ApplyOptions();
    const char* key = nullptr;
    if (!saved) {
        key = "SaveFailed";
    } else if (multisampleChanged && sizeChanged) {
        key = "MultisampleScreenSizeWarning";
    } else if (multisampleChanged) {
        key = "MultisampleWarning";
    } else if (sizeChanged) {
        key = "ScreenSizeWarning";
    }
    WindowManager& manager = GetWindowManager();
    if (key == nullptr) {
        manager.ReturnToPreviousWindow();
        return;
    }
    ErrorBox& box = GetErrorBox();
    box.message.Clear();
    box.AddLine(GetLanguageText(key));
    box.WrapText();
    box.returnToPrevious = true;
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
    PlaySound("Illegal.ogg");
}

void OptionsWindow::HitTestControls(const Point& point) {
    if (acceptCancel != nullptr) acceptCancel->UpdateHover(point);
    if (sizeButtons != nullptr) sizeButtons->UpdateHover(point);
    Window::HitTestControls(point);
}

void OptionsWindow::GetToolTip() {
    ToolTip& tip = ::GetToolTip();
    if (acceptCancel != nullptr && acceptCancel->hovered >= 0) {
        const int32_t button = acceptCancel->hovered;
        tip.Set(GetLanguageText(button == kAccept ? "Accept" : "Cancel"),
                acceptCancel->sprites[button]->GetScreenRect());
        return;
    }
    if (sizeButtons != nullptr && sizeButtons->hovered >= 0) {
        const int32_t size = sizeButtons->hovered;
        const Point pixels = GetFrontEndShell().ScreenSize(size);
        const String key = String::FromInt(pixels.x) + "x" + String::FromInt(pixels.y);
        tip.Set(GetLanguageText(key.CStr()), sizeButtons->sprites[size]->GetScreenRect());
        return;
    }
    Window::GetToolTip();
}

void OptionsWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    SpriteGrid* grid = nullptr;
    if (request.kind == 1 && request.name.EqualsNoCase("ScreenSizes")) grid = sizeButtons;
    if (request.kind == 1 && (request.name.EqualsNoCase("Cancel") || request.name.EqualsNoCase("Exit"))) {
        grid = acceptCancel;
    }
    if (grid == nullptr) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    for (int32_t i = 0; i < grid->Count(); ++i) {
        if (grid->sprites[i] != nullptr) highlighter.AddWindowShape(*grid, *grid->sprites[i]);
    }
}

void OptionsWindow::DrawLabels() {
    const float lineHeight = FontLineHeight() * kTextScale;
    for (int32_t i = 0; i < kSliderCount; ++i) {
        const OptionsSlider& slider = *sliders[i];
        const String label = GetLanguageText(kSliders[i].name) + " " + ValueText(i, SliderValue(i));
        const float centre = 0.5f * float(slider.left + slider.right);
        DrawTextCentred(label, Vector2(centre, float(slider.top) - lineHeight), kTextScale);
    }
    if (sizeButtons != nullptr && sizeButtons->sprites[0] != nullptr) {
        const IntRect screen = UiScreenRect();
        const float top = float(sizeButtons->sprites[0]->GetScreenRect().top);
        DrawTextCentred(GetLanguageText("ScreenSize"),
                        Vector2(0.5f * float(screen.right - screen.left + 1), top - lineHeight), kTextScale);
    }
}

void OptionsWindow::DrawContents() {
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawLabels();
    PlayerFigure& figure = GetPlayerFigure(GetLocalPlayer());
    figure.rect = figureBox;
    figure.Draw(ScreenFrameTime());
    UseScreenCamera();
    renderer.SetAlphaBlend();
    if (acceptCancel != nullptr) {
        renderer.DrawSpriteGrid(*sizeButtons, true);
        renderer.DrawSpriteGrid(*acceptCancel, true);
    }
    DrawMessageLine(GetLanguageText("Options"), 0);
    renderer.SetBlendOff();
}

OptionsWindow& GetOptionsWindow() {
    static OptionsWindow window;
    return window;
}
