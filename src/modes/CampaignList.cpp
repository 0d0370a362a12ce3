#include "modes/CampaignList.h"

#include <string_view>

#include "core/Debugger.h"
#include "core/FileStream.h"
#include "core/Stream.h"
#include "core/TextTable.h"

namespace {

constexpr int kTutorialSuffixLength = 8;  // "Tutorial"

bool EndsWithTutorial(const String& word) {
    const int length = word.CharCount();
    return length >= kTutorialSuffixLength &&
           word.Substring(length - kTutorialSuffixLength, kTutorialSuffixLength).EqualsNoCase("Tutorial");
}

void Log(const String& fileName, const String& text) { Debugger::Instance().Line((fileName + ": " + text).CStr()); }

}  // namespace

String CampaignList::Path(const String& language) { return "Missions\\" + language + "\\MissionMap.txt"; }

bool CampaignList::Load(const String& language) {
    const String path = Path(language);
    FileStream file(std::string_view(path.CStr(), static_cast<size_t>(path.CharCount())), "r");
    if (!file.IsOpen()) {
        Read(file, path);  // empties the list
        return false;
    }
    Read(file, path);
    return true;
}

bool CampaignList::IsTutorial(int32_t index) const {
    return index >= 0 && index < tutorialNames.Count() && !tutorialNames[index].IsEmpty();
}

void CampaignList::Read(Stream& stream, const String& fileName) {
    entryNames.Clear();
    tutorialNames.Clear();
    titles.Clear();
    entryStars.Clear();
    stars.Clear();
    String line;
    StringArray words;
    while (!stream.HasError() && !stream.AtEnd()) {
        String::ReadLine(stream, line);
        String::Split(line.CStr(), words, ' ', '"');
        if (words.Count() != 2 || words[0].Find("//") == 0) continue;
        if (words[0].EqualsNoCase("Star")) {
            Star star;
            star.name = words[1];
            star.firstEntry = Count();
            stars.Append(star);
        } else if (words[0].EqualsNoCase("Planet")) {
            if (!stars.IsEmpty()) stars[stars.Count() - 1].planets.Append(words[1]);
        } else if (stars.IsEmpty()) {
            Log(fileName, "entry \"" + words[0] + "\" before the first star left out");
        } else if (Count() >= kMaxEntries) {
            Log(fileName, "entries beyond " + String::FromInt(kMaxEntries) + " left out");
            return;
        } else {
            const bool tutorial = EndsWithTutorial(words[0]);
            entryNames.Append(words[0]);
            tutorialNames.Append(tutorial ? words[0].Substring(0, words[0].CharCount() - kTutorialSuffixLength)
                                          : String());
            titles.Append(tutorial ? GetLanguageText("TutorialHeader") + words[1] : words[1]);
            entryStars.Append(stars.Count() - 1);
        }
    }
}
