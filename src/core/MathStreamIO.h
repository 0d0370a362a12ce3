#pragma once
// The text and binary forms shared by every math record: "< a, b, c >" text and
// little-endian 4-byte IEEE floats.
#include <cstdint>

class Stream;

// Reads one float as the retry reader does, skipping one by one the characters that
// cannot start a number ("<", blanks, commas). A number that is there but not finite
// ("nan", "inf", an overflow) is unreadable: it is consumed and counted by the stream,
// the value stays, and the next component is read from what follows it rather than the
// word being skipped. Finding no number before the end of the text sets the error flag,
// so that a loop of reads at the end of a text stops. Nothing is read from a stream
// whose error flag is set.
void ReadFloatField(Stream& stream, float& value);
// The integer twin for Point and Color components.
void ReadIntSkipping(Stream& stream, int32_t& value);

// Reads characters up to and including the next '>'; the error flag is set when the
// text ends first.
void SkipPastClosingBracket(Stream& stream);

// "< v0, v1, ... >" with the stream's float write.
void WriteFloatsText(Stream& stream, const float* values, int count);
void ReadFloatsText(Stream& stream, float* values, int count);
void WriteIntsText(Stream& stream, const int32_t* values, int count);
void ReadIntsText(Stream& stream, int32_t* values, int count);

// Each value 4 bytes, IEEE single precision, little-endian. A read stops at the first
// short read (the error flag is then set) and leaves the remaining values untouched; it
// reads nothing from a stream whose error flag is already set.
void WriteFloatsBinary(Stream& stream, const float* values, int count);
void ReadFloatsBinary(Stream& stream, float* values, int count);
