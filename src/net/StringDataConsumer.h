#pragma once
// Keeps the reply body as text.
#include <string>

#include "net/DataConsumer.h"

class StringDataConsumer : public DataConsumer {
public:
    void Begin(const std::string&) override {}
    void Data(const char* bytes, size_t length) override { text_.append(bytes, length); }
    void End() override {}

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
