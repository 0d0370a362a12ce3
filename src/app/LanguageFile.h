#pragma once
// The language the texts come from: "Language.txt" names it, and the file of that name
// with ".txt" holds one "Key text" line per text. The language name is also the folder
// of the speech, scenes, tutorials and missions.
#include "core/String.h"

class TextTable;

// The last word of the file; the fallback when the file is missing or holds no word.
String ReadLanguageName(const char* path, const String& fallback);

// Adds every entry of the language file to the table: a line of exactly two parts (the
// text may be quoted to hold blanks; `Key ""` is an empty text). Comment lines ("//")
// and every other line are skipped. A later line for a key replaces the text. False
// when the file cannot be opened (the table then stays as it was).
bool LoadLanguageTexts(const String& path, TextTable& table);

// "\n" pairs become line breaks, then "\'" pairs become double quotes.
String UnescapeLanguageText(const String& text);
