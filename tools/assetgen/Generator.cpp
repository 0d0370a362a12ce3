#include "Generator.h"

#include <cctype>
#include <map>
#include <set>
#include <stdexcept>

#include "Actors.h"
#include "AudioEncoding.h"
#include "DataScan.h"
#include "FontMaker.h"
#include "Manifest.h"
#include "ModelFiles.h"
#include "Music.h"
#include "Output.h"
#include "Props.h"
#include "Rasteriser.h"
#include "SoundEffects.h"
#include "TexturePainter.h"
#include "Voice.h"

namespace assetgen {
namespace {

TextureNeeds NeedsOf(const ManifestRow& row) {
    TextureNeeds needs;
    const std::string size = row.Value("size");
    if (!size.empty() && size.find('x') != std::string::npos) {
        needs.width = std::stoi(size);
        needs.height = std::stoi(size.substr(size.find('x') + 1));
    }
    needs.greyRing = row.Has("ring");
    needs.recolourKeys = row.Has("keys");
    needs.clearBorder = row.Has("border");
    needs.opaque = row.Has("opaque");
    return needs;
}

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

bool IsPortrait(const std::string& title) {
    const std::size_t at = title.find("Image");
    return at != std::string::npos && (title.compare(at, 7, "Image64") == 0 || title.compare(at, 8, "Image128") == 0) &&
           (title.rfind("Robot", 0) == 0 || title.rfind("Stalk", 0) == 0);
}

bool IsChassisButton(const std::string& title) {
    for (const char* chassis : {"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"})
        if (title == std::string(chassis) + "Button") return true;
    return false;
}

// What the fixed clips say.
const std::map<std::string, std::string>& FixedLines() {
    static const std::map<std::string, std::string> lines = {
        {"PressTheSpaceBar", "Press the space bar to go on."},
        {"RewardedOneBoost", "Well done! You have earned one boost."},
        {"RewardedMultipleBoosts", "Well done! You have earned several boosts."},
        {"Vorns", "Vorns!"},
    };
    return lines;
}

// Words of a name for speaking it when no text is known ("MissionOneIntro" -> "Mission One Intro").
std::string Spelled(const std::string& name) {
    std::string text;
    for (char c : name) {
        if (std::isupper((unsigned char)c) && !text.empty()) text += ' ';
        text += c;
    }
    return text;
}

class Run {
public:
    explicit Run(const GeneratorPaths& paths) : paths_(paths), output_(paths.output), needs_(ScanData(paths.data)) {}

    GeneratorReport Go() {
        for (const ManifestRow& row : ReadManifest(paths_.manifest)) MakeRow(row);
        MakeDataNeeds();
        report_.files = int(output_.Written().size());
        report_.synthesisedSpeech = voice_.IsSynthesiser();
        return report_;
    }

private:
    void MakeRow(const ManifestRow& row) {
        const std::string title = row.Title();
        if (row.kind == "texture" && IsPortrait(title)) {
            // Portraits are the chassis models themselves, unshaded so their keys stay pure.
            const TextureNeeds needs = NeedsOf(row);
            output_.WriteImage(
                row.path, RenderActor(WithFace(MakeActor(title.substr(0, title.find("Image")))), needs.width, false));
            ++report_.textures;
        } else if (row.kind == "texture" && (IsChassisButton(title) || title == "AppIcon")) {
            // The window's icon is the small robot.
            const TextureNeeds needs = NeedsOf(row);
            const std::string chassis = title == "AppIcon" ? "RobotSmall" : title.substr(0, title.size() - 6);
            const Image picture = RenderActor(WithFace(MakeActor(chassis)), needs.width * 3 / 4, true);
            output_.WriteImage(row.path, PaintButtonAround(title, needs, picture));
            ++report_.textures;
        } else if (row.kind == "texture" && !row.Has("painted")) {
            output_.WriteImage(row.path, PaintTexture(title, NeedsOf(row)));
            ++report_.textures;
        } else if (row.kind == "font") {
            const BitmapFont font = MakeFont();
            output_.WriteImage(row.path, font.texture);
            output_.Write(Folder(row.path) + "/" + title + ".dat",
                          std::string(reinterpret_cast<const char*>(font.widths.data()), font.widths.size()));
        } else if (row.kind == "sound") {
            MakeSound(row.path, title, row.Has("wav"));
        } else if (row.kind == "speech") {
            Speak(Folder(row.path), title, FixedLineText(title));
        } else if (row.kind == "obj") {
            WritePaintedMesh(output_, Folder(row.path), title.substr(0, title.size() - 10),
                             IsBodyPart(title.substr(0, title.size() - 10))
                                 ? MakeBodyPart(title.substr(0, title.size() - 10))
                                 : MakeProp(title.substr(0, title.size() - 10)));
            ++report_.models;
        } else if (row.kind == "an8") {
            output_.Write(row.path, title == "CollisionSphere" ? An8Sphere(title, 50) : An8Cylinder(title, 1, 1));
            ++report_.models;
        } else if (row.kind == "actor") {
            ActorModel model = MakeActor(title);
            if (const auto wanted = needs_.sceneAnimations.find(title); wanted != needs_.sceneAnimations.end())
                AddAnimations(model, wanted->second);
            WriteActor(output_, Folder(row.path), model);
            ++report_.models;
        }
        // Painted textures come with their models; widths with the font; phonemes with
        // speech; text rows are hand-written data.
    }

