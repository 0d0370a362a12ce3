#include "net/PayloadCompression.h"

#include <zlib.h>

#include "platform/net/FrameReader.h"
#include "platform/net/NetLimits.h"

namespace {

// One deflate and one inflate state, reset for each payload: setting a state up costs
// more than packing a typical batch of events. Network code runs on the main thread
// only; thread_local keeps a stray caller on another thread safe all the same.
struct Deflater {
    z_stream stream{};
    bool ready = deflateInit(&stream, Z_DEFAULT_COMPRESSION) == Z_OK;
    ~Deflater() {
        if (ready) deflateEnd(&stream);
    }
};

struct Inflater {
    z_stream stream{};
    bool ready = inflateInit(&stream) == Z_OK;
    ~Inflater() {
        if (ready) inflateEnd(&stream);
    }
};

// The same stream compress() makes: a whole zlib stream at the default level.
bool Deflate(const uint8_t* data, size_t length, uint8_t* out, size_t& outLength) {
    thread_local Deflater deflater;
    if (!deflater.ready || deflateReset(&deflater.stream) != Z_OK) return false;
    z_stream& stream = deflater.stream;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(length);
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(outLength);
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) return false;
    outLength = stream.total_out;
    return true;
}

// True only for one whole stream that fills exactly `outLength` bytes and uses every
// input byte.
bool Inflate(const uint8_t* data, size_t length, uint8_t* out, size_t outLength) {
    thread_local Inflater inflater;
    if (!inflater.ready || inflateReset(&inflater.stream) != Z_OK) return false;
    z_stream& stream = inflater.stream;
    // zlib refuses a missing output area even when nothing is to be written.
    Bytef spare = 0;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(length);
    stream.next_out = out != nullptr ? out : &spare;
    stream.avail_out = static_cast<uInt>(outLength);
    const int result = inflate(&stream, Z_FINISH);
    return result == Z_STREAM_END && stream.total_out == outLength && stream.avail_in == 0;
}

}  // namespace

bool CompressPayload(const uint8_t* data, size_t length, std::vector<uint8_t>& packed) {
    packed.clear();
    if (length > sock::kMaxFrameBytes) return false;
    size_t packedSize = compressBound(static_cast<uLong>(length));
    packed.resize(4 + packedSize);
    if (!Deflate(data, length, packed.data() + 4, packedSize)) {
        packed.clear();
        return false;
    }
    sock::PutFrameLength(packed.data(), static_cast<uint32_t>(length));
    packed.resize(4 + packedSize);
    return true;
}

bool UncompressPayload(const uint8_t* data, size_t length, std::vector<uint8_t>& unpacked) {
    unpacked.clear();
    if (length < 4) return false;
    const size_t announced = sock::GetFrameLength(data);
    if (announced > sock::kMaxFrameBytes) return false;
    unpacked.resize(announced);
    if (!Inflate(data + 4, length - 4, unpacked.data(), announced)) {
        unpacked.clear();
        return false;
    }
    return true;
}
