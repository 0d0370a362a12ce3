#include "net/PayloadCompression.h"

#include <zlib.h>

#include "platform/net/FrameReader.h"
#include "platform/net/NetLimits.h"

bool CompressPayload(const uint8_t* data, size_t length, std::vector<uint8_t>& packed)
{
    packed.clear();
    if (length > sock::kMaxFrameBytes) return false;
    uLongf packedSize = compressBound(static_cast<uLong>(length));
    packed.resize(4 + packedSize);
    if (compress(packed.data() + 4, &packedSize, data, static_cast<uLong>(length)) != Z_OK) {
        packed.clear();
        return false;
    }
    sock::PutFrameLength(packed.data(), static_cast<uint32_t>(length));
    packed.resize(4 + packedSize);
    return true;
}

bool UncompressPayload(const uint8_t* data, size_t length, std::vector<uint8_t>& unpacked)
{
    unpacked.clear();
    if (length < 4) return false;
    const size_t announced = sock::GetFrameLength(data);
    if (announced > sock::kMaxFrameBytes) return false;
    // One spare byte tells a stream that unpacks to more than announced from an exact one.
    unpacked.resize(announced + 1);
    uLongf produced = static_cast<uLongf>(unpacked.size());
    const int result = uncompress(unpacked.data(), &produced, data + 4, static_cast<uLong>(length - 4));
    if (result != Z_OK || produced != announced) {
        unpacked.clear();
        return false;
    }
    unpacked.resize(announced);
    return true;
}
