// Picking songs from the play lists.
#include <gtest/gtest.h>

#include "audio/Music.h"
#include "platform/sys/Random.h"

namespace {

TEST(MusicTest, APickFavoursNeitherEndAndAnEmptyListPicksNothing) {
    StringArray songs;
    SetPlayList(PlayList::kWar, songs);
    EXPECT_EQ(PickSong(PlayList::kWar), -1);
    EXPECT_EQ(PlayRandomWarSong(), nullptr);

    songs.Append("Music\\One.OGG");
    SetPlayList(PlayList::kWar, songs);
    EXPECT_EQ(PickSong(PlayList::kWar), 0);  // 16383 / 32767 = 0 whatever the draw

    // Two songs: a draw below 16384 picks the first, from 16384 on the second.
    songs.Append("Music\\Two.OGG");
    SetPlayList(PlayList::kWar, songs);
    int seconds = 0;
    for (uint32_t seed = 1; seed <= 6400000; seed += 100003) {
        sys::SRand(seed);
        const int draw = sys::Rand();
        sys::SRand(seed);
        const int pick = PickSong(PlayList::kWar);
        EXPECT_EQ(pick, draw >= 16384 ? 1 : 0) << "draw " << draw;
        seconds += pick;
    }
    EXPECT_GT(seconds, 0);
    ClearPlayLists();
}

}  // namespace
