// The application: the main loop, the mode stack and the shutdown.
#include "app/Application.h"

#include "app/CarriedItemDrawing.h"
#include "app/FrontEndGame.h"
#include "app/FrontEndServices.h"

#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "audio/Sounder.h"
#include "core/Debugger.h"
#include "core/Image.h"
#include "core/Profiler.h"
#include "core/TextTable.h"
#include "core/ThrowError.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/SharedMeshes.h"
#include "engine/Sparkles.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/SharedBaseImages.h"
#include "game/SquadButton.h"
#include "modes/PlayerFigure.h"
#include "platform/gfx/Device.h"
#include "scenes/Scene.h"
#include "scenes/Speaker.h"
#include "screens/FrontEndShell.h"
#include "screens/WormsWindow.h"
#include "ui/ScreenTextQueue.h"
#include "ui/TextBox.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/PatternMatcher.h"
#include "world/Arena.h"
#include "world/LoadingListener.h"
#include "world/MarchingArrows.h"
#include "world/Terrain.h"

Application::Application(const LaunchSettings& settings) : settings_(settings) {
    loadingScreen_.clearColour = clearColour;
    loadingScreen_.screenCamera = &screenCamera_;
    screenTexts_.screenCamera = &screenCamera_;
}

Application::~Application() { ReleaseAll(); }

int Application::Run() {
    try {
        Startup();
        EnterFrontEnd();
        while (RunFrame()) {
        }
        Shutdown();
    } catch (const ThrowError&) {
        // Best effort: whatever was made goes in order, the window last; the entry point
        // reports the error.
        ReleaseAll();
        throw;
    }
    return 0;
}

// --- the main loop

bool Application::PumpMessages() {
    win::Message message;
    // The game clock keeps frames at least its shortest frame long; with no game there is
    // no clock, and the loop waits that long for input instead of spinning.
    const int idleWaitMs = CurrentGame() == nullptr ? int(Game::kMinFrameTime * 1000.0f) : 0;
    for (int handled = 0; handled < kMaxMessagesPerFrame; ++handled) {
        bool found = false;
        if (!running_) {
            found = window_->WaitMessage(message);
        } else if (handled == 0 && idleWaitMs > 0) {
            found = window_->WaitMessage(message, idleWaitMs);
        } else {
            found = window_->PeekMessage(message);
        }
        if (!found) return true;
        if (message.kind == win::MessageKind::Quit) return false;
        HandleMessage(message);
    }
    return true;
}

bool Application::RunFrame() {
    if (mouseReady_) GetMouse().PollPosition();
    if (!PumpMessages()) quitReceived_ = true;
    ++frameCount_;
    Update();
    Render();
    profiler_->NextFrame();
    return !quitReceived_;
}

void Application::HandleMessage(const win::Message& message) {
    if (!running_) return;
    if (message.kind == win::MessageKind::Destroyed) {
        windowDestroyed_ = true;
        window_->PostQuit();
        return;
    }
    if (mouseReady_) GetMouse().HandleMessage(message);
}

void Application::Update() {
    if (!mouseReady_) return;
    GetMouse().UpdateCursor();
    Game* game = CurrentGame();
    GameWindows* windows = GetGameWindows();
    const bool battlefield = windows != nullptr && windows->IsBattlefieldOpen() && arena_ != nullptr;
    if (game != nullptr) game->AdvanceClock();
    const float frameTime = game != nullptr ? game->frameTime : Game::kMinFrameTime;
    if (speaker_ != nullptr) speaker_->Update(frameTime);
    if (arena_ != nullptr) arena_->GetTerrain().AnimateLiquids(frameTime);
    if (battlefield) arena_->AdvanceObjectClocks();
    if (game != nullptr) game->HandleInputEvents(GetMouse().Events());
    if (battlefield) arena_->Update();
    if (game != nullptr && GetWormsWindow().open) GetWormsWindow().Update(game->frameTime);
    if (game != nullptr) game->Update();
    ApplyGameChanges();
}

void Application::Render() {
    if (windowDestroyed_) return;
    Renderer& renderer = GetRenderer();
    if (!renderer.GetReady()) return;
    renderer.SetCamera(screenCamera_);
    renderer.Clear(clearColour, 1.0f, 3);
    if (Game* game = CurrentGame()) game->DrawFrame();
    DrawBattlefieldTexts();
    renderer.SetWorldTransform(Matrix4());
    screenTexts_.DrawScreenTexts();
    if (screenTexts_.profilerShown) screenTexts_.DrawProfilerOverlay(*profiler_);
    renderer.EndFrame();
    KeepFrame();
    renderer.SwapBuffers();
}

void Application::KeepFrame() {
    if (!keepFrame_) return;
    keepFrame_ = false;
    keptFrame_ = std::make_unique<Image>();
    if (GetRenderer().GetDevice().ReadBackBuffer(*keptFrame_) != gfx::Result::Ok) *keptFrame_ = Image();
}

