#pragma once
// The player's avatar: one unit in the player's colours on a small lit stage of its own,
// drawn into a rectangle of a screen. It stands idle, walks in and out, strikes two
// standing poses, and the viewer can spin it.
#include <cstdint>

#include "core/Color.h"
#include "core/IntRect.h"
#include "core/Vector3.h"
#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"

class Player;
class Vorn;
class Mesh;

class PlayerFigure {
public:
    enum Pose : int32_t { kIdle = 0, kWalkIn = 1, kCheer = 2, kSulk = 3, kWalkOut = 4 };
    // Where walking in starts and walking out ends, and how long either takes.
    static constexpr float kOffStageX = -5.0f;
    static constexpr float kWalkSeconds = 2.0f;
    // The camera stands this many unit radii from the figure.
    static constexpr float kViewDistance = 3.5f;
    static constexpr float kFieldOfView = 35.0f;

    explicit PlayerFigure(Player& owner);
    ~PlayerFigure();
    PlayerFigure(const PlayerFigure&) = delete;
    PlayerFigure& operator=(const PlayerFigure&) = delete;

    // The unit, made on first use from the arena's pool; none without an arena.
    Vorn* GetVorn();
    void SetPose(int32_t newPose);
    // The camera circles the figure: 0 looks along -x.
    void SetViewAngle(float angle);
    // Time passes; without a keyed animation the figure turns by dt instead (so a viewer
    // spins it by passing an angle).
    void Update(float dt);
    // Steps toward the point, turning at most the small chassis' turn rate this frame.
    void WalkToward(const Vector3& point, float dt);
    // Moves the figure, its unit's body rolling along the way.
    void Move(const Vector3& displacement);
    void Draw(float frameTime);
    // The chassis of the unit and a fresh look at it (the viewer's C key).
    void ChangeChassis(int32_t chassis);
    // The unit goes back to the arena before the arena goes.
    void ReleaseVorn();
    // The renderer is going: the shadow is made again on the next draw.
    void ForgetRendererResources() { shadow_ = nullptr; }

    // Width over height of a rectangle whose edges are both inside it.
    static float AspectOf(const IntRect& rect);
    // A body this dark would be lost on the black screens behind the figures: it stands
    // on a pool of light, drawn before it.
    static bool StandsOnLight(Color body);

    IntRect rect{0, 0, 255, 255};
    int32_t pose = kIdle;
    float poseTimer = 0.0f;
    float heading = 0.0f;
    Vector3 position;
    Vector3 cameraOffset;

private:
    float Radius() const;
    void DrawLightPool();
    void DrawShadow();

    Player& owner_;
    Vorn* vorn_ = nullptr;
    RendererMark madeUnderThisRenderer_;  // cleared when the renderer frees the unit's models
    Camera camera_;
    Light keyLight_;
    Light spotLight_;
    RendererRef<Mesh> shadow_;  // owned by the renderer, emptied by its release
};

// Each player's figure, made on first use; released at shutdown before the arena.
PlayerFigure& GetPlayerFigure(Player& player);
// A player record that goes away takes its figure (and the figure's unit) with it.
void ReleasePlayerFigure(Player& player);
void ReleasePlayerFigures();
