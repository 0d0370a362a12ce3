// A unit's weapon: ammunition, reload, firing by kind and the text form.
#include "units/Weapon.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "audio/EffectSounds.h"
#include "core/Angles.h"
#include "core/Debugger.h"
#include "core/Gravity.h"
#include "core/Matrix4.h"
#include "core/Stream.h"
#include "core/TextTable.h"
#include "core/Vector2.h"
#include "core/Vector3Array.h"
#include "engine/ModelNode.h"
#include "game/Game.h"
#include "game/Player.h"
#include "platform/sys/Random.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "units/VornSummary.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/ContactRecord.h"
#include "world/ExplosionField.h"
#include "world/FieldGenerator.h"
#include "world/FlameBall.h"
#include "world/LaserBeam.h"
#include "world/Missile.h"
#include "world/Shrapnel.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
// The reload after the last shot, whatever the kind: row 0's.
constexpr int32_t kEmptyReloadRow = kWeaponLaser;
// A reload counts as over within this much of zero.
constexpr float kReloadDone = 0.00001f;
// The largest launcher ammunition the upgrade catalogue can give (base 5 + 5 levels);
// a damaged profile with a higher level loads no more units than this.
constexpr int32_t kMaxLoadedUnits = 10;
constexpr int kShrapnelPoints = 5;
constexpr int kFlamePoints = 30;
// Flames reach 20 units and fly at 22.5 units a second.
constexpr float kFlameRange = 20.0f;
// Half-angles of the random spread around the aim.
constexpr float kShrapnelSpread = kPi / 20.0f;
constexpr float kFlameSpread = kPi / 16.0f;
// Shots leave this far above the ground: a beam skims the terrain at 2.5.
constexpr float kLaserHeight = 2.5f;
// Fragments fly this much above the owner's radius over the ground, clear of contact.
constexpr float kFragmentClearance = 0.25f + 0.005f;
constexpr float kMoodSeconds = 3.0f;
constexpr int32_t kMoodMean = 0;
// A thrown field generator flies 20 units a second.
constexpr float kFieldThrowSpeed = 20.0f;
// A unit leaves the launcher and waits this long before it acts.
constexpr float kLaunchDelay = 2.0f;
// The shot flag of a propeller jump whose target could not be reached.
constexpr uint8_t kShotFailed = 1;

int32_t gFiringSounds[kWeaponKindCount];
bool gFiringSoundsLoaded = false;

void LoadFiringSounds() {
    if (gFiringSoundsLoaded) return;
    gFiringSoundsLoaded = true;
    for (int kind = 0; kind < kWeaponKindCount; ++kind)
        gFiringSounds[kind] = LoadEffectSound(SoundPath(WeaponSoundName(kind)));
}

// Weapon sounds are world sounds: heard from where they happen, faded and panned, and
// ducked with the arena's effect volume.
void PlaySoundAt(int32_t sound, const Vector3& point) {
    if (gArena == nullptr) {
        PlayEffectSound(sound, 1.0f, 0);
        return;
    }
    gArena->PlaySoundAtPoint(sound, point, 1.0f);
}

void PlayFiringSound(int32_t kind, const Vector3& point) {
    if (!WeaponTable::IsValidKind(kind)) return;
    PlaySoundAt(gFiringSounds[kind], point);
}

bool IsNetworkClient() {
    const Game* game = CurrentGame();
    return game != nullptr && game->IsNetworkClient();
}

Vector2 Ground(const Vector3& v) { return Vector2(v.x, v.y); }

// The unit ground-plane direction from one point to another; +x when they coincide.
Vector2 GroundDirection(const Vector3& from, const Vector3& to) {
    const Vector2 d(to.x - from.x, to.y - from.y);
    const float length = d.Length();
    if (!(length > 0.00001f)) return Vector2(1.0f, 0.0f);
    return Vector2(d.x / length, d.y / length);
}

// A direction within `spread` radians either side of the aim, evenly drawn.
Vector2 RandomAimDirection(const Vector2& aim, float spread) {
    const float u = static_cast<float>(sys::Rand()) / 32767.0f * 2.0f - 1.0f;
    const float angle = std::atan2(aim.y, aim.x) + u * spread;
    return Vector2(std::cos(angle), std::sin(angle));
}

