#pragma once
// The screen drawn between the steps of start-up and once more at shutdown: the loading
// model in its own light and an orthographic camera, the title and the status text.
#include <cstdint>

#include "core/Color.h"
#include "core/String.h"
#include "core/Timer.h"
#include "engine/AnimationController.h"
#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "world/LoadingListener.h"

class ModelNode;

class LoadingScreen : public LoadingListener {
public:
    // A pause of seconds (a slow step) advances the animation by at most this.
    static constexpr float kMaxStep = 0.5f;

    explicit LoadingScreen(TimeSource source = TimeSource::System());

    // Loads the loading model, sets its light and aims the camera at the model's bounds.
    void SetUp();
    // Redraws the screen; a text becomes the new status text, with none it stays.
    void Show(const String* text = nullptr);
    // A loader finished a long step: the screen is redrawn with the same text.
    void OnLoadingStep() override { Show(); }
    // A fresh animation is made at the next Show (before the shutdown screen).
    void MarkForRebuild() { rebuild_ = true; }

    const String& StatusText() const { return statusText_; }
    // The animation time of the last Show.
    float LastStep() const { return lastStep_; }

    Color clearColour = Color::FromRGBA(0, 0, 0, 255);
    Camera* screenCamera = nullptr;  // the program's 2-D camera

private:
    void AimCamera();
    void DrawModel();
    void AnimateModel();
    void DrawTexts();

    String statusText_;
    Timer timer_;
    bool timerStarted_ = false;
    bool rebuild_ = true;
    float lastStep_ = 0.0f;
    ModelNode* model_ = nullptr;  // owned by the renderer
    Light light_;
    Camera camera_;
    // The model swims while the program loads; made again after a rebuild request.
    AnimationController swim_;
    bool swimming_ = false;
};
