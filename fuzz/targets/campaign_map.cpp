// The campaign list: its parallel lists stay the same length and every entry has a star.
#include "core/StringStream.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "modes/CampaignList.h"

VORNS_FUZZ_TARGET(data, size) {
    CampaignList list;
    StringStream text(fuzz::Text(data, size).c_str());
    list.Read(text, "MissionMap.txt");
    const int32_t count = list.Count();
    if (list.titles.Count() != count || list.tutorialNames.Count() != count || list.entryStars.Count() != count) {
        __builtin_trap();
    }
    if (count > CampaignList::kMaxEntries) __builtin_trap();
    for (int32_t star : list.entryStars) {
        if (star < 0 || star >= list.stars.Count()) __builtin_trap();
    }
    return 0;
}
