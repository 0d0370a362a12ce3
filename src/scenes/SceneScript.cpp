// The scene script reader: a small state machine over the words of each line.
#include "scenes/SceneScript.h"

#include <strings.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool Is(const std::string& word, const char* keyword) { return strcasecmp(word.c_str(), keyword) == 0; }

// The words of a line up to a comment word.
std::vector<std::string> WordsOf(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) {
        if (word.rfind("//", 0) == 0) {
            break;
        }
        words.push_back(word);
    }
    return words;
}

// The argument `index` after the keyword at `at`; missing arguments read as empty, so
// nothing past the line is read.
const std::string& Arg(const std::vector<std::string>& words, size_t at, size_t index) {
    static const std::string kNone;
    const size_t position = at + 1 + index;
    return position < words.size() ? words[position] : kNone;
}

// A word that is no finite number reads as 0.
float Number(const std::string& word) {
    const float value = std::strtof(word.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0f;
}

// A field given "nan" or "inf" keeps the value it had: 0 would shrink an actor to nothing
// or stop it where the default lets it play as written.
void SetIfFinite(float& field, const std::string& word) {
    const float value = std::strtof(word.c_str(), nullptr);
    if (std::isfinite(value)) field = value;
}

Vector3 VectorArg(const std::vector<std::string>& words, size_t at, size_t first = 0) {
    return Vector3(Number(Arg(words, at, first)), Number(Arg(words, at, first + 1)), Number(Arg(words, at, first + 2)));
}

// Index of the word after a keyword and its arguments, never past the line.
size_t After(const std::vector<std::string>& words, size_t at, size_t argumentCount) {
    return std::min(words.size(), at + 1 + argumentCount);
}

}  // namespace

void SceneScript::Clear() {
    stages.clear();
    cast.clear();
    linkedScene.clear();
    backgroundPlacesEye = false;
    state_ = ReadState::Top;
    stage_ = nullptr;
    direction_ = nullptr;
}

bool SceneScript::Load(const std::filesystem::path& path, Sounder* sounder) {
    name = path.stem().string();
    Clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    Parse(text.str());
    for (const auto& stage : stages) {
        stage->LoadSounds(sounder);
    }
    return true;
}

void SceneScript::Parse(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        ReadLine(line);
    }
}

void SceneScript::ReadLine(const std::string& line) {
    if (state_ == ReadState::Text) {
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;) {
            words.push_back(word);
        }
        ReadTextLine(words);
        return;
    }
    const std::vector<std::string> words = WordsOf(line);
    size_t at = 0;
    while (at < words.size()) {
        switch (state_) {
            case ReadState::Top: at = ReadTopWord(words, at); break;
            case ReadState::InStage: at = ReadStageWord(words, at); break;
            case ReadState::Camera: at = ReadCameraWord(words, at); break;
            case ReadState::Direction: at = ReadDirectionWord(words, at); break;
            case ReadState::Link: linkedScene = words[at++]; break;
            case ReadState::Text:
                // The text block takes whole lines, from the next one on.
                return;
        }
    }
}

void SceneScript::ReadTextLine(const std::vector<std::string>& words) {
    if (words.size() == 1 && Is(words[0], "End")) {
        state_ = ReadState::InStage;
        return;
    }
    if (words.size() == 3 && words[0] == "<S>") {
        if (stage_->cueTimes.size() < kMaxCues) {
            stage_->AddCue(Number(words[1]), words[2]);
        }
        return;
    }
    if (words.size() == 2 && (words[0] == "<SS>" || words[0] == "<SSNB>")) {
        stage_->speechName = words[1];
        stage_->speechDoesNotHold = words[0] == "<SSNB>";
        return;
    }
    for (const std::string& word : words) {
        stage_->text += word + " ";
    }
}

size_t SceneScript::ReadTopWord(const std::vector<std::string>& words, size_t at) {
    const std::string& word = words[at];
    if (Is(word, "Background")) {
        static const char* const kKinds[] = {"Stage", "Space", "City", "Desert", "Lab"};
        for (int32_t kind = 0; kind < 5; ++kind) {
            if (Is(Arg(words, at, 0), kKinds[kind])) {
                background = static_cast<BackgroundKind>(kind);
                backgroundPlacesEye = background == BackgroundKind::City;
            }
        }
        return After(words, at, 1);
    }
    if (Is(word, "Actor")) {
        if (Is(Arg(words, at, 0), "Professor")) {
            professorName = Arg(words, at, 1);
        } else if (cast.size() < kMaxActors) {
            cast.push_back({Arg(words, at, 0), Arg(words, at, 1)});
        }
        return After(words, at, 2);
    }
    if (Is(word, "Stage")) {
        if (stages.size() < kMaxStages) {
            stages.push_back(std::make_unique<Stage>());
            stage_ = stages.back().get();
        } else {
            overflowStage_.Clear();
            stage_ = &overflowStage_;
        }
        state_ = ReadState::InStage;
        return at + 1;
    }
    if (Is(word, "LinkScene")) {
        state_ = ReadState::Link;
    }
    return at + 1;
}

