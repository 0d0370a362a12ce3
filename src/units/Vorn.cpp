// The player-built combat unit: its record and what happens to it from construction
// through reset, preparation for battle, damage and destruction.
#include "units/Vorn.h"

#include <algorithm>
#include <cmath>

#include "audio/EffectSounds.h"
#include "core/MathUtil.h"
#include "core/TextTable.h"
#include "engine/MeshBatch.h"
#include "game/Game.h"
#include "game/GameListener.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "units/Action.h"
#include "units/ChassisTable.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/VornAction.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/ExplosionField.h"
#include "world/ScorchMark.h"

namespace {

// A unit stands in a sphere of this radius until its chassis gives it another.
constexpr float kDefaultRadius = 1.0f;
// The body sway spring: soft enough that a hit shows as a wobble.
constexpr float kSwayStiffness = 2.0f;
constexpr float kSwayDamping = 0.25f;
constexpr float kSwayFollow = 0.1f;
constexpr float kMoodSeconds = 3.0f;
constexpr float kHealthBarSeconds = 2.5f;
// How hard a hit pushes the body, per point of damage, and how much each size class
// resists it.
constexpr float kKnockbackPerDamage = 1.25f;
constexpr float kKnockbackBySize[3] = {1.0f, 0.3f, 0.1f};
constexpr float kMinPushLength = 0.01f;

Vector2 Ground(const Vector3& v) { return {v.x, v.y}; }

// The arena clears a unit's beacon pointer itself; the other direction (a beacon's
// pointer to the unit that set it) is cleared here, before the unit's pool slot can be
// handed to another unit.
class BeaconOwnerListener : public RemovalListener {
public:
    void OnObjectRemoved(WorldObject& object) override {
        if (object.kind != kKindVorn) {
            return;
        }
        for (WorldObject* other : gArena->Objects()) {
            if (other->kind == kKindBeacon && static_cast<Beacon*>(other)->owner == &object) {
                static_cast<Beacon*>(other)->owner = nullptr;
            }
        }
    }
};

BeaconOwnerListener gBeaconOwnerListener;

}  // namespace

bool Vorn::writingOwnFile = false;

void PatternSlotsDeleter::operator()(Pattern* slots) const { delete[] slots; }

Vorn::Vorn() : patterns(new Pattern[kMaxPatterns]) {
    kind = kKindVorn;
    if (gArena != nullptr) {
        gArena->RegisterRemovalListener(&gBeaconOwnerListener);
    }
    bodySway.Init(kSwayStiffness, kSwayDamping, kSwayFollow);
    // Each record sits at its own place on the body: the first at the right weapon node,
    // the second at the left. A loaded file may name them again.
    for (int32_t place = 0; place < kWeaponPlaces; ++place) {
        weapons[place].location = place;
        weapons[place].owner = this;
        weapons[place].LoadSounds();
    }
    LoadSounds();
    Reset();
}

// Pool records are destroyed and made again when they are handed out; the patterns give
// their pooled parts back through their own destructors. While the arena tears its pools
// down the parts' pools may already be gone, and there is nothing left to give back to.
// A unit made outside the pools (a scratch copy) gives its body back here.
Vorn::~Vorn() { ReleaseBody(); }

Pattern& Vorn::PatternAt(int i) { return patterns[i]; }
const Pattern& Vorn::PatternAt(int i) const { return patterns[i]; }

