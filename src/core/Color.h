#pragma once
// A packed colour 0xAARRGGBB: in memory the bytes are blue, green, red, alpha.
#include <array>
#include <cstdint>

class Stream;

struct Color {
    uint32_t argb = 0;

    constexpr Color() = default;
    constexpr explicit Color(uint32_t packed) : argb(packed) {}
    static constexpr Color FromRGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        return Color((uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b));
    }

    constexpr uint8_t Red() const { return uint8_t(argb >> 16); }
    constexpr uint8_t Green() const { return uint8_t(argb >> 8); }
    constexpr uint8_t Blue() const { return uint8_t(argb); }
    constexpr uint8_t Alpha() const { return uint8_t(argb >> 24); }
    void SetRed(uint8_t v) { SetByte(16, v); }
    void SetGreen(uint8_t v) { SetByte(8, v); }
    void SetBlue(uint8_t v) { SetByte(0, v); }
    void SetAlpha(uint8_t v) { SetByte(24, v); }
    bool operator==(const Color& o) const = default;

    // Red, green, blue, alpha, each byte / 255.
    std::array<float, 4> ToFloats() const;

    // "< red, green, blue, alpha >" with integer components 0 to 255.
    void WriteText(Stream& stream) const;
    // Four integers into red, green, blue and alpha (each kept as its low byte), then
    // through the closing '>'.
    void ReadText(Stream& stream);
    // Four bytes: red, green, blue, alpha.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);

private:
    void SetByte(int shift, uint8_t v) { argb = (argb & ~(0xFFu << shift)) | (uint32_t(v) << shift); }
};

// Relative luminance of a colour's red, green and blue, 0 for black to 1 for white.
float RelativeLuminance(Color colour);
// How far one luminance stands out from another, 1 : 1 for equal to 21 : 1 for white on
// black.
float ContrastRatio(float lighter, float darker);

// The colour a player's name or line is written in over a dark background: the colour made
// opaque and mixed with white only as far as the text needs to stand out from the
// background at 4.5 : 1, so that its hue stays and black or see-through colours still
// read. Every screen that writes in a player's colour draws with it.
Color ReadableTextColour(Color colour, Color background);
