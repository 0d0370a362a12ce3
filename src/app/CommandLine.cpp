// The command line.
#include "app/CommandLine.h"

#include <algorithm>

#include "core/Array.h"

CommandLine ParseCommandLine(const String& text) {
    CommandLine result;
    StringArray words;
    text.Split(words, ' ');
    for (int i = 0; i < words.Count(); ++i) {
        if (words[i].EqualsNoCase("Window")) {
            result.fullScreen = false;
        } else if (words[i].EqualsNoCase("NetworkBudget") && i + 1 < words.Count()) {
            char* end = nullptr;
            const long long number = TextToInt64(words[++i].CStr(), &end, 10);
            result.networkBudget = int32_t(std::clamp<long long>(number, CommandLine::kMinNetworkBudget, INT32_MAX));
        }
    }
    return result;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    String text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text += " ";
        text += argv[i];
    }
    return ParseCommandLine(text);
}
