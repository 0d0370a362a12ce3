#include "modes/ScriptLines.h"

#include <algorithm>
#include <climits>

namespace script_lines {

int32_t ToInt(const String& word) {
    const long long value = TextToInt64(word.CStr(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

bool HasWordNoCase(const StringArray& words, const char* word) {
    return std::any_of(words.begin(), words.end(), [word](const String& each) { return each.EqualsNoCase(word); });
}

bool SkipComment(const StringArray& words, bool& inCommentBlock) {
    if (inCommentBlock || words[0].EqualsNoCase("#BeginComment")) {
        inCommentBlock = !HasWordNoCase(words, "#EndComment");
        return true;
    }
    return words[0].Find("//") == 0;
}

}  // namespace script_lines
