// A cut-scene figure: its world transform, drawing and ground shadow.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/AssetPaths.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/ParticleSystem.h"
#include "engine/Renderer.h"
#include "engine/SharedMeshes.h"
#include "engine/Sparkles.h"
#include "engine/WormStrand.h"
#include "scenes/SceneActor.h"
#include "scenes/SceneMaterials.h"
#include "scenes/SceneSmoke.h"
#include "scenes/Speaker.h"

namespace {

constexpr int32_t kBeamTextures = 6;
constexpr float kBeamWidth = 0.26f;
// The beam's textures, shared by every beam and made at the first drawing.
Material* gBeamMaterials[kBeamTextures] = {};

Material* BeamMaterial(int32_t frame) {
    static constexpr const char* kNames[kBeamTextures] = {"LaserBall1.tga", "LaserBall2.tga", "LaserBall3.tga",
                                                          "LaserBall4.tga", "LaserBall5.tga", "LaserBall6.tga"};
    if (gBeamMaterials[frame] == nullptr) {
        gBeamMaterials[frame] = CreateSceneMaterial(kNames[frame]);
    }
    return gBeamMaterials[frame];
}

Matrix4 ScaledAt(const Quaternion& turn, float scale, const Vector3& at) {
    Matrix4 m;
    m.FromQuaternion(turn);
    m.Scale(scale);
    m.Translate(at);
    return m;
}

// The ground-plane angle that the orientation turns the x axis to.
float HeadingOf(const Quaternion& orientation) {
    const Vector3 facing = orientation.RotateVector(Vector3(1.0f, 0.0f, 0.0f));
    return std::atan2(facing.y, facing.x);
}

void SetTranslationPart(Matrix4& m, const Vector3& at) {
    m.m[12] = at.x;
    m.m[13] = at.y;
    m.m[14] = at.z;
}

}  // namespace

Matrix4 SceneActor::WorldTransform() const {
    switch (kind) {
        case SceneActorKind::Missile: {
            const Vector3 along = travel_.Length() > 0.0f ? travel_ : Vector3(0.0f, 0.0f, 1.0f);
            const Quaternion aim = Quaternion::FromTwoVectors(Vector3(0.0f, 0.0f, 1.0f), along);
            const Quaternion roll = Quaternion::FromAxisAngle(Vector3(0.0f, 0.0f, 1.0f), missileRoll);
            return ScaledAt(Quaternion::Multiply(aim, roll), scale, position);
        }
        case SceneActorKind::Earth: {
            Matrix4 m = Matrix::RotationZ(earthSpin);
            m.Scale(scale * 5.0f);
            m.Translate(position);
            return m;
        }
        case SceneActorKind::WormHole: {
            Matrix4 m;
            m.SetScale(scale);
            m.Translate(position);
            return m;
        }
        case SceneActorKind::Cloud:
            return ScaledAt(orientation, scale, position + Vector3(driftClock * 0.1f, 0.0f, 0.0f));
        case SceneActorKind::LaserBeam: {
            Matrix4 m;
            m.SetTranslation(position);
            return m;
        }
        case SceneActorKind::Debris: return ScaledAt(debrisOrientation, scale, position);
        default: break;
    }
    if (IsUnitBody()) {
        const float lowered = flipping ? lookHeight * scale : 0.0f;
        return ScaledAt(orientation, scale, position + Vector3(0.0f, 0.0f, lookHeight * scale - lowered));
    }
    return ScaledAt(orientation, scale, position);
}

void SceneActor::DrawTeleport(const float size[2], float age) {
    Renderer& renderer = GetRenderer();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    if (HasSceneTexture("Sparkle0.tga"))
        DrawSparkles(position + Vector3(0.0f, 0.0f, size[1] * lookHeight), size[0] * lookHeight, age);
    renderer.SetBlendOff();
    renderer.EnableLighting();
}

void SceneActor::Draw() {
    const float t = std::clamp(stepClock, 0.0f, 1.0f);
    if (teleportIn) {
        if (stepClock <= 1.0f) {
            DrawTeleport(teleportInSize, 1.0f - t);
        }
        return;
    }
    if (teleportOut) {
        DrawTeleport(teleportOutSize, t);
    }
    Renderer& renderer = GetRenderer();
    if (kind != SceneActorKind::Professor) {
        renderer.SetWorldMatrix(WorldTransform());
    }
    if (IsUnitBody()) {
        DrawUnitBody();
        return;
    }
    switch (kind) {
        case SceneActorKind::Professor:
            if (speaker_ != nullptr) speaker_->Draw(true);
            return;
        case SceneActorKind::Missile:
            if (model_ != nullptr) renderer.RenderModel(model_, false, false);
            DrawSmoke(true);
            return;
        case SceneActorKind::LaserBeam: DrawLaserBeam(); return;
        case SceneActorKind::Explosion: DrawSmoke(false); return;
        case SceneActorKind::WormHole:
            if (!HasSceneTexture("WhiteBall.tga")) return;
            for (auto& worm : worms_) worm->Draw();
            return;
        default: break;
    }
    if (model_ != nullptr) {
        renderer.RenderModel(model_, false, false);
    }
}

