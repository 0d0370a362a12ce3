#pragma once
// What the hand-written data names that this program must make: the songs of the play
// lists, the spoken clips of missions, tutorials and scenes with their text, the sound
// cues of scenes, and the star and planet pictures of the campaign map.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Music.h"

namespace assetgen {

struct Song {
    std::string name;  // file title, ".OGG" is added
    MusicMood mood;
};

struct Clip {
    std::string name;
    std::string text;
};

struct DataNeeds {
    std::vector<Song> songs;
    std::vector<Clip> clips;
    std::vector<std::string> soundCues;    // file names below Sounds/, with extension
    std::vector<std::string> mapPictures;  // file titles below Textures/
    // Animations scenes ask of a model: model title -> (animation, second name).
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> sceneAnimations;
    // Texts of the language file, by key ("ContinueText" -> "Press the space bar...").
    std::map<std::string, std::string> englishTexts;
};

// Reads the data folder (the source of the runtime folder's text files). A missing
// folder or file simply names nothing.
DataNeeds ScanData(const std::string& dataFolder);

}  // namespace assetgen
