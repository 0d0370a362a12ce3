#pragma once
// Case-insensitive hash of names for the renderer's caches: two spellings of one file
// name land in one bucket. Tables take it modulo their bucket count.
#include <cstdint>

class String;

// The ELF hash of the upper-cased characters (without the terminating zero).
uint32_t StringHash(const char* text);
uint32_t StringHash(const String& text);
