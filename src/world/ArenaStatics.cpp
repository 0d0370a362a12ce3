// What the battlefield's standing objects, markers and ball ask of the arena.
#include <set>
#include <string>

#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "world/Arena.h"
#include "world/WorldObject.h"

TextureHandle Arena::LoadSharedTexture(const char* name) {
    const String path = TexturePath(name);
    if (FileExists(path)) {
        return GetRenderer().CreateTextureFromFile(path);
    }
    static std::set<std::string> reported;
    if (reported.insert(name).second) {
        Debugger::Instance().Line((String("Missing texture ") + path + ", drawn without it").CStr());
    }
    return nullptr;
}

TextureHandle Arena::LoadSharedTexture(const char* name, SharedTextureSlot& slot) {
    if (slot.texture == nullptr) slot.texture = LoadSharedTexture(name);
    return slot.texture;
}

void Arena::CollectBodiesInCells(const IntRect& cells, Array<WorldObject*>& out) {
    // The walk's stamp read once, as IsVisited and MarkVisited would read it for each object.
    const int32_t stamp = static_cast<int32_t>(BeginWalk());
    // A rectangle wider than the grid meets the same cells again.
    const int lastX = cells.right - cells.left >= kGridSize ? cells.left + kGridSize - 1 : cells.right;
    const int lastY = cells.bottom - cells.top >= kGridSize ? cells.top + kGridSize - 1 : cells.bottom;
    for (int x = cells.left; x <= lastX; ++x) {
        for (int y = cells.top; y <= lastY; ++y) {
            for (WorldObject* object : BodyCell(x, y)) {
                if (object->visitStamp != stamp) {
                    object->visitStamp = stamp;
                    out.Append(object);
                }
            }
        }
    }
}
