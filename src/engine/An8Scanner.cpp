#include "engine/An8Scanner.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/Stream.h"
#include "core/String.h"

namespace {

const char* const kKeywordTexts[] = {
    "header",      "version",       "build",         "environment", "grid",
    "framerate",   "limitplayback", "texture",       "file",        "object",
    "material",    "surface",       "backsurface",   "rgb",         "lockambiantdiffuse",
    "ambiant",     "diffuse",       "specular",      "emissive",    "alpha",
    "factor",      "texturename",   "textureparams", "blendmode",   "decal",
    "darken",      "lighten",       "alphamode",     "none",        "layer",
    "final",       "brilliance",    "phongsize",     "group",       "base",
    "origin",      "orientation",   "pivot",         "mesh",        "name",
    "smoothangle", "materiallist",  "materialname",  "points",      "edges",
    "texcoords",   "faces",         "subdivision",   "working",     "divisions",
    "sphere",      "diameter",      "longlat",       "cylinder",    "length",
    "topdiameter", "capstart",      "capend",        "cube",        "scale",
    "figure",      "bone",          "dof",           "unlimited",   "namedobject",
    "sequence",    "frames",        "jointangle",    "track",       "floatkey",
};
static_assert(std::size(kKeywordTexts) == size_t(An8Keyword::Count));

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

bool IsSeparator(int c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

const char* An8KeywordText(An8Keyword keyword) {
    const auto index = size_t(keyword);
    return index < std::size(kKeywordTexts) ? kKeywordTexts[index] : "";
}

An8Scanner::An8Scanner(std::string_view text, Stream& messages) : input_(text), messages_(messages) {}

int An8Scanner::Peek(size_t ahead) const {
    const size_t at = at_ + ahead;
    return at < input_.size() ? static_cast<unsigned char>(input_[at]) : -1;
}

An8Token An8Scanner::Next() {
    for (;;) {
        const int c = Peek();
        if (c < 0) return An8Token::End;
        if (IsSeparator(c)) {
            ++at_;
            continue;
        }
        if (c == '/' && Peek(1) == '*') {
            SkipComment();
            continue;
        }
        switch (c) {
            case '{': ++at_; return An8Token::OpenBrace;
            case '}': ++at_; return An8Token::CloseBrace;
            case '(': ++at_; return An8Token::OpenParen;
            case ')': ++at_; return An8Token::CloseParen;
            default: break;
        }
        const An8Token number = ScanNumber();
        if (number != An8Token::End) return number;
        if (ScanKeyword()) return An8Token::Keyword;
        if (ScanString()) return An8Token::String;
        ReportIllegal(static_cast<unsigned char>(c));
        ++at_;
    }
}

// Comment text is echoed to the standard output, except a character directly followed
// by ";", which goes silently with it.
void An8Scanner::SkipComment() {
    at_ += 2;
    while (Peek() >= 0 && !(Peek() == '*' && Peek(1) == '/')) {
        if (Peek(1) == ';') {
            at_ += 2;
            continue;
        }
        std::fputc(Peek(), stdout);
        ++at_;
    }
    if (Peek() >= 0) at_ += 2;
}

// [+-]? then digits "." digits? | "." digits | digits, then an optional exponent; digits
// alone are an integer. End when no number starts here.
An8Token An8Scanner::ScanNumber() {
    size_t at = at_;
    auto digitsFrom = [&](size_t from) {
        size_t end = from;
        while (end < input_.size() && IsDigit(static_cast<unsigned char>(input_[end]))) ++end;
        return end;
    };
    if (Peek() == '+' || Peek() == '-') ++at;
    const size_t intEnd = digitsFrom(at);
    size_t end = intEnd;
    bool isReal = false;
    if (end < input_.size() && input_[end] == '.') {
        const size_t fractionEnd = digitsFrom(end + 1);
        if (intEnd > at || fractionEnd > end + 1) {
            end = fractionEnd;
            isReal = true;
        }
    }
    if (end == at) return An8Token::End;
    if (end < input_.size() && (input_[end] == 'e' || input_[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < input_.size() && (input_[exponent] == '+' || input_[exponent] == '-')) ++exponent;
        const size_t exponentEnd = digitsFrom(exponent);
        if (exponentEnd > exponent) {
            end = exponentEnd;
            isReal = true;
        }
    }
    const std::string number(input_.substr(at_, end - at_));
    at_ = end;
    if (isReal) {
        const float value = TextToFloat(number.c_str(), nullptr);
        this->real = std::isfinite(value) ? value : 0.0f;
        return An8Token::Real;
    }
    const long long value = TextToInt64(number.c_str(), nullptr, 10);
    integer = int32_t(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
    return An8Token::Integer;
}

bool An8Scanner::ScanKeyword() {
    const int c = Peek();
    if (c < 'a' || c > 'z') return false;
    size_t best = 0;
    for (size_t k = 0; k < std::size(kKeywordTexts); ++k) {
        const std::string_view word = kKeywordTexts[k];
        if (word.size() > best && input_.substr(at_, word.size()) == word) {
            best = word.size();
            keyword = An8Keyword(k);
        }
    }
    if (best == 0) return false;
    at_ += best;
    return true;
}

// An unclosed quote is no string: the quote is an illegal character.
bool An8Scanner::ScanString() {
    if (Peek() != '"') return false;
    const size_t close = input_.find('"', at_ + 1);
    if (close == std::string_view::npos) return false;
    text.assign(input_.substr(at_ + 1, close - at_ - 1));
    at_ = close + 1;
    return true;
}

void An8Scanner::ReportIllegal(unsigned char c) {
    char shown[8] = {};
    if (c >= 128) {
        c = uint8_t(c - 128);
        shown[0] = 'M';
        shown[1] = '-';
    }
    char* tail = shown + std::strlen(shown);
    if (c < 32 || c == 127) {
        tail[0] = '^';
        tail[1] = char(c == 127 ? '?' : c + 64);
    } else {
        tail[0] = char(c);
    }
    messages_ << "Illegal character '" << shown << "' found" << Stream::Endl;
}
