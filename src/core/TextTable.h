#pragma once
// The language table: the text shown for each key. Keys are hashed into a fixed number
// of buckets and compared byte for byte, with case.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"

struct TextEntry {
    String key;
    String value;
};

class TextTable {
public:
    static constexpr int32_t kLanguageBuckets = 1000;

    // Fewer than 1 bucket makes 1: a key always has a bucket to go to.
    explicit TextTable(int32_t bucketCount = kLanguageBuckets);

    // Replaces the text of a key already there, else adds the key.
    void Set(const String& key, const String& text);
    // The key's text, or none.
    const String* Find(const String& key) const;
    // The key's text, or "*HashError*" when the table has no such key.
    String Get(const String& key) const;
    void Clear();

    int32_t BucketCount() const { return buckets_.Count(); }
    int32_t BucketOf(const String& key) const;

private:
    Array<Array<TextEntry>> buckets_;
};

// The table the program's texts come from; it starts with the texts that the world
// needs before a language file is read ("None", "NoAmmo", "NoName").
TextTable& GetTextTable();
String GetLanguageText(const String& key);
// The same, and whether the key exists.
String GetLanguageTextFound(const String& key, bool& found);
