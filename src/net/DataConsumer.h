#pragma once
// Receives the body of an HTTP reply.
#include <cstddef>
#include <string>

class DataConsumer {
public:
    virtual ~DataConsumer() = default;
    virtual void Begin(const std::string& path) = 0;
    virtual void Data(const char* bytes, size_t length) = 0;
    virtual void End() = 0;
};
