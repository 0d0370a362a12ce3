#pragma once
// The guide's lip sync: his phoneme list for the line being spoken, the mouth between its
// closed and open keys, the arm pointing between its direction keys, and the making of
// phoneme files by the two speech tools in the runtime folder's Speech folder.
#include <cstdint>
#include <string>
#include <vector>

#include "core/IntRect.h"
#include "core/Vector3.h"
#include "engine/AnimationController.h"
#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "scenes/PhonemeTable.h"
#include "ui/SpeechVoice.h"

class ModelNode;
class PoseAnimation;
class Sounder;
class StreamSound;

// The two keys the arm's pose blends between, and how far from the first.
struct PointBlend {
    int32_t key = 0;
    int32_t nextKey = 0;
    float fraction = 0.0f;
};

class Speaker final : public SpeechVoice {
public:
    static constexpr int32_t kPointKeys = 8;
    static constexpr int32_t kStartDelayFrames = 10;
    // Bounds on a phoneme file: one entry per 10 ms of a ten-minute line.
    static constexpr size_t kMaxPhonemes = 60000;

    explicit Speaker(Sounder* sounder = nullptr);
    ~Speaker() override;
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // The head's "Talk" keys (closed, then open) and the number of "Point" keys. With fewer
    // than two talk keys the mouth stays closed; with fewer than eight point keys he does
    // not point.
    void SetPoseKeys(const std::vector<Vector3>& talkKeys, int32_t pointKeyCount);
    bool CanPoint() const { return canPoint_; }
    // The figure: loads his model and takes the pose keys from its "Talk" and "Point"
    // animations. False (and nothing drawn) when the model is missing.
    bool LoadModel();
    bool HasModel() const { return model_ != nullptr; }
    // The viewport he is drawn into, in screen pixels.
    void SetScreenRect(const IntRect& rect) { screenRect_ = rect; }
    const IntRect& ScreenRect() const { return screenRect_; }
    // The height of his model, which the scenes look at.
    float LookHeight() const { return lookHeight_; }

    // While talking with pointing asked for, the arm follows a target circling the place.
    void PointAtCircle(float centreX, float centreY, float radius) override;
    void PointAtRect(const IntRect& rect) override;
    void StopPointing() override;
    // Plays the animation once, then idles.
    void PlayGesture(const std::string& animation, const std::string& second);
    // The figure in his viewport (with his ground shadow when asked).
    void Draw(bool withShadow);
    // The arm's blend this frame; none while he does not point.
    const PointBlend* CurrentPointing() const { return pointing_ != Pointing::None ? &pointBlend_ : nullptr; }
    bool visible = true;

    void Say(const std::string& speechPath, bool pointWhileTalking) override;
    void Stop() override;
    bool IsTalking() const override;
    // One frame: the start delay, the speech clock, the mouth, the gestures and the arm.
    // Drawing does not update him: whoever shows him calls this once a frame.
    void Update(float frameTime);

    bool LoadPhonemes(const std::string& phonemePath);
    // The phoneme sounding at `seconds` into the line; null while the mouth is open before
    // the first one.
    const PhonemeRow* PhonemeAt(float seconds) const;
    const Vector3& MouthPosition() const { return mouth_; }

    // Decodes the speech file and runs the phoneme maker over it, with the hint text when
    // given and once more without it when that gives nothing.
    static void MakePhonemeFile(const std::string& speechPath, const std::string& hint, bool force);
    // The speech path with its extension replaced; empty for a name without one.
    static std::string SiblingPath(const std::string& speechPath, const char* extension);
    // The blend of the arm's keys for a direction on screen (radians, y upward).
    static PointBlend PointingBlend(float angle);

    struct Phoneme {
        int32_t index;
        float start;  // seconds
    };
    const std::vector<Phoneme>& Phonemes() const { return phonemes_; }

private:
    enum class Gesture { StartIdle, Talking, Idling, Playing };
    enum class Pointing { None, Rect, Circle };

    void PlayIdle();
    void PlayIdleGesture();
    void UpdateGesture(float frameTime);
    void UpdatePointing(float frameTime);
    void PoseHead();
    void PoseArm(const PointBlend& blend);
    void SetRestPose();
    const PoseAnimation* FindAnimation(const char* name) const;

    Sounder* sounder_;
    ModelNode* model_ = nullptr;  // owned by the renderer
    ModelNode* head_ = nullptr;
    ModelNode* torso_ = nullptr;
    ModelNode* leftArm_ = nullptr;
    int32_t headIndex_ = -1;  // depth-first node index, for the pose rotations
    int32_t armIndex_ = -1;
    AnimationController animation_;
    Camera camera_;
    Light light_;
    IntRect screenRect_{0, 0, 299, 299};
    float lookHeight_ = 1.0f;
    Gesture gesture_ = Gesture::StartIdle;
    float gestureTimer_ = 0.0f;
    Pointing pointing_ = Pointing::None;
    float pointPhase_ = 0.0f;
    IntRect pointRect_;
    float pointCircle_[3] = {0.0f, 0.0f, 0.0f};
    PointBlend pointBlend_;
    StreamSound* stream_ = nullptr;
    std::vector<Phoneme> phonemes_;
    Vector3 closedMouth_;
    Vector3 openMouth_;
    Vector3 mouth_;
    bool canTalk_ = false;
    bool canPoint_ = false;
    bool pointWhileTalking_ = false;
    float clock_ = 0.0f;
    int32_t startDelay_ = 0;
};
