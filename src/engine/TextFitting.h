#pragma once
// Fitting text into a width in the bitmap font: one line shortened with the language's
// ellipsis, or paragraphs broken into lines at blanks. Both measure exactly as the text
// is drawn.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"

class Font;

// The text when it fits; else its longest prefix that fits together with the ellipsis
// (the language text "Ellipsis"), followed by the ellipsis. Only the ellipsis when not
// even one character fits beside it.
String WrapText(const String& text, const Font& font, float scale, float maxWidth);
// The same with another ending in the ellipsis' place.
String WrapText(const String& text, const Font& font, float scale, float maxWidth, const String& ending);
// Each text as the one above shortens it, except that a shortened text which would read
// like another one's keeps its end after the ending as well ("Defend.1", "Defend.2"),
// as much of it as tells the two apart, its start as long as still fits. Where no end that
// fits tells them apart, a short start, the ending and the text from where it first differs
// from the other stand in the width, with the ending again when more follows ("Ta.1Hea.",
// "Ta.2Hea."). Texts that fit stay whole. Distinct texts read apart whenever the width
// holds enough shortened forms for them all.
StringArray WrapTextsApart(const StringArray& texts, const Font& font, float scale, float maxWidth,
                           const String& ending);

// Each paragraph starts a new line and is broken at blanks so that every line's width
// (truncated) plus the margin stays below maxWidth. A word too wide for any line stands
// alone on its own line, never broken.
void SplitWords(const StringArray& paragraphs, StringArray& lines, const Font& font, float scale, int32_t maxWidth,
                int32_t margin);
