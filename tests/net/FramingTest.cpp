#include <gtest/gtest.h>
#include <zlib.h>

#include "LoopbackPeers.h"
#include "net/PayloadCompression.h"
#include "platform/net/FrameReader.h"
#include "platform/net/NetLimits.h"

using net_test::Bytes;
using net_test::Frame;

TEST(FrameReader, DeliversFramesOnlyWhenWholeAndOneAtATime) {
    sock::FrameReader reader;
    std::vector<uint8_t> payload;
    const std::vector<uint8_t> first = Frame(Bytes("hello"));
    reader.Append(first.data(), 3);
    EXPECT_EQ(reader.Next(payload), sock::FrameStatus::Incomplete);
    reader.Append(first.data() + 3, 4);
    EXPECT_EQ(reader.Next(payload), sock::FrameStatus::Incomplete);
    // The rest of the first frame, an empty frame and a third frame arrive in one read.
    std::vector<uint8_t> rest(first.begin() + 7, first.end());
    for (const auto& frame : {Frame({}), Frame(Bytes("xyz"))}) rest.insert(rest.end(), frame.begin(), frame.end());
    reader.Append(rest.data(), rest.size());
    ASSERT_EQ(reader.Next(payload), sock::FrameStatus::Frame);
    EXPECT_EQ(payload, Bytes("hello"));
    ASSERT_EQ(reader.Next(payload), sock::FrameStatus::Frame);
    EXPECT_TRUE(payload.empty());
    ASSERT_EQ(reader.Next(payload), sock::FrameStatus::Frame);
    EXPECT_EQ(payload, Bytes("xyz"));
    EXPECT_EQ(reader.Next(payload), sock::FrameStatus::Incomplete);
    EXPECT_EQ(reader.Held(), 0u);
}

TEST(FrameReader, RefusesAnnouncedLengthsOverTheLimitBeforeTheyArrive) {
    for (uint32_t length : {uint32_t(sock::kMaxFrameBytes + 1), 0x7FFFFFFCu, 0xFFFFFFFFu}) {
        sock::FrameReader reader;
        uint8_t header[4];
        sock::PutFrameLength(header, length);
        reader.Append(header, 4);
        std::vector<uint8_t> payload;
        EXPECT_EQ(reader.Next(payload), sock::FrameStatus::TooLarge) << length;
    }
}

TEST(PayloadCompression, PacksAsLengthThenZlibStreamAndUnpacksExactly) {
    std::vector<uint8_t> message(100);
    for (size_t i = 0; i < message.size(); ++i) message[i] = static_cast<uint8_t>(i % 7);
    std::vector<uint8_t> packed;
    ASSERT_TRUE(CompressPayload(message.data(), message.size(), packed));
    EXPECT_EQ(sock::GetFrameLength(packed.data()), 100u);
    std::vector<uint8_t> viaZlib(100);
    uLongf size = 100;
    ASSERT_EQ(uncompress(viaZlib.data(), &size, packed.data() + 4, packed.size() - 4), Z_OK);
    EXPECT_EQ(viaZlib, message);

    std::vector<uint8_t> unpacked;
    ASSERT_TRUE(UncompressPayload(packed.data(), packed.size(), unpacked));
    EXPECT_EQ(unpacked, message);
    ASSERT_TRUE(CompressPayload(nullptr, 0, packed));
    std::vector<uint8_t> empty;
    ASSERT_TRUE(UncompressPayload(packed.data(), packed.size(), empty));
    EXPECT_TRUE(empty.empty());
}

TEST(PayloadCompression, RefusesShortLyingTruncatedAndBombFrames) {
    std::vector<uint8_t> message(5000, 'a');
    std::vector<uint8_t> packed, unpacked;
    ASSERT_TRUE(CompressPayload(message.data(), message.size(), packed));

    EXPECT_FALSE(UncompressPayload(packed.data(), 3, unpacked)) << "shorter than its header";
    std::vector<uint8_t> truncated(packed.begin(), packed.end() - 3);
    EXPECT_FALSE(UncompressPayload(truncated.data(), truncated.size(), unpacked)) << "truncated stream";
    std::vector<uint8_t> understated = packed;
    sock::PutFrameLength(understated.data(), 100);  // a bomb: expands past what it announced
    EXPECT_FALSE(UncompressPayload(understated.data(), understated.size(), unpacked));
    std::vector<uint8_t> overstated = packed;
    sock::PutFrameLength(overstated.data(), 5001);
    EXPECT_FALSE(UncompressPayload(overstated.data(), overstated.size(), unpacked));
    std::vector<uint8_t> huge = packed;
    sock::PutFrameLength(huge.data(), 0xFFFFFFFFu);
    EXPECT_FALSE(UncompressPayload(huge.data(), huge.size(), unpacked));
    std::vector<uint8_t> garbage = {5, 0, 0, 0, 1, 2, 3, 4, 5};
    EXPECT_FALSE(UncompressPayload(garbage.data(), garbage.size(), unpacked));
    EXPECT_TRUE(unpacked.empty());
    // The sender refuses what the receiver would refuse.
    EXPECT_FALSE(CompressPayload(message.data(), sock::kMaxFrameBytes + 1, packed));
}
