#pragma once
// The language table: the text shown for each key.
#include <map>
#include <string>

#include "core/String.h"

class TextTable {
public:
    void Set(const String& key, const String& text);
    // The key's text, or "*HashError*" when the table has no such key.
    String Get(const String& key) const;
    void Clear();

private:
    std::map<std::string, String> texts_;
};

// The table the program's texts come from; it starts with the texts that the world
// needs before a language file is read ("None", "NoAmmo", "NoName").
TextTable& GetTextTable();
String GetLanguageText(const String& key);
