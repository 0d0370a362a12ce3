#include "SoundEffects.h"

#include <cctype>
#include <cmath>
#include <map>

#include "AudioEncoding.h"
#include "Output.h"
#include "Voice.h"
#include "platform/sys/Random.h"

namespace assetgen {
namespace {

bool StartsWith(const std::string& s, std::string_view p) { return s.rfind(p, 0) == 0; }

// Index from a trailing digit ("Laser2" -> 2), for variations of one sound.
int Variant(const std::string& name) { return std::isdigit((unsigned char)name.back()) ? name.back() - '0' : 0; }

Samples Zap(int variant) {
    return Tone(
        {0.35f + 0.05f * variant, 1800.0f + 150 * variant, 300.0f + 40 * variant, Wave::Saw, 0.002f, 4.0f, 0, 0, 0.6f});
}

Samples Boom(float seconds, float brightness) {
    Samples out = Noise({seconds, 2500 * brightness, 150, 0, 0.002f, 4.0f / seconds, 0.9f});
    MixInto(out, Tone({seconds * 0.7f, 90, 35, Wave::Sine, 0.002f, 5.0f / seconds, 0, 0, 0.8f}), 0);
    return out;
}

Samples Whoosh(float seconds, float from, float to) {
    return Noise({seconds, from, to, 200, seconds * 0.4f, 2.0f / seconds, 0.8f});
}

Samples Thump(float hertz) {
    Samples out = Tone({0.25f, hertz, hertz * 0.4f, Wave::Sine, 0.001f, 18, 0, 0, 0.9f});
    MixInto(out, Noise({0.05f, 3000, 800, 0, 0.001f, 60, 0.4f}), 0);
    return out;
}

Samples Click(float hertz, float seconds = 0.04f) {
    return Tone({seconds, hertz, hertz * 0.8f, Wave::Square, 0.001f, 40, 0, 0, 0.5f});
}

Samples Splash(float seconds) { return Noise({seconds, 5000, 1200, 400, 0.01f, 5.0f / seconds, 0.8f}); }

Samples Notes(const std::vector<float>& semitones, float step, Wave wave, float base = 523.25f) {
    Samples out;
    for (std::size_t i = 0; i < semitones.size(); ++i) {
        const float hertz = base * std::pow(2.0f, semitones[i] / 12);
        MixInto(out, Tone({step * 1.8f, hertz, hertz, wave, 0.005f, 3.0f, 5, 0.01f, 0.5f}), step * i);
    }
    return out;
}

Samples Crackle(float seconds) {
    Samples out = Noise({seconds, 900, 900, 0, 0.0f, 0.0f, 0.35f});
    const int pops = int(seconds * 25);
    for (int i = 0; i < pops; ++i) {
        const float at = seconds * sys::Rand() / sys::kRandMax;
        MixInto(out, Noise({0.03f, 6000, 2000, 500, 0.0005f, 80, 0.7f}), at);
    }
    out.resize(std::size_t(seconds * kSoundRate));
    return out;
}

Samples Spoken(Voice& voice, const std::string& text, int pitch) { return voice.Say(text, pitch).samples; }

Samples Loop(const std::string& name) {
    Samples out;
    if (name == "Fire") {
        out = Crackle(3.3f);
    } else if (name == "Smoke") {
        out = Noise({3.3f, 3000, 3000, 600, 0.0f, 0.0f, 0.5f});
    } else {
        // Propeller: whole cycles of the blade beat in the kept part of the loop.
        out = Noise({2.25f, 1200, 1200, 80, 0.0f, 0.0f, 0.6f});
        MixInto(out, Tone({2.25f, 80, 80, Wave::Triangle, 0.0f, 0.0f, 0, 0, 0.3f}), 0);
        Tremolo(out, 24, 0.7f);
    }
    MakeSeamless(out, 0.25f);
    return out;
}

Samples Effect(const std::string& name, Voice& voice) {
    const int v = Variant(name);
    if (StartsWith(name, "Laser") || name == "WeaponLaser") return Zap(v);
    if (name == "MissileLaunch" || name == "WeaponMissileGun") return Whoosh(1.4f, 600, 3000);
    if (name == "MeteorStart") {
        Samples out = Tone({2.0f, 2200, 500, Wave::Sine, 0.2f, 0.3f, 0, 0, 0.4f});
        MixInto(out, Whoosh(2.0f, 500, 2500), 0, 0.6f);
        return out;
    }
    if (StartsWith(name, "MeteorHit")) return Boom(1.0f, 0.8f + 0.1f * v);
    if (name == "VornExplosion") {
        Samples out = Boom(1.5f, 1.0f);
        MixInto(out, Crackle(0.8f), 0.1f, 0.4f);
        return out;
    }
    if (name == "FireExplosion") {
        Samples out = Boom(1.1f, 1.3f);
        MixInto(out, Whoosh(0.9f, 600, 2500), 0, 0.6f);
        return out;
    }
    if (name == "SolarChargerExplosion") {
        Samples out = Boom(1.3f, 0.9f);
        MixInto(out, Tone({1.0f, 1400, 200, Wave::Saw, 0.002f, 3, 9, 0.05f, 0.3f}), 0);
        return out;
    }
    if (name == "MissileExplosion") return Boom(0.9f, 1.4f);
    if (name.find("Explosion") != std::string::npos || name == "WeaponBomb") return Boom(1.0f, 1.0f);
    if (name == "ShrapnelGun" || name == "WeaponShrapnelGun") return Noise({0.45f, 8000, 1500, 300, 0.001f, 9, 0.9f});
    if (name == "LaunchField" || name == "Launch" || name == "WeaponVornGun") return Whoosh(0.5f, 800, 4000);
    if (name == "Flamethrower" || name == "WeaponFlamethrower") return Noise({1.5f, 1500, 700, 60, 0.05f, 1.2f, 0.9f});
    if (name == "WeaponPropeller") {
        Samples out = Noise({0.6f, 1200, 1200, 80, 0.01f, 2, 0.6f});
        Tremolo(out, 24, 0.7f);
        return out;
    }
    if (name == "WeaponBeaconSetter") return Notes({0, 7, 12}, 0.06f, Wave::Sine, 880);
    if (name == "WeaponStaticGun" || StartsWith(name, "Sizzle")) {
        Samples out = Noise({name == "SizzleShort" ? 0.3f : 0.8f, 9000, 6000, 2000, 0.005f, 2.5f, 0.7f});
        Tremolo(out, 31, 0.8f);
        return out;
    }
    if (name == "WeaponGooGun") return Tone({0.35f, 300, 120, Wave::Sine, 0.01f, 5, 12, 0.2f, 0.7f});
    if (name == "WeaponHealthGun") return Tone({0.4f, 500, 900, Wave::Triangle, 0.01f, 4, 8, 0.05f, 0.6f});
    if (name == "WeaponKicker" || name == "BallKick" || name == "Punch") return Thump(140);
    if (name == "Land" || name == "Thud") return Thump(90);
    if (name == "BallBounce" || name == "BallHead") return Thump(220);
    if (name == "BallPop") return Tone({0.12f, 300, 900, Wave::Sine, 0.001f, 20, 0, 0, 0.7f});
    if (name == "BallWet" || name == "WaterRing") return Splash(0.6f);
    if (name == "GoalFireworks") {
        Samples out;
        for (int i = 0; i < 6; ++i) MixInto(out, Boom(0.4f, 1.5f), 0.22f * i, 0.5f);
        MixInto(out, Crackle(1.6f), 0.2f, 0.5f);
        return out;
    }
    if (name == "ShrapnelGunReload") {
        Samples out = Click(1800, 0.05f);
        MixInto(out, Click(1200, 0.06f), 0.18f);
        return out;
    }
    if (name == "Countdown") return Click(1000, 0.08f);
    if (name == "Tick") return Click(1250, 0.05f);
    if (name == "Scroll") return Click(2300, 0.025f);
    if (name == "Success") return Notes({0, 4, 7}, 0.08f, Wave::Sine, 660);
    if (name == "MouseDown") return Click(1400);
    if (name == "MouseUp") return Click(1100);
    if (name == "MouseWheel") return Click(2000, 0.02f);
    if (name == "MouseOver") return Tone({0.03f, 2600, 2600, Wave::Sine, 0.002f, 60, 0, 0, 0.15f});
    if (name == "PointAdded") return Notes({0, 7}, 0.06f, Wave::Sine, 660);
    if (name == "PointRemoved") return Notes({7, 0}, 0.06f, Wave::Sine, 660);
    if (name == "Delete") return Tone({0.2f, 700, 200, Wave::Square, 0.001f, 8, 0, 0, 0.4f});
    if (name == "Swish") return Whoosh(0.35f, 1500, 5000);
    if (name == "Illegal") return Tone({0.3f, 150, 140, Wave::Square, 0.002f, 1, 0, 0, 0.5f});
    if (name == "Cheater") return Notes({0, 4, 7, 12, 16}, 0.07f, Wave::Square);
    if (name == "Win") return Notes({0, 4, 7, 12, 7, 12}, 0.16f, Wave::Triangle);
    if (name == "Lose") return Notes({7, 6, 5, 4}, 0.3f, Wave::Triangle, 261.6f);
    if (name == "QuickLose") return Notes({4, 0}, 0.2f, Wave::Triangle, 261.6f);
    if (name == "Transport") return Tone({0.9f, 200, 1600, Wave::Sine, 0.01f, 1, 18, 0.1f, 0.6f});
    if (name == "TransportBackwards") return Tone({0.9f, 1600, 200, Wave::Sine, 0.01f, 1, 18, 0.1f, 0.6f});
    if (name == "DoorOpen") return Notes({0, 5}, 0.12f, Wave::Sine, 440);
    if (name == "DoorClose") return Notes({5, 0}, 0.12f, Wave::Sine, 440);
    static const std::map<std::string, std::pair<const char*, int>> voices = {
        {"Yay", {"yay!", 70}},
        {"Yippee", {"yippee!", 80}},
        {"Hooray", {"hooray!", 65}},
        {"Yahoo", {"yahoo!", 75}},
        {"AllRight", {"all right!", 60}},
        {"EnemyLaugh1", {"ha ha ha ha", 30}},
        {"EnemyLaugh2", {"heh heh heh", 25}},
        {"EnemyLaugh3", {"ho ho ho", 20}},
        {"EnemyLaugh4", {"hee hee hee", 45}},
    };
    if (const auto it = voices.find(name); it != voices.end())
        return Spoken(voice, it->second.first, it->second.second);
    // Anything else a scene or a later list names: a short blip of its own pitch.
    return Click(400.0f + float(SeedFor(name) % 1200), 0.12f);
}

}  // namespace

bool IsLoopingSound(const std::string& name) { return name == "Fire" || name == "Smoke" || name == "Propeller"; }

// Events that share a recipe (a weapon's shot and its scene cue, a bounce and a header)
// still sound apart: each name plays its recipe a little higher or lower.
Samples Flavoured(const std::string& name, Samples samples) {
    const float factor = 0.88f + 0.24f * float(SeedFor(name + "pitch") % 1000) / 1000.0f;
    return Resample(samples, kSoundRate, int(kSoundRate * factor));
}

Samples MakeSoundEffect(const std::string& name, Voice& voice) {
    sys::SRand(SeedFor(name));
    Samples samples = IsLoopingSound(name) ? Loop(name) : Flavoured(name, Effect(name, voice));
    Normalise(samples, 0.8f);
    return samples;
}

}  // namespace assetgen
