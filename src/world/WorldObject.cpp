#include "world/WorldObject.h"

#include <algorithm>
#include <cmath>

#include "core/Angles.h"
#include "core/MathUtil.h"
#include "core/Stream.h"
#include "core/String.h"
#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/SceneLighting.h"
#include "game/Game.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/Terrain.h"

namespace {

// A sphere this close above the ground counts as resting on it.
constexpr float kRestingGap = 0.01f;
// A ball this close above the ground can still be played from the ground.
constexpr float kBallGroundReach = 3.0f;
// Losing a tenth of the speed in every bounce lets bouncing objects settle.
constexpr float kBounceDamping = 0.9f;
// Balls meeting slower than this stop instead of nudging each other for ever.
constexpr float kBallRestSpeed = 0.5f;

float RandomTurn() { return RandomFloatBetween(0.0f, 2.0f * kPi); }

// A push direction with some horizontal part, so that an object hit from straight
// above or below slides off instead of bouncing in place.
Vector3 BounceNormal(const Vector3& difference) {
    if (difference.Length() <= Tolerance) {
        const float a = RandomTurn();
        return Vector3(0.1f * std::cos(a), 0.1f * std::sin(a), 1.0f).Normalized();
    }
    Vector3 n = difference.Normalized();
    if (n.x * n.x + n.y * n.y < 0.0001f) {
        const float a = RandomTurn();
        n.x = 0.1f * std::cos(a);
        n.y = 0.1f * std::sin(a);
        n.Normalize();
    }
    return n;
}

Vector2 Horizontal(const Vector3& v) { return {v.x, v.y}; }

// Below this the heading between two points is 0.
constexpr float kHeadingMinDistance = 0.01f;

// HeadingBetween(from, to) bit for bit, with its sums against the x axis written out:
// normalising (1, 0, 0) and taking the dot product and cross product with it change
// nothing, so only the x part of the unit direction and the y part of the cross product
// are left. The matcher asks this of every unit it gathers.
float HeadingFromXAxis(const Vector2& from, const Vector2& to) {
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length < kHeadingMinDistance) return 0.0f;
    const float dot = 1.0f * (dx / length) + 0.0f * (dy / length) + 0.0f * (0.0f / length);
    const float angle = static_cast<float>(std::acos(std::clamp(static_cast<double>(dot), -1.0, 1.0)));
    return 1.0f * dy - 0.0f * dx < 0.0f ? -angle : angle;
}

}  // namespace

WorldObject::WorldObject() = default;

WorldObject::~WorldObject() = default;

void WorldObject::OnCollide(WorldObject*, const Vector3&) {}

void WorldObject::OnAdded() {}

void WorldObject::PlaceAt(const Vector3& point) {
    position = gArena->WrapPosition(point);
    const float ground = gArena->GetGroundHeight(position.x, position.y);
    if (IsGroundBoundKind(kind) || shape.kind == CollisionShape::kCylinder) {
        position.z = ground;
        onGround = true;
    } else if (kind != kKindExplosionField) {
        const float r = shape.Radius();
        if (position.z - r <= ground + kRestingGap) {
            position.z = ground + r;
            onGround = true;
        } else if (kind == kKindSoccerBall) {
            onGround = position.z - r < ground + kBallGroundReach;
        } else {
            onGround = false;
        }
    }
    shape.MoveTo(position);
    UpdateGridPlacement();
}

void WorldObject::SetVelocity(const Vector3& value) { velocity = value; }

const Matrix4& WorldObject::BuildWorldMatrix() {
    worldMatrix = Matrix::RotationZ(heading);
    worldMatrix.Translate(position);
    return worldMatrix;
}

void WorldObject::FaceDirection(const Vector3& point) {
    facingAngle = HeadingFromXAxis(facingOrigin, Horizontal(point));
}

void WorldObject::SetTeam(int value) { team = value; }

void WorldObject::ResetHealth(float value) {
    SetMaxHealth(value);
    SetHealth(value);
    lastAttacker = nullptr;
}

void WorldObject::SetHealth(float value) { health = value; }

void WorldObject::SetMaxHealth(float value) { maxHealth = value; }

void WorldObject::TakeDamage(Player* attacker, const Vector3&, float amount, int) {
    if (amount >= health) {
        lastAttacker = attacker;
    }
    SetHealth(health - amount);
}

