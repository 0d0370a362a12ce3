// A reply of the lobby's web host (or of a proxy) read by the HTTP client, and its body
// read as a server list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "harness/FuzzTarget.h"
#include "net/HTTP_Handler.h"
#include "net/LobbyServerList.h"
#include "net/NetIOStream.h"
#include "net/StringDataConsumer.h"
#include "net/Webfetch.h"
#include "platform/net/NetLimits.h"

namespace {

// Serves the input in reads of up to 1000 bytes, then ends.
class MemoryStream : public NetIOStream {
public:
    MemoryStream(const uint8_t* data, size_t size) : NetIOStream(nullptr), data_(data), size_(size) {}

    int64_t Write(const char*, size_t count) override { return static_cast<int64_t>(count); }
    int Fill() override {
        if (offset_ >= size_) return Filled(-1);
        const size_t count = std::min<size_t>({size_ - offset_, 1000, kBufferSize});
        std::memcpy(Buffer(), data_ + offset_, count);
        offset_ += count;
        return Filled(static_cast<int>(count));
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};

}  // namespace

VORNS_FUZZ_TARGET(data, size) {
    Webfetch fetch("none:1");
    HTTP_Handler handler(fetch, "lobby", 80);
    MemoryStream stream(data, size);
    StringDataConsumer body;
    handler.ReadReply(stream, static_cast<int>(HttpMethod::Get), body, sock::kMaxLobbyReplyBytes);
    for (const LobbyServer& server : LobbyServerList::ParseList(body.Text())) LobbyServerList::RowText(server);
    return 0;
}