void Vorn::LoadSounds() {
    static const char* const kNames[kSoundCount - 2] = {
        "BallHead.ogg", "Launch.ogg", "Propeller.ogg",   "BombExplosion.ogg", "Land.ogg",
        "Punch.ogg",    "Sizzle.ogg", "SizzleShort.ogg", "WaterRing.ogg",     "VornExplosion.ogg"};
    static const char* const kCheers[] = {"Yay.ogg", "Yippee.ogg", "Hooray.ogg", "Yahoo.ogg", "AllRight.ogg"};
    static const char* const kLaughs[] = {"EnemyLaugh1.ogg", "EnemyLaugh2.ogg", "EnemyLaugh3.ogg"};
    for (int i = 0; i < kSoundCount - 2; ++i) {
        sounds[i] = LoadEffectSound(SoundPath(kNames[i]));
    }
    sounds[kSoundCheer] = LoadEffectSound(SoundPath(kCheers[RandomPick(5)]));
    sounds[kSoundLaugh] = LoadEffectSound(SoundPath(kLaughs[RandomPick(3)]));
}

void Vorn::ResetConditionals() { std::fill(std::begin(conditionals), std::end(conditionals), uint8_t{0}); }

void Vorn::Reset() {
    speedFactor = 1.0f;
    beacon = nullptr;
    teleportFadeTimer = 0.0f;
    teleportFadeLevel = 0.0f;
    teleportFadeActive = 0;
    teleportFadeDue = 0;
    healthBarTimer = 0.0f;
    delayTimer = 0.0f;
    setTimer = 0.0f;
    cost = 0;
    ballPressure = 0.0f;
    carryingBall = 0;
    ballCreditPlayer = nullptr;
    ballCreditTicks = 0;
    heading = RandomFloatBetween(0.0f, 2.0f * kPi);
    currentPattern = nullptr;
    debuggerPattern = nullptr;
    shape.SetSphere(position, kDefaultRadius);
    owner = nullptr;
    name = GetLanguageText("NoName");
    SetTimeBudget(0.0f);
    roll = Quaternion();
    turnLeft = 0.0f;
    ClearActionQueue();
    for (int i = 0; i < kMaxPatterns; ++i) {
        patterns[i].Reset();
    }
    patternCount = 0;
    for (Weapon& weapon : weapons) {
        weapon.ReleaseLoadedUnits();
        weapon.SetKind(kWeaponLaser);
        weapon.SetAmmo(Weapon::NoAmmoText());
    }
    ResetConditionals();
    // A removed unit's record waits in its pool: its body and batch go now.
    ReleaseBody();
    chassisType = -1;
    weaponPlaceCount = kWeaponPlaces;
    bodySway.Reset();
    swayVector = Vector3();
    bodyLean = Vector2();
    endPoseSet = 0;
    animationSpeed = RandomFloatBetween(0.95f, 1.0f);
    if (animationState != kAnimNone) {
        animationState = kAnimNone;
        animationPlaying = 0;
    }
    PickIdleDelay();
    waterRingTime = 0.0f;
    vip = 0;
    inStaticFieldThisTick = 0;
    inWaterOrStaticField = 0;
    doneThisTick = 0;
    choseThisTick = 0;
    bumpedThisTick = 0;
    stuckCount = 0;
    mood = 1;
    moodTimer = 0.0f;
}

void Vorn::PrepareForBattle() {
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    if (row == nullptr) {
        return;
    }
    for (Weapon& weapon : weapons) {
        weapon.Rearm(this);
    }
    ResetHealth(owner != nullptr ? owner->GetChassisMaxHealth(chassisType) : row->baseHealth);
    const int allowed = owner != nullptr ? owner->GetMaxPatternCount(chassisType) : row->basePatternCount;
    SetPatternSlotCount(std::max(patternCount, allowed));
    for (Weapon& weapon : weapons) {
        weapon.Reset();
    }
    setTimer = 0.0f;
    delayTimer = 0.0f;
    healthBarTimer = 0.0f;
    SetMood(1, kMoodSeconds);
    if (animationState != kAnimIdle) {
        SetAnimationState(kAnimIdle);
    }
    ClearActionQueue();
}

void Vorn::SetPatternSlotCount(int n) {
    n = std::clamp(n, 0, kMaxPatterns);
    for (int i = std::min(n, patternCount); i < std::max(n, patternCount); ++i) {
        patterns[i].Reset();
    }
    patternCount = n;
}

