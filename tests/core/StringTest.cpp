#include "core/String.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/Array.h"
#include "core/StringStream.h"

namespace {

std::string Joined(const StringArray& parts) {
    std::string out;
    for (const String& part : parts) {
        out += "[" + std::string(part.CStr()) + "]";
    }
    return out;
}

TEST(StringTest, LengthsAndCapacitiesFollowTheGrowthRule) {
    const String empty;
    EXPECT_EQ(empty.Length(), 1);
    EXPECT_EQ(empty.Capacity(), 1);
    EXPECT_EQ(String("").Length(), 1);

    String hello("hello");
    EXPECT_EQ(hello.Length(), 6);
    EXPECT_EQ(hello.Capacity(), 6);
    hello.Append("abc");
    EXPECT_EQ(hello, "helloabc");
    EXPECT_EQ(hello.Length(), 9);
    EXPECT_EQ(hello.Capacity(), 12);

    // A concatenation is sized once from capacity 1: the smallest power of two.
    const String joined = String::Concat(String("hello"), String(" world"));
    EXPECT_EQ(joined, "hello world");
    EXPECT_EQ(joined.Capacity(), 16);
    EXPECT_EQ(String::TextConcat("ab", String("c")).Capacity(), 4);
    EXPECT_EQ(String("abc").ConcatText("de").Capacity(), 8);

    const String copy(hello);
    EXPECT_EQ(copy.Capacity(), 12);
    EXPECT_EQ(copy.Length(), 9);
}

TEST(StringTest, AssignmentReusesStorageUnlessTooSmall) {
    String big("a long enough text");
    const int capacity = big.Capacity();
    big = String("x");
    EXPECT_EQ(big, "x");
    EXPECT_EQ(big.Capacity(), capacity);

    String small("ab");
    String source("abc");
    source.Append("defgh");  // length 9, capacity 16
    small = source;
    EXPECT_EQ(small.Capacity(), 16);

    String self("same");
    self.AssignFrom(self);
    self = self;
    EXPECT_EQ(self, "same");

    String cleared("keep my room");
    const int room = cleared.Capacity();
    cleared.Clear();
    EXPECT_TRUE(cleared.IsEmpty());
    EXPECT_EQ(cleared.Capacity(), room);
}

TEST(StringTest, AppendingItsOwnTextIsSafe) {
    String s("abc");
    s.AppendString(s);
    EXPECT_EQ(s, "abcabc");
    s.Append(s.CStr() + 3);
    EXPECT_EQ(s, "abcabcabc");
    s.Assign(s.CStr() + 6);
    EXPECT_EQ(s, "abc");
}

TEST(StringTest, FromNumbersUseTheCLocale) {
    EXPECT_EQ(String::FromInt(-42), "-42");
    EXPECT_EQ(String::FromFloat(2.5, 2), "2.50");
    EXPECT_EQ(String::FromFloat(2.5, -1), "2.500000");
    EXPECT_EQ(String::FromChar('x'), "x");
    EXPECT_EQ(String::FromChar('\0').Length(), 1);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(String::FromFloat(2.5, 1), "2.5");
        EXPECT_FLOAT_EQ(String("1.25").ToFloat(), 1.25f);
        std::setlocale(LC_ALL, "C");
    }
    EXPECT_FLOAT_EQ(String("  3.5xyz").ToFloat(), 3.5f);
    EXPECT_EQ(String("word").ToFloat(), 0.0f);
    EXPECT_EQ(String("nan").ToFloat(), 0.0f);
    EXPECT_EQ(String("1e300").ToFloat(), 0.0f);
}

TEST(StringTest, CaseInsensitiveComparisons) {
    EXPECT_EQ(String::CompareNoCase(String("abc"), String("ABD")), -1);
    EXPECT_EQ(String::CompareNoCase(String("ab"), String("AB")), 0);
    EXPECT_EQ(String::CompareNoCase(String("ab"), String("abc")), -1);
    EXPECT_EQ(String("b").CompareNoCaseText("A"), 1);
    // Bytes of 128 and more count as negative and sort first.
    EXPECT_EQ(String("\xE9").CompareNoCaseText("a"), -1);

    EXPECT_TRUE(String("Hello").EqualsNoCase("hELLO"));
    EXPECT_FALSE(String("Hello").EqualsNoCase("hell"));
    EXPECT_TRUE(String::EqualsNoCaseString(String(""), String("")));
    EXPECT_TRUE(TextEqualsNoCase("ABC", String("abc")));
    EXPECT_TRUE(TextEquals("abc", "abc"));
    EXPECT_FALSE(TextEquals("abc", "abd"));

    const String name("Scenario.SCN");
    EXPECT_TRUE(name.EndsWithNoCase(".scn"));
    EXPECT_TRUE(name.EndsWithNoCase(""));
    EXPECT_FALSE(name.EndsWithNoCase("a longer suffix than the name"));
    EXPECT_TRUE(name.StartsWithNoCase(String("scen")));
    EXPECT_TRUE(name.StartsWithNoCase(String("")));
    EXPECT_FALSE(String("ab").StartsWithNoCase(String("abc")));

    EXPECT_EQ(String("MiXed1\xC4").Lowered(), "mixed1\xC4");
    EXPECT_EQ(String("MiXed1\xE4").Uppered(), "MIXED1\xE4");
}

TEST(StringTest, HashIsTheElfHashOverSignedBytesAndTheZero) {
    EXPECT_EQ(String().Hash(), 0u);
    EXPECT_EQ(String("a").Hash(), 0x610u);
    // Long enough for the top nibble to fold back.
    uint32_t h = 0;
    const char* text = "ArenaTextureName";
    for (const char* p = text;; ++p) {
        h = (h << 4) + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*p)));
        const uint32_t g = h & 0xF0000000u;
        if (g != 0) {
            h ^= (g >> 24) ^ g;
        }
        if (*p == '\0') {
            break;
        }
    }
    EXPECT_EQ(String(text).Hash(), h);
    // A byte of 128 or more adds a negative value.
    EXPECT_EQ(String("\x80").Hash(), 0x0FFFF7F0u);
}

