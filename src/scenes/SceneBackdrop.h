#pragma once
// What stands behind a scene's actors, one set per background kind: its camera, its
// light, and the floor, ground, stars, tufts or lab it draws.
#include <array>
#include <cstdint>
#include <memory>

#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "scenes/SceneScript.h"

class Mesh;
class ModelNode;
class ParticleSystem;

struct BackgroundSet {
    Camera camera;
    Light light;
    bool clears = false;
    Color clearColour;
};

class SceneBackdrop {
public:
    static constexpr int32_t kKindCount = 5;
    static constexpr int32_t kStarCount = 50;
    static constexpr int32_t kTuftCount = 20;

    SceneBackdrop();
    ~SceneBackdrop();
    SceneBackdrop(const SceneBackdrop&) = delete;
    SceneBackdrop& operator=(const SceneBackdrop&) = delete;

    // The shared ground meshes of the grass and sand backgrounds (and the stage floor),
    // built once for the run.
    static void BuildGroundMeshes();
    static void ForgetGroundMeshes();
    static bool HasGroundMeshes();

    BackgroundSet& SetOf(BackgroundKind kind) { return sets_[size_t(kind)]; }
    // Sets the kind's camera and light and draws what stands behind the actors.
    void Draw(BackgroundKind kind);
    // The kind's camera and light again (before each actor).
    void Apply(BackgroundKind kind);

private:
    void BuildSets();
    void BuildStars();
    void BuildTufts();
    void DrawStars();
    void DrawTufts();

    std::array<BackgroundSet, kKindCount> sets_;
    std::unique_ptr<ParticleSystem> stars_;
    ModelNode* tuft_ = nullptr;  // owned by the renderer
    ModelNode* lab_ = nullptr;
    struct Tuft {
        Vector3 position;
        float turn = 0.0f;
        float scale = 1.0f;
    };
    std::array<Tuft, kTuftCount> tufts_;
    // Names this backdrop's strewing of tufts in the grass's still-layer key.
    uint64_t tuftsKey_ = 0;
};