    // The language file's own words where it has them, so the voice says what is shown.
    std::string FixedLineText(const std::string& clip) const {
        auto text = [&](const std::string& key) {
            const auto it = needs_.englishTexts.find(key);
            return it == needs_.englishTexts.end() ? std::string() : it->second;
        };
        for (const Clip& written : needs_.clips)
            if (written.name == clip && !written.text.empty()) return written.text;
        std::string said;
        if (clip == "PressTheSpaceBar") said = text("ContinueText");
        if (clip == "RewardedOneBoost" || clip == "RewardedMultipleBoosts") {
            const std::string middle = text(clip == "RewardedOneBoost" ? "RewardOneBoost" : "RewardMultipleBoosts");
            if (!middle.empty()) said = text("RewardBoost1") + " " + middle + " " + text("RewardBoost2");
        }
        if (!said.empty()) return said;
        const auto fixed = FixedLines().find(clip);
        return fixed != FixedLines().end() ? fixed->second : Spelled(clip);
    }

    void MakeSound(const std::string& path, const std::string& title, bool wav) {
        const Samples samples = MakeSoundEffect(title, voice_);
        output_.Write(path, wav ? EncodeWav(samples, 1, kSoundRate) : EncodeOgg(samples, 1, kSoundRate));
        ++report_.sounds;
    }

    void Speak(const std::string& folder, const std::string& clip, const std::string& text) {
        const SpokenLine line = voice_.Say(text.empty() ? Spelled(clip) : text);
        // The phoneme file is written after the speech, so it is never older than it.
        output_.Write(folder + "/" + clip + ".OGG", EncodeOgg(line.samples, 1, kSoundRate));
        output_.Write(folder + "/" + clip + ".phn", PhonemeFileText(line));
        ++report_.speech;
    }

    void MakeDataNeeds() {
        const DataNeeds& needs = needs_;
        for (const Song& song : needs.songs) {
            output_.Write("Music/" + song.name + ".OGG",
                          EncodeOgg(ComposeMusic(song.name, song.mood), 2, kSoundRate, 0.2f));
            ++report_.songs;
        }
        for (const Clip& clip : needs.clips) Speak("Speech/English", clip.name, clip.text);
        for (const std::string& cue : needs.soundCues) {
            const std::string title = cue.substr(0, cue.rfind('.'));
            if (output_.HasWritten("Sounds/" + cue)) continue;
            MakeSound("Sounds/" + cue, title, cue.size() > 4 && cue.compare(cue.size() - 4, 4, ".wav") == 0);
        }
        for (const std::string& picture : needs.mapPictures) {
            const bool star = picture.rfind("Star", 0) == 0;
            output_.WriteImage("Textures/" + picture + ".tga", PaintMapPicture(picture, star, star ? 64 : 32));
            ++report_.textures;
        }
    }

    GeneratorPaths paths_;
    Output output_;
    DataNeeds needs_;
    std::set<std::string> spoken_;
    Voice voice_;
    GeneratorReport report_;
};

}  // namespace

GeneratorReport Generate(const GeneratorPaths& paths) { return Run(paths).Go(); }

}  // namespace assetgen
