// The scene player.
#include "scenes/Scene.h"

#include <strings.h>

#include <cmath>

#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "audio/Sounder.h"
#include "core/Array.h"
#include "core/Debugger.h"
#include "engine/AssetPaths.h"
#include "engine/Font.h"
#include "engine/SceneLighting.h"
#include "engine/TextFitting.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Random.h"
#include "scenes/SceneMaterials.h"
#include "scenes/Speaker.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kSubtitleScale = 1.5f;
// The subtitles leave this much of the screen's width free.
constexpr int32_t kSubtitleMargin = 191;

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

float RandomSigned() { return 2.0f * float(sys::Rand()) / float(sys::kRandMax) - 1.0f; }

int32_t ScreenWidth() {
    const IntRect& window = GetRenderer().GetWindowRect();
    return window.right - window.left + 1;
}

int32_t ScreenHeight() {
    const IntRect& window = GetRenderer().GetWindowRect();
    return window.bottom - window.top + 1;
}

std::unique_ptr<Scene>& SharedScene() {
    static std::unique_ptr<Scene> scene;
    return scene;
}

}  // namespace

void Scene::LoadSharedResources() { SceneBackdrop::BuildGroundMeshes(); }

void Scene::FreeSharedResources() {
    ForgetSceneTextures();
    SceneBackdrop::ForgetGroundMeshes();
    SceneActor::ForgetSharedResources();
}

Scene::Scene(Sounder* sounder) : sounder_(sounder) {
    LoadSharedResources();
    SceneActor* guide = AddActor();
    guide->SetKind(SceneActorKind::Professor);
    guide->permanent = true;
}

Scene::~Scene() {
    Clear();
    actors_.clear();
}

SceneActor* Scene::AddActor() {
    if (actors_.size() >= kMaxActors) {
        return nullptr;
    }
    actors_.push_back(std::make_unique<SceneActor>());
    return actors_.back().get();
}

void Scene::Clear() {
    script_.Clear();
    if (actors_.size() > 1) {
        actors_.resize(1);
    }
    if (!actors_.empty()) {
        actors_[0]->permanent = false;
    }
    current_ = 0;
}

void Scene::Load(const std::string& sceneName) {
    Clear();
    // The data set may have moved since the last scene (a test's own folder).
    ForgetSceneTextures();
    script_.name = sceneName;
    if (!sys::IsSafeName(sceneName)) {
        Debugger::Instance().Line("Scene: refused the name " + sceneName);
        return;
    }
    script_.Load(sys::ResolvePath(ScenePath(String(sceneName.c_str())).CStr()), sounder_);
    script_.name = sceneName;
    if (!script_.professorName.empty()) {
        actors_[0]->name = script_.professorName;
    }
    if (script_.backgroundPlacesEye) {
        backdrop_.SetOf(BackgroundKind::City).camera.SetPosition(Vector3(0.0f, -15.0f, 3.0f));
    }
    for (const SceneCastEntry& entry : script_.cast) {
        SceneActor* actor = AddActor();
        if (actor == nullptr) {
            break;
        }
        actor->SetKindByName(entry.kind);
        actor->name = entry.name;
    }
    for (const auto& stage : script_.stages) {
        SplitStepText(*stage);
    }
}

void Scene::SplitStepText(Stage& stage) const {
    stage.lines.clear();
    if (stage.text.empty()) {
        return;
    }
    StringArray paragraphs;
    paragraphs.Append(String(stage.text.c_str()));
    StringArray lines;
    SplitWords(paragraphs, lines, GetFont(), kSubtitleScale, ScreenWidth() - kSubtitleMargin, 0);
    for (const String& line : lines) {
        stage.lines.emplace_back(line.CStr());
    }
}

void Scene::Restart() {
    state_ = SceneState::Playing;
    clock_ = 0.0f;
    StartStage(0);
}

Stage* Scene::CurrentStage() {
    return current_ >= 0 && current_ < int32_t(script_.stages.size()) ? script_.stages[size_t(current_)].get()
                                                                      : nullptr;
}

