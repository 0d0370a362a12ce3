#pragma once
// A scene script read into its parts: the backdrop, the cast, the steps and the scene
// that follows. Scripts are hand-written text, read a whole line at a time; the reader never
// reads past a line's words and bounds every list it grows, so a damaged script gives a
// smaller scene, not a fault.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "scenes/Stage.h"

class Sounder;

enum class BackgroundKind : int32_t { Stage = 0, Space = 1, City = 2, Desert = 3, Lab = 4 };

struct SceneCastEntry {
    std::string kind;
    std::string name;
};

class SceneScript {
public:
    static constexpr size_t kMaxStages = 256;
    static constexpr size_t kMaxActors = 64;
    static constexpr size_t kMaxDirections = 64;
    static constexpr size_t kMaxCues = 64;

    // Empties steps, cast and link; the guide's name and the backdrop stay, as a script
    // that names neither keeps the previous scene's.
    void Clear();
    // False (and no steps) when the file cannot be read. The steps' cue sounds are loaded
    // through the sound manager (with none, cues whose files are missing are still dropped).
    bool Load(const std::filesystem::path& path, Sounder* sounder = nullptr);
    void Parse(const std::string& text);

    std::string name;
    BackgroundKind background = BackgroundKind::Space;
    // Set by a "City" backdrop, which places its camera's eye.
    bool backgroundPlacesEye = false;
    std::string professorName;
    std::vector<SceneCastEntry> cast;
    std::vector<std::unique_ptr<Stage>> stages;
    std::string linkedScene;

private:
    enum class ReadState { Top, InStage, Camera, Text, Direction, Link };

    void ReadLine(const std::string& line);
    void ReadTextLine(const std::vector<std::string>& words);
    size_t ReadTopWord(const std::vector<std::string>& words, size_t at);
    size_t ReadStageWord(const std::vector<std::string>& words, size_t at);
    size_t ReadCameraWord(const std::vector<std::string>& words, size_t at);
    size_t ReadDirectionWord(const std::vector<std::string>& words, size_t at);

    ReadState state_ = ReadState::Top;
    Stage* stage_ = nullptr;
    ActorDirection* direction_ = nullptr;
    // Steps and directions past the bounds are read into these and dropped.
    Stage overflowStage_;
    ActorDirection overflowDirection_;
};
