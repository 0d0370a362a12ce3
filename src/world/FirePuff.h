#pragma once
// A 20-particle emitter in three styles: a fire glow (burning trees), grey smoke
// (damaged solar chargers) and a burst of sparks (a scored goal). Styles 0 and 1 burn
// until their holder sets `ending`; style 2 ends by itself after its duration.
#include "core/String.h"
#include "engine/ParticleSystem.h"
#include "world/WorldObject.h"

class FirePuff : public WorldObject {
public:
    static constexpr int kParticleCount = 20;
    static constexpr int kStyleGlow = 0;
    static constexpr int kStyleSmoke = 1;
    static constexpr int kStyleSparks = 2;

    FirePuff();
    ~FirePuff() override;

    void SetStyle(int value) { style = value; }
    // Centred on the point with the size as its radius; every particle starts anew.
    // textureName: a file in the textures folder.
    void Start(const Vector3& point, float size, const String& textureName);
    // New place, motion and waiting time of particle i, by style.
    void RestartParticle(int i);

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void SetHealth(float) override {}

    int32_t style = kStyleGlow;  // negative: inert
    bool ending = false;         // finished particles are not restarted
    float elapsed = 0.0f;        // seconds (style 2)
    float duration = 0.0f;       // seconds (style 2); ending is set once elapsed passes it
    ParticleSystem particles;
    float ages[kParticleCount] = {};  // seconds; negative while waiting to start
    bool finished[kParticleCount] = {};
    String texture;  // the texture's file name; its material is made at the first drawing

private:
    // Ages particle i; at the end of its cycle it finishes (when ending) or restarts.
    void StepParticle(int i, float dt, float cycle, float fadeRate, Color colour);
};