Vector3 ImageNear(const Vector3& reference, const Vector3& point) {
    return gArena ? gArena->NearestImage(reference, point) : point;
}

float GroundHeight(const Vector3& point) { return gArena ? gArena->GetGroundHeight(point.x, point.y) : 0.0f; }

// The received points are used only when they are as many as the kind draws; anything
// else from a peer is drawn again here.
bool UsesReceivedPoints(const Vector3Array* shotData, int count) {
    return shotData != nullptr && shotData->Count() == count && IsNetworkClient();
}

// The first object a shot meets where it leaves: both sides collide at once.
void CollideAtStart(WorldObject* shot, WorldObject* shooter) {
    if (IsNetworkClient() || gArena == nullptr) return;
    ContactRecord hit;
    if (!gArena->FindFirstHit(shot, shot->shape, &hit, shooter) || hit.otherObject == nullptr) return;
    WorldObject* other = hit.otherObject;
    shot->OnCollide(other, hit.contactPoint);
    other->OnCollide(shot, hit.contactPoint);
}

float ReloadTimeOf(int32_t kind) {
    const WeaponDefinition* row = WeaponTable::Row(kind);
    return row ? row->reloadTime : 0.0f;
}

bool IsOneOf(const String& word, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (word.EqualsNoCase(name)) return true;
    }
    return false;
}

void LogRefusedAmmo(const String& name, const char* reason) {
    Debugger& log = Debugger::Instance();
    log << "Weapon: ammunition \"" << name << "\" refused: " << reason << "\n";
    log.Flush();
}

}  // namespace

Weapon::Weapon() {
    ammoName = NoAmmoText();
    LoadFiringSounds();
}

String Weapon::NoAmmoText() { return GetLanguageText("NoAmmo"); }

void Weapon::LoadSounds() {
    if (reloadSound < 0) reloadSound = LoadEffectSound(SoundPath("ShrapnelGunReload.ogg"));
    if (flameSound < 0) flameSound = LoadEffectSound(SoundPath("Flamethrower.ogg"));
}

void Weapon::SetKind(int32_t newKind) {
    kind = WeaponTable::IsValidKind(newKind) ? newKind : kWeaponLaser;
    if (owner != nullptr) owner->SetWeaponModel(location, kind);
    Reset();
}

void Weapon::Reset() {
    stage = kStageReady;
    reloadTimer = 0.0f;
    flightTimer = 0.0f;
    showsLaserModel = 0;
    laserModelDue = 0;
}

bool Weapon::HasAmmoName() const { return !ammoName.IsEmpty() && ammoName != NoAmmoText(); }

int32_t Weapon::CarrierSizeClass() const { return owner != nullptr ? ChassisTable::SizeClass(owner->chassisType) : -1; }

void Weapon::SetAmmo(const String& name) {
    ammoName = name;
    ammoSize = 0;
    if (!HasAmmoName()) {
        ammoName = NoAmmoText();
        return;
    }
    const int32_t size = AcceptedAmmoSize(ammoName);
    if (size < 0) {
        RefuseAmmo();
        return;
    }
    ammoSize = size;
}

void Weapon::RefuseAmmo() {
    ammoName = NoAmmoText();
    ammoSize = 0;
    // The unit's cost counted the refused ammunition.
    if (owner != nullptr) owner->ComputeCost();
}

int32_t Weapon::AcceptedAmmoSize(const String& name) const {
    VornSummary summary;
    if (!summary.Load(name)) {
        LogRefusedAmmo(name, "no readable unit file");
        return -1;
    }
    const int32_t size = ChassisTable::SizeClass(summary.chassis);
    // Only strictly smaller units: a unit that carries its own kind, or one of its size,
    // would load and prepare copies of itself without end.
    if (size < 0 || size >= CarrierSizeClass()) {
        LogRefusedAmmo(name, "not of a smaller chassis than its carrier");
        return -1;
    }
    return size;
}

