// The scenes' backgrounds.
#include "scenes/SceneBackdrop.h"
#include "scenes/SceneGroundBlocks.h"
#include "scenes/SceneMaterials.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/Vector2.h"
#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/ParticleSystem.h"
#include "engine/SharedMeshes.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kGroundCells = 64;
constexpr float kGroundHalfSide = 80.0f;
constexpr float kGroundStep = 2.5f;
constexpr float kTexelInset = 1.0f / 64.0f;
constexpr int kGroundTextures = 4;

// Block sides of the grounds. Each grass and sand block costs a draw for each of its four
// tile textures, which smaller blocks would spend more on than their culling saves.
constexpr float kGroundBlockSide = 40.0f;
constexpr float kFloorBlockSide = 8.0f;

struct GroundMeshes {
    SceneGroundBlocks grass;
    SceneGroundBlocks sand;
    SceneGroundBlocks floor;
};

GroundMeshes& Ground() {
    static GroundMeshes meshes;
    return meshes;
}

// Counts the grounds built, so a ground built afresh (its tiles laid out anew) is not
// taken for the last one.
uint64_t gGroundBuilds = 0;

float RandomUnit() { return float(sys::Rand()) / float(sys::kRandMax); }
float RandomBetween(float low, float high) { return low + (high - low) * RandomUnit(); }

gfx::ColorValue Rgb(int red, int green, int blue) {
    return {float(red) / 255.0f, float(green) / 255.0f, float(blue) / 255.0f, 1.0f};
}

Vector3 Normalized(Vector3 v) {
    v.Normalize();
    return v;
}

void AddVertex(Mesh& mesh, int position, float u, float v) {
    MeshVertex vertex;
    vertex.position = &mesh.positions[position];
    vertex.normal = Vector3(0.0f, 0.0f, 1.0f);
    vertex.color = Color(0xFFFFFFFF);
    vertex.texCoords.Append(Vector2(u, v));
    mesh.AddVertex(vertex);
}

void AddFace(Mesh& mesh, int a, int b, int c, Material* material) {
    MeshFace face;
    face.material = material;
    face.corners[0] = &mesh.vertices[a];
    face.corners[1] = &mesh.vertices[b];
    face.corners[2] = &mesh.vertices[c];
    face.ComputeNormal();
    mesh.AddFace(face);
}

// A 160 x 160 ground of 64 x 64 cells, each showing one of the four tile textures (the
// first and last half as often as the middle two), the diagonals alternating.
SceneGroundBlocks BuildGround(const char* tileName) {
    Material* materials[kGroundTextures];
    for (int i = 0; i < kGroundTextures; ++i) {
        materials[i] = CreateSceneMaterial((String(tileName) + String::FromInt(i) + ".tga").CStr());
        materials[i]->diffuse = materials[i]->ambient = gfx::ColorValue{1.0f, 1.0f, 1.0f, 1.0f};
    }
    constexpr int side = kGroundCells + 1;
    Mesh ground(side * side, kGroundCells * kGroundCells * 4, kGroundCells * kGroundCells * 2, 0);
    Mesh* mesh = &ground;
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            mesh->AddPosition(Vector3(-kGroundHalfSide + kGroundStep * float(column),
                                      -kGroundHalfSide + kGroundStep * float(row), 0.0f));
        }
    }
    constexpr float low = kTexelInset;
    constexpr float high = 1.0f - kTexelInset;
    for (int row = 0; row < kGroundCells; ++row) {
        for (int column = 0; column < kGroundCells; ++column) {
            const int texture = (sys::Rand() + 5461) * 3 / sys::kRandMax;
            Material* material = materials[texture < kGroundTextures ? texture : kGroundTextures - 1];
            const int first = mesh->vertices.Count();
            const int corner = row * side + column;
            AddVertex(*mesh, corner, low, low);
            AddVertex(*mesh, corner + 1, high, low);
            AddVertex(*mesh, corner + side + 1, high, high);
            AddVertex(*mesh, corner + side, low, high);
            // Wound like the stage floor, so the front faces look up.
            if ((row + column) % 2 == 0) {
                AddFace(*mesh, first, first + 2, first + 1, material);
                AddFace(*mesh, first, first + 3, first + 2, material);
            } else {
                AddFace(*mesh, first, first + 3, first + 1, material);
                AddFace(*mesh, first + 1, first + 3, first + 2, material);
            }
        }
    }
    mesh->hasNormals = 1;
    mesh->hasColors = 1;
    mesh->texCoordSetCount = 1;
    return SceneGroundBlocks(ground, kGroundBlockSide);
}

}  // namespace

