// Little-endian cache fields.
#include "engine/BinaryFields.h"

#include <cmath>
#include <string>

#include "core/MathStreamIO.h"
#include "core/Stream.h"

void WriteUInt32(Stream& stream, uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    stream.Write(bytes, 4);
}

void WriteInt32(Stream& stream, int32_t value) { WriteUInt32(stream, uint32_t(value)); }

void WriteFloat(Stream& stream, float value) { WriteFloatsBinary(stream, &value, 1); }

void WriteByte(Stream& stream, uint8_t value) { stream.Write(&value, 1); }

void WriteCountedString(Stream& stream, const String& text) {
    WriteInt32(stream, text.Length());
    stream.Write(text.CStr(), text.Length());
}

uint32_t ReadUInt32(Stream& stream) {
    if (stream.HasError()) return 0;
    uint8_t bytes[4] = {};
    stream.Read(bytes, 4);
    if (stream.HasError()) return 0;
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) | (uint32_t(bytes[3]) << 24);
}

int32_t ReadInt32(Stream& stream) { return int32_t(ReadUInt32(stream)); }

float ReadFloat(Stream& stream) {
    float value = 0.0f;
    ReadFloatsBinary(stream, &value, 1);
    if (std::isfinite(value)) return value;
    stream.SetError();
    return 0.0f;
}

uint8_t ReadByte(Stream& stream) {
    if (stream.HasError()) return 0;
    uint8_t value = 0;
    stream.Read(&value, 1);
    return stream.HasError() ? 0 : value;
}

int32_t ReadCount(Stream& stream, int32_t bound) {
    const int32_t count = ReadInt32(stream);
    if (count <= 0) return 0;
    if (count > bound) {
        stream.SetError();
        return 0;
    }
    return count;
}

String ReadCountedString(Stream& stream) {
    const int32_t length = ReadCount(stream, kMaxStoredStringLength);
    std::string bytes;
    for (int32_t i = 0; i < length && !stream.HasError(); ++i) {
        char c = 0;
        stream.Read(&c, 1);
        if (!stream.HasError()) bytes.push_back(c);
    }
    // The stored count includes the terminating zero; a zero inside ends the text.
    return String(bytes.c_str());
}

void WriteFloatArray(Stream& stream, const Array<float>& values) {
    WriteInt32(stream, values.Count());
    for (float value : values) WriteFloat(stream, value);
}

void ReadFloatArray(Stream& stream, Array<float>& values, int32_t bound) {
    values.Clear();
    for (int32_t n = ReadCount(stream, bound); n > 0 && !stream.HasError(); --n) {
        const float value = ReadFloat(stream);
        if (!stream.HasError()) values.Append(value);
    }
}

void WriteIntArray(Stream& stream, const Array<int32_t>& values) {
    WriteInt32(stream, values.Count());
    for (int32_t value : values) WriteInt32(stream, value);
}

void ReadIntArray(Stream& stream, Array<int32_t>& values, int32_t bound) {
    values.Clear();
    for (int32_t n = ReadCount(stream, bound); n > 0 && !stream.HasError(); --n) {
        const int32_t value = ReadInt32(stream);
        if (!stream.HasError()) values.Append(value);
    }
}