void WorldObject::Heal(float amount) {
    const float old = health;
    SetHealth(health + amount);
    if (health > maxHealth) {
        SetHealth(maxHealth);
    }
    if (health != old && CurrentGame() != nullptr) {
        CurrentGame()->OnHealthChanged(this, nullptr, Vector3(), -health, 0);
    }
}

void WorldObject::Remove(int) { removed = true; }

float WorldObject::GetRadius() const { return shape.Radius(); }

bool WorldObject::Load(Stream&) { return true; }

void WorldObject::Save(Stream&) {}

void WorldObject::SetDefaults() {}

bool WorldObject::IsSaved() const { return false; }

void WorldObject::SetTimeBudget(float seconds) { timeBudget = seconds; }

void WorldObject::SpendTime(float seconds) { SetTimeBudget(timeBudget - seconds); }

bool WorldObject::IsReady() const { return true; }

void WorldObject::OnPlaced() {}

void WorldObject::SavePreviousState() {
    previousHeading = heading;
    previousPosition = position;
    previousBounds = bounds;
    previousShape = shape;
}

void WorldObject::RestorePreviousState() {
    heading = previousHeading;
    shape = previousShape;
    position = previousPosition;
    bounds = previousBounds;
}

void WorldObject::RevertMove() {
    heading = previousHeading;
    shape = previousShape;
    PlaceAt(previousPosition);
    bounds = previousBounds;
}

void WorldObject::ReturnToPreviousPosition() {
    shape = previousShape;
    PlaceAt(previousPosition);
}

void WorldObject::ClearGridBounds() {
    bounds = kEmptyGridBounds;
    previousBounds = kEmptyGridBounds;
}

void WorldObject::UpdateGridPlacement() {
    const IntRect next = gArena->BoundsOfCircle(position, shape.Radius());
    // Most steps stay within the cells the object covers: it only moves to the end of
    // each, as taking it out and entering it again would leave it.
    if (next == bounds) {
        gArena->MoveToEndOfCells(this);
    } else {
        gArena->RemoveFromGrid(this);
        bounds = next;
        gArena->AddToGrid(this);
    }
    const Point cell = gArena->CellOfPoint(position);
    gridCell = &gArena->GridCell(cell.x, cell.y);
    if (previousBounds == kEmptyGridBounds) {
        previousBounds = bounds;
    }
}

void WorldObject::WrapShapeNear(const Vector3& point) { shape.WrapNear(point); }

void WorldObject::WrapShapeIntoArena() { shape.WrapIntoArena(); }

Vector3 WorldObject::GetHeadingVector() const { return {std::cos(heading), std::sin(heading), 0.0f}; }

Vector2 WorldObject::GetFacingVector() const { return {std::cos(facingAngle), std::sin(facingAngle)}; }

float WorldObject::CurrentTime() const {
    const Game* game = CurrentGame();
    if (game == nullptr) {
        return -timeBudget;
    }
    return game->clock + game->frameTime - timeBudget;
}

void WorldObject::SpendAllTime() { SpendTime(timeBudget); }

void WorldObject::AssignId() { AssignId(*gArena); }

void WorldObject::AssignId(Arena& arena) { id = IsSyncedKind(kind) ? arena.TakeSyncedId() : arena.TakeLocalId(); }

bool WorldObject::IsBlockedBy(const WorldObject& other) const {
    if (kind == kKindFlameBall && other.kind == kKindRock) {
        return false;
    }
    return IsSolidKind(other.kind);
}

void WorldObject::BounceOff(const ContactRecord& contact) {
    const float speed = velocity.Length();
    if (gArena->MoveWithCollision(this, previousPosition, contact.stopPosition, nullptr, nullptr)) {
        PlaceAt(gArena->NearestImage(previousPosition, contact.stopPosition));
    } else {
        RevertMove();
    }
    // The contact may lie in another wrapped image than the folded position.
    const Vector3 n = BounceNormal(position - gArena->NearestImage(position, contact.contactPoint));
    WorldObject* other = contact.otherObject;
    if (other == nullptr || (other->onGround && other->kind != kKindSoccerBall)) {
        SetVelocity(n * (kBounceDamping * speed));
        return;
    }
    float shared = (speed + other->velocity.Length()) / 2.0f;
    if (kind == kKindSoccerBall && other->kind == kKindSoccerBall && shared < kBallRestSpeed) {
        shared = 0.0f;
    }
    shared *= kBounceDamping;
    SetVelocity(n * shared);
    other->SetVelocity(-n * shared);
}

