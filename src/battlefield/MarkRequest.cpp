// What a lesson's highlight line asks to point at in the arena.
#include "battlefield/MarkRequest.h"

#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

int32_t KindNamed(const String& word) {
    for (int32_t kind = 0; kind < kObjectKindCount; ++kind) {
        if (word.EqualsNoCase(ObjectKindNames[kind])) return kind;
    }
    return -1;
}

}  // namespace

bool MarkRequest::Read(const StringArray& words, MarkRequest& request) {
    if (words.IsEmpty()) return false;
    request.units = words[0].EqualsNoCase("Vorn");
    if (!request.units && !words[0].EqualsNoCase("Object")) return false;
    for (int32_t i = 1; i < words.Count(); ++i) {
        const String& word = words[i];
        const bool hasNext = i + 1 < words.Count();
        if (word.EqualsNoCase("Type") && hasNext) {
            request.kindNamed = true;
            request.kind = KindNamed(words[++i]);
        } else if (word.EqualsNoCase("Name") && hasNext) {
            request.name = words[++i];
        } else if (word.EqualsNoCase("Team") && hasNext) {
            request.team = words[++i].EqualsNoCase("Friend") ? kFriend : kEnemy;
        } else if (word.EqualsNoCase("Offset") && i + 2 < words.Count()) {
            request.offset = request.offset + Vector2(words[i + 1].ToFloat(), words[i + 2].ToFloat());
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

WorldObject* MarkRequest::Find(const Arena& arena, const Vector3& from, const Player* friendly, const Player* enemy,
                               Vector3& image) const {
    const Vector3 at = from + Vector3(offset.x, offset.y, 0.0f);
    if (units) {
        const Player* owner = team == kFriend ? friendly : team == kEnemy ? enemy : nullptr;
        return arena.NearestVornNamed(at, &image, owner, name.CStr());
    }
    if (kindNamed) return kind >= 0 ? arena.NearestObjectOfKind(at, &image, kind) : nullptr;
    return arena.NearestObject(at, &image);
}