void Vorn::ApplyPatternSlots() {
    if (HasValidChassis()) {
        SetPatternSlotCount(GetLocalPlayer().GetMaxPatternCount(chassisType));
    }
}

void Vorn::PackPatterns() {
    int next = 0;
    for (int i = 0; i < patternCount; ++i) {
        if (!patterns[i].IsEnabled()) {
            continue;
        }
        if (i != next) {
            patterns[next] = patterns[i];
            patterns[i].Reset();
        }
        ++next;
    }
}

int Vorn::CountEnabledPatterns() const {
    int count = 0;
    for (int i = 0; i < patternCount; ++i) {
        count += patterns[i].IsEnabled() ? 1 : 0;
    }
    return count;
}

bool Vorn::HasEnabledPattern() const {
    for (int i = 0; i < patternCount; ++i) {
        if (patterns[i].IsEnabled()) {
            return true;
        }
    }
    return false;
}

void Vorn::SetWeaponKind(int32_t place, int32_t weaponKind) {
    if (place < 0 || place >= kWeaponPlaces || !WeaponTable::IsValidKind(weaponKind)) {
        return;
    }
    Weapon& weapon = weapons[place];
    if (weapon.kind == kWeaponVornLauncher && weaponKind != kWeaponVornLauncher) {
        weapon.ReleaseLoadedUnits();
        weapon.SetAmmo(Weapon::NoAmmoText());
    }
    weapon.SetKind(weaponKind);
    SetWeaponModel(place, weaponKind);
    ComputeCost();
}

void Vorn::ComputeCost() {
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    cost = row != nullptr ? row->baseCost : 0;
    // A chassis with one weapon place still holds a second weapon record, unused and
    // not paid for.
    const int places = row != nullptr ? std::clamp(row->weaponPlaces, 1, kWeaponPlaces) : kWeaponPlaces;
    for (int place = 0; place < places; ++place) {
        Weapon& weapon = weapons[place];
        const WeaponDefinition* kindRow = WeaponTable::Row(weapon.kind);
        if (kindRow == nullptr) {
            continue;
        }
        cost += kindRow->cost + weapon.AmmoUnitCost() * WeaponAmmoFor(weapon.kind);
    }
}

int32_t Vorn::WeaponAmmoFor(int32_t weaponKind) const {
    if (owner != nullptr) {
        return owner->GetWeaponAmmo(weaponKind);
    }
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    return row != nullptr ? row->baseAmmo : 0;
}

void Vorn::SetPlayer(Player* player) {
    owner = player;
    if (player == nullptr || !HasValidChassis()) {
        return;
    }
    const int32_t choice = player->GetChassisChoice(SizeClass());
    BuildBody(ChassisTable::IsValid(choice) ? choice : chassisType);
}

int32_t Vorn::SizeClass() const {
    const int32_t size = ChassisTable::SizeClass(chassisType);
    return size < 0 ? 0 : size;
}

float Vorn::TurnRate() const {
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    return row != nullptr ? row->turnRate : 0.0f;
}

