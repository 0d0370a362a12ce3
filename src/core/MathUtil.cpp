#include "core/MathUtil.h"

#include <cmath>
#include <cstring>

#include "core/Vector2.h"
#include "core/Vector3.h"
#include "platform/sys/Random.h"

float Tolerance = kDefaultTolerance;

float ClampToNonNegative(float value) { return value > 0.0f ? value : 0.0f; }

float* MaxFloatPointer(float* a, float* b) { return *b > *a ? b : a; }

const float* MaxFloatPointer(const float* a, const float* b) { return *b > *a ? b : a; }

void CopyFourWords(void* destination, const void* source) { std::memmove(destination, source, 16); }

float FloatMod(float a, float b) { return std::fmod(a, b); }

Vector3 ProjectDownAlongDirection(const Vector3& point, float height, const Vector3& direction) {
    // A direction without a downward part never reaches the ground: no horizontal travel.
    const float t = FloatNearZero(direction.z) ? 0.0f : height / -direction.z;
    return {point.x + direction.x * t / 2.0f, point.y + direction.y * t / 2.0f, point.z - height};
}

float RandomFloatBetween(float a, float b) { return a + (b - a) * static_cast<float>(sys::Rand()) / 32767.0f; }

int RandomIntBetween(int a, int b) {
    const int64_t r = sys::Rand();
    return static_cast<int>((r * (int64_t(b) - a) + 16383) / 32767 + a);
}

int RandomPick(int count) {
    if (count < 1) {
        return -1;
    }
    const int64_t r = sys::Rand();
    return static_cast<int>((r * (int64_t(count) - 1) + 16383) / 32767);
}

Vector2 RandomPointInCircle(const Vector2& centre, float radius) {
    const float distance = radius * std::sqrt(static_cast<float>(sys::Rand()) / 32767.0f);
    const float angle = static_cast<float>(sys::Rand()) / 32767.0f * 2.0f * kPi;
    return {centre.x + distance * std::cos(angle), centre.y + distance * std::sin(angle)};
}

Vector2 RandomPointInCircle(const Vector3& circle) {
    return RandomPointInCircle(Vector2(circle.x, circle.y), circle.z);
}
