#pragma once
// What a lesson's highlight line asks to point at in the arena: "Object" or "Vorn",
// followed by "Type" kind, "Name" name, "Offset" x y and "Team" Friend or Enemy in any
// order. The battlefield and the mini-map look it up the same way, each from its own
// search point, and mark the object each in its own picture.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "core/Vector3.h"

class Arena;
class Player;
class WorldObject;

struct MarkRequest {
    enum Team : int32_t { kAnyTeam = 0, kFriend = 1, kEnemy = 2 };

    // False when the words are not such a line, or a word is out of place.
    static bool Read(const StringArray& words, MarkRequest& request);
    // The nearest object that matches, searched from `from` plus the offset, and the
    // copy of it nearest that point; none when nothing matches.
    WorldObject* Find(const Arena& arena, const Vector3& from, const Player* friendly, const Player* enemy,
                      Vector3& image) const;

    bool units = false;
    int32_t kind = -1;  // -1 any kind
    bool kindNamed = false;
    String name;
    Vector2 offset;
    int32_t team = kAnyTeam;
};
