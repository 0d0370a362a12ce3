#pragma once
// A coloured flat band between two points of the world, one quad the renderer owns.
// The band lies across the horizontal direction perpendicular to the segment, so it
// reads as a ribbon seen from above.
#include "core/Color.h"
#include "core/Vector3.h"
#include "engine/RendererRef.h"

class Mesh;

class Line3D {
public:
    Line3D() = default;

    // Makes the quad; drawing before this draws nothing.
    void Create(float halfWidth);
    void SetColor(Color colour) { colour_ = colour; }
    void SetEndpoints(const Vector3& start, const Vector3& end);
    // Refits the quad to the end points and draws it under the current world matrix. A
    // segment of (near) zero length draws the quad as it was last fitted.
    void Draw();

    // Assigns the corners the other way round, which turns the texture direction and the
    // winding.
    bool reversed = false;

    const Mesh* GetMesh() const { return mesh_; }

private:
    void Fit();

    Color colour_;
    Vector3 start_;
    Vector3 end_;
    RendererRef<Mesh> mesh_;  // owned by the renderer, emptied by its release
    float halfWidth_ = 0.0f;
};
