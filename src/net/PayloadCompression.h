#pragma once
// The compressed form of a message payload: a little-endian u32 with the uncompressed
// length, then a zlib stream of the uncompressed bytes. Both ends must agree that
// compression is on; nothing in the frame says so.
#include <cstddef>
#include <cstdint>
#include <vector>

// False (and `packed` empty) when the payload is over the message limit or zlib fails.
bool CompressPayload(const uint8_t* data, size_t length, std::vector<uint8_t>& packed);

// False when the frame is shorter than its header, announces more than the message limit,
// is not a complete zlib stream, or unpacks to another length than announced.
bool UncompressPayload(const uint8_t* data, size_t length, std::vector<uint8_t>& unpacked);
