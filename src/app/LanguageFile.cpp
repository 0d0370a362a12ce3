// The language name and the language's text file.
#include "app/LanguageFile.h"

#include "core/Array.h"
#include "core/FileStream.h"
#include "core/TextTable.h"

namespace {

bool IsCommentLine(const String& line) {
    int i = 0;
    while (i < line.CharCount() && IsSpaceChar(static_cast<unsigned char>(line[i]))) ++i;
    return i + 1 < line.CharCount() && line[i] == '/' && line[i + 1] == '/';
}

// Replaces the first occurrence of the pair at a time, as long as one is left.
void ReplaceEach(String& text, const char* pair, const char* replacement) {
    for (int at = text.Find(pair); at >= 0; at = text.Find(pair)) {
        text = text.Left(at) + replacement + text.Substring(at + 2, text.CharCount() - at - 2);
    }
}

// A key followed by nothing but an empty quoted text.
bool IsEmptyTextLine(const String& line, const String& key) {
    String rest = line.Substring(line.Find(key.CStr()) + key.CharCount(), line.CharCount());
    StringArray parts;
    rest.Split(parts, ' ');
    return parts.Count() == 1 && parts[0] == "\"\"";
}

}  // namespace

String ReadLanguageName(const char* path, const String& fallback) {
    String name = fallback;
    FileStream stream(path, "r");
    if (!stream.IsOpen()) return name;
    String word;
    while (stream.IsGood()) {
        String::ReadToken(stream, word);
        if (!word.IsEmpty()) name = word;
    }
    return name;
}

String UnescapeLanguageText(const String& text) {
    String result = text;
    ReplaceEach(result, "\\n", "\n");
    ReplaceEach(result, "\\'", "\"");
    return result;
}

bool LoadLanguageTexts(const String& path, TextTable& table) {
    FileStream stream(path.CStr(), "r");
    if (!stream.IsOpen()) return false;
    String line;
    StringArray parts;
    while (stream.IsGood()) {
        String::ReadLine(stream, line);
        if (IsCommentLine(line)) continue;
        line.Split(parts, ' ', '"');
        if (parts.Count() == 2) {
            table.Set(parts[0], UnescapeLanguageText(parts[1]));
        } else if (parts.Count() == 1 && IsEmptyTextLine(line, parts[0])) {
            table.Set(parts[0], String());
        }
    }
    return true;
}
