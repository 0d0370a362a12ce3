// Bytes from a peer, cut into frames and unpacked as compressed payloads. The first input
// byte sets the size of the pieces the bytes arrive in, as reads of any size may.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "harness/FuzzTarget.h"
#include "net/PayloadCompression.h"
#include "platform/net/FrameReader.h"

VORNS_FUZZ_TARGET(data, size) {
    if (size == 0) return 0;
    const size_t piece = static_cast<size_t>(data[0]) + 1;
    sock::FrameReader reader;
    std::vector<uint8_t> payload, unpacked;
    for (size_t offset = 1; offset < size; offset += piece) {
        reader.Append(data + offset, std::min(piece, size - offset));
        for (;;) {
            const sock::FrameStatus status = reader.Next(payload);
            if (status != sock::FrameStatus::Frame) break;
            UncompressPayload(payload.data(), payload.size(), unpacked);
        }
    }
    return 0;
}
