#pragma once
// The little-endian fields of the model cache and the pose files: 32-bit integers,
// IEEE single floats, bytes and counted strings. Reads never throw; a short read sets
// the stream's error flag and yields 0, so a caller tests the flag after a record.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"

class Stream;

void WriteUInt32(Stream& stream, uint32_t value);
void WriteInt32(Stream& stream, int32_t value);
void WriteFloat(Stream& stream, float value);
void WriteByte(Stream& stream, uint8_t value);
// A 32-bit count that includes the terminating zero, then that many bytes.
void WriteCountedString(Stream& stream, const String& text);

uint32_t ReadUInt32(Stream& stream);
int32_t ReadInt32(Stream& stream);
// The program never stores a number that is not finite: one read is damage.
float ReadFloat(Stream& stream);
uint8_t ReadByte(Stream& stream);
// A count of stored records: a negative one reads as 0; one above the bound marks the
// stream as damaged (a binary form cannot skip records it does not store).
int32_t ReadCount(Stream& stream, int32_t bound);
// Strings are read byte by byte into the text, so a damaged count costs only what the
// stream really holds; an unreadable count gives an empty text.
String ReadCountedString(Stream& stream);

// A count, then that many floats (or 32-bit integers). Values are appended one by one
// for the same reason as strings.
void WriteFloatArray(Stream& stream, const Array<float>& values);
void ReadFloatArray(Stream& stream, Array<float>& values, int32_t bound);
void WriteIntArray(Stream& stream, const Array<int32_t>& values);
void ReadIntArray(Stream& stream, Array<int32_t>& values, int32_t bound);

// Bounds of what a cache or pose file may hold. A stored string longer than any name or
// path the program makes is damage.
constexpr int32_t kMaxStoredStringLength = 1 << 16;
constexpr int32_t kMaxStoredRecords = 1 << 24;
