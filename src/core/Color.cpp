#include "core/Color.h"

#include <algorithm>
#include <cmath>

#include "core/MathStreamIO.h"
#include "core/Stream.h"

std::array<float, 4> Color::ToFloats() const {
    return {Red() / 255.0f, Green() / 255.0f, Blue() / 255.0f, Alpha() / 255.0f};
}

void Color::WriteText(Stream& stream) const {
    const int32_t values[4] = {Red(), Green(), Blue(), Alpha()};
    WriteIntsText(stream, values, 4);
}

void Color::ReadText(Stream& stream) {
    int32_t values[4] = {Red(), Green(), Blue(), Alpha()};
    ReadIntsText(stream, values, 4);
    // Each component is kept as its low byte, as a byte store does.
    *this = FromRGBA(uint8_t(values[0]), uint8_t(values[1]), uint8_t(values[2]), uint8_t(values[3]));
}

void Color::WriteBinary(Stream& stream) const {
    const uint8_t bytes[4] = {Red(), Green(), Blue(), Alpha()};
    stream.Write(bytes, 4);
}

void Color::ReadBinary(Stream& stream) {
    const int shifts[4] = {16, 8, 0, 24};
    for (int i = 0; i < 4 && !stream.HasError(); ++i) {
        uint8_t byte = 0;
        stream.Read(&byte, 1);
        if (stream.HasError()) {
            return;
        }
        SetByte(shifts[i], byte);
    }
}

namespace {

float Linear(float c) { return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f); }

float Luminance(float r, float g, float b) { return 0.2126f * Linear(r) + 0.7152f * Linear(g) + 0.0722f * Linear(b); }

}  // namespace

float RelativeLuminance(Color colour) {
    return Luminance(colour.Red() / 255.0f, colour.Green() / 255.0f, colour.Blue() / 255.0f);
}

float ContrastRatio(float lighter, float darker) { return (lighter + 0.05f) / (darker + 0.05f); }

// Mixed with white in small steps until the contrast with the background is reached.
Color ReadableTextColour(Color colour, Color background) {
    constexpr float kContrast = 4.5f;
    const float least = kContrast * (RelativeLuminance(background) + 0.05f) - 0.05f;
    const float r = colour.Red() / 255.0f, g = colour.Green() / 255.0f, b = colour.Blue() / 255.0f;
    float mix = 0.0f;
    auto toward = [&mix](float c) { return c + (1.0f - c) * mix; };
    while (mix < 1.0f && Luminance(toward(r), toward(g), toward(b)) < least) mix += 0.02f;
    mix = std::min(mix, 1.0f);
    auto byte = [](float c) { return static_cast<uint8_t>(std::lround(c * 255.0f)); };
    return Color::FromRGBA(byte(toward(r)), byte(toward(g)), byte(toward(b)), 255);
}