void Scene::StartStage(int32_t index) {
    int32_t linksFollowed = 0;
    for (;;) {
        Stage* old = CurrentStage();
        if (old != nullptr && current_ < index) {
            old->ReleaseSounds();
        }
        current_ = index;
        if (CurrentStage() != nullptr) {
            break;
        }
        if (script_.linkedScene.empty()) {
            state_ = SceneState::Dark;
            return;
        }
        // A cycle of scripts without steps would follow its links for ever.
        if (++linksFollowed > kMaxEmptyLinks) {
            Debugger::Instance().Line("Scene: " + script_.linkedScene + " links on without steps; the scene goes dark");
            state_ = SceneState::Dark;
            return;
        }
        const std::string linked = script_.linkedScene;  // loading clears the script
        Load(linked);
        index = 0;
        state_ = SceneState::Playing;
    }
    BeginStepForActors(*CurrentStage());
    clock_ = 0.0f;
    Stage& stage = *CurrentStage();
    if (!stage.speechName.empty() && sys::IsSafeName(stage.speechName)) {
        Guide().Say(SpeechPath(String(stage.speechName.c_str())).CStr());
        stage.speechState = SpeechState::Speaking;
    }
}

void Scene::BeginStepForActors(Stage& stage) {
    // Actors made while the step begins (debris) are appended and begin it too.
    for (size_t i = 0; i < actors_.size(); ++i) {
        SceneActor& actor = *actors_[i];
        const ActorDirection* direction = nullptr;
        for (const auto& candidate : stage.directions) {
            if (SameName(candidate->actorName, actor.name)) {
                direction = candidate.get();
                break;
            }
        }
        actor.BeginStep(*this, direction);
        if (actor.permanent || actor.kind == SceneActorKind::Debris || actor.kind == SceneActorKind::Explosion) {
            actor.active = true;
        }
        if (i == 0) {
            actor.active = true;
            if (Speaker* speaker = actor.GetSpeaker()) {
                speaker->visible = direction != nullptr || actor.permanent;
            }
        }
    }
}

void Scene::DirectCurrentStep(const std::string& actorName) {
    if (Stage* stage = CurrentStage(); stage != nullptr && stage->directions.size() < SceneScript::kMaxDirections * 4) {
        stage->AddDirection(actorName);
    }
}

SceneActor* Scene::FindActor(const std::string& actorName) {
    for (const auto& actor : actors_) {
        if (SameName(actor->name, actorName)) {
            return actor.get();
        }
    }
    return nullptr;
}

void Scene::Update(float frameTime) {
    Stage* stage = state_ == SceneState::Dark ? nullptr : CurrentStage();
    if (stage == nullptr) {
        return;
    }
    bool actorsDone = true;
    for (size_t i = 0; i < actors_.size(); ++i) {
        if (actors_[i]->active) {
            actorsDone = actors_[i]->Update(*this, frameTime) && actorsDone;
        }
    }
    clock_ += frameTime;
    const bool cuesDone = UpdateCues(*stage);
    const bool speechHolds = SpeechHolds(*stage);
    UpdateCamera(*stage);
    const bool ended = stage->hasTime ? clock_ > stage->time : actorsDone && !speechHolds && cuesDone;
    if (ended) {
        StartStage(current_ + 1);
    }
}

bool Scene::UpdateCues(Stage& stage) {
    size_t finished = 0;
    for (size_t i = 0; i < stage.cueSounds.size(); ++i) {
        Sound* sound = stage.cueSounds[i];
        CueState& state = stage.cueStates[i];
        if (state == CueState::Waiting && stage.cueTimes[i] <= clock_) {
            if (sounder_ != nullptr && sound != nullptr) {
                sounder_->Play(sound, GetEffectVolumeFactor(), 0);
            }
            state = CueState::Playing;
        } else if (state == CueState::Playing && (sound == nullptr || !sound->IsPlaying())) {
            state = CueState::Finished;
        }
        finished += state == CueState::Finished ? 1 : 0;
    }
    return finished == stage.cueSounds.size();
}

bool Scene::SpeechHolds(Stage& stage) {
    if (stage.speechName.empty() || stage.speechDoesNotHold || stage.speechState != SpeechState::Speaking) {
        return false;
    }
    const Speaker* speaker = Guide().GetSpeaker();
    if (speaker != nullptr && speaker->IsTalking()) {
        return true;
    }
    stage.speechState = SpeechState::Finished;
    return false;
}