size_t SceneScript::ReadStageWord(const std::vector<std::string>& words, size_t at) {
    const std::string& word = words[at];
    if (Is(word, "Time")) {
        stage_->hasTime = true;
        stage_->time = Number(Arg(words, at, 0));
        return After(words, at, 1);
    }
    if (Is(word, "Camera")) {
        state_ = ReadState::Camera;
    } else if (Is(word, "Text")) {
        state_ = ReadState::Text;
        return words.size();
    } else if (Is(word, "End")) {
        state_ = ReadState::Top;
    } else {
        if (stage_->directions.size() < kMaxDirections) {
            direction_ = stage_->AddDirection(word);
        } else {
            overflowDirection_ = ActorDirection();
            direction_ = &overflowDirection_;
        }
        state_ = ReadState::Direction;
    }
    return at + 1;
}

size_t SceneScript::ReadCameraWord(const std::vector<std::string>& words, size_t at) {
    const std::string& word = words[at];
    if (Is(word, "Position")) {
        stage_->hasCameraPosition = true;
        stage_->cameraPosition = VectorArg(words, at);
        return After(words, at, 3);
    }
    if (Is(word, "LookAt")) {
        stage_->hasLookAt = true;
        stage_->lookAt = VectorArg(words, at);
        return After(words, at, 3);
    }
    if (Is(word, "LookAtActor")) {
        stage_->hasLookAtActor = true;
        stage_->lookAtActorName = Arg(words, at, 0);
        return After(words, at, 1);
    }
    if (Is(word, "LookAtActorWithOffset")) {
        stage_->hasLookAtActorOffset = true;
        stage_->lookAtActorName = Arg(words, at, 0);
        stage_->lookAtActorOffset = VectorArg(words, at, 1);
        return After(words, at, 4);
    }
    if (Is(word, "Shake")) {
        stage_->shake = true;
    } else if (Is(word, "End")) {
        state_ = ReadState::InStage;
    }
    return at + 1;
}

size_t SceneScript::ReadDirectionWord(const std::vector<std::string>& words, size_t at) {
    ActorDirection& d = *direction_;
    const std::string& word = words[at];
    struct VectorField {
        const char* keyword;
        bool ActorDirection::*flag;
        Vector3 ActorDirection::*value;
    };
    static const VectorField kVectors[] = {
        {"From", &ActorDirection::hasFrom, &ActorDirection::from},
        {"To", &ActorDirection::hasTo, &ActorDirection::to},
        {"FallTo", &ActorDirection::hasFallTo, &ActorDirection::fallTo},
        {"ShotVelocity", &ActorDirection::hasShotVelocity, &ActorDirection::shotVelocity},
        {"Debris", &ActorDirection::hasDebris, &ActorDirection::debris}};
    for (const VectorField& field : kVectors) {
        if (Is(word, field.keyword)) {
            d.*field.flag = true;
            d.*field.value = VectorArg(words, at);
            return After(words, at, 3);
        }
    }
    struct FloatField {
        const char* keyword;
        bool ActorDirection::*flag;
        float ActorDirection::*value;
    };
    static const FloatField kFloats[] = {{"Speed", &ActorDirection::hasSpeed, &ActorDirection::speed},
                                         {"FlipRate", &ActorDirection::hasFlipRate, &ActorDirection::flipRate},
                                         {"FromScale", &ActorDirection::hasFromScale, &ActorDirection::fromScale},
                                         {"ToScale", &ActorDirection::hasToScale, &ActorDirection::toScale}};
    for (const FloatField& field : kFloats) {
        if (Is(word, field.keyword)) {
            d.*field.flag = true;
            SetIfFinite(d.*field.value, Arg(words, at, 0));
            return After(words, at, 1);
        }
    }
    struct PairField {
        const char* keyword;
        bool ActorDirection::*flag;
        float (ActorDirection::*value)[2];
    };
    static const PairField kPairs[] = {
        {"TeleportIn", &ActorDirection::hasTeleportIn, &ActorDirection::teleportIn},
        {"TeleportOut", &ActorDirection::hasTeleportOut, &ActorDirection::teleportOut},
        {"TiltPosition", &ActorDirection::hasTiltPosition, &ActorDirection::tiltPosition}};
    for (const PairField& field : kPairs) {
        if (Is(word, field.keyword)) {
            d.*field.flag = true;
            (d.*field.value)[0] = Number(Arg(words, at, 0));
            (d.*field.value)[1] = Number(Arg(words, at, 1));
            return After(words, at, 2);
        }
    }
    if (Is(word, "FromAxisAngle") || Is(word, "ToAxisAngle")) {
        const Vector3 axis = VectorArg(words, at);
        const float angle = Number(Arg(words, at, 3));
        Is(word, "FromAxisAngle") ? d.SetFromAxisAngle(axis, angle) : d.SetToAxisAngle(axis, angle);
        return After(words, at, 4);
    }
    if (Is(word, "Animation") || Is(word, "AnimationLoop")) {
        const std::string& first = Arg(words, at, 0);
        const std::string& second = Arg(words, at, 1);
        Is(word, "Animation") ? d.SetAnimation(first, second) : d.SetAnimationLoop(first, second);
        return After(words, at, 2);
    }
    if (Is(word, "Mood") || Is(word, "Weapon")) {
        Is(word, "Mood") ? d.SetMood(Arg(words, at, 0)) : d.SetWeapon(Arg(words, at, 0));
        return After(words, at, 1);
    }
    if (Is(word, "NoSpin")) {
        d.noSpin = true;
    } else if (Is(word, "Permanent")) {
        d.permanent = true;
    } else if (Is(word, "Full")) {
        d.full = true;
    } else if (Is(word, "End")) {
        state_ = ReadState::InStage;
    }
    return at + 1;
}
