#include "core/String.h"

#include <locale.h>

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "core/Array.h"
#include "core/Stream.h"

namespace {

// Number formatting goes through a stack buffer of this size.
constexpr int kNumberBufferSize = 1024;
// Token pieces are gathered in a buffer of this size before they are appended.
constexpr int kTokenBufferSize = 1024;
constexpr int kLineBufferSize = 1024;

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

int TextLength(const char* text) { return static_cast<int>(std::strlen(text)); }

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// Case-insensitive equality of n bytes.
bool EqualNoCase(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        if (LowerChar(a[i]) != LowerChar(b[i])) {
            return false;
        }
    }
    return true;
}

// Ordering after lower-casing with bytes as signed 8-bit values, so that a byte of 128
// or more sorts before every byte below 128 (sorted lists depend on it).
int CompareTextNoCase(const char* a, int aCount, const char* b, int bCount) {
    const int common = aCount < bCount ? aCount : bCount;
    for (int i = 0; i < common; ++i) {
        const auto ca = static_cast<signed char>(LowerChar(a[i]));
        const auto cb = static_cast<signed char>(LowerChar(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return Sign(aCount - bCount);
}

bool IsPathSeparator(char c) { return c == ':' || c == '/' || c == '\\'; }

int LastSeparator(const String& s) {
    for (int i = s.CharCount() - 1; i >= 0; --i) {
        if (IsPathSeparator(s[i])) {
            return i;
        }
    }
    return -1;
}

int LastDot(const String& s) {
    for (int i = s.CharCount() - 1; i >= 0; --i) {
        if (s[i] == '.') {
            return i;
        }
    }
    return -1;
}

}  // namespace

bool IsSpaceChar(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

double TextToDouble(const char* text, char** end) { return strtod_l(text, end, CLocale()); }

float TextToFloat(const char* text, char** end) { return strtof_l(text, end, CLocale()); }

long double TextToLongDouble(const char* text, char** end) { return strtold_l(text, end, CLocale()); }

long long TextToInt64(const char* text, char** end, int base) { return strtoll_l(text, end, base, CLocale()); }

unsigned long long TextToUInt64(const char* text, char** end, int base) {
    return strtoull_l(text, end, base, CLocale());
}

int FormatText(char* buffer, size_t size, const char* format, ...) {
    CLocaleScope scope;
    va_list args;
    va_start(args, format);
    const int result = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    return result;
}

CLocaleScope::CLocaleScope() : previous_(uselocale(CLocale())) {}

CLocaleScope::~CLocaleScope() { uselocale(static_cast<locale_t>(previous_)); }

String::String() { Reserve(1); }

String::String(const char* text) : String(text, TextLength(text)) {}

String::String(const char* text, int count) {
    Reserve(count + 1);
    std::memcpy(chars_, text, static_cast<size_t>(count));
}

String::String(const String& other)
    : length_(other.length_), capacity_(other.capacity_), chars_(new char[other.capacity_]) {
    std::memcpy(chars_, other.chars_, static_cast<size_t>(length_));
}

String::~String() { delete[] chars_; }

String& String::operator=(const String& other) {
    if (&other == this) {
        return *this;
    }
    if (capacity_ < other.length_) {
        ReplaceStorage(other.capacity_);
    }
    length_ = other.length_;
    std::memcpy(chars_, other.chars_, static_cast<size_t>(length_));
    return *this;
}

String& String::operator=(const char* text) {
    Assign(text);
    return *this;
}

void String::ReplaceStorage(int capacity) {
    delete[] chars_;
    chars_ = new char[capacity];
    capacity_ = capacity;
}

bool String::Reserve(int length) {
    if (length < 1) {
        length = 1;
    }
    if (length <= capacity_) {
        length_ = length;
        chars_[length - 1] = '\0';
        return false;
    }
    int capacity = capacity_ == 0 ? length : capacity_;
    while (capacity < length) {
        capacity = capacity > INT32_MAX / 2 ? length : capacity * 2;
    }
    char* chars = new char[capacity];
    if (length_ > 0) {
        std::memcpy(chars, chars_, static_cast<size_t>(length_));
    }
    delete[] chars_;
    chars_ = chars;
    capacity_ = capacity;
    length_ = length;
    chars_[length - 1] = '\0';
    return true;
}

String String::FromChar(char c) {
    const char text[2] = {c, '\0'};
    return String(text);
}

String String::FromInt(int value) {
    char buffer[kNumberBufferSize];
    FormatText(buffer, sizeof buffer, "%d", value);
    return String(buffer);
}

String String::FromFloat(double value, int decimals) {
    char buffer[kNumberBufferSize];
    if (decimals < 0) {
        FormatText(buffer, sizeof buffer, "%f", value);
    } else {
        FormatText(buffer, sizeof buffer, "%0.*f", decimals, value);
    }
    return String(buffer);
}

void String::Assign(const char* text) {
    if (text >= chars_ && text < chars_ + capacity_) {
        const String copy(text);
        *this = copy;
        return;
    }
    const int count = TextLength(text);
    Reserve(count + 1);
    std::memcpy(chars_, text, static_cast<size_t>(count));
}

void String::AssignFrom(const String& other) {
    if (&other != this) {
        *this = other;
    }
}

void String::AppendBytes(const char* text, int count) {
    if (text >= chars_ && text < chars_ + capacity_) {
        // The source lives in our storage, which growing may free.
        const String copy(text, count);
        AppendBytes(copy.chars_, count);
        return;
    }
    const int old = CharCount();
    Reserve(old + count + 1);
    std::memcpy(chars_ + old, text, static_cast<size_t>(count));
}

void String::Append(const char* text) { AppendBytes(text, TextLength(text)); }

void String::AppendString(const String& other) { AppendBytes(other.chars_, other.CharCount()); }

String& String::operator+=(const char* text) {
    Append(text);
    return *this;
}

String& String::operator+=(const String& other) {
    AppendString(other);
    return *this;
}

void String::Clear() { Reserve(1); }

String String::Concat(const String& a, const String& b) {
    String result;
    result.Reserve(a.CharCount() + b.CharCount() + 1);
    std::memcpy(result.chars_, a.chars_, static_cast<size_t>(a.CharCount()));
    std::memcpy(result.chars_ + a.CharCount(), b.chars_, static_cast<size_t>(b.CharCount()));
    return result;
}

String String::ConcatText(const char* text) const {
    String result;
    const int count = TextLength(text);
    result.Reserve(CharCount() + count + 1);
    std::memcpy(result.chars_, chars_, static_cast<size_t>(CharCount()));
    std::memcpy(result.chars_ + CharCount(), text, static_cast<size_t>(count));
    return result;
}

String String::TextConcat(const char* text, const String& s) {
    String result;
    const int count = TextLength(text);
    result.Reserve(count + s.CharCount() + 1);
    std::memcpy(result.chars_, text, static_cast<size_t>(count));
    std::memcpy(result.chars_ + count, s.chars_, static_cast<size_t>(s.CharCount()));
    return result;
}

bool String::operator==(const char* text) const { return std::strcmp(chars_, text) == 0; }

bool String::operator!=(const char* text) const { return !(*this == text); }

bool String::operator==(const String& other) const { return *this == other.chars_; }

bool String::operator!=(const String& other) const { return !(*this == other.chars_); }

bool String::EqualsNoCaseString(const String& a, const String& b) {
    return a.CharCount() == b.CharCount() && EqualNoCase(a.chars_, b.chars_, a.CharCount());
}

bool String::EqualsNoCase(const char* text) const {
    const int count = TextLength(text);
    return count == CharCount() && EqualNoCase(chars_, text, count);
}

int String::CompareNoCase(const String& a, const String& b) {
    return CompareTextNoCase(a.chars_, a.CharCount(), b.chars_, b.CharCount());
}

int String::CompareNoCaseText(const char* text) const {
    return CompareTextNoCase(chars_, CharCount(), text, TextLength(text));
}

bool String::StartsWithNoCase(const String& prefix) const {
    return prefix.CharCount() <= CharCount() && EqualNoCase(chars_, prefix.chars_, prefix.CharCount());
}

bool String::EndsWithNoCase(const char* suffix) const {
    const int count = TextLength(suffix);
    return count <= CharCount() && EqualNoCase(chars_ + CharCount() - count, suffix, count);
}

void String::ToLower() {
    for (int i = 0; i < CharCount(); ++i) {
        chars_[i] = LowerChar(chars_[i]);
    }
}

void String::ToUpper() {
    for (int i = 0; i < CharCount(); ++i) {
        chars_[i] = UpperChar(chars_[i]);
    }
}

String String::Lowered() const {
    String copy(*this);
    copy.ToLower();
    return copy;
}

String String::Uppered() const {
    String copy(*this);
    copy.ToUpper();
    return copy;
}

uint32_t String::Hash() const {
    uint32_t h = 0;
    for (int i = 0; i < length_; ++i) {
        // Bytes of 128 and more add a negative value: stored hash tables were built so.
        const auto c = static_cast<int32_t>(static_cast<signed char>(chars_[i]));
        h = (h << 4) + static_cast<uint32_t>(c);
        const uint32_t g = h & 0xF0000000u;
        if (g != 0) {
            h = h ^ (g >> 24) ^ g;
        }
    }
    return h;
}

int String::Find(const char* text) const {
    const int count = TextLength(text);
    if (count > CharCount()) {
        return -1;
    }
    const char* found = std::strstr(chars_, text);
    return found == nullptr ? -1 : static_cast<int>(found - chars_);
}

int String::FindLast(const char* text) const {
    const int count = TextLength(text);
    for (int i = CharCount() - count; i >= 0; --i) {
        if (std::memcmp(chars_ + i, text, static_cast<size_t>(count)) == 0) {
            return i;
        }
    }
    return -1;
}

String String::Substring(int start, int count) const {
    const int characters = CharCount();
    if (characters == 0) {
        return String();
    }
    if (start > characters - 1) {
        start = characters - 1;
    }
    if (start < 0) {
        start = 0;
    }
    if (count > characters - start) {
        count = characters - start;
    }
    if (count < 0) {
        count = 0;
    }
    return String(chars_ + start, count);
}

String String::Left(int n) const { return Substring(0, n); }

String String::Right(int n) const { return Substring(CharCount() - n, n); }

String String::DirectoryPart() const { return String(chars_, LastSeparator(*this) + 1); }

String String::FileName() const {
    const int start = LastSeparator(*this) + 1;
    return String(chars_ + start, CharCount() - start);
}

String String::StripExtension() const {
    const int dot = LastDot(*this);
    return dot < 0 ? *this : String(chars_, dot);
}

String String::FileTitle() const { return FileName().StripExtension(); }

String String::Extension() const {
    const String name = FileName();
    const int dot = LastDot(name);
    return dot < 0 ? String() : String(name.chars_ + dot + 1, name.CharCount() - dot - 1);
}

float String::ToFloat() const {
    const double value = TextToDouble(chars_, nullptr);
    return std::isfinite(value) && std::fabs(value) <= FLT_MAX ? static_cast<float>(value) : 0.0f;
}

namespace {

// The parts of one split, gathered as the characters are visited.
class Splitter {
public:
    Splitter(const char* text, StringArray& out) : text_(text), out_(out) { out_.Reserve(0); }

    bool Pending(int i) const { return i > start_ || !token_.IsEmpty(); }
    void Gather(int i) {
        if (i > start_) {
            String piece(text_ + start_, i - start_);
            token_.AppendString(piece);
        }
    }
    void Emit() {
        out_.Append(token_);
        token_.Clear();
    }
    void MoveStart(int i) { start_ = i; }

private:
    const char* text_;
    StringArray& out_;
    String token_;
    int start_ = 0;
};

}  // namespace

void String::Split(const char* text, StringArray& out, char delimiter, char quote) {
    Splitter splitter(text, out);
    const bool quoting = quote != kNoQuote;
    bool inQuotes = false;
    int i = 0;
    for (; text[i] != '\0'; ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == quote) {
                splitter.Gather(i);
                inQuotes = false;
                splitter.MoveStart(i + 1);
            }
            continue;
        }
        if (delimiter == ' ' && IsSpaceChar(static_cast<unsigned char>(c))) {
            if (splitter.Pending(i)) {
                splitter.Gather(i);
                splitter.Emit();
            }
            splitter.MoveStart(i + 1);
        } else if (c == delimiter) {
            splitter.Gather(i);
            splitter.Emit();
            splitter.MoveStart(i + 1);
        } else if (quoting && c == quote) {
            splitter.Gather(i);
            inQuotes = true;
            splitter.MoveStart(i + 1);
        }
    }
    if (splitter.Pending(i)) {
        splitter.Gather(i);
        splitter.Emit();
    }
}

void String::Split(StringArray& out, char delimiter, char quote) const {
    const std::less<const String*> before;
    if (!before(this, out.Data()) && before(this, out.Data() + out.Capacity())) {
        // This string is a slot of the output, which the split overwrites.
        const String copy(*this);
        Split(copy.chars_, out, delimiter, quote);
        return;
    }
    Split(chars_, out, delimiter, quote);
}

Stream& String::ReadToken(Stream& stream, String& token) {
    token.Clear();
    int c = stream.PeekChar();
    while (stream.IsGood() && c != -1 && IsSpaceChar(c)) {
        stream.GetChar();
        c = stream.PeekChar();
    }
    if (!stream.IsGood()) {
        return stream;
    }
    char buffer[kTokenBufferSize];
    int used = 0;
    while (stream.IsGood()) {
        c = stream.PeekChar();
        if (c == -1 || IsSpaceChar(c)) {
            break;
        }
        buffer[used++] = static_cast<char>(stream.GetChar());
        if (used == kTokenBufferSize - 1) {
            token.AppendBytes(buffer, used);
            used = 0;
        }
    }
    token.AppendBytes(buffer, used);
    if (c == -1) {
        // The token ran into the end: a file stream reports it by its error flag.
        stream.GetChar();
    }
    return stream;
}

Stream& String::ReadLine(Stream& stream, String& line) {
    line.Clear();
    char buffer[kLineBufferSize];
    while (stream.IsGood()) {
        stream.ReadLine(buffer, sizeof buffer);
        line.Append(buffer);
        if (!stream.LastLineCut()) {
            break;
        }
    }
    return stream;
}

bool TextEquals(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool TextEqualsNoCase(const char* text, const String& s) { return s.EqualsNoCase(text); }

String operator+(const String& a, const String& b) { return String::Concat(a, b); }

String operator+(const String& a, const char* b) { return a.ConcatText(b); }

String operator+(const char* a, const String& b) { return String::TextConcat(a, b); }
