// The guide's lip sync and the speech tools that prepare it.
#include "scenes/Speaker.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "audio/Sounder.h"
#include "platform/sys/Debug.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Process.h"
#include "platform/sys/SafeFile.h"

namespace {

constexpr float kSampleAhead = 0.2f;
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

}  // namespace

Speaker::Speaker(Sounder* sounder) : sounder_(sounder) {}

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
    if (!sys::Exists(speechPath)) {
        return;
    }
    LoadPhonemes(SiblingPath(speechPath, "phn"));
    if (sounder_) {
        stream_ = sounder_->LoadStream(String(speechPath.c_str()), 1, false);
    }
    clock_ = kClockStart;
    startDelay_ = kStartDelayFrames;
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
}

bool Speaker::IsTalking() const {
    return startDelay_ >= 1 || (stream_ && sounder_ && sounder_->IsStreamActive(stream_));
}

void Speaker::Update(float frameTime) {
    if (startDelay_ > 0) {
        --startDelay_;
        if (startDelay_ > 0) {
            return;
        }
        if (stream_ && sounder_) {
            sounder_->PlayStream(stream_, 1.0f, 0);
        }
    }
    clock_ += frameTime;
    const PhonemeRow* row = PhonemeAt(clock_ + kSampleAhead);
    const float closure = canTalk_ ? (row ? row->closure : 0.0f) : 1.0f;
    mouth_ = openMouth_ + (closedMouth_ - openMouth_) * closure;
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
