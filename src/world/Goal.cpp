#include "world/Goal.h"

#include "core/Array.h"
#include "core/MathUtil.h"
#include "core/Stream.h"
#include "core/String.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Game.h"
#include "game/Player.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/SoccerBall.h"

namespace {

Player* FirstPlayer() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->firstPlayer : nullptr;
}

Player* SecondPlayer() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->secondPlayer : nullptr;
}

// Reused by every goal's update so that a tick allocates nothing once warm.
Array<WorldObject*>& Scratch() {
    static Array<WorldObject*> objects;
    return objects;
}

}  // namespace

Goal::Goal() {
    kind = kKindGoal;
    shape.SetSphere(Vector3(), kRadius);
    Reset();
}

void Goal::Reset() {
    owner = nullptr;
    heading = RandomFloatBetween(0.0f, 2.0f * kPi);
    ResetHealth(1.0f);
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

TextureHandle Goal::GoalTexture(int index) {
    static RendererRef<Texture> textures[kTextureCount];
    if (index < 0 || index >= kTextureCount || gArena == nullptr) {
        return nullptr;
    }
    if (textures[index] == nullptr) {
        const String name = "Goal" + String::FromInt(index) + ".tga";
        textures[index] = gArena->LoadSharedTexture(name.CStr());
    }
    return textures[index];
}

void Goal::Draw(const Vector3& point) {
    // The decal of the owner's goal texture turns with the heading.
    const TextureHandle texture = owner != nullptr ? owner->goalTexture : nullptr;
    DrawGroundDecal(point, Vector2(position.x, position.y), kRadius, texture, Color(0xFFFFFFFFu), false, heading);
}

void Goal::Update(bool paused) {
    if (paused || IsCurrentGameClient()) {
        SpendAllTime();
        return;
    }
    // Scoring a carried ball places a new ball, which starts a walk of its own: the
    // walk only collects, and the goal acts once it has ended.
    Array<WorldObject*>& found = Scratch();
    found.Clear();
    gArena->CollectBodiesInCells(bounds, found);
    for (int i = 0; i < found.Count(); ++i) {
        WorldObject* object = found[i];
        const float d = gArena->WrappedDistance2D(position, object->position);
        if (!(d < kRadius) || object->removed) {
            continue;
        }
        if (object->kind == kKindVorn) {
            auto* unit = static_cast<Vorn*>(object);
            if (unit->onGround && unit->carryingBall != 0) {
                unit->ScoreCarriedBall(this);
            }
        } else if (object->kind == kKindSoccerBall) {
            auto* ball = static_cast<SoccerBall*>(object);
            ball->inGoal = true;
            ball->goalOwner = owner;
            ball->goalPoint = Vector2(ball->position.x, ball->position.y);
        }
    }
    found.Clear();
    SpendAllTime();
}

void Goal::PlaceAt(const Vector3& point) {
    Vector3 ground = point;
    ground.z = gArena->GetGroundHeight(point.x, point.y);
    WorldObject::PlaceAt(ground);
    shape.SetSphere(position, shape.Radius());
}

void Goal::TakeDamage(Player*, const Vector3&, float, int) {}

void Goal::Save(Stream& stream) {
    stream << "Type " << KindName(kind) << Endl;
    stream << "ID " << id << Endl;
    stream << "Player " << (owner != FirstPlayer() ? 1 : 0) << Endl;
    stream << "Position ";
    position.WriteText(stream);
    stream << Endl;
    stream << "Angle " << heading << Endl;
    stream << "End" << Endl;
}

// Scenario entries also come from peers: a value that does not read ends the entry (and
// the load reports it); a number that is not finite leaves its field as it was.
bool Goal::Load(Stream& stream) {
    String word;
    while (ReadEntryKey(stream, word)) {
        if (word.EqualsNoCase("ID")) {
            int32_t value = 0;
            stream >> value;
            if (!stream.HasError()) {
                loadedId = value;
            }
        } else if (word.EqualsNoCase("Player")) {
            int32_t value = 0;
            stream >> value;
            if (!stream.HasError()) {
                owner = value != 0 ? SecondPlayer() : FirstPlayer();
            }
        } else if (word.EqualsNoCase("Position")) {
            Vector3 point = position;
            point.ReadText(stream);
            if (!stream.HasError()) {
                PlaceAt(point);
            }
        } else if (word.EqualsNoCase("Angle")) {
            float value = heading;
            stream >> value;
            if (!stream.HasError()) {
                heading = value;
            }
        }
    }
    return word.EqualsNoCase("End");
}