TEST(StringTest, FindAndSubstringClamps) {
    const String abc("abc");
    EXPECT_EQ(abc.Find(""), 0);
    EXPECT_EQ(abc.FindLast(""), 3);
    EXPECT_EQ(abc.Find("abcd"), -1);
    EXPECT_EQ(String("abcabc").Find("bc"), 1);
    EXPECT_EQ(String("abcabc").FindLast("bc"), 4);
    EXPECT_EQ(abc.FindLast("x"), -1);

    const String hello("hello");
    EXPECT_EQ(hello.Substring(2, 100), "llo");
    EXPECT_EQ(hello.Substring(-3, 2), "he");
    // The start is clamped to the last character.
    EXPECT_EQ(hello.Substring(9, 3), "o");
    EXPECT_EQ(hello.Substring(1, -4), "");
    EXPECT_EQ(abc.Right(10), "abc");
    EXPECT_EQ(abc.Right(2), "bc");
    EXPECT_EQ(abc.Left(2), "ab");
    EXPECT_EQ(String().Substring(0, 3), "");
}

TEST(StringTest, PathParts) {
    EXPECT_EQ(String("dir.old/file").StripExtension(), "dir");
    EXPECT_EQ(String("dir.old/file").Extension(), "");
    EXPECT_EQ(String("a/b.tga").FileTitle(), "b");
    EXPECT_EQ(String("a/b.tga").DirectoryPart(), "a/");
    EXPECT_EQ(String("C:\\Units\\Tank.VRN").FileName(), "Tank.VRN");
    EXPECT_EQ(String("C:\\Units\\Tank.VRN").Extension(), "VRN");
    EXPECT_EQ(String("plain").FileName(), "plain");
    EXPECT_EQ(String("plain").DirectoryPart(), "");
    EXPECT_EQ(String("x.tar.gz").FileTitle(), "x.tar");
}

TEST(StringTest, SplitRules) {
    StringArray parts;
    String::Split("  a  b ", parts, ' ');
    EXPECT_EQ(Joined(parts), "[a][b]");
    String::Split("a\t\r\nb", parts, ' ');
    EXPECT_EQ(Joined(parts), "[a][b]");
    String::Split("a,,b,", parts, ',');
    EXPECT_EQ(Joined(parts), "[a][][b]");
    String::Split("a \"b c\" d", parts, ' ', '"');
    EXPECT_EQ(Joined(parts), "[a][b c][d]");
    String::Split("x\"y z\"w", parts, ' ', '"');
    EXPECT_EQ(Joined(parts), "[xy zw]");
    String::Split("say \"unclosed rest", parts, ' ', '"');
    EXPECT_EQ(Joined(parts), "[say][unclosed rest]");
    // Without a quote character quotes are ordinary.
    String::Split("\"a b\"", parts, ' ');
    EXPECT_EQ(Joined(parts), "[\"a][b\"]");
    String::Split("", parts, ',');
    EXPECT_EQ(parts.Count(), 0);
    String::Split("\"\"", parts, ' ', '"');
    EXPECT_EQ(parts.Count(), 0);

    // The array keeps its old slots: a split reuses them.
    String::Split("one two three", parts, ' ');
    const int capacity = parts.Capacity();
    String::Split("x", parts, ' ');
    EXPECT_EQ(parts.Count(), 1);
    EXPECT_EQ(parts.Capacity(), capacity);

    // Splitting an element of the output array itself.
    parts[0] = "p q";
    parts[0].Split(parts, ' ');
    EXPECT_EQ(Joined(parts), "[p][q]");
}

TEST(StringTest, ReadTokenSkipsWhiteSpaceIncludingCarriageReturns) {
    StringStream stream("  first\r\nsecond\tthird\r\n");
    String token;
    String::ReadToken(stream, token);
    EXPECT_EQ(token, "first");
    String::ReadToken(stream, token);
    EXPECT_EQ(token, "second");
    String::ReadToken(stream, token);
    EXPECT_EQ(token, "third");
    EXPECT_FALSE(stream.HasError());
    String::ReadToken(stream, token);
    EXPECT_EQ(token, "");
}

TEST(StringTest, ReadTokenHasNoLengthLimitAndTakesHighBytes) {
    std::string text(5000, 'k');
    text[2500] = '\xFF';
    text += " \xE9t\xE9";
    StringStream stream(text.c_str());
    String token;
    String::ReadToken(stream, token);
    EXPECT_EQ(token.CharCount(), 5000);
    EXPECT_EQ(static_cast<unsigned char>(token[2500]), 0xFF);
    String::ReadToken(stream, token);
    EXPECT_EQ(token, "\xE9t\xE9");
}

TEST(StringTest, ReadLineReadsWholeLinesOverCrLf) {
    std::string longLine(3000, 'x');
    longLine[1022] = '\r';  // a carriage return inside a line is data
    const std::string text = "one\r\n\r\n" + longLine + "\r\nlast\r";
    StringStream stream(text.c_str());
    String line;
    String::ReadLine(stream, line);
    EXPECT_EQ(line, "one");
    String::ReadLine(stream, line);
    EXPECT_EQ(line, "");
    String::ReadLine(stream, line);
    EXPECT_EQ(std::string(line.CStr()), longLine);
    String::ReadLine(stream, line);
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(stream.IsGood());
    String::ReadLine(stream, line);
    EXPECT_EQ(line, "");
}

}  // namespace
