#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/FileStream.h"
#include "core/String.h"
#include "core/StringStream.h"

namespace {

namespace fs = std::filesystem;

std::string Written(const StringStream& stream) { return stream.Text(); }

TEST(StringStreamTest, TypedReadsStopAtTheEnd) {
    StringStream stream("1 2.5 3");
    int a = 0;
    float b = 0;
    int c = 0;
    stream >> a >> b >> c;
    EXPECT_EQ(a, 1);
    EXPECT_FLOAT_EQ(b, 2.5f);
    EXPECT_EQ(c, 3);
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_FALSE(stream.IsGood());
    EXPECT_FALSE(stream.HasError());
    stream >> c;
    EXPECT_TRUE(stream.HasError());
    EXPECT_EQ(stream.Position(), 7);
    EXPECT_EQ(c, 3);
}

TEST(StringStreamTest, FailedReadsLeaveTargetAndPosition) {
    StringStream letters("abc");
    int value = 9;
    letters >> value;
    EXPECT_TRUE(letters.HasError());
    EXPECT_EQ(letters.Position(), 0);
    EXPECT_EQ(value, 9);

    // Not finite: unreadable, passed over and counted without an error. Out of range:
    // an error.
    StringStream odd("nan inf 1e999 99999999999 70000 -1 99999999999999999999999");
    float f = 4;
    double d = 4;
    odd >> f >> d >> d;
    EXPECT_FALSE(odd.HasError());
    EXPECT_EQ(odd.NonFiniteCount(), 3);
    EXPECT_EQ(f, 4);
    EXPECT_EQ(d, 4);
    EXPECT_EQ(odd.Position(), 13);
    odd.ClearError();
    odd.Seek(14, 0) >> value;
    EXPECT_TRUE(odd.HasError());
    EXPECT_EQ(value, 9);
    EXPECT_EQ(odd.Position(), 25);  // the number is passed over, as on a file
    odd.ClearError();
    short s = 1;
    odd.Seek(26, 0) >> s;
    EXPECT_TRUE(odd.HasError());
    EXPECT_EQ(s, 1);
    odd.ClearError();
    unsigned int u = 0;
    odd.Seek(32, 0) >> u;  // the C library's wrap of "-1"
    EXPECT_FALSE(odd.HasError());
    EXPECT_EQ(u, 0xFFFFFFFFu);
    unsigned long long64 = 5;
    odd >> long64;
    EXPECT_TRUE(odd.HasError());
    EXPECT_EQ(long64, 5u);
}

TEST(StringStreamTest, LongFieldsAreThirtyTwoBits) {
    StringStream stream;
    stream << static_cast<long>(0x1'0000'0005) << ' ' << static_cast<unsigned long>(0x1'0000'0007);
    EXPECT_EQ(Written(stream), "5 7");
    StringStream reading("2147483648 -2147483648");
    long value = 1;
    reading >> value;
    EXPECT_TRUE(reading.HasError());
    EXPECT_EQ(value, 1);
    reading.ClearError();
    reading.Seek(11, 0) >> value;
    EXPECT_EQ(value, -2147483648L);
}

TEST(StringStreamTest, WritesUseTheDefaultForms) {
    StringStream stream;
    stream << 42 << ", " << 0.5f << ' ' << 100000000.0f << ' ' << true << false;
    stream << ' ' << static_cast<unsigned short>(65535) << ' ' << -7L << ' ' << 1.25;
    EXPECT_EQ(Written(stream), "42, 0.5 1e+08 10 65535 -7 1.25");

    StringStream formatted;
    formatted.Format().numberBase = 1;
    formatted.Format().noWidth = 0;
    formatted.Format().width = 4;
    formatted.Format().zeroFill = true;
    formatted << 255 << ' ' << static_cast<short>(-1);
    EXPECT_EQ(Written(formatted), "00ff ffff");  // the width served one item
    formatted.Format().booleanWords = true;
    formatted << ' ' << true;
    EXPECT_EQ(Written(formatted), "00ff ffff true");
}

TEST(StringStreamTest, RoundTripOfEveryTypedValue) {
    StringStream stream;
    int pointee = 0;
    void* address = &pointee;
    stream << 3.25L << ' ' << -1.5e-7 << ' ' << 0.1f << ' ' << -12345678 << ' ' << 4000000000u << ' '
           << static_cast<short>(-300) << ' ' << address << ' ' << 'q';
    stream.Seek(0, 0);
    long double ld = 0;
    double d = 0;
    float f = 0;
    int i = 0;
    unsigned int u = 0;
    short s = 0;
    void* p = nullptr;
    char space = 0;
    char c = 0;
    stream >> ld >> d >> f >> i >> u >> s >> p >> space >> c;
    EXPECT_FALSE(stream.HasError());
    EXPECT_EQ(ld, 3.25L);
    EXPECT_DOUBLE_EQ(d, -1.5e-7);
    EXPECT_EQ(f, 0.1f);
    EXPECT_EQ(i, -12345678);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(s, -300);
    EXPECT_EQ(p, address);
    EXPECT_EQ(space, ' ');
    EXPECT_EQ(c, 'q');
}

TEST(StringStreamTest, RawBoolAndCharReadsAreBinary) {
    char bytes[] = {'\0', '\x01', '0', '\0'};
    StringStream stream;
    stream.Write(bytes, 3);
    // The zero byte ends the text at once: raw reads go through Read instead.
    EXPECT_EQ(stream.TextLength(), 0);

    StringStream text("0\x01");
    bool flag = false;
    text >> flag;
    EXPECT_TRUE(flag);  // the character '0' is not the zero byte
    unsigned char byte = 0;
    text >> byte;
    EXPECT_EQ(byte, 1);
    text >> flag;
    EXPECT_TRUE(text.HasError());
}

TEST(StringStreamTest, HighBytesAreDataAndSeekClamps) {
    StringStream stream("\xFF\x80z");
    EXPECT_EQ(stream.PeekChar(), 255);
    EXPECT_EQ(stream.GetChar(), 255);
    EXPECT_EQ(stream.GetChar(), 128);
    EXPECT_EQ(stream.GetChar(), 'z');
    EXPECT_EQ(stream.PeekChar(), -1);
    EXPECT_EQ(stream.GetChar(), -1);
    EXPECT_FALSE(stream.HasError());

    stream.Seek(-5, 0);
    EXPECT_TRUE(stream.HasError());
    EXPECT_EQ(stream.Position(), 0);
    stream.ClearError();
    stream.Seek(3, 2);
    EXPECT_TRUE(stream.HasError());
    EXPECT_EQ(stream.Position(), 3);
    stream.ClearError();
    stream.Seek(-1, 2).Seek(-1, 1);
    EXPECT_FALSE(stream.HasError());
    EXPECT_EQ(stream.Position(), 1);
}

TEST(StringStreamTest, ReadFloatSkippingPassesOverPunctuation) {
    StringStream stream("< 1.5, 2 >");
    float x = 0;
    Stream::ReadFloatSkipping(stream, x);
    EXPECT_FLOAT_EQ(x, 1.5f);
    EXPECT_EQ(stream.Position(), 5);
    Stream::ReadFloatSkipping(stream, x);
    EXPECT_FLOAT_EQ(x, 2.0f);
    Stream::ReadFloatSkipping(stream, x);
    EXPECT_FLOAT_EQ(x, 2.0f);
    EXPECT_TRUE(stream.AtEnd());

    StringStream colour("<255,0,7>");
    unsigned char c = 0;
    Stream::ReadByteSkipping(colour, c);
    EXPECT_EQ(c, '<');
}

TEST(StringStreamTest, OwnedBufferGrowsInStepsBeforeEachWrite) {
    StringStream stream;
    EXPECT_EQ(stream.Capacity(), 2048);
    int seen3072 = 0;
    for (int i = 0; i < 300; ++i) {
        stream << "0123456789";
        seen3072 += stream.Capacity() == 3072 ? 1 : 0;
    }
    EXPECT_GT(seen3072, 0);
    EXPECT_EQ(stream.Capacity(), 4096);
    EXPECT_EQ(stream.TextLength(), 3000);
    EXPECT_FALSE(stream.HasError());

    // One item longer than the margin still fits, with the margin after it.
    const std::string big(5000, 'b');
    StringStream single;
    single << big.c_str();
    EXPECT_FALSE(single.HasError());
    EXPECT_EQ(single.TextLength(), 5000);
    EXPECT_GE(single.Capacity(), 5000 + 1 + 1024);
    single.Write(big.data(), 5000);
    EXPECT_EQ(single.TextLength(), 10000);
    EXPECT_EQ(Written(single), big + big);
}

TEST(StringStreamTest, CallerBufferTruncatesAndFlagsTheError) {
    char buffer[8] = "ab";
    StringStream stream(buffer, sizeof buffer, StringStream::kAppend);
    EXPECT_EQ(stream.Position(), 2);
    EXPECT_EQ(stream.Capacity(), 0);
    stream << 123;
    EXPECT_FALSE(stream.HasError());
    stream << "wxyz";
    EXPECT_TRUE(stream.HasError());
    EXPECT_STREQ(buffer, "ab123wx");
    stream.ClearError();
    stream.Write("q", 1);
    EXPECT_TRUE(stream.HasError());

    char reading[6] = "12345";
    StringStream over(reading, sizeof reading, 0);
    char got[8] = {};
    over.Read(got, 8);
    EXPECT_TRUE(over.HasError());
    EXPECT_STREQ(got, "12345");
    stream.Close();
    over.Close();
    EXPECT_STREQ(reading, "12345");  // a caller's buffer is left alone
}

TEST(StringStreamTest, ReadLineCutsLongLinesAndResumes) {
    StringStream stream("abcdef\r\nxy");
    char buffer[4];
    stream.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_TRUE(stream.LastLineCut());
    stream.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "def");
    EXPECT_FALSE(stream.LastLineCut());
    stream.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "xy");
    stream.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
}

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* root = std::getenv("VORNS_TEST_TMP");
        fs::path base = root != nullptr ? fs::path(root) : fs::temp_directory_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = base / (std::string("strings-") + info->name() + "-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string PathOf(const char* name) const { return (folder_ / name).string(); }

    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path folder_;
};