void SceneActor::DrawUnitBody() {
    if (model_ == nullptr) {
        return;
    }
    const float heading = HeadingOf(orientation);
    if (ballNode_ != nullptr) {
        Matrix4 rolled;
        rolled.FromQuaternion(ballRoll);
        Matrix4 local = Matrix4::Multiply(ballRest_, Matrix4::Multiply(rolled, Matrix::RotationZ(-heading)));
        SetTranslationPart(local, ballRest_.GetTranslation());
        ballNode_->local = local;
    }
    if (torsoNode_ != nullptr) {
        // The tilt is kept in world axes; the torso leans in the body's own frame.
        Vector3 up = TransformPoint(Matrix::RotationZ(-heading), Vector3(tilt[0], tilt[1], 1.0f));
        up.Normalize();
        const Quaternion turn = Quaternion::FromTwoVectors(Vector3(0.0f, 0.0f, 1.0f), up);
        const Vector3 pivot = ballRest_.GetTranslation();
        Matrix4 about;
        about.SetTranslation(Vector3() - pivot);
        Matrix4 rotation;
        rotation.FromQuaternion(turn);
        rotation.Translate(pivot);
        torsoNode_->local = Matrix4::Multiply(torsoRest_, Matrix4::Multiply(about, rotation));
    }
    GetRenderer().RenderModel(model_, false, false);
    if (torsoNode_ != nullptr) {
        torsoNode_->local = torsoRest_;
    }
}

void SceneActor::ForgetBeamMaterials() { std::fill(std::begin(gBeamMaterials), std::end(gBeamMaterials), nullptr); }

void SceneActor::DrawSmoke(bool overEverything) {
    for (int32_t i = 0; i < activeSmoke_; ++i) {
        smoke_[size_t(i)]->Draw(overEverything);
    }
}

void SceneActor::DrawLaserBeam() {
    if (beam_ == nullptr) {
        return;
    }
    Renderer& renderer = GetRenderer();
    if (beam_->mesh == nullptr) {
        beam_->material = BeamMaterial(beamFrame_);
        renderer.CreateParticleMesh(*beam_);
    }
    const Vector3 back = travel_.Length() > 0.0f ? travel_ * -1.0f : Vector3(-1.0f, 0.0f, 0.0f);
    for (int i = 0; i < beam_->particles.Count(); ++i) {
        beam_->particles[i].position = back * (kBeamWidth * float(i));
        beam_->particles[i].alive = 1;
    }
    renderer.SetAdditiveBlend();
    renderer.DisableLighting();
    // Each pass takes the next texture, so the beam flickers through all six.
    for (int pass = 0; pass < 2; ++pass) {
        beam_->material = BeamMaterial(beamFrame_);
        renderer.DrawParticles(*beam_);
        beamFrame_ = (beamFrame_ + 1) % kBeamTextures;
    }
    renderer.SetBlendOff();
    renderer.EnableLighting();
}

void SceneActor::DrawShadow() {
    if (kind == SceneActorKind::Earth || kind == SceneActorKind::WormHole || kind == SceneActorKind::Mountain ||
        kind == SceneActorKind::Mesa || kind == SceneActorKind::Cloud || kind == SceneActorKind::Professor ||
        kind == SceneActorKind::Explosion || kind == SceneActorKind::None) {
        return;
    }
    if (kind == SceneActorKind::Debris && stepClock > 1.0f) {
        return;
    }
    Mesh* shadow = HasSceneTexture("GenericShadow.tga") ? GetGenericShadowMesh() : nullptr;
    if (shadow == nullptr) {
        return;
    }
    const float factor = kind == SceneActorKind::Missile ? 2.0f : kind == SceneActorKind::Computer ? 2.5f : 1.0f;
    Matrix4 place;
    if (kind == SceneActorKind::Computer) {
        place.FromQuaternion(orientation);
    }
    place.Scale(scale * lookHeight * factor);
    place.Translate(Vector3(position.x, position.y, 0.05f));
    Renderer& renderer = GetRenderer();
    renderer.SetWorldMatrix(place);
    renderer.SetZWrite(false);
    renderer.SetAlphaBlend();
    renderer.RenderMesh(shadow, false);
    renderer.SetBlendOff();
    renderer.SetZWrite(true);
}
