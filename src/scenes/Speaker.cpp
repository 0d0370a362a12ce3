// The guide's lip sync and the speech tools that prepare it.
#include "scenes/Speaker.h"
#include "scenes/SceneMaterials.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "audio/Music.h"
#include "audio/Sounder.h"
#include "engine/AssetPaths.h"
#include "engine/Matrix3.h"
#include "engine/ModelNode.h"
#include "engine/PoseAnimation.h"
#include "engine/SharedMeshes.h"
#include "platform/sys/Debug.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Process.h"
#include "platform/sys/Random.h"
#include "platform/sys/SafeFile.h"

namespace {

constexpr float kTwoPi = 6.28318530718f;
constexpr float kSampleAhead = 0.2f;
constexpr float kBlendIn = 0.2f;
constexpr float kBlendSecond = 0.1f;
constexpr float kPointTurnRate = 4.0f;  // radians a second round the marked place
constexpr const char* kIdleGestures[] = {"IdleGlasses", "IdleNosePick",    "LookAround",      "SideToSideStretch",
                                         "TapFoot",     "LookUpAndAround", "LookDownAndRight"};
constexpr float kClockStart = -0.1f;
constexpr char kHintPath[] = "Speech/hint.txt";
// A decoded file that cannot be deleted is retried this long before it is left behind.
constexpr auto kDeleteRetryTime = std::chrono::seconds(2);

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void RunTool(const char* tool, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), sys::ResolvePath(std::string("Speech/") + tool));
    sys::RunAndWait(arguments, true);
}

void RunPhonemes(const std::string& phonemePath, const std::string& wavePath, bool withHint) {
    std::vector<std::string> arguments;
    if (withHint) {
        arguments = {"-h", sys::ResolvePath(kHintPath)};
    }
    arguments.insert(arguments.end(), {"-o", phonemePath, wavePath});
    RunTool("phonemes", arguments);
    sys::InvalidateContainingDirectory(phonemePath);
}

