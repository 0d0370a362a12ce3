// The language table: the text shown for each key.
#include "core/TextTable.h"

#include <algorithm>

namespace {

const char* const kMissingText = "*HashError*";

}  // namespace

TextTable::TextTable(int32_t bucketCount) { buckets_.SetSize(std::max(bucketCount, 1)); }

int32_t TextTable::BucketOf(const String& key) const { return int32_t(key.Hash() % uint32_t(buckets_.Count())); }

void TextTable::Set(const String& key, const String& text) {
    Array<TextEntry>& bucket = buckets_[BucketOf(key)];
    for (TextEntry& entry : bucket) {
        if (entry.key == key) {
            entry.value = text;
            return;
        }
    }
    bucket.Append(TextEntry{key, text});
}

const String* TextTable::Find(const String& key) const {
    for (const TextEntry& entry : buckets_[BucketOf(key)]) {
        if (entry.key == key) return &entry.value;
    }
    return nullptr;
}

String TextTable::Get(const String& key) const {
    const String* text = Find(key);
    return text != nullptr ? *text : String(kMissingText);
}

void TextTable::Clear() {
    for (Array<TextEntry>& bucket : buckets_) bucket.Clear();
}

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

String GetLanguageTextFound(const String& key, bool& found) {
    const String* text = GetTextTable().Find(key);
    found = text != nullptr;
    return found ? *text : String(kMissingText);
}