TEST_F(FileStreamTest, TypedRoundTrip) {
    const std::string path = PathOf("values.txt");
    {
        FileStream out(path, "w");
        ASSERT_TRUE(out.IsOpen());
        out << "Count " << 3 << ' ' << -2.5f << ' ' << 4000000000u << ' ' << static_cast<unsigned short>(7) << Endl;
        EXPECT_TRUE(out.Commit());
    }
    EXPECT_EQ(Contents(path), "Count 3 -2.5 4000000000 7\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    FileStream in(path, "r");
    String key;
    int count = 0;
    float f = 0;
    unsigned int u = 0;
    unsigned short s = 0;
    String::ReadToken(in, key);
    in >> count >> f >> u >> s;
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(key, "Count");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(f, -2.5f);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(s, 7);
    in >> count;
    EXPECT_TRUE(in.HasError());
    EXPECT_EQ(count, 3);
}

TEST_F(FileStreamTest, PathsGoThroughTheResolver) {
    Put(PathOf("Units.TXT"), "42\n");
    FileStream in(folder_.string() + "\\\\units.txt", "r");
    ASSERT_TRUE(in.IsOpen());
    int value = 0;
    in >> value;
    EXPECT_EQ(value, 42);
}

TEST_F(FileStreamTest, FailedOpenIsNotGoodWithTheErrorClear) {
    EXPECT_FALSE(FileStream(folder_.string(), "r").IsOpen());
    FileStream in(PathOf("missing.txt"), "r");
    EXPECT_FALSE(in.IsOpen());
    EXPECT_FALSE(in.IsGood());
    EXPECT_FALSE(in.HasError());
    int value = 5;
    in >> value;
    EXPECT_TRUE(in.HasError());
    EXPECT_EQ(value, 5);
    String token("x");
    String::ReadToken(in, token);
    EXPECT_EQ(token, "");
}

TEST_F(FileStreamTest, LinesOverCrLfAndTheLastLineWithoutLineFeed) {
    const std::string path = PathOf("lines.txt");
    const std::string longLine(2500, 'L');
    Put(path, "first\r\n" + longLine + "\r\nlast");
    FileStream in(path, "rb");
    String line;
    String::ReadLine(in, line);
    EXPECT_EQ(line, "first");
    String::ReadLine(in, line);
    EXPECT_EQ(std::string(line.CStr()), longLine);

    char buffer[16];
    in.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "last");
    EXPECT_FALSE(in.HasError());
    in.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(in.HasError());
}

