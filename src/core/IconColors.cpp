// Colour touch-ups of buttons and round icons.
#include "core/IconColors.h"

#include <algorithm>
#include <cstdlib>

#include "core/Image.h"

namespace {

constexpr Color kOpaqueWhite = Color::FromRGBA(255, 255, 255, 255);

int LargestChannel(Color colour) { return std::max({colour.Red(), colour.Green(), colour.Blue()}); }

Color Scaled(Color colour, int largest) {
    const auto scale = [largest](uint8_t channel) { return uint8_t(channel * 255 / largest); };
    return Color::FromRGBA(scale(colour.Red()), scale(colour.Green()), scale(colour.Blue()), 255);
}

bool IsGrey(Color colour) {
    const int r = colour.Red(), g = colour.Green(), b = colour.Blue();
    return std::abs(r - g) < 8 && std::abs(g - b) < 8 && std::abs(r - b) < 8;
}

}  // namespace

Color BrightenColor(Color colour) {
    const int largest = LargestChannel(colour);
    return largest == 0 ? kOpaqueWhite : Scaled(colour, largest);
}

void BrightenColorPair(Color& first, Color& second) {
    const int largest = std::max(LargestChannel(first), LargestChannel(second));
    if (largest == 0) {
        first = second = kOpaqueWhite;
        return;
    }
    first = Scaled(first, largest);
    second = Scaled(second, largest);
}

void ClearGreyOuterPixels(Image& image) {
    const int halfWidth = image.Width() / 2;
    const int halfHeight = image.Height() / 2;
    const int radiusSquared = halfWidth * halfWidth + halfHeight * halfHeight;
    if (halfWidth == 0 || halfHeight == 0) return;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            Color& pixel = image.At(x, y);
            if (!IsGrey(pixel)) continue;
            const int dx = x - halfWidth, dy = y - halfHeight;
            if (float(dx * dx + dy * dy) / float(radiusSquared) > 0.28f) pixel = Color();
        }
    }
}
