// The language table: the text shown for each key.
#include "core/TextTable.h"

void TextTable::Set(const String& key, const String& text) { texts_[key.CStr()] = text; }

String TextTable::Get(const String& key) const {
    auto found = texts_.find(key.CStr());
    if (found == texts_.end()) return "*HashError*";
    return found->second;
}

void TextTable::Clear() { texts_.clear(); }

TextTable& GetTextTable() {
    static TextTable table = [] {
        TextTable fresh;
        fresh.Set("None", "None");
        fresh.Set("NoAmmo", "NoAmmo");
        fresh.Set("NoName", "NoName");
        return fresh;
    }();
    return table;
}

String GetLanguageText(const String& key) { return GetTextTable().Get(key); }