int32_t Weapon::AmmoUnitCost() {
    if (kind != kWeaponVornLauncher || !HasAmmoName()) return 0;
    VornSummary summary;
    if (!summary.Load(ammoName)) {
        SetAmmo(NoAmmoText());
        return 0;
    }
    return summary.cost;
}

void Weapon::Rearm(Vorn* unit) {
    if (kind != kWeaponVornLauncher) {
        const WeaponDefinition* row = WeaponTable::Row(kind);
        ammoCount = unit != nullptr ? unit->WeaponAmmoFor(kind) : (row ? row->baseAmmo : 0);
        return;
    }
    ReleaseLoadedUnits();
    if (!HasAmmoName() || gArena == nullptr) return;
    if (AcceptedAmmoSize(ammoName) < 0) {
        RefuseAmmo();
        return;
    }
    Vorn* carrier = unit != nullptr ? unit : owner;
    int32_t count = carrier != nullptr ? carrier->WeaponAmmoFor(kind) : WeaponTable::Row(kind)->baseAmmo;
    count = std::clamp(count, 0, kMaxLoadedUnits);
    for (int32_t i = 0; i < count; ++i) {
        if (!LoadUnit(carrier)) return;
    }
}

bool Weapon::LoadUnit(Vorn* carrier) {
    Vorn* unit = gArena->NewVorn(0);
    const int32_t carrierSize = carrier != nullptr ? ChassisTable::SizeClass(carrier->chassisType) : -1;
    const bool loaded = unit->LoadFile(ammoName);
    // A unit that did not load (or came back without a smaller chassis) is never
    // prepared: it goes back to the pool and the launcher carries what it has.
    if (!loaded || ChassisTable::SizeClass(unit->chassisType) < 0 ||
        ChassisTable::SizeClass(unit->chassisType) >= carrierSize) {
        ReleaseUnit(unit);
        return false;
    }
    unit->name = ammoName;
    unit->SetPlayer(carrier != nullptr ? carrier->owner : nullptr);
    unit->SetDefaults();
    loadedUnits.Append(unit);
    return true;
}

// The unit's reset releases what its own launchers carry, and gives back its patterns'
// points and actions and its body with it.
void Weapon::ReleaseUnit(Vorn* unit) {
    unit->Reset();
    if (gArena != nullptr) gArena->FreeObject(unit);
}

void Weapon::ReleaseLoadedUnits() {
    for (Vorn* unit : loadedUnits) ReleaseUnit(unit);
    loadedUnits.Clear();
}

void Weapon::Stop() {
    ReleaseLoadedUnits();
    showsLaserModel = 0;
    laserModelDue = 0;
}

void Weapon::Update(float seconds) {
    if (stage != kStageReloading) return;
    reloadTimer -= seconds;
    if (reloadTimer > kReloadDone) return;
    stage = kStageReady;
    reloadTimer = 0.0f;
    if (kind == kWeaponShrapnelGun && !IsOutOfAmmo() && owner != nullptr) {
        PlaySoundAt(reloadSound, owner->position);
    }
}

int32_t Weapon::AmmoLeft() const { return kind == kWeaponVornLauncher ? loadedUnits.Count() : ammoCount; }

bool Weapon::IsOutOfAmmo() const {
    if (kind == kWeaponLaser) return false;
    if (kind == kWeaponVornLauncher) return loadedUnits.IsEmpty();
    return ammoCount == 0;
}

bool Weapon::WaitsForReload() const {
    const WeaponDefinition* row = WeaponTable::Row(kind);
    return row != nullptr && row->holdFlag != 0;
}

void Weapon::AfterFire() {
    // A launcher counts its loaded units; its count of shots only goes down to 0.
    if (kind != kWeaponLaser && AmmoLeft() > 0 && ammoCount > 0) ammoCount -= 1;
    stage = kStageReloading;
    if (IsOutOfAmmo()) {
        reloadTimer = ReloadTimeOf(kEmptyReloadRow);
        return;
    }
    // Missiles, thrown fields and launched units set their reload from their flight.
    const bool ownReload = (kind >= kWeaponLaser && kind <= kWeaponBeaconSetter) || kind == kWeaponKicker;
    if (ownReload) reloadTimer = ReloadTimeOf(kind);
}

