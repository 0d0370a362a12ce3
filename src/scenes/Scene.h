#pragma once
// The scene player: the one animated 3-D scene that the intro, the menus, the results and
// the tutorials stand over. A screen loads a scene by name and restarts it; every frame
// it updates and draws it, and may ask whether it has ended or skip it. The player plays
// the steps one after another (camera, cue sounds, the guide's lines, subtitles), follows
// the link to the next scene, and draws the backdrop of the script's background kind.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scenes/SceneActor.h"
#include "scenes/SceneBackdrop.h"
#include "scenes/SceneScript.h"

class Sounder;

enum class SceneState : int32_t { Playing = 1, Dark = 3 };

class Scene {
public:
    // Step-less links followed one after another before the scene gives up and goes dark.
    static constexpr int32_t kMaxEmptyLinks = 8;
    static constexpr size_t kMaxActors = 256;

    explicit Scene(Sounder* sounder = nullptr);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // The shared ground meshes, built once for the run; the first scene builds them when
    // start-up has not. Free before the renderer lets its objects go.
    static void LoadSharedResources();
    static void FreeSharedResources();

    // Reads "Scenes/<language>/<name>.SCE". A name that is no plain file name, or a
    // script that cannot be read, gives a scene without steps.
    void Load(const std::string& sceneName);
    void Restart();
    void StartStage(int32_t index);
    void Update(float frameTime);
    void Draw();
    bool IsFinished() const { return current_ >= int32_t(script_.stages.size()); }
    void Skip();

    // For the actors: a new actor, and a direction for it in the current step.
    SceneActor* AddActor();
    void DirectCurrentStep(const std::string& actorName);
    // The running number of the debris and explosions of the whole run.
    int32_t NextPieceNumber() { return ++pieceNumber_; }

    SceneActor* FindActor(const std::string& actorName);
    const std::string& Name() const { return script_.name; }
    SceneState State() const { return state_; }
    int32_t CurrentStep() const { return current_; }
    const SceneScript& Script() const { return script_; }
    BackgroundKind Background() const { return script_.background; }
    Camera& CurrentCamera() { return backdrop_.SetOf(script_.background).camera; }
    const std::vector<std::unique_ptr<SceneActor>>& Actors() const { return actors_; }
    SceneActor& Guide() { return *actors_[0]; }
    float StepClock() const { return clock_; }

private:
    void Clear();
    void ReadScript(const std::string& sceneName);
    void SplitStepText(Stage& stage) const;
    void BeginStepForActors(Stage& stage);
    bool UpdateCues(Stage& stage);
    bool SpeechHolds(Stage& stage);
    void UpdateCamera(Stage& stage);
    void ShakeCamera(Camera& camera);
    void DrawActors();
    void DrawSubtitles(const Stage& stage);
    Stage* CurrentStage();

    Sounder* sounder_;
    SceneScript script_;
    SceneBackdrop backdrop_;
    std::vector<std::unique_ptr<SceneActor>> actors_;
    SceneState state_ = SceneState::Dark;
    int32_t current_ = 0;
    float clock_ = 0.0f;
    int32_t pieceNumber_ = 0;
};

// The scene the screens share: made at start-up, after the renderer, with the effects'
// sound manager; none before that (a screen then shows no scene).
void CreateSharedScene();
Scene* GetSharedScene();
// At shutdown, before the renderer lets its objects go: the scene and the shared meshes.
void DestroySharedScene();