TEST_F(FileStreamTest, CutLineKeepsACarriageReturnThatIsData) {
    const std::string path = PathOf("cr.txt");
    Put(path, "abc\rd\n");
    FileStream in(path, "r");
    char buffer[4];
    in.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_TRUE(in.LastLineCut());
    in.ReadLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "\rd");
}

TEST_F(FileStreamTest, TokensAndTheLastTokenWithoutWhiteSpace) {
    const std::string path = PathOf("tokens.txt");
    Put(path, "alpha\r\n\xFF\xFE beta");
    FileStream in(path, "r");
    String token;
    String::ReadToken(in, token);
    EXPECT_EQ(token, "alpha");
    String::ReadToken(in, token);
    EXPECT_EQ(token, "\xFF\xFE");
    String::ReadToken(in, token);
    EXPECT_EQ(token, "beta");
    EXPECT_TRUE(in.HasError());  // the file ended inside the token
}

TEST_F(FileStreamTest, PeekAtTheEndSetsTheError) {
    const std::string path = PathOf("one.txt");
    Put(path, "x");
    FileStream in(path, "r");
    EXPECT_EQ(in.PeekChar(), 'x');
    EXPECT_EQ(in.GetChar(), 'x');
    EXPECT_EQ(in.PeekChar(), -1);
    EXPECT_TRUE(in.HasError());
    EXPECT_FALSE(in.IsGood());
    char c = 0;
    in.ClearError().ReadChar(c);
    EXPECT_EQ(static_cast<unsigned char>(c), 255);
    EXPECT_TRUE(in.HasError());
}

