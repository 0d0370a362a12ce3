#pragma once
// The line rules that mission files and tutorial scripts share: lines split at blanks,
// "#BeginComment" … "#EndComment" blocks and "//" lines skipped, numbers read as the C
// library reads them (leading digits, saturated).
#include <cstdint>

#include "core/Array.h"
#include "core/Stream.h"
#include "core/String.h"

namespace script_lines {

int32_t ToInt(const String& word);
bool HasWordNoCase(const StringArray& words, const char* word);

// Whether the line is a comment; keeps the open-block flag up to date.
bool SkipComment(const StringArray& words, bool& inCommentBlock);

// Hands every line of the stream, split into words, to the reader, until the end or
// the first stream error.
template <typename LineReader>
void ForEachLine(Stream& stream, LineReader&& readLine) {
    String line;
    StringArray words;
    while (!stream.HasError() && !stream.AtEnd()) {
        String::ReadLine(stream, line);
        String::Split(line.CStr(), words, ' ');
        readLine(words);
    }
}

}  // namespace script_lines