// Firing.

void Weapon::Fire(float vornTime, const Vector3& target, bool aimHigh, int32_t shotId, uint8_t shotFlag,
                  const Vector3Array* shotData) {
    if (owner != nullptr && gArena != nullptr) {
        switch (kind) {
            case kWeaponLaser: FireLaser(vornTime, target, shotId); break;
            case kWeaponShrapnelGun: FireShrapnel(vornTime, target, shotData); break;
            case kWeaponExplosive: FireExplosive(vornTime); break;
            case kWeaponFlamethrower: FireFlames(vornTime, target, shotData); break;
            case kWeaponPropeller: FirePropeller(vornTime, target, shotFlag); break;
            case kWeaponBeaconSetter: FireBeacon(vornTime, target, shotId); break;
            case kWeaponMissileLauncher: FireMissile(vornTime, target, aimHigh, shotId); break;
            case kWeaponStaticFieldGenerator:
            case kWeaponGooFieldGenerator:
            case kWeaponHealthFieldGenerator: FireFieldGenerator(vornTime, target); break;
            case kWeaponVornLauncher: FireLaunchedUnit(vornTime, target, aimHigh, shotId); break;
            case kWeaponKicker:
                if (owner->carryingBall) owner->KickCarriedBall(target);
                break;
            default: break;
        }
    }
    AfterFire();
}

VornAction* Weapon::ServerShotRecord() const {
    const Game* game = CurrentGame();
    if (game == nullptr || !game->IsNetworkServer()) return nullptr;
    return owner->currentAction;
}

void Weapon::Report(float vornTime) {
    Game* game = CurrentGame();
    VornAction* record = ServerShotRecord();
    if (record != nullptr) game->OnVornAction(owner, owner->position, record, vornTime);
}

float Weapon::OwnerDamage(int32_t weaponKind) const { return ShotDamage(owner->owner, weaponKind); }

void Weapon::FireLaser(float vornTime, const Vector3& target, int32_t shotId) {
    owner->SetMood(kMoodMean, kMoodSeconds);
    Vector3 start = MuzzlePoint(target, 0.5f, false, 0.0f);
    start.z = GroundHeight(start) + kLaserHeight;
    const Vector3 aim = ImageNear(start, target);
    LaserBeam* beam = gArena->AddLaserBeam(owner->owner, start, HeadingBetween(Ground(start), Ground(aim)),
                                           Color::FromRGBA(255, 255, 0, 255));
    beam->target = aim;
    if (IsNetworkClient() && shotId >= 0) beam->id = shotId;
    if (VornAction* record = ServerShotRecord()) record->shotId = beam->id;
    gArena->AddObject(beam);
    owner->Recoil(1.0f, aim - start);
    CollideAtStart(beam, owner);
    PlayFiringSound(kind, owner->position);
    Report(vornTime);
}

void Weapon::FireShrapnel(float vornTime, const Vector3& target, const Vector3Array* shotData) {
    owner->SetMood(kMoodMean, kMoodSeconds);
    const Vector3 start = MuzzlePoint(target, 0.25f, false, 0.0f);
    const Vector3 aim = ImageNear(start, target);
    Vector3 points[kShrapnelPoints];
    if (UsesReceivedPoints(shotData, kShrapnelPoints)) {
        for (int i = 0; i < kShrapnelPoints; ++i) points[i] = (*shotData)[i];
    } else {
        const Vector2 direction = GroundDirection(start, aim);
        const float reach = Vector2(aim.x - start.x, aim.y - start.y).Length();
        for (Vector3& point : points) {
            const Vector2 spread = RandomAimDirection(direction, kShrapnelSpread);
            point = Vector3(start.x + spread.x * reach, start.y + spread.y * reach, 0.0f);
            point.z = GroundHeight(point) + owner->GetRadius() + kFragmentClearance;
        }
    }
    if (VornAction* record = ServerShotRecord()) {
        record->shotData.Clear();
        for (const Vector3& point : points) record->shotData.Append(point);
    }
    Shrapnel* burst = gArena->NewShrapnel(owner, start, HeadingBetween(Ground(start), Ground(aim)), points);
    gArena->AddObject(burst);
    owner->Recoil(3.0f, aim - start);
    PlayFiringSound(kind, owner->position);
    Report(vornTime);
}

