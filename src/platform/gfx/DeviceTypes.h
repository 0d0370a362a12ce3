#pragma once
// The records the device takes and gives: colours in floats, lights, materials, the
// viewport, clear rectangles, capabilities and display modes.
#include <array>
#include <cstdint>

#include "core/Vector3.h"
#include "platform/gfx/States.h"

namespace gfx {

struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
    bool operator==(const ColorValue&) const = default;
};

enum class LightType : uint32_t { Point = 1, Spot = 2, Directional = 3 };

// Positions and directions are in world space. A directional light shines along its
// direction; a point light falls off by 1 / (a0 + a1 d + a2 d^2).
struct Light {
    LightType type = LightType::Directional;
    ColorValue diffuse{1, 1, 1, 0};
    ColorValue specular;
    ColorValue ambient;
    Vector3 position;
    Vector3 direction{0, 0, 1};
    float range = 0;
    float falloff = 0;
    float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
    float theta = 0;  // inner cone angle of a spot light, radians
    float phi = 0;    // outer cone angle
    bool operator==(const Light&) const = default;
};

struct Material {
    ColorValue diffuse{1, 1, 1, 1};
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
    bool operator==(const Material&) const = default;
};

// In pixels of the render target, y downwards; depths map 0..1 onto minZ..maxZ.
struct Viewport {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    float minZ = 0, maxZ = 1;
    bool operator==(const Viewport&) const = default;
};

// Half-open pixel rectangle [left, right) x [top, bottom).
struct ClearRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

enum ClearFlags : uint32_t { kClearTarget = 1, kClearDepth = 2 };

// a x + b y + c z + d >= 0 is kept; given in world space.
using ClipPlane = std::array<float, 4>;

enum class TransformKind : uint32_t { World, View, Projection, Count };

enum class PrimitiveType : uint32_t { PointList = 1, LineList, LineStrip, TriangleList, TriangleStrip, TriangleFan };

// Static buffers survive a device reset. Dynamic ones are rewritten whole with
// discarding locks, and must all be released before a reset can succeed.
enum class BufferUsage : uint32_t { Static, Dynamic };

enum class IndexFormat : uint32_t { Index16 = 2, Index32 = 4 };

enum LockFlags : uint32_t { kLockNone = 0, kLockDiscard = 1, kLockReadOnly = 2 };

struct DeviceCaps {
    uint32_t maxSimultaneousTextures = kMaxTextureStages;
    uint32_t maxTextureWidth = 4096;
    uint32_t maxTextureHeight = 4096;
    uint32_t maxActiveLights = kMaxLights;
    uint32_t maxUserClipPlanes = kMaxClipPlanes;
};

struct DisplayMode {
    uint32_t width = 0, height = 0, refreshRate = 0;
    bool operator==(const DisplayMode&) const = default;
};

// What the device is created (and reset) with.
struct PresentParams {
    uint32_t backBufferWidth = 0;  // 0 with windowed: the window's client size
    uint32_t backBufferHeight = 0;
    bool windowed = true;
    uint32_t multisample = 0;
    // Display refreshes a present waits for: 1 paces presents to the display where it
    // can, 0 presents at once.
    uint32_t presentInterval = 1;
};

}  // namespace gfx