bool Vorn::UsesWeapon2Actions() const {
    for (int i = 0; i < patternCount; ++i) {
        for (const PathPoint* point : patterns[i].pathPoints) {
            for (const Action* action : point->actions) {
                if (action->kind == kActionFire2 || action->kind == kActionFire2Up) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool Vorn::UsesWeapon2Conditionals() const {
    for (int i = 0; i < patternCount; ++i) {
        const Conditional& flags = patterns[i].conditionals;
        if (flags.flags[kOutOfAmmo2] != 0 || flags.flags[kReloading2] != 0) {
            return true;
        }
    }
    return false;
}

bool Vorn::HasVornLauncher() const {
    return weapons[0].kind == kWeaponVornLauncher || weapons[1].kind == kWeaponVornLauncher;
}

bool Vorn::HasVornLauncherOfSize1() const {
    for (const Weapon& weapon : weapons) {
        if (weapon.kind == kWeaponVornLauncher && weapon.ammoSize == 1) {
            return true;
        }
    }
    return false;
}

void Vorn::RemoveWeapon2Actions() {
    for (int i = 0; i < kMaxPatterns; ++i) {
        for (PathPoint* point : patterns[i].pathPoints) {
            for (int a = point->actions.Count() - 1; a >= 0; --a) {
                const int32_t actionKind = point->actions[a]->kind;
                if (actionKind == kActionFire2 || actionKind == kActionFire2Up) {
                    point->RemoveAction(point->actions[a]);
                }
            }
        }
    }
}

void Vorn::ClearWeapon2Conditionals() {
    for (int i = 0; i < kMaxPatterns; ++i) {
        patterns[i].conditionals.flags[kOutOfAmmo2] = 0;
        patterns[i].conditionals.flags[kReloading2] = 0;
    }
}

void Vorn::ClearMediumAmmoFromLaunchers() {
    for (Weapon& weapon : weapons) {
        if (weapon.kind == kWeaponVornLauncher && weapon.ammoSize == 1) {
            weapon.ReleaseLoadedUnits();
            weapon.SetAmmo(Weapon::NoAmmoText());
        }
    }
    ComputeCost();
}

void Vorn::ReplaceLaunchersWithLasers() {
    for (int place = 0; place < kWeaponPlaces; ++place) {
        if (weapons[place].kind == kWeaponVornLauncher) {
            SetWeaponKind(place, kWeaponLaser);
        }
    }
}

void Vorn::RestartInPlace() {
    for (int place = 0; place < kWeaponPlaces; ++place) {
        weapons[place].Rearm(this);
        SetWeaponModel(place, weapons[place].kind);
        weapons[place].Reset();
    }
    SetHealth(maxHealth);
    healthBarTimer = std::max(healthBarTimer, 0.0f);
    setTimer = 0.0f;
    waterRingTime = 0.0f;
    PickIdleDelay();
    bodyLean = Vector2();
    bodySway.Reset();
    swayVector = Vector3();
    ResetConditionals();
    carryingBall = 0;
    vip = 0;
    debuggerPattern = nullptr;
    doneThisTick = 0;
    choseThisTick = 0;
    bumpedThisTick = 0;
    actionBegunThisFrame = 0;
    inStaticFieldThisTick = 0;
    SetMood(1, kMoodSeconds);
    beacon = nullptr;
}

void Vorn::ResetPatternState() {
    ClearActionQueue();
    currentPattern = nullptr;
    editorMatrix = BuildWorldMatrix();
}

void Vorn::SetHealth(float value) {
    damaged = value < health && value < maxHealth ? 1 : 0;
    health = value;
    if (value != maxHealth) {
        healthBarTimer = kHealthBarSeconds;
    }
}

// A charger heals a whole unit standing by it every tick. Were the sum set first and
// cut back after, the passing value above the maximum would start the bar each tick on
// the serving peer, which tells the others only of changes: they would draw none.
void Vorn::Heal(float amount) { WorldObject::Heal(std::min(amount, maxHealth - health)); }

void Vorn::TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) {
    if (delayTimer > 0.0f || !onGround || health <= 0.0f) {
        return;
    }
    const bool client = IsCurrentGameClient();
    if (flag != 3) {
        gArena->ResetMeteorShower();
    }
    if (Game* game = CurrentGame()) {
        game->lastDamagedVorn = this;
    }
    if (carryingBall != 0 && !client) {
        DropBall(BallDropSpeed());
    }
    PlaySound(flag == 1 ? kSoundSizzle : flag == 2 ? kSoundSizzleShort : kSoundPunch, 1.0f);
    WorldObject::TakeDamage(attacker, hitPoint, amount, flag);
    SetMood(2, kMoodSeconds);
    if (!client && health <= 0.0f) {
        Remove(1);
    }
    const Vector3 from = gArena->NearestImage(position, hitPoint);
    Knockback(amount * kKnockbackPerDamage, Ground(position - from));
    if (!client && health <= 0.0f) {
        gArena->SpawnDebrisFromModel(this, flag, nullptr, nullptr);
    }
    conditionals[kInjured] = 1;
}

void Vorn::Knockback(float strength, const Vector2& direction) {
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y);
    if (length < kMinPushLength) {
        return;
    }
    const float scaled = strength * kKnockbackBySize[SizeClass()];
    bodySway.velocity += Vector3(direction.x / length * scaled, direction.y / length * scaled, 0.0f);
}

void Vorn::Recoil(float strength, const Vector3& firingDirection) {
    Knockback(strength, Vector2(-firingDirection.x, -firingDirection.y));
}

void Vorn::Destroy(bool withEffects) {
    if (removed) {
        return;
    }
    StopEffectSound(sounds[kSoundSizzle]);
    StopEffectSound(sounds[kSoundWaterRing]);
    StopEffectSound(sounds[kSoundPropeller]);
    if (beacon != nullptr) {
        beacon->Remove(withEffects ? 1 : 0);
        beacon = nullptr;
    }
    if (withEffects) {
        DestroyEffects();
    }
    const Game* game = CurrentGame();
    if (game == nullptr || game->battleOver == 0) {
        CountLoss();
    }
    for (Weapon& weapon : weapons) {
        weapon.Stop();
        weapon.showsLaserModel = 0;
        weapon.laserModelDue = 0;
    }
    WorldObject::Remove(1);
}

void Vorn::DestroyEffects() {
    PlaySound(kSoundVornExplosion, 1.0f);
    Game* game = CurrentGame();
    const bool client = IsCurrentGameClient();
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    if (!client && row != nullptr) {
        ExplosionField* blast = gArena->NewExplosion(owner, position, row->explosionDamage, row->explosionRadius,
                                                     GetRadius(), Vector3(0.0f, 0.0f, 1.0f), 0);
        gArena->AddObject(blast);
        ScorchMark* scorch = gArena->AddScorchMark(gArena->GroundPoint(position.x, position.y), row->explosionRadius);
        if (game != nullptr) {
            game->OnBlastAdded(blast);
            game->OnScorchMark(scorch);
        }
    }
    ExplodeCarriedExplosives();
}

void Vorn::ExplodeCarriedExplosives() {
    Game* game = CurrentGame();
    for (Weapon& weapon : weapons) {
        if (weapon.kind != kWeaponExplosive || weapon.IsOutOfAmmo()) {
            continue;
        }
        if (game != nullptr && !game->IsWeaponAllowed(kWeaponExplosive)) {
            continue;
        }
        if (!IsCurrentGameClient()) {
            const float damage = owner != nullptr ? owner->GetUpgradedValue(kWeaponExplosive) : 0.0f;
            ExplosionField* blast = gArena->NewExplosion(owner, position, damage, GetUpgradeBaseValue(kWeaponExplosive),
                                                         GetRadius(), Vector3(0.0f, 0.0f, 1.0f), 0);
            gArena->AddObject(blast);
            if (game != nullptr) {
                game->OnBlastAdded(blast);
            }
        }
        weapon.ammoCount = 0;
        PlaySound(kSoundBombExplosion, 1.0f);
    }
}

// A unit lost to its own player's blast or lava counts as a loss but gives no kill.
void Vorn::CountLoss() {
    Player* killer = lastAttacker;
    if (killer != nullptr && killer != owner) {
        killer->AddKill();
    }
    if (owner != nullptr) {
        owner->AddLoss();
        if (vip != 0) {
            --owner->vipCount;
        }
    }
    if (GameListener* listener = GetGameListener()) {
        listener->OnScoresChanged();
    }
}