void Weapon::FireExplosive(float vornTime) {
    // Emptied first: the blast may destroy the unit, and a destroyed unit sets off an
    // Explosive that still has ammunition.
    ammoCount = 0;
    Player* player = owner->owner;
    if (!IsNetworkClient()) {
        ExplosionField* blast =
            gArena->NewExplosion(player, owner->position, OwnerDamage(kWeaponExplosive),
                                 GetUpgradeBaseValue(kWeaponExplosive), owner->GetRadius(), Vector3(0, 0, 1), 0);
        gArena->AddObject(blast);
        if (Game* game = CurrentGame()) game->OnBlastAdded(blast);
        if (owner->health > 0.0f) {
            owner->TakeDamage(player, owner->position, std::max(owner->health + 1.0f, 1.0f), 0);
        }
    }
    PlayFiringSound(kind, owner->position);
    Report(vornTime);
}

void Weapon::FireFlames(float vornTime, const Vector3& target, const Vector3Array* shotData) {
    owner->SetMood(kMoodMean, kMoodSeconds);
    const Vector3 start = MuzzlePoint(target, 0.575f, false, 0.0f);
    Vector3 points[kFlamePoints];
    if (UsesReceivedPoints(shotData, kFlamePoints)) {
        for (int i = 0; i < kFlamePoints; ++i) points[i] = (*shotData)[i];
    } else {
        const Vector2 direction = GroundDirection(start, ImageNear(start, target));
        for (int k = 1; k <= kFlamePoints; ++k) {
            const Vector2 spread = RandomAimDirection(direction, kFlameSpread);
            const float distance = static_cast<float>(k) * kFlameRange / kFlamePoints;
            points[k - 1] = gArena->GroundPoint(start.x + spread.x * distance, start.y + spread.y * distance);
        }
    }
    if (VornAction* record = ServerShotRecord()) {
        record->shotData.Clear();
        for (const Vector3& point : points) record->shotData.Append(point);
    }
    for (int k = 1; k <= kFlamePoints; ++k) {
        const float range = static_cast<float>(k) * kFlameRange / kFlamePoints;
        gArena->AddObject(gArena->NewFlameBall(owner->owner, start, points[k - 1], range));
    }
    PlaySoundAt(flameSound, owner->position);
    Report(vornTime);
}

void Weapon::FirePropeller(float vornTime, const Vector3& target, uint8_t shotFlag) {
    Vector3 destination = ImageNear(owner->position, target);
    destination.z += 0.1f;
    bool reachable = true;
    if (IsNetworkClient()) {
        reachable = shotFlag != kShotFailed;
    } else {
        ContactRecord hit;
        reachable = gArena->MoveWithCollision(owner, owner->position, destination, &hit, nullptr);
        if (VornAction* record = ServerShotRecord()) record->shotFlag = reachable ? 0 : kShotFailed;
    }
    if (reachable) {
        // The unit flies from where it stands and comes down standing on the target: its
        // centre lands one radius above the ground there.
        Vector3 landing = destination;
        landing.z = std::max(destination.z, GroundHeight(destination) + owner->GetRadius());
        float flightTime = 0.0f;
        owner->SetVelocity(BallisticVelocity(owner->position, landing, true, owner->GetRadius(), 0.0f, &flightTime));
        owner->onGround = false;
        flightTimer = flightTime * 0.5f;
        owner->SetAnimationState(Vorn::kAnimFlying);
        PlayFiringSound(kind, owner->position);
    }
    Report(vornTime);
    owner->ClearActionQueue();
}

