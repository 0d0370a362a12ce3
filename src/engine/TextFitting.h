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

// Each paragraph starts a new line and is broken at blanks so that every line's width
// (truncated) plus the margin stays below maxWidth. A word too wide for any line stands
// alone on its own line, never broken.
void SplitWords(const StringArray& paragraphs, StringArray& lines, const Font& font, float scale, int32_t maxWidth,
                int32_t margin);
