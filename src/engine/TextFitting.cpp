// Fitting text into a width.
#include "engine/TextFitting.h"

#include "core/TextTable.h"
#include "core/Vector2.h"
#include "engine/Font.h"

namespace {

float WidthOf(const String& text, const Font& font, float scale) {
    Vector2 size;
    font.GetTextWidth(size, text, scale);
    return size.x;
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
