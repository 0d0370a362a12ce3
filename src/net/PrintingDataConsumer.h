#pragma once
// Writes the reply body to standard output; the client's choice when the caller gave none.
#include <cstdio>

#include "net/DataConsumer.h"

class PrintingDataConsumer : public DataConsumer {
public:
    void Begin(const std::string&) override {}
    void Data(const char* bytes, size_t length) override { std::fwrite(bytes, 1, length, stdout); }
    void End() override { std::fflush(stdout); }
};
