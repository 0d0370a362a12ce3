// The 3-D line ribbon.
#include "engine/Line3D.h"

#include "engine/Mesh.h"
#include "engine/Renderer.h"

void Line3D::Create(float halfWidth) {
    halfWidth_ = halfWidth;
    Renderer& renderer = GetRenderer();
    const Color opaqueRed = Color::FromRGBA(255, 0, 0, 255);
    mesh_ = renderer.CreateColoredQuad(QuadRect{0.0f, 0.0f, 1.0f, 1.0f}, opaqueRed, 0.0f, 0, 0);
    renderer.CreateModelMeshes(mesh_);
}

void Line3D::SetEndpoints(const Vector3& start, const Vector3& end) {
    start_ = start;
    end_ = end;
}

void Line3D::Fit() {
    Vector3 d = end_ - start_;
    if (d.IsNearZero()) return;
    d.Normalize();
    const float a = d.x * halfWidth_;
    const float b = d.y * halfWidth_;
    const Vector3 corners[4] = {
        start_ + Vector3(b, -a, 0.0f),
        start_ + Vector3(-b, a, 0.0f),
        end_ + Vector3(-b, a, 0.0f),
        end_ + Vector3(b, -a, 0.0f),
    };
    mesh_->changeBits.SetSize(mesh_->vertices.Count());
    for (int k = 0; k < 4; ++k) {
        MeshVertex& vertex = mesh_->vertices[reversed ? 3 - k : k];
        *vertex.position = corners[k];
        vertex.color = colour_;
        mesh_->changeBits[reversed ? 3 - k : k] |= kVertexChangePosition | kVertexChangeColor;
    }
    mesh_->dirty = 1;
    GetRenderer().UpdateMeshBuffers(mesh_);
}

void Line3D::Draw() {
    if (mesh_ == nullptr) return;
    Fit();
    GetRenderer().RenderMesh(mesh_, true);
}
