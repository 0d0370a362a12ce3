#include <gtest/gtest.h>

#include <limits>

#include "net/MessageReader.h"
#include "net/MessageWriter.h"

TEST(MessageReader, ReadsWhatTheWriterWroteInWireOrder) {
    MessageWriter writer;
    writer.PutU8(19);
    writer.PutU16(29999);
    writer.PutU32(0xA1B2C3D4u);
    writer.PutF32(-2.5f);
    writer.PutVector(Vector3(1.0f, 2.0f, 3.0f));
    writer.PutAddress({0x0100007Fu, 29999});
    writer.PutText("name");
    writer.PutBytes("rest of frame", 13);
    // Little-endian, no padding: the u16 and the u32 as bytes.
    EXPECT_EQ(writer.Bytes()[1], 0x2F);
    EXPECT_EQ(writer.Bytes()[2], 0x75);
    EXPECT_EQ(writer.Bytes()[3], 0xD4);

    MessageReader reader(writer.Bytes().data(), writer.Size());
    EXPECT_EQ(reader.ReadU8(), 19);
    EXPECT_EQ(reader.ReadU16(), 29999);
    EXPECT_EQ(reader.ReadU32(), 0xA1B2C3D4u);
    EXPECT_EQ(reader.ReadF32(), -2.5f);
    const Vector3 vector = reader.ReadVector();
    EXPECT_EQ(vector.z, 3.0f);
    EXPECT_EQ(reader.ReadAddress(), (sock::Ipv4Address{0x0100007Fu, 29999}));
    EXPECT_EQ(reader.ReadText(32), "name");
    EXPECT_EQ(reader.ReadRest(), "rest of frame");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Failed());
}

TEST(MessageReader, HostileFieldsSetTheStickyErrorInsteadOfReadingOn) {
    {
        MessageWriter writer;
        writer.PutU32(0xFFFFFFF0u);  // a text length far beyond the frame
        writer.PutBytes("abc", 3);
        MessageReader reader(writer.Bytes().data(), writer.Size());
        EXPECT_EQ(reader.ReadText(255), "");
        EXPECT_TRUE(reader.Failed());
        EXPECT_EQ(reader.ReadU8(), 0) << "nothing is read after the error";
    }
    {
        MessageWriter writer;
        writer.PutText(std::string(300, 'x'));
        writer.PutU8(7);
        MessageReader reader(writer.Bytes().data(), writer.Size());
        EXPECT_EQ(reader.ReadText(255).size(), 255u) << "over the cap: cut, and the rest skipped";
        EXPECT_EQ(reader.ReadU8(), 7);
    }
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        MessageWriter writer;
        writer.PutVector(Vector3(1.0f, bad, 2.0f));
        MessageReader reader(writer.Bytes().data(), writer.Size());
        reader.ReadVector();
        EXPECT_TRUE(reader.Failed());
    }
    {
        // A count of a billion 6-byte records in a 20-byte frame is refused before any loop.
        MessageWriter writer;
        writer.PutU32(1000000000u);
        writer.PutBytes("0123456789abcdef", 16);
        MessageReader reader(writer.Bytes().data(), writer.Size());
        const uint32_t count = reader.ReadU32();
        EXPECT_FALSE(reader.CanHold(count, 6));
        MessageReader fits(writer.Bytes().data() + 4, 16);
        EXPECT_TRUE(fits.CanHold(2, 6));
        EXPECT_FALSE(fits.CanHold(3, 6));
    }
    {
        const uint8_t truncated[] = {1, 2, 3};
        MessageReader reader(truncated, sizeof truncated);
        EXPECT_EQ(reader.ReadU32(), 0u);
        EXPECT_TRUE(reader.Failed());
    }
}
