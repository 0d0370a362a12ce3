#include "core/Color.h"

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