TEST_F(FileStreamTest, BinaryBlocksAndSeek) {
    const std::string path = PathOf("data.bin");
    const uint32_t values[3] = {1, 0xFFFFFFFF, 0x12345678};
    {
        FileStream out(path, "wb");
        out.Write(values, sizeof values);
    }
    FileStream in(path, "rb");
    uint32_t read[3] = {};
    in.Seek(4, 0).Read(&read[1], 8);
    EXPECT_EQ(read[1], 0xFFFFFFFFu);
    EXPECT_EQ(read[2], 0x12345678u);
    in.Read(read, 4);
    EXPECT_TRUE(in.HasError());
}

TEST_F(FileStreamTest, AnAbandonedOrFailedSaveLeavesTheOldFileWhole) {
    const std::string path = PathOf("profile.txt");
    Put(path, "old contents\n");
    {
        FileStream out(path, "w");
        out << "new half";
        out.Abandon();
    }
    EXPECT_EQ(Contents(path), "old contents\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    {
        FileStream out(path, "w");
        out << "new but broken";
        out.SetError();
        EXPECT_FALSE(out.Commit());
    }
    EXPECT_EQ(Contents(path), "old contents\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    {
        FileStream out(path, "w");
        out << "written while saving";
        EXPECT_EQ(Contents(path), "old contents\n");
    }
    EXPECT_EQ(Contents(path), "written while saving");
}

TEST_F(FileStreamTest, DirectWritesAreSeenAtOnce) {
    const std::string path = PathOf("debug.txt");
    FileStream log(path, "wd");
    ASSERT_TRUE(log.IsOpen());
    log << "line one" << Endl;
    EXPECT_EQ(Contents(path), "line one\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_TRUE(log.Commit());
    EXPECT_FALSE(log.IsOpen());
}

}  // namespace
