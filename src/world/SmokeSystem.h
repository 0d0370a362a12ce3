#pragma once
// Six smoke billboards that rise, grow from nothing and fade out one after another. A
// member of smoke puffs, shrapnel, explosion fields and cut-scene actors; the owner
// places it by the world transform it draws with, so the particles sit relative to the
// owner's origin.
#include "engine/ParticleSystem.h"

class SmokeSystem {
public:
    static constexpr int kEmitterCount = 6;
    static constexpr int kTextureCount = 4;

    SmokeSystem();
    virtual ~SmokeSystem();
    SmokeSystem(const SmokeSystem&) = delete;
    SmokeSystem& operator=(const SmokeSystem&) = delete;

    // Each emitter gets a random one of the shared textures, one particle and size 2.
    void Start();
    // Restarts the six puffs around the centre; they show one after another.
    virtual void Emit(const Vector3& centre);
    // Advances the puffs by the game's frame time; true while any of them showed.
    virtual bool Update();
    void SetSize(float size);
    // The showing puffs, under the current world transform.
    void Draw();
    // Whether puff i is in the last half second of its life.
    bool IsShowing(int i) const;

    ParticleSystem emitters[kEmitterCount];
    float lives[kEmitterCount] = {};  // seconds; a puff shows in its last half second
    float baseSize = 1.0f;
    int textureIndices[kEmitterCount] = {};  // into the four shared smoke textures
};
