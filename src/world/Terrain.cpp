#include "world/Terrain.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"
#include "core/Point.h"
#include "core/Stream.h"
#include "core/Triangle.h"
#include "engine/SceneLighting.h"
#include "platform/sys/Random.h"

namespace {

// Height comparisons of the consistency pass allow this much rounding.
constexpr float kHeightSlack = 0.00001f;
// Height tests of the ray walk allow this much, so a ray grazing a corner height still
// has its triangles tested exactly.
constexpr float kBandSlack = 0.0001f;

// Corner tile index by the set of corners of a type: bit k for corner k, the corners
// numbered 0 = (i, j + 1), 1 = (i + 1, j + 1), 2 = (i + 1, j), 3 = (i, j).
constexpr int32_t kCornerTileOfMask[16] = {14, 10, 11, 4, 12, 5, 7, 0, 13, 6, 8, 1, 9, 2, 3, 14};

constexpr int kNeighbours8[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr int kNeighbours4[4][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};

float RandomUnit() { return float(sys::Rand()) / float(sys::kRandMax); }

// Floor as an int32 that saturates; a non-finite value gives 0.
int32_t FloorToInt(float v) {
    // Most points lie on the map already: there truncation is the floor.
    if (v >= 0.0f && v < 2147483648.0f) {
        return int32_t(v);
    }
    if (!std::isfinite(v)) {
        return 0;
    }
    const double f = std::floor(double(v));
    if (f <= double(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    if (f >= double(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return int32_t(f);
}

// v folded into [0, size] by an exact remainder, so far-off coordinates keep their
// place within a cell; a non-finite value gives 0.
float FoldCoordinate(float v, float size) {
    // The remainder of a coordinate already within the map is the coordinate itself.
    if (v >= 0.0f && v < size) {
        return v;
    }
    if (!std::isfinite(v)) {
        return 0.0f;
    }
    const float folded = std::fmod(v, size);
    return folded < 0.0f ? folded + size : folded;
}

// Wraps any int32 into 0..n-1 without overflow.
int32_t WrapIndex(int32_t i, int32_t n) {
    if (i >= 0 && i < n) {
        return i;
    }
    const int32_t r = i % n;
    return r < 0 ? r + n : r;
}

int32_t NearestGridIndex(float v) { return FloorToInt((v + 5.0f) / Terrain::kCellSize); }

// The cell under a point of the folded map and the point's place within it, 0..1 on
// each axis.
struct CellSpot {
    int32_t i;
    int32_t j;
    float fx;
    float fy;
};

// Inlined: every height and light asked goes through it.
[[gnu::always_inline]] inline CellSpot LocateInCell(float x, float y, float worldWidth, float worldHeight) {
    const float fxw = FoldCoordinate(x, worldWidth);
    const float fyw = FoldCoordinate(y, worldHeight);
    const int32_t i = FloorToInt(fxw / Terrain::kCellSize);
    const int32_t j = FloorToInt(fyw / Terrain::kCellSize);
    return {i, j, (fxw - Terrain::kCellSize * float(i)) / Terrain::kCellSize,
            (fyw - Terrain::kCellSize * float(j)) / Terrain::kCellSize};
}

// A walk over a rectangle or circle wider than a few maps lists the same cells again
// and again; a damaged or hostile size must not make it endless. The walk's first
// index stays far from the int32 limits, so stepping past its ends cannot overflow.
constexpr int32_t kMaxWalkSpan = 4 * Terrain::kMaxSide;
constexpr int64_t kWalkIndexLimit = 1 << 24;

struct WalkRange {
    int32_t first;
    int32_t last;
};

// The grid indices from one less than the nearest index of low to one more than that
// of high.
WalkRange WalkIndices(float low, float high) {
    const int64_t first = std::clamp<int64_t>(int64_t(NearestGridIndex(low)) - 1, -kWalkIndexLimit, kWalkIndexLimit);
    const int64_t last = std::min(int64_t(NearestGridIndex(high)) + 1, first + kMaxWalkSpan);
    return {int32_t(first), int32_t(last)};
}

bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

void SnapNearZero(Vector3& v) {
    if (FloatNearZero(v.x)) {
        v.x = 0.0f;
    }
    if (FloatNearZero(v.y)) {
        v.y = 0.0f;
    }
    if (FloatNearZero(v.z)) {
        v.z = 0.0f;
    }
}

Terrain::Terrain()
    : width_(kMaxSide),
      height_(kMaxSide),
      queue_(256),
      lightDirection_(GetSceneLightDirection()),
      typeMeshes_(kTerrainTypeCount) {
    cells_.Reserve(kMaxSide * kMaxSide);
    tileIndices_.Reserve(kMaxSide * kMaxSide * kTerrainTypeCount);
    Fill(kTerrainGrass);
}

Terrain::~Terrain() = default;

int32_t Terrain::WrapI(int32_t i) const { return WrapIndex(i, width_); }

int32_t Terrain::WrapJ(int32_t j) const { return WrapIndex(j, height_); }

int32_t Terrain::Index(int32_t i, int32_t j) const { return width_ * WrapJ(j) + WrapI(i); }

TerrainCell& Terrain::CellAt(int32_t i, int32_t j) { return cells_[Index(i, j)]; }

const TerrainCell& Terrain::CellAt(int32_t i, int32_t j) const { return cells_[Index(i, j)]; }

float Terrain::GetHeight(float x, float y) const {
    const auto [i, j, fx, fy] = LocateInCell(x, y, WorldWidth(), WorldHeight());
    // The four corners' rows and columns wrapped once each: the unit walks ask this for
    // every step, and away from the map's last row and column nothing wraps.
    const bool inside = i >= 0 && i + 1 < width_ && j >= 0 && j + 1 < height_;
    const int32_t i0 = inside ? i : WrapI(i);
    const int32_t i1 = inside ? i + 1 : WrapI(i + 1);
    const int32_t j0 = inside ? j : WrapJ(j);
    const int32_t row0 = width_ * j0;
    const int32_t row1 = width_ * (inside ? j + 1 : WrapJ(j + 1));
    const float h00 = cells_[row0 + i0].height;
    const float h10 = cells_[row0 + i1].height;
    const float h01 = cells_[row1 + i0].height;
    const float h11 = cells_[row1 + i1].height;
    if (((i0 + j0) & 1) == 0) {
        if (fy <= fx) {
            return (1.0f - fx) * h00 + (fx - fy) * h10 + fy * h11;
        }
        return (1.0f - fy) * h00 + (fy - fx) * h01 + fx * h11;
    }
    if (fx <= 1.0f - fy) {
        return (1.0f - fx - fy) * h00 + fx * h10 + fy * h01;
    }
    return (1.0f - fx) * h01 + (1.0f - fy) * h10 + (fx + fy - 1.0f) * h11;
}

float Terrain::GetLightAt(float x, float y) const {
    const auto [i, j, fx, fy] = LocateInCell(x, y, WorldWidth(), WorldHeight());
    const float l00 = CellAt(i, j).light;
    const float l10 = CellAt(i + 1, j).light;
    const float l01 = CellAt(i, j + 1).light;
    const float l11 = CellAt(i + 1, j + 1).light;
    return (1.0f - fy) * ((1.0f - fx) * l00 + fx * l10) + fy * ((1.0f - fx) * l01 + fx * l11);
}

TerrainType Terrain::GetTypeAt(float x, float y) const {
    const float fx = FoldCoordinate(x + 5.0f, WorldWidth());
    const float fy = FoldCoordinate(y + 5.0f, WorldHeight());
    return CellAt(FloorToInt(fx / kCellSize), FloorToInt(fy / kCellSize)).type;
}

TerrainPoint Terrain::NearestVertex(const Vector3& point) const {
    return {NearestGridIndex(point.x), NearestGridIndex(point.y)};
}

bool Terrain::ContainsPoint(const Vector3& point) const {
    return point.x >= 0.0f && point.x < WorldWidth() && point.y >= 0.0f && point.y < WorldHeight();
}

void Terrain::GetHeightRange(float& lowest, float& highest) const {
    lowest = kMaxHeight;
    highest = -kMaxHeight;
    for (int32_t k = 0; k < width_ * height_; ++k) {
        lowest = std::min(lowest, cells_[k].height);
        highest = std::max(highest, cells_[k].height);
    }
}

void Terrain::CellsUnderRect(const Rect& rect, Array<TerrainPoint>& out) const {
    out.Clear();
    const Rect r = Rect::FromCorners({rect.left, rect.top}, {rect.right, rect.bottom});
    if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right) || !std::isfinite(r.bottom)) {
        return;
    }
    const WalkRange is = WalkIndices(r.left, r.right);
    const WalkRange js = WalkIndices(r.top, r.bottom);
    for (int32_t i = is.first; i <= is.last; ++i) {
        for (int32_t j = js.first; j <= js.last; ++j) {
            if (r.Contains({kCellSize * float(i), kCellSize * float(j)})) {
                out.Append({i, j});
            }
        }
    }
}

void Terrain::CellsUnderCircle(const Vector3& circle, Array<TerrainPoint>& out) const {
    out.Clear();
    if (!std::isfinite(circle.x) || !std::isfinite(circle.y) || !std::isfinite(circle.z)) {
        return;
    }
    const float r = std::fabs(circle.z);
    const WalkRange is = WalkIndices(circle.x - r, circle.x + r);
    const WalkRange js = WalkIndices(circle.y - r, circle.y + r);
    for (int32_t i = is.first; i <= is.last; ++i) {
        for (int32_t j = js.first; j <= js.last; ++j) {
            const float dx = kCellSize * float(i) - circle.x;
            const float dy = kCellSize * float(j) - circle.y;
            if (dx * dx + dy * dy <= r * r) {
                out.Append({i, j});
            }
        }
    }
}

int32_t Terrain::RandomVariant(TerrainType type) {
    const int32_t n = GetTerrainTypeInfo(type).variants;
    if (n < 2) {
        return 0;
    }
    if (n > 4 && RandomUnit() <= 0.075f) {
        return RandomIntBetween(4, n - 1);
    }
    const int64_t r = sys::Rand();
    return int32_t((r * std::min(n - 1, 3) + 16383) / sys::kRandMax);
}

void Terrain::Fill(TerrainType type) {
    for (int32_t k = 0; k < width_ * height_; ++k) {
        cells_[k].height = 0.0f;
        cells_[k].type = type;
        cells_[k].variant = RandomVariant(type);
    }
    UpdateAllTileIndices();
}

void Terrain::Resize(int32_t width, int32_t height) {
    const int32_t w = std::clamp(width, kMinSide, kMaxSide) & ~1;
    const int32_t h = std::clamp(height, kMinSide, kMaxSide) & ~1;
    if (w == width_ && h == height_) {
        return;
    }
    const Array<TerrainCell> old = cells_;
    const int32_t oldWidth = width_;
    const int32_t oldHeight = height_;
    cells_.Reserve(w * h);
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            TerrainCell cell = old[oldWidth * std::min(j, oldHeight - 1) + std::min(i, oldWidth - 1)];
            if (i >= oldWidth || j >= oldHeight) {
                cell.variant = RandomVariant(cell.type);
            }
            cells_[w * j + i] = cell;
        }
    }
    width_ = w;
    height_ = h;
    tileIndices_.Reserve(w * h * kTerrainTypeCount);
    UpdateAllTileIndices();
    for (int32_t i = 0; i < w; ++i) {
        Relax(i, 0);
        Relax(i, h - 1);
    }
    for (int32_t j = 0; j < h; ++j) {
        Relax(0, j);
        Relax(w - 1, j);
    }
}

void Terrain::DominantCorner(int32_t i, int32_t j, TerrainType& type, int32_t& variant) const {
    const TerrainCell* corners[4] = {&CellAt(i, j), &CellAt(i + 1, j), &CellAt(i + 1, j + 1), &CellAt(i, j + 1)};
    const TerrainCell* best = corners[0];
    for (const TerrainCell* corner : corners) {
        if (GetTerrainTypeInfo(corner->type).tilePriority > GetTerrainTypeInfo(best->type).tilePriority) {
            best = corner;
        }
    }
    type = best->type;
    variant = best->variant;
}

int32_t Terrain::CornerTileIndex(int32_t i, int32_t j, TerrainType type) const {
    TerrainType base = 0;
    int32_t variant = 0;
    DominantCorner(i, j, base, variant);
    if (type == base) {
        return kNoCornerTile;
    }
    const TerrainType corners[4] = {CellAt(i, j + 1).type, CellAt(i + 1, j + 1).type, CellAt(i + 1, j).type,
                                    CellAt(i, j).type};
    int mask = 0;
    for (int k = 0; k < 4; ++k) {
        if (corners[k] == type) {
            mask |= 1 << k;
        }
    }
    return kCornerTileOfMask[mask];
}

int32_t Terrain::TileIndex(int32_t i, int32_t j, TerrainType type) const {
    if (!IsValidTerrainType(type)) {
        return kNoCornerTile;
    }
    return tileIndices_[(height_ * type + WrapJ(j)) * width_ + WrapI(i)];
}

void Terrain::ComputeTileIndices(int32_t i, int32_t j) {
    const int32_t wi = WrapI(i);
    const int32_t wj = WrapJ(j);
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        tileIndices_[(height_ * type + wj) * width_ + wi] = CornerTileIndex(wi, wj, type);
    }
}

void Terrain::UpdateAllTileIndices() {
    for (int32_t j = 0; j < height_; ++j) {
        for (int32_t i = 0; i < width_; ++i) {
            ComputeTileIndices(i, j);
        }
    }
}

void Terrain::UpdateTileIndicesAround(int32_t i, int32_t j) {
    for (int32_t dj = -1; dj <= 1; ++dj) {
        for (int32_t di = -1; di <= 1; ++di) {
            ComputeTileIndices(WrapI(i) + di, WrapJ(j) + dj);
        }
    }
}

void Terrain::Relax(int32_t i, int32_t j) {
    relaxStack_.Clear();
    relaxStack_.Append({WrapI(i), WrapJ(j)});
    while (!relaxStack_.IsEmpty()) {
        const TerrainPoint p = relaxStack_[relaxStack_.Count() - 1];
        relaxStack_.Reserve(relaxStack_.Count() - 1);
        TerrainCell& pc = CellAt(p);
        const bool pFirm = IsFirmTerrain(pc.type);
        for (const auto& d : kNeighbours8) {
            const TerrainPoint n = {WrapI(p.i + d[0]), WrapJ(p.j + d[1])};
            const TerrainCell& nc = CellAt(n);
            const float hn = nc.height;
            if (pFirm && IsFirmTerrain(nc.type)) {
                if (pc.height < hn - kMaxSlope - kHeightSlack) {
                    relaxStack_.Append(n);
                }
                if (pc.height > hn + kMaxSlope + kHeightSlack) {
                    pc.height = hn + kMaxSlope;
                    relaxStack_.Append(p);
                }
            } else if (std::fabs(pc.height - hn) > kHeightSlack) {
                if (pc.height <= hn + kHeightSlack) {
                    relaxStack_.Append(n);
                } else {
                    pc.height = hn;
                    relaxStack_.Append(p);
                }
            }
        }
    }
}

void Terrain::UpdateShading() {
    Vector3 sun = -lightDirection_;
    const bool hasSun = sun.Length() > Tolerance;
    if (hasSun) {
        sun.Normalize();
    }
    for (int32_t j = 0; j < height_; ++j) {
        for (int32_t i = 0; i < width_; ++i) {
            TerrainCell& cell = CellAt(i, j);
            float s = ((cell.height + kMaxHeight) / (2.0f * kMaxHeight)) * 0.4f + 0.35f;
            if (hasSun) {
                const Vector3 ground(kCellSize * float(i), kCellSize * float(j), cell.height);
                Vector3 hit;
                if (RayHit(Ray(ground + sun * 0.1f, sun), hit) == 0) {
                    s += 0.5f;
                }
            }
            cell.shade = std::min(s, 1.0f);
        }
    }
    for (int32_t j = 0; j < height_; ++j) {
        for (int32_t i = 0; i < width_; ++i) {
            CellAt(i, j).light = SmoothedShade(i, j);
        }
    }
}

float Terrain::SmoothedShade(int32_t i, int32_t j) const {
    float sum = CellAt(i, j).shade;
    for (const auto& d : kNeighbours8) {
        const float weight = (d[0] == 0 || d[1] == 0) ? 0.5f : 0.25f;
        sum += weight * CellAt(i + d[0], j + d[1]).shade;
    }
    return sum * 0.25f;
}

bool Terrain::RayHitCell(const Ray& ray, int32_t ci, int32_t cj, float tEnter, float tExit, float& bestT,
                         float& bestMiss, Vector3& candidate) const {
    const float h00 = CellAt(ci, cj).height;
    const float h10 = CellAt(ci + 1, cj).height;
    const float h01 = CellAt(ci, cj + 1).height;
    const float h11 = CellAt(ci + 1, cj + 1).height;
    if (std::isfinite(tExit)) {
        const float zA = ray.origin.z + ray.direction.z * tEnter;
        const float zB = ray.origin.z + ray.direction.z * tExit;
        const float low = std::min({h00, h10, h01, h11});
        const float high = std::max({h00, h10, h01, h11});
        if (std::max(zA, zB) < low - kBandSlack || std::min(zA, zB) > high + kBandSlack) {
            return false;
        }
    }
    const float x0 = kCellSize * float(ci);
    const float y0 = kCellSize * float(cj);
    const Vector3 p00(x0, y0, h00);
    const Vector3 p10(x0 + kCellSize, y0, h10);
    const Vector3 p01(x0, y0 + kCellSize, h01);
    const Vector3 p11(x0 + kCellSize, y0 + kCellSize, h11);
    Triangle triangles[2];
    if (((ci + cj) & 1) == 0) {
        triangles[0] = Triangle(p00, p10, p11);
        triangles[1] = Triangle(p00, p11, p01);
    } else {
        triangles[0] = Triangle(p00, p10, p01);
        triangles[1] = Triangle(p10, p11, p01);
    }
    bool hit = false;
    for (const Triangle& triangle : triangles) {
        float t = 0.0f;
        float miss = 0.0f;
        const int code = ray.IntersectTriangle(triangle, t, miss);
        if (t < 0.0f) {
            continue;
        }
        if (code == 3 && (!hit || t < bestT)) {
            hit = true;
            bestT = t;
        } else if (code == 0 && miss < bestMiss) {
            bestMiss = miss;
            candidate = ray.PointAt(t);
        }
    }
    return hit;
}

int Terrain::RayHit(const Ray& ray, Vector3& point) const {
    const Vector3& o = ray.origin;
    const Vector3& d = ray.direction;
    if (!std::isfinite(o.x) || !std::isfinite(o.y) || !std::isfinite(o.z) || !std::isfinite(d.x) ||
        !std::isfinite(d.y) || !std::isfinite(d.z)) {
        return 0;
    }
    // The walk runs in the map's own range; the answer goes back to the caller's image.
    const Vector3 start(FoldCoordinate(o.x, WorldWidth()), FoldCoordinate(o.y, WorldHeight()), o.z);
    const Vector3 imageOffset = o - start;
    float bestT = 0.0f;
    float bestMiss = kFloatMax;
    Vector3 candidate;
    const float horizontal = std::sqrt(d.x * d.x + d.y * d.y);
    if (horizontal <= Tolerance) {
        const Ray down(start, d);
        const int32_t ci = FloorToInt(start.x / kCellSize);
        const int32_t cj = FloorToInt(start.y / kCellSize);
        if (RayHitCell(down, ci, cj, 0.0f, std::numeric_limits<float>::infinity(), bestT, bestMiss, candidate)) {
            point = down.PointAt(bestT) + imageOffset;
            return 3;
        }
    } else if (WalkRay(start, d / horizontal, bestT, bestMiss, candidate)) {
        point = candidate + imageOffset;
        return 3;
    }
    if (bestMiss >= 0.0f && bestMiss < 0.1f) {
        point = candidate + imageOffset;
        return 3;
    }
    return 0;
}

bool Terrain::WalkRay(const Vector3& start, Vector3 direction, float& bestT, float& bestMiss,
                      Vector3& candidate) const {
    SnapNearZero(direction);
    if (direction.z == 0.0f) {
        return false;
    }
    const Ray ray(start, direction);
    int32_t ci = FloorToInt(start.x / kCellSize);
    int32_t cj = FloorToInt(start.y / kCellSize);
    const float infinity = std::numeric_limits<float>::infinity();
    const int32_t stepI = direction.x > 0.0f ? 1 : -1;
    const int32_t stepJ = direction.y > 0.0f ? 1 : -1;
    const float deltaX = direction.x != 0.0f ? kCellSize / std::fabs(direction.x) : infinity;
    const float deltaY = direction.y != 0.0f ? kCellSize / std::fabs(direction.y) : infinity;
    const float boundaryX = kCellSize * float(direction.x > 0.0f ? ci + 1 : ci);
    const float boundaryY = kCellSize * float(direction.y > 0.0f ? cj + 1 : cj);
    float nextX = direction.x != 0.0f ? (boundaryX - start.x) / direction.x : infinity;
    float nextY = direction.y != 0.0f ? (boundaryY - start.y) / direction.y : infinity;
    float tEnter = 0.0f;
    // A nearly level ray would otherwise cross the wrapping map for ever.
    const int32_t maxCells = 4 * (width_ + height_);
    for (int32_t walked = 0; walked < maxCells; ++walked) {
        const float z = start.z + direction.z * tEnter;
        if ((z > kMaxHeight && direction.z > 0.0f) || (z < -kMaxHeight && direction.z < 0.0f)) {
            return false;
        }
        const float tExit = std::min(nextX, nextY);
        if (RayHitCell(ray, ci, cj, tEnter, tExit, bestT, bestMiss, candidate)) {
            candidate = ray.PointAt(bestT);
            return true;
        }
        tEnter = tExit;
        if (nextX < nextY) {
            ci += stepI;
            nextX += deltaX;
        } else {
            cj += stepJ;
            nextY += deltaY;
        }
    }
    return false;
}

bool Terrain::IsMarkBorder(const TerrainPoint& p, bool fourNeighbours) const {
    return IsMarkBorder(p.i, p.j, fourNeighbours);
}

bool Terrain::IsMarkBorder(int32_t i, int32_t j, bool fourNeighbours) const {
    if (CellAt(i, j).mark == 0) {
        return false;
    }
    if (fourNeighbours) {
        return std::any_of(std::begin(kNeighbours4), std::end(kNeighbours4),
                           [&](const int* d) { return CellAt(i + d[0], j + d[1]).mark == 0; });
    }
    return std::any_of(std::begin(kNeighbours8), std::end(kNeighbours8),
                       [&](const int* d) { return CellAt(i + d[0], j + d[1]).mark == 0; });
}

void Terrain::CopyCells(const Terrain& other) {
    width_ = other.width_;
    height_ = other.height_;
    cells_ = other.cells_;
    tileIndices_.Reserve(width_ * height_ * kTerrainTypeCount);
    UpdateAllTileIndices();
}

TerrainType Terrain::TypeFromLetter(char letter) { return TerrainTypeFromLetter(letter); }

void Terrain::WriteCell(Stream& stream, const TerrainCell& cell) {
    const char variant = char('a' + std::clamp(cell.variant, 0, 25));
    stream << GetTerrainTypeInfo(cell.type).letter << variant << cell.height << " ";
}

void Terrain::ReadCell(Stream& stream, TerrainCell& cell) {
    while (stream.IsGood()) {
        char c = 0;
        stream.ReadChar(c);
        const TerrainType type = TypeFromLetter(c);
        if (type >= 0) {
            cell.type = type;
            break;
        }
    }
    if (IsLetter(stream.PeekChar())) {
        char c = 0;
        stream.ReadChar(c);
        cell.variant = std::clamp(c - 'a', 0, GetTerrainTypeInfo(cell.type).variants - 1);
    }
    // A height that is no finite number leaves the cell's 0 (and the stream's error).
    ReadFloatField(stream, cell.height);
}

Stream& Terrain::Save(Stream& stream) const {
    stream << "[ ";
    Point(width_, height_).WriteText(stream);
    stream << ", " << Endl;
    for (int32_t j = 0; j < height_; ++j) {
        for (int32_t i = 0; i < width_; ++i) {
            WriteCell(stream, CellAt(i, j));
        }
        stream << Endl;
    }
    return stream << "]";
}

Terrain::LoadResult Terrain::Load(Stream& stream, Point& size) {
    size.ReadText(stream);
    if (stream.HasError()) {
        return LoadResult::kCut;
    }
    if (size.x < kMinSide || size.x > kMaxSide || size.y < kMinSide || size.y > kMaxSide) {
        return LoadResult::kSizeRefused;
    }
    Resize(size.x, size.y);
    bool anyVariant = false;
    // Exactly the declared cells are read; those of an odd last column or row fall
    // outside the even-sized map and are dropped, so no later row shifts.
    for (int32_t j = 0; j < size.y; ++j) {
        for (int32_t i = 0; i < size.x; ++i) {
            TerrainCell cell;
            if (stream.IsGood()) {
                ReadCell(stream, cell);
            }
            cell.height = std::clamp(cell.height, -kMaxHeight, kMaxHeight);
            if (i < width_ && j < height_) {
                CellAt(i, j) = cell;
                anyVariant = anyVariant || cell.variant > 0;
            }
        }
    }
    if (!anyVariant) {
        for (int32_t k = 0; k < width_ * height_; ++k) {
            cells_[k].variant = RandomVariant(cells_[k].type);
        }
    }
    UpdateAllTileIndices();
    for (int32_t j = 0; j < height_; ++j) {
        for (int32_t i = 0; i < width_; ++i) {
            Relax(i, j);
        }
    }
    for (;;) {
        char c = 0;
        stream.ReadChar(c);
        if (stream.HasError() || c == ']') {
            break;
        }
    }
    UpdateShading();
    return stream.HasError() ? LoadResult::kCut : LoadResult::kLoaded;
}
