#pragma once
// The campaign list "MissionMap.txt": star systems, decorative planets, and the missions
// and tutorials in the order they are played. An entry's index is its mission index.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"

class Stream;

class CampaignList {
public:
    // Entries the list may hold; more would come only from a damaged file.
    static constexpr int32_t kMaxEntries = 1000;

    struct Star {
        String name;
        int32_t firstEntry = 0;  // index of its first entry
        StringArray planets;     // decorative planet images, without ".tga"
    };

    // "Missions\<language>\MissionMap.txt"; a missing list gives an empty campaign.
    bool Load(const String& language);
    void Read(Stream& stream, const String& fileName);
    static String Path(const String& language);

    int32_t Count() const { return entryNames.Count(); }
    bool IsTutorial(int32_t index) const;

    StringArray entryNames;
    StringArray tutorialNames;  // empty for a mission
    StringArray titles;
    // The star each entry belongs to; entries before the first star are left out.
    Array<int32_t> entryStars;
    Array<Star> stars;
};