void Scene::UpdateCamera(Stage& stage) {
    Camera& camera = CurrentCamera();
    const SceneActor* target =
        stage.hasLookAtActor || stage.hasLookAtActorOffset ? FindActor(stage.lookAtActorName) : nullptr;
    if (target != nullptr && stage.hasLookAtActor) {
        camera.SetDirection(target->LookPoint() - camera.eye);
    }
    if (target != nullptr && stage.hasLookAtActorOffset) {
        camera.SetPosition(target->LookPoint() + stage.lookAtActorOffset);
        camera.SetDirection(target->LookPoint() - camera.eye);
    }
    if (stage.hasCameraPosition) {
        camera.SetPosition(stage.cameraPosition);
    }
    if (stage.hasLookAt) {
        camera.SetDirection(stage.lookAt - camera.eye);
    }
    if (stage.shake) {
        ShakeCamera(camera);
    }
}

void Scene::ShakeCamera(Camera& camera) {
    Vector3 side = camera.up.Cross(camera.direction);
    side.Normalize();
    Vector3 axis = camera.up * RandomSigned() + side * RandomSigned();
    if (std::fabs(axis.x) <= 0.00001f && std::fabs(axis.y) <= 0.00001f && std::fabs(axis.z) <= 0.00001f) {
        axis = camera.up;
    }
    axis.Normalize();
    const float angle = RandomSigned() * kPi / 48.0f;
    camera.SetDirection(Quaternion::FromAxisAngle(axis, angle).RotateVector(camera.direction));
}

void Scene::Skip() {
    if (Stage* stage = CurrentStage()) {
        stage->ReleaseSounds();
        if (Speaker* speaker = Guide().GetSpeaker()) {
            speaker->Stop();
        }
        current_ = int32_t(script_.stages.size());
    }
}

void Scene::Draw() {
    Renderer& renderer = GetRenderer();
    const BackgroundKind kind = script_.background;
    // Stars, smoke, beams and worms draw a system at a time instead of a particle at a time.
    renderer.BeginParticleBatch();
    backdrop_.Draw(kind);
    if (const Stage* stage = state_ == SceneState::Dark ? nullptr : CurrentStage()) {
        DrawActors();
        DrawSubtitles(*stage);
    }
    renderer.EndParticleBatch();
    renderer.EnableLighting();
    renderer.SetBlendOff();
    UseSceneLight();
    renderer.SetNormalize(false);
}

void Scene::DrawActors() {
    const BackgroundKind kind = script_.background;
    const bool groundShadows =
        kind == BackgroundKind::Stage || kind == BackgroundKind::City || kind == BackgroundKind::Desert;
    for (size_t i = 0; i < actors_.size(); ++i) {
        SceneActor& actor = *actors_[i];
        if (!actor.active) {
            continue;
        }
        backdrop_.Apply(kind);
        actor.Draw();
        if (i > 0 && (groundShadows || actor.kind == SceneActorKind::Computer)) {
            backdrop_.Apply(kind);
            actor.DrawShadow();
        }
    }
}

void Scene::DrawSubtitles(const Stage& stage) {
    Renderer& renderer = GetRenderer();
    renderer.SetCamera(GetScreenCamera());
    renderer.SetAlphaBlend();
    renderer.DisableLighting();
    const Font& font = GetFont();
    const float width = float(ScreenWidth());
    const float height = float(ScreenHeight());
    for (size_t i = 0; i < stage.lines.size(); ++i) {
        const String line(stage.lines[i].c_str());
        Vector2 size;
        font.GetTextWidth(size, line, kSubtitleScale);
        const float y = height - kSubtitleScale * font.lineHeight * (4.0f - float(i));
        renderer.DrawText(line, Vector2(width * 0.5f - size.x * 0.5f, y), font, Color(0xFFFFFFFF), kSubtitleScale);
    }
}

void CreateSharedScene() {
    Scene::LoadSharedResources();
    if (SharedScene() == nullptr) {
        SharedScene() = std::make_unique<Scene>(GetEffectSounder());
    }
}

Scene* GetSharedScene() { return SharedScene().get(); }

void DestroySharedScene() {
    SharedScene().reset();
    Scene::FreeSharedResources();
}
