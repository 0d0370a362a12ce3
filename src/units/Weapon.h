#pragma once
// One of a unit's two weapon places: the kind it holds, its ammunition and reload cycle,
// what firing creates in the arena, and the record's text form inside a unit file. A
// "VornLauncher" carries saved units of a smaller chassis as its ammunition.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "core/Vector3.h"

class Stream;
class Vector3Array;
class Vorn;
class VornAction;

// A weapon record as its text gives it, before anything is applied. The written
// "AmmoSize" is not kept: the named unit's own chassis decides the size.
struct WeaponRecord {
    int32_t kind = 0;
    int32_t location = 0;  // clamped to 0..1
    String ammoName;       // empty when the record names none
};

class Weapon {
public:
    static constexpr int32_t kStageReady = 0;
    static constexpr int32_t kStageReloading = 1;

    // Loads the twelve firing sounds once for the program.
    Weapon();
    ~Weapon() = default;
    Weapon(const Weapon&) = delete;
    Weapon& operator=(const Weapon&) = delete;

    // Creates this weapon's own reload and flame sounds when it has none.
    void LoadSounds();
    // Reload state and look flags cleared; the owner's weapon place shows the kind.
    void SetKind(int32_t newKind);
    // Before a battle: ready, timers and look flags cleared.
    void Reset();
    // The name of a saved unit to fire (a launcher's ammunition), or the text of
    // "NoAmmo". A name that is unsafe, unreadable, or not of a smaller chassis than the
    // carrier leaves the weapon with "NoAmmo".
    void SetAmmo(const String& name);
    // The cost of one unit of the launcher's ammunition; 0 for other kinds and "NoAmmo".
    int32_t AmmoUnitCost();
    // Fresh ammunition for the unit's battle: the unit's ammunition count for the kind,
    // or for a launcher that many units loaded from its ammunition file.
    void Rearm(Vorn* unit);
    // A launcher's loaded units (and theirs, depth first) go back to the arena's pool.
    void ReleaseLoadedUnits();
    // The unit leaves the battle: the sounds stop and loaded units are released.
    void Stop();
    // Runs the reload on spent time.
    void Update(float seconds);
    // Fires at the target. The server passes shot id -1, flag 0 and no points; a network
    // client passes what the server recorded. Always ends with AfterFire.
    void Fire(float vornTime, const Vector3& target, bool aimHigh, int32_t shotId, uint8_t shotFlag,
              const Vector3Array* shotData);
    void AfterFire();

    void Save(Stream& stream) const;
    // False when the record stops short of its "End".
    bool Load(Stream& stream);
    // Reads one record until "End" or the end of the stream, applying nothing; false
    // when it stops short of "End".
    static bool ReadRecord(Stream& stream, WeaponRecord& record);

    // Loaded units for a launcher, otherwise the ammunition count.
    int32_t AmmoLeft() const;
    bool IsOutOfAmmo() const;
    bool IsReloading() const { return reloadTimer > 0.0f; }
    // The fire action holds the unit until this kind's reload is over.
    bool WaitsForReload() const;
    bool HasAmmoName() const;

    // Where a shot leaves the owner: the weapon node of its body (or the top of its
    // collision sphere without one), pushed out of the owner's own shape toward the
    // target.
    Vector3 MuzzlePoint(const Vector3& target, float extraRadius, bool raise, float height) const;
    // The launch velocity that lands at `to`, and its flight time.
    static Vector3 BallisticVelocity(const Vector3& from, const Vector3& to, bool highArc, float radius, float height,
                                     float* flightTime);
    // The text of "NoAmmo".
    static String NoAmmoText();

    int32_t location = 0;  // 0 right, 1 left weapon node
    int32_t stage = kStageReady;
    int32_t kind = 0;
    float reloadTimer = 0.0f;     // seconds left of the reload
    uint8_t showsLaserModel = 0;  // an emptied weapon took the "Laser" look
    uint8_t laserModelDue = 0;    // an emptied "Propeller" takes it once on the ground
    int32_t reloadSound = -1;     // effect sound indices; -1 none
    int32_t flameSound = -1;
    float flightTimer = 0.0f;  // seconds of a propeller jump's lift
    int32_t ammoCount = 0;     // shots left; -1 never runs out
    String ammoName;           // "AmmoName"
    int32_t ammoSize = 0;      // size class of the ammunition's chassis
    Array<Vorn*> loadedUnits;  // owned: from the arena's pool, back to it on release
    Vorn* owner = nullptr;     // not owned

private:
    // The carrier's size class: the owner's chassis; -1 without one.
    int32_t CarrierSizeClass() const;
    // The size class of the named unit when it may be this weapon's ammunition (strictly
    // smaller than the carrier); -1 otherwise.
    int32_t AcceptedAmmoSize(const String& name) const;
    // "NoAmmo", and the owner's cost without the refused ammunition.
    void RefuseAmmo();
    // One unit of ammunition from its file; false when none could be loaded.
    bool LoadUnit(Vorn* carrier);
    static void ReleaseUnit(Vorn* unit);
    // The owner's current action while the game serves a network game, to record and
    // report the shot; none otherwise.
    VornAction* ServerShotRecord() const;
    void Report(float vornTime);
    float OwnerDamage(int32_t weaponKind) const;
    void FireLaser(float vornTime, const Vector3& target, int32_t shotId);
    void FireShrapnel(float vornTime, const Vector3& target, const Vector3Array* shotData);
    void FireExplosive(float vornTime);
    void FireFlames(float vornTime, const Vector3& target, const Vector3Array* shotData);
    void FirePropeller(float vornTime, const Vector3& target, uint8_t shotFlag);
    void FireBeacon(float vornTime, const Vector3& target, int32_t shotId);
    void FireMissile(float vornTime, const Vector3& target, bool aimHigh, int32_t shotId);
    void FireFieldGenerator(float vornTime, const Vector3& target);
    void FireLaunchedUnit(float vornTime, const Vector3& target, bool aimHigh, int32_t shotId);
};
