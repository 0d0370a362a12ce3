#pragma once
// A full-screen 3-D toy: the worms' world drawn as a lattice of edges, eaten ones in the
// colour of the worm that ate them, with a head per living worm and a spot on each used-up
// node. While the first worm waits, the digit keys choose its way, shown by digit signs
// on the free neighbours. Opened by name (a tutorial's window list); the main update
// steps its world while it is open.
#include <cstdint>

#include "engine/CameraCommandTarget.h"
#include "engine/Line3D.h"
#include "engine/OverheadCamera.h"
#include "engine/TiltedCamera.h"
#include "platform/gfx/DeviceTypes.h"
#include "screens/WormWorld.h"
#include "ui/Window.h"

class ModelNode;

class WormsWindow : public Window, public CameraCommandTarget {
public:
    static constexpr float kNearPlane = 1.0f;
    static constexpr float kFarPlane = 200.0f;
    static constexpr float kMinimumZoom = 5.0f;
    static constexpr float kMaximumZoom = 40.0f;
    static constexpr int32_t kDigitPixels = 48;

    WormsWindow();

    void CreateResources() override;
    void ReleaseResources() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetToolTip() override;

    // One frame of the world, from the main update while the window is open.
    void Update(float frameSeconds) { world.Update(frameSeconds); }
    bool IsTiltedCameraCurrent() const { return current_ == &tilted_; }

    float FrameTime() const override;
    void PostCameraVector(CameraCommand command, const Vector3& value) override;
    void PostCameraZoom(float heightChange, int32_t notches) override;

    // The ground position of a lattice point; columns of odd x sit half a row higher.
    static Vector3 NodePosition(int32_t x, int32_t y);

    WormWorld world;

private:
    void SetUpCamera(WindowCamera& camera);
    void DrawEdges();
    void DrawModels();
    void DrawChoices();

    OverheadCamera overhead_;
    TiltedCamera tilted_;
    WindowCamera* current_ = &overhead_;
    Line3D line_;
    // Its own light: along (1, 1, -1), diffuse 0.75 grey, no ambient part.
    gfx::Light light_;
    ModelNode* headModel_ = nullptr;
    ModelNode* spotModel_ = nullptr;
    Sprite* digits_[WormWorld::kDirectionCount] = {};
};

WormsWindow& GetWormsWindow();