void Application::DrawBattlefieldTexts() {
    GameWindows* windows = GetGameWindows();
    BattlefieldView* view = GetToolkitWindows().GetBattlefieldView();
    if (windows == nullptr || view == nullptr || !windows->IsBattlefieldOpen()) return;
    if (view->WantsKeyHelp()) {
        const TextBox* box = TextBox::Instance();
        const float top = box != nullptr && box->open ? float(box->bottom + box->frame.border - 4 + 20) : 20.0f;
        const Game* game = CurrentGame();
        const bool mission = game != nullptr && game->modeName == "MissionGame";
        screenTexts_.DrawKeyHelp(GetLocalPlayer(), mission, top);
    }
    String status;
    Color colour;
    if (view->GetStatusText(status, colour)) screenTexts_.DrawText(status, Vector2(10.0f, 10.0f), colour, true);
}

// --- the mode stack

void Application::EnterFrontEnd() {
    if (frontEndGame_ == nullptr) frontEndGame_ = std::make_unique<FrontEndGame>();
    Array<Game*> pushes;
    pushes.Append(frontEndGame_.get());
    for (Game* game : pendingPushes_) pushes.Append(game);
    pendingPushes_ = pushes;
}

void Application::PushGame(Game* game) {
    if (game != nullptr) pendingPushes_.Append(game);
}

void Application::PopGame() { ++pendingPops_; }

void Application::ApplyGameChanges() {
    bool changed = false;
    Game* current = CurrentGame();
    for (; pendingPops_ > 0; --pendingPops_) {
        if (gameStack_.IsEmpty()) continue;
        Game* top = gameStack_[gameStack_.Count() - 1];
        if (top != current) top->End();
        gameStack_.SetSize(gameStack_.Count() - 1);
        changed = true;
    }
    pendingPops_ = 0;
    for (Game* game : pendingPushes_) {
        gameStack_.Append(game);
        changed = true;
    }
    pendingPushes_.Clear();
    if (!changed) return;
    if (current != nullptr) current->End();
    if (gameStack_.IsEmpty()) {
        if (window_ != nullptr) window_->PostQuit();
        quitReceived_ = window_ == nullptr;
        return;
    }
    Game* top = gameStack_[gameStack_.Count() - 1];
    SetCurrentGame(top);
    top->Begin();
}

// --- shutdown

void Application::Shutdown() {
    if (!windowDestroyed_ && rendererStarted_) {
        loadingScreen_.MarkForRebuild();
        const String text = GetLanguageText("ShuttingDown");
        loadingScreen_.Show(&text);
    }
    ReleaseAll();
}

void Application::ReleaseAll() {
    running_ = false;
    SetLoadingListener(nullptr);
    if (chassisLoaded_) FreeChassisDefinitions();
    chassisLoaded_ = false;
    GetPlayerRoster().networkPlayers.Clear();
    // The windows outlive this run: they forget their sprites and sounds while the renderer
    // and the sound system that made them still exist.
    GetWindowManager().DestroyAllWindows();
    GetToolkitWindows().SetBattlefieldView(nullptr);
    GetToolkitWindows().SetLayout(nullptr);
    SetScreenTextQueue(nullptr);
    if (GetGameWindows() == &GetToolkitWindows()) SetGameWindows(nullptr);
    SetUiSystemWindow(nullptr);
    SetCurrentGame(nullptr);
    gameStack_.Clear();
    pendingPushes_.Clear();
    frontEndGame_.reset();
    // The modes' games and windows go once nothing stacks or shows them, before the arena.
    UnregisterGameModes();
    SetFrontEndShell(nullptr);
    frontEndServices_.reset();
    if (mouseReady_) {
        // Nothing carried outlives the run: the sprite and the dragged object go with it.
        GetMouse().ShowCursor();
        GetMouse().dragObject = nullptr;
        GetMouse().AttachWindow(nullptr);
        GetMouse().SetCarriedItemPainter(nullptr);
        GetMouse().markerSprite = nullptr;
        GetMouse().coinSprite = nullptr;
    }
    carriedItems_.reset();
    mouseReady_ = false;
    ReleasePlayerFigures();
    if (arena_ != nullptr) {
        battlefieldViews_.Detach(*arena_);
        arena_->Shutdown();
        if (gArena == arena_.get()) gArena = nullptr;
        arena_.reset();
    }
    if (patternMatcher_ != nullptr) {
        if (gPatternMatcher == patternMatcher_.get()) gPatternMatcher = nullptr;
        patternMatcher_.reset();
    }
    TextBox::SetVoice(nullptr);
    speaker_.reset();
    // Before the sound manager: the scene's cue sounds and speech go back to it.
    DestroySharedScene();
    if (sounder_ != nullptr) {
        SetEffectSounder(nullptr);
        SetMusicSounder(nullptr);
        sounder_->Shutdown();
        sounder_.reset();
    }
    // GL objects must go while their context, and with it the window, still exists.
    ForgetSharedMeshes();
    ForgetSparkles();
    SetMarchingArrowSprite(nullptr);
    ForgetSquadButtonSprites();
    ClearSharedBaseImages();
    GetLocalPlayer().ForgetTextures();
    GetOpponentPlayer().ForgetTextures();
    floorGrid_ = nullptr;
    screenTexts_.panelQuad = nullptr;
    GetFont() = Font();
    if (rendererStarted_) GetRenderer().Shutdown();
    rendererStarted_ = false;
    window_.reset();
    profiler_.reset();
}
