#pragma once
// A flat ground cut into square blocks of faces, each block a mesh of its own, so that a
// view draws only the blocks it can see. The grounds reach far beyond the scenes'
// cameras, and the software renderer pays for every triangle it is handed, seen or not;
// the triangles drawn are the same as the whole ground's, so the picture is too.
#include <vector>

class Camera;
class Mesh;

class SceneGroundBlocks {
public:
    SceneGroundBlocks() = default;
    // Copies the faces of the mesh into blocks by the square (blockSide wide, on the
    // ground plane) their centre lies in; the blocks get device buffers and bounds.
    SceneGroundBlocks(const Mesh& ground, float blockSide);

    // Draws, at the world's origin, the blocks whose bounds meet the camera's view.
    void Draw(Camera& camera) const;
    bool IsEmpty() const { return blocks_.empty(); }
    const std::vector<Mesh*>& Blocks() const { return blocks_; }

private:
    std::vector<Mesh*> blocks_;  // owned by the renderer
};