void WorldObject::DrawModelAt(const Vector3& point) {
    worldMatrix = Matrix::RotationZ(heading);
    worldMatrix.Scale(scale);
    worldMatrix[12] = point.x;
    worldMatrix[13] = point.y;
    worldMatrix[14] = point.z;
    GetRenderer().SetWorldTransform(worldMatrix);
    if (model != nullptr) {
        GetRenderer().RenderModel(model, true, true);
    }
}

void WorldObject::DrawShadowDecals(const Vector3& point) {
    for (const ShadowDecal& decal : shadows) {
        if (decal.texture == nullptr) {
            continue;
        }
        DrawGroundDecal(point, decal.centre, decal.halfSize, decal.texture, Color(0xFFFFFFFFu), false, decal.angle);
    }
}

void WorldObject::DrawGroundDecal(const Vector3& point, const Vector2& centre, float half, TextureHandle texture,
                                  Color colour, bool lit, float angle, float scale, uint32_t mode) const {
    Matrix4 shift;
    shift.SetTranslation(point - position);
    GetRenderer().SetWorldTransform(shift);
    Terrain& terrain = gArena->GetTerrain();
    const Rect square{centre.x - half, centre.y - half, centre.x + half, centre.y + half};
    terrain.DrawDecal(square, texture, colour, lit, angle, scale, mode);
    terrain.RenderDecalMesh();
}

void WorldObject::ComputeShadow(const Vector3& basePoint, const Vector3& topPoint, const Vector3& upperPoint,
                                TextureHandle texture, bool second) {
    Vector3 light = GetSceneLightDirection();
    light.z *= 1.5f;
    if (!light.IsNearZero()) {
        light.Normalize();
    }
    Vector2 lightGround = Horizontal(light);
    if (!lightGround.IsNearZero()) {
        lightGround.Normalize();
    }
    const Vector3 middle = (basePoint + upperPoint) * 0.5f;
    const Vector3 middleDown =
        ProjectDownAlongDirection(middle, middle.z - gArena->GetGroundHeight(middle.x, middle.y), light);
    const Vector3 baseDown =
        ProjectDownAlongDirection(basePoint, basePoint.z - gArena->GetGroundHeight(basePoint.x, basePoint.y), light);
    const Vector2 pb = Horizontal(baseDown);
    Vector2 dir = Horizontal(middleDown) - pb;
    if (dir.IsNearZero()) {
        dir = lightGround;
    } else {
        dir.Normalize();
    }
    // A shadow never falls toward the light: one that would (a point below its base)
    // falls along the light instead.
    if (dir.Dot(lightGround) < 0.0f) {
        dir = lightGround;
    }
    const float half = basePoint.Distance(topPoint) / 2.0f;
    ShadowDecal& decal = shadows[second ? 1 : 0];
    decal.texture = texture;
    decal.centre = pb + dir * half;
    decal.halfSize = half;
    // The signed turn from (0, 1) to dir.
    decal.angle = std::atan2(-dir.x, dir.y);
}

void WorldObject::TakeTerrainLight() {
    const float light = gArena->GetTerrain().GetLightAt(position.x, position.y);
    const float* material = GetSecondMaterialColor();
    for (int i = 0; i < 4; ++i) {
        litColour[0][i] = i < 3 ? light * 0.75f : 0.0f;
        litColour[1][i] = light * material[i];
    }
}

String WorldObject::KindName(int kind) {
    if (!IsKindInRange(kind)) {
        return GetLanguageText("None");
    }
    return ObjectKindNames[kind];
}

int WorldObject::KindFromName(const String& text) {
    for (int kind = 0; kind < kObjectKindCount; ++kind) {
        if (text.EqualsNoCase(ObjectKindNames[kind])) {
            return kind;
        }
    }
    return kKindNone;
}

bool WorldObject::ReadEntryKey(Stream& stream, String& word) {
    while (!stream.HasError()) {
        String::ReadToken(stream, word);
        if (word.IsEmpty() || word.EqualsNoCase("End")) {
            return false;
        }
        if (!word.EqualsNoCase("Type")) {
            return true;
        }
        String::ReadToken(stream, word);
    }
    return false;
}

Stream& operator<<(Stream& stream, WorldObject& object) {
    object.Save(stream);
    return stream;
}

Stream& operator>>(Stream& stream, WorldObject& object) {
    object.Load(stream);
    return stream;
}