void Weapon::FireBeacon(float vornTime, const Vector3& target, int32_t shotId) {
    if (owner->beacon == nullptr) {
        Beacon* beacon = gArena->NewBeacon();
        if (IsNetworkClient() && shotId >= 0) beacon->id = shotId;
        owner->beacon = beacon;
        beacon->SetOwner(owner);
        gArena->AddObject(beacon);
    }
    Beacon* beacon = owner->beacon;
    beacon->PlaceAt(gArena->GroundPoint(target.x, target.y));
    if (VornAction* record = ServerShotRecord()) record->shotId = beacon->id;
    if (owner->removed) {
        beacon->Remove(0);
        owner->beacon = nullptr;
    }
    PlayFiringSound(kind, owner->position);
    Report(vornTime);
}

void Weapon::FireMissile(float vornTime, const Vector3& target, bool aimHigh, int32_t shotId) {
    owner->SetMood(kMoodMean, kMoodSeconds);
    const Vector3 start = MuzzlePoint(target, 1.0f, aimHigh, 1.0f);
    const Vector3 aim = ImageNear(start, target);
    float flightTime = 0.0f;
    const Vector3 velocity = BallisticVelocity(start, aim, aimHigh, owner->GetRadius(), 1.0f, &flightTime);
    Missile* missile =
        gArena->AddMissile(owner->owner, start, velocity, HeadingBetween(Ground(start), Ground(aim)), aim);
    if (IsNetworkClient() && shotId >= 0) missile->id = shotId;
    if (VornAction* record = ServerShotRecord()) record->shotId = missile->id;
    gArena->AddObject(missile);
    reloadTimer = std::max(ReloadTimeOf(kind), flightTime / 1.5f);
    owner->Recoil(5.0f, aim - start);
    CollideAtStart(missile, owner);
    PlayFiringSound(kind, owner->position);
    Report(vornTime);
}

void Weapon::FireFieldGenerator(float vornTime, const Vector3& target) {
    const Vector3 start = MuzzlePoint(target, 0.5f, false, 0.0f);
    const Vector3 aim = ImageNear(start, target);
    FieldGenerator* generator = gArena->AddFieldGenerator(owner->owner, start, aim, kind);
    gArena->AddObject(generator);
    const float throwTime = generator->launchPoint.Distance(generator->landingPoint) / kFieldThrowSpeed;
    reloadTimer = std::max(ReloadTimeOf(kind), throwTime);
    owner->Recoil(3.0f, aim - start);
    PlayFiringSound(kind, owner->position);
    Report(vornTime);
}

void Weapon::FireLaunchedUnit(float vornTime, const Vector3& target, bool aimHigh, int32_t shotId) {
    if (loadedUnits.IsEmpty()) return;
    Vorn* unit = loadedUnits[0];
    loadedUnits.RemoveAt(0);
    if (IsNetworkClient() && shotId >= 0) unit->id = shotId;
    if (VornAction* record = ServerShotRecord()) record->shotId = unit->id;
    const Vector3 aim = ImageNear(owner->position, target);
    unit->SetAngle(HeadingBetween(Ground(owner->position), Ground(aim)));
    unit->squadMember = owner->launchedUnitFlag;
    const float radius = unit->GetRadius();
    const Vector3 start = MuzzlePoint(aim, radius, aimHigh, radius * 0.5f);
    unit->PlaceAt(start);
    float flightTime = 0.0f;
    unit->SetVelocity(BallisticVelocity(start, ImageNear(start, aim), aimHigh, radius, radius * 0.5f, &flightTime));
    unit->onGround = false;
    unit->SetAnimationState(Vorn::kAnimKick);
    unit->delayTimer = kLaunchDelay;
    reloadTimer = flightTime / 1.5f;
    gArena->ReplaceWithObject(owner, unit);
    owner->launchCount += 1;
    unit->PlaySound(Vorn::kSoundLaunch, 1.0f);
    PlayFiringSound(kind, owner->position);
    Report(vornTime);
}

// Geometry.

