// Spoken lines without the synthesiser: a syllable per vowel group, and a phoneme file
// whose mouth opens on each syllable and closes at the end of the line.
#include <gtest/gtest.h>

#include <sstream>

#include "AudioEncoding.h"
#include "Voice.h"

namespace {

TEST(Voice, ToneStandInOpensTheMouthOncePerSyllableAndClosesAtTheEnd) {
    const assetgen::SpokenLine line = assetgen::SayWithTones("Hello Vorns", 50);  // e-o, o: three vowel groups
    ASSERT_FALSE(line.samples.empty());
    EXPECT_EQ(line.endMs, int(line.samples.size() * 1000 / assetgen::kSoundRate));

    std::istringstream file(assetgen::PhonemeFileText(line));
    std::string word, name;
    int end = 0, start = 0, previous = 0, opened = 0;
    file >> word >> end;
    EXPECT_EQ(end, line.endMs);
    while (file >> name >> start) {
        EXPECT_GE(start, previous);
        previous = start;
        opened += name == "aa";
    }
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(name, "_");
    EXPECT_EQ(start, end);
}

}  // namespace
