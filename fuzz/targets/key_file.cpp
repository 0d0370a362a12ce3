// A pose set's key file, read for a model of two nodes and evaluated at a few points.
#include "core/String.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/PoseAnimation.h"
#include "engine/PoseFiles.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"

VORNS_FUZZ_TARGET(data, size) {
    if (!fuzz::WriteScratchFile("Fuzz.key", data, size)) {
        return 0;
    }
    Mesh mesh;
    mesh.AddPosition(Vector3(0, 0, 0));
    mesh.AddPosition(Vector3(1, 2, 3));
    ModelNode model(String("Fuzz"));
    model.mesh = &mesh;
    model.AddChild(std::make_unique<ModelNode>(String("Child")));
    PoseAnimation animation;
    if (!LoadKeyFile((fuzz::ScratchFolder() + "Fuzz.key").c_str(), model, animation)) {
        return 0;
    }
    for (float t : {-1.0f, 0.0f, 0.5f, 2.0f}) animation.Evaluate(Vector3(t, t * 0.5f, 1.0f - t));
    return 0;
}