Vector3 Weapon::MuzzlePoint(const Vector3& target, float extraRadius, bool raise, float height) const {
    if (owner == nullptr) return target;
    const int32_t place = std::clamp(location, 0, 1);
    ModelNode* node = owner->bodyModel != nullptr
                          ? owner->bodyModel->FindByName(place == 0 ? "RightWeaponActor" : "LeftWeaponActor")
                          : nullptr;
    Vector3 start = owner->position + Vector3(0.0f, 0.0f, owner->GetRadius());
    if (node != nullptr) {
        start = TransformPoint(Matrix4MultiplyAffine(node->world, owner->worldMatrix), Vector3());
    }
    start.z += raise ? 3.0f * height : height;
    const Vector2 u = GroundDirection(start, ImageNear(start, target));
    // Shots leave from outside the owner's own shape: where the ray from the start
    // along u leaves the circle around the owner.
    const Vector3 centre = ImageNear(start, owner->position);
    const float radius = owner->GetRadius() + extraRadius + 0.1f;
    const float ox = start.x - centre.x;
    const float oy = start.y - centre.y;
    const float b = ox * u.x + oy * u.y;
    const float c = ox * ox + oy * oy - radius * radius;
    const float discriminant = b * b - c;
    if (discriminant >= 0.0f) {
        const float t = -b + std::sqrt(discriminant);
        if (t > 0.0f) {
            start.x += u.x * t;
            start.y += u.y * t;
        }
    }
    if (raise) start.z += extraRadius;
    return start;
}

Vector3 Weapon::BallisticVelocity(const Vector3& from, const Vector3& to, bool highArc, float radius, float height,
                                  float* flightTime) {
    constexpr float kHighArcApex = 2.0f * 8.0f;
    const float rise = highArc ? kHighArcApex : 2.0f * radius + 1.25f * height;
    float apex = std::max(GroundHeight(from), GroundHeight(to)) + rise;
    apex = std::max(apex, from.z + 0.5f);
    const float v = std::sqrt(2.0f * kGravity * (apex - from.z));
    const float t = (-v - std::sqrt(v * v + 2.0f * kGravity * (from.z - to.z))) / -kGravity;
    const Vector3 result((to.x - from.x) / t, (to.y - from.y) / t, v);
    // A non-finite point (or a target out of reach below) gives no launch at all.
    if (!std::isfinite(t) || !(t > 0.0f) || !std::isfinite(result.x) || !std::isfinite(result.y) || !std::isfinite(v)) {
        if (flightTime != nullptr) *flightTime = 0.0f;
        return Vector3();
    }
    if (flightTime != nullptr) *flightTime = t;
    return result;
}

// Text form.

void Weapon::Save(Stream& stream) const {
    stream << "\tType " << WeaponKindName(kind) << Endl;
    stream << "\t\tLocation " << static_cast<int>(location) << Endl;
    if (kind == kWeaponVornLauncher) {
        stream << "\t\tAmmoName " << ammoName << Endl;
        stream << "\t\tAmmoSize " << static_cast<int>(ammoSize) << Endl;
    }
    stream << "\tEnd" << Endl;
}

bool Weapon::ReadRecord(Stream& stream, WeaponRecord& record) {
    String token;
    while (stream.IsGood()) {
        String::ReadToken(stream, token);
        if (token.IsEmpty() || token.EqualsNoCase("End")) return !token.IsEmpty();
        int value = 0;
        float ignored = 0.0f;
        if (token.EqualsNoCase("Type")) {
            String::ReadToken(stream, token);
            record.kind = FindWeaponKind(token);
        } else if (token.EqualsNoCase("Location")) {
            stream >> value;
            // The place is an index into the unit's two weapon nodes.
            if (!stream.HasError()) record.location = std::clamp(value, 0, 1);
        } else if (token.EqualsNoCase("AmmoName")) {
            String::ReadToken(stream, record.ammoName);
        } else if (IsOneOf(token, {"AmmoSize", "Stage", "AmmoCount"})) {
            stream >> value;
        } else if (token.EqualsNoCase("ReloadTimer")) {
            stream >> ignored;
        }
        if (stream.HasError()) return false;
    }
    return false;
}

bool Weapon::Load(Stream& stream) {
    WeaponRecord record;
    const bool whole = ReadRecord(stream, record);
    location = record.location;
    SetKind(record.kind);
    if (!record.ammoName.IsEmpty()) SetAmmo(record.ammoName);
    return whole;
}
