#include "core/MathStreamIO.h"

#include <cstring>

#include "core/Stream.h"

namespace {

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

bool CanStartFloat(int c) { return IsDigit(c) || c == '+' || c == '-' || c == '.'; }

bool CanStartInt(int c) { return IsDigit(c) || c == '+' || c == '-'; }

int Lower(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// Consumes the characters of "nan" or "inf" (any case) while they match, starting at
// a first character c that has been peeked. True when the whole word was there: a
// damaged component, not punctuation, so the next component must not take its place.
bool ConsumedNonFiniteWord(Stream& stream, int c) {
    const char* word = Lower(c) == 'n' ? "nan" : Lower(c) == 'i' ? "inf" : nullptr;
    if (word == nullptr) {
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        if (Lower(stream.PeekChar()) != word[k]) {
            return false;
        }
        char consumed;
        stream.ReadChar(consumed);
    }
    return true;
}

enum class Field { kNumber, kNonFinite, kNone };

// Skips characters until one that can start a number. A non-finite word met first is
// consumed and counted; the end of the text sets the error flag.
Field SkipToNumber(Stream& stream, bool (*canStart)(int)) {
    for (;;) {
        const int c = stream.PeekChar();
        if (c < 0) {
            stream.SetError();
            return Field::kNone;
        }
        if (ConsumedNonFiniteWord(stream, c)) {
            stream.CountNonFinite();
            return Field::kNonFinite;
        }
        if (canStart(c)) {
            return Field::kNumber;
        }
        if (Lower(c) != 'n' && Lower(c) != 'i') {
            char skipped;
            stream.ReadChar(skipped);
        }
    }
}

// Reading starts only on a stream without error; one at its end gains the error.
bool CanStartField(Stream& stream) {
    if (stream.IsGood()) {
        return true;
    }
    stream.SetError();
    return false;
}

void PutFloatLE(float value, unsigned char* bytes) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
}

float GetFloatLE(const unsigned char* bytes) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= uint32_t(bytes[i]) << (8 * i);
    }
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

void ReadFloatField(Stream& stream, float& value) {
    if (!CanStartField(stream) || SkipToNumber(stream, CanStartFloat) != Field::kNumber) {
        return;
    }
    stream >> value;
}

void ReadIntSkipping(Stream& stream, int32_t& value) {
    if (!CanStartField(stream) || SkipToNumber(stream, CanStartInt) != Field::kNumber) {
        return;
    }
    int read = value;
    stream >> read;
    value = read;
}

void SkipPastClosingBracket(Stream& stream) {
    while (stream.IsGood()) {
        char c;
        stream.ReadChar(c);
        if (c == '>') {
            return;
        }
    }
    stream.SetError();
}

void WriteFloatsText(Stream& stream, const float* values, int count) {
    stream << "< ";
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            stream << ", ";
        }
        stream << values[i];
    }
    stream << " >";
}

void ReadFloatsText(Stream& stream, float* values, int count) {
    for (int i = 0; i < count; ++i) {
        ReadFloatField(stream, values[i]);
    }
    SkipPastClosingBracket(stream);
}

void WriteIntsText(Stream& stream, const int32_t* values, int count) {
    stream << "< ";
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            stream << ", ";
        }
        stream << static_cast<int>(values[i]);
    }
    stream << " >";
}

void ReadIntsText(Stream& stream, int32_t* values, int count) {
    for (int i = 0; i < count; ++i) {
        ReadIntSkipping(stream, values[i]);
    }
    SkipPastClosingBracket(stream);
}

void WriteFloatsBinary(Stream& stream, const float* values, int count) {
    for (int i = 0; i < count; ++i) {
        unsigned char bytes[4];
        PutFloatLE(values[i], bytes);
        stream.Write(bytes, 4);
    }
}

void ReadFloatsBinary(Stream& stream, float* values, int count) {
    for (int i = 0; i < count && !stream.HasError(); ++i) {
        unsigned char bytes[4];
        stream.Read(bytes, 4);
        if (stream.HasError()) {
            return;
        }
        values[i] = GetFloatLE(bytes);
    }
}
