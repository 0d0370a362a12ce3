#pragma once
// The process-wide tolerance, near-zero tests, random helpers and small free functions
// shared by the math records.
#include <cmath>
#include <cstdint>

struct Vector2;
struct Vector3;

// Decides every near-zero and near-equal test. A few computations set it to another
// value (0.01, 0.0000000001 or 0) for their own duration and restore it afterwards;
// ToleranceScope does that.
extern float Tolerance;

constexpr float kDefaultTolerance = 0.00001f;
constexpr float kPi = 3.14159265358979323846f;
constexpr float kTwoPi = 2.0f * kPi;
// The largest finite float, the "no answer yet" start of nearest searches.
constexpr float kFloatMax = 3.4028235e38f;

class ToleranceScope {
public:
    explicit ToleranceScope(float value) : saved_(Tolerance) { Tolerance = value; }
    ~ToleranceScope() { Tolerance = saved_; }
    ToleranceScope(const ToleranceScope&) = delete;
    ToleranceScope& operator=(const ToleranceScope&) = delete;

private:
    float saved_;
};

// |x| <= Tolerance; a value equal to the tolerance still counts as near.
inline bool FloatNearZero(float x) { return std::fabs(x) <= Tolerance; }

// The larger of value and 0; NaN gives 0.
float ClampToNonNegative(float value);

// The pointer to the larger value; a when the two are equal.
float* MaxFloatPointer(float* a, float* b);
const float* MaxFloatPointer(const float* a, const float* b);

// Copies a record of four 32-bit words (a quaternion, a Vector4, a colour quad).
void CopyFourWords(void* destination, const void* source);

// The float remainder of a by b, with the sign of a.
float FloatMod(float a, float b);

// Truncation toward zero that saturates at the int32 range; a non-finite value gives 0.
// Inline: the arena's cell lookups make it one of the simulation's most frequent calls.
inline int32_t TruncateToInt(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0f) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

// The point lowered by height and moved by half the horizontal travel along direction
// that such a drop takes: (p.x + d.x t / 2, p.y + d.y t / 2, p.z - h) with t = h / -d.z.
Vector3 ProjectDownAlongDirection(const Vector3& point, float height, const Vector3& direction);

// Random helpers over sys::Rand (0..32767).
float RandomFloatBetween(float a, float b);
// (r (b - a) + 16383) / 32767 + a, rounded to the nearest step; computed in 64 bits so
// wide and negative ranges work.
int RandomIntBetween(int a, int b);
// An index among count items, (r (count - 1) + 16383) / 32767, so the two end indices
// are half as likely as the others; -1 ("none") when count < 1.
int RandomPick(int count);
// Uniform over the disc: distance radius sqrt(r1 / 32767), angle from a second draw.
Vector2 RandomPointInCircle(const Vector2& centre, float radius);
// The same for a circle given as (centre x, centre y, radius).
Vector2 RandomPointInCircle(const Vector3& circle);
