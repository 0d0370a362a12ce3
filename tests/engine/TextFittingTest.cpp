// Fitting text into a width in the bitmap font.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "core/TextTable.h"
#include "core/Vector2.h"
#include "engine/Font.h"
#include "engine/TextFitting.h"

namespace {

// Every glyph 10 texels wide with the font's 1-pixel spacing: each character advances 11.
class TextFittingTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int code = Font::kFirstPrintable; code <= Font::kLastPrintable; ++code) font.widths[code] = 10;
        font.spacing = 1;
        GetTextTable().Set("Ellipsis", "...");
    }
    StringArray Split(const char* paragraph, int32_t maxWidth, int32_t margin = 0) {
        StringArray paragraphs, lines;
        paragraphs.Append(paragraph);
        SplitWords(paragraphs, lines, font, 1.0f, maxWidth, margin);
        return lines;
    }
    float Width(const String& text) const {
        Vector2 size;
        font.GetTextWidth(size, text, 1.0f);
        return size.x;
    }

    Font font;
};

TEST_F(TextFittingTest, WrappedTextFitsWithTheSpacingCounted) {
    EXPECT_EQ(WrapText("abcd", font, 1.0f, 44.0f), "abcd");  // exactly as wide
    // "ab..." is 55 wide; "abc..." would be 66, over 60, although its glyphs alone sum to 60.
    EXPECT_EQ(WrapText("abcdefgh", font, 1.0f, 60.0f), "ab...");
    EXPECT_EQ(WrapText("abcdefgh", font, 2.0f, 60.0f), "...");  // 3 x 21 = 63: nothing fits
    EXPECT_EQ(WrapText("abcdefgh", font, 1.0f, 20.0f), "...");
}

// Width 60 holds five characters: names cut alike keep as much of their ends as differs,
// or else show where they first differ.
TEST_F(TextFittingTest, TextsCutAlikeKeepTheirEndsApart) {
    StringArray texts;
    for (const char* text : {"Defender1", "Defender2", "Defe.", "Scout-10", "Scout-20", "Alpha", "Ranger",
                             "Tank1Heavy", "Tank2Heavy", "Zzzzzzzzz", "Zzzzzzzzzz"}) {
        texts.Append(text);
    }
    const StringArray shown = WrapTextsApart(texts, font, 1.0f, 60.0f, ".");
    ASSERT_EQ(shown.Count(), texts.Count());
    const char* expected[] = {"Def.1", "Def.2", "Defe.", "Sc.10", "Sc.20", "Alpha",
                              "Rang.", "Ta.1.", "Ta.2.", "Zzzz.", "Zz.z"};
    for (int i = 0; i < texts.Count(); ++i) EXPECT_STREQ(shown[i].CStr(), expected[i]);

    // Any set of distinct names, however alike, reads apart within the width.
    std::mt19937 random(7);
    const auto pick = [&random](int below) { return int(random() % unsigned(below)); };
    const char alphabet[] = "aB1.";
    for (int set = 0; set < 2000; ++set) {
        std::set<std::string> names;
        std::string base;
        for (int length = 1 + pick(12); length > 0; --length) base += alphabet[pick(4)];
        for (int count = 2 + pick(10); int(names.size()) < count;) {
            std::string name = base;
            for (int change = 1 + pick(2); change > 0; --change) {
                const size_t at = size_t(pick(int(name.size()) + 1));
                if (pick(2) == 0 && at < name.size()) name[at] = alphabet[pick(4)];
                else name.insert(at, 1, alphabet[pick(4)]);
            }
            names.insert(name);
        }
        texts.Clear();
        for (const std::string& name : names) texts.Append(name.c_str());
        const float width = 60.0f + 11.0f * float(pick(3));
        const StringArray labels = WrapTextsApart(texts, font, 1.0f, width, ".");
        for (int i = 0; i < texts.Count(); ++i) {
            EXPECT_LE(Width(labels[i]), width) << labels[i].CStr();
            for (int j = 0; j < i; ++j)
                EXPECT_NE(labels[i], labels[j]) << labels[i].CStr() << ": " << texts[i].CStr() << ", " << texts[j].CStr();
        }
    }
}

TEST_F(TextFittingTest, ParagraphsBreakAtBlanksAndLongWordsStandAlone) {
    StringArray lines = Split("aa bb cc", 60);  // "aa bb" 55, "aa bb cc" 88
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], "aa bb");
    EXPECT_EQ(lines[1], "cc");

    lines = Split("aa bb cc", 60, 5);  // 55 + 5 reaches the width: no longer fits
    ASSERT_EQ(lines.Count(), 3);

    lines = Split("abcdefgh x", 50);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "abcdefgh");
    EXPECT_EQ(lines[2], "x");

    lines = Split("", 50);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines[0], "");

    StringArray paragraphs, twoLines;
    paragraphs.Append("one");
    paragraphs.Append("two");
    SplitWords(paragraphs, twoLines, font, 1.0f, 500, 0);
    ASSERT_EQ(twoLines.Count(), 2);
    EXPECT_EQ(twoLines[1], "two");
}

}  // namespace
