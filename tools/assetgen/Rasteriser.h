#pragma once
// A small software renderer: textured triangle meshes drawn with a depth buffer under an
// orthographic camera, lit from the viewer's side. Used for the chassis portraits and for
// pictures of the models that people look at.
#include <vector>

#include "ActorModel.h"
#include "MeshBuilder.h"

namespace assetgen {

struct RenderPart {
    TriMesh mesh;  // placed in model space
    const Image* texture = nullptr;
};

// Frames all parts in a square picture, seen from the front-left and a little above
// (the model's +x is its front, +z up). Background transparent.
// Unshaded pictures keep every texel's colour exactly, so recolour keys stay pure.
Image RenderParts(const std::vector<RenderPart>& parts, int size, float turnDegrees = 35, float lookDownDegrees = 20,
                  bool shaded = true);
// An actor in its rest pose.
Image RenderActor(const ActorModel& model, int size, bool shaded);
// An actor with one key of a pose set applied, shaded.
Image RenderPose(const ActorModel& model, const PoseKey& key, int size);

}  // namespace assetgen