void SceneBackdrop::BuildGroundMeshes() {
    if (HasGroundMeshes()) {
        return;
    }
    Ground().grass = BuildGround("GrassTile");
    Ground().sand = BuildGround("SandTile");
    Ground().floor = SceneGroundBlocks(*BuildFloorGridMesh(), kFloorBlockSide);
    ++gGroundBuilds;
}

void SceneBackdrop::ForgetGroundMeshes() { Ground() = GroundMeshes(); }

bool SceneBackdrop::HasGroundMeshes() { return !Ground().grass.IsEmpty(); }

SceneBackdrop::SceneBackdrop() {
    BuildSets();
    BuildStars();
    BuildTufts();
    lab_ = GetRenderer().LoadModel(ActorPath("Lab"), 1.0f, 20.0f, 1);
}

SceneBackdrop::~SceneBackdrop() {
    if (stars_ != nullptr && stars_->mesh != nullptr && GetRenderer().HasDevice()) {
        GetRenderer().DestroyParticleMesh(*stars_);
    }
}

void SceneBackdrop::BuildSets() {
    const IntRect& window = GetRenderer().GetWindowRect();
    const float width = float(std::max(1, window.right - window.left + 1));
    const float height = float(std::max(1, window.bottom - window.top + 1));
    const float eyeHeights[kKindCount] = {3.0f, 0.0f, 3.0f, 3.0f, 0.0f};
    const float farPlanes[kKindCount] = {50.0f, 50.0f, 60.0f, 60.0f, 50.0f};
    for (int kind = 0; kind < kKindCount; ++kind) {
        BackgroundSet& set = sets_[size_t(kind)];
        set.camera.eye = Vector3(0.0f, -15.0f, eyeHeights[kind]);
        set.camera.direction = Vector3(0.0f, 1.0f, 0.0f);
        set.camera.up = Vector3(0.0f, 0.0f, 1.0f);
        set.camera.nearPlane = 1.0f;
        set.camera.farPlane = farPlanes[kind];
        set.camera.SetAspect(width / height);
        set.light = Light();
        set.light.diffuse = set.light.specular = Rgb(255, 255, 255);
        set.light.ambient = Rgb(64, 64, 64);
    }
    BackgroundSet& stage = SetOf(BackgroundKind::Stage);
    stage.light.type = gfx::LightType::Spot;
    stage.light.position = Vector3(0.0f, 0.0f, 15.0f);
    stage.light.direction = Vector3(0.0f, 0.0f, -1.0f);
    stage.light.attenuation0 = 0.5f;
    stage.light.theta = 0.0f;
    stage.light.phi = 1.5f;
    SetOf(BackgroundKind::City).light.direction = Normalized(Vector3(-1.0f, 0.2f, -0.7f));
    SetOf(BackgroundKind::City).clears = true;
    SetOf(BackgroundKind::City).clearColour = Color::FromRGBA(30, 150, 150, 255);
    BackgroundSet& desert = SetOf(BackgroundKind::Desert);
    desert.light.direction = Normalized(Vector3(-1.0f, 0.2f, -0.7f));
    desert.light.diffuse = Rgb(255, 255, 192);
    desert.light.ambient = Rgb(64, 64, 48);
    desert.clears = true;
    desert.clearColour = Color::FromRGBA(130, 50, 150, 255);
    SetOf(BackgroundKind::Lab).light.direction = Normalized(Vector3(-0.3f, 1.0f, -0.3f));
}

void SceneBackdrop::BuildStars() {
    stars_ = std::make_unique<ParticleSystem>();
    stars_->particles.SetSize(kStarCount);
    for (Particle& star : stars_->particles) {
        star.position =
            Vector3(RandomBetween(-25.0f, 25.0f), RandomBetween(21.0f, 25.0f), RandomBetween(-25.0f, 25.0f));
        star.alive = 1;
    }
    stars_->particleSize = 0.1f;
}

