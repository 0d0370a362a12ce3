// The mode under the front-end screens.
#include "modes/MenuGame.h"

#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "audio/Sounder.h"
#include "engine/Mouse.h"
#include "modes/ModeShell.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "screens/IntroScreen.h"
#include "screens/MainMenu.h"
#include "ui/WindowManager.h"

namespace {
MenuGame* gMenuGame = nullptr;
}

MenuGame* GetMenuGame() { return gMenuGame; }

MenuGame::MenuGame() {
    modeName = "MenuGame";
    gMenuGame = this;
}

MenuGame::~MenuGame() {
    StopMusic();
    if (gMenuGame == this) gMenuGame = nullptr;
}

void MenuGame::Begin() {
    frameTimer.Start();
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    bool intro = false;
    if (!manager.ReturnStack().IsEmpty()) {
        manager.ReturnToPreviousWindow();
    } else if (!GetModeShell().IntroSeen()) {
        intro = true;
        manager.PushReturnWindow(&GetMainMenu());
        manager.CloseAllWindows();
        manager.OpenWindow(&GetIntroScreen());
        manager.BringToFront(&GetIntroScreen());
        GetModeShell().MarkIntroSeen();
    } else {
        if (NetworkGame* network = GetNetworkGame()) network->Session().StartReplay();
        manager.OpenWindow(&GetMainMenu());
    }
    manager.NotifyAll();
    if (!intro) StartMusic();
}

void MenuGame::End() { StopMusic(); }

void MenuGame::StartMusic() {
    if (song != nullptr || IsMusicOff()) return;
    song = PlaySong();
    silenceTime = 0.0f;
}

void MenuGame::StopMusic() {
    restartDelay = 0.0f;
    if (song == nullptr) return;
    ReleaseSong();
    song = nullptr;
}

void MenuGame::OnMusicSwitched(bool musicOn) {
    if (musicOn) {
        StartMusic();
    } else {
        StopMusic();
    }
}

bool MenuGame::PreviewInputEvent(const InputEvent& input) {
    if (input.kind == kInputFrameTick) SuperviseMusic();
    return Game::PreviewInputEvent(input);
}

void MenuGame::SuperviseMusic() {
    const bool active = GetMouse().active != 0;
    if (restartDelay > 0.0f) {
        if (!active) {
            restartDelay = kResumeDelay;
            return;
        }
        restartDelay -= frameTime;
        if (restartDelay <= 0.0f) {
            restartDelay = 0.0f;
            StartMusic();
        }
        return;
    }
    if (song == nullptr) return;
    if (!active) {
        StopMusic();
        restartDelay = kResumeDelay;
    } else if (IsSongActive()) {
        silenceTime = 0.0f;
    } else {
        silenceTime += frameTime;
        if (silenceTime > kSilenceBeforeNextSong) {
            StopMusic();
            StartMusic();
        }
    }
}

void MenuGame::DrawFrame() {
    DrawWindows();
    GetMouse().Draw();
}

bool MenuGame::IsSongActive() const {
    Sounder* sounder = GetEffectSounder();
    return sounder != nullptr && sounder->IsStreamActive(song);
}

StreamSound* MenuGame::PlaySong() { return PlayRandomMenuSong(); }

void MenuGame::ReleaseSong() {
    Sounder* sounder = GetEffectSounder();
    if (sounder == nullptr) return;
    sounder->StopStream(song);
    sounder->ReleaseStream(song);
}
