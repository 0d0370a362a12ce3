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

// Where the two texts first differ: the shorter one's length when it starts the other.
int FirstDifference(const String& a, const String& b) {
    int at = 0;
    while (at < a.CharCount() && at < b.CharCount() && a.CStr()[at] == b.CStr()[at]) ++at;
    return at;
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

// A start of at most this many characters leads a window into the text.
constexpr int kWindowStart = 2;

// The text's start of `start` characters, the ending, then as much of the text from `at`
// on as fits, followed by the ending again when more of the text follows; empty when not
// even the character at `at` fits.
String StartAndWindow(const String& text, const Font& font, float scale, float maxWidth, const String& ending,
                      int start, int at) {
    const String lead = text.Left(start) + ending;
    String shown;
    for (int length = 1; at + length <= text.CharCount(); ++length) {
        String label = lead + text.Substring(at, length);
        if (at + length < text.CharCount()) label += ending;
        if (WidthOf(label, font, scale) > maxWidth) break;
        shown = label;
    }
    return shown;
}

// The window around `at` with the longest start, short as it is, that leaves it room.
String WindowAt(const String& text, const Font& font, float scale, float maxWidth, const String& ending, int at) {
    if (at <= 0 || at >= text.CharCount()) return String();
    for (int start = std::min(kWindowStart, at - 1); start >= 0; --start) {
        const String label = StartAndWindow(text, font, scale, maxWidth, ending, start, at);
        if (!label.IsEmpty()) return label;
    }
    return String();
}

// Every shortened form of the text that fits, for a text no preferred form tells apart.
StringArray ShortenedForms(const String& text, const Font& font, float scale, float maxWidth, const String& ending) {
    StringArray forms;
    const auto add = [&forms](const String& form) {
        if (!form.IsEmpty()) forms.Append(form);
    };
    for (int endLength = 1; endLength < text.CharCount(); ++endLength)
        add(StartAndEnd(text, font, scale, maxWidth, ending, endLength));
    for (int at = 1; at < text.CharCount(); ++at) {
        for (int start = std::min(kWindowStart, at - 1); start >= 0; --start)
            add(StartAndWindow(text, font, scale, maxWidth, ending, start, at));
    }
    return forms;
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
    // How much of each text's end its label keeps, or where its window stands (-1: none).
    Array<int> endLengths, windows;
    for (const String& text : texts) {
        shown.Append(WrapText(text, font, scale, maxWidth, ending));
        endLengths.Append(0);
        windows.Append(-1);
    }
    const auto whole = [&](int i) { return shown[i] == texts[i]; };
    // Each round sets apart the texts that read alike after the round before: by a longer
    // end while one fits, else by a window onto where they first differ. Each change keeps
    // a longer end or moves a window, so the rounds are few; the rounds are bounded all
    // the same, since windows may move back and forth among three or more alike texts.
    for (int round = 0, changed = 1; changed && round <= 2 * texts.Count(); ++round) {
        changed = 0;
        const StringArray before = shown;
        for (int i = 0; i < texts.Count(); ++i) {
            if (before[i] == texts[i]) continue;
            int needed = endLengths[i];
            int at = texts[i].CharCount();
            for (int j = 0; j < texts.Count(); ++j) {
                if (j == i || before[j] != before[i]) continue;
                needed = std::max(needed, CommonEndLength(texts[i], texts[j]) + 1);
                at = std::min(at, FirstDifference(texts[i], texts[j]));
            }
            if (windows[i] < 0 && needed > endLengths[i]) {
                const String label = StartAndEnd(texts[i], font, scale, maxWidth, ending, needed);
                if (!label.IsEmpty()) {
                    shown[i] = label;
                    endLengths[i] = needed;
                    changed = 1;
                    continue;
                }
            }
            if (at == windows[i] || at >= texts[i].CharCount()) continue;
            const String label = WindowAt(texts[i], font, scale, maxWidth, ending, at);
            if (label.IsEmpty() || label == before[i]) continue;
            shown[i] = label;
            windows[i] = at;
            changed = 1;
        }
    }
    // What the rounds left alike takes the first shortened form no other label reads as,
    // the text shown whole or first keeping its label.
    for (int i = 0; i < texts.Count(); ++i) {
        if (whole(i)) continue;
        const auto taken = [&](const String& label, bool byEarlier) {
            for (int j = 0; j < texts.Count(); ++j) {
                if (j != i && shown[j] == label && (!byEarlier || j < i || whole(j))) return true;
            }
            return false;
        };
        if (!taken(shown[i], true)) continue;
        for (const String& form : ShortenedForms(texts[i], font, scale, maxWidth, ending)) {
            if (taken(form, false)) continue;
            shown[i] = form;
            break;
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