void SceneBackdrop::BuildTufts() {
    tuft_ = GetRenderer().LoadModel(ActorModelPath("GrassTuft"), 1.0f, 0.5f, 1);
    for (Tuft& tuft : tufts_) {
        tuft.position = Vector3(RandomBetween(-10.0f, 10.0f), RandomBetween(-10.0f, 10.0f), 0.0f);
        tuft.turn = RandomBetween(0.0f, 2.0f * kPi);
        tuft.scale = RandomBetween(0.8f, 1.2f);
        for (const float value : {tuft.position.x, tuft.position.y, tuft.position.z, tuft.turn, tuft.scale})
            tuftsKey_ = (tuftsKey_ ^ std::bit_cast<uint32_t>(value)) * 1099511628211ull;
    }
}

void SceneBackdrop::Apply(BackgroundKind kind) {
    BackgroundSet& set = SetOf(kind);
    if (kind == BackgroundKind::Space) {
        set.light.direction = set.camera.direction;
    }
    Renderer& renderer = GetRenderer();
    renderer.SetCamera(set.camera);
    renderer.SetLight(set.light, true, 0);
}

void SceneBackdrop::Draw(BackgroundKind kind) {
    Renderer& renderer = GetRenderer();
    renderer.SetNormalize(true);
    renderer.EnableLighting();
    renderer.SetWorldMatrix(Matrix4());
    Apply(kind);
    BackgroundSet& set = SetOf(kind);
    if (set.clears) {
        renderer.ClearViewport(set.clearColour, 1.0f, 3);
    }
    // The grounds stay as they are under a camera that stays: the device may put back the
    // picture it kept of them instead of drawing them again.
    uint64_t still = (gGroundBuilds << 8) | uint64_t(kind);
    switch (kind) {
        case BackgroundKind::Stage:
            renderer.BeginStillLayer(still);
            Ground().floor.Draw(set.camera);
            renderer.EndStillLayer();
            break;
        case BackgroundKind::Space: DrawStars(); break;
        case BackgroundKind::City:
            // Each backdrop strews its own tufts.
            renderer.BeginStillLayer(still ^ tuftsKey_);
            Ground().grass.Draw(set.camera);
            DrawTufts();
            renderer.EndStillLayer();
            break;
        case BackgroundKind::Desert:
            renderer.BeginStillLayer(still);
            Ground().sand.Draw(set.camera);
            renderer.EndStillLayer();
            break;
        case BackgroundKind::Lab:
            // The stars and the laboratory stand still too; the key names this backdrop's model.
            renderer.BeginStillLayer(still ^ uint64_t(reinterpret_cast<uintptr_t>(lab_)));
            DrawStars();
            if (lab_ != nullptr) {
                Matrix4 place;
                place.SetTranslation(Vector3(-8.5f, -5.0f, 0.0f));
                renderer.SetWorldMatrix(place);
                renderer.RenderModel(lab_, false, false);
            }
            renderer.EndStillLayer();
            break;
    }
}

void SceneBackdrop::DrawStars() {
    Renderer& renderer = GetRenderer();
    if (stars_->mesh == nullptr) {
        stars_->material = CreateSceneMaterial("WhiteBall.tga");
        renderer.CreateParticleMesh(*stars_);
    }
    gfx::Device& device = renderer.GetDevice();
    renderer.SetWorldMatrix(Matrix4());
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    device.SetRenderState(gfx::RenderState::ZEnable, 0u);
    renderer.DrawParticles(*stars_);
    device.SetRenderState(gfx::RenderState::ZEnable, 1u);
    renderer.SetBlendOff();
    renderer.EnableLighting();
}

void SceneBackdrop::DrawTufts() {
    if (tuft_ == nullptr) {
        return;
    }
    Renderer& renderer = GetRenderer();
    for (const Tuft& tuft : tufts_) {
        Matrix4 place = Matrix::RotationZ(tuft.turn);
        place.Scale(tuft.scale);
        place.Translate(tuft.position);
        renderer.SetWorldMatrix(place);
        renderer.RenderModel(tuft_, false, false);
    }
}
