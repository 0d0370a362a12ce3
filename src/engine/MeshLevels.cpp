// Levels of detail: a chain of ever coarser copies of a mesh made by edge collapses.
#include <algorithm>

#include "engine/EdgeMesh.h"
#include "engine/Mesh.h"

namespace {

// The face count at which the next level is taken: below the current count even when
// the ratio rounds it back up to it.
int NextTarget(int faceCount, float ratio) {
    const int target = int(float(faceCount) * ratio);
    return target < faceCount ? target : faceCount - 1;
}

}  // namespace

void Mesh::BuildLevelsOfDetail(float firstPassFactor, float ratio, bool topologyCheck) {
    if (!levels.IsEmpty() || faces.IsEmpty()) return;
    // The first pass's limit is a share of the radius; one never computed would make it
    // negative, which means no limit at all.
    if (bounds.IsEmpty()) UpdateBounds();

    EdgeMesh work;
    BuildEdgeMesh(work, *this);
    const String keptName = name;
    const Sphere keptBounds = bounds;
    const uint8_t keptNormals = hasNormals;
    const uint8_t keptColors = hasColors;
    const int32_t keptSets = texCoordSetCount;
    auto restore = [&](Mesh& mesh) {
        mesh.name = keptName;
        mesh.bounds = keptBounds;
        mesh.hasNormals = keptNormals;
        mesh.hasColors = keptColors;
        mesh.texCoordSetCount = keptSets;
    };

    const float factor = std::min(firstPassFactor, 1.0f);
    const float share = std::clamp(ratio, 0.01f, 0.99f);
    if (factor >= 0.0f) {
        while (work.CollapseNext(factor * keptBounds.radius, topologyCheck)) {
        }
        if (work.liveFaceCount != faces.Count()) {
            *this = *work.ToMesh();
            restore(*this);
        }
    }

    int target = NextTarget(faces.Count(), share);
    while (work.CollapseNext(-1.0f, topologyCheck)) {
        if (work.liveFaceCount > target) continue;
        Mesh* level = work.ToMesh().release();
        restore(*level);
        levels.Append({level, work.MaxError()});
        target = NextTarget(work.liveFaceCount, share);
    }
}
