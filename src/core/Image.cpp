#include "core/Image.h"

#include <algorithm>
#include <cstdint>

#include "core/Tga.h"

namespace {

// A keying pixel is near white: every colour byte at least this.
constexpr int kKeyLevel = 248;

uint8_t ToByte(double value) { return static_cast<uint8_t>(std::clamp(value + 0.5, 0.0, 255.0)); }

bool IsKey(Color c) { return c.Red() >= kKeyLevel && c.Green() >= kKeyLevel && c.Blue() >= kKeyLevel; }

// Weighted sums of the four colour parts.
struct ColourSum {
    double red = 0, green = 0, blue = 0, alpha = 0, weight = 0;

    void Add(Color c, double w) {
        red += c.Red() * w;
        green += c.Green() * w;
        blue += c.Blue() * w;
        alpha += c.Alpha() * w;
        weight += w;
    }

    Color Mean() const {
        return Color::FromRGBA(ToByte(red / weight), ToByte(green / weight), ToByte(blue / weight),
                               ToByte(alpha / weight));
    }
};

uint8_t Mix(int source, int destination, int alpha) {
    return static_cast<uint8_t>((source * alpha + destination * (255 - alpha) + 127) / 255);
}

// One channel of a recoloured pixel: the three colours' shares plus the grey part.
uint8_t RecolourChannel(int first, int second, int third, int red, int green, int blue, int grey) {
    const int sum = (first * red + second * green + third * blue + 127) / 255 + grey;
    return static_cast<uint8_t>(std::min(sum, 255));
}

}  // namespace

Image::Image(int width, int height) { Resize(width, height); }

void Image::Resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
}

void Image::Fill(Color colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Image::HalfSizePlain(Image& result) const { HalveInto(result, false); }

void Image::HalfSize(Image& result) const { HalveInto(result, true); }

void Image::HalveInto(Image& result, bool keyed) const {
    Image halved(width_ / 2, height_ / 2);
    for (int y = 0; y < halved.height_; ++y) {
        for (int x = 0; x < halved.width_; ++x) {
            ColourSum all;
            ColourSum unkeyed;
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i) {
                    const int sx = 2 * x + i;
                    const int sy = 2 * y + j;
                    if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_) continue;
                    // Distance from the centre (2x + 0.5, 2y + 0.5): weights 1/4.5 to 2.
                    const double di = i - 0.5;
                    const double dj = j - 0.5;
                    const double w = 1.0 / (di * di + dj * dj);
                    const Color c = At(sx, sy);
                    all.Add(c, w);
                    if (!IsKey(c)) unkeyed.Add(c, w);
                }
            }
            const bool useUnkeyed = keyed && unkeyed.weight > 0;
            halved.At(x, y) = useUnkeyed ? unkeyed.Mean() : all.Mean();
        }
    }
    result = std::move(halved);
}

void Image::Blit(const Image& source, int x, int y) {
    if (&source == this) {
        const Image copy(source);
        Blit(copy, x, y);
        return;
    }
    const int x0 = std::max(0, -x);
    const int y0 = std::max(0, -y);
    const int x1 = std::min(source.width_, width_ - x);
    const int y1 = std::min(source.height_, height_ - y);
    for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
            const Color s = source.At(sx, sy);
            Color& d = At(x + sx, y + sy);
            const int a = s.Alpha();
            d = Color::FromRGBA(Mix(s.Red(), d.Red(), a), Mix(s.Green(), d.Green(), a), Mix(s.Blue(), d.Blue(), a),
                                std::max(s.Alpha(), d.Alpha()));
        }
    }
}

void Image::BlendBlit(const Image& source, int x, int y, Color primary, Color trim) {
    Image recoloured(source);
    recoloured.Recolour(primary, trim, Color(), true, true, false);
    Blit(recoloured, x, y);
}

void Image::CopyAlphaFrom(const Image& other) {
    if (other.width_ != width_ || other.height_ != height_) return;
    for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i].SetAlpha(other.pixels_[i].Alpha());
}

void Image::Recolour(Color first, Color second, Color third, bool useFirst, bool useSecond, bool useThird) {
    const Color a = useFirst ? first : Color::FromRGBA(255, 0, 0, 255);
    const Color b = useSecond ? second : Color::FromRGBA(0, 255, 0, 255);
    const Color c = useThird ? third : Color::FromRGBA(0, 0, 255, 255);
    for (Color& p : pixels_) {
        const int grey = std::min({p.Red(), p.Green(), p.Blue()});
        const int r = p.Red() - grey;
        const int g = p.Green() - grey;
        const int bl = p.Blue() - grey;
        p = Color::FromRGBA(RecolourChannel(a.Red(), b.Red(), c.Red(), r, g, bl, grey),
                            RecolourChannel(a.Green(), b.Green(), c.Green(), r, g, bl, grey),
                            RecolourChannel(a.Blue(), b.Blue(), c.Blue(), r, g, bl, grey), p.Alpha());
    }
}

bool Image::SaveTGA(std::string_view fileName) const {
    // The TGA header holds each side in 16 bits.
    if (width_ > 0xFFFF || height_ > 0xFFFF) return false;
    std::vector<uint8_t> buffer(pixels_.size() * 4);
    TgaDescription d;
    d.imageType = 2;
    d.width = static_cast<uint16_t>(width_);
    d.height = static_cast<uint16_t>(height_);
    d.pixelDepth = 32;
    d.descriptor = kTgaTopFirst;
    d.pixels = buffer.data();
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Color c = At(x, y);
            TgaStorePixel(TgaPixelAddress(d, x, y), 32, c.Blue(), c.Green(), c.Red(), c.Alpha());
        }
    }
    return WriteTgaFile(fileName, d) == kTgaWritten;
}