void DeleteDecoded(const std::string& wavePath) {
    const auto giveUp = std::chrono::steady_clock::now() + kDeleteRetryTime;
    for (;;) {
        sys::InvalidateContainingDirectory(wavePath);
        if (!sys::Exists(wavePath) || sys::DeleteFile(wavePath)) {
            return;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            sys::DebugOutput("Could not delete " + wavePath + "\n");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The node's place in a depth-first walk of the tree, the order of a pose's rotations.
int32_t DepthFirstIndex(const ModelNode* root, const ModelNode* node, int32_t& counter) {
    if (root == node) {
        return counter;
    }
    ++counter;
    for (const ModelNode* child = root->firstChild; child != nullptr; child = child->nextSibling) {
        const int32_t found = DepthFirstIndex(child, node, counter);
        if (found >= 0) {
            return found;
        }
    }
    return -1;
}

int32_t IndexOf(const ModelNode* root, const ModelNode* node) {
    int32_t counter = 0;
    return node != nullptr ? DepthFirstIndex(root, node, counter) : -1;
}

void SetRotation(Matrix4& m, const Matrix3& r) {
    for (int row = 0; row < 3; ++row) {
        for (int c = 0; c < 3; ++c) {
            m.m[4 * row + c] = r.m[3 * row + c];
        }
    }
}

void RestNode(ModelNode* node) {
    if (node != nullptr && node->source != nullptr) {
        node->local = node->source->local;
    }
}

// A path with a ".." component may name a file outside the speech folder.
bool LeavesItsFolder(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find_first_of("/\\", start);
        const size_t stop = end == std::string::npos ? path.size() : end;
        if (path.compare(start, stop - start, "..") == 0) {
            return true;
        }
        start = stop + 1;
    }
    return false;
}

float RandomUnit() { return float(sys::Rand()) / float(sys::kRandMax); }

}  // namespace

Speaker::Speaker(Sounder* sounder) : sounder_(sounder) {
    camera_.eye = Vector3(1.35f, 0.0f, -0.15f);
    camera_.direction = Vector3(-1.0f, 0.0f, 0.0f);
    camera_.up = Vector3(0.0f, 0.0f, 1.0f);
    camera_.SetAspect(1.0f);
    camera_.farPlane = 50.0f;
    Vector3 direction(std::cos(0.875f * 3.14159265f), std::sin(0.875f * 3.14159265f), -0.25f);
    direction.Normalize();
    light_.direction = direction;
    light_.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    light_.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    light_.ambient = {128.0f / 255.0f, 128.0f / 255.0f, 128.0f / 255.0f, 1.0f};
}

bool Speaker::LoadModel() {
    model_ = GetRenderer().LoadModel(ActorPath("Professor"), 1.0f, 1.0f, 0);
    if (model_ == nullptr) {
        return false;
    }
    head_ = model_->FindByName("Head");
    torso_ = model_->FindByName("Torso");
    leftArm_ = model_->FindByName("LeftArm");
    headIndex_ = IndexOf(model_, head_);
    armIndex_ = IndexOf(model_, leftArm_);
    lookHeight_ = std::max(model_->bounds.radius, 0.1f);
    std::vector<Vector3> talkKeys;
    if (const PoseAnimation* talk = FindAnimation("Talk"); talk != nullptr && head_ != nullptr) {
        for (const PoseKey& key : talk->keys) {
            talkKeys.push_back(key.position);
        }
    }
    const PoseAnimation* point = FindAnimation("Point");
    SetPoseKeys(talkKeys, point != nullptr && leftArm_ != nullptr ? point->keys.Count() : 0);
    return true;
}

const PoseAnimation* Speaker::FindAnimation(const char* name) const {
    const int index = model_ != nullptr ? model_->FindAnimation(name) : -1;
    return index >= 0 ? &model_->Animations()[index] : nullptr;
}

Speaker::~Speaker() { Stop(); }

void Speaker::SetPoseKeys(const std::vector<Vector3>& talkKeys, int32_t pointKeyCount) {
    canTalk_ = talkKeys.size() >= 2;
    canPoint_ = pointKeyCount >= kPointKeys;
    closedMouth_ = canTalk_ ? talkKeys[0] : Vector3();
    openMouth_ = canTalk_ ? talkKeys[1] : closedMouth_;
    mouth_ = closedMouth_;
}

void Speaker::Say(const std::string& speechPath, bool pointWhileTalking) {
    Stop();
    if (LeavesItsFolder(speechPath) || !sys::Exists(speechPath)) {
        return;
    }
    // The phoneme file is made ahead of time (the mission mode's phoneme pass); a line
    // without one is said with the mouth closed.
    LoadPhonemes(SiblingPath(speechPath, "phn"));
    if (sounder_) {
        stream_ = sounder_->LoadStream(String(speechPath.c_str()), 1, false);
    }
    clock_ = kClockStart;
    startDelay_ = kStartDelayFrames;
    gesture_ = Gesture::Talking;
    pointWhileTalking_ = pointWhileTalking;
}

void Speaker::Stop() {
    mouth_ = closedMouth_;
    if (!phonemes_.empty()) {
        clock_ = phonemes_.back().start + 1.0f;
    }
    if (stream_ && sounder_) {
        sounder_->StopStream(stream_);
        sounder_->ReleaseStream(stream_);
    }
    stream_ = nullptr;
    startDelay_ = 0;
    pointWhileTalking_ = false;
    gesture_ = Gesture::StartIdle;
    StopPointing();
}

bool Speaker::IsTalking() const {
    return startDelay_ >= 1 || (stream_ && sounder_ && sounder_->IsStreamActive(stream_));
}

void Speaker::Update(float frameTime) {
    if (startDelay_ > 0) {
        --startDelay_;
        if (startDelay_ > 0) {
            animation_.Advance(frameTime);
            return;
        }
        if (stream_ && sounder_) {
            sounder_->PlayStream(stream_, GetSpeechVolumeFactor(), 0);
        }
    }
    clock_ += frameTime;
    const PhonemeRow* row = PhonemeAt(clock_ + kSampleAhead);
    const float closure = canTalk_ ? (row ? row->closure : 0.0f) : 1.0f;
    mouth_ = openMouth_ + (closedMouth_ - openMouth_) * closure;
    SetRestPose();
    animation_.Advance(frameTime);
    UpdateGesture(frameTime);
    if (IsTalking()) {
        PoseHead();
    }
}

void Speaker::SetRestPose() {
    RestNode(model_);
    RestNode(head_);
    RestNode(leftArm_);
}

void Speaker::UpdateGesture(float frameTime) {
    switch (gesture_) {
        case Gesture::StartIdle: PlayIdle(); break;
        case Gesture::Talking:
            if (!IsTalking()) {
                PlayIdle();
            } else if (pointWhileTalking_) {
                UpdatePointing(frameTime);
            }
            break;
        case Gesture::Idling:
            gestureTimer_ -= frameTime;
            if (gestureTimer_ <= 0.0f) {
                PlayIdleGesture();
            }
            break;
        case Gesture::Playing:
            if (!animation_.IsPlaying()) {
                PlayIdle();
            }
            break;
    }
}

void Speaker::PlayIdle() {
    animation_.Play(model_, "Idle", "Idle", true, kBlendIn, kBlendSecond, false);
    gesture_ = Gesture::Idling;
    gestureTimer_ = 3.0f + 7.0f * RandomUnit();
}

void Speaker::PlayIdleGesture() {
    constexpr int32_t kLast = int32_t(std::size(kIdleGestures)) - 1;
    const int32_t index = (sys::Rand() * kLast + sys::kRandMax / 2) / sys::kRandMax;
    PlayGesture(kIdleGestures[std::clamp(index, 0, kLast)], "Idle");
}

void Speaker::PlayGesture(const std::string& animation, const std::string& second) {
    const String name(animation.c_str());
    animation_.Play(model_, name, second.empty() ? name : String(second.c_str()), false, kBlendIn, kBlendSecond, true);
    gesture_ = Gesture::Playing;
}

void Speaker::PointAtCircle(float centreX, float centreY, float radius) {
    pointing_ = Pointing::Circle;
    pointCircle_[0] = centreX;
    pointCircle_[1] = centreY;
    pointCircle_[2] = radius;
}

void Speaker::PointAtRect(const IntRect& rect) {
    pointing_ = Pointing::Rect;
    pointRect_ = rect;
}

void Speaker::StopPointing() {
    pointing_ = Pointing::None;
    pointPhase_ = 0.0f;
}

void Speaker::UpdatePointing(float frameTime) {
    if (pointing_ == Pointing::None) {
        return;
    }
    pointPhase_ += kPointTurnRate * frameTime;
    float centreX = pointCircle_[0];
    float centreY = pointCircle_[1];
    float radius = pointCircle_[2];
    if (pointing_ == Pointing::Rect) {
        centreX = 0.5f * float(pointRect_.left + pointRect_.right);
        centreY = 0.5f * float(pointRect_.top + pointRect_.bottom);
        radius =
            0.5f * std::hypot(float(pointRect_.right - pointRect_.left), float(pointRect_.bottom - pointRect_.top));
    }
    const float targetX = centreX + std::cos(pointPhase_) * radius;
    const float targetY = centreY + std::sin(pointPhase_) * radius;
    const float fromX = float((screenRect_.left + screenRect_.right) / 2);
    const float fromY = float((screenRect_.top + screenRect_.bottom) / 2);
    pointBlend_ = PointingBlend(std::atan2(fromY - targetY, targetX - fromX));
    PoseArm(pointBlend_);
}

void Speaker::PoseHead() {
    const PoseAnimation* talk = canTalk_ ? FindAnimation("Talk") : nullptr;
    if (talk == nullptr || head_ == nullptr) {
        return;
    }
    // Evaluation only uses the animation's working storage.
    const PoseKey pose = const_cast<PoseAnimation*>(talk)->Evaluate(mouth_);
    if (headIndex_ >= 0 && headIndex_ < pose.rotations.Count()) {
        SetRotation(head_->local, pose.rotations[headIndex_]);
    }
}

void Speaker::PoseArm(const PointBlend& blend) {
    const PoseAnimation* point = canPoint_ ? FindAnimation("Point") : nullptr;
    if (point == nullptr || leftArm_ == nullptr || point->keys.Count() < kPointKeys) {
        return;
    }
    const PoseKey& from = point->keys[blend.key];
    const PoseKey& to = point->keys[blend.nextKey];
    if (armIndex_ < 0 || armIndex_ >= from.rotations.Count() || armIndex_ >= to.rotations.Count()) {
        return;
    }
    Matrix3 mixed;
    for (int i = 0; i < 9; ++i) {
        mixed.m[i] =
            from.rotations[armIndex_].m[i] * (1.0f - blend.fraction) + to.rotations[armIndex_].m[i] * blend.fraction;
    }
    mixed.Orthonormalize(0.0001f, 8);
    SetRotation(leftArm_->local, mixed);
}

void Speaker::Draw(bool withShadow) {
    if (!visible || model_ == nullptr) {
        return;
    }
    Renderer& renderer = GetRenderer();
    renderer.SetLight(light_, true, 0);
    renderer.EnableLighting();
    camera_.viewport = screenRect_;
    camera_.projectionChanged = camera_.viewChanged = true;
    renderer.SetCamera(camera_);
    renderer.ClearViewport(Color(0xFF000000), 1.0f, 2);
    renderer.SetWorldMatrix(Matrix4());
    renderer.RenderModel(model_, false, false);
    if (withShadow) {
        if (Mesh* shadow = HasSceneTexture("GenericShadow.tga") ? GetGenericShadowMesh() : nullptr) {
            Matrix4 place;
            place.SetScale(0.5f);
            place.Translate(Vector3(0.0f, 0.0f, -0.7f));
            renderer.SetWorldMatrix(place);
            renderer.SetZWrite(false);
            renderer.SetAlphaBlend();
            renderer.RenderMesh(shadow, false);
            renderer.SetZWrite(true);
            renderer.SetBlendOff();
        }
    }
    renderer.SetLight(light_, false, 0);
}

bool Speaker::LoadPhonemes(const std::string& phonemePath) {
    phonemes_.clear();
    std::ifstream in(sys::ResolvePath(phonemePath));
    std::string ignored;
    long endMs = 0;
    if (!(in >> ignored >> endMs)) {
        return false;
    }
    std::string name;
    long startMs = 0;
    while (phonemes_.size() < kMaxPhonemes && in >> name >> startMs) {
        const int32_t index = PhonemeTable::Find(name);
        if (index >= 0) {
            phonemes_.push_back({index, static_cast<float>(startMs) / 1000.0f});
        }
        if (startMs == endMs) {
            break;
        }
    }
    return !phonemes_.empty();
}

const PhonemeRow* Speaker::PhonemeAt(float seconds) const {
    if (seconds < 0.0f || phonemes_.empty()) {
        return &PhonemeTable::Row(PhonemeTable::kSilence);
    }
    for (size_t i = 0; i < phonemes_.size(); ++i) {
        if (phonemes_[i].start >= seconds) {
            return i == 0 ? nullptr : &PhonemeTable::Row(phonemes_[i - 1].index);
        }
    }
    return &PhonemeTable::Row(PhonemeTable::kSilence);
}

std::string Speaker::SiblingPath(const std::string& speechPath, const char* extension) {
    const size_t nameStart =
        speechPath.find_last_of("/\\") == std::string::npos ? 0 : speechPath.find_last_of("/\\") + 1;
    const size_t dot = speechPath.rfind('.');
    if (dot == std::string::npos || dot <= nameStart || dot + 1 == speechPath.size()) {
        return std::string();
    }
    return speechPath.substr(0, dot + 1) + extension;
}

void Speaker::MakePhonemeFile(const std::string& speechPath, const std::string& hint, bool force) {
    const std::string speech = sys::ResolvePath(speechPath);
    const std::string phonemePath = SiblingPath(speech, "phn");
    const std::string wavePath = SiblingPath(speech, "wav");
    if (phonemePath.empty() || !sys::Exists(speech)) {
        return;
    }
    if (!force) {
        const auto made = sys::LastWriteTime(phonemePath);
        if (made && *made >= sys::LastWriteTime(speech).value_or(0)) {
            return;
        }
    }
    const bool withHint = !hint.empty() && sys::SaveFileAtomically(kHintPath, FileName(wavePath) + ":" + hint + "\n");
    RunTool("oggdec", {"-b", "2", speech});
    RunPhonemes(phonemePath, wavePath, withHint);
    Speaker reader;
    if (!reader.LoadPhonemes(phonemePath) && withHint) {
        RunPhonemes(phonemePath, wavePath, false);
    }
    DeleteDecoded(wavePath);
}

PointBlend Speaker::PointingBlend(float angle) {
    constexpr float kTwoPi = 6.28318530718f;
    constexpr float kStep = kTwoPi / kPointKeys;
    if (!std::isfinite(angle)) {
        return {};
    }
    angle = std::fmod(angle, kTwoPi);
    if (angle < 0.0f) {
        angle += kTwoPi;
    }
    const int32_t key = std::min(kPointKeys - 1, static_cast<int32_t>(angle / kStep));
    return {key, (key + 1) % kPointKeys, angle / kStep - static_cast<float>(key)};
}
