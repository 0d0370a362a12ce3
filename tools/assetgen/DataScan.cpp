#include "DataScan.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sys/Paths.h"

namespace assetgen {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Words of a line; a double-quoted group is one word.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace((unsigned char)line[i])) ++i;
        if (i >= line.size()) break;
        std::string word;
        if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            word = line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            i = end == std::string::npos ? line.size() : end + 1;
        } else {
            while (i < line.size() && !std::isspace((unsigned char)line[i])) word += line[i++];
        }
        words.push_back(word);
    }
    return words;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool Known(const std::vector<Clip>& clips, const std::string& name) {
    return std::any_of(clips.begin(), clips.end(), [&](const Clip& c) { return c.name == name; });
}

// Names from the data become file names: a name that could leave its folder is dropped.
bool Usable(const std::string& name) {
    if (sys::IsSafeName(name)) return true;
    std::fprintf(stderr, "assetgen: the data names an unusable file name: %s\n", name.c_str());
    return false;
}

void AddUnique(std::vector<std::string>& list, const std::string& item) {
    if (!Usable(item)) return;
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

// The plain text lines after a tag line, up to the next tag or the end of the block.
std::string FollowingText(const std::vector<std::string>& lines, std::size_t from) {
    std::string text;
    for (std::size_t i = from + 1; i < lines.size(); ++i) {
        const std::vector<std::string> words = Words(lines[i]);
        if (words.empty()) continue;
        if (words[0][0] == '<' || words[0] == "End") break;
        if (!text.empty()) text += ' ';
        text += lines[i];
    }
    return text;
}

void ScanScripts(const fs::path& folder, const std::string& speechTag, DataNeeds& needs) {
    for (const fs::path& file : FilesIn(folder)) {
        const std::vector<std::string> lines = Lines(file);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::vector<std::string> words = Words(lines[i]);
            if (words.size() == 2 && (words[0] == speechTag || (speechTag == "<SS>" && words[0] == "<SSNB>"))) {
                if (!Known(needs.clips, words[1]) && Usable(words[1]))
                    needs.clips.push_back({words[1], FollowingText(lines, i)});
            } else if (speechTag == "<SS>" && words.size() == 3 && words[0] == "<S>") {
                std::string cue = words[2];
                if (cue.find('.') == std::string::npos) cue += ".ogg";
                AddUnique(needs.soundCues, cue);
            }
        }
    }
}

// The model file an actor kind of a scene is built from; empty for kinds without poses.
std::string ModelOfKind(const std::string& kind) {
    static const char* const animated[] = {"Professor", "Bunny", "SpaceBunny"};
    for (const char* name : animated)
        if (kind == name) return kind;
    if (kind.size() > 4 && kind.compare(kind.size() - 4, 4, "Vorn") == 0) return kind.substr(0, kind.size() - 4);
    return {};
}

// "Actor <kind> <name>" lines name the cast; an "Animation" or "AnimationLoop" line inside
// an actor's direction block names an animation and the second name played with it.
void ScanSceneAnimations(const fs::path& folder, DataNeeds& needs) {
    for (const fs::path& file : FilesIn(folder)) {
        std::map<std::string, std::string> cast = {{"Professor", "Professor"}};
        std::string actor;
        for (const std::string& line : Lines(file)) {
            const std::vector<std::string> words = Words(line);
            if (words.size() >= 3 && words[0] == "Actor") {
                cast[words[2]] = ModelOfKind(words[1]);
                continue;
            }
            for (std::size_t i = 0; i < words.size(); ++i) {
                if (cast.count(words[i])) actor = words[i];
                if ((words[i] == "Animation" || words[i] == "AnimationLoop") && i + 2 < words.size() &&
                    !actor.empty() && !cast[actor].empty()) {
                    auto& wanted = needs.sceneAnimations[cast[actor]];
                    const std::pair<std::string, std::string> animation{words[i + 1], words[i + 2]};
                    if (std::find(wanted.begin(), wanted.end(), animation) == wanted.end()) wanted.push_back(animation);
                }
            }
        }
    }
}

// "<clip><TAB><words>" a line; lines starting with '#' are comments.
void ScanSpeechLines(const fs::path& file, DataNeeds& needs) {
    for (const std::string& line : Lines(file)) {
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos || tab == 0) continue;
        const std::string name = line.substr(0, tab);
        if (!Known(needs.clips, name) && Usable(name)) needs.clips.push_back({name, line.substr(tab + 1)});
    }
}

// Lines of two words: a key and its text ("\n" a line break, shown here as a blank).
void ScanLanguage(const fs::path& file, DataNeeds& needs) {
    for (const std::string& line : Lines(file)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() != 2) continue;
        std::string text = words[1];
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, " ");
        needs.englishTexts[words[0]] = text;
    }
}

std::string WithoutBlanks(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return std::isspace((unsigned char)c); }),
               text.end());
    return text;
}

void ScanMap(const fs::path& file, DataNeeds& needs) {
    for (const std::string& line : Lines(file)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() != 2 || words[0].rfind("//", 0) == 0) continue;
        if (words[0] == "Star")
            AddUnique(needs.mapPictures, "Star" + WithoutBlanks(words[1]));
        else if (words[0] == "Planet")
            AddUnique(needs.mapPictures, words[1]);
        else
            AddUnique(needs.mapPictures, "Planet" + words[0]);
    }
}

}  // namespace

DataNeeds ScanData(const std::string& dataFolder) {
    DataNeeds needs;
    const fs::path root(dataFolder);
    const std::pair<const char*, MusicMood> lists[] = {
        {"WarSongs.txt", MusicMood::War}, {"SneakSongs.txt", MusicMood::Sneak}, {"MenuSongs.txt", MusicMood::Menu}};
    for (const auto& [list, mood] : lists) {
        for (const std::string& line : Lines(root / "Music" / list))
            for (const std::string& word : Words(line)) {
                const bool known =
                    std::any_of(needs.songs.begin(), needs.songs.end(), [&](const Song& s) { return s.name == word; });
                if (!known && Usable(word))
                    needs.songs.push_back(
                        {word.find('.') == std::string::npos ? word : word.substr(0, word.rfind('.')), mood});
            }
    }
    // The written words of the clips come first; scripts may name further clips.
    ScanSpeechLines(root / "Speech" / "lines.txt", needs);
    ScanScripts(root / "Missions" / "English", "<S>", needs);
    ScanScripts(root / "Tutorials" / "English", "<S>", needs);
    ScanScripts(root / "Scenes" / "English", "<SS>", needs);
    ScanSceneAnimations(root / "Scenes" / "English", needs);
    ScanMap(root / "Missions" / "English" / "MissionMap.txt", needs);
    ScanLanguage(root / "English.txt", needs);
    return needs;
}

}  // namespace assetgen
