// The terrain painter's operations: raising, lowering and painting under a brush,
// scrolling the whole map and making a random one. Every operation leaves the tile
// indices and the slope and water rules consistent; the callers relight afterwards.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/MathUtil.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/sys/Random.h"
#include "world/Terrain.h"

namespace {

// Random patches use the ground types the player has unlocked: upgrade kinds 30 to 37.
constexpr int32_t kFirstGroundUpgrade = 30;
// A player with every ground type locked would make the patch draw endless; after this
// many draws the patch is grass.
constexpr int kMaxPatchDraws = 32;

constexpr int kNeighbours8[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr int kNeighbours4[4][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};

float RandomUnit() { return float(sys::Rand()) / float(sys::kRandMax); }

TerrainType DrawPatchType(const Player& player) {
    for (int draw = 0; draw < kMaxPatchDraws; ++draw) {
        const auto type = TerrainType((int64_t(sys::Rand()) * 7 + 16383) / sys::kRandMax);
        if (player.HasUpgradeLevel(kFirstGroundUpgrade + type, 0)) {
            return type;
        }
    }
    return kTerrainGrass;
}

}  // namespace

void Terrain::RaiseRect(const Rect& rect, float amount, bool flat) {
    CellsUnderRect(rect, workList_);
    const Rect r = Rect::FromCorners({rect.left, rect.top}, {rect.right, rect.bottom});
    const float halfWidth = (r.right - r.left) * 0.5f;
    const float halfHeight = (r.bottom - r.top) * 0.5f;
    const Vector3 circle(r.left + halfWidth, r.top + halfHeight,
                         std::sqrt(halfWidth * halfWidth + halfHeight * halfHeight));
    HeightBrush(amount, flat, circle);
}

void Terrain::RaiseCircle(const Vector3& circle, float amount, bool flat) {
    CellsUnderCircle(circle, workList_);
    HeightBrush(amount, flat, circle);
}

void Terrain::PaintRect(const Rect& rect, TerrainType type) {
    CellsUnderRect(rect, workList_);
    PaintPoints(type);
}

void Terrain::PaintCircle(const Vector3& circle, TerrainType type) {
    CellsUnderCircle(circle, workList_);
    PaintPoints(type);
}

bool Terrain::IsFirmAround(int32_t i, int32_t j) const {
    if (!IsFirmTerrain(CellAt(i, j).type)) {
        return false;
    }
    return std::all_of(std::begin(kNeighbours8), std::end(kNeighbours8),
                       [&](const int* d) { return IsFirmTerrain(CellAt(i + d[0], j + d[1]).type); });
}

void Terrain::HeightBrush(float amount, bool flat, const Vector3& circle) {
    for (const TerrainPoint& p : workList_) {
        for (const auto& d : kNeighbours4) {
            CellAt(p.i + d[0], p.j + d[1]).mark = 0;
        }
    }
    const float radius = std::fabs(circle.z);
    for (const TerrainPoint& p : workList_) {
        float weight = 1.0f;
        // A brush of no radius lists only its centre point, which takes the full amount.
        if (!flat && radius > Tolerance) {
            const float dx = kCellSize * float(p.i) - circle.x;
            const float dy = kCellSize * float(p.j) - circle.y;
            const float distance = std::sqrt(dx * dx + dy * dy);
            weight = std::sin(kPi / 2.0f * std::max(radius - distance, 0.0f) / radius);
        }
        if (!IsFirmAround(p.i, p.j)) {
            weight = 0.0f;
        }
        TerrainCell& cell = CellAt(p);
        cell.mark = 1;
        cell.shade = weight;
    }
    queue_.Clear();
    for (const TerrainPoint& p : workList_) {
        if (IsMarkBorder(p, true)) {
            queue_.Append(p);
            CellAt(p).mark = 0;
        }
    }
    // The marked region is worked from its rim inward, each ring relaxed before the next.
    for (int32_t k = 0; k < queue_.Count(); ++k) {
        const TerrainPoint q = queue_[k];
        TerrainCell& cell = CellAt(q);
        cell.height = std::clamp(cell.height + cell.shade * amount, -kMaxHeight, kMaxHeight);
        Relax(q.i, q.j);
        for (const auto& d : kNeighbours4) {
            const TerrainPoint n = {q.i + d[0], q.j + d[1]};
            if (IsMarkBorder(n, true)) {
                queue_.Append(n);
                CellAt(n).mark = 0;
            }
        }
    }
}

void Terrain::PaintPoints(TerrainType type) {
    if (!IsValidTerrainType(type)) {
        return;
    }
    if (!IsFirmTerrain(type)) {
        PaintFlat(type);
        return;
    }
    for (const TerrainPoint& p : workList_) {
        TerrainCell& cell = CellAt(p);
        cell.type = type;
        cell.variant = RandomVariant(type);
        UpdateTileIndicesAround(p.i, p.j);
    }
}

void Terrain::PaintFlat(TerrainType type) {
    for (int32_t k = 0; k < width_ * height_; ++k) {
        cells_[k].mark = 1;
    }
    for (const TerrainPoint& p : workList_) {
        CellAt(p).mark = 0;
    }
    // The level is the lowest point of the ring just outside the painted area.
    float level = kMaxHeight;
    for (const TerrainPoint& p : workList_) {
        for (const auto& d : kNeighbours8) {
            const TerrainCell& ring = CellAt(p.i + d[0], p.j + d[1]);
            if (ring.mark != 0) {
                level = std::min(level, ring.height);
            }
        }
    }
    for (const TerrainPoint& p : workList_) {
        TerrainCell& cell = CellAt(p);
        cell.type = type;
        cell.variant = RandomVariant(type);
        UpdateTileIndicesAround(p.i, p.j);
        cell.height = level;
        for (const auto& d : kNeighbours8) {
            TerrainCell& ring = CellAt(p.i + d[0], p.j + d[1]);
            if (ring.mark != 0) {
                ring.height = level;
            }
        }
    }
    for (const TerrainPoint& p : workList_) {
        for (const auto& d : kNeighbours8) {
            if (CellAt(p.i + d[0], p.j + d[1]).mark != 0) {
                Relax(p.i + d[0], p.j + d[1]);
            }
        }
    }
}

void Terrain::Randomize() { Randomize(GetLocalPlayer()); }

void Terrain::Randomize(const Player& player) {
    for (int32_t k = 0; k < width_ * height_; ++k) {
        cells_[k].height = 0.0f;
        cells_[k].type = kTerrainGrass;
        cells_[k].variant = 0;
    }
    UpdateAllTileIndices();
    for (int n = 0; n < 10; ++n) {
        const float radius = 20.0f + 60.0f * RandomUnit();
        const float x = WorldWidth() * RandomUnit();
        const float y = WorldHeight() * RandomUnit();
        RaiseCircle({x, y, radius}, 0.1f + 24.9f * RandomUnit(), false);
    }
    for (int n = 0; n < 5; ++n) {
        const float radius = 10.0f + 30.0f * RandomUnit();
        const float x = WorldWidth() * RandomUnit();
        const float y = WorldHeight() * RandomUnit();
        RaiseCircle({x, y, radius}, -(0.1f + 12.4f * RandomUnit()), false);
    }
    for (int n = 0; n < 3; ++n) {
        const TerrainType type = DrawPatchType(player);
        const float radius = 15.0f + 45.0f * RandomUnit();
        const float x = WorldWidth() * RandomUnit();
        const float y = WorldHeight() * RandomUnit();
        PaintCircle({x, y, radius}, type);
    }
}

void Terrain::Scroll(int32_t dx, int32_t dy) {
    const Array<TerrainCell> old = cells_;
    for (int32_t j = 0; j < height_; ++j) {
        for (int32_t i = 0; i < width_; ++i) {
            // Offsets are taken modulo the size first, so no offset can overflow.
            const int32_t fromI = WrapI(i - WrapI(dx));
            const int32_t fromJ = WrapJ(j - WrapJ(dy));
            cells_[width_ * j + i] = old[width_ * fromJ + fromI];
        }
    }
    UpdateAllTileIndices();
}
