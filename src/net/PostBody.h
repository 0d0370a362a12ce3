#pragma once
// The body of a POST request: its size, its content type (empty for none) and how it
// writes itself to the connection.
#include <cstddef>
#include <optional>
#include <string>

class NetIOStream;

class PostBody {
public:
    virtual ~PostBody() = default;
    virtual size_t Size() const = 0;
    virtual std::optional<std::string> ContentType() const = 0;
    virtual bool WriteTo(NetIOStream& stream) const = 0;
};
