// Fitting text into a width.
#include "engine/TextFitting.h"

#include <algorithm>

#include "core/TextTable.h"
#include "core/Vector2.h"
#include "engine/Font.h"

namespace {

float WidthOf(const String& text, const Font& font, float scale) {
    Vector2 size;
    font.GetTextWidth(size, text, scale);
    return size.x;
}

// The characters the two texts share at their ends.
int CommonEndLength(const String& a, const String& b) {
    const int shorter = std::min(a.CharCount(), b.CharCount());
    int length = 0;
    while (length < shorter && a.CStr()[a.CharCount() - 1 - length] == b.CStr()[b.CharCount() - 1 - length]) ++length;
    return length;
}

// The text's longest start that fits beside the ending and its last endLength characters,
// which stay apart from that start; empty when the end does not fit at all.
String StartAndEnd(const String& text, const Font& font, float scale, float maxWidth, const String& ending,
                   int endLength) {
    if (endLength >= text.CharCount()) return String();
    const String end = ending + text.Right(endLength);
    if (WidthOf(end, font, scale) > maxWidth) return String();
    int start = 0;
    while (start + 1 + endLength < text.CharCount() && WidthOf(text.Left(start + 1) + end, font, scale) <= maxWidth) {
        ++start;
    }
    return text.Left(start) + end;
}

}  // namespace

String WrapText(const String& text, const Font& font, float scale, float maxWidth) {
    return WrapText(text, font, scale, maxWidth, GetLanguageText("Ellipsis"));
}

String WrapText(const String& text, const Font& font, float scale, float maxWidth, const String& ending) {
    if (WidthOf(text, font, scale) <= maxWidth) return text;
    int fitting = 0;
    while (fitting < text.CharCount() && WidthOf(text.Left(fitting + 1) + ending, font, scale) <= maxWidth) {
        ++fitting;
    }
    return text.Left(fitting) + ending;
}

StringArray WrapTextsApart(const StringArray& texts, const Font& font, float scale, float maxWidth,
                           const String& ending) {
    StringArray shown;
    Array<int> endLengths;
    for (const String& text : texts) {
        shown.Append(WrapText(text, font, scale, maxWidth, ending));
        endLengths.Append(0);
    }
    // Each round sets apart the texts that read alike after the round before, all of them
    // alike; each change keeps a longer end of one text, so the rounds come to an end.
    for (bool changed = true; changed;) {
        changed = false;
        const StringArray before = shown;
        for (int i = 0; i < texts.Count(); ++i) {
            if (before[i] == texts[i]) continue;
            int needed = endLengths[i];
            for (int j = 0; j < texts.Count(); ++j) {
                if (j != i && before[j] == before[i])
                    needed = std::max(needed, CommonEndLength(texts[i], texts[j]) + 1);
            }
            if (needed == endLengths[i]) continue;
            const String label = StartAndEnd(texts[i], font, scale, maxWidth, ending, needed);
            if (label.IsEmpty()) continue;
            shown[i] = label;
            endLengths[i] = needed;
            changed = true;
        }
    }
    return shown;
}

void SplitWords(const StringArray& paragraphs, StringArray& lines, const Font& font, float scale, int32_t maxWidth,
                int32_t margin) {
    lines.Clear();
    StringArray words;
    for (const String& paragraph : paragraphs) {
        lines.Append(String());
        paragraph.Split(words, ' ');
        for (int w = 0; w < words.Count(); ++w) {
            String& line = lines[lines.Count() - 1];
            const String remembered = line;
            if (w > 0) line += " ";
            line += words[w];
            if (int32_t(WidthOf(line, font, scale)) + margin < maxWidth) continue;
            line = remembered;
            lines.Append(words[w]);
        }
    }
}
